// The small windows: progress (cancelling, the pointer put back, step and
// bar), start-up (version, closing once), about with its system information;
// the help: every window's topic number leads to its page, every link between
// pages works, the index filter, and the one help window of the program.

#include "ui/Janelas.h"
#include "ui/shell/frmGauge.h"
#include "ui/shell/frmSplash.h"

#include <QDialog>
#include <QDirIterator>
#include <QProgressBar>
#include <QSet>
#include <QSignalSpy>
#include <QTextBrowser>

using namespace vlme;
using teste::Janelas;
namespace C = shell::ContextoAjuda;

namespace {

using Gauge = Janelas;

int formaCursor() {
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : -1;
}

QStringList visiveis(const QListWidget *lista) {
    QStringList t;
    for (int i = 0; i < lista->count(); ++i)
        if (!lista->item(i)->isHidden())
            t << lista->item(i)->text();
    return t;
}

QString texto(const QString &pagina) {
    return QString::fromStdString(teste::LeBytes(":/ajuda/" + pagina));
}

} // namespace

// Cancel and Esc both ask; No lets the work go on under the hourglass, a
// step that cannot be interrupted asks nothing, and Yes closes at once. The
// window holds the keyboard from its opening: Enter there is its Cancel.
TEST_F(Gauge, NaoDeixaAOperacaoSeguirSimFechaNaHoraENuncaFechaMudo) {
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    ui::frmGauge gauge(usuario);
    base::Progresso &progresso = gauge;
    progresso.abre();
    usuario.responde(base::Resposta::Nao);
    usuario.responde(base::Resposta::Nao);
    gauge.cmdCancelar->click();
    QTest::keyClick(&gauge, Qt::Key_Escape);
    EXPECT_EQ(usuario.resumos(),
              QStringList(2, "?|Cancelar|Deseja mesmo interromper o processo ?|SimNao"));
    EXPECT_TRUE(gauge.isVisible() && progresso.unidade());
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_EQ(formaCursor(), Qt::WaitCursor);

    gauge.permiteCancelar(false);
    EXPECT_FALSE(gauge.cmdCancelar->isEnabled());
    QTest::keyClick(&gauge, Qt::Key_Escape);
    gauge.close();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(usuario.mensagens.size(), 2u);
    progresso.fecha();
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor); // the pointer from before

    // The next opening can be cancelled again.
    progresso.abre();
    EXPECT_TRUE(gauge.cmdCancelar->isEnabled());
    gauge.passo("Calculando tamanho");
    gauge.faixa(0, 40);
    gauge.valor(10);
    // What the work reports is shown at the next refresh, a few tens of
    // milliseconds later.
    const auto barra = [&] {
        QTest::qWait(50);
        progresso.unidade();
        return gauge.fraGauge->title() +
               QString(" %1/%2").arg(gauge.pbrGauge->value()).arg(gauge.pbrGauge->maximum());
    };
    EXPECT_EQ(barra(), "Calculando tamanho 10/40");
    gauge.valor(41); // past the end: a full bar, not the old value
    EXPECT_EQ(barra(), "Calculando tamanho 40/40");
    usuario.responde(base::Resposta::Sim);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&gauge));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(gauge.Cancelado && progresso.cancelado());
    EXPECT_FALSE(gauge.isVisible() || progresso.unidade());
    EXPECT_EQ(formaCursor(), Qt::PointingHandCursor);
    // The operation closes it again: nothing is restored twice.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    progresso.fecha();
    EXPECT_EQ(formaCursor(), Qt::CrossCursor);
    // It keeps its value until the next opening.
    EXPECT_TRUE(gauge.Cancelado);
    progresso.abre();
    EXPECT_FALSE(gauge.Cancelado);
    EXPECT_TRUE(progresso.unidade());
    progresso.fecha();
}

// The version comes from the program; the system information (listed by the
// core) opens modally over the about window.
TEST_F(Janelas, SobreESplashMostramAVersao) {
    programa.versao = "5.0";
    ui::frmSobre sobre(programa);
    EXPECT_EQ(sobre.lblVersao->text(), "Versão 5.0");
    int itens = 0;
    QTimer::singleShot(0, [&] {
        auto *info = qobject_cast<ui::frmInformacoesSistema *>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        itens = info->lstInformacoes->topLevelItemCount();
        info->cmdFechar->click();
    });
    sobre.cmdSysInfo->click();
    EXPECT_GT(itens, 3);
    QTimer::singleShot(0, &sobre, [&] { sobre.cmdOK->click(); });
    EXPECT_EQ(sobre.exec(), QDialog::Accepted);

    // The start-up window shows it too, closes by itself and says so once.
    ui::frmSplash splash("5.0");
    QSignalSpy fechado(&splash, &ui::frmSplash::fechado);
    splash.objTempo->setInterval(10);
    splash.objTempo->start();
    splash.show();
    EXPECT_EQ(splash.lblVersao->text() + "|" + splash.lblSombra->text(), "Versão 5.0|Versão 5.0");
    ASSERT_TRUE(fechado.wait(2000));
    EXPECT_FALSE(splash.isVisible());
    splash.close();
    QTest::qWait(20);
    EXPECT_EQ(fechado.count(), 1);
}

