#include "cli/Executa.h"

#include "base/Erros.h"
#include "cli/Argumentos.h"
#include "cli/Comandos.h"
#include "cli/Json.h"
#include "cli/UsuarioTerminal.h"
#include "shell/FronteiraComando.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Reservas.h"
#include "store/servidor/UrlServidor.h"

#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <utility>

namespace vlme::cli {

namespace {

// The window program's single-copy lock is not taken: vlme-cli runs beside it
// and beside other vlme-cli, the statements it changes reserved.
Saida roda(const Pedido &pedido, QTextStream &saida, QTextStream &erro, QJsonObject &json) {
    UsuarioTerminal usuario(saida, erro, pedido.respondeSim);
    const QString pasta = shell::EscolhePastaPrograma(pedido.pasta);
    if (!shell::CriaPastaPrograma(pasta, usuario))
        return Saida::Falha;
    bool avisado = false;
    store::Banco banco;
    // Said once per wait, on standard error with the progress.
    banco.defineEspera([&](qint64 esperados) {
        if (esperados < 0)
            avisado = false;
        else if (!std::exchange(avisado, true))
            erro << base::Mensagem(banco.motivoEspera() == store::Banco::MotivoEspera::Servidor
                                       ? "AVISO_ESPERA_SERVIDOR"
                                       : "AVISO_ESPERA_GRAVACAO")
                 << Qt::endl;
        QThread::msleep(20);
        return true;
    });
    const QString url = pedido.comando->bancoLocal ? QString() : shell::EscolheBanco(pedido.banco);
    if (!shell::AbreBancoEscolhido(pasta, url, banco, usuario, false))
        return Saida::Falha;
    if (pedido.declaracao && !pedido.comando->nExcluida &&
        !store::ExisteDeclaracao(banco, pedido.declaracao)) {
        erro << store::ErroDeclaracaoInexistente(pedido.declaracao).mensagem() << '\n';
        return Saida::UsoErrado;
    }
    std::optional<store::Reserva> reserva;
    if (pedido.comando->alteraN)
        reserva.emplace(banco, pedido.declaracao);
    Contexto contexto{pasta, banco, usuario, pedido.argumentos, pedido.declaracao, saida, erro};
    contexto.urlDiagnostico = shell::EscolheURLDiagnostico(pedido.urlDiagnostico);
    const Saida status = pedido.comando->executa(contexto);
    json = contexto.json;
    return status;
}

// The command's document, its status and what it said on standard error.
QByteArray DocumentoJson(const Pedido &pedido, Saida status, QJsonObject json,
                         const QString &erros) {
    if (pedido.comando)
        json.insert(QStringLiteral("comando"), QLatin1String(pedido.comando->nome));
    json.insert(QStringLiteral("status"), int(status));
    if (status != Saida::Sucesso && !erros.trimmed().isEmpty())
        json.insert(QStringLiteral("mensagem"), erros.trimmed());
    return TextoJson(json);
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
        if (pedido.json)
            saida << DocumentoJson(pedido, Saida::UsoErrado, {}, pedido.erro);
        return int(Saida::UsoErrado);
    }
    // Said once, on standard error only (never in the JSON document): what a
    // command line carries every local user can read in the process list.
    QStringList urls{shell::EscolheBanco(pedido.banco)};
    if (pedido.comando && qstrcmp(pedido.comando->nome, "migrar") == 0)
        urls << pedido.argumentos.value(0);
    if (std::any_of(urls.cbegin(), urls.cend(), store::servidor::TemSenha))
        erro << base::Mensagem("AVISO_SENHA_NA_URL") << Qt::endl;
    // With --json the text goes nowhere; what goes to standard error goes
    // there too, and into the document.
    QString texto, erros;
    QTextStream saidaTexto(&texto), erroCopia(&erros);
    QTextStream &s = pedido.json ? saidaTexto : saida;
    QTextStream &e = pedido.json ? erroCopia : erro;
    QJsonObject json;
    Saida status = Saida::Falha;
    try {
        status = roda(pedido, s, e, json);
    } catch (const store::ErroReservada &) {
        e << TextoTerminal(shell::TextoDoErro()) << '\n';
        status = Saida::Reservada;
    } catch (const store::ErroDesfechoIncerto &) {
        e << TextoTerminal(shell::TextoDoErro()) << '\n';
        status = Saida::Incerto;
    } catch (...) {
        e << TextoTerminal(shell::TextoDoErro()) << '\n';
    }
    if (pedido.json) {
        e.flush();
        erro << erros;
        saida << DocumentoJson(pedido, status, json, erros);
    }
    return int(status);
}

} // namespace vlme::cli
