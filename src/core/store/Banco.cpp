#include "store/Banco.h"

#include "base/Erros.h"
#include "store/Esquema.h"
#include "store/Reservas.h"
#include "store/arquivo/MotorArquivo.h"
#include "store/servidor/Chamada.h"
#include "store/servidor/EsquemaServidor.h"
#include "store/servidor/MotorServidor.h"
#include "store/servidor/Vigia.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <sqlite3.h>

namespace vlme::store {

namespace {

QAtomicInt proximaConexao{0};

} // namespace

QString DobraTexto(const QString &texto) {
    QString r;
    for (const QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            r += c;
    return r.toCaseFolded();
}

ErroBanco::ErroBanco(const QString &mensagem, const QString &codigoNativo, const QString &sql,
                     const QString &detalhe)
    : base::ErroVLME(mensagem, detalhe), codigo_(codigoNativo), sql_(sql) {}

bool ErroBanco::ocupado() const {
    // The server's codes are SQLSTATEs, always five characters.
    if (codigo_.size() == 5)
        return servidor::MotorServidor(QString()).ocupado(codigo_);
    return arquivo::MotorArquivo(QString()).ocupado(codigo_);
}

bool ErroBanco::recusaLinha() const {
    // The server's class 23 (integrity constraint violation); SQLITE_CONSTRAINT
    // in the low byte of an extended code.
    if (codigo_.size() == 5)
        return codigo_.startsWith(QLatin1String("23"));
    return !codigo_.isEmpty() && (codigo_.toInt() & 0xFF) == SQLITE_CONSTRAINT;
}

QString MensagemErroBanco(const QString &codigoNativo) {
    // The server's SQLSTATEs: five characters, the class in the first two.
    if (codigoNativo.size() == 5) {
        const QStringView classe = QStringView(codigoNativo).left(2);
        if (classe == u"08" || (classe == u"57" && codigoNativo != u"57014"))
            return base::Mensagem("ERRO_SERVIDOR_PERDIDO");
        if (codigoNativo == u"57014" || codigoNativo == u"55P03")
            return base::Mensagem("ERRO_SERVIDOR_TEMPO");
        if (codigoNativo == u"42501")
            return base::Mensagem("ERRO_SERVIDOR_PERMISSAO");
        if (classe == u"53")
            return base::Mensagem("ERRO_BANCO_DISCO_CHEIO");
        return base::Mensagem("ERRO_BANCO");
    }
    bool ok = false;
    const int codigo = codigoNativo.toInt(&ok);
    // An extended code carries the primary one in its low byte.
    switch (ok ? codigo & 0xFF : -1) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return base::Mensagem("ERRO_BANCO_DANIFICADO");
    case SQLITE_FULL:
        return base::Mensagem("ERRO_BANCO_DISCO_CHEIO");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return base::Mensagem("ERRO_BANCO_SO_LEITURA");
    case SQLITE_IOERR:
        return base::Mensagem("ERRO_BANCO_DISCO");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return base::Mensagem("ERRO_BANCO_EM_USO");
    case SQLITE_CANTOPEN:
        return base::Mensagem("ERRO_BANCO_NAO_ABRE");
    default:
        return base::Mensagem("ERRO_BANCO");
    }
}

ErroDeclaracaoInexistente::ErroDeclaracaoInexistente(int numero)
    : base::ErroVLME(base::Mensagem("ERRO_DECLARACAO_INEXISTENTE", numero)) {}

TipoArquivo ExaminaArquivo(const QString &caminho) {
    QFileInfo info(caminho);
    if (!info.exists())
        return TipoArquivo::Inexistente;
    if (!info.isFile())
        return TipoArquivo::NaoBanco;
    if (info.size() == 0)
        return TipoArquivo::Vazio;
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        return TipoArquivo::NaoBanco;
    const QByteArray cabecalho = arquivo.read(100);
    if (cabecalho.size() < 100 || !cabecalho.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return TipoArquivo::NaoBanco;
    // application_id: big-endian at offset 68.
    const auto *p = reinterpret_cast<const unsigned char *>(cabecalho.constData()) + 68;
    const quint32 id = (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
    return id == quint32(IdAplicacao) ? TipoArquivo::Nosso : TipoArquivo::OutroPrograma;
}

QString MotivoRecusa(TipoArquivo tipo, const QString &caminho) {
    const QString nome = QDir::toNativeSeparators(caminho);
    switch (tipo) {
    case TipoArquivo::Inexistente:
        return base::Mensagem("ERRO_ARQUIVO_INEXISTENTE", nome);
    case TipoArquivo::Vazio:
        return base::Mensagem("ERRO_ARQUIVO_VAZIO", nome);
    case TipoArquivo::NaoBanco:
        return base::Mensagem("ERRO_ARQUIVO_NAO_BANCO", nome);
    case TipoArquivo::OutroPrograma:
        return base::Mensagem("ERRO_ARQUIVO_OUTRO_PROGRAMA", nome);
    case TipoArquivo::Nosso:
        break;
    }
    return {};
}

Banco::Banco() = default;

Banco::~Banco() {
    fecha();
}

bool Banco::aberto() const {
    return db_.isValid() && db_.isOpen();
}

void Banco::conecta(const QString &caminho, bool somenteLeitura) {
    fecha();
    nomeConexao_ = QStringLiteral("vlme_%1").arg(proximaConexao.fetchAndAddRelaxed(1));
    motor_ = std::make_unique<arquivo::MotorArquivo>(caminho);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomeConexao_);
    db_.setDatabaseName(caminho);
    // A short wait inside SQLite covers the moments a reader meets another
    // program's checkpoint; a write's turn is waited for by comecaEscrita, which
    // keeps the window alive meanwhile.
    db_.setConnectOptions(somenteLeitura
                              ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=50;QSQLITE_OPEN_READONLY")
                              : QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    caminho_ = caminho;
    if (!db_.open()) {
        const QSqlError erro = db_.lastError();
        fecha();
        throw ErroBanco(base::Mensagem("ERRO_BANCO_ABRIR", QDir::toNativeSeparators(caminho),
                                       MensagemErroBanco(erro.nativeErrorCode())),
                        erro.nativeErrorCode(), {}, erro.text());
    }
    motor_->preparaConexao(*this);
}

void Banco::abre(const QString &caminho) {
    const TipoArquivo tipo = ExaminaArquivo(caminho);
    if (tipo != TipoArquivo::Nosso)
        throw ErroBanco(MotivoRecusa(tipo, caminho), {});
    conecta(caminho, false);
    try {
        // WAL: readers never wait for the writer, nor it for them.
        executa(QStringLiteral("PRAGMA journal_mode=WAL"));
        executa(QStringLiteral("PRAGMA synchronous=FULL"));
        reservas_ = motor_->reservas(*this);
    } catch (const ErroBanco &e) {
        fecha();
        throw ErroBanco(
            base::Mensagem("ERRO_BANCO_ABRIR", QDir::toNativeSeparators(caminho), e.mensagem()),
            e.codigoNativo(), e.sql(), e.detalhe());
    }
}

void Banco::abreSomenteLeitura(const QString &caminho) {
    const TipoArquivo tipo = ExaminaArquivo(caminho);
    if (tipo != TipoArquivo::Nosso)
        throw ErroBanco(MotivoRecusa(tipo, caminho), {});
    conecta(caminho, true);
    try {
        executa(QStringLiteral("PRAGMA trusted_schema=OFF"));
        executa(QStringLiteral("PRAGMA query_only=ON"));
    } catch (...) {
        fecha();
        throw;
    }
}

void Banco::cria(const QString &caminho) {
    if (QFileInfo::exists(caminho))
        throw ErroBanco(base::Mensagem("ERRO_ARQUIVO_EXISTENTE", QDir::toNativeSeparators(caminho)),
                        {});
    {
        // Owner-only from the start.
        QFile arquivo(caminho);
        if (!arquivo.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw ErroBanco(base::Mensagem("ERRO_BANCO_CRIAR", QDir::toNativeSeparators(caminho),
                                           arquivo.errorString()),
                            {});
        arquivo.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    try {
        conecta(caminho, false);
        executa(QStringLiteral("PRAGMA application_id=%1").arg(IdAplicacao));
        executa(QStringLiteral("PRAGMA synchronous=FULL"));
        Transacao t(*this);
        CriaEsquema(*this);
        t.confirma();
        fecha();
    } catch (const ErroBanco &e) {
        fecha();
        QFile::remove(caminho);
        throw ErroBanco(
            base::Mensagem("ERRO_BANCO_CRIAR", QDir::toNativeSeparators(caminho), e.mensagem()),
            e.codigoNativo(), e.sql(), e.detalhe());
    }
}

void Banco::abreServidor(const QString &url) {
    fecha();
    if (const QString motivo = servidor::MotivoURLInvalida(url); !motivo.isEmpty())
        throw ErroBanco(motivo, {});
    nomeConexao_ = QStringLiteral("vlme_%1").arg(proximaConexao.fetchAndAddRelaxed(1));
    motor_ = std::make_unique<servidor::MotorServidor>(url);
    servidor_ = true;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nomeConexao_);
    const QString visivel = servidor::URLVisivel(url);
    try {
        if (!db_.isValid())
            throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_DRIVER"), {});
        servidor::ConfiguraConexao(db_, url);
        QElapsedTimer relogio;
        relogio.start();
        if (!db_.open()) {
            // A refusal comes at once; a server out of reach is not waited for twice.
            const servidor::FalhaConexao f = servidor::ExplicaFalhaConexao(
                url, db_.lastError().databaseText(), relogio.elapsed() > 5000);
            throw ErroBanco(f.mensagem, f.codigo, {}, f.detalhe);
        }
        vigia_ = std::make_unique<servidor::Vigia>(db_);
        motor_->preparaConexao(*this);
        servidor::PreparaEsquema(*this, *motor_);
        reservas_ = motor_->reservas(*this);
    } catch (const ErroBanco &e) {
        fecha();
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_ABRIR", visivel, e.mensagem()),
                        e.codigoNativo(), e.sql(), e.detalhe());
    }
}

QString Banco::descricao() const {
    return motor_ ? motor_->descricao() : QString();
}

Reservas &Banco::reservas() {
    static SemReservas nenhuma;
    return reservas_ ? *reservas_ : nenhuma;
}

void Banco::comecaEscrita() {
    QElapsedTimer relogio;
    relogio.start();
    bool esperou = false;
    // However the wait ends, whoever shows it is told.
    const auto fim = qScopeGuard([&] {
        if (esperou && espera_)
            espera_(-1);
    });
    for (;;) {
        if (motor_->tentaEscrita(*this))
            return;
        esperou = true;
        const qint64 esperados = relogio.elapsed();
        if (esperados >= limiteEspera_)
            throw ErroBanco(
                base::Mensagem("ERRO_ESPERA_ESGOTADA",
                               limiteEspera_ > 1000
                                   ? base::Mensagem("TEXTO_SEGUNDOS", (limiteEspera_ + 999) / 1000)
                                   : base::Mensagem("TEXTO_UM_SEGUNDO")),
                QString::number(SQLITE_BUSY));
        if (espera_ ? !espera_(esperados) : (QThread::msleep(20), false))
            throw ErroBanco(base::Mensagem("ERRO_ESPERA_CANCELADA"), QString::number(SQLITE_BUSY));
    }
}

void Banco::fecha() {
    reservas_.reset();
    // Its socket must not outlive the connection; nor a call left running.
    vigia_.reset();
    chamada_.reset();
    preparadas_.clear();
    // Before the connection closes: it does not close with statements alive.
    for (sqlite3_stmt *comando : std::as_const(diretas_))
        sqlite3_finalize(comando);
    diretas_.clear();
    if (nomeConexao_.isEmpty())
        return;
    if (db_.isOpen())
        db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(nomeConexao_);
    nomeConexao_.clear();
    motor_.reset();
    servidor_ = false;
    conexaoPerdida_ = false;
    nivelTransacao_ = 0;
    aoConfirmar_.clear();
}

void Banco::falha(const QSqlError &erro, const QString &sql) {
    // The driver's text spans lines and may end in an empty "()": one line
    // reads better under the message.
    // Never a row of the user's data in what is shown or logged.
    QString texto = servidor::TextoSemDados(erro.databaseText());
    if (texto.endsWith(QLatin1String("()")))
        texto = texto.chopped(2).trimmed();
    if (texto.isEmpty())
        texto = erro.text().simplified();
    QString codigo = erro.nativeErrorCode();
    if (servidor_ && (cancelada_ || servidor::ConexaoPerdida(db_))) {
        conexaoPerdida_ = true;
        // libpq gives no SQLSTATE for a connection that broke on this side.
        if (codigo.isEmpty())
            codigo = QStringLiteral("08006");
        if (std::exchange(cancelada_, false))
            throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_CANCELADA"), QStringLiteral("57014"), sql,
                            texto);
    }
    throw ErroBanco(MensagemErroBanco(codigo), codigo, sql, texto);
}

void Banco::retomaConexao() {
    // Events run while a call waits: work they start must not use the
    // connection meanwhile.
    if (emChamada_)
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_OCUPADO"), {});
    if (retomando_ || nivelTransacao_ > 0 || nivelLeitura_ > 0)
        return;
    retomando_ = true;
    const auto fim = qScopeGuard([this] { retomando_ = false; });
    if (!conexaoPerdida_) {
        // What a reconnection could not take back yet, tried again with
        // every piece of work: never working on without what it held.
        if (reservas_ && reservas_->pendentes() > 0)
            reservas_->retoma();
        return;
    }
    preparadas_.clear();
    vigia_.reset();
    // Bounded by the connection's own time-out, and given up with the wait;
    // one given up before may still be opening, on the call's own thread.
    if (!aoServidor(
            [this] {
                db_.close();
                return db_.open();
            },
            true)) {
        if (cancelada_) {
            cancelada_ = false;
            throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_RECONEXAO_CANCELADA"),
                            QStringLiteral("57014"));
        }
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_PERDIDO_ANTES"), QStringLiteral("08001"), {},
                        db_.lastError().text().simplified());
    }
    conexaoPerdida_ = false;
    try {
        vigia_ = std::make_unique<servidor::Vigia>(db_);
        motor_->preparaConexao(*this);
    } catch (...) {
        vigia_.reset();
        db_.close();
        conexaoPerdida_ = true;
        throw;
    }
    // The new connection stays, whatever this finds: what is not taken back
    // yet is tried again with the next piece of work.
    reservas().retoma();
}

