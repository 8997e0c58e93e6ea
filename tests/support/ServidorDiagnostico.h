#pragma once
// A stand-in for the diagnostic server on 127.0.0.1: answers every request
// with what the test scripted (a body and status, after a delay), closes
// the connection without answering, or never answers; records each request.
// Runs in the test's event loop, so the test must let the loop run while it
// waits (a blocking wait starves it).

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

namespace vlme::teste {

class ServidorDiagnostico : public QObject {
  public:
    enum class Modo { Responde, Fecha, Nunca };
    struct Pedido {
        QByteArray linhaInicial; // "POST /path HTTP/1.1"
        QByteArray cabecalhos;
        QByteArray corpo;
    };

    ServidorDiagnostico();
    // The host part for --url-diagnostico / VLME_URL_DIAGNOSTICO.
    QString host() const;

    void responde(const QByteArray &corpo, int status = 200) {
        modo = Modo::Responde, corpo_ = corpo, status_ = status;
    }

    Modo modo = Modo::Responde;
    int atrasoMs = 0;
    QList<Pedido> pedidos;

  private:
    void atende(QTcpSocket *socket);

    QTcpServer servidor_;
    QByteArray corpo_;
    int status_ = 200;
};

} // namespace vlme::teste
