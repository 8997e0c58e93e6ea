// Imported components and subcomponents: their DI or NF row, the link switch,
// the SUBCOMP row, deletes and all-or-nothing writes.

#include "store/Banco.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace vlme::store;
using vlme::teste::BancoTeste;
using vlme::teste::ConstrutorDeclaracao;
using vlme::teste::ConteudoBanco;
using vlme::teste::ConteudoTabela;
using vlme::teste::ContaLinhas;

namespace {

struct Ligacoes {
    int di = 0;
    int nf = 0;
};

class GravarImportado : public ::testing::Test {
protected:
    BancoTeste bt;
    Banco &banco = bt.banco();

    Ligacoes ligacoes(int nrVlm, int nrSq)
    {
        QSqlQuery q = banco.executa(QStringLiteral("SELECT NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO"
                                                   " FROM COMPONENTES_IMPORTADOS"
                                                   " WHERE NR_VLM_IMPORTADO = ? AND"
                                                   " NR_SQ_IMPORTADO = ?"),
                                    {nrVlm, nrSq});
        if (!q.next()) {
            ADD_FAILURE() << "linha " << nrSq << " não existe";
            return {};
        }
        return {q.value(0).toInt(), q.value(1).toInt()};
    }

    QVariant campo(const QString &coluna, int nrVlm, int nrSq)
    {
        return banco.escalar(QStringLiteral("SELECT %1 FROM COMPONENTES_IMPORTADOS"
                                            " WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?")
                                 .arg(coluna),
                             {nrVlm, nrSq});
    }

    // NF and DI rows no component points to.
    int orfaos()
    {
        return ContaLinhas(banco, QStringLiteral("NF"),
                           QStringLiteral("NR_SEQ_NF NOT IN (SELECT NR_SEQ_NF_NACIONAL FROM"
                                          " COMPONENTES_NACIONAIS) AND NR_SEQ_NF NOT IN (SELECT"
                                          " NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS)")) +
               ContaLinhas(banco, QStringLiteral("DI"),
                           QStringLiteral("NR_SQ_DI NOT IN (SELECT NR_SEQ_DI_IMPORTADO FROM"
                                          " COMPONENTES_IMPORTADOS)"));
    }
};

TEST_F(GravarImportado, IncluiComDIGravaOsCamposEOValorDoII)
{
    const int n = ConstrutorDeclaracao(banco);
    DadosImportado d;
    d.descricao = QStringLiteral("Tela");
    d.quantidade = 4.0;
    d.valorUnitario = 2.5;
    d.aliquota = 16.0;
    d.comSuspensao = true;
    d.direto = true;
    d.reducaoII = false;
    d.unidade = QStringLiteral("KG");
    d.ncm = QStringLiteral("85249000");
    const int sq = IncluiImportadoDI(banco, n, {QStringLiteral("2301234567"), QStringLiteral("001"),
                                                QStringLiteral("01")},
                                     d);
    EXPECT_EQ(sq, 1);
    const Ligacoes l = ligacoes(n, sq);
    EXPECT_GT(l.di, 0);
    EXPECT_EQ(l.nf, 0);
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("DI")),
              QStringList{QStringLiteral("DI:%1|'2301234567'|'001'|'01'|NULL").arg(l.di)});
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO,"
        " ALIQUOTA_IMPORTADO, VALOR_II_IMPORTADO, IN_COM_SUSP_IMPORTADO, IN_DIRETO_IMPORTADO,"
        " IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO FROM COMPONENTES_IMPORTADOS"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Tela"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 16.0);
    EXPECT_DOUBLE_EQ(q.value(4).toDouble(), 1.6); // 16 % of 4 x 2,5
    EXPECT_EQ(q.value(5).toInt(), 1);
    EXPECT_EQ(q.value(6).toInt(), 1);
    EXPECT_EQ(q.value(7).toInt(), 0);
    EXPECT_EQ(q.value(8).toString(), QStringLiteral("85249000"));
    EXPECT_EQ(q.value(9).toString(), QStringLiteral("KG"));
    // A component of the product has no SUBCOMP row.
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP")), 0);
}

