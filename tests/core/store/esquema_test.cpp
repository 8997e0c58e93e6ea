// What stored files and the queries rely on in the layout: named keys,
// defaults, counters never reused, text compared as the old engine did, and
// nested transactions.

#include "store/Banco.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;
using teste::Valores;

TEST(Esquema, IndicesNomeadosComSuasColunas) {
    teste::BancoTeste b;
    const struct {
        const char *tabela, *indice, *colunas;
    } casos[] = {
        {"COMPONENTES_NACIONAIS", "COMPONENTES_NACIONAIS_PrimaryKey",
         "NR_VLM_NACIONAL|NR_SQ_NACIONAL"},
        {"COMPONENTES_IMPORTADOS", "COMPONENTES_IMPORTADOS_PrimaryKey",
         "NR_VLM_IMPORTADO|NR_SQ_IMPORTADO"},
        {"SUBCOMP", "SUBCOMP_PrimaryKey", "N_VLM_SUBCOMP|N_NACIONAL_SUBCOMP|N_IMPORTADO_SUBCOMP"},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(Valores(b.banco(),
                          "SELECT group_concat(name, '|') FROM"
                          " (SELECT name FROM pragma_index_info(?) ORDER BY seqno)",
                          {c.indice}),
                  c.colunas);
        EXPECT_EQ(Valores(b.banco(), "SELECT \"unique\" FROM pragma_index_list(?) WHERE name = ?",
                          {c.tabela, c.indice}),
                  "1");
    }
}

TEST(Esquema, LinhaNovaTemOsPadroesEContadoresNaoVoltam) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    banco.executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");
    EXPECT_EQ(Valores(banco, "SELECT NR_VLM_VLM, NR_TRANSMISSAO_VLM, quote(PESO_BRUTO_VLM),"
                             " TIPO_COEFICIENTE_VLM, quote(CODIGO_VLM) FROM VLME"),
              "1|0|0.0|0|''");
    banco.executa(
        "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO) VALUES (1, 1)");
    EXPECT_EQ(
        Valores(banco,
                "SELECT NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS"),
        "0|0");
    for (const char *nf : {"1", "2"})
        banco.executa("INSERT INTO NF (NR_NF) VALUES (?)", {nf});
    banco.executa("DELETE FROM NF WHERE NR_SEQ_NF = 2");
    banco.executa("INSERT INTO NF (NR_NF) VALUES ('3')");
    EXPECT_EQ(Valores(banco, "SELECT group_concat(NR_SEQ_NF) FROM NF"), "1,3");
}

TEST(Esquema, ModeloCadastradoSemDistinguirMaiusculasNemAcentuadas) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    store::IncluiModelo(banco, 1, {"TELEVISÃO ÉPICA", 1.0, {}});
    const struct {
        const char *descricao;
        int declaracao, exceto;
        bool cadastrado;
    } casos[] = {
        {"televisão épica", 1, 0, true},  {"Televisão Épica", 1, 0, true},
        {"televisao epica", 1, 0, false}, // different letters stay different
        {"televisão épica", 1, 1, false}, // the model being changed itself
        {"televisão épica", 2, 0, false},
    };
    for (const auto &c : casos)
        EXPECT_EQ(store::ModeloCadastrado(banco, c.declaracao, QString::fromUtf8(c.descricao),
                                          c.exceto),
                  c.cadastrado)
            << c.descricao << ' ' << c.declaracao << ' ' << c.exceto;
}

TEST(Esquema, TransacaoDesfazTudoSemConfirmacaoEAninha) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    {
        store::Transacao externa(banco);
        banco.executa("INSERT INTO NF (NR_NF) VALUES ('a')");
        {
            store::Transacao interna(banco);
            banco.executa("INSERT INTO NF (NR_NF) VALUES ('b')");
            interna.confirma();
        }
        {
            store::Transacao desfeita(banco);
            banco.executa("INSERT INTO NF (NR_NF) VALUES ('c')");
        }
        EXPECT_EQ(Valores(banco, "SELECT group_concat(NR_NF) FROM NF"), "a,b");
    }
    EXPECT_EQ(Valores(banco, "SELECT count(*) FROM NF"), "0");
}
