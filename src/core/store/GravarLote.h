#pragma once
// Writing a whole imported file: the same rows as IncluiModelo, IncluiNacional
// and IncluiImportadoDI / IncluiImportadoNF (both build them in GravarLinha),
// at the pace of tens of thousands
// of rows. Each insert is prepared once and its values bound straight in
// SQLite (on the server the rows go by COPY); the next sequence numbers of a statement are read
// once and counted on in memory; no savepoint is taken per row.
//
// Hence two conditions: it runs inside the caller's Transacao, which alone can
// undo a row left half-written by a failure; and while it lives, the Banco
// stays open and the statements it writes to get their models and components
// through it alone.
// UI thread only, like the Banco it is given.

#include "store/Gravar.h"

#include <QHash>

#include <memory>
#include <utility>

struct sqlite3_stmt;

namespace vlme::store {

namespace gravar {
struct Tabela;
class Linha;
} // namespace gravar
namespace servidor {
class CopiaServidor;
}

class GravacaoEmLote {
  public:
    explicit GravacaoEmLote(Banco &banco);
    ~GravacaoEmLote();
    GravacaoEmLote(const GravacaoEmLote &) = delete;
    GravacaoEmLote &operator=(const GravacaoEmLote &) = delete;

    int incluiModelo(int nrVlm, const DadosModelo &dados);
    int incluiNacional(int nrVlm, const DadosNF &nf, const DadosNacional &dados);
    int incluiImportadoDI(int nrVlm, const DadosDI &di, const DadosImportado &dados,
                          int nacionalDono = 0);
    int incluiImportadoNF(int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                          int nacionalDono = 0);
    // A row as it is given, sequences and links included (a copy of rows
    // read back); returns the counter key of a new invoice or declaration.
    qint64 insere(const gravar::Linha &linha);
    // Writes what is still kept (the server's rows go by COPY); before the
    // transaction is confirmed.
    void conclui();

  private:
    struct Sequencias {
        int modelo = 0;
        int nacional = 0;
        int importado = 0;
        // Subcomponents may wait for a national component being included;
        // the next one included adopts them, as IncluiNacional does.
        bool pendentes = true;
    };
    Sequencias &sequencias(int nrVlm);
    int incluiImportado(int nrVlm, const DadosImportado &dados, Documento documento, int chave,
                        int nacionalDono);

    Banco &banco_;
    QHash<int, Sequencias> sequencias_;
    // By table and set of columns.
    QHash<std::pair<const gravar::Tabela *, quint32>, sqlite3_stmt *> comandos_;
    // On the team server, instead of the statements above.
    std::unique_ptr<servidor::CopiaServidor> copia_;
};

} // namespace vlme::store
