// The main window: commands reach the place their route gives, the busy rule,
// closing, places not yet filled in; the commands on a real database as a user
// meets them: focus, F1 over a modal window, Enter on a destructive question,
// failures told. The statement picker and the new-statement window: what each
// operation code lists and shows, how OK is reached, the operations done there.

#include "ui/Janelas.h"
#include "ui/shell/ModeloListaDeclaracoes.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>

#include <stdexcept>

using namespace vlme;
using shell::Comando;
using ui::frmNovo;
using ui::frmVLMs;

namespace {

// The main window with every place recorded instead of run.
class mdiGravado : public teste::ComandosGravados<ui::mdiPrincipal> {
  public:
    using ComandosGravados::ComandosGravados;
    bool fechaRecusado = false;
    bool bancoAbertoAoFechar = false;
    void fechaDeclaracao() override {
        chamadas << "fechaDeclaracao";
        bancoAbertoAoFechar = programa().banco.aberto();
        if (!fechaRecusado)
            programa().declaracao = {};
    }
    void sai() override {
        chamadas << "sai";
        mdiPrincipal::sai();
    }
};

// A statement window that may refuse to close, as one asking to save would.
class JanelaTeimosa : public QWidget {
  public:
    bool deixaFechar = false;
    int fechamentos = 0;

  protected:
    void closeEvent(QCloseEvent *e) override {
        ++fechamentos;
        deixaFechar ? e->accept() : e->ignore();
    }
};

using Principal = teste::Janelas;

QAction *menu(QWidget &janela, const QString &nome) {
    auto *a = janela.findChild<QAction *>(nome);
    EXPECT_NE(a, nullptr) << nome.toStdString();
    return a;
}

using teste::QuandoAbrirem;

class PrincipalComDefeito : public ui::mdiPrincipal {
  public:
    using ui::mdiPrincipal::mdiPrincipal;
    void mostraSobre() override { throw std::logic_error("sobre quebrado"); }
};

class Seletor : public teste::Janelas {
  protected:
    int declaracao(int nrTransmissao, const QString &codigo, const QString &produto = "Rádio",
                   const QString &razao = {}) {
        programa.banco.executa("INSERT INTO VLME (DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM,"
                               " RAZAO_SOCIAL_VLM) VALUES (?, ?, ?, ?)",
                               {produto, nrTransmissao, codigo, razao});
        return programa.banco.escalar("SELECT max(NR_VLM_VLM) FROM VLME").toInt();
    }

    // One statement in each delivery state (data/janelas/operacoes_seletor.txt).
    void estados() {
        for (const auto &[nr, codigo] :
             {std::pair{0, ""}, {123, ""}, {-1, ""}, {-1, "200100123"}, {0, "200100999"}, {-2, ""}})
            declaracao(nr, codigo);
    }
    // The picker for `codigo` with row `linha` selected, OK clicked.
    frmVLMs &ok(std::unique_ptr<frmVLMs> &f, int codigo, int linha = 0,
                const std::function<void(frmVLMs &)> &prepara = {}) {
        f = std::make_unique<frmVLMs>(programa, usuario, progresso);
        f->setOperacaoVLM(codigo);
        if (prepara)
            prepara(*f);
        f->dbgVlms->selectRow(linha);
        f->cmdOk->click();
        return *f;
    }
};

// Without a choice OK tells so and stays; Enter and a double click are OK
// once only.
TEST_F(Seletor, NovoSemEscolhaAvisaEnterEDuploCliqueValemOKUmaVezSo) {
    declaracao(0, "");
    frmNovo f(programa, usuario);
    f.show();
    f.lstLista->clearSelection(); // Ctrl+click takes the highlight away
    f.cmdOk->click();
    EXPECT_EQ(usuario.resumos(),
              QStringList("-|Atenção|Você precisa selecionar umas das opções ao lado."));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.escolha(), frmNovo::Escolha::Nenhuma);

