#pragma once
// Only one running copy of the program per data folder: a lock file there,
// held for the program's life (freed when the owner dies).

#include <QLockFile>
#include <QString>

#include <memory>

namespace vlme::shell {

inline const QString MensagemOutraCopia =
    QStringLiteral("Já existe um VLM-E aberto. Não é possível abrir outra cópia do programa.");

class CopiaUnica {
  public:
    explicit CopiaUnica(const QString &pastaPrograma);
    // True when this is the only copy; the lock is then held until destruction.
    bool obtem();

  private:
    std::unique_ptr<QLockFile> trava_;
};

} // namespace vlme::shell
