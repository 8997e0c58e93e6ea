// The statement's window as a user drives it: typing (a CNPJ with letters
// too) and saving, the coefficient question, the statement kind, the
// previous number, a delivered statement, the lists' keys and search, and a
// pendency taken back to its field.

#include "ui/Janelas.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace vlme;
using base::Resposta;
using shell::Comando;
using teste::QuandoAbrirem;

namespace {

class FrmCentral : public teste::Janelas {
  protected:
    ui::frmCentral *abre(int numero) { return (janela = abreCentral(numero)).get(); }
    QString coluna(const char *nome, int n) {
        return teste::Valores(programa.banco,
                              QString("SELECT %1 FROM VLME WHERE NR_VLM_VLM = ?").arg(nome), {n});
    }
    std::unique_ptr<ui::frmCentral> janela;
};

TEST_F(FrmCentral, NovaDigitadaSalvaAoSairDaAbaEIntocadaNaoFica) {
    ui::mdiPrincipal principal(programa, usuario);
    ASSERT_TRUE(teste::Ativa(&principal));
    auto novo = [&] {
        QuandoAbrirem({[](QWidget *w) { static_cast<ui::frmNovo *>(w)->cmdOk->click(); }});
        principal.executa(Comando::Novo);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&principal));
        return principal.dadosGerais();
    };
    ui::frmCentral *f = novo();
    ASSERT_NE(f, nullptr);
    auto digita = [](QWidget *campo, const char *texto) {
        campo->clearFocus();
        campo->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(campo, texto);
    };
    digita(f->mskCNPJ, "12abc34501de35"); // letters too, raised
    EXPECT_EQ(f->mskCNPJ->displayText(), "12.ABC.345/01DE-35");
    digita(f->txtDenProduto, "Radio");
    f->optVariavel->click();
    digita(f->mskSalarios, "1500,5");
    f->SSTab->setCurrentIndex(1);
    const int n = f->numero();
    EXPECT_EQ(coluna("CNPJ_VLM || DEN_PRODUTO_VLM || TIPO_COEFICIENTE_VLM || VL_SALARIOS_VLM", n),
              "12ABC34501DE35Radio11500.5");
    QTest::keyClick(f->dbgComponentesNacionais, Qt::Key_Escape);
    EXPECT_FALSE(programa.declaracao.aberta);
    // Opened and closed untouched: nothing is left of it.
    ui::frmCentral *intocada = novo();
    ASSERT_NE(intocada, nullptr);
    principal.executa(Comando::Fechar);
    EXPECT_EQ(numeros(), QString::number(n));
}

TEST_F(FrmCentral, CoeficienteFixoPerguntaETipoDaDeclaracao) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral([](store::DadosGerais &d) {
        d.coeficiente = store::Coeficiente::Variavel;
        d.salarios = 10;
    });
    ui::frmCentral *f = abre(n);
    usuario.responde(Resposta::Nao);
    f->optFixo->click();
    EXPECT_TRUE(f->optVariavel->isChecked());
    EXPECT_EQ(f->mskSalarios->text(), "10,00");
    usuario.responde(Resposta::Sim);
    f->optFixo->click();
    EXPECT_EQ(f->mskSalarios->text() + f->mskEncargos->text(), "0,000,00");
    EXPECT_FALSE(f->mskSalarios->isEnabled() || f->mskEncargos->isEnabled());
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.resumos()[0].left(9), "?|ATENÇÃO");
    EXPECT_EQ(usuario.mensagens[0].botoes, base::Botoes::SimNao);

    // Rectifying: the replacing frame is off, the previous number on.
    f->optRetificadorSim->click();
    EXPECT_FALSE(f->fraSubstitutivo->isEnabled());
    EXPECT_TRUE(f->mskVlmAnterior->isEnabled() && f->mskNrProcesso->isEnabled());
    for (const char *numero : {"20030000", "2003000011", "200300001"}) {
        f->mskVlmAnterior->setFocus();
        f->mskVlmAnterior->clear();
        QTest::keyClicks(f->mskVlmAnterior, numero);
        f->mskNrProcesso->setFocus();
    }
    EXPECT_EQ(usuario.resumos().mid(2),
              QStringList({"x|Atenção!|Número de Registro VLM-E  - Tamanho Invalido",
                           "!|Atenção!|Número de Registro VLM-E com DV Inválido"}));
    QTest::keyClicks(f->mskNrProcesso, "123");
    f->optRetificadorNao->click();
    EXPECT_TRUE(f->fraSubstitutivo->isEnabled());
    EXPECT_TRUE(f->mskVlmAnterior->valor().isEmpty() && f->mskNrProcesso->valor().isEmpty());
}