    f.lstLista->setCurrentRow(0);
    QTest::keyClick(f.lstLista, Qt::Key_Return);
    EXPECT_EQ(std::tuple(f.escolha(), f.numero(), f.result()),
              std::tuple(frmNovo::Escolha::Vazio, 2, int(QDialog::Accepted)));
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT group_concat(NR_VLM_VLM || quote(CODIGO_VLM)"
                                             " || NR_TRANSMISSAO_VLM) FROM VLME"),
              "1''0,2''0");
    const auto &d = programa.declaracao;
    EXPECT_EQ(std::tuple(d.numero, d.aberta, d.nova, d.alterada), std::tuple(2, true, true, false));

    frmNovo anterior(programa, usuario);
    anterior.show();
    const QRect r = anterior.lstLista->visualItemRect(anterior.lstLista->item(1));
    // A double click arrives after the press of its first click.
    QTest::mouseClick(anterior.lstLista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(anterior.lstLista->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(anterior.escolha(), frmNovo::Escolha::Anterior);
    EXPECT_FALSE(anterior.isVisible());
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_EQ(usuario.mensagens.size(), 1u);
}

// What each operation code shows, its help topic, and which statements it
// lists (data/janelas/operacoes_seletor.txt).
TEST_F(Seletor, TituloAjudaEFiltroDeCadaOperacao) {
    estados();
    frmVLMs f(programa, usuario, progresso);
    for (const QStringList &c : teste::Casos("../janelas/operacoes_seletor.txt")) {
        const QString &caso = c[0];
        f.setProperty("OperacaoVLM", caso.section('|', 0, 0).toInt());
        QStringList lista;
        for (int i = 0; i < f.datVlms->rowCount(); ++i)
            lista << QString::number(f.datVlms->numero(i));
        EXPECT_EQ(caso.section('|', 0, 0) + "|" + f.windowTitle() + "|" +
                      f.property("contextoAjuda").toString() + "|" + lista.join(','),
                  caso);
    }
}

// OK does nothing without a row, under the wait pointer, and once only for
// Enter or a double click.
TEST_F(Seletor, ComoSeChegaAoOK) {
    std::vector<int> abertas;
    const auto seletor = [&] {
        auto f = std::make_unique<frmVLMs>(programa, usuario, progresso);
        f->operacoes.abrir = [&](int n) { abertas.push_back(n); };
        f->show();
        return f;
    };
    estados();
    auto f = seletor();
    f->dbgVlms->clearSelection();
    f->cmdOk->click();
    EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Nenhum);
    f->dbgVlms->selectRow(1);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    f->cmdOk->click();
    QGuiApplication::restoreOverrideCursor();
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(abertas.empty());

    f = seletor();
    f->dbgVlms->setFocus();
    QTest::keyClick(f->dbgVlms, Qt::Key_Return); // the list starts on its newest row
    EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Executada);
    EXPECT_EQ(f->result(), QDialog::Accepted);
    f = seletor();
    const QRect r = f->dbgVlms->visualRect(f->datVlms->index(3, 2));
    QTest::mouseClick(f->dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(f->dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(abertas, (std::vector<int>{6, 3}));
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Seletor, AbrirRegistradaMostraONumeroEARazaoSocial) {
    declaracao(-1, "200100123", "Rádio", "Fábrica de Rádios Ltda");
    declaracao(0, "");
    QStringList painel;
    std::unique_ptr<frmVLMs> f;
    for (const int linha : {0, 1}) {
        ok(f, 2, linha,
           [&](frmVLMs &s) { s.mostraPainel = [&](const QString &t) { painel << t; }; });
        EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Aberta);
        const auto &d = programa.declaracao;
        EXPECT_EQ(std::tuple(f->numero(), d.numero, d.aberta, d.nova),
                  std::tuple(2 - linha, 2 - linha, true, false));
    }
    EXPECT_EQ(painel,
              QStringList{" NÚMERO VLM-E : 2001/00123  RAZÃO SOCIAL : Fábrica de Rádios Ltda"});
}

