// The start-up window (version shown, development labels hidden, closing on
// its own and telling start-up once), the about window and the system
// information it opens.

#include "shell/Programa.h"
#include "support/PastaTeste.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vlme;

TEST(frmSobre, TextosEInformacoesDoSistema) {
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.pasta = pasta.caminho();
    programa.versao = "5.0";

    ui::frmSobre sobre(programa);
    EXPECT_EQ(QStringList({sobre.windowTitle(), sobre.lblVersao->text(), sobre.lblTitulo->text(),
                           sobre.lblDescricao->text(), sobre.cmdOK->text()}),
              QStringList({"Sobre o VLM-E", "Versão 5.0", "VLM-E",
                           "Declaração do Coeficiente de Redução do Imposto de Importação", "OK"}));

    // The button opens our own dialog, modally over the about window.
    QStringList itens;
    QString pastaMostrada;
    QTimer::singleShot(0, [&] {
        auto *info = qobject_cast<ui::frmInformacoesSistema *>(QApplication::activeModalWidget());
        if (!info)
            return;
        for (int i = 0; i < info->lstInformacoes->topLevelItemCount(); ++i) {
            itens << info->lstInformacoes->topLevelItem(i)->text(0);
            if (itens.last() == QLatin1String("Pasta de dados"))
                pastaMostrada = info->lstInformacoes->topLevelItem(i)->text(1);
        }
        info->cmdFechar->click();
    });
    sobre.cmdSysInfo->click();
    EXPECT_EQ(itens.mid(0, 3), QStringList({"Programa", "Qt", "SQLite"}));
    EXPECT_EQ(pastaMostrada, QDir::toNativeSeparators(pasta.caminho()));

    QTimer::singleShot(0, &sobre, [&] { sobre.cmdOK->click(); });
    EXPECT_EQ(sobre.exec(), QDialog::Accepted);
}

TEST(frmSplash, MostraAVersaoFechaSozinhoEAvisaUmaVez) {
    ui::frmSplash splash("5.0");
    QSignalSpy fechado(&splash, &ui::frmSplash::fechado);
    splash.objTempo->setInterval(10);
    splash.objTempo->start();
    splash.show();
    EXPECT_EQ(splash.lblVersao->text() + "|" + splash.lblSombra->text(), "Versão 5.0|Versão 5.0");
    EXPECT_FALSE(splash.lblDesenvolvimento->isVisible() ||
                 splash.lblDesenvolvimentoSombra->isVisible());
    ASSERT_TRUE(fechado.wait(2000));
    EXPECT_FALSE(splash.isVisible());
    splash.close();
    QTest::qWait(20);
    EXPECT_EQ(fechado.count(), 1);
}
