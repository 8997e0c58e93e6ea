// National components: invoice and component written together, changes,
// the delete cascade, and all-or-nothing writes.

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

class GravarNacional : public ::testing::Test {
protected:
    BancoTeste bt;
    Banco &banco = bt.banco();

    int ligacaoNF(int nrVlm, int nrSq)
    {
        return banco
            .escalar(QStringLiteral("SELECT NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS"
                                    " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?"),
                     {nrVlm, nrSq})
            .toInt();
    }

    // NR_NF|SERIE_NF|CNPJ_NF|DATA_EMISSAO_NF|NR_INS_ESTADUAL_NF, NULL shown as NULL.
    QString nf(int chave)
    {
        return banco
            .escalar(QStringLiteral("SELECT quote(NR_NF) || '|' || quote(SERIE_NF) || '|' ||"
                                    " quote(CNPJ_NF) || '|' || quote(DATA_EMISSAO_NF) || '|' ||"
                                    " quote(NR_INS_ESTADUAL_NF) FROM NF WHERE NR_SEQ_NF = ?"),
                     {chave})
            .toString();
    }
};

TEST_F(GravarNacional, IncluiGravaNotaEComponenteLigados)
{
    const int n = ConstrutorDeclaracao(banco);
    DadosNF nota;
    nota.numero = QStringLiteral("0000000123");
    nota.serie = QStringLiteral("U");
    nota.cnpj = QStringLiteral("04.539.983/0001-90"); // as the mask shows it
    nota.dataEmissao = QStringLiteral("05012024");   // without separators
    DadosNacional d;
    d.descricao = QStringLiteral("Placa-mãe");
    d.quantidade = 2.5;
    d.custoUnitario = 40.125;
    d.unidade = QStringLiteral("UN");
    d.ncm = QStringLiteral("84733049");
    EXPECT_EQ(IncluiNacional(banco, n, nota, d), 1);

    const int chave = ligacaoNF(n, 1);
    EXPECT_GT(chave, 0);
    // Empty state registration: not written.
    EXPECT_EQ(nf(chave), QStringLiteral("'0000000123'|'U'|'04539983000190'|'05/01/2024'|NULL"));
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
        " UNIDADE_NACIONAL, NCM_NACIONAL FROM COMPONENTES_NACIONAIS"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Placa-mãe"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 40.125);
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("UN"));
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("84733049"));
}

TEST_F(GravarNacional, CamposVaziosFicamComOPadraoDaColuna)
{
    const int n = ConstrutorDeclaracao(banco);
    IncluiNacional(banco, n, DadosNF{}, DadosNacional{});
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("NF")),
              QStringList{QStringLiteral("NF:1|NULL|NULL|NULL|NULL|NULL")});
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("COMPONENTES_NACIONAIS")),
              QStringList{QStringLiteral("COMPONENTES_NACIONAIS:%1|1|NULL|0.0|0.0|1|NULL|NULL|0")
                              .arg(n)});
}

TEST_F(GravarNacional, AlteraSobrescreveANotaMesmoVaziaEOComponenteSoNoPreenchido)
{
    const int n = ConstrutorDeclaracao(banco).nacional(QStringLiteral("Antes"), 3, 7.5);
    const int chave = ligacaoNF(n, 1);
    DadosNF nota;
    nota.numero = QStringLiteral("0000000999");
    nota.serie = QStringLiteral("2");
    nota.cnpj = QStringLiteral("11.222.333/0001-81");
    nota.dataEmissao = QStringLiteral("29/02/2024");
    DadosNacional d;
    d.descricao = QStringLiteral("Depois");
    d.custoUnitario = 8.0; // quantity, unit and NCM left empty
    AlteraNacional(banco, n, 1, nota, d);

    EXPECT_EQ(ligacaoNF(n, 1), chave);
    EXPECT_EQ(nf(chave), QStringLiteral("'0000000999'|'2'|'11222333000181'|'29/02/2024'|''"));
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
        " UNIDADE_NACIONAL, NCM_NACIONAL FROM COMPONENTES_NACIONAIS"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Depois"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 3.0);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 8.0);
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("UN"));
    EXPECT_EQ(q.value(4).toString(), ConstrutorDeclaracao::Ncm);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), 1);
}

TEST_F(GravarNacional, AlteraComponenteSemNotaCriaANotaDigitada)
{
    const int n = ConstrutorDeclaracao(banco).nacional().nacional();
    // One without a link, one whose invoice row has gone.
    banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0"
                                 " WHERE NR_SQ_NACIONAL = 1"));
    banco.executa(QStringLiteral("DELETE FROM NF"));
    for (int sq : {1, 2}) {
        DadosNF nota = ConstrutorDeclaracao::NFPadrao();
        nota.numero = QStringLiteral("000000000%1").arg(sq);
        AlteraNacional(banco, n, sq, nota, DadosNacional{});
        const int chave = ligacaoNF(n, sq);
        EXPECT_GT(chave, 0) << sq;
        EXPECT_EQ(nf(chave), QStringLiteral("'000000000%1'|'1'|'04539983000190'|'15/03/2023'|''")
                                 .arg(sq));
    }
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), 2);
}

