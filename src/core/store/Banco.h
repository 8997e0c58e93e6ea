#pragma once
// The connection to one statement database file (VLM.MDB, a backup file, the
// template). Held for the program's life by start-up, shared with the other
// programs on the same folder (the window program, any number of vlme-cli):
// writers take turns, each write transaction waiting for the one before it,
// and a statement being changed is reserved (Reserva). Every value reaches SQL
// as a bound parameter. Database errors are thrown as ErroBanco and reach the
// command that started the work.
// Not thread-safe: used on the user-interface thread only.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "base/ErroVLME.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3_stmt;

namespace vlme::store {

class Reservas;
class Motor;
namespace servidor {
class Vigia;
class Chamada;
} // namespace servidor

// Our mark in the file header (PRAGMA application_id): "VLME".
inline constexpr int IdAplicacao = 0x564C4D45;
// The database password of the old engine. Stock SQLite has none; kept so the
// value stays in one place should an encrypting build ever use it.
inline constexpr char SenhaBanco[] = "730961";

class ErroBanco : public base::ErroVLME {
  public:
    ErroBanco(const QString &mensagem, const QString &codigoNativo, const QString &sql = {},
              const QString &detalhe = {});
    // SQLite's result code as text ("1", "19", ...), empty when not from SQLite.
    QString codigoNativo() const { return codigo_; }
    QString sql() const { return sql_; }
    // Another program held the database (SQLITE_BUSY), the wait included.
    bool ocupado() const;
    // A row the tables refuse: a key twice, a value out of a column's rules.
    bool recusaLinha() const;

  private:
    QString codigo_;
    QString sql_;
};

// A COMMIT was sent and its answer never came (the connection was lost, or
// the wait given up): the server may have stored the work or not. Never told
// as undone; found out where the program can (the import's record).
class ErroDesfechoIncerto : public ErroBanco {
  public:
    using ErroBanco::ErroBanco;
};

// What the user reads for an SQLite result code (extended codes too): what
// happened and what to do. SQLite's own text goes in the detail.
QString MensagemErroBanco(const QString &codigoNativo);

// A statement number that names no statement: not a database failure.
class ErroDeclaracaoInexistente : public base::ErroVLME {
  public:
    explicit ErroDeclaracaoInexistente(int numero);
};

// What a file on disk is, looked at before it is opened.
enum class TipoArquivo { Inexistente, Vazio, NaoBanco, OutroPrograma, Nosso };
TipoArquivo ExaminaArquivo(const QString &caminho);
// Why a file that is not ours is refused, in the user's words.
QString MotivoRecusa(TipoArquivo tipo, const QString &caminho);

// A text as searches compare it: letter case and accents removed
// ("Ação" and "acao" are the same). The connection offers it to SQL as
// NomeDobra(x).
QString DobraTexto(const QString &texto);
inline constexpr char NomeDobra[] = "VLME_DOBRA";
// The key lists are sorted by, the same on the file and on the server: the
// text in lower case as UTF-8 bytes, so that "M3" follows "m2" and '_' and
// accented letters fall where their code points put them. SQL: NomeOrdem(x).
inline constexpr char NomeOrdem[] = "VLME_ORDEM";

class Banco {
  public:
    Banco();
    ~Banco();
    Banco(const Banco &) = delete;
    Banco &operator=(const Banco &) = delete;

    // Opens an existing database of ours for reading and writing, shared with
    // the other programs on it, until `fecha`. Throws ErroBanco with a message
    // for the user.
    void abre(const QString &caminho);
    // Opens a file of ours read-only, without trusting its schema (backup files).
    void abreSomenteLeitura(const QString &caminho);
    // Creates a new, empty database of ours at `caminho` (which must not
    // exist), with the whole schema, owner-only permissions.
    void cria(const QString &caminho);
    // Opens the team database named by `url` (postgresql://...), creating our
    // schema in an empty database. Throws ErroBanco with a message for the user.
    void abreServidor(const QString &url);
    void fecha();