bool Banco::aoServidor(const std::function<bool()> &chamada, bool abandonavel) {
    cancelada_ = false;
    if (!servidor_ || !espera_)
        return chamada();
    if (!chamada_)
        chamada_ = std::make_unique<servidor::Chamada>();
    emChamada_ = true;
    motivo_ = MotivoEspera::Servidor;
    const auto fim = qScopeGuard([this] {
        emChamada_ = false;
        motivo_ = MotivoEspera::Gravacao;
    });
    servidor::Vigia *vigia = vigia_.get();
    const servidor::Chamada::Resultado r = chamada_->roda(
        chamada, espera_,
        [vigia] {
            if (vigia)
                vigia->corta();
        },
        abandonavel);
    cancelada_ = r.desistiu;
    return r.ok && !r.abandonada;
}

bool Banco::confereConexao() {
    if (servidor_ && !emChamada_ && !conexaoPerdida_ && aberto() && !servidor::ConfereConexao(db_))
        conexaoPerdida_ = true;
    return conexaoPerdida_;
}

QString Banco::sessao() const {
    return servidor_ ? static_cast<const servidor::MotorServidor &>(*motor_).sessao() : QString();
}

QString Banco::sessaoAnterior() const {
    return servidor_ ? static_cast<const servidor::MotorServidor &>(*motor_).sessaoAnterior()
                     : QString();
}

