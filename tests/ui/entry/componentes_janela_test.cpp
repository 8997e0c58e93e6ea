// The component forms driven as a user does: a failed check saves nothing, a
// valid one saves with its document, view edits nothing, delete takes links.

#include "entry/FormComponente.h"
#include "entry/OperacaoFormulario.h"
#include "ui/Janelas.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmImportados.h"
#include "ui/entry/frmNacionais.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace vlme;
using teste::ConstrutorDeclaracao;
using teste::ContaLinhas;
using teste::ConteudoBanco;
using teste::Valores;
using ui::CampoMascarado;
namespace Op = entry::OperacaoFormulario;

namespace {

class Componentes : public teste::Janelas {
  protected:
    // Field=text;... typed into the window's fields, options clicked by name.
    static void preenche(QWidget *janela, const QString &valores) {
        for (const QString &v : valores.split(';', Qt::SkipEmptyParts)) {
            if (auto *o = janela->findChild<QRadioButton *>(v))
                o->click();
            else
                janela->findChild<CampoMascarado *>(v.section('=', 0, 0))
                    ->setText(v.section('=', 1));
        }
    }
    static void clica(QWidget *janela, const char *botao) {
        janela->findChild<QPushButton *>(botao)->click();
    }
    static QString atencao(const char *chave) { return "!|Atenção!|" + entry::Mensagem(chave); }
    const QString nfValida = "optDiretoNao;mskNR=0000000007;mskSerie=A;mskDataEmissao=01022024;"
                             "mskCNPJ=04539983000190;mskNCM=85171231;txtUnidade=UN;"
                             "txtDescricao=Tela;mskQTD=2;mskValorUnitario=3,5;mskAliquota=10";
    const QString diValida = "optDiretoSim;mskNrDI=2301234567;mskNrAdicao=001;mskNrItem=80;"
                             "mskQTD=1;mskValorUnitario=5;mskAliquota=0";
    const QString nacionalValido = "mskNR=0000000009;mskSerie=B;mskDataEmissao=29022024;"
                                   "mskCNPJ=04539983000190;txtDescricao=Placa;mskNCM=85171231;"
                                   "TxtUnidade=UN;mskQTD=3;mskCustoUnitario=10";
};

} // namespace

TEST_F(Componentes, ImportadoRecusadoPorUmaConferencia) {
    const int n = ConstrutorDeclaracao(programa.banco).nacional("N", 1, 10);
    const QStringList antes = ConteudoBanco(programa.banco);
    struct Caso {
        int dono;
        QString valores, campo, mensagem;
    };
    const Caso casos[] = {
        {0, "optDiretoSim", "mskNrDI", atencao("ERRO_DI_IMP_AUSENTE")},
        {0, nfValida + ";mskSerie= ", "mskSerie", atencao("ERRO_SERIE_IMP_AUSENTE")},
        {0, diValida + ";mskQTD=0", "mskQTD", atencao("ERRO_QTD_IMP_ZERO")},
        {1, diValida + ";mskValorUnitario=10,01", "mskValorUnitario",
         atencao("ERRO_VALOR_SUB_MAIOR_NAC")},
    };
    for (const Caso &c : casos) {
        usuario.mensagens.clear();
        ui::frmImportados f(programa.banco, usuario, n, c.dono, Op::Incluir);
        f.show();
        preenche(&f, c.valores);
        clica(&f, "cmdOk");
        EXPECT_EQ(usuario.resumos(), QStringList{c.mensagem}) << c.campo.toStdString();
        ASSERT_TRUE(f.focusWidget());
        EXPECT_EQ(f.focusWidget()->objectName(), c.campo);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(ConteudoBanco(programa.banco), antes);
    }
}

// The disk fails under OK: one message, the form open with what was typed,
// and OK saves once the failure is gone.
TEST_F(Componentes, FalhaDoBancoNoOKDeixaOFormularioAbertoComODigitado) {
    const int n = ConstrutorDeclaracao(programa.banco).nacional("N", 1, 10);
    ui::frmNacionais nacional(programa.banco, usuario, n, Op::Incluir);
    ui::frmImportados sub(programa.banco, usuario, n, 1, Op::Incluir);
    const std::pair<QDialog *, QString> casos[] = {{&nacional, nacionalValido}, {&sub, diValida}};
    for (const auto &[f, valores] : casos) {
        SCOPED_TRACE(f->objectName().toStdString());
        f->show();
        preenche(f, valores);
        const QStringList antes = ConteudoBanco(programa.banco);
        usuario.mensagens.clear();
        programa.banco.simulaFalhaDisco(1);
        clica(f, "cmdOk");
        programa.banco.simulaFalhaDisco(0);
        EXPECT_EQ(usuario.mensagens.size(), 1u);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->findChild<CampoMascarado *>("mskQTD")->text().trimmed().left(1),
                  valores.section("mskQTD=", 1).left(1));
        EXPECT_EQ(ConteudoBanco(programa.banco), antes);
        usuario.mensagens.clear();
        clica(f, "cmdOk");
        EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
        EXPECT_EQ(f->result(), QDialog::Accepted);
    }
    EXPECT_EQ(ContaLinhas(programa.banco, "COMPONENTES_NACIONAIS"), 2);
    EXPECT_EQ(ContaLinhas(programa.banco, "SUBCOMP"), 1);
}