    bool aberto() const;
    QString caminho() const { return caminho_; }
    // On the team server rather than a file of this machine: for the window
    // that names the database to the user. What store does differently on
    // each goes through `motor`.
    bool servidor() const { return servidor_; }
    // What differs between the backends; only while open.
    Motor &motor() { return *motor_; }
    // Which database this is, in the user's words.
    QString descricao() const;
    QSqlDatabase &db() { return db_; }

    // Prepares a statement for repeated use; throws on a syntax error.
    QSqlQuery prepara(const QString &sql);
    // Runs one statement with positional values; the query is positioned
    // before its first row. Statements that return no rows (row changes,
    // savepoints) are prepared once and kept, so bulk work through the saving
    // operations does not prepare the same text again for every row.
    QSqlQuery executa(const QString &sql, const QVariantList &valores = {});
    // Runs a prepared statement again with new values.
    void executa(QSqlQuery &consulta, const QVariantList &valores);
    // First column of the first row, or an invalid QVariant when no row.
    QVariant escalar(const QString &sql, const QVariantList &valores = {});
    // Steps `consulta` to its next row: false at the end, ErroBanco when the
    // step failed. QSqlQuery::next() answers false for both, and a read error
    // taken for the end would pass half a statement for a whole one.
    bool proxima(QSqlQuery &consulta);

    // For rows written by the thousand: the statement prepared straight in
    // SQLite, kept until `fecha`, its values bound by the caller with
    // sqlite3_bind_* (QSqlQuery's binding costs more than the insert itself).
    sqlite3_stmt *direta(const QByteArray &sql);
    // Runs `comando` once and resets it for the next values; throws ErroBanco
    // when the step fails. Returns the rowid of the last insert.
    qint64 passo(sqlite3_stmt *comando);
    bool emTransacao() const { return nivelTransacao_ > 0; }
    // Runs `acao` once what is being written now is committed (at once
    // outside a transaction); dropped when it is rolled back. For what the
    // program keeps in memory about the rows it writes.
    void aoConfirmar(std::function<void()> acao);

    // Called while a write waits for another program's write to end, with the
    // milliseconds waited so far, and once with -1 when the wait is over;
    // answers false to give up. Lets the window repaint and show the wait.
    // Unset: the wait only sleeps.
    // Whoever shows the wait words it with the catalog's AVISO_ESPERA_GRAVACAO.
    using Espera = std::function<bool(qint64 esperados)>;
    void defineEspera(Espera espera) { espera_ = std::move(espera); }
    // What is being waited for: another program's write, or on the server
    // the answer to a call (also a reconnection) that passed 0.4 s. Giving up
    // the latter shuts the call's connection down.
    enum class MotivoEspera { Gravacao, Servidor };
    MotivoEspera motivoEspera() const { return motivo_; }
    // A call to the server is under way while the wait runs the events:
    // nothing else may use the connection until it ends.
    bool ocupada() const { return emChamada_; }
    // How long a write waits for the others before it gives up.
    void defineLimiteEspera(qint64 ms) { limiteEspera_ = ms; }

    // The statements' reservations; a backend without them (a backup file,
    // the template) reserves nothing.
    Reservas &reservas();
    // On the server, what bounds a call the network leaves unanswered; null on a file.
    servidor::Vigia *vigia() { return vigia_.get(); }
    // On the server: the connection was found lost; it is opened again with
    // the next piece of work, or by `retoma`.
    bool conexaoPerdida() const { return conexaoPerdida_; }
    // Looks, without waiting, whether the server has closed or reset the
    // idle connection; true when it is lost.
    bool confereConexao();
    // Opens a lost connection again now and takes back its reservations
    // (the window does it in the background); throws as the next piece of
    // work would have. Nothing to do on a connection that is fine.
    void retoma() { retomaConexao(); }
    // On the server, this connection's session ("process@start"), and the
    // one the last reconnection replaced: a process number alone is reused.
    QString sessao() const;
    QString sessaoAnterior() const;

