#pragma once
// Statement text import: reads a fixed-width text file of one or more
// statements (general data, models, national components, imported
// subcomponents and components, a closing totals record), checks every field
// and stores the statements through the saving operations of the store, all
// in one transaction: either the whole file is stored or nothing is.
//
// What is wrong with the file is told in two ways: a structural fault (wrong
// record type, order or length, missing record, totals that disagree) stops
// the run at once with one message; field faults are all collected, with
// their line and field, into the error list, and nothing is stored.
//
// The file comes from other programs and is not trusted:
// - It is read through LeitorLinhas: lines end in CR LF or LF alone, a line
//   keeps at most LimiteLinha characters (a longer one still reports its true
//   length), and the file may not pass LimiteLinhas lines. A file that is
//   valid UTF-8 throughout is read as UTF-8, lengths in characters; any other
//   as Latin-1, one byte one character.
// - A text field holding a character Latin-1 cannot hold, control or binary
//   bytes, or what can only be UTF-8 inside a Latin-1 file ("Ã§" for "ç") is
//   refused with its own message instead of being stored garbled.
// - A statement may hold at most 9999 models, 9999 national and 9999
//   imported rows; one more stops the run.
// - Lines after the totals record must be blank: a second file pasted after
//   the first would otherwise be dropped while the import reports success.
//
// UI thread only: the lines are counted inside the progress, then its
// `unidade()` runs after every line; a cancel at any point rolls everything
// back.

#include "base/InterfaceUsuario.h"
#include "import/ErrosImportacao.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class Progresso;
} // namespace vlme::base

namespace vlme::importacao {

inline constexpr int LimiteLinha = 1024;
inline constexpr int LimiteLinhas = 1000000;

inline const QString TituloImportacao = QStringLiteral("Importação do VLME");
inline const QString TextoErrosDetectados = QStringLiteral(
    "Foram detectados erros na importação de dados. Clique OK para visualizar as pendências.");

enum class Desfecho {
    Sucesso,     // every statement stored
    ErrosCampo,  // field checks failed: `erros` lists them, nothing stored
    Abortada,    // a structural fault: `mensagem`, nothing stored
    Cancelada,   // the user cancelled: nothing stored, nothing to say
    Falha,       // the file could not be read or the database failed: `mensagem`
    JaImportado, // the same content made statements still there: `mensagem`,
                 // `anteriores`, nothing stored
};

struct Contadores {
    int linhas = 0;                 // lines read
    std::array<int, 5> registros{}; // records stored per type 0..4
    int total() const;              // type 9 not counted
};

struct ResultadoImportacao {
    Desfecho desfecho = Desfecho::Falha;
    QString arquivo;
    // For Abortada and Falha: the message, its icon and whether a beep goes
    // before it.
    QString mensagem;
    base::Icone icone = base::Icone::Critico;
    bool bipe = false;
    std::vector<int> declaracoes; // NR_VLM_VLM of the new statements, in file order
    std::vector<int> anteriores;  // JaImportado: the statements the same content made
    std::vector<ErroImportacao> erros;
    Contadores contadores;
    // The server's answer to the final COMMIT was lost. Found out after:
    // Sucesso with `aviso` saying so; Falha told as undone when provably
    // nothing was stored; else Falha with `incerto` (nobody knows yet).
    bool incerto = false;
    QString aviso;
};

// The run alone: reads, checks and stores, and says how it went. Talks to no
// one but the progress (step texts, bar, cancel). Every stored import records
// its content's SHA-256 with the statements it made; with `umaVez`, content
// that made statements still in the database is refused (JaImportado), the
// check and the import in one transaction, so two runs of one job cannot both
// store it.
ResultadoImportacao ImportaArquivo(store::Banco &banco, base::Progresso &progresso,
                                   const QString &caminho, bool umaVez = false);

// The import command: ImportaArquivo, then tells the user the outcome (the
// success message with its counts, the structural fault, "Foram detectados
// erros..." before the error list, a failure). `bipe` is sounded before the
// messages that carry one. The caller shows the error list (FormErrImport)
// when the result is ErrosCampo.
ResultadoImportacao ImportaDeclaracao(store::Banco &banco, base::InterfaceUsuario &usuario,
                                      base::Progresso &progresso, const QString &caminho,
                                      const std::function<void()> &bipe = {});

// The success message with the run's counts.
QString TextoSucesso(const Contadores &contadores);

} // namespace vlme::importacao
