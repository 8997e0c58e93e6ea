#pragma once
// The test doubles every folder shares: a progress that records what it is
// told and cancels when the script says, and command destinations that
// record which place each command reached.

#include "base/Progresso.h"
#include "shell/Comandos.h"

#include <QStringList>

#include <vector>

namespace vlme::teste {

class ProgressoRoteirizado final : public base::Progresso {
  public:
    // Cancels at the `cancelaNa`-th call of unidade() (1 = the first); 0 never.
    explicit ProgressoRoteirizado(int cancelaNa = 0) : cancelaNa(cancelaNa) {}

    void abre() override { ++aberturas; }
    void fecha() override { ++fechamentos; }
    void passo(const QString &texto) override { passos << texto; }
    void faixa(int mi, int ma) override { minimo = mi, maximo = ma; }
    void valor(int atual) override { valores.push_back(atual); }
    void permiteCancelar(bool p) override { permissoes.push_back(p); }
    bool unidade() override {
        ++unidades;
        if (cancelaNa && unidades >= cancelaNa)
            cancelado_ = true;
        return !cancelado_;
    }
    bool cancelado() const override { return cancelado_; }

    int cancelaNa = 0;
    int aberturas = 0, fechamentos = 0, unidades = 0;
    int minimo = -1, maximo = -1;
    QStringList passos;
    std::vector<int> valores;
    std::vector<bool> permissoes;

  private:
    bool cancelado_ = false;
};

// Records every place reached instead of going there. `Base` is the
// destination interface itself or a window that implements it.
template <class Base> class ComandosGravados : public Base {
  public:
    using Base::Base;
    QStringList chamadas;

    void abreSeletor(int operacao) override {
        chamadas << QStringLiteral("abreSeletor(%1)").arg(operacao);
    }
#define VLME_GRAVA(nome)                                                                           \
    void nome() override {                                                                         \
        chamadas << QStringLiteral(#nome);                                                         \
    }
    VLME_GRAVA(mostraNovo)
    VLME_GRAVA(importaDeclaracao)
    VLME_GRAVA(configuraImpressora)
    VLME_GRAVA(imprimeDeclaracao)
    VLME_GRAVA(imprimeResumo)
    VLME_GRAVA(excluiDeclaracao)
    VLME_GRAVA(verificaPendencias)
    VLME_GRAVA(gravaParaTransmissao)
    VLME_GRAVA(restauraCopia)
    VLME_GRAVA(importaTabelaNCM)
    VLME_GRAVA(importaTabelaUnidades)
    VLME_GRAVA(abreCalculadora)
    VLME_GRAVA(configuraBanco)
    VLME_GRAVA(mostraConteudoAjuda)
    VLME_GRAVA(mostraIndiceAjuda)
    VLME_GRAVA(mostraSobre)
    VLME_GRAVA(copiaParaEquipe)
#undef VLME_GRAVA
};

// A destination with a statement open or not; when `fechaRecusado`, the
// user keeps the statement on being asked to close it.
class DestinoGravado final : public ComandosGravados<shell::DestinoComandos> {
  public:
    bool aberta = false;
    bool fechaRecusado = false;
    bool declaracaoAberta() const override { return aberta; }
    void fechaDeclaracao() override {
        chamadas << QStringLiteral("fechaDeclaracao");
        aberta = aberta && fechaRecusado;
    }
    void sai() override { chamadas << QStringLiteral("sai"); }
};

} // namespace vlme::teste
