// The forms' saving operations (each column of a plain write: the import
// tests; a failure at each step: the disk failure tests); copy and delete of a
// whole statement: every row, new keys, nothing shared, all or nothing on
// cancel; delivery state and kind, the list, and what stored files rely on in
// the layout: counters never reused, text compared as the old engine did.

#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::store;
using namespace vlme::teste;
using C = ConstrutorDeclaracao;

namespace {

// Texts that break SQL pasted between quotes, or a LIKE, or a careless encoding.
const QString Arriscado = "D'Ávila \"Ação\" 100% a_b ç ü";
const QString ColunasNF = "SELECT quote(NR_NF), quote(SERIE_NF), quote(CNPJ_NF),"
                          " quote(DATA_EMISSAO_NF), quote(NR_INS_ESTADUAL_NF) FROM NF";

class Gravar : public teste::ComBanco {
  protected:
    QString importado(const QString &colunas, int n, int sq) {
        return Valores(banco,
                       "SELECT " + colunas +
                           " FROM COMPONENTES_IMPORTADOS"
                           " WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?",
                       {n, sq});
    }
    // The invoice or DI key (`chave`: NF_NACIONAL, DI_IMPORTADO…) of a component.
    int documento(const QString &chave, int n, int sq) {
        const QString tipo = chave.section('_', 1);
        return Valores(banco,
                       QStringLiteral("SELECT NR_SEQ_%1 FROM COMPONENTES_%2 WHERE NR_VLM_%3 = ?"
                                      " AND NR_SQ_%3 = ?")
                           .arg(chave, tipo == "NACIONAL" ? "NACIONAIS" : "IMPORTADOS", tipo),
                       {n, sq})
            .toInt();
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

TEST_F(Gravar, DadosGeraisVaziosEArriscadosSemTocarNaEntrega) {
    ConstrutorDeclaracao(banco).geral(); // another, untouched
    const int n = ConstrutorDeclaracao(banco);
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '2001',"
                  " TIPO_COEFICIENTE_VLM = 1, RETIFICADOR_VLM = 1 WHERE NR_VLM_VLM = ?",
                  {n});
    // Empty numbers become 0, not NULL; a pair with neither option keeps the column.
    DadosGerais d = C::GeraisPadrao();
    d.denProduto = Arriscado;
    d.pesoBruto = d.salarios = d.encargos = std::nullopt;
    d.coeficiente.reset();
    d.retificador.reset();
    d.substitutivo = true;
    GravaVLME(banco, n, d);
    EXPECT_EQ(Valores(banco,
                      "SELECT DEN_PRODUTO_VLM, quote(PESO_BRUTO_VLM), quote(VL_SALARIOS_VLM),"
                      " quote(VL_ENCARGOS_VLM), TIPO_COEFICIENTE_VLM, RETIFICADOR_VLM,"
                      " SUBSTITUTIVO_VLM, CODIGO_VLM, NR_TRANSMISSAO_VLM FROM VLME ORDER BY 1"),
              Arriscado + "|0.0|0.0|0.0|1|1|1|2001|-1;Telefone celular|0.15|0.0|0.0|0|0|0||0");

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
    c.nacional().nacional().nacional().importadoDI().importadoNF().importadoDI();
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
}

TEST(LeituraNF, CnpjEDataNasFormasGravadas) {
    EXPECT_EQ(CnpjSemMascara("  .   .   /    -  "), "");
    // The separators and blanks go, lower case is raised; a letter outside
    // A-Z is no character of the register, whatever its upper case would be.
    EXPECT_EQ(CnpjSemMascara("04.539.983/0001-90") + "|" + CnpjSemMascara(" 12.abc.345/01dE-35 ") +
                  "|" + CnpjSemMascara(QStringLiteral("1\u00E72\u0131\u017F3")),
              "04539983000190|12ABC34501DE35|123");
    for (const QStringList &c : vlme::teste::Casos("datas_nf.tsv"))
        EXPECT_EQ(LeDataNF(c[0]).toString(Qt::ISODate), c.value(1)) << c[0];
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

    // Fails: the subcomponents' total is above the national unit cost.
    for (const QStringList &k : vlme::teste::Casos("custo_subcomponentes.tsv"))
        EXPECT_EQ(VerificaCustoSubcomponentes(banco, n, k[0].toInt(), k[1].toDouble(),
                                              k[2].toDouble(), k[3].toDouble(), k[4].toInt()),
                  k[5] == "1")
            << k.join(' ');
    for (const auto &[custo, falha] : {std::pair{8.0, false}, {7.99, true}})
        EXPECT_EQ(VerificaCustoNacional(banco, n, 1, custo), falha) << custo;
    EXPECT_FALSE(VerificaCustoNacional(banco, n, 3, 0.01));

    // 0,1 + 0,2 is 0,30000000000000004 as doubles: equal on paper, so it passes.
    c.nacional("N3", 1, 0.3).subcomponente(c.ultimoNacional(), "E", 1, 0.1);
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, c.ultimoNacional(), 0.3, 1, 0.2));
    c.subcomponente(c.ultimoNacional(), "F", 1, 0.2);
    EXPECT_FALSE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.3));
    EXPECT_TRUE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.299999));

    // Subcomponents of the component being included.
    c.subcomponente(NacionalEmInclusao, "P", 1, 6);
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 4));
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 4.01));
    EXPECT_TRUE(VerificaCustoNacional(banco, n, NacionalEmInclusao, 5.99));
}

