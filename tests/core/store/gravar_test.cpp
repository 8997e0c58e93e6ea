// The saving operations: every column written, empty fields, numbering inside
// a statement, invoices and DIs following their component, cascades, the two
// cost checks, and all-or-nothing writes.

#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

using namespace vlme::store;
using vlme::teste::ConstrutorDeclaracao;
using vlme::teste::ContaLinhas;
using vlme::teste::ConteudoBanco;
using vlme::teste::ConteudoTabela;
using vlme::teste::Valores;
using C = ConstrutorDeclaracao;

namespace {

// Texts that break SQL pasted between quotes, or a LIKE, or a careless encoding.
const QString Arriscado = "D'Ávila \"Ação\" 100% a_b ç ü";

class Gravar : public ::testing::Test {
  protected:
    vlme::teste::BancoTeste bt;
    Banco &banco = bt.banco();

    QString vlme(const QString &colunas, int n) {
        return Valores(banco, "SELECT " + colunas + " FROM VLME WHERE NR_VLM_VLM = ?", {n});
    }
    QString importado(const QString &colunas, int n, int sq) {
        return Valores(banco,
                       "SELECT " + colunas +
                           " FROM COMPONENTES_IMPORTADOS"
                           " WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?",
                       {n, sq});
    }
    int ligacao(const char *coluna, const char *tabela, const char *vlm, const char *sq, int n,
                int s) {
        return banco
            .escalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? AND %4 = ?")
                         .arg(coluna, tabela, vlm, sq),
                     {n, s})
            .toInt();
    }
    int nfNacional(int n, int sq) {
        return ligacao("NR_SEQ_NF_NACIONAL", "COMPONENTES_NACIONAIS", "NR_VLM_NACIONAL",
                       "NR_SQ_NACIONAL", n, sq);
    }
    int diImportado(int n, int sq) {
        return ligacao("NR_SEQ_DI_IMPORTADO", "COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO",
                       "NR_SQ_IMPORTADO", n, sq);
    }
    int nfImportado(int n, int sq) {
        return ligacao("NR_SEQ_NF_IMPORTADO", "COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO",
                       "NR_SQ_IMPORTADO", n, sq);
    }
    // NF and DI rows no component points to.
    int orfaos() {
        return ContaLinhas(banco, "NF",
                           "NR_SEQ_NF NOT IN (SELECT NR_SEQ_NF_NACIONAL FROM"
                           " COMPONENTES_NACIONAIS) AND NR_SEQ_NF NOT IN (SELECT"
                           " NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS)") +
               ContaLinhas(banco, "DI",
                           "NR_SQ_DI NOT IN (SELECT NR_SEQ_DI_IMPORTADO FROM"
                           " COMPONENTES_IMPORTADOS)");
    }
};

