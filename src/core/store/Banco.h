#pragma once
// The connection to one statement database file (VLM.MDB, a backup file, the
// template). Opened exclusively and held for the program's life by start-up;
// every value reaches SQL as a bound parameter. Database errors are thrown as
// ErroBanco and reach the command that started the work.
// Not thread-safe: used on the user-interface thread only.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "shell/ErroVLME.h"

struct sqlite3_stmt;

namespace vlme::store {

// Our mark in the file header (PRAGMA application_id): "VLME".
inline constexpr int IdAplicacao = 0x564C4D45;
// The database password of the old engine. Stock SQLite has none; kept so the
// value stays in one place should an encrypting build ever use it.
inline constexpr char SenhaBanco[] = "730961";

class ErroBanco : public shell::ErroVLME {
  public:
    ErroBanco(const QString &mensagem, const QString &codigoNativo, const QString &sql = {},
              const QString &detalhe = {});
    // SQLite's result code as text ("1", "19", ...), empty when not from SQLite.
    QString codigoNativo() const { return codigo_; }
    QString sql() const { return sql_; }

  private:
    QString codigo_;
    QString sql_;
};

// What the user reads for an SQLite result code (extended codes too): what
// happened and what to do. SQLite's own text goes in the detail.
QString MensagemErroBanco(const QString &codigoNativo);

// A statement number that names no statement: not a database failure.
class ErroDeclaracaoInexistente : public shell::ErroVLME {
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

class Banco {
  public:
    Banco();
    ~Banco();
    Banco(const Banco &) = delete;
    Banco &operator=(const Banco &) = delete;

    // Opens an existing database of ours for reading and writing, holding it
    // exclusively until `fecha`. Throws ErroBanco with a message for the user.
    void abre(const QString &caminho);
    // Opens a file of ours read-only, without trusting its schema (backup files).
    void abreSomenteLeitura(const QString &caminho);
    // Creates a new, empty database of ours at `caminho` (which must not
    // exist), with the whole schema, owner-only permissions.
    void cria(const QString &caminho);
    void fecha();

    bool aberto() const;
    QString caminho() const { return caminho_; }
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

    // Test seam: the `passos`-th step from now, a statement run or a row read
    // (`proxima`, `escalar`), fails as a disk I/O error would; 0 disarms.
    void simulaFalhaDisco(int passos) { falhaDiscoEm_ = passos; }

  private:
    void conecta(const QString &caminho, bool somenteLeitura);
    void registraColacao();
    [[noreturn]] void falha(const QSqlError &erro, const QString &sql);
    // The test seam's countdown; throws when it runs out.
    void contaPasso(const QString &sql);
    // The kept statement for `sql`; its result is shared with every earlier
    // use, so only statements that are never iterated go here.
    QSqlQuery preparada(const QString &sql);

    QHash<QString, QSqlQuery> preparadas_;
    QHash<QByteArray, sqlite3_stmt *> diretas_;
    int falhaDiscoEm_ = 0;

    QSqlDatabase db_;
    QString nomeConexao_;
    QString caminho_;
    int nivelTransacao_ = 0;
    friend class Transacao;
};

// All or nothing: begins in the constructor, rolls back in the destructor
// unless `confirma` was called. Nests (savepoints), so an operation that writes
// several rows can run inside a bigger one.
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

} // namespace vlme::store
