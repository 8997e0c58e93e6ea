#pragma once
// The diagnostic server's answer for one delivered statement: the request
// body, the reading of the answer row by row, and its storing in the
// statement row, the ERRO and DI tables. No network here: the exchange
// (Troca.h) hands the answer over as it arrived. The server is outside the
// program, so its answer is untrusted: it is checked whole before anything is
// stored, and stored in one transaction.
// User-interface thread only.

#include <QByteArray>
#include <QString>

#include <optional>

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::store {
class Banco;
}

namespace vlme::diagnostic {

// The readers of one answer row (positions from 1): kind at 1, part (or the
// data sub-kind) at 2, item at 6-10, sub-item at 11-15, text from 16.
QChar TipoLinha(const QString &linha);
// The part's name for the index at position 2; empty for 0 and for any
// index outside 0-4.
QString NomeQuadro(const QString &linha);
// Whole numbers; blanks count as 0, anything else that is not digits is
// nullopt.
std::optional<int> NumeroItem(const QString &linha);
std::optional<int> NumeroSubitem(const QString &linha);
QString TextoLinha(const QString &linha);

// "NR_TRANSMISSAO_VLM:" and the number's digits.
QByteArray CorpoPedido(qint64 nrTransmissao);

// How one request ended, as the exchange saw it.
struct Resposta {
    enum class Tipo {
        Recebida,      // the server answered (any HTTP status)
        FalhaConexao,  // no answer: refused, closed, name unknown...
        TempoEsgotado, // the wait was given up
        GrandeDemais,  // reading stopped at the size limit
    };
    Tipo tipo = Tipo::Recebida;
    int status = 0; // HTTP status, 0 when none came
    QByteArray corpo;
};

// The largest answer read; a real one is a few kilobytes.
inline constexpr qint64 TamanhoMaximoResposta = 1024 * 1024;
// The longest row taken; longer means the answer has no separators.
inline constexpr int TamanhoMaximoLinha = 2048;
inline constexpr int LimiteTiques = 20;

enum class Desfecho {
    Registrado,     // with or without warnings
    ComAvisos,      // warnings only, no registration row
    ComErros,       // rejected: errors stored, or a message row of kind 7
    Mensagem,       // stopped by a message row of kind 4, 5 or 6 before any outcome
    SemDiagnostico, // a valid answer without outcome rows
    SemResposta,    // nothing valid came: empty, HTTP error, unreadable, no connection, time out
    NaoTransmitido,
    Falha, // the database failed; nothing stored
};

// The statement's transmission number, or nullopt after telling the user it
// was never transmitted (or does not exist).
std::optional<qint64> TransmissaoParaPedido(store::Banco &banco, int nrVlm,
                                            base::InterfaceUsuario &usuario);

struct Resultado {
    Desfecho desfecho = Desfecho::SemResposta;
    bool listar = false; // the stored errors or warnings should be shown now
    bool registrado = false;
    bool parou = false; // a message row of kind 4-7 ended the handling
    int erros = 0, avisos = 0;
};

// Checks, stores and tells the answer for statement `nrVlm`. The earlier ERRO
// rows are replaced only by an answer that brings an outcome (registration,
// errors or warnings); a database failure throws and leaves everything as it
// was. On errors the statement's delivery files in its file folder under
// `pastaPrograma` are removed.
Resultado TrataResposta(store::Banco &banco, const QString &pastaPrograma, int nrVlm,
                        const Resposta &resposta, base::InterfaceUsuario &usuario);

// The time-limit message, counter included.
void AvisaTempoEsgotado(base::InterfaceUsuario &usuario, int contador);

// What the picker's diagnostic choice does with a transmitted statement.
enum class Escolha {
    Consulta, // ask the server
    Lista,    // list the stored errors (or, once registered, warnings)
    SemErros, // registered without warnings: told so
};
Escolha EscolheDiagnostico(store::Banco &banco, int nrVlm);
void AvisaSemErros(base::InterfaceUsuario &usuario);

// Removes the statement's own delivery files: "VLME" + its file number in
// four digits + ".Z1" + one character, in its file folder. Returns how many.
int RemoveArquivosEntrega(store::Banco &banco, const QString &pastaPrograma, int nrVlm);

} // namespace vlme::diagnostic
