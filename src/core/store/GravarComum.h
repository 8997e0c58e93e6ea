#pragma once
// Small pieces shared by the Gravar*.cpp files: column lists that become an
// INSERT or an UPDATE with every value bound, and the "not found" error.
// Internal to store.

#include "store/Banco.h"
#include "store/Gravar.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace vlme::store::gravar {

// A text written as typed: an empty field becomes '' (never NULL).
QVariant Texto(const QString &texto);

// Columns to write, in order. Names are our own constants, never user text.
class Colunas {
  public:
    void poe(const QString &nome, const QVariant &valor);
    // Only when the field was not empty.
    void seNaoVazio(const QString &nome, const QString &texto);
    void seNaoVazio(const QString &nome, const std::optional<double> &numero);
    // 1 / 0 when one option of the pair is selected.
    void seMarcado(const QString &nome, const std::optional<bool> &opcao);

    bool vazia() const { return nomes_.isEmpty(); }
    const QStringList &nomes() const { return nomes_; }
    const QVariantList &valores() const { return valores_; }

  private:
    QStringList nomes_;
    QVariantList valores_;
};

// INSERT of the columns (DEFAULT VALUES when none); returns the new rowid,
// which is the counter of NF, DI and VLME.
int Insere(Banco &banco, const QString &tabela, const Colunas &colunas);
// UPDATE of the columns on the rows matching `onde` (a condition with `?`
// placeholders for `valoresOnde`); returns how many rows matched. With no
// columns it only counts the matching rows.
int Atualiza(Banco &banco, const QString &tabela, const Colunas &colunas, const QString &onde,
             const QVariantList &valoresOnde);

// The II value an imported row is saved with; an empty field counts as 0,
// as the number conversion reads it.
double ValorII(const DadosImportado &d);

// Gives the subcomponents added while national component `nrSqNacional` was
// being included (owner 0) to it.
void AdotaPendentes(Banco &banco, int nrVlm, int nrSqNacional);

// One stored form for the date of issue: "dd/mm/yyyy" from its eight digits.
QString DataGravada(const QString &data);

[[noreturn]] void NaoEncontrado(const QString &oQue);

} // namespace vlme::store::gravar
