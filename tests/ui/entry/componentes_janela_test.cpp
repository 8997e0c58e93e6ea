// The component forms driven as a user does: a failed check saves nothing, a
// valid one saves with its document, view edits nothing, delete takes links.

#include "entry/FormComponente.h"
#include "ui/Janelas.h"

#include <QTableWidget>

using namespace vlme;
using namespace vlme::teste;
using ui::CampoMascarado;
namespace Op = entry::OperacaoFormulario;

namespace {

class Componentes : public teste::Janelas {
  protected:
    const QString nfValida = teste::Digitado("nfValida"), diValida = teste::Digitado("diValida"),
                  nacionalValido = teste::Digitado("nacionalValido");
};

} // namespace

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
        Preenche(f, valores);
        const QStringList antes = ConteudoBanco(programa.banco);
        usuario.mensagens.clear();
        programa.banco.simulaFalhaDisco(1);
        Clica(f, "cmdOk");
        programa.banco.simulaFalhaDisco(0);
        EXPECT_EQ(usuario.mensagens.size(), 1u);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->findChild<CampoMascarado *>("mskQTD")->text().trimmed().left(1),
                  valores.section("mskQTD=", 1).left(1));
        EXPECT_EQ(ConteudoBanco(programa.banco), antes);
        usuario.mensagens.clear();
        Clica(f, "cmdOk");
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
        Preenche(&f, valores);
        Clica(&f, "cmdOk");
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
            " LEFT JOIN SUBCOMP ON N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
            " ORDER BY i.NR_SQ_IMPORTADO"),
        "1|0|0000000007|04539983000190|01/02/2024|85171231|0.7|NULL|NULL|NULL;"
        "2|1|NULL|NULL|NULL|00000000|0|2301234567|80|1");
}

// Each refusal (data/casos/recusas_componentes.tsv): its message, the cursor
// in its field, the form still open, nothing saved.
TEST_F(Componentes, RecusadoPorUmaConferencia) {
    ConstrutorDeclaracao d(programa.banco);
    d.nacional("N1", 1, 20).subcomponente(1, "A", 2, 3).subcomponente(1, "B", 1, 4);
    d.nacional("N2", 1, 20).subcomponente(2, "C", 1, 10.01);
    const QStringList antes = ConteudoBanco(programa.banco);
    for (const QStringList &c : teste::Casos("recusas_componentes.tsv")) {
        SCOPED_TRACE(c.join('|').toStdString());
        QStringList valores;
        for (const QString &v : c[3].split(';'))
            valores << (v.startsWith('{') ? teste::Digitado(v.mid(1, v.size() - 2)) : v);
        usuario.mensagens.clear();
        const int dono = c[0].toInt(), op = c[1].toInt(), sq = c[2].toInt();
        std::unique_ptr<QDialog> f;
        if (dono < 0)
            f = std::make_unique<ui::frmNacionais>(programa.banco, usuario, d, op, sq);
        else
            f = std::make_unique<ui::frmImportados>(programa.banco, usuario, d, dono, op, sq);
        f->show();
        Preenche(f.get(), valores.join(';'));
        Clica(f.get(), "cmdOk");
        EXPECT_EQ(usuario.resumos(), QStringList{"!|Atenção!|" + entry::Mensagem(c[5].toLatin1())});
        ASSERT_TRUE(f->focusWidget());
        EXPECT_EQ(f->focusWidget()->objectName(), c[4]);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(ConteudoBanco(programa.banco), antes);
    }
    ui::frmNacionais limite(programa.banco, usuario, d, Op::Alterar, 1);
    limite.show();
    Preenche(&limite, "mskCustoUnitario=10,000000");
    Clica(&limite, "cmdOk");
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
        Preenche(&f, nacionalValido);
        teste::QuandoAbrirem({[this](QWidget *janela) {
            EXPECT_EQ(janela->windowTitle(), "Incluir Subcomponente Importado");
            Preenche(janela, diValida);
            Clica(janela, "cmdOk");
        }});
        QApplication::setActiveWindow(&f);
        QTest::keyClick(&f, Qt::Key_I, Qt::ControlModifier); // cmdIncluirImportadoNacional
        EXPECT_EQ(f.findChild<QTableWidget *>("dbgImportadosNacionais")->rowCount(), 1);
        EXPECT_TRUE(f.findChild<QPushButton *>("cmdAlterarImportadoNacional")->isEnabled());
        Clica(&f, fim);
        EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
        if (QString(fim) == "cmdCancelar") {
            EXPECT_EQ(ConteudoBanco(programa.banco), antes);
        }
    }
    EXPECT_EQ(Valores(programa.banco,
                      "SELECT NR_SQ_NACIONAL, NR_NF, DATA_EMISSAO_NF, CNPJ_NF, N_IMPORTADO_SUBCOMP"
                      " FROM COMPONENTES_NACIONAIS JOIN NF ON NR_SEQ_NF = NR_SEQ_NF_NACIONAL"
                      " JOIN SUBCOMP ON N_NACIONAL_SUBCOMP = NR_SQ_NACIONAL"),
              "2|0000000009|29/02/2024|12ABC34501DE35|1");
}