TEST_F(Seletor, ExcluirPerguntaEApagaCopiarAbreACopiaECancelarNaoAbreNada) {
    const int a = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("A", 1.0).nacional();
    const int b = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("A", 1.0).nacional();
    std::unique_ptr<frmVLMs> f;
    usuario.responde(base::Resposta::Nao);
    EXPECT_EQ(ok(f, 3).desfecho(), frmVLMs::Desfecho::Nenhum);
    EXPECT_EQ(numeros(), "1,2");
    usuario.responde(base::Resposta::Sim);
    EXPECT_EQ(ok(f, 3, 1).desfecho(), frmVLMs::Desfecho::Excluida); // the older one
    EXPECT_EQ(f->numero(), a);
    EXPECT_EQ(numeros(), QString::number(b));

    EXPECT_EQ(ok(f, 4).desfecho(), frmVLMs::Desfecho::Copiada);
    const auto &d = programa.declaracao;
    EXPECT_EQ(std::tuple(f->numero(), d.numero, d.aberta, d.nova),
              std::tuple(b + 1, b + 1, true, false));
    programa.declaracao = {};
    progresso.cancelaNa = 1;
    EXPECT_EQ(ok(f, 4, 1).desfecho(), frmVLMs::Desfecho::Nenhum);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "2,3");
    EXPECT_EQ(usuario.textos().last(), "Operação cancelada pelo usuário.");
}

TEST_F(Seletor, OperacaoDeOutroLugarRecebeONumeroOuAvisaQueFalta) {
    estados();
    std::unique_ptr<frmVLMs> f;
    EXPECT_EQ(ok(f, 15).desfecho(), frmVLMs::Desfecho::Nenhum);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.textos()[0].contains("Diagnóstico VLM-E"));
    std::vector<int> feitas;
    ok(f, 15, 1,
       [&](frmVLMs &s) { s.operacoes.diagnostico = [&](int n) { feitas.push_back(n); }; });
    EXPECT_EQ(feitas, std::vector<int>{4});
    EXPECT_EQ(std::pair(f->desfecho(), f->numero()), std::pair(frmVLMs::Desfecho::Executada, 4));
}

} // namespace

// Each button shows its picture and tip (data/janelas/barra.txt), and
// reaches what its route gives.
TEST_F(Principal, CadaMenuEBotaoLevaAondeSuaRotaLeva) {
    using C = shell::Comando;
    // In the order of the toolbar, Sair left out.
    const C comandos[] = {C::Novo,    C::Abrir,      C::Importar,   C::Fechar,      C::ImprimirVLM,
                          C::Excluir, C::Pendencias, C::Transmitir, C::Diagnostico, C::Conteudo};
    QStringList chaves;
    QString barra;
    const ui::mdiPrincipal principal(programa, usuario);
    for (QAction *a : principal.tbrBarra->actions())
        if (!a->isSeparator() && !a->icon().isNull()) {
            barra += a->data().toString() + "=" + a->toolTip() + "\n";
            chaves << a->data().toString();
        }
    ASSERT_EQ(barra, QString::fromStdString(teste::LeBytes(teste::DadoTeste("janelas/barra.txt"))));
    for (const bool aberta : {false, true}) {
        const auto confere = [&](C comando, const QString &nome, bool botao) {
            teste::DestinoGravado esperado; // what its route alone reaches
            esperado.aberta = aberta;
            shell::ExecutaComando(comando, esperado, false);
            mdiGravado janela(programa, usuario);
            programa.declaracao = {37, aberta, false, false};
            (botao ? janela.botao(nome) : menu(janela, nome))->trigger();
            EXPECT_EQ(janela.chamadas, esperado.chamadas) << nome.toStdString() << " " << aberta;
        };
        for (const auto &rota : shell::RotasComandos())
            if (*rota.menu && rota.comando != C::Sair)
                confere(rota.comando, rota.menu, false);
        for (size_t i = 0; i < std::size(comandos); ++i)
            confere(comandos[i], chaves.value(i), true);
    }
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Principal, SairOuFecharFechaADeclaracaoAntesDoBancoEOUsuarioPodeMantela) {
    for (const bool aberta : {false, true}) {
        if (!programa.banco.aberto())
            programa.banco.abre(pasta.arquivo("VLM.MDB"));
        mdiGravado janela(programa, usuario);
        janela.show();
        programa.declaracao = {5, aberta, false, false};
        menu(janela, "mnuSair")->trigger();
        EXPECT_FALSE(janela.isVisible() || programa.banco.aberto());
        EXPECT_EQ(janela.chamadas.join(','), aberta ? "sai,fechaDeclaracao" : "sai");
        EXPECT_EQ(janela.bancoAbertoAoFechar, aberta);
    }
    programa.banco.abre(pasta.arquivo("VLM.MDB"));
    mdiGravado janela(programa, usuario);
    janela.show();
    abreDeclaracao(5);
    janela.fechaRecusado = true;
    EXPECT_FALSE(janela.close());
    EXPECT_TRUE(janela.isVisible() && programa.banco.aberto() && programa.declaracao.aberta);
    janela.fechaRecusado = false;
    EXPECT_TRUE(janela.close());
    EXPECT_TRUE(janela.bancoAbertoAoFechar);
    EXPECT_FALSE(programa.banco.aberto());
}