    // Test seam: the `passos`-th step from now, a statement run or a row read
    // (`proxima`, `escalar`), fails as a disk I/O error would; 0 disarms.
    void simulaFalhaDisco(int passos) { falhaDiscoEm_ = passos; }

  private:
    void conecta(const QString &caminho, bool somenteLeitura);
    // BEGIN IMMEDIATE, waiting its turn: a deferred transaction that turns
    // into a write cannot wait (SQLite answers busy at once).
    void comecaEscrita();
    // INSERT, UPDATE, DELETE or REPLACE.
    static bool escrita(QStringView sql);
    [[noreturn]] void falha(const QSqlError &erro, const QString &sql);
    // A server connection found lost is opened again when the next piece of
    // work begins (never inside one), with the reservations it held, so what
    // failed can be repeated and what a window still shows saved.
    void retomaConexao();
    // The test seam's countdown; throws when it runs out.
    void contaPasso(const QString &sql);
    // Runs `sql`, which has no values, without preparing it.
    QSqlQuery direto(const QString &sql);
    // The kept statement for `sql`; its result is shared with every earlier
    // use, so only statements that are never iterated go here.
    QSqlQuery preparada(const QString &sql);

    // Per action, the transaction depth it was registered at.
    std::vector<std::pair<int, std::function<void()>>> aoConfirmar_;
    QHash<QString, QSqlQuery> preparadas_;
    QHash<QByteArray, sqlite3_stmt *> diretas_;
    int falhaDiscoEm_ = 0;

    QSqlDatabase db_;
    QString nomeConexao_;
    QString caminho_;
    int nivelTransacao_ = 0;
    int nivelLeitura_ = 0;
    Espera espera_;
    qint64 limiteEspera_ = 60000;
    std::unique_ptr<Reservas> reservas_;
    std::unique_ptr<Motor> motor_;
    std::unique_ptr<servidor::Vigia> vigia_;
    std::unique_ptr<servidor::Chamada> chamada_;
    // Runs one call to the server (`chamada` answers whether it succeeded)
    // on the caller's behalf, showing the wait past 0.4 s; on a file, or
    // with nobody to show it, simply runs it. Given up, a call that cannot
    // be cut short (`abandonavel`: opening the connection) is left to end on
    // its own, and the next call waits for it first.
    bool aoServidor(const std::function<bool()> &chamada, bool abandonavel = false);
    bool emChamada_ = false;
    bool cancelada_ = false;
    bool retomando_ = false;
    MotivoEspera motivo_ = MotivoEspera::Gravacao;
    bool servidor_ = false;
    bool conexaoPerdida_ = false;
    friend class Transacao;
    friend class Leitura;
};

// All or nothing: begins in the constructor, rolls back in the destructor
// unless `confirma` was called. Nests (savepoints), so an operation that writes
// several rows can run inside a bigger one. The outermost one waits for other
// programs' writes to end (Banco::defineEspera) and then keeps them waiting:
// never hold one while a window waits for the user.
class Transacao {
  public:
    explicit Transacao(Banco &banco);
    ~Transacao();
    Transacao(const Transacao &) = delete;
    Transacao &operator=(const Transacao &) = delete;
    void confirma();

  private:
    Banco &banco_;
    QString nome_;
    bool ativa_ = true;
};

// One saved state for a read made of several queries: another program's save
// lands wholly before or wholly after it. Inside a Transacao, or another
// Leitura, it adds nothing. Writing inside one is an error (the file cannot
// turn a read into a write that waits).
class Leitura {
  public:
    explicit Leitura(Banco &banco);
    ~Leitura();
    Leitura(const Leitura &) = delete;
    Leitura &operator=(const Leitura &) = delete;

  private:
    Banco &banco_;
    bool comecou_ = false;
};

} // namespace vlme::store
