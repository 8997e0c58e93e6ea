#include "shell/BancoEquipe.h"

#include "store/servidor/UrlServidor.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace vlme::shell {

namespace {

const QString ChaveURL = QStringLiteral("banco/url");
const QString ChaveMinutos = QStringLiteral("declaracao/minutosSemUso");
constexpr int MinutosPadrao = 30;

} // namespace

BancoLembrado::BancoLembrado(const QString &arquivo) : arquivo_(arquivo) {
    if (arquivo_.isEmpty())
        arquivo_ = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                       .filePath(QStringLiteral("banco.ini"));
}

QString BancoLembrado::url() const {
    return QSettings(arquivo_, QSettings::IniFormat).value(ChaveURL).toString();
}

void BancoLembrado::lembra(const QString &url) {
    QSettings s(arquivo_, QSettings::IniFormat);
    if (url.trimmed().isEmpty())
        s.remove(ChaveURL);
    else
        s.setValue(ChaveURL, store::servidor::URLVisivel(url.trimmed()));
    s.sync();
}

int BancoLembrado::minutosSemUso() const {
    bool ok = false;
    const int m =
        QSettings(arquivo_, QSettings::IniFormat).value(ChaveMinutos, MinutosPadrao).toInt(&ok);
    return ok && m > 0 ? m : MinutosPadrao;
}

void BancoLembrado::lembraMinutosSemUso(int minutos) {
    QSettings s(arquivo_, QSettings::IniFormat);
    s.setValue(ChaveMinutos, minutos);
    s.sync();
}

QString URLComSenha(const QString &url, const QString &senha) {
    if (senha.isEmpty())
        return url;
    QUrl u(url);
    u.setPassword(senha);
    // As libpq reads it: nothing of the query decoded.
    return u.toString(QUrl::FullyEncoded);
}

} // namespace vlme::shell
