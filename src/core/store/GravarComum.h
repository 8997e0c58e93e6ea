#pragma once
// Small pieces shared by the Gravar*.cpp files: a row (GravarLinha.h) written
// as an INSERT or an UPDATE with every value bound, the adoption of waiting
// subcomponents and the "not found" error. Internal to store.

#include "store/Banco.h"
#include "store/GravarLinha.h"

#include <QString>
#include <QVariant>

namespace vlme::store::gravar {

// INSERT of the row (DEFAULT VALUES when it sets no column); returns the new
// rowid, which is the counter of NF, DI and VLME.
int Insere(Banco &banco, const Linha &linha);
// UPDATE of the row's columns on the rows matching `onde` (a condition with
// `?` placeholders for `valoresOnde`); returns how many rows matched. With no
// columns it only counts the matching rows.
int Atualiza(Banco &banco, const Linha &linha, const QString &onde,
             const QVariantList &valoresOnde);

// Gives the subcomponents added while national component `nrSqNacional` was
// being included (owner 0) to it.
void AdotaPendentes(Banco &banco, int nrVlm, int nrSqNacional);

[[noreturn]] void NaoEncontrado(const QString &oQue);

} // namespace vlme::store::gravar
