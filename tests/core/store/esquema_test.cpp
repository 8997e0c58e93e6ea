// The database holds every table, column, default and named index of the
// data model, and an earlier-layout file is upgraded exactly once.

#include "store/Banco.h"
#include "store/Esquema.h"
#include "store/Gravar.h"
#include "support/PastaTeste.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <map>

using namespace vlme;

namespace {

QStringList colunas(store::Banco &banco, const QString &tabela)
{
    QStringList nomes;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabela});
    while (q.next())
        nomes << q.value(0).toString();
    return nomes;
}

QStringList colunasIndice(store::Banco &banco, const QString &indice)
{
    QStringList nomes;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"),
                                {indice});
    while (q.next())
        nomes << q.value(0).toString();
    return nomes;
}

bool indiceUnico(store::Banco &banco, const QString &tabela, const QString &indice)
{
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT \"unique\" FROM pragma_index_list(?) WHERE name = ?"), {tabela, indice});
    return q.next() && q.value(0).toInt() == 1;
}

QString chavePrimaria(store::Banco &banco, const QString &tabela)
{
    return banco.escalar(QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk = 1"), {tabela})
        .toString();
}

} // namespace

TEST(Esquema, TemTodasAsTabelasEColunas)
{
    teste::BancoTeste b;
    const std::map<QString, QStringList> esperado = {
        {"VLME",
         {"NR_VLM_VLM", "DT_REGISTRO_VLM", "CNPJ_VLM", "CPF_VLM", "PPB_VLM", "TIPO_COEFICIENTE_VLM",
          "PERC_REDUCAO_VLM", "SUBSTITUTIVO_VLM", "RETIFICADOR_VLM", "NR_VLM_ANTERIOR_VLM",
          "NR_PROCESSO_VLM", "NCM_VLM", "PESO_BRUTO_VLM", "VL_SALARIOS_VLM", "VL_ENCARGOS_VLM",
          "DEN_PRODUTO_VLM", "UNIDADE_VLM", "NR_TRANSMISSAO_VLM", "NR_ARQUIVO_VLM", "CODIGO_VLM",
          "RAZAO_SOCIAL_VLM"}},
        {"MODELOS",
         {"NR_VLM_MODELOS", "NR_SQ_MODELOS", "TX_DESCRICAO_MODELOS", "COD_INTERNO_MODELOS",
          "PRECO_VENDA_MODELOS"}},
        {"COMPONENTES_NACIONAIS",
         {"NR_VLM_NACIONAL", "NR_SQ_NACIONAL", "TX_DESCRICAO_NACIONAL", "QTD_NACIONAL",
          "VL_CUSTO_UNITARIO_NACIONAL", "NR_SEQ_NF_NACIONAL", "NCM_NACIONAL", "UNIDADE_NACIONAL",
          "NR_SQ_IMPORTACAO"}},
        {"COMPONENTES_IMPORTADOS",
         {"NR_VLM_IMPORTADO", "NR_SQ_IMPORTADO", "TX_DESCRICAO_IMPORTADO", "QTD_IMPORTADO",
          "VALOR_UNITARIO_IMPORTADO", "ALIQUOTA_IMPORTADO", "VALOR_II_IMPORTADO",
          "NR_SEQ_DI_IMPORTADO", "NR_SEQ_NF_IMPORTADO", "IN_COM_SUSP_IMPORTADO",
          "IN_DIRETO_IMPORTADO", "IN_REDUCAO_II_IMPORTADO", "NCM_IMPORTADO", "UNIDADE_IMPORTADO",
          "NR_SQ_IMPORTACAO"}},
        {"SUBCOMP",
         {"N_VLM_SUBCOMP", "N_IMPORTADO_SUBCOMP", "N_NACIONAL_SUBCOMP", "IN_BASE_CALCULO_SUBCOMP"}},
        {"NF",
         {"NR_SEQ_NF", "NR_NF", "SERIE_NF", "CNPJ_NF", "DATA_EMISSAO_NF", "NR_INS_ESTADUAL_NF"}},
        {"DI", {"NR_SQ_DI", "NR_DI_DI", "NR_ADICAO_DI", "NR_ITEM_DI", "DESCRICAO_DI"}},
        {"RECIBO",
         {"NR_VLM_RECIBO", "CNPJ_RECIBO", "NR_TRANSMISSAO_RECIBO", "DATA_GERACAO_RECIBO",
          "HORA_GERACAO_RECIBO", "DATA_RECEPCAO_RECIBO", "HORA_RECEPCAO_RECIBO", "LOCAL_RECIBO",
          "REMESSA_RECIBO", "GATEWAY_RECIBO", "SELO_RECIBO", "NR_CONTROLE_RECIBO",
          "TOTAIS_RECIBO"}},
        {"ERRO", {"NR_VLM_ERRO", "DESCRICAO_ERRO", "LOCAL_ERRO", "REGISTRO_ERRO", "TIPO_ERRO"}},
        {"IMPRESSAO", {"NR_VLM_IMPRESSAO"}},
        {"NCM_ITEM", {"CD_NCM_PRODUTO", "DESCR_NCM_PRODUTO", "NM_UNID_MED_EST"}},
        {"UNIDADE_MEDIDA", {"CD_UNID_MEDIDA", "NM_MEDIDA"}},
    };
    QStringList tabelas;
    QSqlQuery q = b.banco().executa(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name"));
    while (q.next())
        tabelas << q.value(0).toString();
    QStringList nomesEsperados;
    for (const auto &[tabela, cols] : esperado)
        nomesEsperados << tabela;
    nomesEsperados.sort();
    EXPECT_EQ(tabelas, nomesEsperados);
    for (const auto &[tabela, cols] : esperado)
        EXPECT_EQ(colunas(b.banco(), tabela), cols) << tabela.toStdString();
}

TEST(Esquema, ChavesEIndicesNomeados)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    // Counters: the engine's own primary key.
    EXPECT_EQ(chavePrimaria(banco, "VLME"), "NR_VLM_VLM");
    EXPECT_EQ(chavePrimaria(banco, "NF"), "NR_SEQ_NF");
    EXPECT_EQ(chavePrimaria(banco, "DI"), "NR_SQ_DI");
    // Keys positioned on with several values.
    EXPECT_EQ(colunasIndice(banco, "COMPONENTES_NACIONAIS_PrimaryKey"),
              QStringList({"NR_VLM_NACIONAL", "NR_SQ_NACIONAL"}));
    EXPECT_TRUE(indiceUnico(banco, "COMPONENTES_NACIONAIS", "COMPONENTES_NACIONAIS_PrimaryKey"));
    EXPECT_EQ(colunasIndice(banco, "COMPONENTES_IMPORTADOS_PrimaryKey"),
              QStringList({"NR_VLM_IMPORTADO", "NR_SQ_IMPORTADO"}));
    EXPECT_TRUE(indiceUnico(banco, "COMPONENTES_IMPORTADOS", "COMPONENTES_IMPORTADOS_PrimaryKey"));
    EXPECT_EQ(colunasIndice(banco, "SUBCOMP_PrimaryKey"),
              QStringList({"N_VLM_SUBCOMP", "N_NACIONAL_SUBCOMP", "N_IMPORTADO_SUBCOMP"}));
    EXPECT_TRUE(indiceUnico(banco, "SUBCOMP", "SUBCOMP_PrimaryKey"));
    EXPECT_EQ(colunasIndice(banco, "IndiceModelos").value(0), "NR_VLM_MODELOS");
    EXPECT_EQ(colunasIndice(banco, "IndiceNacionais").value(0), "NR_VLM_NACIONAL");
}

