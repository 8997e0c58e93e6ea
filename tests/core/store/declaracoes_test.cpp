// Delivery state, protocol and kind of a statement, numbering inside a
// statement and the statement list.

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme;

TEST(SituacaoEntrega, CadaCombinacaoDeTransmissaoECodigo)
{
    struct Caso {
        int nr;
        const char *codigo;
        const char *situacao;
        const char *protocolo;
    };
    const Caso casos[] = {
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
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::to_string(c.nr) + " / " + c.codigo);
        EXPECT_EQ(store::SituacaoEntrega(c.nr, QString::fromLatin1(c.codigo)), c.situacao);
        EXPECT_EQ(store::Protocolo(c.nr, QString::fromLatin1(c.codigo)), c.protocolo);
    }
}

TEST(SituacaoEntrega, TipoECNPJFormatado)
{
    EXPECT_EQ(store::TipoDeclaracao(1, 1), "Retificador");
    EXPECT_EQ(store::TipoDeclaracao(0, 1), "Substitutivo");
    EXPECT_EQ(store::TipoDeclaracao(0, 0), "Novo");
    EXPECT_EQ(store::FormataCNPJ(""), "-");
    EXPECT_EQ(store::FormataCNPJ("11222333000181"), "11.222.333/0001-81");
    EXPECT_EQ(store::FormataCNPJ("1122"), "1122");
    EXPECT_EQ(store::FormataCPF("52998224725"), "529.982.247-25");
    EXPECT_EQ(store::FormataCPF("5299822472"), "5299822472");
}

TEST(Sequencias, MaximoMaisUmDentroDaDeclaracao)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    EXPECT_EQ(store::ProximoModelo(banco, 1), 1);
    EXPECT_EQ(store::ProximoNacional(banco, 1), 1);
    EXPECT_EQ(store::ProximoImportado(banco, 1), 1);
    for (int sq = 1; sq <= 3; ++sq) {
        banco.executa(QStringLiteral("INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL) VALUES (1, ?)"), {sq});
        banco.executa(QStringLiteral("INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO) VALUES (1, ?)"), {sq});
        banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS) VALUES (1, ?)"), {sq});
    }
    // Another statement's rows do not count.
    banco.executa(QStringLiteral("INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL) VALUES (2, 50)"));
    EXPECT_EQ(store::ProximoNacional(banco, 1), 4);
    EXPECT_EQ(store::ProximoNacional(banco, 2), 51);

    banco.executa(QStringLiteral("DELETE FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = 1 AND NR_SQ_NACIONAL = 3"));
    EXPECT_EQ(store::ProximoNacional(banco, 1), 3);
    banco.executa(QStringLiteral("DELETE FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = 1 AND NR_SQ_IMPORTADO = 2"));
    EXPECT_EQ(store::ProximoImportado(banco, 1), 4);
    banco.executa(QStringLiteral("DELETE FROM MODELOS"));
    EXPECT_EQ(store::ProximoModelo(banco, 1), 1);
}

namespace {

int insereDeclaracao(store::Banco &banco, const QString &cnpj, const QString &produto, int nr,
                     const QString &codigo, int retificador = 0, int substitutivo = 0)
{
    banco.executa(QStringLiteral("INSERT INTO VLME (CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM,"
                                 " CODIGO_VLM, RETIFICADOR_VLM, SUBSTITUTIVO_VLM) VALUES (?, ?, ?, ?, ?, ?)"),
                  {cnpj, produto, nr, codigo, retificador, substitutivo});
    return banco.escalar(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

QList<int> numeros(const std::vector<store::ItemLista> &itens)
{
    QList<int> n;
    for (const auto &i : itens)
        n << i.numero;
    return n;
}

} // namespace

TEST(ListaDeclaracoes, UmaLinhaPorDeclaracaoComOPrimeiroModelo)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int semModelo = insereDeclaracao(banco, "", "Rádio", 0, "");
    const int comModelos = insereDeclaracao(banco, "11222333000181", "Televisor", 0, "", 0, 1);
    banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS) VALUES (?, 2, 'TV-29')"), {comModelos});
    banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS) VALUES (?, 1, 'TV-14')"), {comModelos});

    const auto itens = store::ListaDeclaracoes(banco);
    ASSERT_EQ(itens.size(), 2u);
    EXPECT_EQ(itens[0].numero, comModelos); // newest first
    EXPECT_EQ(itens[0].cnpj, "11.222.333/0001-81");
    EXPECT_EQ(itens[0].produto, "Televisor - TV-14");
    EXPECT_EQ(itens[0].tipo, "Substitutivo");
    EXPECT_EQ(itens[1].numero, semModelo);
    EXPECT_EQ(itens[1].cnpj, "-");
    EXPECT_EQ(itens[1].produto, "Rádio");
    EXPECT_EQ(itens[1].tipo, "Novo");
    EXPECT_EQ(itens[1].situacao, "Original");
    EXPECT_EQ(itens[1].protocolo, "-");
}

TEST(ListaDeclaracoes, FiltrosPorSituacao)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int original = insereDeclaracao(banco, "", "a", 0, "");
    const int transmitido = insereDeclaracao(banco, "", "b", 555, "");
    const int aTransmitir = insereDeclaracao(banco, "", "c", -1, "");
    const int registrado = insereDeclaracao(banco, "", "d", -1, "200100123");
    const int importadoComCodigo = insereDeclaracao(banco, "", "e", 0, "200100124");

    using store::FiltroLista;
    EXPECT_EQ(numeros(store::ListaDeclaracoes(banco, FiltroLista::Todas)),
              QList<int>({importadoComCodigo, registrado, aTransmitir, transmitido, original}));
    EXPECT_EQ(numeros(store::ListaDeclaracoes(banco, FiltroLista::Geracao)),
              QList<int>({aTransmitir, original}));
    EXPECT_EQ(numeros(store::ListaDeclaracoes(banco, FiltroLista::Pendencias)),
              QList<int>({aTransmitir, original}));
    EXPECT_EQ(numeros(store::ListaDeclaracoes(banco, FiltroLista::Diagnostico)),
              QList<int>({registrado, aTransmitir, transmitido}));
}