TEST_F(Gravar, DadosGeraisEmCadaColunaSemTocarNaEntrega) {
    const int outra = ConstrutorDeclaracao(banco).geral();
    const int n = ConstrutorDeclaracao(banco);
    EXPECT_EQ(n, outra + 1);
    EXPECT_EQ(vlme("quote(CODIGO_VLM), NR_TRANSMISSAO_VLM, CNPJ_VLM", n), "''|0|NULL");
    DadosGerais d{"11222333000181",
                  "52998224725",
                  Arriscado,
                  "Televisor",
                  "85287200",
                  "UN",
                  12.34567,
                  1500.5,
                  300.25,
                  Coeficiente::Variavel,
                  false,
                  true,
                  "2003000011",
                  "12345678901234567"};
    GravaVLME(banco, n, d);
    EXPECT_EQ(vlme("CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, TIPO_COEFICIENTE_VLM,"
                   " SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NCM_VLM, PESO_BRUTO_VLM, UNIDADE_VLM,"
                   " VL_SALARIOS_VLM, VL_ENCARGOS_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM,"
                   " quote(CODIGO_VLM), NR_TRANSMISSAO_VLM",
                   n),
              "11222333000181|52998224725|" + Arriscado +
                  "|Televisor|1|0|1|85287200|12.34567|UN|"
                  "1500.5|300.25|2003000011|12345678901234567|''|0");
    EXPECT_EQ(vlme("DEN_PRODUTO_VLM", outra), "Telefone celular");

    // Empty numbers become 0, not NULL; a pair with neither option keeps the column.
    DadosGerais vazio = C::GeraisPadrao();
    vazio.pesoBruto = vazio.salarios = vazio.encargos = std::nullopt;
    vazio.coeficiente.reset();
    vazio.retificador.reset();
    vazio.substitutivo.reset();
    GravaVLME(banco, n, vazio);
    EXPECT_EQ(vlme("quote(PESO_BRUTO_VLM), quote(VL_SALARIOS_VLM), quote(VL_ENCARGOS_VLM),"
                   " TIPO_COEFICIENTE_VLM, RETIFICADOR_VLM, SUBSTITUTIVO_VLM",
                   n),
              "0.0|0.0|0.0|1|1|0");

    const QStringList antes = ConteudoBanco(banco);
    EXPECT_THROW(GravaVLME(banco, 999, C::GeraisPadrao()), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(Gravar, ModeloIncluidoEAlteradoSoNosCamposPreenchidos) {
    const int n = ConstrutorDeclaracao(banco);
    EXPECT_EQ(IncluiModelo(banco, n, {Arriscado, 100.0, "a'b%_"}), 1);
    EXPECT_EQ(AlteraModelo(banco, n, 1, {QString(), 250.5, QString()}), 1);
    EXPECT_EQ(IncluiModelo(banco, n, {"Modelo B", std::nullopt, QString()}), 2);
    EXPECT_EQ(Valores(banco, "SELECT TX_DESCRICAO_MODELOS, PRECO_VENDA_MODELOS, COD_INTERNO_MODELOS"
                             " FROM MODELOS ORDER BY NR_SQ_MODELOS"),
              Arriscado + "|250.5|a'b%_;Modelo B|0|NULL");
    EXPECT_THROW(AlteraModelo(banco, n, 3, {"X", 1.0, "X"}), ErroBanco);
    EXPECT_THROW(AlteraModelo(banco, n + 1, 1, {"X", 1.0, "X"}), ErroBanco);
}

TEST_F(Gravar, SequenciasSeguemOMaiorMaisUmDentroDaDeclaracao) {
    ConstrutorDeclaracao c(banco);
    c.modelo("M1", 1).modelo("M2", 1).modelo("M3", 1);
    c.nacional().nacional().nacional();
    c.importadoDI().importadoNF().importadoDI();
    const int n = c;
    ConstrutorDeclaracao outra(banco);
    outra.modelo("M1", 1).nacional().importadoDI();
    EXPECT_EQ(outra.ultimoModelo() + outra.ultimoNacional() + outra.ultimoImportado(), 3);

    const auto apagaEInclui = [&](int sq) {
        banco.executa("DELETE FROM MODELOS WHERE NR_VLM_MODELOS = ? AND NR_SQ_MODELOS = ?",
                      {n, sq});
        ExcluiNacional(banco, n, sq);
        ExcluiImportado(banco, n, sq);
        return QList<int>{
            IncluiModelo(banco, n, {"M", 1.0, "C"}),
            IncluiNacional(banco, n, C::NFPadrao(), C::NacionalPadrao("N", 1, 1)),
            IncluiImportadoNF(banco, n, C::NFPadrao(), C::ImportadoPadrao("I", 1, 1))};
    };
    EXPECT_EQ(apagaEInclui(3), QList<int>({3, 3, 3})); // the highest comes back
    EXPECT_EQ(apagaEInclui(2), QList<int>({4, 4, 4})); // a gap is not reused

    // Subcomponents share the numbering of the imported components.
    ConstrutorDeclaracao s(banco);
    s.nacional().importadoDI().subcomponente(1, "S", 1, 1).importadoNF();
    EXPECT_EQ(s.ultimoImportado(), 3);
    EXPECT_EQ(ContaLinhas(banco, "SUBCOMP",
                          "N_VLM_SUBCOMP = ? AND N_IMPORTADO_SUBCOMP = 2 AND"
                          " N_NACIONAL_SUBCOMP = 1",
                          {s.numero()}),
              1);
}

TEST(LeituraNF, CnpjEDataNasFormasGravadas) {
    for (const char *cnpj : {"04.539.983/0001-90", "04539983000190"})
        EXPECT_EQ(CnpjSomenteDigitos(cnpj), "04539983000190");
    EXPECT_EQ(CnpjSomenteDigitos("  .   .   /    -  "), "");
    for (const char *data : {"15/03/2023", "15032023", "2023/03/15", "2023-03-15"})
        EXPECT_EQ(LeDataNF(data), QDate(2023, 3, 15)) << data;
    for (const char *data : {"31/02/2023", ""})
        EXPECT_FALSE(LeDataNF(data).isValid()) << data;
}

// National 1 (unit cost 10) with subcomponents 1 = 2 x 2,5 and 2 = 1 x 3
// (total 8); national 2 with a subcomponent of 50; a component of the product
// of 50; another statement whose national 1 has a subcomponent of 50.
TEST_F(Gravar, CustoDoNacionalContraSeusSubcomponentes) {
    ConstrutorDeclaracao(banco).nacional("N1", 1, 10).subcomponente(1, "Outra", 1, 50);
    ConstrutorDeclaracao c(banco);
    c.nacional("N1", 1, 10).nacional("N2", 1, 100);
    c.subcomponente(1, "A", 2, 2.5).subcomponente(1, "B", 1, 3);
    c.subcomponente(2, "C", 1, 50).importadoDI("D", 1, 50);
    const int n = c;
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 1), 8.0);
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 1, 2), 5.0);
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 3), 0.0);

    // True: the national unit cost is not above the subcomponents' total.
    const struct {
        int nacional;
        double custo, qtd, valor;
        int alterado;
        bool falha;
    } casos[] = {
        {1, 10.0, 1, 1.99, 0, false}, {1, 10.0, 1, 2.0, 0, true}, {1, 10.0, 2, 1.005, 0, true},
        {3, 10.0, 4, 2.49, 0, false}, {3, 10.0, 4, 2.5, 0, true}, // no subcomponents: 0
        {1, 10.0, 1, 4.99, 2, false}, {1, 10.0, 1, 5.0, 2, true}, // B counted at its new value
        {1, 10.0, 2, 2.5, 2, true},   {1, 8.0, 1, 1, 1, false},
    };
    for (const auto &k : casos)
        EXPECT_EQ(
            VerificaCustoSubcomponentes(banco, n, k.nacional, k.custo, k.qtd, k.valor, k.alterado),
            k.falha)
            << k.nacional << " " << k.custo << " " << k.qtd << " x " << k.valor << " "
            << k.alterado;
    for (const auto &[custo, falha] : {std::pair{7.99, true}, {8.0, true}, {8.01, false}})
        EXPECT_EQ(VerificaCustoNacional(banco, n, 1, custo), falha) << custo;
    EXPECT_FALSE(VerificaCustoNacional(banco, n, 3, 0.01));

    // 0,7 + 0,1 is 0,7999999999999999 as doubles: equal on paper still fails.
    c.nacional("N3", 1, 0.8).subcomponente(c.ultimoNacional(), "E", 1, 0.7);
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, c.ultimoNacional(), 0.8, 1, 0.1));
    c.subcomponente(c.ultimoNacional(), "F", 1, 0.1);
    EXPECT_TRUE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.8));
    EXPECT_FALSE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.800001));

    // Subcomponents of the component being included.
    c.subcomponente(NacionalEmInclusao, "P", 1, 6);
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 4));
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 3.99));
    EXPECT_TRUE(VerificaCustoNacional(banco, n, NacionalEmInclusao, 6.0));
}

