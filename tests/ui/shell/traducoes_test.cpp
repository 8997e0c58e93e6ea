// Once the program's translations are in, Qt's standard dialogs and buttons
// speak Portuguese.

#include "ui/shell/Main.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(TraducoesQt, DialogosPadraoEmPortugues) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pt_BR.qm"))
        GTEST_SKIP() << "traduções do Qt (qt6-translations-l10n) não instaladas";
    ASSERT_TRUE(vlme::ui::InstalaTraducoesQt(*QCoreApplication::instance()));
    const QDialogButtonBox caixa(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    const QStringList textos = {caixa.button(QDialogButtonBox::Cancel)->text(),
                                caixa.button(QDialogButtonBox::Save)->text(),
                                QCoreApplication::translate("QFileDialog", "File &name:"),
                                QCoreApplication::translate("QFileDialog", "Look in:")};
    for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>())
        delete t; // leaves the other tests in English
    EXPECT_EQ(textos, QStringList({"Cancelar", "Salvar", "&Nome do arquivo:", "Procurar em:"}));
}
