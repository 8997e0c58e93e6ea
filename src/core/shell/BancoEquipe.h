#pragma once
// The team database the user chose in the window program, remembered across
// runs in the program's settings (beside pastas.ini). The password is never written:
// it lives in memory for the session only. User-interface thread only.

#include <QString>

namespace vlme::shell {

class BancoLembrado {
  public:
    // `arquivo`: the settings file; empty for the user's own.
    explicit BancoLembrado(const QString &arquivo = {});

    // The remembered URL; empty for the local file.
    QString url() const;
    // Remembers `url` without its password; empty goes back to the local file.
    void lembra(const QString &url);
    // Minutes a statement window may stay without input before it is saved
    // and closed (30 unless the user set another).
    int minutosSemUso() const;
    void lembraMinutosSemUso(int minutos);

  private:
    QString arquivo_;
};

// `url` with `senha` as its password; `url` itself when `senha` is empty.
QString URLComSenha(const QString &url, const QString &senha);

} // namespace vlme::shell