TEST_F(Gravar, NacionalComSuaNota) {
    const int n = ConstrutorDeclaracao(banco);
    // Date without separators, no state registration.
    IncluiNacional(banco, n, {"0000000123", "U", "04.539.983/0001-90", "05012024", {}},
                   {Arriscado, 2.5, 40.125, "UN", "84733049", {}});
    const int nf = documento("NF_NACIONAL", n, 1);
    EXPECT_EQ(Valores(banco, ColunasNF), "'0000000123'|'U'|'04539983000190'|'05/01/2024'|NULL");

    // A change overwrites the invoice (empty fields too) and the component only where filled.
    AlteraNacional(banco, n, 1, {"0000000999", "A'%_", "11.222.333/0001-81", "29/02/2024", {}},
                   {"Depois", {}, 8.0, {}, {}, {}});
    EXPECT_EQ(documento("NF_NACIONAL", n, 1), nf);
    EXPECT_EQ(Valores(banco, ColunasNF), "'0000000999'|'A''%_'|'11222333000181'|'29/02/2024'|''");
    EXPECT_EQ(Valores(banco,
                      "SELECT TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
                      " UNIDADE_NACIONAL, NCM_NACIONAL FROM COMPONENTES_NACIONAIS"),
              "Depois|2.5|8|UN|84733049");

    const QStringList antes = ConteudoBanco(banco);
    EXPECT_THROW(AlteraNacional(banco, n, 2, C::NFPadrao(), {}), ErroBanco);
    EXPECT_THROW(AtualizaNacional(banco, n + 1, 1, {}), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);

    // Every field empty: the columns' defaults.
    IncluiNacional(banco, n, {}, {});
    EXPECT_EQ(ConteudoTabela(banco, "NF").last(), "NF:2|NULL|NULL|NULL|NULL|NULL");
    EXPECT_EQ(ConteudoTabela(banco, "COMPONENTES_NACIONAIS").last(),
              QStringLiteral("COMPONENTES_NACIONAIS:%1|2|NULL|0.0|0.0|2|NULL|NULL|0").arg(n));

    // One without a link, one whose invoice row has gone: the change makes one.
    banco.executa(
        "UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_SQ_NACIONAL = 1");
    banco.executa("DELETE FROM NF");
    for (int sq : {1, 2}) {
        AlteraNacional(banco, n, sq, C::NFPadrao(), {});
        EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = ?", {documento("NF_NACIONAL", n, sq)}), 1);
    }
    EXPECT_EQ(ContaLinhas(banco, "NF"), 2);
}

