#pragma once
// While a statement window is open on the team server: notices a lost
// connection even when nobody types (the server restarted, the network
// failed), says so in a band over the window with the time it was lost, and
// tries again every second in the background, never freezing the window: a
// plain connection attempt first, which waits for nothing, and the real
// reconnection, with the reservations taken back, as soon as the server
// answers. Lives as long as the window it watches. UI thread only.

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QTcpSocket;
class QWidget;

namespace vlme::shell {
struct Programa;
}

namespace vlme::ui {

class RetomadaServidor : public QObject {
  public:
    // Watches `janela` (a statement window, its layout a box) until it goes.
    RetomadaServidor(shell::Programa &programa, QWidget *janela);

  private:
    void tique();
    void tenta();
    void mostra(const QString &texto);

    shell::Programa &programa_;
    QTimer tempo_;
    QLabel *faixa_;
    QPointer<QTcpSocket> sonda_;
    QDateTime desde_;
};

} // namespace vlme::ui