const QString ColunasNacional = "SELECT TX_DESCRICAO_NACIONAL, QTD_NACIONAL,"
                                " VL_CUSTO_UNITARIO_NACIONAL, UNIDADE_NACIONAL, NCM_NACIONAL FROM"
                                " COMPONENTES_NACIONAIS";
const QString ColunasNF = "SELECT quote(NR_NF), quote(SERIE_NF), quote(CNPJ_NF),"
                          " quote(DATA_EMISSAO_NF), quote(NR_INS_ESTADUAL_NF) FROM NF";

TEST_F(Gravar, NacionalComSuaNota) {
    const int n = ConstrutorDeclaracao(banco);
    // CNPJ as the mask shows it, date without separators, no state registration.
    EXPECT_EQ(IncluiNacional(banco, n, {"0000000123", "U", "04.539.983/0001-90", "05012024", {}},
                             {Arriscado, 2.5, 40.125, "UN", "84733049", {}}),
              1);
    const int nf = nfNacional(n, 1);
    EXPECT_EQ(Valores(banco, ColunasNF + " WHERE NR_SEQ_NF = ?", {nf}),
              "'0000000123'|'U'|'04539983000190'|'05/01/2024'|NULL");
    EXPECT_EQ(Valores(banco, ColunasNacional), Arriscado + "|2.5|40.125|UN|84733049");

    // A change overwrites the invoice (empty fields too) and the component only where filled.
    AlteraNacional(banco, n, 1, {"0000000999", "A'%_", "11.222.333/0001-81", "29/02/2024", {}},
                   {"Depois", {}, 8.0, {}, {}, {}});
    EXPECT_EQ(nfNacional(n, 1), nf);
    EXPECT_EQ(Valores(banco, ColunasNF), "'0000000999'|'A''%_'|'11222333000181'|'29/02/2024'|''");
    EXPECT_EQ(Valores(banco, ColunasNacional), "Depois|2.5|8|UN|84733049");

    const QStringList antes = ConteudoBanco(banco);
    EXPECT_THROW(AlteraNacional(banco, n, 2, C::NFPadrao(), {}), ErroBanco);
    EXPECT_THROW(AtualizaNacional(banco, n + 1, 1, {}), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);

    // Every field empty: the columns' defaults.
    IncluiNacional(banco, n, {}, {});
    EXPECT_EQ(ConteudoTabela(banco, "NF").last(), "NF:2|NULL|NULL|NULL|NULL|NULL");
    EXPECT_EQ(ConteudoTabela(banco, "COMPONENTES_NACIONAIS").last(),
              QStringLiteral("COMPONENTES_NACIONAIS:%1|2|NULL|0.0|0.0|2|NULL|NULL|0").arg(n));
}

