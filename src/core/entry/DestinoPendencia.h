#pragma once
// Where a pendency is fixed: the general-data window's tab, the row of its
// list and the field that gets the cursor. Read from the pendency's key (a
// catalog key or a row key such as "CN_QTD_3"). User-interface thread.

#include "entry/ListasDeclaracao.h"

#include <QString>

#include <optional>

namespace vlme::entry {

struct DestinoPendencia {
    int aba = 0;
    Lista lista = Lista::Modelos;
    int nrSq = 0;        // the row to select; 0: the list itself
    QString campo;       // objectName of the field; empty: the list
    bool noItem = false; // `campo` is in the row's own form, not in the general-data window
};

// Nothing for a key no window holds.
std::optional<DestinoPendencia> DestinoDaPendencia(store::Banco &banco, int nrVlm,
                                                   const QString &chave);

} // namespace vlme::entry
