// Delivery state, protocol and kind of a statement, and the statement list.

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;

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
}

TEST(SituacaoEntrega, TipoECNPJFormatado) {
    EXPECT_EQ(store::TipoDeclaracao(1, 1), "Retificador");
    EXPECT_EQ(store::TipoDeclaracao(0, 1), "Substitutivo");
    EXPECT_EQ(store::TipoDeclaracao(0, 0), "Novo");
    const struct {
        QString (*formata)(const QString &);
        const char *entrada, *saida;
    } casos[] = {
        {store::FormataCNPJ, "", "-"},
        {store::FormataCNPJ, "11222333000181", "11.222.333/0001-81"},
        {store::FormataCNPJ, "1122", "1122"},
        {store::FormataCPF, "52998224725", "529.982.247-25"},
        {store::FormataCPF, "5299822472", "5299822472"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(c.formata(c.entrada), c.saida);
}

TEST(ListaDeclaracoes, UmaLinhaPorDeclaracaoEFiltrosPorSituacao) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const auto insere = [&](const char *cnpj, const char *produto, int nr, const char *codigo,
                            int substitutivo = 0) {
        banco.executa("INSERT INTO VLME (CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM,"
                      " RETIFICADOR_VLM, SUBSTITUTIVO_VLM) VALUES (?, ?, ?, ?, 0, ?)",
                      {cnpj, QString::fromUtf8(produto), nr, codigo, substitutivo});
        return banco.escalar("SELECT last_insert_rowid()").toInt();
    };
    const int original = insere("", "Rádio", 0, "");
    const int comModelos = insere("11222333000181", "Televisor", 0, "", 1);
    for (const char *m : {"2, 'TV-29'", "1, 'TV-14'"})
        banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS,"
                                     " TX_DESCRICAO_MODELOS) VALUES (?, %1)")
                          .arg(m),
                      {comModelos});
    const int transmitido = insere("", "b", 555, "");
    const int aTransmitir = insere("", "c", -1, "");
    const int registrado = insere("", "d", -1, "200100123");
    const int comCodigo = insere("", "e", 0, "200100124");

    const auto itens = store::ListaDeclaracoes(banco);
    ASSERT_EQ(itens.size(), 6u);
    const auto &tv = itens[4]; // newest first
    EXPECT_EQ(QStringList({QString::number(tv.numero), tv.cnpj, tv.produto, tv.tipo}),
              QStringList({QString::number(comModelos), "11.222.333/0001-81", "Televisor - TV-14",
                           "Substitutivo"}));
    const auto &radio = itens[5];
    EXPECT_EQ(QStringList({QString::number(radio.numero), radio.cnpj, radio.produto, radio.tipo,
                           radio.situacao, radio.protocolo}),
              QStringList({QString::number(original), "-", "Rádio", "Novo", "Original", "-"}));

    const auto numeros = [&](store::FiltroLista filtro) {
        QList<int> n;
        for (const auto &i : store::ListaDeclaracoes(banco, filtro))
            n << i.numero;
        return n;
    };
    using store::FiltroLista;
    EXPECT_EQ(numeros(FiltroLista::Todas),
              QList<int>({comCodigo, registrado, aTransmitir, transmitido, comModelos, original}));
    EXPECT_EQ(numeros(FiltroLista::Geracao), QList<int>({aTransmitir, comModelos, original}));
    EXPECT_EQ(numeros(FiltroLista::Pendencias), QList<int>({aTransmitir, comModelos, original}));
    EXPECT_EQ(numeros(FiltroLista::Diagnostico),
              QList<int>({registrado, aTransmitir, transmitido}));
}