QSqlQuery Banco::prepara(const QString &sql) {
    retomaConexao();
    if (!aberto())
        throw ErroBanco(base::Mensagem("ERRO_BANCO_FECHADO"), {}, sql);
    QSqlQuery consulta(db_);
    // Forward-only on the server reads row by row, and a second query while the
    // first is open would lose its rows: the server sends the whole result.
    consulta.setForwardOnly(!servidor_);
    const servidor::Vigia::Vez vez(vigia_.get());
    if (!aoServidor([&] { return consulta.prepare(sql); }))
        falha(consulta.lastError(), sql);
    return consulta;
}

void Banco::executa(QSqlQuery &consulta, const QVariantList &valores) {
    // A row written on its own waits its turn like any other write: SQLite
    // would answer busy at once.
    if (nivelTransacao_ == 0 && nivelLeitura_ == 0 && escrita(consulta.lastQuery())) {
        Transacao t(*this);
        executa(consulta, valores);
        t.confirma();
        return;
    }
    contaPasso(consulta.lastQuery());
    for (int i = 0; i < valores.size(); ++i)
        consulta.bindValue(i, valores.at(i));
    const servidor::Vigia::Vez vez(vigia_.get());
    if (!aoServidor([&] { return consulta.exec(); }))
        falha(consulta.lastError(), consulta.lastQuery());
}