TEST_F(Gravar, NacionalSemNotaGanhaANotaDigitada) {
    const int n = ConstrutorDeclaracao(banco).nacional().nacional();
    // One without a link, one whose invoice row has gone.
    banco.executa(
        "UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_SQ_NACIONAL = 1");
    banco.executa("DELETE FROM NF");
    for (int sq : {1, 2}) {
        DadosNF nota = C::NFPadrao();
        nota.numero = QStringLiteral("000000000%1").arg(sq);
        AlteraNacional(banco, n, sq, nota, {});
        EXPECT_EQ(Valores(banco, ColunasNF + " WHERE NR_SEQ_NF = ?", {nfNacional(n, sq)}),
                  QStringLiteral("'000000000%1'|'1'|'04539983000190'|'15/03/2023'|''").arg(sq));
    }
    EXPECT_EQ(ContaLinhas(banco, "NF"), 2);
}

TEST_F(Gravar, SubcomponentesDoNacionalEmInclusao) {
    ConstrutorDeclaracao c(banco);
    c.nacional().subcomponente(1, "Do primeiro", 1, 1);
    const QStringList antes = ConteudoBanco(banco);
    c.subcomponente(NacionalEmInclusao, "Vai", 1, 1);
    c.subcomponenteNF(NacionalEmInclusao, C::ImportadoPadrao("Vai NF", 1, 1), C::NFPadrao());
    EXPECT_EQ(ContaLinhas(banco, "SUBCOMP", "N_NACIONAL_SUBCOMP = 0"), 2);
    ExcluiSubcomponentesPendentes(banco, c); // the inclusion was cancelled
    EXPECT_EQ(ConteudoBanco(banco), antes);

    c.subcomponente(NacionalEmInclusao, "Pendente A", 1, 1)
        .subcomponente(NacionalEmInclusao, "B", 1, 1);
    c.nacional(); // 2 adopts them
    EXPECT_EQ(Valores(banco, "SELECT N_NACIONAL_SUBCOMP || ':' || N_IMPORTADO_SUBCOMP || ':' ||"
                             " IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP ORDER BY 1"),
              "1:1:0;2:2:0;2:3:0");
}