TEST_F(GravarNacional, AlterarComponenteInexistenteEhErroSemMudarNada)
{
    const int n = ConstrutorDeclaracao(banco).nacional();
    const QStringList antes = ConteudoBanco(banco);
    EXPECT_THROW(AlteraNacional(banco, n, 2, ConstrutorDeclaracao::NFPadrao(), DadosNacional{}),
                 ErroBanco);
    EXPECT_THROW(AtualizaNacional(banco, n + 1, 1, DadosNacional{}), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarNacional, IncluirAdotaOsSubcomponentesJaDigitados)
{
    ConstrutorDeclaracao c(banco);
    c.nacional(); // 1, with a subcomponent of its own
    c.subcomponente(1, QStringLiteral("Do primeiro"), 1, 1);
    // While the second is being included its subcomponents wait with owner 0.
    c.subcomponente(NacionalEmInclusao, QStringLiteral("Pendente A"), 1, 1);
    c.subcomponente(NacionalEmInclusao, QStringLiteral("Pendente B"), 1, 1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"), QStringLiteral("N_NACIONAL_SUBCOMP = 0")),
              2);
    c.nacional(); // 2
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"), QStringLiteral("N_NACIONAL_SUBCOMP = 2")),
              2);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"),
                          QStringLiteral("N_NACIONAL_SUBCOMP = 1 AND N_IMPORTADO_SUBCOMP = 1")),
              1);
}

TEST_F(GravarNacional, InclusaoCanceladaApagaOsPendentes)
{
    ConstrutorDeclaracao c(banco);
    c.nacional().subcomponente(1, QStringLiteral("Fica"), 1, 1);
    const QStringList antes = ConteudoBanco(banco);
    c.subcomponente(NacionalEmInclusao, QStringLiteral("Vai"), 1, 1);
    DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Vai NF"), 1, 1);
    c.subcomponenteNF(NacionalEmInclusao, d, ConstrutorDeclaracao::NFPadrao());
    ExcluiSubcomponentesPendentes(banco, c);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

// Statement A: national 1 (NF) with subcomponents 1 (DI) and 2 (NF); national 2
// with subcomponent 3; imported component 4. Statement B: the same, each
// imported number one higher (its component of the product comes first), so
// a delete that strayed into B would hit A's other rows.
class ExclusaoNacional : public GravarNacional {
protected:
    int a = 0;
    int b = 0;

    void SetUp() override
    {
        for (int *n : {&a, &b}) {
            ConstrutorDeclaracao c(banco);
            if (n == &b)
                c.importadoNF(QStringLiteral("I0"));
            c.geral().nacional(QStringLiteral("N1"), 1, 100).nacional(QStringLiteral("N2"), 1, 100);
            c.subcomponente(1, QStringLiteral("S1"), 1, 10);
            c.subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("S2"), 1, 10),
                              ConstrutorDeclaracao::NFPadrao());
            c.subcomponente(2, QStringLiteral("S3"), 1, 10);
            c.importadoDI(QStringLiteral("I4"));
            *n = c;
        }
    }
};

