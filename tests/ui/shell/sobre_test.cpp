// The about window and the system information it opens.

#include "shell/Programa.h"
#include "support/PastaTeste.h"
#include "ui/shell/frmSobre.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vlme;

TEST(frmSobre, TextosEInformacoesDoSistema)
{
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.pasta = pasta.caminho();
    programa.versao = QStringLiteral("5.0");

    ui::frmSobre sobre(programa);
    EXPECT_EQ(sobre.windowTitle(), QStringLiteral("Sobre o VLM-E"));
    EXPECT_EQ(sobre.lblVersao->text(), QStringLiteral("Versão 5.0"));
    EXPECT_EQ(sobre.lblTitulo->text(), QStringLiteral("VLM-E"));
    EXPECT_EQ(sobre.lblDescricao->text(),
              QStringLiteral("Declaração do Coeficiente de Redução do Imposto de Importação"));
    EXPECT_EQ(sobre.findChild<QLabel *>(QStringLiteral("lblVersao")), sobre.lblVersao);
    EXPECT_EQ(sobre.cmdOK->text(), QStringLiteral("OK"));

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
    EXPECT_TRUE(itens.contains(QStringLiteral("Programa")));
    EXPECT_TRUE(itens.contains(QStringLiteral("Qt")));
    EXPECT_TRUE(itens.contains(QStringLiteral("SQLite")));
    EXPECT_TRUE(itens.contains(QStringLiteral("Sistema operacional")));
    EXPECT_EQ(pastaMostrada, QDir::toNativeSeparators(pasta.caminho()));

    QTimer::singleShot(0, &sobre, [&] { sobre.cmdOK->click(); });
    EXPECT_EQ(sobre.exec(), QDialog::Accepted);
}
