// General data, models, sequence numbering and the NF readers.

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace vlme::store;
using vlme::teste::BancoTeste;
using vlme::teste::ConstrutorDeclaracao;
using vlme::teste::ConteudoBanco;
using vlme::teste::ContaLinhas;

namespace {

class GravarGeral : public ::testing::Test {
protected:
    BancoTeste bt;
    Banco &banco = bt.banco();

    QVariant coluna(const QString &coluna, int nrVlm)
    {
        return banco.escalar(QStringLiteral("SELECT %1 FROM VLME WHERE NR_VLM_VLM = ?").arg(coluna),
                             {nrVlm});
    }
};

// Texts that break SQL pasted between quotes, or a LIKE, or a careless encoding.
const QString TextoArriscado = QStringLiteral("D'Ávila \"Ação\" 100% a_b ç ü");

TEST_F(GravarGeral, ConstrutorCriaLinhaComoOSeletor)
{
    const int n = ConstrutorDeclaracao(banco);
    EXPECT_GT(n, 0);
    EXPECT_EQ(coluna(QStringLiteral("typeof(CODIGO_VLM)"), n).toString(), QStringLiteral("text"));
    EXPECT_EQ(coluna(QStringLiteral("CODIGO_VLM"), n).toString(), QString());
    EXPECT_EQ(coluna(QStringLiteral("NR_TRANSMISSAO_VLM"), n).toInt(), 0);
    EXPECT_TRUE(coluna(QStringLiteral("CNPJ_VLM"), n).isNull());
    const int outro = ConstrutorDeclaracao(banco);
    EXPECT_EQ(outro, n + 1);
}

TEST_F(GravarGeral, GravaVLMEEscreveCadaColuna)
{
    const int n = ConstrutorDeclaracao(banco);
    DadosGerais d;
    d.cnpj = QStringLiteral("11222333000181");
    d.cpf = QStringLiteral("52998224725");
    d.ppb = QStringLiteral("Processo X");
    d.denProduto = QStringLiteral("Televisor");
    d.ncm = QStringLiteral("85287200");
    d.unidade = QStringLiteral("UN");
    d.pesoBruto = 12.34567;
    d.salarios = 1500.5;
    d.encargos = 300.25;
    d.coeficiente = Coeficiente::Variavel;
    d.substitutivo = false;
    d.retificador = true;
    d.vlmAnterior = QStringLiteral("2003000011");
    d.nrProcesso = QStringLiteral("12345678901234567");
    GravaVLME(banco, n, d);

    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, TIPO_COEFICIENTE_VLM,"
                       " SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NCM_VLM, PESO_BRUTO_VLM, UNIDADE_VLM,"
                       " VL_SALARIOS_VLM, VL_ENCARGOS_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM,"
                       " CODIGO_VLM, NR_TRANSMISSAO_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
        {n});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("11222333000181"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("52998224725"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("Processo X"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("Televisor"));
    EXPECT_EQ(q.value(4).toInt(), 1);
    EXPECT_EQ(q.value(5).toInt(), 0);
    EXPECT_EQ(q.value(6).toInt(), 1);
    EXPECT_EQ(q.value(7).toString(), QStringLiteral("85287200"));
    EXPECT_DOUBLE_EQ(q.value(8).toDouble(), 12.34567);
    EXPECT_EQ(q.value(9).toString(), QStringLiteral("UN"));
    EXPECT_DOUBLE_EQ(q.value(10).toDouble(), 1500.5);
    EXPECT_DOUBLE_EQ(q.value(11).toDouble(), 300.25);
    EXPECT_EQ(q.value(12).toString(), QStringLiteral("2003000011"));
    EXPECT_EQ(q.value(13).toString(), QStringLiteral("12345678901234567"));
    // Delivery state is not the form's to write.
    EXPECT_EQ(q.value(14).toString(), QString());
    EXPECT_EQ(q.value(15).toInt(), 0);
}

TEST_F(GravarGeral, NumerosVaziosViramZeroNaoNulo)
{
    const int n = ConstrutorDeclaracao(banco).geral([](DadosGerais &d) {
        d.pesoBruto = 5.0;
        d.salarios = 7.0;
        d.encargos = 9.0;
    });
    DadosGerais d = ConstrutorDeclaracao::GeraisPadrao();
    d.pesoBruto.reset();
    d.salarios.reset();
    d.encargos.reset();
    GravaVLME(banco, n, d);
    for (const char *c : {"PESO_BRUTO_VLM", "VL_SALARIOS_VLM", "VL_ENCARGOS_VLM"}) {
        const QString col = QLatin1String(c);
        EXPECT_EQ(coluna(QStringLiteral("typeof(%1)").arg(col), n).toString(),
                  QStringLiteral("real"))
            << c;
        EXPECT_EQ(coluna(col, n).toDouble(), 0.0) << c;
    }
}

TEST_F(GravarGeral, ParSemOpcaoMarcadaMantemAColuna)
{
    const int n = ConstrutorDeclaracao(banco).geral([](DadosGerais &d) {
        d.coeficiente = Coeficiente::Variavel;
        d.retificador = true;
        d.substitutivo = false;
    });
    DadosGerais d = ConstrutorDeclaracao::GeraisPadrao();
    d.coeficiente.reset();
    d.retificador.reset();
    d.substitutivo.reset();
    GravaVLME(banco, n, d);
    EXPECT_EQ(coluna(QStringLiteral("TIPO_COEFICIENTE_VLM"), n).toInt(), 1);
    EXPECT_EQ(coluna(QStringLiteral("RETIFICADOR_VLM"), n).toInt(), 1);
    EXPECT_EQ(coluna(QStringLiteral("SUBSTITUTIVO_VLM"), n).toInt(), 0);

    // And a selected option does overwrite.
    d.coeficiente = Coeficiente::Fixo;
    d.retificador = false;
    d.substitutivo = true;
    GravaVLME(banco, n, d);
    EXPECT_EQ(coluna(QStringLiteral("TIPO_COEFICIENTE_VLM"), n).toInt(), 0);
    EXPECT_EQ(coluna(QStringLiteral("RETIFICADOR_VLM"), n).toInt(), 0);
    EXPECT_EQ(coluna(QStringLiteral("SUBSTITUTIVO_VLM"), n).toInt(), 1);
}

TEST_F(GravarGeral, GravaVLMEAlteraSoADeclaracaoDada)
{
    const int a = ConstrutorDeclaracao(banco).geral();
    const int b = ConstrutorDeclaracao(banco).geral();
    DadosGerais d = ConstrutorDeclaracao::GeraisPadrao();
    d.denProduto = QStringLiteral("Outro produto");
    GravaVLME(banco, b, d);
    EXPECT_EQ(coluna(QStringLiteral("DEN_PRODUTO_VLM"), a).toString(),
              QStringLiteral("Telefone celular"));
    EXPECT_EQ(coluna(QStringLiteral("DEN_PRODUTO_VLM"), b).toString(),
              QStringLiteral("Outro produto"));
}

TEST_F(GravarGeral, DeclaracaoInexistenteEhErroSemMudarNada)
{
    ConstrutorDeclaracao(banco).geral();
    const QStringList antes = ConteudoBanco(banco);
    EXPECT_THROW(GravaVLME(banco, 999, ConstrutorDeclaracao::GeraisPadrao()), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarGeral, TextosComCaracteresEspeciaisVoltamIguais)
{
    const int n = ConstrutorDeclaracao(banco).geral([](DadosGerais &d) {
        d.ppb = TextoArriscado;
        d.denProduto = TextoArriscado;
    });
    EXPECT_EQ(coluna(QStringLiteral("PPB_VLM"), n).toString(), TextoArriscado);
    EXPECT_EQ(coluna(QStringLiteral("DEN_PRODUTO_VLM"), n).toString(), TextoArriscado);

    IncluiModelo(banco, n, {TextoArriscado, 1.0, QStringLiteral("a'b%_")});
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT TX_DESCRICAO_MODELOS || '#' ||"
                                           " COD_INTERNO_MODELOS FROM MODELOS"))
                  .toString(),
              TextoArriscado + QStringLiteral("#a'b%_"));

