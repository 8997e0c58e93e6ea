#include "store/servidor/Vigia.h"

#include <QSqlDriver>
#include <QVariant>

#include <libpq-fe.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>

namespace vlme::store::servidor {

namespace {

PGconn *Conexao(const QSqlDatabase &db) {
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    return h.isValid() ? *static_cast<PGconn *const *>(h.data()) : nullptr;
}

qint64 Agora() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

bool ConexaoPerdida(const QSqlDatabase &db) {
    PGconn *c = Conexao(db);
    return !c || PQstatus(c) == CONNECTION_BAD;
}

bool ConfereConexao(const QSqlDatabase &db) {
    PGconn *c = Conexao(db);
    if (!c || PQstatus(c) == CONNECTION_BAD)
        return false;
    pollfd p{PQsocket(c), POLLIN, 0};
    // Something to read on an idle connection: the server's goodbye, its
    // end, or an error the keepalives found.
    if (p.fd < 0 || ::poll(&p, 1, 0) <= 0)
        return true;
    return PQconsumeInput(c) == 1 && PQstatus(c) != CONNECTION_BAD;
}

Vigia::Vigia(const QSqlDatabase &db) {
    PGconn *c = Conexao(db);
    socket_ = c ? PQsocket(c) : -1;
    bool ok = false;
    const qint64 ms = qEnvironmentVariableIntValue("VLME_SILENCIO_SERVIDOR_MS", &ok);
    limite_ = ok && ms > 0 ? ms : 20000;
    if (socket_ >= 0)
        thread_ = std::thread([this] { vigia(); });
}

Vigia::~Vigia() {
    {
        std::lock_guard trava(mutex_);
        fim_ = true;
    }
    acorda_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void Vigia::vigia() {
    // Arming is one atomic store per call; the thread only looks now and then.
    const auto passo = std::chrono::milliseconds(std::clamp<qint64>(limite_ / 8, 10, 1000));
    std::unique_lock trava(mutex_);
    while (!acorda_.wait_for(trava, passo, [this] { return fim_; })) {
        qint64 desde = desde_.load();
        if (desde != 0 && Agora() - desde >= limite_) {
            ::shutdown(socket_, SHUT_RDWR);
            desde_.compare_exchange_strong(desde, 0);
        }
    }
}

void Vigia::corta() {
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

Vigia::Vez::Vez(Vigia *vigia) : vigia_(vigia) {
    if (vigia_)
        vigia_->desde_.store(Agora());
}

Vigia::Vez::~Vez() {
    if (vigia_)
        vigia_->desde_.store(0);
}

} // namespace vlme::store::servidor
