#pragma once
// What the model form does, without the window: its caption and first values,
// the checks of its confirmation in their order with their catalog messages,
// and the save. The window shows the values, hands back what the user typed
// and puts the cursor where a refusal points. Database errors are thrown
// (store::ErroBanco). UI thread, like the connection it is given.

#include "entry/Conferencias.h"

#include <QString>

#include <optional>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

class FormularioModelo {
  public:
    // The texts of the form's three fields.
    struct Valores {
        QString descricao;     // txtDescricaoModelo
        QString codigoInterno; // mskCodigoInterno
        QString precoVenda;    // mskPrecoVenda, Brazilian notation
    };
    enum class Campo { Descricao, CodigoInterno, PrecoVenda };
    struct Recusa {
        Campo campo;
        Conferencia conferencia; // failed; its message for the user
    };

    // `operacao` is OperacaoFormulario::Alterar to change row `nrSqModelo`,
    // anything else to include. Changing a row that is not there throws
    // base::ErroVLME.
    FormularioModelo(store::Banco &banco, int nrVlm, int operacao, int nrSqModelo = 0);

    bool alterando() const { return alterar_; }
    QString titulo() const;
    // Empty with the price "0,00" to include; the stored row to change.
    const Valores &iniciais() const { return iniciais_; }

    // The checks in order; the first that fails, or nothing. Description and
    // code are trimmed as on leaving their fields; a price that passes is
    // written back grouped.
    std::optional<Recusa> confere(Valores &valores) const;
    // Checks, then saves: the refusal, or nothing with `nrSqModelo()` the row
    // saved.
    std::optional<Recusa> confirma(Valores &valores);
    int nrSqModelo() const { return nrSqModelo_; }

    // Saves into statement `nrVlm` from now on: a copy of the one the form
    // was opened on, kept for what was typed when the original changed.
    void mudaDeclaracao(int nrVlm) { nrVlm_ = nrVlm; }
    int declaracao() const { return nrVlm_; }

  private:
    store::Banco &banco_;
    int nrVlm_;
    bool alterar_;
    int nrSqModelo_;
    Valores iniciais_;
};

} // namespace vlme::entry
