#pragma once
// Progress of a long operation. The operation owns the loop and calls
// `unidade()` after every unit of work; the answer says whether to go on.
// The progress dialog, the terminal and tests implement it.
// Called on the user-interface thread only.

#include <QString>

namespace vlme::base {

class Progresso {
  public:
    virtual ~Progresso() = default;

    virtual void abre() = 0;
    virtual void fecha() = 0;
    virtual void passo(const QString &texto) = 0;
    virtual void faixa(int minimo, int maximo) = 0;
    virtual void valor(int atual) = 0;
    virtual void permiteCancelar(bool permite) = 0;
    // Lets pending events run; false once the user has cancelled.
    virtual bool unidade() = 0;
    virtual bool cancelado() const = 0;
};

// For operations run where nobody watches: shows nothing, never cancels.
class ProgressoMudo : public Progresso {
  public:
    void abre() override {}
    void fecha() override {}
    void passo(const QString &) override {}
    void faixa(int, int) override {}
    void valor(int) override {}
    void permiteCancelar(bool) override {}
    bool unidade() override { return true; }
    bool cancelado() const override { return false; }
};

} // namespace vlme::base
