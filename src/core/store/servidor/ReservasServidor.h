#pragma once
// Reservations on the team server: a session advisory lock per statement,
// which the server drops with the holder's connection, however it ends. Who
// holds it is written beside it in RESERVA_VLME, one row per connection; the
// lock alone decides, so a row left by a connection that is gone means
// nothing and is cleared by the next one to reserve.
//
// No session is ever ended here: with one role for a whole team the server
// would let a process number, which it reuses, end another clerk's session.
// A lost connection's old session keeps its locks until the server's own
// keepalive limits end it; each statement is taken back as soon as it is
// free, and one still held by that old session (known by its process number
// and start together) is told as such, never as held by someone else.

#include "store/Reservas.h"

#include <QHash>

namespace vlme::store::servidor {

class ReservasServidor final : public Reservas {
  public:
    ReservasServidor(Banco &banco, int chave) : banco_(banco), chave_(chave) {}
    ~ReservasServidor() override;

    bool reserva(int numero, const Titular &eu, std::optional<Titular> *outro) override;
    void libera(int numero) override;
    std::optional<Titular> titular(int numero) override;
    void retoma() override;
    int pendentes() const override;

  private:
    // Takes the lock and writes who holds it; false, with the holder, when
    // another session has it.
    bool toma(int numero, const Titular &eu, std::optional<Titular> *outro, QString *sessao);

    Banco &banco_;
    int chave_;
    QHash<int, int> vezes_;
    // The session each statement's lock was taken in (Banco::sessao): one
    // not the connection's present session is to be taken back.
    QHash<int, QString> sessoes_;
    // Letting go: the connection's work must not first try to take back
    // what is pending, which may refuse it.
    bool liberando_ = false;
};

} // namespace vlme::store::servidor
