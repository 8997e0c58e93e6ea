#pragma once
// What differs between the embedded file and the team server, behind one
// small interface: how a connection is made ready, how a writer takes its
// turn, how a consistent read begins, the schema's dialect, the reservations
// and how the program names the database to the user. Everything else in
// store speaks the SQL both understand. Internal to store.

#include <QString>
#include <QStringList>

#include <memory>

namespace vlme::store {

class Banco;
class Reservas;

class Motor {
  public:
    virtual ~Motor() = default;
    // Right after the connection opened: session settings, the text
    // comparison and folding our queries name.
    virtual void preparaConexao(Banco &banco) = 0;
    // Begins the outermost write transaction when it is this program's turn;
    // false, with nothing begun, while another program writes.
    virtual bool tentaEscrita(Banco &banco) = 0;
    // Begins a read that sees one saved state throughout.
    virtual QString inicioLeitura() const = 0;
    // The schema's commands (written for the file) in this backend's dialect.
    virtual QStringList dialeto(const QStringList &comandos) const = 0;
    // What the schema adds of this backend's own: the text comparison and
    // folding the queries name, where the connection does not bring them.
    virtual QStringList objetosProprios() const = 0;
    virtual std::unique_ptr<Reservas> reservas(Banco &banco) = 0;
    // Which database this is, as the main window shows it.
    virtual QString descricao() const = 0;
    // The native code of a failure means another program held what was needed.
    virtual bool ocupado(const QString &codigoNativo) const = 0;
};

} // namespace vlme::store
