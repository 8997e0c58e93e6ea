// The start-up window: its version text, hidden development labels, its two
// seconds, and that closing it finishes start-up exactly once.

#include "ui/shell/frmSplash.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlme;

TEST(frmSplash, MostraAVersaoEEscondeODesenvolvimento) {
    ui::frmSplash splash("5.0");
    splash.show();
    EXPECT_EQ(splash.lblVersao->text(), "Versão 5.0");
    EXPECT_EQ(splash.lblSombra->text(), "Versão 5.0");
    EXPECT_FALSE(splash.lblDesenvolvimento->isVisible());
    EXPECT_FALSE(splash.lblDesenvolvimentoSombra->isVisible());
    EXPECT_EQ(splash.objTempo->interval(), 2000);
    EXPECT_TRUE(splash.objTempo->isActive());
    EXPECT_EQ(splash.findChild<QLabel *>("lblVersao"), splash.lblVersao);
}

TEST(frmSplash, FechaSozinhoEAvisaUmaVez) {
    ui::frmSplash splash("5.0");
    QSignalSpy fechado(&splash, &ui::frmSplash::fechado);
    splash.objTempo->setInterval(10);
    splash.objTempo->start();
    splash.show();
    ASSERT_TRUE(fechado.wait(2000));
    EXPECT_FALSE(splash.isVisible());
    splash.close();
    QTest::qWait(20);
    EXPECT_EQ(fechado.count(), 1);
}