QSqlQuery Banco::preparada(const QString &sql) {
    auto it = preparadas_.constFind(sql);
    if (it != preparadas_.constEnd())
        return *it;
    // Texts built with varying column lists could pile up; start afresh.
    if (preparadas_.size() >= 256)
        preparadas_.clear();
    QSqlQuery consulta = prepara(sql);
    preparadas_.insert(sql, consulta);
    return consulta;
}

bool Banco::escrita(QStringView sql) {
    const QStringView texto = sql.trimmed();
    for (const char *comando : {"INSERT", "UPDATE", "DELETE", "REPLACE"})
        if (texto.startsWith(QLatin1String(comando), Qt::CaseInsensitive))
            return true;
    return false;
}

QSqlQuery Banco::executa(const QString &sql, const QVariantList &valores) {
    retomaConexao();
    // The server prepares only queries and row changes (PREPARE refuses SET,
    // BEGIN, SAVEPOINT, CREATE...): a text without values runs as it is.
    if (servidor_ && valores.isEmpty())
        return direto(sql);
    // Statements that return no rows can be kept and run again; the savepoints
    // of the nested transactions are among them, run for every saved row.
    const QStringView texto = QStringView(sql).trimmed();
    bool semLinhas = escrita(texto);
    for (const char *comando : {"SAVEPOINT", "RELEASE", "ROLLBACK"})
        semLinhas = semLinhas || texto.startsWith(QLatin1String(comando), Qt::CaseInsensitive);
    QSqlQuery consulta = semLinhas ? preparada(sql) : prepara(sql);
    executa(consulta, valores);
    return consulta;
}

