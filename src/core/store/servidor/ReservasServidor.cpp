#include "store/servidor/ReservasServidor.h"

#include "store/Banco.h"
#include "store/servidor/MotorServidor.h"

#include <QScopeGuard>

#include <utility>

namespace vlme::store::servidor {

ReservasServidor::~ReservasServidor() {
    // The connection may already be closed, and the locks with it.
    if (vezes_.isEmpty() || !banco_.aberto() || banco_.conexaoPerdida())
        return;
    liberando_ = true;
    try {
        banco_.executa(QStringLiteral("SELECT pg_advisory_unlock_all()"));
    } catch (...) {
    }
}

int ReservasServidor::pendentes() const {
    if (liberando_)
        return 0;
    const QString atual = banco_.sessao();
    int n = 0;
    for (auto it = sessoes_.cbegin(); it != sessoes_.cend(); ++it)
        n += it.value() != atual;
    return n;
}

bool ReservasServidor::toma(int numero, const Titular &eu, std::optional<Titular> *outro,
                            QString *sessao) {
    if (!banco_.escalar(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"), {chave_, numero})
             .toBool()) {
        QSqlQuery q = banco_.executa(
            QStringLiteral("SELECT %1 FROM pg_locks l JOIN pg_stat_activity a ON a.pid = l.pid"
                           " WHERE l.locktype = 'advisory' AND l.granted AND l.objsubid = 2"
                           " AND l.classid = ?::int::oid AND l.objid = ?::int::oid"
                           " AND l.database = (SELECT oid FROM pg_database"
                           " WHERE datname = current_database())")
                .arg(IdentidadeSessao(QStringLiteral("a"))),
            {chave_, numero});
        if (sessao && banco_.proxima(q))
            *sessao = q.value(0).toString();
        if (outro)
            *outro = titular(numero);
        return false;
    }
    // Not left held when its holder could not be written.
    auto solta = qScopeGuard([&] {
        try {
            banco_.executa(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"), {chave_, numero});
        } catch (...) {
        }
    });
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

bool ReservasServidor::reserva(int numero, const Titular &eu, std::optional<Titular> *outro) {
    auto it = vezes_.find(numero);
    if (it != vezes_.end()) {
        // Held here, unless a lost connection took it: then only once it
        // is taken back (the connection's work does that first).
        if (sessoes_.value(numero) != banco_.sessao())
            banco_.retoma();
        ++*it;
        return true;
    }
    if (!toma(numero, eu, outro, nullptr))
        return false;
    vezes_.insert(numero, 1);
    sessoes_.insert(numero, banco_.sessao());
    return true;
}

void ReservasServidor::libera(int numero) {
    auto it = vezes_.find(numero);
    if (it == vezes_.end() || --*it > 0)
        return;
    vezes_.erase(it);
    // One a lost connection took goes with its old session.
    const bool aqui = sessoes_.take(numero) == banco_.sessao();
    if (!aqui || !banco_.aberto() || banco_.conexaoPerdida())
        return;
    liberando_ = true;
    const auto fim = qScopeGuard([this] { liberando_ = false; });
    try {
        banco_.executa(QStringLiteral("SELECT pg_advisory_unlock(?, ?)"), {chave_, numero});
    } catch (...) {
        // A lost connection has let go already.
    }
}

void ReservasServidor::retoma() {
    const QString atual = banco_.sessao();
    const Titular eu = Titular::Este();
    std::optional<ErroReservada> tomada;
    std::optional<int> retida;
    for (auto it = sessoes_.begin(); it != sessoes_.end(); ++it) {
        if (it.value() == atual)
            continue;
        std::optional<Titular> outro;
        QString sessao;
        bool tomou = false;
        // A holder gone between the try and the look is no holder: again.
        for (int vez = 0; vez < 3 && !tomou && sessao.isEmpty() && !outro; ++vez)
            tomou = toma(it.key(), eu, &outro, &sessao);
        if (tomou)
            it.value() = atual;
        else if (!sessao.isEmpty() && sessao == it.value())
            retida = retida.value_or(it.key());
        else if (!tomada)
            tomada.emplace(it.key(), outro);
    }
    if (tomada)
        throw *tomada;
    if (retida)
        throw ErroRetomando(*retida);
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
