#include "shell/PastasLembradas.h"

#include "shell/Pastas.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vlme::shell {

namespace {

QString chave(TipoArquivo tipo) {
    switch (tipo) {
    case TipoArquivo::Declaracao:
        return QStringLiteral("importacao/declaracao");
    case TipoArquivo::TabelaNCM:
        return QStringLiteral("importacao/tabelaNCM");
    case TipoArquivo::TabelaUnidades:
        break;
    }
    return QStringLiteral("importacao/tabelaUnidades");
}

} // namespace

PastasLembradas::PastasLembradas(const QString &arquivo) : arquivo_(arquivo) {
    if (arquivo_.isEmpty())
        arquivo_ = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                       .filePath(QStringLiteral("pastas.ini"));
}

QString PastasLembradas::pasta(TipoArquivo tipo) const {
    const QString lembrada =
        QSettings(arquivo_, QSettings::IniFormat).value(chave(tipo)).toString();
    if (!lembrada.isEmpty() && QFileInfo(lembrada).isDir())
        return lembrada;
    return QDir::homePath();
}

void PastasLembradas::lembra(TipoArquivo tipo, const QString &arquivoEscolhido) {
    if (arquivoEscolhido.isEmpty())
        return;
    QSettings s(arquivo_, QSettings::IniFormat);
    s.setValue(chave(tipo), QFileInfo(arquivoEscolhido).absolutePath());
    s.sync();
}

bool ArquivoDoPrograma(const QString &nome) {
    const QString n = nome.toUpper();
    const QString banco = QString::fromLatin1(NomeBanco);
    const QString modelo = QString::fromLatin1(NomeModelo);
    // The database's companions: -wal, -shm, -journal.
    return n == banco || n == modelo || n.startsWith(banco + QLatin1Char('-')) ||
           n.startsWith(modelo + QLatin1Char('-')) || n == QLatin1String("VLM.LOCK");
}

} // namespace vlme::shell
