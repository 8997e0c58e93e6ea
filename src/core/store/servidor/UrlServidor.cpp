#include "store/servidor/UrlServidor.h"

#include "base/Erros.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <libpq-fe.h>
#include <poll.h>

#include <clocale>
#include <string>

namespace vlme::store::servidor {

namespace {

// "scheme://", the user-info up to '@' (no '/', '?' or '#' before it).
const QRegularExpression &UsuarioSenha() {
    static const QRegularExpression r(
        QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://)([^@/?#:]*):[^@/?#]*@"));
    return r;
}

// The values libpq reads from `texto` (a URL or keyword=value), or empty
// when it cannot read them.
QHash<QString, QString> Parametros(const QString &texto, QString *erro = nullptr) {
    QHash<QString, QString> r;
    char *mensagem = nullptr;
    PQconninfoOption *opcoes = PQconninfoParse(texto.toUtf8().constData(), &mensagem);
    if (!opcoes) {
        if (erro)
            *erro = QString::fromUtf8(mensagem ? mensagem : "").trimmed();
        PQfreemem(mensagem);
        return r;
    }
    for (const PQconninfoOption *o = opcoes; o->keyword; ++o)
        if (o->val)
            r.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    PQconninfoFree(opcoes);
    return r;
}

struct Sonda {
    bool conectou = false;
    bool pediuSenha = false;
    QString codigo;
    QString texto;
};

// libpq's own texts in English, which are matched below, whatever the
// user's language; put back afterwards.
class MensagensEmIngles {
  public:
    MensagensEmIngles() {
        if (const char *atual = std::setlocale(LC_MESSAGES, nullptr))
            antes_ = atual;
        std::setlocale(LC_MESSAGES, "C");
    }
    ~MensagensEmIngles() { std::setlocale(LC_MESSAGES, antes_.c_str()); }

  private:
    std::string antes_ = "C";
};

// A connection of our own to `url`, only to learn why it fails: libpq gives
// the server's SQLSTATE of a refused start only in its verbose text, and the
// verbosity can be set only between starting and polling.
Sonda Investiga(const QString &url) {
    const MensagensEmIngles ingles;
    const QByteArray u = url.toUtf8();
    // The time-out first, so that the URL's own wins.
    const char *const chaves[] = {"connect_timeout", "dbname", nullptr};
    const char *const valores[] = {"10", u.constData(), nullptr};
    PGconn *c = PQconnectStartParams(chaves, valores, 1);
    struct Fim {
        PGconn *c;
        ~Fim() { PQfinish(c); }
    } fim{c};
    Sonda s;
    if (!c)
        return s;
    PQsetErrorVerbosity(c, PQERRORS_VERBOSE);
    const QDeadlineTimer prazo(12000);
    PostgresPollingStatusType estado =
        PQstatus(c) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (estado == PGRES_POLLING_READING || estado == PGRES_POLLING_WRITING) {
        pollfd p{PQsocket(c), short(estado == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const qint64 resta = prazo.remainingTime();
        if (p.fd < 0 || resta <= 0 || ::poll(&p, 1, int(resta)) <= 0)
            break;
        estado = PQconnectPoll(c);
    }
    s.conectou = estado == PGRES_POLLING_OK;
    s.pediuSenha = PQconnectionNeedsPassword(c);
    s.texto = QString::fromUtf8(PQerrorMessage(c));
    // "... failed: FATAL:  3D000: database ..." (the severity may be in the
    // server's language; a code has a digit, a severity none).
    static const QRegularExpression codigo(QStringLiteral(":\\s+(?=[A-Z]*[0-9])([0-9A-Z]{5}):\\s"));
    if (const auto m = codigo.match(s.texto); m.hasMatch())
        s.codigo = m.captured(1);
    return s;
}

} // namespace

bool EhURLServidor(const QString &texto) {
    return texto.startsWith(QLatin1String("postgresql://")) ||
           texto.startsWith(QLatin1String("postgres://"));
}

QString URLVisivel(const QString &texto) {
    QString r = texto;
    r.replace(UsuarioSenha(), QStringLiteral("\\1\\2@"));
    if (r.contains(QLatin1String("://"))) {
        const qsizetype interrogacao = r.indexOf(QLatin1Char('?'));
        if (interrogacao < 0)
            return r;
        QStringList itens = r.mid(interrogacao + 1).split(QLatin1Char('&'));
        itens.removeIf([](const QString &item) {
            return QUrl::fromPercentEncoding(item.section(QLatin1Char('='), 0, 0).toUtf8())
                       .trimmed() == QLatin1String("password");
        });
        r.truncate(interrogacao);
        if (!itens.isEmpty())
            r += QLatin1Char('?') + itens.join(QLatin1Char('&'));
        return r;
    }
    // keyword=value, the value quoted or not.
    static const QRegularExpression chave(
        QStringLiteral("(^|\\s)password\\s*=\\s*('(?:[^'\\\\]|\\\\.)*'?|\\S*)"));
    r.replace(chave, QStringLiteral("\\1"));
    return r.simplified();
}

bool TemSenha(const QString &texto) {
    const QString t = texto.trimmed();
    return URLVisivel(t) != (t.contains(QLatin1String("://")) ? t : t.simplified());
}

QString MotivoURLInvalida(const QString &texto) {
    const QString url = texto.trimmed();
    if (!EhURLServidor(url)) {
        static const QRegularExpression esquema(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://)"));
        if (const auto m = esquema.match(url); m.hasMatch())
            return base::Mensagem("ERRO_URL_ESQUEMA", URLVisivel(url), m.captured(1));
        return base::Mensagem("ERRO_URL_SEM_ESQUEMA", URLVisivel(url));
    }
    QString erro;
    const QHash<QString, QString> p = Parametros(url, &erro);
    if (p.isEmpty()) {
        static const QRegularExpression parametro(
            QStringLiteral("invalid URI query parameter: \"([^\"]*)\""));
        if (const auto m = parametro.match(erro); m.hasMatch())
            return base::Mensagem("ERRO_URL_PARAMETRO", m.captured(1));
        return base::Mensagem("ERRO_URL_ILEGIVEL", URLVisivel(url));
    }
    static const QStringList modos = {"disable", "allow",     "prefer",
                                      "require", "verify-ca", "verify-full"};
    if (const QString modo = p.value(QStringLiteral("sslmode"));
        !modo.isEmpty() && !modos.contains(modo))
        return base::Mensagem("ERRO_URL_SSLMODE", modo);
    return {};
}

FalhaConexao ExplicaFalhaConexao(const QString &url, const QString &textoDriver, bool demorou) {
    FalhaConexao f{base::Mensagem("ERRO_SERVIDOR_CONEXAO"), QStringLiteral("08001"),
                   textoDriver.simplified()};
    if (demorou)
        return f;
    const Sonda s = Investiga(url);
    if (s.conectou)
        return f;
    if (f.detalhe.isEmpty())
        f.detalhe = s.texto.simplified();
    const QHash<QString, QString> p = Parametros(url);
    const QString banco = p.value(QStringLiteral("dbname"));
    QString usuario = p.value(QStringLiteral("user"));
    if (usuario.isEmpty())
        usuario = qEnvironmentVariable("USER");
    if (s.codigo == QLatin1String("3D000")) {
        f = {base::Mensagem("ERRO_SERVIDOR_BANCO_INEXISTENTE", banco), s.codigo, f.detalhe};
    } else if (s.codigo == QLatin1String("28P01") || s.pediuSenha) {
        // The window asks for the password on this code.
        f = {base::Mensagem("ERRO_SERVIDOR_SENHA", usuario), QStringLiteral("28P01"), f.detalhe};
    } else if (s.codigo == QLatin1String("28000")) {
        f = {base::Mensagem("ERRO_SERVIDOR_PAPEL", usuario, banco), s.codigo, f.detalhe};
    } else if (s.codigo == QLatin1String("42501")) {
        f = {base::Mensagem("ERRO_SERVIDOR_SEM_CONNECT", usuario, banco), s.codigo, f.detalhe};
    } else if (s.texto.contains(QLatin1String("does not support SSL"))) {
        f.mensagem = base::Mensagem("ERRO_SERVIDOR_SEM_SSL", p.value(QStringLiteral("sslmode")));
    } else if (s.texto.contains(QLatin1String("certificate"))) {
        f.mensagem = base::Mensagem("ERRO_SERVIDOR_CERTIFICADO");
    } else if (!s.codigo.isEmpty()) {
        f = {base::Mensagem("ERRO_SERVIDOR_RECUSOU"), s.codigo, f.detalhe};
    }
    return f;
}

QString TextoSemDados(const QString &texto) {
    QStringList linhas = texto.split(QLatin1Char('\n'));
    linhas.removeIf([](const QString &linha) {
        const QString l = linha.trimmed();
        return l.startsWith(QLatin1String("CONTEXT:")) || l.startsWith(QLatin1String("DETAIL:")) ||
               l.startsWith(QLatin1String("CONTEXTO:")) || l.startsWith(QLatin1String("DETALHE:"));
    });
    return linhas.join(QLatin1Char(' ')).simplified();
}

} // namespace vlme::store::servidor
