#pragma once
// The main window's commands and where each one leads. A command either acts
// on the open statement or, when none is open, goes through the statement
// picker with an operation code; some close the open statement first. The
// routing lives here, away from the window, so that it is tested alone; the
// window implements `DestinoComandos` (one place per operation) and each
// operation's work fills in its own place.
// Called on the user-interface thread only.

#include <QString>

#include <vector>

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::shell {

// Operation codes of the statement picker.
namespace Operacao {
inline constexpr int Abrir = 2;
inline constexpr int Excluir = 3;
inline constexpr int Copiar = 4;
inline constexpr int GerarArquivo = 6;
inline constexpr int GravarTransmissao = 7;
inline constexpr int Backup = 8;
inline constexpr int Imprimir = 9;
inline constexpr int ImprimirResumo = 10;
inline constexpr int ImprimirRecibo = 11;
inline constexpr int Pendencias = 14;
inline constexpr int Diagnostico = 15;
inline constexpr int ConsultarDiagnostico = 16;
inline constexpr int RegistrarEntrega = 17;
inline constexpr int DesfazerEntrega = 18;
} // namespace Operacao

enum class Comando {
    Novo,
    Abrir,
    Importar,
    Fechar,
    ConfigurarImpressora,
    ImprimirVLM,
    Resumo,
    Excluir,
    Diagnostico,
    Pendencias,
    GerarArquivoEnviador,
    Transmitir,
    GerarCopia, // backup
    Restaurar,
    ImportarNCM,
    ImportarUnidades,
    Calculadora,
    Conteudo,
    Indice,
    Procurar,
    Sobre,
    Sair,
    // Entry points of the diagnostic flows, with no menu of their own.
    ConsultarDiagnostico,
    ImprimirRecibo,
    // The transmission number and receipt of a statement sent.
    RegistrarEntrega,
    // Utilitários > Banco de dados da equipe.
    BancoEquipe,
    // The data folder's statements copied to the team database.
    CopiarParaEquipe,
    // A delivery recorded by mistake undone, before the diagnostic.
    DesfazerEntrega,
};

// The places the commands lead to. Each is one operation; the window that
// implements them decides how it looks.
class DestinoComandos {
  public:
    virtual ~DestinoComandos() = default;

    virtual bool declaracaoAberta() const = 0;
    // Closes the general-data window, which saves or discards the statement;
    // the statement may stay open when the user keeps it.
    virtual void fechaDeclaracao() = 0;
    virtual void abreSeletor(int operacao) = 0;
    virtual void mostraNovo() = 0;
    virtual void importaDeclaracao() = 0;
    virtual void configuraImpressora() = 0;
    // These act on the open statement.
    virtual void imprimeDeclaracao() = 0;
    virtual void imprimeResumo() = 0;
    virtual void excluiDeclaracao() = 0;
    virtual void verificaPendencias() = 0;
    virtual void gravaParaTransmissao() = 0;

    virtual void restauraCopia() = 0;
    virtual void importaTabelaNCM() = 0;
    virtual void importaTabelaUnidades() = 0;
    virtual void abreCalculadora() = 0;
    // The team database: chosen, tested, and the program moved onto it; an
    // open statement is closed only once the choice changes.
    virtual void configuraBanco() = 0;
    virtual void mostraConteudoAjuda() = 0;
    virtual void mostraIndiceAjuda() = 0;
    virtual void mostraSobre() = 0;
    virtual void sai() = 0;
    virtual void copiaParaEquipe() = 0;
};

// How a command treats an open statement.
enum class ComAberta {
    Igual,      // the same with or without one
    FechaAntes, // closes it; when none is left open, as without one
    Propria,    // an action of its own on it
};

struct RotaComando {
    Comando comando;
    const char *menu;     // objectName of its menu command; empty when none
    bool respeitaOcupado; // does nothing while the program is busy
    ComAberta comAberta;
    void (*semDeclaracao)(DestinoComandos &); // null: nothing
    void (*naDeclaracao)(DestinoComandos &);  // for ComAberta::Propria
};

// Every command, in menu order.
const std::vector<RotaComando> &RotasComandos();
const RotaComando &RotaDe(Comando comando);

// Runs a command. While `ocupado` the commands the busy rule covers do
// nothing; the answer says whether the command ran.
bool ExecutaComando(Comando comando, DestinoComandos &destino, bool ocupado);

// Tells the outcome of recording a statement for transmission: `arquivo` is
// the delivery file written, empty when none was. Answers whether it was.
bool InformaGravacaoTransmissao(base::InterfaceUsuario &usuario, const QString &arquivo);

// Told when a command's operation is not in this version of the program yet.
QString TextoNaoDisponivel(const QString &operacao);

} // namespace vlme::shell