TEST_F(ExclusaoNacional, ApagaSubcomponentesComSeusDocumentosESuaNota)
{
    // What must go, read before the delete.
    const int notaNacional = ligacaoNF(a, 1);
    const int diS1 = banco
                         .escalar(QStringLiteral("SELECT NR_SEQ_DI_IMPORTADO FROM"
                                                 " COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO"
                                                 " = ? AND NR_SQ_IMPORTADO = 1"),
                                  {a})
                         .toInt();
    const int nfS2 = banco
                         .escalar(QStringLiteral("SELECT NR_SEQ_NF_IMPORTADO FROM"
                                                 " COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO"
                                                 " = ? AND NR_SQ_IMPORTADO = 2"),
                                  {a})
                         .toInt();
    ASSERT_GT(notaNacional, 0);
    ASSERT_GT(diS1, 0);
    ASSERT_GT(nfS2, 0);
    const int nfsAntes = ContaLinhas(banco, QStringLiteral("NF"));
    const int disAntes = ContaLinhas(banco, QStringLiteral("DI"));
    const QStringList outraAntes = ConteudoTabela(banco, QStringLiteral("COMPONENTES_IMPORTADOS"))
                                       .filter(QStringLiteral(":%1|").arg(b));

    ExcluiNacional(banco, a, 1);

    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"), QStringLiteral("NR_SEQ_NF IN (?, ?)"),
                          {notaNacional, nfS2}),
              0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI"), QStringLiteral("NR_SQ_DI = ?"), {diS1}), 0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), nfsAntes - 2);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI")), disAntes - 1);

    // Statement A keeps national 2, its subcomponent 3 and component 4.
    QStringList restoA;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT NR_SQ_IMPORTADO FROM COMPONENTES_IMPORTADOS"
                                               " WHERE NR_VLM_IMPORTADO = ? ORDER BY 1"),
                                {a});
    while (q.next())
        restoA << q.value(0).toString();
    EXPECT_EQ(restoA, (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("COMPONENTES_NACIONAIS"),
                          QStringLiteral("NR_VLM_NACIONAL = ?"), {a}),
              1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"), QStringLiteral("N_VLM_SUBCOMP = ?"), {a}),
              1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"),
                          QStringLiteral("N_VLM_SUBCOMP = ? AND N_NACIONAL_SUBCOMP = 2"
                                         " AND N_IMPORTADO_SUBCOMP = 3"),
                          {a}),
              1);
    // Statement B untouched.
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("COMPONENTES_IMPORTADOS"))
                  .filter(QStringLiteral(":%1|").arg(b)),
              outraAntes);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("COMPONENTES_NACIONAIS"),
                          QStringLiteral("NR_VLM_NACIONAL = ?"), {b}),
              2);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("SUBCOMP"), QStringLiteral("N_VLM_SUBCOMP = ?"), {b}),
              3);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("COMPONENTES_IMPORTADOS"),
                          QStringLiteral("NR_VLM_IMPORTADO = ?"), {b}),
              5);
    // Every remaining NF and DI row still belongs to a component.
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF"),
                          QStringLiteral("NR_SEQ_NF NOT IN (SELECT NR_SEQ_NF_NACIONAL FROM"
                                         " COMPONENTES_NACIONAIS) AND NR_SEQ_NF NOT IN (SELECT"
                                         " NR_SEQ_NF_IMPORTADO FROM COMPONENTES_IMPORTADOS)")),
              0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI"),
                          QStringLiteral("NR_SQ_DI NOT IN (SELECT NR_SEQ_DI_IMPORTADO FROM"
                                         " COMPONENTES_IMPORTADOS)")),
              0);
}

TEST_F(ExclusaoNacional, ApagarDeNovoNaoFazNada)
{
    ExcluiNacional(banco, a, 1);
    const QStringList antes = ConteudoBanco(banco);
    ExcluiNacional(banco, a, 1);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(ExclusaoNacional, FalhaNoMeioDesfazTudo)
{
    const QStringList antes = ConteudoBanco(banco);
    // The subcomponents and the invoice go first; the last delete fails.
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE DELETE ON COMPONENTES_NACIONAIS"
                                 " BEGIN SELECT RAISE(ABORT, 'falha injetada'); END"));
    EXPECT_THROW(ExcluiNacional(banco, a, 1), ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

// ---- All or nothing ----

TEST_F(GravarNacional, FalhaNoComponenteDesfazANota)
{
    const int n = ConstrutorDeclaracao(banco).geral().nacional();
    const QStringList antes = ConteudoBanco(banco);
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE INSERT ON COMPONENTES_NACIONAIS"
                                 " BEGIN SELECT RAISE(ABORT, 'x'); END"));
    EXPECT_THROW(IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                                ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("N"), 1, 1)),
                 ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarNacional, FalhaAoLigarANovaNotaDesfazAAlteracao)
{
    const int n = ConstrutorDeclaracao(banco).nacional();
    banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0"));
    banco.executa(QStringLiteral("DELETE FROM NF"));
    const QStringList antes = ConteudoBanco(banco);
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE UPDATE ON COMPONENTES_NACIONAIS"
                                 " BEGIN SELECT RAISE(ABORT, 'x'); END"));
    EXPECT_THROW(AlteraNacional(banco, n, 1, ConstrutorDeclaracao::NFPadrao(), DadosNacional{}),
                 ErroBanco);
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

TEST_F(GravarNacional, DentroDeUmaTransacaoMaior)
{
    const int n = ConstrutorDeclaracao(banco);
    {
        Transacao externa(banco);
        IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                       ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("Fica"), 1, 1));
        banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE INSERT ON"
                                     " COMPONENTES_NACIONAIS BEGIN SELECT RAISE(ABORT, 'x'); END"));
        EXPECT_THROW(IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                                    ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("Vai"), 1, 1)),
                     ErroBanco);
        banco.executa(QStringLiteral("DROP TRIGGER falha"));
        externa.confirma();
    }
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), 1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("COMPONENTES_NACIONAIS")), 1);

    // And the outer rollback takes the inner, confirmed, writes with it.
    {
        Transacao externa(banco);
        IncluiNacional(banco, n, ConstrutorDeclaracao::NFPadrao(),
                       ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("Desfeito"), 1, 1));
    }
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), 1);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("COMPONENTES_NACIONAIS")), 1);
}

} // namespace