QSqlQuery Banco::direto(const QString &sql) {
    retomaConexao();
    if (nivelTransacao_ == 0 && nivelLeitura_ == 0 && escrita(sql)) {
        Transacao t(*this);
        QSqlQuery consulta = direto(sql);
        t.confirma();
        return consulta;
    }
    if (!aberto())
        throw ErroBanco(base::Mensagem("ERRO_BANCO_FECHADO"), {}, sql);
    contaPasso(sql);
    QSqlQuery consulta(db_);
    consulta.setForwardOnly(!servidor_);
    const servidor::Vigia::Vez vez(vigia_.get());
    if (!aoServidor([&] { return consulta.exec(sql); }))
        falha(consulta.lastError(), sql);
    return consulta;
}

QVariant Banco::escalar(const QString &sql, const QVariantList &valores) {
    retomaConexao();
    if (servidor_ && valores.isEmpty()) {
        QSqlQuery consulta = direto(sql);
        return proxima(consulta) ? consulta.value(0) : QVariant();
    }
    QSqlQuery consulta = preparada(sql);
    executa(consulta, valores);
    // Lets the statement go back to be run again, a failed step included.
    struct Termina {
        QSqlQuery &q;
        ~Termina() { q.finish(); }
    } termina{consulta};
    return proxima(consulta) ? consulta.value(0) : QVariant();
}

void Banco::contaPasso(const QString &sql) {
    if (falhaDiscoEm_ > 0 && --falhaDiscoEm_ == 0)
        falha(QSqlError(QString(), QStringLiteral("disk I/O error"), QSqlError::StatementError,
                        QString::number(SQLITE_IOERR_READ)),
              sql);
}

bool Banco::proxima(QSqlQuery &consulta) {
    contaPasso(consulta.lastQuery());
    if (consulta.next())
        return true;
    if (consulta.lastError().type() != QSqlError::NoError)
        falha(consulta.lastError(), consulta.lastQuery());
    return false;
}

sqlite3_stmt *Banco::direta(const QByteArray &sql) {
    auto it = diretas_.constFind(sql);
    if (it != diretas_.constEnd())
        return *it;
    if (!aberto())
        throw ErroBanco(base::Mensagem("ERRO_BANCO_FECHADO"), {}, QString::fromUtf8(sql));
    sqlite3 *h = *static_cast<sqlite3 *const *>(db_.driver()->handle().data());
    sqlite3_stmt *comando = nullptr;
    const int rc = sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &comando, nullptr);
    if (rc != SQLITE_OK) {
        const QString codigo = QString::number(sqlite3_extended_errcode(h));
        throw ErroBanco(MensagemErroBanco(codigo), codigo, QString::fromUtf8(sql),
                        QString::fromUtf8(sqlite3_errmsg(h)));
    }
    diretas_.insert(sql, comando);
    return comando;
}