TEST_F(Gravar, SubcomponentesDoNacionalEmInclusao) {
    ConstrutorDeclaracao c(banco);
    c.nacional().subcomponente(1, "Do primeiro", 1, 1);
    const QStringList antes = ConteudoBanco(banco);
    c.subcomponente(NacionalEmInclusao, "Vai", 1, 1);
    c.subcomponenteNF(NacionalEmInclusao, C::ImportadoPadrao("Vai NF", 1, 1), C::NFPadrao());
    ExcluiSubcomponentesPendentes(banco, c); // the inclusion was cancelled
    EXPECT_EQ(ConteudoBanco(banco), antes);

    c.subcomponente(NacionalEmInclusao, "A", 1, 1).subcomponente(NacionalEmInclusao, "B", 1, 1);
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
    const auto deB = [&] {
        return ConteudoBanco(banco).filter(
            QRegularExpression(QStringLiteral("^(COMPONENTES_\\w+|SUBCOMP|MODELOS):%1\\|").arg(b)));
    };
    const QStringList antesB = deB();
    const int documentos = ContaLinhas(banco, "NF") + ContaLinhas(banco, "DI");

    ExcluiNacional(banco, a, 1);
    EXPECT_EQ(ContaLinhas(banco, "NF") + ContaLinhas(banco, "DI"), documentos - 3);
    EXPECT_EQ(orfaos(), 0);
    EXPECT_EQ(Valores(banco,
                      "SELECT 'I' || NR_SQ_IMPORTADO FROM COMPONENTES_IMPORTADOS WHERE"
                      " NR_VLM_IMPORTADO = ? UNION ALL SELECT 'N' || NR_SQ_NACIONAL FROM"
                      " COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ? UNION ALL SELECT"
                      " N_NACIONAL_SUBCOMP || ':' || N_IMPORTADO_SUBCOMP FROM SUBCOMP WHERE"
                      " N_VLM_SUBCOMP = ?",
                      {a, a, a}),
              "I3;I4;N2;2:3");
    EXPECT_EQ(deB(), antesB);
    const QStringList depois = ConteudoBanco(banco);
    ExcluiNacional(banco, a, 1); // again: nothing
    EXPECT_EQ(ConteudoBanco(banco), depois);
}

TEST_F(Gravar, ImportadoComSeuDocumento) {
    const int n = ConstrutorDeclaracao(banco).nacional().nacional();
    const DadosImportado tela{Arriscado, 4.0, 2.5, 16.0, true, true, false, "KG", "85249000"};
    EXPECT_EQ(IncluiImportadoDI(banco, n, {"2301234567", "001", "01"}, tela), 1);
    EXPECT_EQ(importado("TX_DESCRICAO_IMPORTADO, round(VALOR_II_IMPORTADO, 6)", n, 1),
              Arriscado + "|1.6");               // II: 16 % of 4 x 2,5
    EXPECT_EQ(ContaLinhas(banco, "SUBCOMP"), 0); // a component of the product

    // With an invoice, every number empty.
    EXPECT_EQ(IncluiImportadoNF(banco, n, C::NFPadrao(), {}), 2);
    EXPECT_EQ(importado("TX_DESCRICAO_IMPORTADO, VALOR_II_IMPORTADO, IN_DIRETO_IMPORTADO,"
                        " NR_SEQ_DI_IMPORTADO",
                        n, 2),
              "NULL|0|0|0");

    // An update writes only what is filled: value and aliquot empty are kept,
    // but II comes from the form's numbers; pairs with neither option kept.
    // A DI row keeps no unit: the import refuses one in a DI record.
    ConstrutorDeclaracao(banco, n).subcomponente(1, "Sub", 2, 5, 10, false);
    DadosImportado d;
    d.quantidade = 3.0;
    d.comSuspensao = false;
    d.baseCalculo = true;
    AtualizaImportado(banco, n, 3, d, Documento::DI, documento("DI_IMPORTADO", n, 3), 1);
    EXPECT_EQ(importado("quote(TX_DESCRICAO_IMPORTADO), QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO,"
                        " ALIQUOTA_IMPORTADO, VALOR_II_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
                        " IN_DIRETO_IMPORTADO, UNIDADE_IMPORTADO, NCM_IMPORTADO",
                        n, 3),
              "' '|3|5|10|0|0|1|NULL|" + C::Ncm);
    EXPECT_EQ(Valores(banco, "SELECT IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP"), "1");

    const QStringList antes = ConteudoBanco(banco);
    d = C::ImportadoPadrao("X", 1, 1);
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

    const DadosImportado d = C::ImportadoPadrao("Troca", 1, 1);
    DadosNF nota = C::NFPadrao();
    nota.numero = "0000000077";
    AlteraImportadoNF(banco, n, 3, nota, d);
    EXPECT_EQ(documento("DI_IMPORTADO", n, 3), 0);
    EXPECT_EQ(Valores(banco, "SELECT NR_NF FROM NF WHERE NR_SEQ_NF = ?",
                      {documento("NF_IMPORTADO", n, 3)}),
              "0000000077");
    EXPECT_EQ(orfaos(), 0);

    AlteraImportadoDI(banco, n, 3, {"2301234567", "002", "03"}, d);
    EXPECT_EQ(documento("NF_IMPORTADO", n, 3), 0);
    const int di = documento("DI_IMPORTADO", n, 3);
    // A change keeps the same row, overwritten (empty item included).
    AlteraImportadoDI(banco, n, 3, {"2301234567", "005", ""}, d);
    EXPECT_EQ(documento("DI_IMPORTADO", n, 3), di);
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
    EXPECT_EQ(ContaLinhas(banco, "DI", "NR_SQ_DI = ?", {documento("DI_IMPORTADO", n, 3)}), 1);
    banco.executa("DELETE FROM NF");
    AlteraImportadoNF(banco, n, 2, C::NFPadrao(), d);
    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = ?", {documento("NF_IMPORTADO", n, 2)}), 1);
}

