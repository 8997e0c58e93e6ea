#include <QCoreApplication>

#include "shell/Inicializacao.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    vlme::shell::PreparaPrograma();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