TEST(Esquema, ValoresPadraoDeUmaLinhaNova)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    banco.executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM) VALUES ('')"));
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT NR_VLM_VLM, NR_TRANSMISSAO_VLM, PESO_BRUTO_VLM, TIPO_COEFICIENTE_VLM, CODIGO_VLM FROM VLME"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    EXPECT_EQ(q.value(1).toInt(), 0);
    EXPECT_FALSE(q.value(2).isNull());
    EXPECT_EQ(q.value(2).toDouble(), 0.0);
    EXPECT_EQ(q.value(3).toInt(), 0);
    EXPECT_EQ(q.value(4).toString(), "");

    banco.executa(QStringLiteral(
        "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO) VALUES (1, 1)"));
    QSqlQuery imp = banco.executa(QStringLiteral(
        "SELECT NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS"));
    ASSERT_TRUE(imp.next());
    EXPECT_EQ(imp.value(0).toInt(), 0);
    EXPECT_EQ(imp.value(1).toInt(), 0);
}

TEST(Esquema, ContadoresNuncaReutilizamNumeros)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('1')"));
    banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('2')"));
    banco.executa(QStringLiteral("DELETE FROM NF WHERE NR_SEQ_NF = 2"));
    banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('3')"));
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT MAX(NR_SEQ_NF) FROM NF")).toInt(), 3);
}

TEST(Esquema, ModeloCadastradoSemDistinguirMaiusculasNemAcentuadas) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    store::IncluiModelo(banco, 1, {QStringLiteral("TELEVISÃO ÉPICA"), 1.0, {}});
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

TEST(Esquema, TransacaoDesfazTudoSemConfirmacaoEAninha)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    {
        store::Transacao externa(banco);
        banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('a')"));
        {
            store::Transacao interna(banco);
            banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('b')"));
            interna.confirma();
        }
        {
            store::Transacao desfeita(banco);
            banco.executa(QStringLiteral("INSERT INTO NF (NR_NF) VALUES ('c')"));
        }
        EXPECT_EQ(banco.escalar(QStringLiteral("SELECT count(*) FROM NF")).toInt(), 2);
    }
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT count(*) FROM NF")).toInt(), 0);
}

TEST(Esquema, ValorComAspasVaiComoParametro)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const QString texto = QStringLiteral("O'Brien \"x\" 100% _a_ ; DROP TABLE VLME; --");
    banco.executa(QStringLiteral("INSERT INTO VLME (DEN_PRODUTO_VLM) VALUES (?)"), {texto});
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT DEN_PRODUTO_VLM FROM VLME")).toString(), texto);
}
