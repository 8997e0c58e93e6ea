#pragma once
// What the bulk writer (GravacaoEmLote) hands to the backend: rows to put in
// the tables, each table's rows in the order given (backups and the delivery
// file read them back in that order). Made by Motor::escritaLote; lives inside
// the caller's transaction, on the thread of its Banco. Also the backup's
// filler (CopiaParaArquivo), which differs the same way.

#include <QString>
#include <QVariantList>

#include <optional>

namespace vlme::store {

namespace gravar {
class Linha;
}

class EscritaLote {
  public:
    virtual ~EscritaLote() = default;
    // Writes or keeps the row; returns the counter key a new NF or DI row
    // gets, else 0.
    virtual qint64 insere(const gravar::Linha &linha) = 0;
    // Whatever is kept is in the tables after it.
    virtual void envia() = 0;
    // The imported or national components of statement `de` copied into
    // `para` by the database itself, each with a new copy of its invoice or
    // declaration (keys drawn in the components' order); how many. Nothing,
    // where the rows go through `insere` one by one.
    virtual std::optional<int> copiaImportados(int de, int para) { return std::nullopt; }
    virtual std::optional<int> copiaNacionais(int de, int para) { return std::nullopt; }
};

// The rows of one statement copied into a new backup file, in one transaction
// of the file, each table's in the order they were written.
class CopiaParaArquivo {
  public:
    virtual ~CopiaParaArquivo() = default;
    // The rows of `tabela` that `onde` selects (its `?` bound to
    // `parametros`; other tables named as `main.T`), every column.
    virtual void copia(const QString &tabela, const QString &onde,
                       const QVariantList &parametros) = 0;
    // Confirms the file's transaction.
    virtual void conclui() = 0;
};

} // namespace vlme::store
