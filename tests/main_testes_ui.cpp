#include "ui/shell/EstiloVLME.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "shell/Inicializacao.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // The keyboard tests run on a real X server (scripts/tela-teste.sh).
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vlme::ui::InstalaEstilo();
    vlme::shell::PreparaPrograma();
    ::testing::InitGoogleTest(&argc, argv);

    // A dialog left open for ten seconds fails the test and is closed.
    QPointer<QWidget> modal;
    int segundos = 0;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        QWidget *atual = QApplication::activeModalWidget();
        segundos = atual && atual == modal ? segundos + 1 : 0;
        modal = atual;
        if (segundos < 10)
            return;
        ADD_FAILURE() << "janela modal sem resposta: " << atual->objectName().toStdString();
        atual->close(); // a dialog's close rejects it
        segundos = 0;
    });
    vigia.start(1000);
    return RUN_ALL_TESTS();
}
