#include "cli/UsuarioTerminal.h"

#include "cli/Comandos.h"

#include <cstdio>

namespace vlme::cli {

using base::Botoes;
using base::Icone;
using base::Resposta;

UsuarioTerminal::UsuarioTerminal(QTextStream &saida, QTextStream &erro, bool respondeSim)
    : respondeSim_(respondeSim), saida_(saida), erro_(erro), entrada_(stdin) {}

Resposta UsuarioTerminal::mensagem(const QString &, const QString &texto, Icone icone,
                                   Botoes botoes) {
    const bool problema = icone == Icone::Critico || icone == Icone::Exclamacao;
    QTextStream &destino = (problema || botoes != Botoes::Ok) ? erro_ : saida_;
    destino << TextoTerminal(texto) << '\n';
    destino.flush();
    if (botoes == Botoes::Ok)
        return Resposta::Ok;
    if (respondeSim_)
        return Resposta::Sim;
    erro_ << "[s/N] ";
    erro_.flush();
    const QString resposta = entrada_.readLine().trimmed().toLower();
    if (resposta == QLatin1String("s") || resposta == QLatin1String("sim"))
        return Resposta::Sim;
    return botoes == Botoes::OkCancelar ? Resposta::Cancelar : Resposta::Nao;
}

QString UsuarioTerminal::escolheArquivoAbrir(const QString &, const QString &, const QString &) {
    // vlme-cli always takes file names as arguments.
    return {};
}

QString UsuarioTerminal::escolheArquivoSalvar(const QString &, const QString &, const QString &) {
    return {};
}

} // namespace vlme::cli
