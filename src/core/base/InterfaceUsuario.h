#pragma once
// The one way the program talks to the user: message boxes, questions and file
// choice. The desktop program answers with dialogs, vlme-cli with the terminal,
// tests with a scripted double. Core code never opens a window itself.
// Called on the user-interface thread only.

#include <QString>

namespace vlme::base {

enum class Icone { Nenhum, Informacao, Exclamacao, Pergunta, Critico };
// SimNaoPadraoNao: Sim and Não with Não the default, for a question whose Sim
// destroys something, so that a hasty Enter keeps it.
enum class Botoes { Ok, SimNao, SimNaoPadraoNao, SimNaoCancelar, OkCancelar };
enum class Resposta { Ok, Sim, Nao, Cancelar };

class InterfaceUsuario {
  public:
    virtual ~InterfaceUsuario() = default;

    // Shows a message and waits for the answer. An empty title means the
    // program's own title.
    virtual Resposta mensagem(const QString &titulo, const QString &texto, Icone icone,
                              Botoes botoes) = 0;

    // Asks for an existing file to read; empty when the user gave up.
    // `filtro` uses the Qt form: "Arquivo texto (*.*)".
    virtual QString escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                        const QString &pastaInicial) = 0;
    // Asks for a file name to write; empty when the user gave up.
    virtual QString escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                         const QString &caminhoInicial) = 0;
    // Asks for a line of text (a search; a password when `oculto`, not
    // echoed); empty when the user gave up. Where nobody can type (vlme-cli),
    // nothing is typed.
    virtual QString pedeTexto(const QString &titulo, const QString &pergunta, bool oculto = false) {
        Q_UNUSED(titulo);
        Q_UNUSED(pergunta);
        Q_UNUSED(oculto);
        return {};
    }

    void avisa(const QString &titulo, const QString &texto, Icone icone = Icone::Exclamacao) {
        mensagem(titulo, texto, icone, Botoes::Ok);
    }
    bool perguntaSim(const QString &titulo, const QString &texto) {
        return mensagem(titulo, texto, Icone::Pergunta, Botoes::SimNao) == Resposta::Sim;
    }
    bool confirmaDestruicao(const QString &titulo, const QString &texto) {
        return mensagem(titulo, texto, Icone::Pergunta, Botoes::SimNaoPadraoNao) == Resposta::Sim;
    }
};

} // namespace vlme::base
