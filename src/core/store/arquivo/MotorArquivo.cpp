#include "store/arquivo/MotorArquivo.h"

#include "base/Erros.h"

#include "store/Banco.h"
#include "store/Esquema.h"
#include "store/Reservas.h"
#include "store/arquivo/EscritaArquivo.h"
#include "store/arquivo/ReservasArquivo.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>

#include <sqlite3.h>

namespace vlme::store::arquivo {

namespace {

// Text equality the way the old engine saw it: letter case ignored,
// accented letters included (É = é).
int comparaTexto(void *, int tamA, const void *a, int tamB, const void *b) {
    const QString sa = QString::fromRawData(static_cast<const QChar *>(a), tamA / 2);
    const QString sb = QString::fromRawData(static_cast<const QChar *>(b), tamB / 2);
    return sa.compare(sb, Qt::CaseInsensitive);
}

// DobraTexto for SQL: SQLite's own LIKE folds only ASCII letters.
void dobra(sqlite3_context *contexto, int, sqlite3_value **args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL)
        return sqlite3_result_null(contexto);
    const auto *texto = static_cast<const QChar *>(sqlite3_value_text16(args[0]));
    const QString dobrado = DobraTexto(QString(texto, sqlite3_value_bytes16(args[0]) / 2));
    sqlite3_result_text16(contexto, dobrado.utf16(), int(dobrado.size() * 2), SQLITE_TRANSIENT);
}

// NomeOrdem for SQL; the server's lower() does the same with ICU's root rules.
void ordem(sqlite3_context *contexto, int, sqlite3_value **args) {
    const auto *texto = static_cast<const QChar *>(sqlite3_value_text16(args[0]));
    const QByteArray chave = QString(texto, sqlite3_value_bytes16(args[0]) / 2).toLower().toUtf8();
    sqlite3_result_blob(contexto, chave.constData(), int(chave.size()), SQLITE_TRANSIENT);
}

} // namespace

void MotorArquivo::preparaConexao(Banco &banco) {
    const QVariant v = banco.db().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw ErroBanco(base::Mensagem("ERRO_BANCO_DRIVER"), {});
    sqlite3 *h = *static_cast<sqlite3 *const *>(v.data());
    if (sqlite3_create_collation_v2(h, NomeColacao, SQLITE_UTF16, nullptr, comparaTexto, nullptr) !=
        SQLITE_OK)
        throw ErroBanco(base::Mensagem("ERRO_BANCO_COLACAO"), {});
    if (sqlite3_create_function_v2(h, NomeDobra, 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                   dobra, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(h, NomeOrdem, 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                   ordem, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw ErroBanco(base::Mensagem("ERRO_BANCO_COLACAO"), {});
}

bool MotorArquivo::tentaEscrita(Banco &banco) {
    try {
        banco.executa(QStringLiteral("BEGIN IMMEDIATE"));
        return true;
    } catch (const ErroBanco &e) {
        if (!ocupado(e.codigoNativo()))
            throw;
        return false;
    }
}

QString MotorArquivo::inicioLeitura() const {
    return QStringLiteral("BEGIN");
}

std::unique_ptr<Reservas> MotorArquivo::reservas(Banco &) {
    return std::make_unique<ReservasArquivo>(QFileInfo(caminho_).absolutePath());
}

QString MotorArquivo::descricao() const {
    return QDir::toNativeSeparators(caminho_);
}

QString MotorArquivo::usuario(Banco &) {
    return Titular::Este().usuario;
}

QString MotorArquivo::agora() const {
    return QStringLiteral("strftime('%Y-%m-%dT%H:%M:%fZ', 'now')");
}

bool MotorArquivo::ocupado(const QString &codigoNativo) const {
    // An extended code carries the primary one in its low byte.
    return !codigoNativo.isEmpty() && (codigoNativo.toInt() & 0xFF) == SQLITE_BUSY;
}

std::unique_ptr<EscritaLote> MotorArquivo::escritaLote(Banco &banco) {
    return std::make_unique<EscritaArquivo>(banco);
}

std::unique_ptr<CopiaParaArquivo> MotorArquivo::copiaParaArquivo(Banco &banco,
                                                                 const QString &arquivo) {
    return std::make_unique<CopiaParaArquivoAnexado>(banco, arquivo);
}

} // namespace vlme::store::arquivo