TEST_F(Gravar, LigacaoZeroNaoApagaNada) {
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    // Rows under key 0 (not made by the program, but possible in a file):
    // "link 0" must never reach them.
    banco.executa("INSERT INTO NF (NR_SEQ_NF, NR_NF) VALUES (0, 'zero')");
    banco.executa("INSERT INTO DI (NR_SQ_DI, NR_DI_DI) VALUES (0, 'zero')");
    const DadosImportado d = C::ImportadoPadrao("X", 1, 1);
    AtualizaImportado(banco, c, 1, d, Documento::DI, documento("DI_IMPORTADO", c, 1));
    const int nota = GravaNF(banco, C::NFPadrao());
    AtualizaImportado(banco, c, 1, d, Documento::NF, nota);
    banco.executa("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_NF_IMPORTADO = 0");
    banco.executa("DELETE FROM NF WHERE NR_SEQ_NF = ?", {nota});
    const int di = GravaDI(banco, C::DIPadrao());
    AtualizaImportado(banco, c, 1, d, Documento::DI, di);
    EXPECT_EQ(ContaLinhas(banco, "NF", "NR_SEQ_NF = 0") + ContaLinhas(banco, "DI", "NR_SQ_DI = 0"),
              2);
    EXPECT_EQ(documento("DI_IMPORTADO", c, 1), di);
}

// A failed write inside a larger transaction undoes only itself.
TEST_F(Gravar, DentroDeUmaTransacaoMaior) {
    const int n = ConstrutorDeclaracao(banco);
    Transacao externa(banco);
    IncluiNacional(banco, n, C::NFPadrao(), C::NacionalPadrao("Fica", 1, 1));
    banco.simulaFalhaDisco(3); // after the second one's NF row
    EXPECT_THROW(IncluiNacional(banco, n, C::NFPadrao(), C::NacionalPadrao("Vai", 1, 1)),
                 ErroBanco);
    externa.confirma();
    EXPECT_EQ(Valores(banco, "SELECT count(*) FROM NF"), "1");
    EXPECT_EQ(Valores(banco, "SELECT TX_DESCRICAO_NACIONAL FROM COMPONENTES_NACIONAIS"), "Fica");
}

