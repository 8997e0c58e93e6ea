#include "store/servidor/MotorServidor.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Esquema.h"
#include "store/Reservas.h"
#include "store/servidor/CopiaServidor.h"
#include "store/servidor/ReservasServidor.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace vlme::store::servidor {

namespace {

// libpq's own time-outs: a connection that cannot be made, or a network that
// silently stops answering, ends in an error within about 20 seconds instead
// of freezing the program; a statement the server itself cannot finish ends
// at the statement time-out.
const char *const OpcoesPadrao[][2] = {
    {"connect_timeout", "10"},    {"keepalives", "1"},       {"keepalives_idle", "5"},
    {"keepalives_interval", "5"}, {"keepalives_count", "3"}, {"tcp_user_timeout", "20000"},
};

// A value in libpq's keyword='value' form.
QString Aspas(QString valor) {
    valor.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    valor.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + valor + QLatin1Char('\'');
}

// The accented letters DobraTexto takes to one plain letter, for translate().
std::pair<QString, QString> TabelaDobra() {
    QString de, para;
    for (char16_t c = 0xC0; c <= 0x17F; ++c) {
        const QString dobrado = DobraTexto(QString(QChar(c)));
        if (dobrado.size() == 1 && dobrado.at(0).unicode() < 0x80) {
            de += QChar(c);
            para += dobrado;
        }
    }
    return {de, para};
}

} // namespace

QString IdentidadeSessao(const QString &a) {
    return QStringLiteral("(%1.pid || '@' || extract(epoch FROM %1.backend_start))").arg(a);
}

QString ComandoOrdem() {
    // An ICU collation of our own could not put '_' after the digits as the
    // file does; bytes sort alike on both. NULL sorts first, as on the file.
    return QStringLiteral("CREATE FUNCTION %1(text) RETURNS bytea LANGUAGE sql IMMUTABLE"
                          " AS $$SELECT convert_to(lower(coalesce($1, '') COLLATE \"und-x-icu\"),"
                          " 'UTF8')$$")
        .arg(QLatin1String(NomeOrdem));
}

void ConfiguraConexao(QSqlDatabase &db, const QString &url) {
    const QUrl u(url);
    if (!u.host().isEmpty())
        db.setHostName(u.host());
    if (u.port() > 0)
        db.setPort(u.port());
    const QString nome = u.path().mid(1);
    if (!nome.isEmpty())
        db.setDatabaseName(nome);
    if (!u.userName().isEmpty())
        db.setUserName(u.userName());
    if (!u.password().isEmpty())
        db.setPassword(u.password());
    QStringList opcoes;
    const QUrlQuery consulta(u);
    for (const auto &[chave, valor] : consulta.queryItems(QUrl::FullyDecoded))
        opcoes << chave + QLatin1Char('=') + Aspas(valor);
    for (const auto &[chave, valor] : OpcoesPadrao)
        if (!consulta.hasQueryItem(QLatin1String(chave)))
            opcoes << QLatin1String(chave) + QLatin1Char('=') + QLatin1String(valor);
    const Titular eu = Titular::Este();
    if (!consulta.hasQueryItem(QStringLiteral("application_name")))
        opcoes << QStringLiteral("application_name=") + Aspas(eu.programa);
    db.setConnectOptions(opcoes.join(QLatin1Char(';')));
}

void MotorServidor::preparaConexao(Banco &banco) {
    // One round trip, also on every reconnection.
    banco.executa(QStringLiteral("SET statement_timeout = '60s'; SET lock_timeout = '20s';"
                                 " SET idle_in_transaction_session_timeout = '10min';"
                                 // The server's side of the client's watch: a client whose network
                                 // went silent loses its session, and the reservations with it,
                                 // within about 20 s instead of the system's two hours.
                                 " SET tcp_keepalives_idle = 5; SET tcp_keepalives_interval = 5;"
                                 " SET tcp_keepalives_count = 3; SET tcp_user_timeout = 20000;"
                                 // Compiling a query costs more than running ours: a maximum
                                 // statement's check or summary took twice as long with it.
                                 " SET jit = off"));
    QSqlQuery q =
        banco.executa(QStringLiteral("SELECT hashtext(current_schema()), %1 FROM pg_stat_activity a"
                                     " WHERE a.pid = pg_backend_pid()")
                          .arg(IdentidadeSessao(QStringLiteral("a"))));
    if (!banco.proxima(q))
        throw ErroBanco(base::Mensagem("ERRO_BANCO"), QStringLiteral("XX000"));
    chave_ = q.value(0).toInt();
    if (!sessao_.isEmpty())
        anterior_ = sessao_;
    sessao_ = q.value(1).toString();
}

