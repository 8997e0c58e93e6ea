#pragma once
// Writing a whole imported file: the same rows as IncluiModelo, IncluiNacional
// and IncluiImportadoDI / IncluiImportadoNF (both build them in GravarLinha),
// at the pace of tens of thousands
// of rows. The rows go to the backend's writer (Motor::escritaLote), which
// binds them straight into prepared inserts or keeps them for one COPY per
// table; the next sequence numbers of a statement are read once and counted
// on in memory; no savepoint is taken per row.
//
// Hence two conditions: it runs inside the caller's Transacao, which alone can
// undo a row left half-written by a failure; and while it lives, the Banco
// stays open and the statements it writes to get their models and components
// through it alone.
// UI thread only, like the Banco it is given.

#include "store/Gravar.h"

#include <QHash>

#include <memory>
#include <optional>

namespace vlme::store {

namespace gravar {
class Linha;
}
class EscritaLote;

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
    // The components of statement `de` copied into `para` by the database
    // itself; nothing where they are to be read and given to `insere`.
    std::optional<int> copiaImportados(int de, int para);
    std::optional<int> copiaNacionais(int de, int para);
    // Writes what is still kept; before the transaction is confirmed.
    void conclui();

  private:
    struct Sequencias {
        int modelo = 0;
        int nacional = 0;
        int importado = 0;
        // Subcomponents may wait for a national component being included;
        // the next one included adopts them, as IncluiNacional does.
        bool pendentes = true;
        // Some of them were given to the writer, which may still keep them.
        bool pendentesGuardados = false;
    };
    Sequencias &sequencias(int nrVlm);
    int incluiImportado(int nrVlm, const DadosImportado &dados, Documento documento, int chave,
                        int nacionalDono);

    Banco &banco_;
    QHash<int, Sequencias> sequencias_;
    std::unique_ptr<EscritaLote> escrita_;
};

} // namespace vlme::store
