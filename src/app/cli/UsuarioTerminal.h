#pragma once
// Talking to the user on a terminal, for vlme-cli: messages go to standard
// output (problems to standard error), questions are read from standard input
// ("s" or "sim" is Yes; anything else, or no input at all, is No) unless
// every question is answered Yes beforehand. Writes to the streams it is
// given, so its lines keep their place among the command's own.

#include "base/InterfaceUsuario.h"

#include <QTextStream>

namespace vlme::cli {

class UsuarioTerminal final : public base::InterfaceUsuario {
  public:
    UsuarioTerminal(QTextStream &saida, QTextStream &erro, bool respondeSim);
    base::Resposta mensagem(const QString &titulo, const QString &texto, base::Icone icone,
                            base::Botoes botoes) override;
    QString escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                const QString &pastaInicial) override;
    QString escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                 const QString &caminhoInicial) override;

  private:
    bool respondeSim_;
    QTextStream &saida_;
    QTextStream &erro_;
    QTextStream entrada_;
};

} // namespace vlme::cli
