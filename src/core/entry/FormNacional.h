#pragma once
// The national-component form's logic: what it shows on opening, which
// controls are enabled, what is checked on confirming and in which order,
// what is saved, and its list of imported subcomponents. The window only
// shows it. Database errors are thrown (store::ErroBanco).
// User-interface thread, like the connection.

#include "entry/FormComponente.h"

#include <QString>

#include <optional>
#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

// What the fields hold: masked fields as their digits, the others as shown.
struct CamposNacional {
    QString nf, serie, dataEmissao, cnpj, inscricao;
    QString descricao, ncm, unidade, quantidade, custoUnitario;
};

// A row of the subcomponent list, its numbers as shown.
struct LinhaSubcomponente {
    int nrSq = 0;
    QString descricao, quantidade, valorUnitario, valorTotal, valorII;
};

class FormNacional {
  public:
    FormNacional(store::Banco &banco, int nrVlm, int operacao, int nrSq = 0);

    int operacao() const { return operacao_; }
    int nrSq() const { return nrSq_; }
    // The owner the subcomponents are opened with: the component's number,
    // or store::NacionalEmInclusao while it is being included.
    int dono() const;

    QString titulo() const;

    // The component's fields (change, delete, view), or empty ones.
    CamposNacional carrega() const;

    // The mode and the subcomponent list's commands.
    Habilitacao habilitacao(bool listaTemLinhas) const;

    // The checks of confirming, in order; the cost check last.
    ConferenciasCampos confere(const CamposNacional &campos) const;

    // Inserts, updates or deletes the component; returns its NR_SQ_NACIONAL
    // (0 when viewing). An include adopts the subcomponents added meanwhile.
    int grava(const CamposNacional &campos);

    // Subcomponents left pending by an include that never finished: removed
    // when an include begins and when it is cancelled, so a cancel leaves the
    // statement as it was.
    void descartaPendentes();

    std::vector<LinhaSubcomponente> subcomponentes() const;

    // Before a subcomponent is opened for change: the stored subcomponents
    // must not be worth more than the unit cost typed (`custoUnitario`).
    ConferenciaCampo confereAntesDeAlterar(const QString &custoUnitario) const;

    // The first subcomponent whose description contains `texto` (letter
    // case and accents ignored); 0 when none.
    int localiza(const QString &texto) const;

    // Saves into statement `nrVlm` from now on: a copy of the one the form
    // was opened on, kept for what was typed when the original changed.
    void mudaDeclaracao(int nrVlm) { nrVlm_ = nrVlm; }
    int declaracao() const { return nrVlm_; }

  private:
    store::Banco &banco_;
    int nrVlm_;
    int operacao_;
    int nrSq_;
};

} // namespace vlme::entry
