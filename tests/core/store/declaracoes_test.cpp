// Delivery state and kind of a statement, the list, and what stored files rely
// on in the layout: counters never reused, text compared as the old engine did.

#include "core/entry/Casos.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;
using teste::Valores;

TEST(SituacaoEntrega, CadaCombinacaoDeTransmissaoECodigo) {
    for (const QStringList &c : teste::Casos("situacao_entrega.tsv")) {
        SCOPED_TRACE(c.join(' '));
        EXPECT_EQ(store::SituacaoEntrega(c[0].toInt(), c[1]), c[2]);
        EXPECT_EQ(store::Protocolo(c[0].toInt(), c[1]), c[3]);
    }
    // Shown as they are when not of the full length.
    EXPECT_EQ(store::FormataCNPJ("1122") + store::FormataCPF("5299822472"), "11225299822472");
    EXPECT_EQ(store::TipoDeclaracao(1, 1), "Retificador");
}

// The order and the filters of the list are driven through the picker's tests.
TEST(ListaDeclaracoes, ProdutoComOModeloDeMenorSequencia) {
    teste::BancoTeste b;
    const int n = store::CriaVLM(b.banco());
    b.banco().executa("UPDATE VLME SET DEN_PRODUTO_VLM = 'Televisor', SUBSTITUTIVO_VLM = 1");
    for (const char *m : {"2, 'TV-29'", "1, 'TV-14'"})
        b.banco().executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS,"
                                         " TX_DESCRICAO_MODELOS) VALUES (?, %1)")
                              .arg(m),
                          {n});
    const auto tv = store::ListaDeclaracoes(b.banco()).at(0);
    EXPECT_EQ(tv.produto + " / " + tv.tipo, "Televisor - TV-14 / Substitutivo");
}

// Keys of deleted rows are never given again, so a stale link cannot reach a new row.
TEST(Esquema, ContadoresNaoVoltam) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    for (const QString tabela : {"NF", "VLME"}) {
        for (int i = 0; i < 2; ++i)
            banco.executa("INSERT INTO " + tabela + " DEFAULT VALUES");
        banco.executa("DELETE FROM " + tabela + " WHERE rowid = 2");
        banco.executa("INSERT INTO " + tabela + " DEFAULT VALUES");
        EXPECT_EQ(Valores(banco, "SELECT group_concat(rowid) FROM " + tabela), "1,3");
    }
}

TEST(Esquema, ModeloCadastradoSemDistinguirMaiusculasNemAcentuadas) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    store::IncluiModelo(banco, 1, {"TELEVISÃO ÉPICA", 1.0, {}});
    for (const QStringList &c : teste::Casos("modelo_cadastrado.tsv"))
        EXPECT_EQ(store::ModeloCadastrado(banco, c[1].toInt(), c[0], c[2].toInt()), c[3] == "1")
            << c.join(' ');
}
