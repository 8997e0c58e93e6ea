// Delivery state, protocol and kind of a statement, the statement list, and
// what stored files and the queries rely on in the layout: counters never
// reused, text compared as the old engine did.

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;
using teste::Valores;

TEST(SituacaoEntrega, CadaCombinacaoDeTransmissaoECodigo) {
    const struct {
        int nr;
        const char *codigo, *situacao, *protocolo;
    } casos[] = {
        {0, "", "Original", "-"},
        {0, "200100123", "Original", "2001/00123"}, // imported with its code
        {-1, "200100123", "Registrado", "2001/00123"},
        {-1, "", "A transmitir", "-"},
        {1, "", "Transmitido", "1"},
        {987654, "", "Transmitido", "987654"},
        {987654, "200100123", "Original", "987654"},
        {-2, "", "Original", "-2"},
        {-2, "200100123", "Original", "-2"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(std::to_string(c.nr) + " / " + c.codigo);
        EXPECT_EQ(store::SituacaoEntrega(c.nr, c.codigo), c.situacao);
        EXPECT_EQ(store::Protocolo(c.nr, c.codigo), c.protocolo);
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
        EXPECT_EQ(
            store::ModeloCadastrado(banco, c.declaracao, QString::fromUtf8(c.descricao), c.exceto),
            c.cadastrado)
            << c.descricao << ' ' << c.declaracao << ' ' << c.exceto;
}
