#pragma once
// The program-wide state of one running copy: where its data lives, its
// version and diagnostic address, the database connection and the open
// statement. Owned by the entry point (desktop or vlme-cli) and handed to
// whoever needs it; lives on the user-interface thread.

#include "store/Banco.h"
#include "store/Reservas.h"

#include <QString>

#include <memory>
#include <optional>

namespace vlme::shell {

struct DeclaracaoAberta {
    int numero = 0; // NR_VLM_VLM, 0 when none
    bool aberta = false;
    bool nova = false;     // created and not yet saved: discarded on close
    bool alterada = false; // changed since last saved
    // Held while a statement window shows it; shared by the copies of this
    // state, freed with the last.
    std::shared_ptr<store::Reserva> reserva = {};
    // Held by another program when opened: shown for reading only, nothing
    // saved or discarded; `titular` is who held it, when known.
    bool consulta = false;
    std::optional<store::Titular> titular = {};
};

struct Programa {
    QString pasta;
    QString versao;
    QString urlDiagnostico;
    store::Banco banco;
    // The team database `banco` is on (empty: the local file), and the
    // password the user typed for it this session: never written anywhere.
    QString urlBanco;
    QString senhaBanco;
    DeclaracaoAberta declaracao;
};

} // namespace vlme::shell