// Each window's topic number (data/janelas/contextos_ajuda.txt: number, page).
TEST(Ajuda, CadaContextoTemSuaPaginaListadaUmaVezComLinksQueLevamAPaginasExistentes) {
    for (const QStringList &c : teste::Casos("../janelas/contextos_ajuda.txt"))
        EXPECT_EQ(ui::PaginaDoContexto(c[0].section(' ', 0, 0).toInt()), c[0].section(' ', 1))
            << c[0];
    QSet<QString> listadas;
    QSet<int> contextos;
    for (const ui::TopicoAjuda &t : ui::TopicosAjuda()) {
        listadas.insert(t.pagina);
        for (int c : t.contextos) {
            EXPECT_FALSE(contextos.contains(c)) << "contexto repetido " << c;
            contextos.insert(c);
        }
        // Each page's heading is the title the contents show.
        EXPECT_TRUE(texto(t.pagina).contains(QStringLiteral("<h1>") + t.titulo + "</h1>"))
            << t.pagina.toStdString();
    }
    EXPECT_EQ(listadas.size(), ui::TopicosAjuda().size()); // each page once
    EXPECT_TRUE(listadas.contains(ui::PaginaInicial()));

    QSet<QString> existentes;
    for (QDirIterator it(":/ajuda", {"*.html"}); it.hasNext();)
        existentes.insert(QFileInfo(it.next()).fileName());
    EXPECT_EQ(existentes, listadas);

    const QRegularExpression link("href=\"([^\"#:]+)\"");
    for (const QString &pagina : existentes) {
        for (auto m = link.globalMatch(texto(pagina)); m.hasNext();) {
            const QString alvo = m.next().captured(1);
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/ajuda/") + alvo))
                << pagina.toStdString() << " -> " << alvo.toStdString();
        }
    }
}

// While an operation runs no other window takes input; after a "Não" the
// keyboard is the progress window's again.
TEST_F(Gauge, OutrasJanelasNaoRecebemNadaEnquantoAberta) {
    QPushButton outra("Incluir");
    int cliques = 0;
    QObject::connect(&outra, &QPushButton::clicked, [&] { ++cliques; });
    outra.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&outra));
    ui::frmGauge gauge(usuario);
    base::Progresso &progresso = gauge;
    progresso.abre();
    // Through the window, as the system delivers a click, so that modality counts.
    const auto clica = [&] {
        QTest::mouseClick(outra.windowHandle(), Qt::LeftButton, {}, outra.rect().center());
    };
    clica();
    EXPECT_TRUE(progresso.unidade());
    EXPECT_EQ(cliques, 0);
    usuario.responde(base::Resposta::Nao);
    gauge.cmdCancelar->click();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&gauge));
    progresso.fecha();
    clica();
    EXPECT_EQ(cliques, 1);
}

// A tab chosen by its key takes the keyboard to what it holds.
TEST(Ajuda, AbaEscolhidaPelaTeclaLevaOTeclado) {
    ui::frmAjuda ajuda;
    ajuda.mostraConteudo();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ajuda));
    ajuda.txtPagina->setFocus(); // reading a page
    QTest::keyClick(&ajuda, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ajuda.txtProcurar);
    QTest::keyClick(&ajuda, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ajuda.trvConteudo);
}

TEST(Ajuda, IndiceFiltraSemAcentosEAbreAPaginaDaEntrada) {
    ui::frmAjuda ajuda;
    ajuda.mostraTopico(C::Principal);
    ajuda.mostraIndice();
    EXPECT_EQ(ajuda.tabAjuda->currentIndex(), 1);
    const int total = ajuda.lstIndice->count();
    ASSERT_GT(total, 20);

    QTest::keyClicks(ajuda.txtProcurar, "COPIA DE SEG");
    EXPECT_EQ(visiveis(ajuda.lstIndice), QStringList("Cópia de segurança e restauração"));
    QTest::keyClick(ajuda.txtProcurar, Qt::Key_Return);
    EXPECT_EQ(ajuda.paginaAtual(), "backup.html");

    // A word of two pages names each page's topic.
    ajuda.txtProcurar->setText("coeficiente de redu");
    EXPECT_EQ(visiveis(ajuda.lstIndice),
              QStringList({"coeficiente de redução (Dados gerais)",
                           "coeficiente de redução (Resumo do demonstrativo)"}));

    // Opening the index again starts from the whole list.
    ajuda.mostraIndice();
    EXPECT_TRUE(ajuda.txtProcurar->text().isEmpty());
    EXPECT_EQ(visiveis(ajuda.lstIndice).size(), total);
}

TEST(Ajuda, JanelaDoProgramaServeATodasAsJanelasESemPrincipalSaiAoFechar) {
    ui::MostraAjuda(C::Modelo);
    ui::frmAjuda &programa = ui::JanelaAjuda();
    ui::MostraAjuda(C::Excluir);
    EXPECT_EQ(&ui::JanelaAjuda(), &programa);
    EXPECT_EQ(programa.paginaAtual(), "excluir.html");
    // An unknown number shows the first page.
    EXPECT_FALSE(programa.mostraTopico(4321));
    EXPECT_EQ(programa.paginaAtual(), "principal.html");
    QPointer<ui::frmAjuda> vigia(&programa);
    programa.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(vigia.isNull());
}