TEST_F(Componentes, ImportadoGravadoComNotaOuDI) {
    const int n = ConstrutorDeclaracao(programa.banco).nacional("N", 1, 10);
    for (const auto &[dono, valores] : {std::pair{0, nfValida}, {1, diValida}}) {
        ui::frmImportados f(programa.banco, usuario, n, dono, Op::Incluir);
        f.show();
        preenche(&f, valores);
        clica(&f, "cmdOk");
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
    }
    EXPECT_EQ(
        Valores(
            programa.banco,
            "SELECT i.NR_SQ_IMPORTADO, IN_DIRETO_IMPORTADO, NR_NF, CNPJ_NF,"
            " DATA_EMISSAO_NF, NCM_IMPORTADO, round(VALOR_II_IMPORTADO, 9), NR_DI_DI, NR_ITEM_DI,"
            " N_NACIONAL_SUBCOMP FROM COMPONENTES_IMPORTADOS i"
            " LEFT JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_IMPORTADO"
            " LEFT JOIN DI ON NR_SQ_DI = NR_SEQ_DI_IMPORTADO"
            " LEFT JOIN SUBCOMP ON N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"),
        "1|0|0000000007|04539983000190|01/02/2024|85171231|0.7|NULL|NULL|NULL;"
        "2|1|NULL|NULL|NULL|00000000|0|2301234567|80|1");
}

TEST_F(Componentes, ImportadoVistoEExcluido) {
    ConstrutorDeclaracao d(programa.banco);
    d.nacional("N", 1, 10)
        .subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao("S", 1, 2),
                         ConstrutorDeclaracao::NFPadrao());
    const QStringList antes = ConteudoBanco(programa.banco);

    ui::frmImportados ver(programa.banco, usuario, d, 1, Op::Visualizar, 1);
    ver.show();
    for (CampoMascarado *c : ver.findChildren<CampoMascarado *>())
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(ver.findChild<CampoMascarado *>("mskNR")->text(), "0000000001");
    EXPECT_FALSE(ver.findChild<QPushButton *>("cmdCancelar")->isEnabled());
    EXPECT_FALSE(ver.findChild<QRadioButton *>("optDiretoSim")->isEnabled());
    QTest::keyClick(&ver, Qt::Key_Escape);
    EXPECT_FALSE(ver.isVisible());
    EXPECT_EQ(ConteudoBanco(programa.banco), antes);

    ui::frmImportados exclui(programa.banco, usuario, d, 1, Op::Excluir, 1);
    exclui.show();
    EXPECT_FALSE(exclui.findChild<CampoMascarado *>("mskQTD")->isEnabled());
    clica(&exclui, "cmdOk");
    EXPECT_EQ(exclui.result(), QDialog::Accepted);
    EXPECT_EQ(ContaLinhas(programa.banco, "COMPONENTES_IMPORTADOS") +
                  ContaLinhas(programa.banco, "SUBCOMP") + ContaLinhas(programa.banco, "NF"),
              1); // the national component's invoice
}

