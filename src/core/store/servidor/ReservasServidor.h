#pragma once
// Reservations on the team server: a session advisory lock per statement,
// which the server drops with the holder's connection, however it ends. Who
// holds it is written beside it in RESERVA_VLME, one row per connection; the
// lock alone decides, so a row left by a connection that is gone means
// nothing and is cleared by the next one to reserve.

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

  private:
    Banco &banco_;
    int chave_;
    QHash<int, int> vezes_;
    // The server session that holds them.
    qint64 sessao_ = 0;
};

} // namespace vlme::store::servidor