TEST_F(GravarImportado, IncluiComNFGuardaOCnpjSoComDigitos)
{
    const int n = ConstrutorDeclaracao(banco);
    DadosNF nota = ConstrutorDeclaracao::NFPadrao();
    nota.cnpj = QStringLiteral("04.539.983/0001-90");
    nota.inscricaoEstadual = QStringLiteral("12.345.678-9");
    DadosImportado d; // every number empty: II 0, the columns' defaults
    const int sq = IncluiImportadoNF(banco, n, nota, d);
    const Ligacoes l = ligacoes(n, sq);
    EXPECT_EQ(l.di, 0);
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("NF")),
              QStringList{QStringLiteral("NF:%1|'0000000001'|'1'|'04539983000190'|'15/03/2023'|"
                                         "'12.345.678-9'")
                              .arg(l.nf)});
    EXPECT_TRUE(campo(QStringLiteral("TX_DESCRICAO_IMPORTADO"), n, sq).isNull());
    EXPECT_EQ(campo(QStringLiteral("VALOR_II_IMPORTADO"), n, sq).toDouble(), 0.0);
    EXPECT_EQ(campo(QStringLiteral("IN_DIRETO_IMPORTADO"), n, sq).toInt(), 0);
}

TEST_F(GravarImportado, SubcomponenteGanhaSuaLigacao)
{
    ConstrutorDeclaracao c(banco);
    c.nacional().nacional();
    c.subcomponente(2, QStringLiteral("S"), 1, 1, 0, true);
    c.subcomponente(1, QStringLiteral("T"), 1, 1, 0, false);
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("SUBCOMP")),
              (QStringList{QStringLiteral("SUBCOMP:%1|1|2|1").arg(c.numero()),
                           QStringLiteral("SUBCOMP:%1|2|1|0").arg(c.numero())}));
}

TEST_F(GravarImportado, TrocaDeDIParaNFEVoltaSemDeixarOrfaos)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI(QStringLiteral("Vizinho com DI")).importadoNF(QStringLiteral("Vizinho com NF"));
    c.importadoDI(QStringLiteral("Troca"));
    const int n = c;
    const int sq = c.ultimoImportado();
    const QStringList vizinhosDI = ConteudoTabela(banco, QStringLiteral("DI")).mid(0, 1);
    const QStringList vizinhosNF = ConteudoTabela(banco, QStringLiteral("NF"));
    const Ligacoes inicio = ligacoes(n, sq);

    DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Troca"), 1, 1);
    d.direto = false;
    DadosNF nota = ConstrutorDeclaracao::NFPadrao();
    nota.numero = QStringLiteral("0000000077");
    AlteraImportadoNF(banco, n, sq, nota, d);
    const Ligacoes comNF = ligacoes(n, sq);
    EXPECT_EQ(comNF.di, 0);
    EXPECT_GT(comNF.nf, 0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI"), QStringLiteral("NR_SQ_DI = ?"), {inicio.di}),
              0);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT NR_NF FROM NF WHERE NR_SEQ_NF = ?"), {comNF.nf})
                  .toString(),
              QStringLiteral("0000000077"));
    EXPECT_EQ(campo(QStringLiteral("IN_DIRETO_IMPORTADO"), n, sq).toInt(), 0);
    EXPECT_EQ(orfaos(), 0);

    d.direto = true;
    AlteraImportadoDI(banco, n, sq, {QStringLiteral("2301234567"), QStringLiteral("002"),
                                     QStringLiteral("03")},
                      d);
    const Ligacoes comDI = ligacoes(n, sq);
    EXPECT_GT(comDI.di, 0);
    EXPECT_EQ(comDI.nf, 0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"), QStringLiteral("NR_SEQ_NF = ?"), {comNF.nf}),
              0);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT NR_ADICAO_DI || '/' || NR_ITEM_DI FROM DI"
                                           " WHERE NR_SQ_DI = ?"),
                            {comDI.di})
                  .toString(),
              QStringLiteral("002/03"));
    EXPECT_EQ(orfaos(), 0);
    // The neighbours' documents were never touched.
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("DI")).mid(0, 1), vizinhosDI);
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("NF")), vizinhosNF);
}

TEST_F(GravarImportado, AlterarMantemAMesmaLinhaDoDocumento)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    const Ligacoes antes = ligacoes(c, 1);
    DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Mudou"), 2, 3);
    AlteraImportadoDI(banco, c, 1, {QStringLiteral("2301234567"), QStringLiteral("005"), QString()},
                      d);
    EXPECT_EQ(ligacoes(c, 1).di, antes.di);
    // Overwritten, empty item included.
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("DI")),
              QStringList{QStringLiteral("DI:%1|'2301234567'|'005'|''|NULL").arg(antes.di)});
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI")), 1);
}