TEST_F(Principal, AmpulhetaOuCursorDeTextoSeguramOsComandosDaRegra) {
    for (const Qt::CursorShape forma : {Qt::WaitCursor, Qt::IBeamCursor}) {
        mdiGravado janela(programa, usuario);
        janela.show();
        abreDeclaracao(9);
        QGuiApplication::setOverrideCursor(forma);
        for (const auto &rota : shell::RotasComandos())
            if (*rota.menu && rota.respeitaOcupado)
                menu(janela, rota.menu)->trigger();
        janela.botao("Sair")->trigger();
        EXPECT_TRUE(janela.chamadas.isEmpty()) << janela.chamadas.join(',').toStdString();
        // Not even the close box pulls the database from under the work.
        EXPECT_FALSE(janela.close());
        EXPECT_TRUE(janela.isVisible() && programa.banco.aberto() && programa.declaracao.aberta);
        menu(janela, "mnuConteudo")->trigger(); // help still answers
        QGuiApplication::restoreOverrideCursor();
        // Another pointer is not busy.
        QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
        menu(janela, "mnuPendencias")->trigger();
        EXPECT_EQ(janela.chamadas.join(','), "mostraConteudoAjuda,verificaPendencias");
        QGuiApplication::restoreOverrideCursor();
    }
}

TEST_F(Principal, AjudaEFecharFechaAsJanelasDaDeclaracao) {
    ui::mdiPrincipal janela(programa, usuario);
    // The help's contents open on the first page.
    janela.mostraConteudoAjuda();
    EXPECT_EQ(janela.ajuda().paginaAtual(), "principal.html");
    EXPECT_EQ(janela.ajuda().tabAjuda->currentIndex(), 0);

    // Fechar closes the statement's windows and hides the panel.
    janela.show();
    auto *central = new JanelaTeimosa;
    auto *sub = janela.areaDocumentos->addSubWindow(central);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    abreDeclaracao(12);
    janela.mostraPainel(" NÚMERO VLM-E : 2003/00001  RAZÃO SOCIAL : Fábrica");

    // The window refuses: the statement stays open and Abrir goes no further.
    menu(janela, "mnuAbrir")->trigger();
    EXPECT_EQ(central->fechamentos, 1);
    EXPECT_TRUE(programa.declaracao.aberta && janela.txtPainel->isVisible());
    EXPECT_TRUE(usuario.mensagens.empty());

    central->deixaFechar = true;
    menu(janela, "mnuFechar")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(janela.areaDocumentos->subWindowList().isEmpty());
    EXPECT_FALSE(programa.declaracao.aberta || janela.txtPainel->isVisible());
    EXPECT_EQ(programa.declaracao.numero, 0);
}