TEST_F(FrmCentral, EntregueTravadaMasLocalizaEVisualiza) {
    teste::ConstrutorDeclaracao d(programa.banco);
    const int n = d.geral().modelo("M", 1).nacional("Placa").nacional("Fio").importadoDI();
    programa.banco.executa("UPDATE VLME SET CODIGO_VLM = '200300001'");
    ui::frmCentral *f = abre(n);
    for (QWidget *w : std::initializer_list<QWidget *>{
             f->mskCNPJ, f->txtPPB, f->mskSalarios, f->optFixo, f->optRetificadorNao,
             f->cmdIncluirModelo, f->cmdAlterarNacional, f->cmdExcluirImportado})
        EXPECT_FALSE(w->isEnabled()) << w->objectName();
    f->SSTab->setCurrentIndex(1);
    usuario.digitados = {"2", "fio", "nada"};
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f->dbgComponentesNacionais, Qt::Key_L, Qt::ControlModifier);
    // Moving in the list does not undo the lock.
    EXPECT_EQ(f->dbgComponentesNacionais->currentIndex().row(), 1);
    EXPECT_FALSE(f->cmdAlterarNacional->isEnabled() || f->cmdExcluirNacional->isEnabled());
    EXPECT_TRUE(f->cmdVisualizarNacional->isEnabled() && f->cmdLocalizarNacional->isEnabled());
    EXPECT_EQ(usuario.resumos().last(), "!|Localizar|Componente Nacional não encontrado");
    EXPECT_EQ(usuario.mensagens.size(), 4u); // three questions, one answer
    // The lookups still consult, but what was delivered stays.
    programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO) VALUES ('84713012')");
    QuandoAbrirem({[](QWidget *w) { static_cast<ui::frmAssistente *>(w)->cmdOk->click(); }});
    f->CmdNcm->click();
    EXPECT_EQ(f->mskNCM->valor(), teste::ConstrutorDeclaracao::Ncm);
}

TEST_F(FrmCentral, TeclasDaListaDeModelosEExclusao) {
    const int n = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("A", 1).modelo("B", 2);
    ui::frmCentral *f = abre(n);
    f->dbgModelos->setCurrentIndex(f->dbgModelos->model()->index(1, 0));
    QString legenda;
    QuandoAbrirem({[&](QWidget *w) {
        legenda = w->windowTitle();
        static_cast<ui::frmModelos *>(w)->cmdCancelar->click();
    }});
    QTest::keyClick(f->dbgModelos, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(legenda, "Alterar Modelo, Tipo e Referência");
    EXPECT_TRUE(QTest::qWaitForWindowActive(f)); // and the keys work again
    usuario.responde(Resposta::Sim);
    QTest::keyClick(f->dbgModelos, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(usuario.resumos(), QStringList("?|Excluir|Deseja realmente excluir o modelo "
                                             "selecionado ?|SimNaoPadraoNao"));
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT group_concat(TX_DESCRICAO_MODELOS) FROM "
                                             "MODELOS"),
              "A");
    EXPECT_EQ(f->dbgModelos->currentIndex().row(), 0);
}

// Ctrl+Tab turns the tabs inside the document area too, which takes it to
// cycle its windows.
TEST_F(FrmCentral, CtrlTabTrocaAbaNaAreaDeDocumentos) {
    programa.declaracao = {teste::ConstrutorDeclaracao(programa.banco).geral(), true, false, false};
    QMdiArea area;
    auto *f = new ui::frmCentral(programa, usuario);
    f->carrega();
    area.addSubWindow(f)->show();
    ASSERT_TRUE(teste::Ativa(&area));
    f->mskCPF->setFocus();
    QTest::keyClick(f->mskCPF, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f->SSTab->currentIndex(), 1);
    for (int vez = 0; vez < 2; ++vez)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f->SSTab->currentIndex(), 3);
}