TEST_F(GravarImportado, DIDesaparecidaGanhaUmaNova)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    const int velha = ligacoes(c, 1).di;
    banco.executa(QStringLiteral("DELETE FROM DI"));
    AlteraImportadoDI(banco, c, 1, ConstrutorDeclaracao::DIPadrao(),
                      ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1));
    const int nova = ligacoes(c, 1).di;
    EXPECT_GT(nova, 0);
    EXPECT_NE(nova, velha);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI"), QStringLiteral("NR_SQ_DI = ?"), {nova}), 1);

    // Likewise an NF row that has gone.
    c.importadoNF();
    banco.executa(QStringLiteral("DELETE FROM NF"));
    AlteraImportadoNF(banco, c, 2, ConstrutorDeclaracao::NFPadrao(),
                      ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Y"), 1, 1));
    const int nf = ligacoes(c, 2).nf;
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"), QStringLiteral("NR_SEQ_NF = ?"), {nf}), 1);
}

TEST_F(GravarImportado, LigacaoZeroNaoApagaNada)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    // A row under key 0 in both tables (not made by the program, but possible
    // in a file): "link 0" must never reach it.
    banco.executa(QStringLiteral("INSERT INTO NF (NR_SEQ_NF, NR_NF) VALUES (0, 'zero')"));
    banco.executa(QStringLiteral("INSERT INTO DI (NR_SQ_DI, NR_DI_DI) VALUES (0, 'zero')"));
    const int chave = ligacoes(c, 1).di;
    AtualizaImportado(banco, c, 1, ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1),
                      Documento::DI, chave);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"), QStringLiteral("NR_SEQ_NF = 0")), 1);
    // Switching to an NF whose DI link is then 0, and back.
    const int nota = GravaNF(banco, ConstrutorDeclaracao::NFPadrao());
    AtualizaImportado(banco, c, 1, ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1),
                      Documento::NF, nota);
    banco.executa(QStringLiteral("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_NF_IMPORTADO = 0"));
    banco.executa(QStringLiteral("DELETE FROM NF WHERE NR_SEQ_NF = ?"), {nota});
    const int di = GravaDI(banco, ConstrutorDeclaracao::DIPadrao());
    AtualizaImportado(banco, c, 1, ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1),
                      Documento::DI, di);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"), QStringLiteral("NR_SEQ_NF = 0")), 1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI"), QStringLiteral("NR_SQ_DI = 0")), 1);
    EXPECT_EQ(ligacoes(c, 1).di, di);
}

TEST_F(GravarImportado, AtualizaSoEscreveOPreenchidoEDescricaoVaziaViraEspaco)
{
    ConstrutorDeclaracao c(banco);
    c.nacional().subcomponente(1, QStringLiteral("Sub"), 2, 5, 10, false);
    const int sq = c.ultimoImportado();
    DadosImportado d;
    d.quantidade = 3.0;     // value and aliquot empty: kept, but II from the form's numbers
    d.comSuspensao = false; // the other two pairs: neither selected
    d.baseCalculo = true;
    AtualizaImportado(banco, c, sq, d, Documento::DI, ligacoes(c, sq).di, 1);
    EXPECT_EQ(campo(QStringLiteral("TX_DESCRICAO_IMPORTADO"), c, sq).toString(), QStringLiteral(" "));
    EXPECT_DOUBLE_EQ(campo(QStringLiteral("QTD_IMPORTADO"), c, sq).toDouble(), 3.0);
    EXPECT_DOUBLE_EQ(campo(QStringLiteral("VALOR_UNITARIO_IMPORTADO"), c, sq).toDouble(), 5.0);
    EXPECT_DOUBLE_EQ(campo(QStringLiteral("ALIQUOTA_IMPORTADO"), c, sq).toDouble(), 10.0);
    EXPECT_DOUBLE_EQ(campo(QStringLiteral("VALOR_II_IMPORTADO"), c, sq).toDouble(), 0.0);
    EXPECT_EQ(campo(QStringLiteral("IN_COM_SUSP_IMPORTADO"), c, sq).toInt(), 0);
    EXPECT_EQ(campo(QStringLiteral("IN_DIRETO_IMPORTADO"), c, sq).toInt(), 1);
    EXPECT_EQ(campo(QStringLiteral("UNIDADE_IMPORTADO"), c, sq).toString(), QStringLiteral("UN"));
    EXPECT_EQ(campo(QStringLiteral("NCM_IMPORTADO"), c, sq).toString(), ConstrutorDeclaracao::Ncm);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP")).toInt(),
              1);
}

