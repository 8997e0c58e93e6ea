#pragma once
// The imported-component form's logic, for a component of the product or a
// subcomponent of a national component: what it shows on opening, which
// controls are enabled, what is checked on confirming and in which order, and
// what is saved. The window only shows it. Database errors are thrown
// (store::ErroBanco). User-interface thread, like the connection.

#include "entry/FormComponente.h"

#include <QString>

#include <optional>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

// What the fields hold: masked fields as their digits, the others as shown.
struct CamposImportado {
    bool di = true; // optDiretoSim; false: optDiretoNao (invoice)
    QString nrDI, adicao, item;
    QString nf, serie, dataEmissao, cnpj, inscricao, ncm, unidade;
    QString descricao, quantidade, valorUnitario, aliquota;
    bool baseCalculo = true; // subcomponents only
    bool comSuspensao = true;
    bool reducao = false;
};

class FormImportado {
  public:
    // `dono`: 0, a national NR_SQ_NACIONAL or store::NacionalEmInclusao;
    // `nrSq`: the row for the change, delete and view operations.
    FormImportado(store::Banco &banco, int nrVlm, int dono, int operacao, int nrSq = 0);

    bool subcomponente() const { return dono_ != 0; }
    int operacao() const { return operacao_; }
    int nrSq() const { return nrSq_; }

    QString titulo() const;
    QString tituloOrigem() const; // frame fraOrigem
    QString tituloDados() const;  // frame fraDados

    // The row's fields (change, delete, view), or the defaults of a new one.
    CamposImportado carrega() const;

    // The document rule, the suspension rule and the mode, for every control
    // any of them touches.
    Habilitacao habilitacao(const CamposImportado &campos) const;

    // The unit cost of the owning national component as typed in its form;
    // for a component already stored the lower of it and the stored one binds.
    void defineCustoNacional(double custo) { custoNacional_ = custo; }

    // The checks of confirming. A numeric check that passed carries the
    // field's new text. Nothing to check when deleting or viewing.
    ConferenciasCampos confere(const CamposImportado &campos) const;

    // Saves (include, change) or deletes the row after the checks passed;
    // returns its NR_SQ_IMPORTADO (0 when viewing).
    int grava(const CamposImportado &campos);

    // Saves into statement `nrVlm` from now on: a copy of the one the form
    // was opened on, kept for what was typed when the original changed.
    void mudaDeclaracao(int nrVlm) { nrVlm_ = nrVlm; }
    int declaracao() const { return nrVlm_; }

  private:
    double custoNacional() const;

    store::Banco &banco_;
    int nrVlm_;
    int dono_;
    int operacao_;
    int nrSq_;
    std::optional<double> custoNacional_;
};

} // namespace vlme::entry
