#include "ServidorTeste.h"

#include "store/Banco.h"
#include "support/Arquivos.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <gtest/gtest.h>

namespace vlme::teste {

bool NoServidor() {
    return qEnvironmentVariable("VLME_TESTE_BACKEND") == QLatin1String("servidor");
}

// Not in a QTemporaryDir: the server's own user must reach the folder.
ServidorProprio::ServidorProprio(bool ssl)
    : pasta_(QDir::temp().filePath(QStringLiteral("vlme-proprio-%1-%2")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(QDateTime::currentMSecsSinceEpoch()))) {
    url_ = script("inicia", ssl ? QStringLiteral("ssl") : QString()).trimmed();
}

QString ServidorProprio::script(const char *acao, const QString &extra) {
    QProcess p;
    p.start(QStringLiteral(VLME_SERVIDOR_TESTE),
            QStringList{QString::fromLatin1(acao), pasta_, extra});
    p.waitForFinished(120000);
    if (p.exitCode() != 0)
        ADD_FAILURE() << acao << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString ComPapel(const QString &url, const QString &papel) {
    const qsizetype de = url.indexOf(QLatin1String("://")) + 3;
    return url.left(de) + papel + url.mid(url.indexOf(QLatin1Char('@'), de));
}

QString NovoEsquemaServidor(bool vazio) {
    static QAtomicInt proximo{0};
    const QString base = qEnvironmentVariable("VLME_TESTE_URL");
    if (base.isEmpty()) {
        ADD_FAILURE() << "VLME_TESTE_URL não está definida: rode os testes do servidor por ./test";
        return {};
    }
    const QString esquema = QStringLiteral("t%1_%2")
                                .arg(QCoreApplication::applicationPid())
                                .arg(proximo.fetchAndAddRelaxed(1));
    {
        const QUrl u(base);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), esquema);
        db.setHostName(u.host());
        db.setPort(u.port());
        db.setDatabaseName(u.path().mid(1));
        db.setUserName(u.userName());
        if (!db.open())
            ADD_FAILURE() << "servidor de teste: " << db.lastError().text().toStdString();
        for (const QString &c :
             QString::fromStdString(LeBytes(DadoTeste("store/esquema_servidor.sql")))
                 .split(";\n")) {
            QSqlQuery q(db);
            if (!q.exec(c.arg(esquema)))
                ADD_FAILURE() << "esquema de teste: " << q.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(esquema);
    // Encoded as libpq reads a URL: the option's own '=' and spaces too.
    const QString url =
        base + QStringLiteral("?options=") +
        QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=") + esquema));
    if (vazio)
        return url;
    {
        store::Banco dono;
        dono.abreServidor(url);
    }
    return ComPapel(url, QLatin1String(PapelEscrivao));
}

} // namespace vlme::teste