// Statement A: national 1 (NF) with subcomponents 1 (DI) and 2 (NF); national
// 2 with subcomponent 3; imported component 4. Statement B the same, each
// imported number one higher, so a delete that strayed into B would show.
TEST_F(Gravar, ExcluirNacionalLevaSubcomponentesEDocumentosSoDele) {
    int a = 0, b = 0;
    for (int *n : {&a, &b}) {
        ConstrutorDeclaracao c(banco);
        if (n == &b)
            c.importadoNF("I0");
        c.geral().nacional("N1", 1, 100).nacional("N2", 1, 100).subcomponente(1, "S1", 1, 10);
        c.subcomponenteNF(1, C::ImportadoPadrao("S2", 1, 10), C::NFPadrao());
        c.subcomponente(2, "S3", 1, 10).importadoDI("I4");
        *n = c;
    }
    const QStringList deB = ConteudoBanco(banco).filter(
        QRegularExpression(QStringLiteral("^(COMPONENTES_\\w+|SUBCOMP|MODELOS):%1\\|").arg(b)));
    const int nfs = ContaLinhas(banco, "NF"), dis = ContaLinhas(banco, "DI");
    const QVariantList docs{nfNacional(a, 1), nfImportado(a, 2), diImportado(a, 1)};

    ExcluiNacional(banco, a, 1);

    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF IN (?, ?)", docs.mid(0, 2)), 0);
    EXPECT_EQ(ContaLinhas(banco, "DI", "NR_SQ_DI = ?", docs.mid(2)), 0);
    EXPECT_EQ(ContaLinhas(banco, "NF") + ContaLinhas(banco, "DI"), nfs + dis - 3);
    EXPECT_EQ(orfaos(), 0);
    EXPECT_EQ(Valores(banco,
                      "SELECT group_concat(NR_SQ_IMPORTADO) FROM COMPONENTES_IMPORTADOS"
                      " WHERE NR_VLM_IMPORTADO = ?",
                      {a}),
              "3,4");
    EXPECT_EQ(Valores(banco,
                      "SELECT group_concat(NR_SQ_NACIONAL) FROM COMPONENTES_NACIONAIS"
                      " WHERE NR_VLM_NACIONAL = ?",
                      {a}),
              "2");
    EXPECT_EQ(Valores(banco,
                      "SELECT N_NACIONAL_SUBCOMP || ':' || N_IMPORTADO_SUBCOMP FROM"
                      " SUBCOMP WHERE N_VLM_SUBCOMP = ?",
                      {a}),
              "2:3");
    EXPECT_EQ(ConteudoBanco(banco).filter(QRegularExpression(
                  QStringLiteral("^(COMPONENTES_\\w+|SUBCOMP|MODELOS):%1\\|").arg(b))),
              deB);
    const QStringList depois = ConteudoBanco(banco);
    ExcluiNacional(banco, a, 1); // again: nothing
    EXPECT_EQ(ConteudoBanco(banco), depois);
}