    DadosNF nf = ConstrutorDeclaracao::NFPadrao();
    nf.serie = QStringLiteral("A'%_");
    DadosNacional nac = ConstrutorDeclaracao::NacionalPadrao(TextoArriscado, 1, 1);
    IncluiNacional(banco, n, nf, nac);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT TX_DESCRICAO_NACIONAL FROM"
                                           " COMPONENTES_NACIONAIS"))
                  .toString(),
              TextoArriscado);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT SERIE_NF FROM NF")).toString(),
              QStringLiteral("A'%_"));

    const int imp = IncluiImportadoDI(banco, n, ConstrutorDeclaracao::DIPadrao(),
                                      ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("x"), 1, 1));
    DadosImportado novo = ConstrutorDeclaracao::ImportadoPadrao(TextoArriscado, 1, 1);
    AlteraImportadoDI(banco, n, imp, ConstrutorDeclaracao::DIPadrao(), novo);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT TX_DESCRICAO_IMPORTADO FROM"
                                           " COMPONENTES_IMPORTADOS"))
                  .toString(),
              TextoArriscado);
}

// ---- Models ----

TEST_F(GravarGeral, ModeloIncluidoEAlteradoSoNosCamposPreenchidos)
{
    const int n = ConstrutorDeclaracao(banco);
    const int sq = IncluiModelo(banco, n, {QStringLiteral("Modelo A"), 100.0, QStringLiteral("A1")});
    EXPECT_EQ(sq, 1);
    EXPECT_EQ(AlteraModelo(banco, n, sq, {QString(), 250.5, QString()}), 1);
    QSqlQuery q = banco.executa(QStringLiteral("SELECT TX_DESCRICAO_MODELOS, PRECO_VENDA_MODELOS,"
                                               " COD_INTERNO_MODELOS FROM MODELOS"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Modelo A"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 250.5);
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("A1"));
    EXPECT_FALSE(q.next());

    // Empty price on insert: the column's default.
    const int sq2 = IncluiModelo(banco, n, {QStringLiteral("Modelo B"), std::nullopt, QString()});
    EXPECT_EQ(sq2, 2);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT PRECO_VENDA_MODELOS FROM MODELOS"
                                           " WHERE NR_SQ_MODELOS = 2"))
                  .toDouble(),
              0.0);
    EXPECT_TRUE(banco.escalar(QStringLiteral("SELECT COD_INTERNO_MODELOS FROM MODELOS"
                                             " WHERE NR_SQ_MODELOS = 2"))
                    .isNull());
}

