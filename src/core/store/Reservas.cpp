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

Reserva::Reserva(Banco &banco, int numero) : banco_(banco), numero_(numero) {
    std::optional<Titular> outro;
    if (!banco_.reservas().reserva(numero, Titular::Este(), &outro))
        throw ErroReservada(numero, outro);
}

// Through the connection, not a kept backend: the connection may have been
// closed (and its reservations with it) first.
Reserva::~Reserva() {
    banco_.reservas().libera(numero_);
}

} // namespace vlme::store
