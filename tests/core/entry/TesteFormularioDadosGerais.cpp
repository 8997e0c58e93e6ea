// The general-data window's decisions without the window: statement kind,
// previous number, the delivered lock, keep-or-discard on closing, search
// and where each pendency is fixed.

#include "base/InterfaceUsuario.h"
#include "entry/DestinoPendencia.h"
#include "entry/FormularioDadosGerais.h"
#include "entry/ListasDeclaracao.h"
#include "shell/Programa.h"

#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;
using entry::Lista;

namespace {

class FormularioDadosGerais : public ::testing::Test {
  protected:
    store::Banco &banco = base.banco();
    teste::BancoTeste base;
};

TEST(DadosGerais, TipoDeDeclaracaoEVlmAnterior) {
    // retificador Sim/Não, substitutivo Sim/Não -> enabled frames and fields
    struct {
        bool rs, rn, ss, sn;
        const char *habilitados; // retificador, substitutivo, anterior, processo
    } casos[] = {{true, false, false, true, "1011"},
                 {false, true, true, false, "0110"},
                 {false, true, false, true, "1100"}};
    for (const auto &c : casos) {
        entry::CamposDadosGerais campos;
        campos.retificadorSim = c.rs, campos.retificadorNao = c.rn;
        campos.substitutivoSim = c.ss, campos.substitutivoNao = c.sn;
        campos.vlmAnterior = "2003000016", campos.nrProcesso = "12345678901234567";
        const auto e = entry::SetaRetificador(campos);
        const QString obtido = QString("%1%2%3%4")
                                   .arg(e.retificador)
                                   .arg(e.substitutivo)
                                   .arg(e.vlmAnterior)
                                   .arg(e.nrProcesso);
        EXPECT_EQ(obtido, c.habilitados);
        // A field that cannot be typed in holds nothing.
        EXPECT_EQ(campos.vlmAnterior.isEmpty(), !e.vlmAnterior);
        EXPECT_EQ(campos.nrProcesso.isEmpty(), !e.nrProcesso);
    }
    // 2·2+9·0+8·0+7·3+6·0+5·0+4·0+3·0+2·1 = 27; 27 mod 11 = 5; DV 6.
    EXPECT_FALSE(entry::ConfereVlmAnterior(""));
    EXPECT_FALSE(entry::ConfereVlmAnterior("200300001"));
    EXPECT_FALSE(entry::ConfereVlmAnterior("2003000016"));
    const auto curto = entry::ConfereVlmAnterior("20030000");
    ASSERT_TRUE(curto);
    EXPECT_EQ(curto->texto, "Número de Registro VLM-E  - Tamanho Invalido");
    EXPECT_EQ(curto->icone, base::Icone::Critico);
    const auto dv = entry::ConfereVlmAnterior("2003000011");
    ASSERT_TRUE(dv);
    EXPECT_EQ(dv->texto, "Número de Registro VLM-E com DV Inválido");
    EXPECT_EQ(dv->icone, base::Icone::Exclamacao);
}

TEST_F(FormularioDadosGerais, FecharDescartaSoANovaIntocadaEEntregueNaoMuda) {
    const int intocada = teste::ConstrutorDeclaracao(banco);
    const int tocada = teste::ConstrutorDeclaracao(banco);
    const int entregue = teste::ConstrutorDeclaracao(banco).geral().modelo("M", 1);
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 7 WHERE NR_VLM_VLM = ?", {entregue});
    for (int n : {intocada, tocada, entregue}) {
        shell::DeclaracaoAberta aberta{n, true, true, false};
        entry::FormularioDadosGerais f(banco, aberta);
        f.carrega();
        f.campos().ppb = "PPB digitado";
        if (n != intocada)
            f.marcaAlterada();
        const auto b = f.botoes(true);
        EXPECT_EQ(f.entregue(), n == entregue);
        EXPECT_EQ(b.incluir && b.alterar && b.excluir, n != entregue);
        EXPECT_TRUE(b.localizar && b.visualizar);
        f.fecha();
        EXPECT_EQ(aberta.numero, 0);
    }
    EXPECT_EQ(teste::Valores(banco, "SELECT group_concat(NR_VLM_VLM || ':' || "
                                    "coalesce(PPB_VLM, '-')) FROM VLME"),
              QString("2:PPB digitado,3:%1").arg(teste::ConstrutorDeclaracao::GeraisPadrao().ppb));
    // Closing a statement deleted meanwhile neither fails nor brings it back.
    shell::DeclaracaoAberta aberta{tocada, true, false, true};
    entry::FormularioDadosGerais f(banco, aberta);
    f.carrega();
    banco.executa("DELETE FROM VLME WHERE NR_VLM_VLM = ?", {tocada});
    f.fecha();
    EXPECT_EQ(teste::Valores(banco, "SELECT count(*) FROM VLME"), "1");
}

TEST_F(FormularioDadosGerais, LocalizaPorTextoOuNumeroComCuringasLiterais) {
    const int n = teste::ConstrutorDeclaracao(banco)
                      .geral()
                      .modelo("Versão AÇÃO", 1, "X-1")
                      .modelo("Modelo 100%", 1, "COD_B")
                      .nacional("Placa 5")
                      .nacional("Placa a")
                      .nacional("Fio 12 mm")
                      .subcomponente(1, "Chip 12", 1, 1)
                      .importadoDI("Tela 12");
    struct {
        Lista lista;
        const char *texto;
        int esperado; // 0: not found
    } casos[] = {
        {Lista::Modelos, "ação", 1},    {Lista::Modelos, "ACAO", 1},
        {Lista::Modelos, "x-1", 1},     {Lista::Modelos, "100%", 2},
        {Lista::Modelos, "0%", 2},      {Lista::Modelos, "D_B", 2},
        {Lista::Modelos, "_", 2},       {Lista::Modelos, "1%0", 0},
        {Lista::Nacionais, "2", 2},     {Lista::Nacionais, "12", 3},
        {Lista::Nacionais, "%", 0},     {Lista::Importados, "12", 2},
        {Lista::Importados, "chip", 0}, {Lista::Nacionais, "' OR 1=1 --", 0},
    };
    for (const auto &c : casos)
        EXPECT_EQ(entry::Localiza(banco, n, c.lista, c.texto).value_or(0), c.esperado) << c.texto;
    // The imported list leaves subcomponents to their national component.
    const auto importados = entry::LeLista(banco, n, Lista::Importados);
    ASSERT_EQ(importados.size(), 1u);
    EXPECT_EQ(importados[0].descricao, "Tela 12");
}

TEST_F(FormularioDadosGerais, CadaPendenciaLevaAoSeuLugar) {
    const int n = teste::ConstrutorDeclaracao(banco)
                      .geral()
                      .nacional("A")
                      .subcomponente(1, "S", 1, 1)
                      .importadoDI("I");
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0");
    struct {
        const char *chave;
        const char *destino; // aba:nrSq:campo:noItem
    } casos[] = {
        {"ERRO_CNPJ_INVALIDO", "0:0:mskCNPJ:0"},
        {"ERRO_SALARIOS_C_RED_FIX", "0:0:optVariavel:0"},
        {"ERRO_SALARIOS_ZERO", "0:0:mskSalarios:0"},
        {"ERRO_VLMANTERIOR_AUSENTE", "0:0:mskVlmAnterior:0"},
        {"ERRO_MODELOS", "0:0::0"},
        {"ERRO_SEM_NF", "1:1::0"},
        {"CN_QTD_1", "1:1:mskQTD:1"},
        {"CN_VLR_1", "1:1:mskCustoUnitario:1"},
        {"SI_QTD_1", "1:1::0"},
        {"CI_VLR_2", "2:2:mskValorUnitario:1"},
        {"ERRO_IMPORTADOS_SQ", "2:0::0"},
    };
    for (const auto &c : casos) {
        const auto d = entry::DestinoDaPendencia(banco, n, c.chave);
        ASSERT_TRUE(d) << c.chave;
        EXPECT_EQ(QString("%1:%2:%3:%4").arg(d->aba).arg(d->nrSq).arg(d->campo).arg(d->noItem),
                  c.destino)
            << c.chave;
    }
    EXPECT_FALSE(entry::DestinoDaPendencia(banco, n, "CN_QTD_x"));
}

} // namespace
