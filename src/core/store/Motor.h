#pragma once
// What differs between the embedded file and the team server, behind one
// small interface: how a connection is made ready, how a writer takes its
// turn, how a consistent read begins, the schema's dialect, the reservations,
// how bulk rows reach the tables, how a backup file is filled and how the
// program names the database to the user. Everything else in store speaks
// the SQL both understand. Reached through Banco::motor.

#include <QString>
#include <QStringList>

#include <memory>

namespace vlme::store {

class Banco;
class Reservas;
class EscritaLote;
class CopiaParaArquivo;

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
    // The bulk writer's way of putting rows in the tables (GravacaoEmLote).
    virtual std::unique_ptr<EscritaLote> escritaLote(Banco &banco) = 0;
    // Fills `arquivo`, a new file of ours, with rows of this database.
    virtual std::unique_ptr<CopiaParaArquivo> copiaParaArquivo(Banco &banco,
                                                               const QString &arquivo) = 0;
    // The tables are an SQLite file's, as the schema code made them, so a
    // backup file is checked against them as they are.
    virtual bool tabelasDeArquivo() const = 0;
    // Which database this is, as the main window shows it.
    virtual QString descricao() const = 0;
    // Who and when a history row records: on the server its role and its
    // clock, which a clerk's machine cannot set; on the file this machine's
    // user. `agora` is an SQL expression giving ISO 8601 UTC text.
    virtual QString usuario(Banco &banco) = 0;
    virtual QString agora() const = 0;
    // The native code of a failure means another program held what was needed.
    virtual bool ocupado(const QString &codigoNativo) const = 0;
};

} // namespace vlme::store
