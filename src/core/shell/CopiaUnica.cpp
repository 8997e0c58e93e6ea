#include "shell/CopiaUnica.h"

#include <QDir>

namespace vlme::shell {

CopiaUnica::CopiaUnica(const QString &pastaPrograma)
    : trava_(
          std::make_unique<QLockFile>(QDir(pastaPrograma).filePath(QStringLiteral("VLM.lock")))) {
    // A copy that is alive never lets its lock go stale.
    trava_->setStaleLockTime(0);
}

bool CopiaUnica::obtem() {
    return trava_->tryLock(0);
}

} // namespace vlme::shell
