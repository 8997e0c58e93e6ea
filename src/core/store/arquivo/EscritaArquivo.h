#pragma once
// The bulk writer's file half: each row bound straight into an insert
// prepared once per table and set of columns, so a row costs what SQLite's
// own insert costs. And the backup's filler: the new file attached to the
// program's connection, each table's rows copied by one INSERT ... SELECT.

#include "store/Banco.h"
#include "store/EscritaLote.h"

#include <QHash>

#include <optional>
#include <utility>

struct sqlite3_stmt;

namespace vlme::store::gravar {
struct Tabela;
}

namespace vlme::store::arquivo {

class EscritaArquivo final : public EscritaLote {
  public:
    explicit EscritaArquivo(Banco &banco) : banco_(banco) {}
    qint64 insere(const gravar::Linha &linha) override;
    void envia() override {}

  private:
    Banco &banco_;
    QHash<std::pair<const gravar::Tabela *, quint32>, sqlite3_stmt *> comandos_;
};

class CopiaParaArquivoAnexado final : public CopiaParaArquivo {
  public:
    CopiaParaArquivoAnexado(Banco &banco, const QString &arquivo);
    ~CopiaParaArquivoAnexado() override;
    void copia(const QString &tabela, const QString &onde, const QVariantList &parametros) override;
    void conclui() override;

  private:
    void solta();

    Banco &banco_;
    std::optional<Transacao> transacao_;
};

} // namespace vlme::store::arquivo