// The rows of statement `n` without their keys.
QString Retrato(Banco &banco, int n) {
    return teste::ValoresDoArquivo(banco, "store/retrato_declaracao.sql", n).join(';');
}

class CopiaExclusao : public Gravar {
  protected:
    teste::UsuarioRoteirizado usuario;
    teste::ProgressoRoteirizado progresso;

    // A registered statement with rows in every table: subcomponents by DI and
    // by invoice (in the base), a receipt, a diagnostic and a print row.
    int completa(const QString &produto = "Telefone celular") {
        ConstrutorDeclaracao c(banco);
        c.geral([&](DadosGerais &d) {
            d.denProduto = produto;
            d.substitutivo = true;
            d.vlmAnterior = "2001001231";
            d.nrProcesso = "12345678901234567";
            d.salarios = 1500.25;
            d.coeficiente = Coeficiente::Variavel;
        });
        c.modelo("Modelo A", 999.9).modelo("Modelo B", 1200.0).nacional("Placa", 2, 50.0);
        c.nacional("Bateria", 1, 80.0).importadoDI("Tela", 1, 30, 16).importadoNF("Antena", 3, 1.5);
        DadosImportado sub = ConstrutorDeclaracao::ImportadoPadrao("Conector", 2, 3.0);
        sub.baseCalculo = true;
        DadosNF nf = ConstrutorDeclaracao::NFPadrao();
        nf.inscricaoEstadual = "04.123.456-7";
        c.subcomponente(1, "Chip", 4, 2.5).subcomponenteNF(2, sub, nf);
        for (const QStringList &sql : teste::Casos("registrada.sql"))
            banco.executa(sql[0], {c.numero()});
        return c;
    }
    QStringList tudo() {
        QStringList t = teste::ConteudoBanco(banco);
        for (const char *tabela : {"RECIBO", "ERRO", "IMPRESSAO"})
            t += teste::ConteudoTabela(banco, tabela);
        return t;
    }
    QString vlme(const QString &colunas, int n) {
        return Valores(banco, "SELECT " + colunas + " FROM VLME WHERE NR_VLM_VLM = ?", {n});
    }
};

TEST_F(CopiaExclusao, CopiaTemTodasAsLinhasComChavesNovasENadaCompartilhado) {
    const int origem = completa();
    const QString retrato = Retrato(banco, origem);
    const QStringList antes = tudo();
    ASSERT_EQ(retrato.count(';'), 9);

    const int copia = CopiaVLM(banco, origem, progresso, usuario);
    ASSERT_GT(copia, origem);
    EXPECT_TRUE(usuario.mensagens.empty());
    // A unit for each of 4 imported, 2 national, 2 links and 2 models; may be cancelled.
    EXPECT_EQ(std::tuple(progresso.unidades, progresso.minimo, progresso.maximo,
                         progresso.valores.back(), progresso.aberturas, progresso.fechamentos),
              std::tuple(10, 0, 10, 10, 1, 1));
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{true});
    EXPECT_EQ(Retrato(banco, copia), retrato);
    // The import sequence is the row's own sequence in the copy.
    EXPECT_EQ(ContaLinhas(banco, "COMPONENTES_NACIONAIS",
                          "NR_VLM_NACIONAL = ? AND NR_SQ_IMPORTACAO = NR_SQ_NACIONAL", {copia}) +
                  ContaLinhas(banco, "COMPONENTES_IMPORTADOS",
                              "NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTACAO = NR_SQ_IMPORTADO",
                              {copia}),
              6);

    // The general data go along, the delivery state does not.
    EXPECT_EQ(vlme("DEN_PRODUTO_VLM, CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM,"
                   " PERC_REDUCAO_VLM, SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM,"
                   " NR_PROCESSO_VLM, NCM_VLM, PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM,"
                   " UNIDADE_VLM, NR_ARQUIVO_VLM, NR_TRANSMISSAO_VLM, quote(CODIGO_VLM),"
                   " DT_REGISTRO_VLM, RAZAO_SOCIAL_VLM",
                   copia),
              "Cópia de Telefone celular|11222333000181|52998224725|PPB de telefones celulares|1|"
              "12.5|1|0|2001001231|12345678901234567|85171231|0.15|1500.25|0|UN|42|0|''|NULL|NULL");
    EXPECT_EQ(ContaLinhas(banco, "RECIBO", "NR_VLM_RECIBO = ?", {copia}) +
                  ContaLinhas(banco, "ERRO", "NR_VLM_ERRO = ?", {copia}),
              0);

    // Changing or deleting the copy leaves the original as it was.
    banco.executa("UPDATE NF SET NR_NF = 'X' WHERE NR_SEQ_NF > 4");
    banco.executa("UPDATE DI SET NR_DI_DI = 'X' WHERE NR_SQ_DI > 2");
    ExcluiNacional(banco, copia, 1);
    EXPECT_EQ(Retrato(banco, origem), retrato);
    ExcluiVLM(banco, copia, true, nullptr);
    EXPECT_EQ(tudo(), antes);
}

