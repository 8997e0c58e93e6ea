#pragma once
// A network that silently stops answering (no reset, no close: a dead link
// behind a router that still acknowledges) leaves libpq waiting on its socket
// for good, whatever keepalives are set. The vigia watches every call sent to
// the server: one left without an answer for the limit has its socket shut
// down, so libpq returns a lost connection, the server rolls the transaction
// back and the user is told. The limit is 20 s, or VLME_SILENCIO_SERVIDOR_MS.

#include <QSqlDatabase>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vlme::store::servidor {

// The connection behind `db` is gone (closed, reset, shut down by the vigia).
bool ConexaoPerdida(const QSqlDatabase &db);
// Looks, without waiting, at an idle connection: false when the server has
// closed it or the network has failed under it.
bool ConfereConexao(const QSqlDatabase &db);

class Vigia {
  public:
    // Watches the socket of the open connection `db` until destroyed, which
    // must come before that connection closes.
    explicit Vigia(const QSqlDatabase &db);
    ~Vigia();
    Vigia(const Vigia &) = delete;
    Vigia &operator=(const Vigia &) = delete;

    // Cuts the call in progress short, as the limit would: the user gave
    // its wait up. Any thread.
    void corta();

    // One call to the server, from construction to destruction.
    class Vez {
      public:
        explicit Vez(Vigia *vigia);
        ~Vez();
        Vez(const Vez &) = delete;
        Vez &operator=(const Vez &) = delete;

      private:
        Vigia *vigia_;
    };

  private:
    void vigia();
    int socket_;
    qint64 limite_;
    // When the call in progress began (steady clock, ms); 0 when none is.
    std::atomic<qint64> desde_{0};
    std::mutex mutex_;
    std::condition_variable acorda_;
    bool fim_ = false;
    std::thread thread_;
};

} // namespace vlme::store::servidor