TEST_F(GravarGeral, AlterarModeloInexistenteEhErro)
{
    const int n = ConstrutorDeclaracao(banco).modelo(QStringLiteral("Modelo A"), 1.0);
    EXPECT_THROW(AlteraModelo(banco, n, 2, {QStringLiteral("X"), 1.0, QStringLiteral("X")}),
                 ErroBanco);
    EXPECT_THROW(AlteraModelo(banco, n + 1, 1, {QStringLiteral("X"), 1.0, QStringLiteral("X")}),
                 ErroBanco);
}

// ---- Sequences within a statement ----

TEST_F(GravarGeral, SequenciasSeguemOMaiorMaisUm)
{
    ConstrutorDeclaracao c(banco);
    c.modelo(QStringLiteral("M1"), 1).modelo(QStringLiteral("M2"), 1).modelo(QStringLiteral("M3"), 1);
    c.nacional().nacional().nacional();
    c.importadoDI().importadoNF().importadoDI();
    const int n = c.numero();
    // Another statement numbers on its own, from 1.
    ConstrutorDeclaracao outra(banco);
    outra.modelo(QStringLiteral("M1"), 1).nacional().importadoDI();
    EXPECT_EQ(outra.ultimoModelo(), 1);
    EXPECT_EQ(outra.ultimoNacional(), 1);
    EXPECT_EQ(outra.ultimoImportado(), 1);

    // Highest deleted: its number comes back.
    banco.executa(QStringLiteral("DELETE FROM MODELOS WHERE NR_VLM_MODELOS = ? AND"
                                 " NR_SQ_MODELOS = 3"),
                  {n});
    ExcluiNacional(banco, n, 3);
    ExcluiImportado(banco, n, 3);
    EXPECT_EQ(IncluiModelo(banco, n, {QStringLiteral("M3b"), 1.0, QStringLiteral("C")}), 3);
    EXPECT_EQ(IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                             ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("N"), 1, 1)),
              3);
    EXPECT_EQ(IncluiImportadoDI(banco, n, ConstrutorDeclaracao::DIPadrao(),
                                ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("I"), 1, 1)),
              3);

    // A gap in the middle is not reused.
    banco.executa(QStringLiteral("DELETE FROM MODELOS WHERE NR_VLM_MODELOS = ? AND"
                                 " NR_SQ_MODELOS = 2"),
                  {n});
    ExcluiNacional(banco, n, 2);
    ExcluiImportado(banco, n, 2);
    EXPECT_EQ(IncluiModelo(banco, n, {QStringLiteral("M4"), 1.0, QStringLiteral("C")}), 4);
    EXPECT_EQ(IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                             ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("N"), 1, 1)),
              4);
    EXPECT_EQ(IncluiImportadoNF(banco, n, ConstrutorDeclaracao::NFPadrao(),
                                ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("I"), 1, 1)),
              4);
}

TEST_F(GravarGeral, SubcomponentesDividemANumeracaoDosImportados)
{
    ConstrutorDeclaracao c(banco);
    c.nacional().importadoDI().subcomponente(1, QStringLiteral("S"), 1, 1).importadoNF();
    EXPECT_EQ(c.ultimoImportado(), 3);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"),
                          QStringLiteral("N_IMPORTADO_SUBCOMP = 2 AND N_NACIONAL_SUBCOMP = 1")),
              1);
}

// ---- Readers of NF ----

TEST(LeituraNF, CnpjSomenteDigitosAceitaAsDuasFormas)
{
    EXPECT_EQ(CnpjSomenteDigitos(QStringLiteral("04.539.983/0001-90")),
              QStringLiteral("04539983000190"));
    EXPECT_EQ(CnpjSomenteDigitos(QStringLiteral("04539983000190")),
              QStringLiteral("04539983000190"));
    EXPECT_EQ(CnpjSomenteDigitos(QStringLiteral("  .   .   /    -  ")), QString());
    EXPECT_EQ(CnpjSomenteDigitos(QString()), QString());
}

TEST(LeituraNF, DataNasFormasGravadas)
{
    const QDate esperado(2023, 3, 15);
    EXPECT_EQ(LeDataNF(QStringLiteral("15/03/2023")), esperado);
    EXPECT_EQ(LeDataNF(QStringLiteral("15032023")), esperado);
    EXPECT_EQ(LeDataNF(QStringLiteral("2023/03/15")), esperado);
    EXPECT_EQ(LeDataNF(QStringLiteral("2023-03-15")), esperado);
    EXPECT_FALSE(LeDataNF(QStringLiteral("31/02/2023")).isValid());
    EXPECT_FALSE(LeDataNF(QString()).isValid());
}

} // namespace
