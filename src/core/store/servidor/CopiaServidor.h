#pragma once
// The bulk writer's server half: rows sent by COPY instead of one round trip
// each, inside the caller's transaction. Rows are kept per table, in the order
// given, and sent in runs of one column set each (the columns a row leaves out
// take the table's default, as an INSERT leaves them); the counter keys of NF
// and DI are drawn from their sequences ahead, so a row's key is known at once.
// `envia` sends what is kept; reads of these tables in between must come after it.

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <vector>

namespace vlme::store {
class Banco;
namespace gravar {
struct Tabela;
class Linha;
} // namespace gravar
} // namespace vlme::store

namespace vlme::store::servidor {

class CopiaServidor {
  public:
    explicit CopiaServidor(Banco &banco) : banco_(banco) {}
    // Keeps the row; returns its counter key (NF, DI) or 0.
    qint64 insere(const gravar::Linha &linha);
    void envia();

  private:
    struct Trecho {
        quint32 mascara;
        QByteArray dados;
    };
    qint64 chave(const gravar::Tabela &tabela);

    Banco &banco_;
    QHash<const gravar::Tabela *, std::vector<Trecho>> trechos_;
    QVector<const gravar::Tabela *> ordem_;
    QHash<const gravar::Tabela *, QVector<qint64>> chaves_;
    QHash<const gravar::Tabela *, int> lotes_; // how many keys the next draw takes
};

// The imported or national components of statement `de` copied into `para`
// by the server itself, in one statement each, with a new copy of each
// component's invoice or declaration (keys drawn in the components' order, as
// the bulk writer draws them); inside the caller's transaction. Returns the
// components copied.
int CopiaImportados(Banco &banco, int de, int para);
int CopiaNacionais(Banco &banco, int de, int para);

} // namespace vlme::store::servidor
