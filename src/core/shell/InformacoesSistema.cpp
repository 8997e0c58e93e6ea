#include "shell/InformacoesSistema.h"

#include "shell/Programa.h"

#include <QDir>
#include <QLocale>
#include <QSysInfo>
#include <QtGlobal>

#include <sqlite3.h>

namespace vlme::shell {

QString VersaoSQLite(Programa &programa) {
    store::Banco &banco = programa.banco;
    if (banco.aberto()) {
        try {
            const QString versao =
                banco.escalar(QStringLiteral("SELECT sqlite_version()")).toString();
            if (!versao.isEmpty())
                return versao;
        } catch (const store::ErroBanco &) {
            // Fall back to the library linked in.
        }
    }
    return QString::fromLatin1(sqlite3_libversion());
}

QList<std::pair<QString, QString>> InformacoesSistema(Programa &programa) {
    QList<std::pair<QString, QString>> itens;
    itens.append({QStringLiteral("Programa"), QStringLiteral("VLM-E versão ") + programa.versao});
    itens.append({QStringLiteral("Qt"), QString::fromLatin1(qVersion())});
    itens.append({QStringLiteral("SQLite"), VersaoSQLite(programa)});
    itens.append({QStringLiteral("Pasta de dados"), QDir::toNativeSeparators(programa.pasta)});
    // The file's path, or the team server's address.
    itens.append({QStringLiteral("Banco de dados"), programa.banco.aberto()
                                                        ? programa.banco.descricao()
                                                        : QStringLiteral("(fechado)")});
    itens.append({QStringLiteral("Sistema operacional"), QSysInfo::prettyProductName()});
    itens.append({QStringLiteral("Núcleo"),
                  QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()});
    itens.append({QStringLiteral("Arquitetura"), QSysInfo::currentCpuArchitecture()});
    itens.append({QStringLiteral("Idioma do sistema"), QLocale::system().name()});
    return itens;
}

} // namespace vlme::shell