// Destroyed with a statement window open and active: nothing of it runs on
// the half-destroyed main window (the sanitizer build tells).
TEST_F(Principal, DestruidaComJanelaDaDeclaracaoAtiva) {
    auto janela = std::make_unique<ui::mdiPrincipal>(programa, usuario);
    janela->show();
    QMdiSubWindow *sub = janela->areaDocumentos->addSubWindow(new QWidget);
    sub->show();
    janela->areaDocumentos->setActiveSubWindow(sub);
    ASSERT_EQ(janela->areaDocumentos->activeSubWindow(), sub);
    janela.reset();
    EXPECT_TRUE(usuario.mensagens.empty());
}

// "&Índice" answers the plain I its keyboard has.
TEST_F(Principal, LetraSemAcentoAbreOIndice) {
    ui::mdiPrincipal janela(programa, usuario);
    janela.show();
    janela.mnuAjuda->popup(janela.geometry().topLeft());
    QTest::keyClick(janela.mnuAjuda, Qt::Key_I);
    EXPECT_TRUE(janela.ajuda().isVisible());
    EXPECT_EQ(janela.ajuda().tabAjuda->currentIndex(), 1);
    janela.ajuda().close();
}

// A copy opens in its own window; an empty statement closed untouched is not kept.
TEST_F(Principal, NovoCopiaAbreACopiaEVazioIntocadoNaoFica) {
    teste::ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1.0);
    ui::mdiPrincipal principal(programa, usuario);
    QuandoAbrirem({[](QWidget *novo) {
                       QTest::keyClick(static_cast<ui::frmNovo *>(novo)->lstLista, Qt::Key_Down);
                       static_cast<ui::frmNovo *>(novo)->cmdOk->click();
                   },
                   teste::PrimeiraDoSeletor});
    principal.executa(Comando::Novo);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_EQ(principal.dadosGerais()->numero(), 2);
    // OK acts on the entry highlighted at the start: the empty statement,
    // which replaces the copy (kept) in the window.
    QuandoAbrirem({[](QWidget *novo) { static_cast<ui::frmNovo *>(novo)->cmdOk->click(); }});
    principal.executa(Comando::Novo);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_EQ(principal.dadosGerais()->numero(), 3);
    principal.executa(Comando::Fechar);
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_FALSE(programa.declaracao.aberta);
}

TEST_F(Principal, PeloSeletorEOFocoVoltaAJanelaPrincipal) {
    completa();
    completa();
    usuario.responde(base::Resposta::Sim);
    ui::mdiPrincipal principal(programa, usuario);
    ASSERT_TRUE(teste::Ativa(&principal));
    for (const Comando comando : {Comando::Pendencias, Comando::Excluir, Comando::Abrir}) {
        QuandoAbrirem({teste::PrimeiraDoSeletor}); // the newest
        principal.executa(comando);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &principal; }, 500))
            << "comando " << int(comando);
    }
    // Abrir reaches the statement's window.
    EXPECT_EQ(usuario.textos(),
              QStringList({"Nenhum erro foi detectado.", "Deseja realmente excluir este VLM-E ?"}));
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_EQ(usuario.mensagens[1].botoes, base::Botoes::SimNaoPadraoNao); // Enter keeps it
    EXPECT_EQ(numeros(), "1");
}

// Each command acts on the open statement itself, without the picker.
TEST_F(Principal, DeclaracaoAbertaVerificadaGravadaEExcluida) {
    const int n = completa();
    const int outra = teste::ConstrutorDeclaracao(programa.banco).geral();
    abreDeclaracao(n);
    ui::mdiPrincipal principal(programa, usuario);
    principal.executa(Comando::Pendencias);
    usuario.responde(base::Resposta::Nao);
    principal.executa(Comando::Excluir);
    EXPECT_EQ(usuario.textos(),
              QStringList({"Nenhum erro foi detectado.", "Deseja realmente excluir este VLM-E ?"}));
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "1,2");

    principal.executa(Comando::Transmitir);
    const QString gerado = pasta.arquivo("Arquivos/VLME0000000001");
    EXPECT_EQ(usuario.textos().value(2),
              "O Arquivo foi gerado para transmissão em : \r\n" + QDir::toNativeSeparators(gerado));
    EXPECT_TRUE(QFileInfo::exists(gerado));
    // Recorded, the statement is closed (and kept: it was not new).
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "1,2");

    abreDeclaracao(n);
    usuario.responde(base::Resposta::Sim);
    principal.executa(Comando::Excluir);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), QString::number(outra));
}

