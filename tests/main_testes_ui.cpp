#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    // A dialog left open for ten seconds fails the test and is closed.
    QPointer<QWidget> modal;
    int segundos = 0;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        QWidget *atual = QApplication::activeModalWidget();
        if (!atual || atual != modal) {
            modal = atual;
            segundos = 0;
            return;
        }
        if (++segundos < 10)
            return;
        ADD_FAILURE() << "janela modal sem resposta: " << atual->objectName().toStdString();
        if (auto *dialogo = qobject_cast<QDialog *>(atual))
            dialogo->reject();
        else
            atual->close();
        segundos = 0;
    });
    vigia.start(1000);
    return RUN_ALL_TESTS();
}
