#pragma once
// Reservations: a statement being changed by one program (held open in a
// statement window, or written by an operation) is refused to every other
// writer, who is told who holds it. A reservation is held by something that
// ends with its holder (an operating-system lock, a database session), never
// by a row someone must clean up: a killed program frees its statements at
// once. Each backend implements Reservas; operations take a Reserva.
// UI thread only.

#include "base/ErroVLME.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vlme::store {

class Banco;

// Who holds a reservation.
struct Titular {
    QString programa; // "VLM-E" or "vlme-cli"
    QString usuario;
    QString maquina;
    QDateTime desde;
    qint64 processo = 0;

    // This program, now.
    static Titular Este();
};

class ErroReservada : public base::ErroVLME {
  public:
    // `chave`: the catalog's text, %1 the number and %2 the holder.
    ErroReservada(int numero, const std::optional<Titular> &titular,
                  const char *chave = "ERRO_RESERVADA");
    int numero() const { return numero_; }
    const std::optional<Titular> &titular() const { return titular_; }

  private:
    int numero_;
    std::optional<Titular> titular_;
};

// " pelo VLM-E do usuário ... desde ...", or " por outro programa" when not known.
QString TextoTitular(const std::optional<Titular> &titular);

// The backend's part. Reservations are counted per program: the holder may
// take the same statement again (the window's own operations on it).
class Reservas {
  public:
    virtual ~Reservas() = default;
    // True when taken (or already held here); otherwise false and, when
    // known, who holds it. Never waits.
    virtual bool reserva(int numero, const Titular &eu, std::optional<Titular> *outro) = 0;
    virtual void libera(int numero) = 0;
    // Who holds it now, when someone does (this program included).
    virtual std::optional<Titular> titular(int numero) = 0;
    // After a lost connection was opened again: takes again what this
    // program held. Throws ErroReservada for one another program took
    // meanwhile; the counts stay as they were, for the holders to let go.
    virtual void retoma() {}
};

// For databases that hold one statement for one program (a backup file).
class SemReservas final : public Reservas {
  public:
    bool reserva(int, const Titular &, std::optional<Titular> *) override { return true; }
    void libera(int) override {}
    std::optional<Titular> titular(int) override { return std::nullopt; }
};

// Holds statement `numero` from construction to destruction; throws
// ErroReservada when another program holds it.
class Reserva {
  public:
    Reserva(Banco &banco, int numero);
    ~Reserva();
    Reserva(const Reserva &) = delete;
    Reserva &operator=(const Reserva &) = delete;
    int numero() const { return numero_; }

  private:
    Banco &banco_;
    int numero_;
};

} // namespace vlme::store