// A view edits nothing and Esc closes it; a delete takes the component's
// links and documents. National 1 (cost 50) holds imported 1 (by invoice) and 2.
TEST_F(Componentes, VistoEExcluido) {
    ConstrutorDeclaracao d(programa.banco);
    d.nacional("N", 1, 50)
        .subcomponenteNF(1, ConstrutorDeclaracao::ImportadoPadrao("S", 1, 2),
                         ConstrutorDeclaracao::NFPadrao());
    d.subcomponente(1, "T", 1, 3);
    const QStringList antes = ConteudoBanco(programa.banco);
    ui::frmImportados importado(programa.banco, usuario, d, 1, Op::Visualizar, 1);
    ui::frmNacionais nacional(programa.banco, usuario, d, Op::Visualizar, 1);
    for (QDialog *ver : std::initializer_list<QDialog *>{&importado, &nacional}) {
        ver->show();
        for (CampoMascarado *c : ver->findChildren<CampoMascarado *>())
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        EXPECT_FALSE(ver->findChild<QPushButton *>("cmdCancelar")->isEnabled());
        QTest::keyClick(ver, Qt::Key_Escape);
        EXPECT_FALSE(ver->isVisible());
    }
    EXPECT_EQ(importado.findChild<CampoMascarado *>("mskNR")->text(), "0000000001");
    EXPECT_FALSE(importado.findChild<QRadioButton *>("optDiretoSim")->isEnabled());
    EXPECT_EQ(nacional.findChild<CampoMascarado *>("mskCustoUnitario")->text(), "50,000000");
    EXPECT_EQ(nacional.findChild<QTableWidget *>("dbgImportadosNacionais")->rowCount(), 2);
    EXPECT_TRUE(nacional.findChild<QPushButton *>("cmdVisualizarImportadoNacional")->isEnabled());
    EXPECT_EQ(ConteudoBanco(programa.banco), antes);

    ui::frmImportados excluiImportado(programa.banco, usuario, d, 1, Op::Excluir, 1);
    excluiImportado.show();
    EXPECT_FALSE(excluiImportado.findChild<CampoMascarado *>("mskQTD")->isEnabled());
    Clica(&excluiImportado, "cmdOk");
    EXPECT_EQ(excluiImportado.result(), QDialog::Accepted);
    const QStringList tabelas = {"COMPONENTES_IMPORTADOS", "SUBCOMP", "NF", "DI"};
    const auto contagens = [&] {
        QString c;
        for (const QString &t : tabelas)
            c += QString::number(ContaLinhas(programa.banco, t));
        return c;
    };
    EXPECT_EQ(contagens(), "1111"); // 2 with its link and DI, the national component's invoice
    ui::frmNacionais excluiNacional(programa.banco, usuario, d, Op::Excluir, 1);
    excluiNacional.show();
    EXPECT_FALSE(
        excluiNacional.findChild<QPushButton *>("cmdVisualizarImportadoNacional")->isEnabled());
    Clica(&excluiNacional, "cmdOk");
    EXPECT_EQ(excluiNacional.result(), QDialog::Accepted);
    EXPECT_EQ(contagens() + QString::number(ContaLinhas(programa.banco, "COMPONENTES_NACIONAIS")),
              "00000");
}