TEST_F(Principal, GravarParaTransmissaoComPendenciasNaoGeraNada) {
    abreDeclaracao(teste::ConstrutorDeclaracao(programa.banco).geral());
    ui::mdiPrincipal principal(programa, usuario);
    QuandoAbrirem({[](QWidget *lista) {
        EXPECT_EQ(lista->objectName(), "frmPendencias");
        lista->close();
    }});
    principal.executa(Comando::Transmitir);
    EXPECT_EQ(usuario.textos(), QStringList("O Arquivo não foi gerado para transmissão."));
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("Arquivos/VLME0000000001")));
}

TEST_F(Principal, F1NumaJanelaModalAbreOTopicoEAAjudaRecebeCliques) {
    const auto seletor = [&](int operacao) {
        auto *s = new ui::frmVLMs(programa, usuario, progresso);
        s->setOperacaoVLM(operacao);
        return s;
    };
    const std::pair<QDialog *, int> casos[] = {
        {seletor(shell::Operacao::Excluir), shell::ContextoAjuda::Excluir},
        {seletor(shell::Operacao::Pendencias), shell::ContextoAjuda::Pendencias},
        {new ui::frmNovo(programa, usuario), shell::ContextoAjuda::Novo},
        {new ui::frmSobre(programa), shell::ContextoAjuda::Sobre}};
    for (const auto &[criada, contexto] : casos) {
        std::unique_ptr<QDialog> janela(criada);
        QString pagina;
        bool ajudaAcimaDaModal = false;
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(janela.get()));
            QTest::keyClick(janela.get(), Qt::Key_F1);
            ui::frmAjuda &ajuda = ui::JanelaAjuda();
            pagina = ajuda.paginaAtual();
            ajudaAcimaDaModal = QApplication::activeModalWidget() == &ajuda;
            ajuda.close();
            janela->reject();
        });
        janela->exec();
        EXPECT_EQ(pagina, ui::PaginaDoContexto(contexto)) << janela->objectName();
        EXPECT_TRUE(ajudaAcimaDaModal) << janela->objectName();
    }
}

TEST_F(Principal, EnterNumaPerguntaQueDestroiRespondeNao) {
    for (const auto &[botoes, esperada] :
         {std::pair{base::Botoes::SimNaoPadraoNao, base::Resposta::Nao},
          std::pair{base::Botoes::SimNao, base::Resposta::Sim}}) {
        ui::UsuarioJanela usuario;
        QTimer::singleShot(0, [] {
            auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(caixa, nullptr);
            QTest::keyClick(caixa, Qt::Key_Return);
        });
        EXPECT_EQ(usuario.mensagem({}, "Excluir?", base::Icone::Pergunta, botoes), esperada);
    }
}

TEST_F(Principal, ExcecaoQualquerViraMensagemEOProgramaSegue) {
    teste::ConstrutorDeclaracao(programa.banco).geral();
    // A menu command, twice: the first failure did not end the program.
    PrincipalComDefeito principal(programa, usuario);
    principal.mnuSobre->trigger();
    principal.mnuSobre->trigger();
    // The picker's OK: the operation fails, the picker closes with nothing done.
    ui::frmVLMs seletor(programa, usuario, principal.progresso());
    seletor.operacoes.abrir = [](int) { throw std::out_of_range("linha"); };
    seletor.dbgVlms->selectRow(0);
    seletor.cmdOk->click();
    EXPECT_EQ(seletor.desfecho(), ui::frmVLMs::Desfecho::Nenhum);
    const QStringList m = usuario.resumos();
    ASSERT_EQ(m.size(), 3);
    for (const QString &r : m)
        EXPECT_TRUE(r.startsWith("x|ERRO|Ocorreu um erro interno no VLM-E")) << r;
    EXPECT_TRUE(m[1].endsWith("técnico: sobre quebrado") && m[2].endsWith("técnico: linha"));
}
