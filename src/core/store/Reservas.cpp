#include "store/Reservas.h"

#include "base/Erros.h"
#include "store/Banco.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace vlme::store {

Titular Titular::Este() {
    QString usuario = qEnvironmentVariable("USER");
    if (usuario.isEmpty())
        usuario = QDir::home().dirName();
    const QString nome = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return {nome.startsWith(QLatin1String("vlme-cli")) ? QStringLiteral("vlme-cli")
                                                       : QStringLiteral("VLM-E"),
            usuario, QSysInfo::machineHostName(), QDateTime::currentDateTime(),
            QCoreApplication::applicationPid()};
}

QString TextoTitular(const std::optional<Titular> &t) {
    return t ? base::Mensagem("TEXTO_RESERVADA_POR", t->programa, t->usuario, t->maquina,
                              t->desde.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
             : base::Mensagem("TEXTO_RESERVADA_OUTRO");
}

ErroReservada::ErroReservada(int numero, const std::optional<Titular> &titular, const char *chave)
    : base::ErroVLME(base::Mensagem(chave, numero, TextoTitular(titular))), numero_(numero),
      titular_(titular) {}

ErroRetomando::ErroRetomando(int numero)
    : base::ErroVLME(base::Mensagem("ERRO_RETOMANDO", numero)) {}

Reserva::Reserva(Banco &banco, int numero) : banco_(banco), numero_(numero) {
    std::optional<Titular> outro;
    if (!banco_.reservas().reserva(numero, Titular::Este(), &outro))
        throw ErroReservada(numero, outro);
}

// Through the connection, not a kept backend: the connection may have been
// closed (and its reservations with it) first.
Reserva::~Reserva() {
    if (lembra_)
        banco_.reservas().esqueceVersao(numero_);
    banco_.reservas().libera(numero_);
}

void Reserva::lembraVersao(qint64 versao) {
    banco_.reservas().lembraVersao(numero_, versao);
    lembra_ = true;
}

std::optional<qint64> Reservas::versaoLida(int numero) const {
    const auto i = versoes_.constFind(numero);
    if (i == versoes_.cend())
        return std::nullopt;
    return *i;
}

} // namespace vlme::store
