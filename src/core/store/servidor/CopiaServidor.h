#pragma once
// The bulk writer's server half: rows sent by COPY instead of one round trip
// each, inside the caller's transaction. Rows are kept per table, in the order
// given, and sent by one COPY per table naming every column: a column a row
// leaves out gets the table's default written out, as an INSERT would leave
// it (rows of real files fill different columns, and a COPY per run of one
// shape took thousands of round trips). The counter keys are drawn from their
// sequences ahead, so a row's key is known at once.
// `envia` sends what is kept; reads of these tables in between must come after it.

#include "store/Banco.h"
#include "store/EscritaLote.h"

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <optional>

namespace vlme::store {
class Banco;
namespace gravar {
struct Tabela;
class Linha;
} // namespace gravar
} // namespace vlme::store

namespace vlme::store::servidor {

class CopiaServidor final : public EscritaLote {
  public:
    explicit CopiaServidor(Banco &banco) : banco_(banco) {}
    // Keeps the row; returns its counter key (NF, DI) or 0.
    qint64 insere(const gravar::Linha &linha) override;
    void envia() override;
    std::optional<int> copiaImportados(int de, int para) override;
    std::optional<int> copiaNacionais(int de, int para) override;

  private:
    qint64 chave(const gravar::Tabela &tabela);

    Banco &banco_;
    QHash<const gravar::Tabela *, QByteArray> dados_;
    QVector<const gravar::Tabela *> ordem_;
    QHash<const gravar::Tabela *, QVector<qint64>> chaves_;
    QHash<const gravar::Tabela *, int> lotes_; // how many keys the next draw takes
};

// A backup file filled from the server, which cannot attach a file: the rows
// read in the order they were written (rowid; the server returns rows as they
// lie, which an update moves) and inserted into the file through the program.
class CopiaParaArquivoServidor final : public CopiaParaArquivo {
  public:
    CopiaParaArquivoServidor(Banco &banco, const QString &arquivo);
    void copia(const QString &tabela, const QString &onde, const QVariantList &parametros) override;
    void conclui() override;

  private:
    Banco &banco_;
    Banco arquivo_;
    std::optional<Leitura> leitura_;
    std::optional<Transacao> transacao_;
};

} // namespace vlme::store::servidor
