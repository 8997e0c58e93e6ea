#pragma once
// Rows of a query on a file of ours read straight from SQLite, each value as
// the file holds it (UTF-8 text, no QVariant per value): for reads of tens of
// thousands of rows, where QSqlQuery's copying and UTF-16 conversion cost
// more than the query. File databases only; UI thread, like the Banco.

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>

#include <initializer_list>

struct sqlite3_stmt;

namespace vlme::store {

class Banco;

class LeituraDireta {
  public:
    // Runs `sql` (kept prepared by `banco`) with `parametros` bound in turn.
    LeituraDireta(Banco &banco, const QByteArray &sql, std::initializer_list<qint64> parametros);
    ~LeituraDireta();
    LeituraDireta(const LeituraDireta &) = delete;
    LeituraDireta &operator=(const LeituraDireta &) = delete;

    // The next row; false at the end. A failed step throws ErroBanco: an error
    // taken for the end would pass part of the rows for all of them.
    bool proxima();
    int colunas() const;
    QByteArray nome(int coluna) const;
    enum class Tipo { Nulo, Inteiro, Real, Texto, Binario };
    Tipo tipo(int coluna) const;
    qint64 inteiro(int coluna) const;
    double real(int coluna) const;
    // The text's bytes, valid until the next row.
    QByteArrayView texto(int coluna) const;
    // The value as QSqlQuery gives it: null, a 64-bit integer, a double or a text.
    QVariant valor(int coluna) const;

  private:
    sqlite3_stmt *comando_;
};

} // namespace vlme::store