TEST_F(GravarImportado, AlterarLinhaInexistenteEhErroSemMudarNada)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    const QStringList antes = ConteudoBanco(banco);
    const DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1);
    EXPECT_THROW(AlteraImportadoDI(banco, c, 2, ConstrutorDeclaracao::DIPadrao(), d), ErroBanco);
    EXPECT_THROW(AlteraImportadoNF(banco, c + 1, 1, ConstrutorDeclaracao::NFPadrao(), d),
                 ErroBanco);
    EXPECT_THROW(AtualizaImportado(banco, c, 2, d, Documento::DI, 1), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarImportado, ExcluirLevaDocumentosELigacaoSoDaquelaLinha)
{
    ConstrutorDeclaracao a(banco);
    a.nacional().subcomponente(1, QStringLiteral("S1"), 1, 1);
    a.subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("S2"), 1, 1),
                      ConstrutorDeclaracao::NFPadrao());
    ConstrutorDeclaracao b(banco);
    b.nacional().subcomponente(1, QStringLiteral("S1"), 1, 1);
    const QStringList antes = ConteudoBanco(banco);
    const Ligacoes s1 = ligacoes(a, 1);

    ExcluiImportado(banco, a, 1);

    // Exactly the row, its DI and its SUBCOMP row are gone.
    QStringList esperado = antes;
    for (const QString &linha : antes) {
        if (linha == QStringLiteral("DI:%1|'2301234567'|'001'|'01'|NULL").arg(s1.di) ||
            linha.startsWith(QStringLiteral("SUBCOMP:%1|1|1|").arg(a.numero())) ||
            linha.startsWith(QStringLiteral("COMPONENTES_IMPORTADOS:%1|1|").arg(a.numero())))
            esperado.removeOne(linha);
    }
    EXPECT_EQ(esperado.size(), antes.size() - 3);
    EXPECT_EQ(ConteudoBanco(banco), esperado);

    ExcluiImportado(banco, a, 2); // with an NF
    EXPECT_EQ(orfaos(), 0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP")), 1);
}

// ---- All or nothing ----

TEST_F(GravarImportado, FalhaNaLinhaDesfazODocumento)
{
    ConstrutorDeclaracao c(banco);
    c.geral().importadoDI();
    const QStringList antes = ConteudoBanco(banco);
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE INSERT ON"
                                 " COMPONENTES_IMPORTADOS BEGIN SELECT RAISE(ABORT, 'x'); END"));
    const DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1);
    EXPECT_THROW(IncluiImportadoDI(banco, c, ConstrutorDeclaracao::DIPadrao(), d), ErroBanco);
    EXPECT_THROW(IncluiImportadoNF(banco, c, ConstrutorDeclaracao::NFPadrao(), d), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarImportado, FalhaNaLigacaoDesfazLinhaEDocumento)
{
    ConstrutorDeclaracao c(banco);
    c.nacional();
    const QStringList antes = ConteudoBanco(banco);
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE INSERT ON SUBCOMP"
                                 " BEGIN SELECT RAISE(ABORT, 'x'); END"));
    EXPECT_THROW(c.subcomponente(1, QStringLiteral("S"), 1, 1), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
    // The row and its link on their own, too.
    EXPECT_THROW(GravaImportado(banco, c,
                                ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("S"), 1, 1),
                                Documento::DI, 0, 1),
                 ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarImportado, FalhaNaTrocaDeixaODocumentoAntigo)
{
    ConstrutorDeclaracao c(banco);
    c.importadoDI();
    const QStringList antes = ConteudoBanco(banco);
    // The old DI is deleted and the new NF written before the row's update fails.
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE UPDATE ON"
                                 " COMPONENTES_IMPORTADOS BEGIN SELECT RAISE(ABORT, 'x'); END"));
    EXPECT_THROW(AlteraImportadoNF(banco, c, 1, ConstrutorDeclaracao::NFPadrao(),
                                   ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1)),
                 ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
    // The switch on its own, too.
    EXPECT_THROW(AtualizaImportado(banco, c, 1,
                                   ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("X"), 1, 1),
                                   Documento::NF, 0),
                 ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

} // namespace
