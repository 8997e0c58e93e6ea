#include "store/servidor/ReservasServidor.h"

#include "store/Banco.h"

#include <QScopeGuard>

#include <utility>

namespace vlme::store::servidor {

ReservasServidor::~ReservasServidor() {
    // The connection may already be closed, and the locks with it.
    if (vezes_.isEmpty() || !banco_.aberto())
        return;
    try {
        banco_.executa(QStringLiteral("SELECT pg_advisory_unlock_all()"));
    } catch (const ErroBanco &) {
    }
}

bool ReservasServidor::reserva(int numero, const Titular &eu, std::optional<Titular> *outro) {
    auto it = vezes_.find(numero);
    if (it != vezes_.end()) {
        ++*it;
        return true;
    }
    if (!banco_.escalar(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"), {chave_, numero})
             .toBool()) {
        if (outro)
            *outro = titular(numero);
        return false;
    }
    vezes_.insert(numero, 1);
    if (sessao_ == 0)
        sessao_ = banco_.escalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
    // Not left held when its holder could not be written.
    auto solta = qScopeGuard([&] { libera(numero); });
    // Who holds it, for those refused; rows of connections that are gone go,
    // whichever statement they were for.
    Transacao t(banco_);
    banco_.executa(QStringLiteral("DELETE FROM RESERVA_VLME"
                                  " WHERE PID_RESERVA NOT IN (SELECT pid FROM pg_stat_activity)"));
    banco_.executa(QStringLiteral("DELETE FROM RESERVA_VLME WHERE NR_VLM_RESERVA = ?"
                                  " AND PID_RESERVA = pg_backend_pid()"),
                   {numero});
    banco_.executa(
        QStringLiteral("INSERT INTO RESERVA_VLME (NR_VLM_RESERVA, PID_RESERVA,"
                       " PROGRAMA_RESERVA, USUARIO_RESERVA, MAQUINA_RESERVA,"
                       " DESDE_RESERVA) VALUES (?, pg_backend_pid(), ?, ?, ?, ?)"),
        {numero, eu.programa, eu.usuario, eu.maquina, eu.desde.toString(Qt::ISODateWithMs)});
    t.confirma();
    solta.dismiss();
    return true;
}

void ReservasServidor::libera(int numero) {
    auto it = vezes_.find(numero);
    if (it == vezes_.end() || --*it > 0)
        return;
    vezes_.erase(it);
    if (!banco_.aberto())
        return;
    try {
        banco_.executa(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"), {chave_, numero});
    } catch (const ErroBanco &) {
        // A lost connection has let go already.
    }
}

void ReservasServidor::retoma() {
    // A network that went silent leaves the old session, and its locks,
    // alive on the server until the server notices: it is ended first (a
    // role may end its own sessions).
    if (const qint64 antiga = std::exchange(sessao_, 0); antiga != 0 && !vezes_.isEmpty()) {
        try {
            banco_.escalar(QStringLiteral("SELECT pg_terminate_backend(?, 5000)"), {antiga});
        } catch (const ErroBanco &) {
            // Already gone, or not ours to end: the locks below say.
        }
    }
    const QHash<int, int> tidas = std::exchange(vezes_, {});
    const Titular eu = Titular::Este();
    std::optional<ErroReservada> tomada;
    for (auto it = tidas.cbegin(); it != tidas.cend() && !tomada; ++it) {
        std::optional<Titular> outro;
        if (!reserva(it.key(), eu, &outro))
            tomada.emplace(it.key(), outro);
    }
    vezes_ = tidas;
    if (tomada)
        throw *tomada;
}

std::optional<Titular> ReservasServidor::titular(int numero) {
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT l.pid, r.PROGRAMA_RESERVA, r.USUARIO_RESERVA, r.MAQUINA_RESERVA,"
                       " r.DESDE_RESERVA FROM pg_locks l LEFT JOIN RESERVA_VLME r"
                       " ON r.PID_RESERVA = l.pid AND r.NR_VLM_RESERVA = ?"
                       " WHERE l.locktype = 'advisory' AND l.granted AND l.objsubid = 2"
                       " AND l.classid = ?::int::oid AND l.objid = ?::int::oid"
                       " AND l.database = (SELECT oid FROM pg_database"
                       " WHERE datname = current_database())"),
        {numero, chave_, numero});
    if (!banco_.proxima(q))
        return std::nullopt;
    Titular t;
    t.processo = q.value(0).toLongLong();
    t.programa = q.value(1).toString();
    t.usuario = q.value(2).toString();
    t.maquina = q.value(3).toString();
    t.desde = QDateTime::fromString(q.value(4).toString(), Qt::ISODateWithMs);
    if (t.programa.isEmpty())
        t.programa = QStringLiteral("VLM-E");
    return t;
}

} // namespace vlme::store::servidor
