#include "cli/Executa.h"

#include "cli/Argumentos.h"
#include "cli/Comandos.h"
#include "cli/UsuarioTerminal.h"
#include "shell/CopiaUnica.h"
#include "shell/FronteiraComando.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"

#include <QTextStream>

#include <cstdio>
#include <exception>

namespace vlme::cli {

namespace {

Saida roda(const Pedido &pedido, QTextStream &saida, QTextStream &erro) {
    UsuarioTerminal usuario(saida, erro, pedido.respondeSim);
    const QString pasta = shell::EscolhePastaPrograma(pedido.pasta);
    if (!shell::CriaPastaPrograma(pasta, usuario))
        return Saida::Falha;
    shell::CopiaUnica copia(pasta);
    if (!copia.obtem()) {
        usuario.mensagem(QStringLiteral("ERRO"), shell::MensagemOutraCopia,
                         shell::Icone::Exclamacao, shell::Botoes::Ok);
        return Saida::Falha;
    }
    store::Banco banco;
    if (!shell::AbreBancoPrograma(pasta, banco, usuario))
        return Saida::Falha;
    if (pedido.declaracao && !store::ExisteDeclaracao(banco, pedido.declaracao)) {
        erro << store::ErroDeclaracaoInexistente(pedido.declaracao).mensagem() << '\n';
        return Saida::UsoErrado;
    }
    Contexto contexto{pasta, banco, usuario, pedido.argumentos, pedido.declaracao, saida, erro};
    contexto.urlDiagnostico = shell::EscolheURLDiagnostico(pedido.urlDiagnostico);
    return pedido.comando->executa(contexto);
}

} // namespace

int Executa(const QStringList &argumentos) {
    QTextStream saida(stdout);
    QTextStream erro(stderr);
    const Pedido pedido = LeArgumentos(argumentos);
    if (pedido.ajuda) {
        saida << TextoUso();
        return int(Saida::Sucesso);
    }
    if (!pedido.erro.isEmpty()) {
        erro << pedido.erro << "\n\n" << TextoUso();
        return int(Saida::UsoErrado);
    }
    try {
        return int(roda(pedido, saida, erro));
    } catch (...) {
        erro << TextoTerminal(shell::TextoDoErro()) << '\n';
    }
    return int(Saida::Falha);
}

} // namespace vlme::cli
