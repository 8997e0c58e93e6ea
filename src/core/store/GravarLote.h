#pragma once
// Writing a whole imported file: the same rows as IncluiModelo, IncluiNacional
// and IncluiImportadoDI / IncluiImportadoNF, at the pace of tens of thousands
// of rows. Each insert is prepared once and its values bound straight in
// SQLite; the next sequence numbers of a statement are read once and counted
// on in memory; no savepoint is taken per row.
//
// Hence two conditions: it runs inside the caller's Transacao, which alone can
// undo a row left half-written by a failure; and while it lives, the Banco
// stays open and the statements it writes to get their models and components
// through it alone.
// UI thread only, like the Banco it is given.

#include "store/Gravar.h"

#include <QHash>

struct sqlite3_stmt;

namespace vlme::store {

class GravacaoEmLote {
  public:
    explicit GravacaoEmLote(Banco &banco);
    GravacaoEmLote(const GravacaoEmLote &) = delete;
    GravacaoEmLote &operator=(const GravacaoEmLote &) = delete;

    int incluiModelo(int nrVlm, const DadosModelo &dados);
    int incluiNacional(int nrVlm, const DadosNF &nf, const DadosNacional &dados);
    int incluiImportadoDI(int nrVlm, const DadosDI &di, const DadosImportado &dados,
                          int nacionalDono = 0);
    int incluiImportadoNF(int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                          int nacionalDono = 0);

    // Rows of one table, each naming the columns it writes; the others keep
    // their defaults, as gravar::Insere leaves them.
    class Linha;

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
    qint64 insere(int tabela, const Linha &linha);
    int gravaNF(const DadosNF &nf);
    int incluiImportado(int nrVlm, const DadosImportado &dados, bool direto, int chave,
                        int nacionalDono);

    Banco &banco_;
    QHash<int, Sequencias> sequencias_;
    QHash<quint64, sqlite3_stmt *> comandos_; // by table and set of columns
};

} // namespace vlme::store