// The NCM lookup fills the field and the description beside it; Esc leaves both.
TEST_F(FrmCentral, ConsultaNCMPreencheOCampo) {
    for (const char *ncm : {"84713012", "84715010", "85171231"})
        programa.banco.executa("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO)"
                               " VALUES (?, ?)",
                               {ncm, QString(" Item %1 ").arg(ncm)});
    ui::frmCentral *f = abre(teste::ConstrutorDeclaracao(programa.banco).geral());
    QuandoAbrirem({[](QWidget *w) {
        auto *assistente = static_cast<ui::frmAssistente *>(w);
        assistente->txtCodigo->setText("8471.50");
        assistente->cmdFiltro->click();
        assistente->cmdOk->click();
    }});
    f->CmdNcm->click();
    EXPECT_EQ(f->mskNCM->valor() + "|" + f->lblDescricaoNCM->text(), "84715010|Item 84715010");
    QuandoAbrirem({[](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }});
    f->CmdNcm->click();
    EXPECT_EQ(f->mskNCM->valor(), "84715010");
}

// Double click (or Enter) on a pendency: the statement's window, the tab,
// the row, the field.
TEST_F(FrmCentral, PendenciaLevaAoCampo) {
    teste::ConstrutorDeclaracao d(programa.banco);
    d.geral([](store::DadosGerais &g) { g.cpf = "123"; }).nacional("A").nacional("B");
    const int n = d.importadoDI("I").importadoNF("J");
    programa.banco.executa("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0"
                           " WHERE NR_SQ_NACIONAL = 2");
    programa.banco.executa("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_DI_IMPORTADO = 0,"
                           " NR_SEQ_NF_IMPORTADO = 0 WHERE NR_SQ_IMPORTADO = 2");
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    // The picker steps aside for the list: wait for the list itself.
    std::function<void(QWidget *)> enterNaLista = [&](QWidget *w) {
        auto *lista = qobject_cast<ui::frmPendencias *>(w);
        if (!lista)
            return QuandoAbrirem({enterNaLista}, 10);
        QTest::keyClick(lista->lstPendencias, Qt::Key_Enter); // the first: the CPF
    };
    // OK in the picker runs the check and waits on the list: answer it first.
    QuandoAbrirem({[&](QWidget *w) {
        QuandoAbrirem({enterNaLista}, 10);
        teste::PrimeiraDoSeletor(w);
    }});
    principal.executa(Comando::Pendencias);
    ASSERT_TRUE(QTest::qWaitFor([&] { return principal.dadosGerais(); }, 500));
    ui::frmCentral *f = principal.dadosGerais();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->mskCPF->hasFocus(); }, 500));
    struct {
        const char *chave;
        int aba;
        QTableView *lista;
        int linha;
    } casos[] = {{"ERRO_MODELOS", 0, f->dbgModelos, -1},
                 {"ERRO_SEM_NF", 1, f->dbgComponentesNacionais, 1},
                 {"ERRO_SEM_DI_NF", 2, f->dbgComponentesImportados, 1}};
    for (const auto &c : casos) {
        principal.corrigePendencia(n, c.chave);
        EXPECT_EQ(f->SSTab->currentIndex(), c.aba) << c.chave;
        EXPECT_EQ(c.lista->currentIndex().row(), c.linha) << c.chave;
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.lista->hasFocus(); }, 500)) << c.chave;
    }
    // A component's quantity or value: its own form, the cursor in the field.
    for (const char *chave : {"CN_QTD_2", "CI_VLR_1"}) {
        QString focado;
        QuandoAbrirem({[&](QWidget *w) {
            focado = w->focusWidget() ? w->focusWidget()->objectName() : QString();
            w->close();
        }});
        principal.corrigePendencia(n, chave);
        EXPECT_EQ(focado, chave[1] == 'N' ? "mskQTD" : "mskValorUnitario");
    }
}

} // namespace