TEST_F(CopiaExclusao, NomeDoProdutoDaCopiaNuncaPassaDe80Caracteres) {
    const QString bloco = "Çabcdefghi"; // 10 characters
    const QString cheio = "Cópia de " + bloco.repeated(7) + "Ç";
    for (const auto &[nome, esperado] : {std::pair{bloco.repeated(8), cheio},
                                         {bloco.repeated(7) + "Ç", cheio},
                                         {QString(), QString("Cópia de ")}}) {
        const int origem = CriaVLM(banco);
        banco.executa("UPDATE VLME SET DEN_PRODUTO_VLM = ? WHERE NR_VLM_VLM = ?", {nome, origem});
        EXPECT_EQ(vlme("DEN_PRODUTO_VLM", CopiaVLM(banco, origem, progresso, usuario)), esperado);
    }
}

TEST_F(CopiaExclusao, CopiaDeDIDeixaADescricaoDoServidorENadaSemLigacao) {
    const int di = GravaDI(banco, {"2301234567", "002", "03"});
    banco.executa("UPDATE DI SET DESCRICAO_DI = 'do servidor' WHERE NR_SQ_DI = ?", {di});
    EXPECT_EQ(CopiaDI(banco, di), di + 1);
    EXPECT_EQ(teste::ConteudoTabela(banco, "DI").last(), "DI:2|'2301234567'|'002'|'03'|NULL");
    // A link to a row that is gone: no document (no link: the whole copy).
    EXPECT_EQ(CopiaNF(banco, 999) + CopiaDI(banco, 999), 0);
    EXPECT_EQ(ContaLinhas(banco, "NF") + ContaLinhas(banco, "DI"), 2);
}

TEST_F(CopiaExclusao, CopiaDeLigacaoSemDocumentoFicaSemENulosFicamNulos) {
    const int origem = completa();
    // The first national component's invoice is gone and its unit is NULL.
    banco.executa("DELETE FROM NF WHERE NR_SEQ_NF = (SELECT NR_SEQ_NF_NACIONAL"
                  " FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = 1)",
                  {origem});
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET UNIDADE_NACIONAL = NULL"
                  " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = 1",
                  {origem});
    banco.executa("UPDATE DI SET DESCRICAO_DI = 'do servidor'");
    const int notas = ContaLinhas(banco, "NF");
    const int copia = CopiaVLM(banco, origem, progresso, usuario);
    EXPECT_EQ(Valores(banco,
                      "SELECT NR_SQ_NACIONAL, NR_SEQ_NF_NACIONAL, UNIDADE_NACIONAL"
                      " FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?"
                      " ORDER BY NR_SQ_NACIONAL",
                      {copia})
                  .section(';', 0, 0),
              "1|0|NULL");
    // Every other document copied into a row of its own; a DI's description
    // left to its default.
    EXPECT_EQ(ContaLinhas(banco, "NF"), 2 * notas);
    EXPECT_EQ(Valores(banco,
                      "SELECT DESCRICAO_DI FROM DI WHERE NR_SQ_DI IN (SELECT NR_SEQ_DI_IMPORTADO"
                      " FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?)",
                      {copia}),
              "NULL;NULL");
    EXPECT_EQ(Retrato(banco, copia), Retrato(banco, origem));
    // The new invoices numbered in the components' order, imported ones first.
    const QStringList notasDaCopia =
        Valores(banco,
                "SELECT NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
                " AND NR_SEQ_NF_IMPORTADO <> 0 ORDER BY NR_SQ_IMPORTADO",
                {copia})
            .split(';') +
        Valores(banco,
                "SELECT NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?"
                " AND NR_SEQ_NF_NACIONAL <> 0 ORDER BY NR_SQ_NACIONAL",
                {copia})
            .split(';');
    ASSERT_EQ(notasDaCopia.size(), 3);
    EXPECT_LT(notasDaCopia[0].toInt(), notasDaCopia[1].toInt());
    EXPECT_LT(notasDaCopia[1].toInt(), notasDaCopia[2].toInt());
}

