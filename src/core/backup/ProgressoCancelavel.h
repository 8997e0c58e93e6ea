#pragma once
// The progress of a backup, a restore or a move: opened with its Cancelar,
// closed however the work ends.

#include "base/Progresso.h"

namespace vlme::backup {

class ProgressoCancelavel {
  public:
    explicit ProgressoCancelavel(base::Progresso &progresso) : progresso_(progresso) {
        progresso_.abre();
        progresso_.permiteCancelar(true);
    }
    ~ProgressoCancelavel() { progresso_.fecha(); }
    ProgressoCancelavel(const ProgressoCancelavel &) = delete;
    ProgressoCancelavel &operator=(const ProgressoCancelavel &) = delete;

  private:
    base::Progresso &progresso_;
};

} // namespace vlme::backup
