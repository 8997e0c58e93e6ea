#pragma once
// A stand-in for the diagnostic server on 127.0.0.1: answers with the scripted
// body and HTTP status after `atrasoMs`; status -1 closes without answering, 0
// never answers, 3xx sends the client back to the same address. Records each request. Lives in the
// test's event loop.

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace vlme::teste {

class ServidorDiagnostico {
  public:
    ServidorDiagnostico() {
        servidor_.listen(QHostAddress::LocalHost);
        QObject::connect(&servidor_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = servidor_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { atende(s); });
            }
        });
    }
    // The host part, for --url-diagnostico or VLME_URL_DIAGNOSTICO.
    QString host() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(servidor_.serverPort());
    }
    void responde(const QByteArray &corpo, int status = 200) { corpo_ = corpo, status_ = status; }

    int atrasoMs = 0;
    QList<QByteArray> pedidos; // each as its first line, a blank and its body

  private:
    void atende(QTcpSocket *s) {
        const QByteArray r = s->property("r").toByteArray() + s->readAll();
        s->setProperty("r", r);
        const qsizetype fim = r.indexOf("\r\n\r\n");
        const QByteArray tamanho =
            r.mid(r.toLower().indexOf("content-length:") + 15).split('\r')[0];
        if (fim < 0 || r.size() - fim - 4 < tamanho.trimmed().toInt())
            return;
        pedidos << r.left(r.indexOf("\r\n")) + ' ' + r.mid(fim + 4);
        if (status_ <= 0)
            return status_ < 0 ? s->disconnectFromHost() : void();
        const QByteArray resposta =
            "HTTP/1.1 " + QByteArray::number(status_) +
            " X\r\nContent-Length: " + QByteArray::number(corpo_.size()) +
            (status_ / 100 == 3 ? "\r\nLocation: " + r.split(' ').value(1) : QByteArray()) +
            "\r\nConnection: close\r\n\r\n" + corpo_;
        QTimer::singleShot(atrasoMs, s,
                           [s, resposta] { s->write(resposta), s->disconnectFromHost(); });
    }

    QTcpServer servidor_;
    QByteArray corpo_;
    int status_ = 200;
};

} // namespace vlme::teste