TEST_F(CopiaExclusao, CancelamentoNoMeioDaCopiaDeixaOBancoComoEstava) {
    const int origem = completa();
    const QStringList antes = tudo();
    progresso.cancelaNa = 6; // among the national components
    EXPECT_EQ(CopiaVLM(banco, origem, progresso, usuario), 0);
    EXPECT_EQ(tudo(), antes);
    EXPECT_EQ(usuario.resumos(),
              QStringList{"!|Operação cancelada|Operação cancelada pelo usuário."});
    EXPECT_EQ(std::pair(progresso.unidades, progresso.fechamentos), std::pair(6, 1));
    teste::ProgressoRoteirizado outro;
    EXPECT_THROW(CopiaVLM(banco, origem + 1, outro, usuario), ErroDeclaracaoInexistente);
    EXPECT_EQ(tudo(), antes);
    // Nothing is left half open: the next copy goes through.
    const int copia = CopiaVLM(banco, origem, outro, usuario);
    EXPECT_EQ(Retrato(banco, copia), Retrato(banco, origem));
}

TEST_F(CopiaExclusao, ExcluirRemoveTodasAsLinhasDaDeclaracaoENadaDeOutra) {
    const int vazia = CriaVLM(banco);
    completa("Outro produto");
    const QStringList soAOutra = tudo();

    ExcluiVLM(banco, completa(), false, &progresso);
    EXPECT_EQ(tudo(), soAOutra);
    EXPECT_EQ(progresso.passos,
              QStringList({"Preparando para excluir", "Excluindo VLM-E", "Finalizando exclusão"}));
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{false});
    EXPECT_EQ(progresso.aberturas + progresso.fechamentos, 2);

    teste::ProgressoRoteirizado silencioso;
    ExcluiVLM(banco, vazia, true, &silencioso);
    EXPECT_EQ(silencioso.aberturas + silencioso.unidades + silencioso.valores.size(), 0);
    EXPECT_EQ(tudo(), soAOutra.filter(QRegularExpression("^(?!VLME:1\\|)")));
}

} // namespace

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
TEST_F(Gravar, ContadoresNaoVoltam) {
    for (const QString tabela : {"NF", "VLME"}) {
        for (int i = 0; i < 2; ++i)
            banco.executa("INSERT INTO " + tabela + " DEFAULT VALUES");
        banco.executa("DELETE FROM " + tabela + " WHERE rowid = 2");
        banco.executa("INSERT INTO " + tabela + " DEFAULT VALUES");
        EXPECT_EQ(Valores(banco, "SELECT group_concat(rowid) FROM " + tabela), "1,3");
    }
}

TEST_F(Gravar, ModeloCadastradoSemDistinguirMaiusculasNemAcentuadas) {
    store::IncluiModelo(banco, 1, {"TELEVISÃO ÉPICA", 1.0, {}});
    for (const QStringList &c : teste::Casos("modelo_cadastrado.tsv"))
        EXPECT_EQ(store::ModeloCadastrado(banco, c[1].toInt(), c[0], c[2].toInt()), c[3] == "1")
            << c.join(' ');
}