TEST_F(Gravar, ImportadoComSeuDocumento) {
    ConstrutorDeclaracao c(banco);
    c.nacional().nacional();
    const int n = c;
    const DadosImportado tela{Arriscado, 4.0, 2.5, 16.0, true, true, false, "KG", "85249000"};
    EXPECT_EQ(IncluiImportadoDI(banco, n, {"2301234567", "001", "01"}, tela), 1);
    EXPECT_EQ(importado("TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO,"
                        " ALIQUOTA_IMPORTADO, round(VALOR_II_IMPORTADO, 6), IN_COM_SUSP_IMPORTADO,"
                        " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO,"
                        " UNIDADE_IMPORTADO, NR_SEQ_NF_IMPORTADO",
                        n, 1),
              Arriscado + "|4|2.5|16|1.6|1|1|0|85249000|KG|0"); // II: 16 % of 4 x 2,5
    EXPECT_EQ(
        ConteudoTabela(banco, "DI"),
        QStringList{QStringLiteral("DI:%1|'2301234567'|'001'|'01'|NULL").arg(diImportado(n, 1))});
    EXPECT_EQ(ContaLinhas(banco, "SUBCOMP"), 0); // a component of the product

    // With an invoice: CNPJ with digits only, every number empty.
    DadosNF nota = C::NFPadrao();
    nota.cnpj = "04.539.983/0001-90";
    nota.inscricaoEstadual = "12.345.678-9";
    EXPECT_EQ(IncluiImportadoNF(banco, n, nota, {}), 2);
    EXPECT_EQ(Valores(banco, ColunasNF + " WHERE NR_SEQ_NF = ?", {nfImportado(n, 2)}),
              "'0000000001'|'1'|'04539983000190'|'15/03/2023'|'12.345.678-9'");
    EXPECT_EQ(importado("TX_DESCRICAO_IMPORTADO, VALOR_II_IMPORTADO, IN_DIRETO_IMPORTADO,"
                        " NR_SEQ_DI_IMPORTADO",
                        n, 2),
              "NULL|0|0|0");

    c.subcomponente(2, "S", 1, 1, 0, true).subcomponente(1, "T", 1, 1, 0, false);
    EXPECT_EQ(ConteudoTabela(banco, "SUBCOMP"),
              QStringList({QStringLiteral("SUBCOMP:%1|3|2|1").arg(n),
                           QStringLiteral("SUBCOMP:%1|4|1|0").arg(n)}));

    const QStringList antes = ConteudoBanco(banco);
    const DadosImportado d = C::ImportadoPadrao("X", 1, 1);
    EXPECT_THROW(AlteraImportadoDI(banco, n, 9, C::DIPadrao(), d), ErroBanco);
    EXPECT_THROW(AlteraImportadoNF(banco, n + 1, 1, C::NFPadrao(), d), ErroBanco);
    EXPECT_THROW(AtualizaImportado(banco, n, 9, d, Documento::DI, 1), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(Gravar, ImportadoTrocaDeDocumentoSemDeixarOrfaos) {
    ConstrutorDeclaracao c(banco);
    c.importadoDI("Vizinho com DI").importadoNF("Vizinho com NF").importadoDI("Troca");
    const int n = c;
    const QString vizinhoDI = ConteudoTabela(banco, "DI").first();
    const QStringList vizinhoNF = ConteudoTabela(banco, "NF");
    const int diAntigo = diImportado(n, 3);

    DadosImportado d = C::ImportadoPadrao("Troca", 1, 1);
    d.direto = false;
    DadosNF nota = C::NFPadrao();
    nota.numero = "0000000077";
    AlteraImportadoNF(banco, n, 3, nota, d);
    EXPECT_EQ(diImportado(n, 3), 0);
    EXPECT_EQ(ContaLinhas(banco, "DI", "NR_SQ_DI = ?", {diAntigo}), 0);
    EXPECT_EQ(Valores(banco, "SELECT NR_NF FROM NF WHERE NR_SEQ_NF = ?", {nfImportado(n, 3)}),
              "0000000077");
    EXPECT_EQ(importado("IN_DIRETO_IMPORTADO", n, 3), "0");
    const int nfAntiga = nfImportado(n, 3);

    d.direto = true;
    AlteraImportadoDI(banco, n, 3, {"2301234567", "002", "03"}, d);
    EXPECT_EQ(nfImportado(n, 3), 0);
    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = ?", {nfAntiga}), 0);
    const int di = diImportado(n, 3);
    // A change keeps the same row, overwritten (empty item included).
    AlteraImportadoDI(banco, n, 3, {"2301234567", "005", ""}, d);
    EXPECT_EQ(diImportado(n, 3), di);
    EXPECT_EQ(Valores(banco,
                      "SELECT quote(NR_ADICAO_DI) || quote(NR_ITEM_DI) FROM DI WHERE NR_SQ_DI = ?",
                      {di}),
              "'005'''");
    EXPECT_EQ(orfaos(), 0);
    EXPECT_EQ(ConteudoTabela(banco, "DI").first(), vizinhoDI);
    EXPECT_EQ(ConteudoTabela(banco, "NF"), vizinhoNF);

    // A document row that has gone is made again.
    banco.executa("DELETE FROM DI");
    AlteraImportadoDI(banco, n, 3, C::DIPadrao(), d);
    EXPECT_EQ(ContaLinhas(banco, "DI", "NR_SQ_DI = ?", {diImportado(n, 3)}), 1);
    banco.executa("DELETE FROM NF");
    AlteraImportadoNF(banco, n, 2, C::NFPadrao(), d);
    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = ?", {nfImportado(n, 2)}), 1);
}

TEST_F(Gravar, LigacaoZeroNaoApagaNada) {
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    // Rows under key 0 (not made by the program, but possible in a file):
    // "link 0" must never reach them.
    banco.executa("INSERT INTO NF (NR_SEQ_NF, NR_NF) VALUES (0, 'zero')");
    banco.executa("INSERT INTO DI (NR_SQ_DI, NR_DI_DI) VALUES (0, 'zero')");
    const DadosImportado d = C::ImportadoPadrao("X", 1, 1);
    AtualizaImportado(banco, c, 1, d, Documento::DI, diImportado(c, 1));
    const int nota = GravaNF(banco, C::NFPadrao());
    AtualizaImportado(banco, c, 1, d, Documento::NF, nota);
    banco.executa("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_NF_IMPORTADO = 0");
    banco.executa("DELETE FROM NF WHERE NR_SEQ_NF = ?", {nota});
    const int di = GravaDI(banco, C::DIPadrao());
    AtualizaImportado(banco, c, 1, d, Documento::DI, di);
    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = 0") + ContaLinhas(banco, "DI", "NR_SQ_DI = 0"),
              2);
    EXPECT_EQ(diImportado(c, 1), di);
}

TEST_F(Gravar, AtualizaImportadoSoEscreveOPreenchido) {
    ConstrutorDeclaracao c(banco);
    c.nacional().subcomponente(1, "Sub", 2, 5, 10, false);
    DadosImportado d;
    d.quantidade = 3.0;     // value and aliquot empty: kept, but II from the form's numbers
    d.comSuspensao = false; // the other two pairs: neither selected
    d.baseCalculo = true;
    AtualizaImportado(banco, c, 1, d, Documento::DI, diImportado(c, 1), 1);
    EXPECT_EQ(importado("quote(TX_DESCRICAO_IMPORTADO), QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO,"
                        " ALIQUOTA_IMPORTADO, VALOR_II_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
                        " IN_DIRETO_IMPORTADO, UNIDADE_IMPORTADO, NCM_IMPORTADO",
                        c, 1),
              "' '|3|5|10|0|0|1|UN|" + C::Ncm);
    EXPECT_EQ(Valores(banco, "SELECT IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP"), "1");
}

TEST_F(Gravar, ExcluirImportadoLevaSoOQueEraDele) {
    ConstrutorDeclaracao a(banco);
    a.nacional().subcomponente(1, "S1", 1, 1);
    a.subcomponenteNF(1, C::ImportadoPadrao("S2", 1, 1), C::NFPadrao());
    ConstrutorDeclaracao(banco).nacional().subcomponente(1, "S1", 1, 1);
    QStringList esperado = ConteudoBanco(banco);
    for (const QString &tira : {QStringLiteral("DI:%1|").arg(diImportado(a, 1)),
                                QStringLiteral("SUBCOMP:%1|1|1|").arg(a.numero()),
                                QStringLiteral("COMPONENTES_IMPORTADOS:%1|1|").arg(a.numero())})
        ASSERT_EQ(esperado.removeIf([&](const QString &l) { return l.startsWith(tira); }), 1);

    ExcluiImportado(banco, a, 1);
    EXPECT_EQ(ConteudoBanco(banco), esperado);
    ExcluiImportado(banco, a, 2); // with an NF
    EXPECT_EQ(orfaos(), 0);
    EXPECT_EQ(ContaLinhas(banco, "SUBCOMP"), 1);
}

// Each write fails half-way (a trigger on its last statement) and leaves the
// database as it was.
TEST_F(Gravar, FalhaNoMeioDesfazTudo) {
    const struct {
        const char *gatilho;
        std::function<void(Banco &, int)> operacao;
        const char *preparo = nullptr; // run before the snapshot
    } casos[] = {
        {"INSERT ON COMPONENTES_NACIONAIS",
         [](Banco &b, int n) {
             IncluiNacional(b, n, C::NFPadrao(), C::NacionalPadrao("N", 1, 1));
         }},
        {"DELETE ON COMPONENTES_NACIONAIS", [](Banco &b, int n) { ExcluiNacional(b, n, 1); }},
        {"INSERT ON COMPONENTES_IMPORTADOS",
         [](Banco &b, int n) {
             IncluiImportadoDI(b, n, C::DIPadrao(), C::ImportadoPadrao("X", 1, 1));
         }},
        {"INSERT ON COMPONENTES_IMPORTADOS",
         [](Banco &b, int n) {
             IncluiImportadoNF(b, n, C::NFPadrao(), C::ImportadoPadrao("X", 1, 1));
         }},
        {"INSERT ON SUBCOMP",
         [](Banco &b, int n) { ConstrutorDeclaracao(b, n).subcomponente(1, "S", 1, 1); }},
        {"INSERT ON SUBCOMP",
         [](Banco &b, int n) {
             GravaImportado(b, n, C::ImportadoPadrao("S", 1, 1), Documento::DI, 0, 1);
         }},
        {"UPDATE ON COMPONENTES_IMPORTADOS", // after the old DI went and the new NF came
         [](Banco &b, int n) {
             AlteraImportadoNF(b, n, 1, C::NFPadrao(), C::ImportadoPadrao("X", 1, 1));
         }},
        {"UPDATE ON COMPONENTES_IMPORTADOS",
         [](Banco &b, int n) {
             AtualizaImportado(b, n, 1, C::ImportadoPadrao("X", 1, 1), Documento::NF, 0);
         }},
        {"UPDATE ON COMPONENTES_NACIONAIS", // its invoice lost: a new one is made first
         [](Banco &b, int n) { AlteraNacional(b, n, 1, C::NFPadrao(), {}); },
         "UPDATE NF SET NR_SEQ_NF = 99 WHERE NR_SEQ_NF = 1"},
    };
    const int n =
        ConstrutorDeclaracao(banco).geral().nacional().importadoDI().subcomponente(1, "S", 1, 1);
    for (const auto &c : casos) {
        SCOPED_TRACE(c.gatilho);
        if (c.preparo)
            banco.executa(c.preparo);
        const QStringList antes = ConteudoBanco(banco);
        banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE %1 BEGIN"
                                     " SELECT RAISE(ABORT, 'falha injetada'); END")
                          .arg(c.gatilho));
        EXPECT_THROW(c.operacao(banco, n), ErroBanco);
        banco.executa("DROP TRIGGER falha");
        EXPECT_EQ(ConteudoBanco(banco), antes);
    }
}

TEST_F(Gravar, DentroDeUmaTransacaoMaior) {
    const int n = ConstrutorDeclaracao(banco);
    const auto inclui = [&](const char *d) {
        IncluiNacional(banco, n, C::NFPadrao(), C::NacionalPadrao(d, 1, 1));
    };
    {
        Transacao externa(banco);
        inclui("Fica");
        banco.executa("CREATE TEMP TRIGGER falha BEFORE INSERT ON COMPONENTES_NACIONAIS"
                      " BEGIN SELECT RAISE(ABORT, 'x'); END");
        EXPECT_THROW(inclui("Vai"), ErroBanco);
        banco.executa("DROP TRIGGER falha");
        externa.confirma();
    }
    {
        Transacao externa(banco); // rolled back with the inner, confirmed, writes
        inclui("Desfeito");
    }
    EXPECT_EQ(Valores(banco, "SELECT count(*) FROM NF"), "1");
    EXPECT_EQ(Valores(banco, "SELECT TX_DESCRICAO_NACIONAL FROM COMPONENTES_NACIONAIS"), "Fica");
}

} // namespace