// National 1 holds subcomponents totalling exactly 10, national 2 totalling 10,01.
TEST_F(Componentes, NacionalRecusadoPorUmaConferencia) {
    ConstrutorDeclaracao d(programa.banco);
    d.nacional("N1", 1, 20).subcomponente(1, "A", 2, 3).subcomponente(1, "B", 1, 4);
    d.nacional("N2", 1, 20).subcomponente(2, "C", 1, 10.01);
    const QStringList antes = ConteudoBanco(programa.banco);
    struct Caso {
        int op, sq;
        QString valores, mensagem;
    };
    const Caso casos[] = {
        {Op::Incluir, 0, nacionalValido + ";mskQTD=0", atencao("ERRO_QTD_NAC_ZERO")},
        {Op::Incluir, 0, nacionalValido + ";mskNR=0000000000", atencao("ERRO_NOTA_NAC_INVALIDO")},
        {Op::Alterar, 2, "mskCustoUnitario=10,000000", atencao("ERRO_VALOR_NAC_MENOR_SUB")},
    };
    for (const Caso &c : casos) {
        usuario.mensagens.clear();
        ui::frmNacionais f(programa.banco, usuario, d, c.op, c.sq);
        f.show();
        preenche(&f, c.valores);
        clica(&f, "cmdOk");
        EXPECT_EQ(usuario.resumos(), QStringList{c.mensagem});
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(ConteudoBanco(programa.banco), antes);
    }
    ui::frmNacionais limite(programa.banco, usuario, d, Op::Alterar, 1);
    limite.show();
    preenche(&limite, "mskCustoUnitario=10,000000");
    clica(&limite, "cmdOk");
    EXPECT_EQ(limite.result(), QDialog::Accepted);
    EXPECT_EQ(Valores(programa.banco, "SELECT VL_CUSTO_UNITARIO_NACIONAL FROM"
                                      " COMPONENTES_NACIONAIS WHERE NR_SQ_NACIONAL = 1"),
              "10");
}

TEST_F(Componentes, NacionalGravadoComSubcomponenteOuCancelado) {
    const int n = ConstrutorDeclaracao(programa.banco).nacional("Antes", 1, 5);
    const QStringList antes = ConteudoBanco(programa.banco);
    for (const char *fim : {"cmdCancelar", "cmdOk"}) {
        ui::frmNacionais f(programa.banco, usuario, n, Op::Incluir);
        f.show();
        preenche(&f, nacionalValido);
        teste::QuandoAbrirem({[this](QWidget *janela) {
            EXPECT_EQ(janela->windowTitle(), "Incluir Subcomponente Importado");
            preenche(janela, diValida);
            clica(janela, "cmdOk");
        }});
        QApplication::setActiveWindow(&f);
        QTest::keyClick(&f, Qt::Key_I, Qt::ControlModifier); // cmdIncluirImportadoNacional
        EXPECT_EQ(f.findChild<QTableWidget *>("dbgImportadosNacionais")->rowCount(), 1);
        EXPECT_TRUE(f.findChild<QPushButton *>("cmdAlterarImportadoNacional")->isEnabled());
        clica(&f, fim);
        EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
        if (QString(fim) == "cmdCancelar") {
            EXPECT_EQ(ConteudoBanco(programa.banco), antes);
        }
    }
    EXPECT_EQ(Valores(programa.banco,
                      "SELECT NR_SQ_NACIONAL, NR_NF, DATA_EMISSAO_NF, N_IMPORTADO_SUBCOMP"
                      " FROM COMPONENTES_NACIONAIS JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_NACIONAL"
                      " JOIN SUBCOMP ON N_NACIONAL_SUBCOMP = NR_SQ_NACIONAL"),
              "2|0000000009|29/02/2024|1");
}

TEST_F(Componentes, NacionalVistoEExcluido) {
    ConstrutorDeclaracao d(programa.banco);
    d.nacional("N", 1, 50)
        .subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao("S", 1, 2),
                         ConstrutorDeclaracao::NFPadrao());
    d.subcomponente(1, "T", 1, 3);
    const QStringList antes = ConteudoBanco(programa.banco);

    ui::frmNacionais ver(programa.banco, usuario, d, Op::Visualizar, 1);
    ver.show();
    for (CampoMascarado *c : ver.findChildren<CampoMascarado *>())
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(ver.findChild<CampoMascarado *>("mskCustoUnitario")->text(), "50,000000");
    EXPECT_EQ(ver.findChild<QTableWidget *>("dbgImportadosNacionais")->rowCount(), 2);
    EXPECT_TRUE(ver.findChild<QPushButton *>("cmdVisualizarImportadoNacional")->isEnabled());
    EXPECT_FALSE(ver.findChild<QPushButton *>("cmdCancelar")->isEnabled());
    QTest::keyClick(&ver, Qt::Key_Escape);
    EXPECT_FALSE(ver.isVisible());
    EXPECT_EQ(ConteudoBanco(programa.banco), antes);

    ui::frmNacionais exclui(programa.banco, usuario, d, Op::Excluir, 1);
    exclui.show();
    EXPECT_FALSE(exclui.findChild<QPushButton *>("cmdVisualizarImportadoNacional")->isEnabled());
    clica(&exclui, "cmdOk");
    EXPECT_EQ(exclui.result(), QDialog::Accepted);
    for (const char *t : {"COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS", "SUBCOMP", "NF", "DI"})
        EXPECT_EQ(ContaLinhas(programa.banco, t), 0) << t;
}
