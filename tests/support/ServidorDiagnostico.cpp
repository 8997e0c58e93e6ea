#include "support/ServidorDiagnostico.h"

#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

namespace vlme::teste {

ServidorDiagnostico::ServidorDiagnostico() {
    if (!servidor_.listen(QHostAddress::LocalHost))
        ADD_FAILURE() << "servidor de diagnóstico: " << servidor_.errorString().toStdString();
    connect(&servidor_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = servidor_.nextPendingConnection()) {
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QTcpSocket::readyRead, this, [this, s] { atende(s); });
        }
    });
}

QString ServidorDiagnostico::host() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(servidor_.serverPort());
}

void ServidorDiagnostico::atende(QTcpSocket *s) {
    // The whole request first: headers, then Content-Length bytes of body.
    QByteArray recebido = s->property("recebido").toByteArray() + s->readAll();
    s->setProperty("recebido", recebido);
    const qsizetype fim = recebido.indexOf("\r\n\r\n");
    if (fim < 0)
        return;
    const QByteArray cabecalhos = recebido.left(fim);
    qsizetype tamanho = 0;
    for (const QByteArray &linha : cabecalhos.split('\n'))
        if (linha.toLower().startsWith("content-length:"))
            tamanho = linha.mid(15).trimmed().toLongLong();
    if (recebido.size() < fim + 4 + tamanho || s->property("atendido").toBool())
        return;
    s->setProperty("atendido", true);
    const qsizetype quebra = cabecalhos.indexOf("\r\n");
    pedidos.append(
        {cabecalhos.left(quebra), cabecalhos.mid(quebra + 2), recebido.mid(fim + 4, tamanho)});
    if (modo == Modo::Nunca)
        return;
    if (modo == Modo::Fecha) {
        s->disconnectFromHost();
        return;
    }
    const QByteArray resposta = "HTTP/1.1 " + QByteArray::number(status_) +
                                " Resposta\r\nContent-Type: text/html\r\nContent-Length: " +
                                QByteArray::number(corpo_.size()) +
                                "\r\nConnection: close\r\n\r\n" + corpo_;
    QTimer::singleShot(atrasoMs, s, [s, resposta] {
        s->write(resposta);
        s->disconnectFromHost();
    });
}

} // namespace vlme::teste
