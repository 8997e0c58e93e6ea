#pragma once
// Reservations beside VLM.MDB: one file per statement in the folder
// "Reservas", locked with flock while held; the holder is written in it for
// those refused. The system frees the lock when the holding process ends,
// however it ends, whatever the file still says. Descriptors are not passed
// on to programs this one starts.

#include "store/Reservas.h"

#include <QHash>
#include <QString>

namespace vlme::store::arquivo {

class ReservasArquivo final : public Reservas {
  public:
    // `pasta` holds the database file.
    explicit ReservasArquivo(const QString &pasta);
    ~ReservasArquivo() override;

    bool reserva(int numero, const Titular &eu, std::optional<Titular> *outro) override;
    void libera(int numero) override;
    std::optional<Titular> titular(int numero) override;

  private:
    QString arquivo(int numero) const;

    struct Tida {
        int descritor;
        int vezes;
    };
    QString pasta_;
    QHash<int, Tida> tidas_;
};

} // namespace vlme::store::arquivo
