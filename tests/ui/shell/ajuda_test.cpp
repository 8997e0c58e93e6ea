// The help: every window's topic number leads to its page, every link between
// pages works, the index filter, and the one help window of the program.

#include "shell/ContextosAjuda.h"
#include "support/Arquivos.h"
#include "ui/shell/frmAjuda.h"

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlme;
namespace C = shell::ContextoAjuda;

namespace {

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

// Each window's topic number (data/janelas/contextos_ajuda.txt: number, page).
TEST(Ajuda, CadaContextoTemSuaPaginaListadaUmaVezComLinksQueLevamAPaginasExistentes) {
    const QString tabela =
        QString::fromStdString(teste::LeBytes(teste::DadoTeste("janelas/contextos_ajuda.txt")));
    for (const QString &linha : tabela.split('\n', Qt::SkipEmptyParts))
        EXPECT_EQ(ui::PaginaDoContexto(linha.section(' ', 0, 0).toInt()), linha.section(' ', 1))
            << linha.toStdString();
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