qint64 Banco::passo(sqlite3_stmt *comando) {
    struct Reinicia {
        sqlite3_stmt *c;
        ~Reinicia() { sqlite3_reset(c); }
    } reinicia{comando};
    if (falhaDiscoEm_ > 0)
        contaPasso(QString::fromUtf8(sqlite3_sql(comando)));
    const int rc = sqlite3_step(comando);
    sqlite3 *h = sqlite3_db_handle(comando);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const QString codigo = QString::number(sqlite3_extended_errcode(h));
        throw ErroBanco(MensagemErroBanco(codigo), codigo, QString::fromUtf8(sqlite3_sql(comando)),
                        QString::fromUtf8(sqlite3_errmsg(h)));
    }
    return sqlite3_last_insert_rowid(h);
}

// The outermost level is a transaction of its own (no name), the inner ones
// savepoints.
Transacao::Transacao(Banco &banco) : banco_(banco) {
    banco_.retomaConexao();
    if (banco_.nivelTransacao_ == 0 && banco_.nivelLeitura_ == 0) {
        banco_.comecaEscrita();
    } else {
        nome_ = QStringLiteral("vlme_t%1").arg(banco_.nivelTransacao_);
        banco_.executa(QStringLiteral("SAVEPOINT ") + nome_);
    }
    ++banco_.nivelTransacao_;
}

void Banco::aoConfirmar(std::function<void()> acao) {
    if (nivelTransacao_ == 0)
        acao();
    else
        aoConfirmar_.emplace_back(nivelTransacao_, std::move(acao));
}

Transacao::~Transacao() {
    if (!ativa_)
        return;
    // What was registered in the part rolled back never happened.
    std::erase_if(banco_.aoConfirmar_,
                  [this](const auto &a) { return a.first >= banco_.nivelTransacao_; });
    --banco_.nivelTransacao_;
    // A lost connection has taken its transaction with it.
    if (!banco_.aberto() || banco_.conexaoPerdida_)
        return;
    try {
        if (nome_.isEmpty()) {
            banco_.executa(QStringLiteral("ROLLBACK"));
            return;
        }
        banco_.executa(QStringLiteral("ROLLBACK TO ") + nome_);
        banco_.executa(QStringLiteral("RELEASE ") + nome_);
    } catch (...) {
        // Nothing more can be done from a destructor; SQLite has already
        // rolled back a transaction it could not keep.
    }
}

void Transacao::confirma() {
    if (!ativa_)
        return;
    if (!nome_.isEmpty()) {
        banco_.executa(QStringLiteral("RELEASE ") + nome_);
    } else {
        try {
            banco_.executa(QStringLiteral("COMMIT"));
        } catch (const ErroBanco &e) {
            // Sent, and no answer: the server may have stored it all.
            if (!banco_.conexaoPerdida_)
                throw;
            ativa_ = false;
            --banco_.nivelTransacao_;
            throw ErroDesfechoIncerto(base::Mensagem("ERRO_SERVIDOR_INCERTO"), e.codigoNativo(),
                                      e.sql(), e.detalhe());
        }
    }
    ativa_ = false;
    --banco_.nivelTransacao_;
    if (banco_.nivelTransacao_ > 0) {
        // Released into the enclosing transaction: its fate decides now.
        for (auto &a : banco_.aoConfirmar_)
            a.first = std::min(a.first, banco_.nivelTransacao_);
        return;
    }
    for (auto &a : std::exchange(banco_.aoConfirmar_, {}))
        a.second();
}

Leitura::Leitura(Banco &banco) : banco_(banco) {
    banco_.retomaConexao();
    if (banco_.nivelTransacao_ == 0 && banco_.nivelLeitura_ == 0 && banco_.aberto()) {
        banco_.executa(banco_.motor_->inicioLeitura());
        comecou_ = true;
    }
    ++banco_.nivelLeitura_;
}

Leitura::~Leitura() {
    --banco_.nivelLeitura_;
    if (!comecou_ || !banco_.aberto() || banco_.conexaoPerdida_)
        return;
    try {
        banco_.executa(QStringLiteral("COMMIT"));
    } catch (...) {
        // A read has nothing to keep; left open, the next write of this
        // connection would be refused as a transaction inside another. A
        // lost connection is not opened again from here: the read ended
        // with it.
        try {
            if (!banco_.conexaoPerdida_)
                banco_.executa(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
}

} // namespace vlme::store