bool MotorServidor::tentaEscrita(Banco &banco) {
    banco.executa(QStringLiteral("BEGIN"));
    bool vez = false;
    try {
        vez = banco.escalar(QStringLiteral("SELECT pg_try_advisory_xact_lock(?, -1)"), {chave_})
                  .toBool();
    } catch (...) {
        // A lost connection took the transaction with it.
        if (!banco.conexaoPerdida())
            banco.executa(QStringLiteral("ROLLBACK"));
        throw;
    }
    if (!vez)
        banco.executa(QStringLiteral("ROLLBACK"));
    return vez;
}

QString MotorServidor::inicioLeitura() const {
    return QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ");
}

QStringList MotorServidor::dialeto(const QStringList &comandos) const {
    static const QRegularExpression contador(
        QStringLiteral("(\\w+) INTEGER PRIMARY KEY AUTOINCREMENT"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    static const QRegularExpression tabela(QStringLiteral("^\\s*CREATE TABLE"));
    static const QRegularExpression tamanho(QStringLiteral("VARCHAR\\(\\d+\\)"));
    QStringList r;
    for (QString c : comandos) {
        // Queries read rows back in the order they were written by SQLite's
        // rowid, which a counter key is an alias of; here it is a column.
        QString rowid = QStringLiteral(", rowid BIGINT GENERATED BY DEFAULT AS IDENTITY");
        if (const auto m = contador.match(c); m.hasMatch())
            rowid = QStringLiteral(", rowid INTEGER GENERATED ALWAYS AS (%1) STORED")
                        .arg(m.captured(1));
        c.replace(contador,
                  QStringLiteral("\\1 INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
        // SQLite's REAL is eight bytes; PostgreSQL's is four. SQLite keeps a
        // text longer than its VARCHAR's size whole; so does the server.
        c.replace(real, QStringLiteral("DOUBLE PRECISION"));
        c.replace(tamanho, QStringLiteral("VARCHAR"));
        if (c.contains(tabela) && c.endsWith(QLatin1Char(')')))
            c.insert(c.size() - 1, rowid);
        r << c;
    }
    return r;
}

QStringList MotorServidor::objetosProprios() const {
    const auto [de, para] = TabelaDobra();
    return {
        // As the file's VLME_TEXTO: letter case ignored, accents not.
        QStringLiteral("CREATE COLLATION %1 (provider = icu, locale = 'und-u-ks-level2',"
                       " deterministic = false)")
            .arg(QLatin1String(NomeColacao)),
        QStringLiteral("CREATE FUNCTION %1(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT"
                       " AS $$SELECT lower(translate($1, '%2', '%3'))$$")
            .arg(QLatin1String(NomeDobra), de, para),
        ComandoOrdem(),
        // SQLite's ifnull() and total(), which the queries use.
        QStringLiteral("CREATE FUNCTION ifnull(anycompatible, anycompatible)"
                       " RETURNS anycompatible LANGUAGE sql IMMUTABLE"
                       " AS $$SELECT coalesce($1, $2)$$"),
        QStringLiteral("CREATE AGGREGATE total(double precision)"
                       " (sfunc = float8pl, stype = float8, initcond = '0')"),
    };
}

std::unique_ptr<Reservas> MotorServidor::reservas(Banco &banco) {
    return std::make_unique<ReservasServidor>(banco, chave_);
}

std::unique_ptr<EscritaLote> MotorServidor::escritaLote(Banco &banco) {
    return std::make_unique<CopiaServidor>(banco);
}

std::unique_ptr<CopiaParaArquivo> MotorServidor::copiaParaArquivo(Banco &banco,
                                                                  const QString &arquivo) {
    return std::make_unique<CopiaParaArquivoServidor>(banco, arquivo);
}

QString MotorServidor::descricao() const {
    return QStringLiteral("Servidor %1").arg(URLVisivel(url_));
}

QString MotorServidor::usuario(Banco &banco) {
    if (usuario_.isEmpty())
        usuario_ = banco.escalar(QStringLiteral("SELECT current_user")).toString();
    return usuario_;
}

QString MotorServidor::agora() const {
    return QStringLiteral(
        "to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')");
}

bool MotorServidor::ocupado(const QString &codigoNativo) const {
    // lock_not_available, serialization failure, deadlock.
    return codigoNativo == QLatin1String("55P03") || codigoNativo == QLatin1String("40001") ||
           codigoNativo == QLatin1String("40P01");
}

} // namespace vlme::store::servidor
