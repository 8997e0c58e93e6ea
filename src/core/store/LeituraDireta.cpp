#include "store/LeituraDireta.h"

#include "store/Banco.h"

#include <sqlite3.h>

namespace vlme::store {

LeituraDireta::LeituraDireta(Banco &banco, const QByteArray &sql,
                             std::initializer_list<qint64> parametros)
    : comando_(banco.direta(sql)) {
    int i = 0;
    for (const qint64 p : parametros)
        sqlite3_bind_int64(comando_, ++i, p);
}

LeituraDireta::~LeituraDireta() {
    sqlite3_reset(comando_);
    sqlite3_clear_bindings(comando_);
}

bool LeituraDireta::proxima() {
    const int rc = sqlite3_step(comando_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3 *h = sqlite3_db_handle(comando_);
    const QString codigo = QString::number(sqlite3_extended_errcode(h));
    throw ErroBanco(MensagemErroBanco(codigo), codigo, QString::fromUtf8(sqlite3_sql(comando_)),
                    QString::fromUtf8(sqlite3_errmsg(h)));
}

int LeituraDireta::colunas() const {
    return sqlite3_column_count(comando_);
}

QByteArray LeituraDireta::nome(int coluna) const {
    return QByteArray(sqlite3_column_name(comando_, coluna));
}

LeituraDireta::Tipo LeituraDireta::tipo(int coluna) const {
    switch (sqlite3_column_type(comando_, coluna)) {
    case SQLITE_INTEGER:
        return Tipo::Inteiro;
    case SQLITE_FLOAT:
        return Tipo::Real;
    case SQLITE_TEXT:
        return Tipo::Texto;
    case SQLITE_BLOB:
        return Tipo::Binario;
    default:
        return Tipo::Nulo;
    }
}

qint64 LeituraDireta::inteiro(int coluna) const {
    return sqlite3_column_int64(comando_, coluna);
}

double LeituraDireta::real(int coluna) const {
    return sqlite3_column_double(comando_, coluna);
}

QByteArrayView LeituraDireta::texto(int coluna) const {
    const auto *dados = reinterpret_cast<const char *>(sqlite3_column_text(comando_, coluna));
    return QByteArrayView(dados, sqlite3_column_bytes(comando_, coluna));
}

QVariant LeituraDireta::valor(int coluna) const {
    switch (tipo(coluna)) {
    case Tipo::Nulo:
        return {};
    case Tipo::Inteiro:
        return inteiro(coluna);
    case Tipo::Real:
        return real(coluna);
    default:
        return QString::fromUtf8(texto(coluna));
    }
}

} // namespace vlme::store
