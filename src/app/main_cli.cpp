// vlme-cli: the program's operations without windows, for the company's own
// systems. Exit status: 0 success, 1 problems found in the data, 2 wrong
// usage, 3 failure.

#include "checking/Calculos.h"
#include "checking/Pendencias.h"
#include "delivery/Declaracao.h"
#include "delivery/Transmissao.h"
#include "entry/Numeros.h"
#include "import/CliImportar.h"
#include "shell/CopiaUnica.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "shell/UsuarioTerminal.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

enum Saida { Sucesso = 0, Problemas = 1, UsoErrado = 2, Falha = 3 };

struct Contexto {
    QString pasta;
    vlme::store::Banco &banco;
    vlme::shell::InterfaceUsuario &usuario;
    QStringList argumentos; // after the command's name
};

using Comando = std::function<int(Contexto &)>;

int listar(Contexto &c)
{
    if (!c.argumentos.isEmpty())
        return UsoErrado;
    QTextStream saida(stdout);
    saida << "NR_VLM_VLM\tCNPJ_VLM\tDEN_PRODUTO_VLM\tTIPO\tSITUACAO\tPROTOCOLO\n";
    for (const auto &item : vlme::store::ListaDeclaracoes(c.banco))
        saida << item.numero << '\t' << item.cnpj << '\t' << item.produto << '\t' << item.tipo
              << '\t' << item.situacao << '\t' << item.protocolo << '\n';
    return Sucesso;
}

// The statement number argument of a command; 0 when the arguments are wrong
// (usage) or -1 when there is no such statement (told to the user).
int declaracaoDoArgumento(Contexto &c)
{
    if (c.argumentos.size() != 1)
        return 0;
    bool ok = false;
    const int numero = c.argumentos.first().toInt(&ok);
    if (!ok || numero <= 0)
        return 0;
    if (!c.banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE NR_VLM_VLM = ?"), {numero}).isValid()) {
        QTextStream(stderr) << "A declaração " << numero << " não existe.\n";
        return -1;
    }
    return numero;
}

int verificar(Contexto &c)
{
    const int numero = declaracaoDoArgumento(c);
    if (numero <= 0)
        return numero == 0 ? UsoErrado : Falha;
    const auto pendencias = vlme::checking::VerificaPendencias(c.banco, numero);
    QTextStream saida(stdout);
    if (pendencias.empty()) {
        saida << vlme::checking::TextoSemPendencias << '\n';
        return Sucesso;
    }
    for (const auto &p : pendencias)
        saida << p.texto << '\n';
    return Problemas;
}

int resumo(Contexto &c)
{
    const int numero = declaracaoDoArgumento(c);
    if (numero <= 0)
        return numero == 0 ? UsoErrado : Falha;
    QTextStream saida(stdout);
    for (const auto &[rotulo, valor] : vlme::checking::LinhasResumo(c.banco, numero))
        saida << rotulo << ": " << valor << '\n';
    return Sucesso;
}

int copiar(Contexto &c)
{
    return vlme::store::cliCopiar(c.banco, c.usuario, c.argumentos);
}

int excluir(Contexto &c)
{
    return vlme::store::cliExcluir(c.banco, c.usuario, c.argumentos);
}

int importar(Contexto &c)
{
    return vlme::importacao::cliImportar(c.banco, c.usuario, c.argumentos);
}

int gerar(Contexto &c)
{
    return vlme::delivery::cliGerar(c.banco, c.pasta, c.usuario, c.argumentos);
}

// One entry per command; each operation's work adds its own.
const std::map<QString, std::pair<Comando, const char *>> &comandos()
{
    static const std::map<QString, std::pair<Comando, const char *>> tabela = {
        {QStringLiteral("listar"), {listar, "listar                 lista as declarações"}},
        {QStringLiteral("verificar"), {verificar, "verificar N            lista as pendências da declaração N"}},
        {QStringLiteral("resumo"), {resumo, "resumo N               mostra os custos e o coeficiente de redução"}},
        {QStringLiteral("importar"), {importar, "importar ARQ           importa declarações de um arquivo texto"}},
        {QStringLiteral("gerar"), {gerar, "gerar N                grava o arquivo de entrega da declaração N"}},
        {QStringLiteral("copiar"), {copiar, "copiar N               copia a declaração N e escreve o número da cópia"}},
        {QStringLiteral("excluir"), {excluir, "excluir N              exclui a declaração N"}},
    };
    return tabela;
}

int uso(QTextStream &erro)
{
    erro << "Uso: vlme-cli [--pasta DIR] [--sim] COMANDO [ARGUMENTOS]\n\nComandos:\n";
    for (const auto &[nome, entrada] : comandos())
        erro << "  " << entrada.second << '\n';
    erro << "\n--pasta DIR  pasta de dados (padrão: VLME_PASTA ou a pasta do usuário)\n"
            "--sim        responde Sim a todas as perguntas\n";
    return UsoErrado;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VLME"));
    QCoreApplication::setApplicationName(QStringLiteral("VLME"));
    QTextStream erro(stderr);

    QStringList args = app.arguments().mid(1);
    QString opcaoPasta;
    bool respondeSim = false;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opcao = args.takeFirst();
        if (opcao == QLatin1String("--pasta") && !args.isEmpty())
            opcaoPasta = args.takeFirst();
        else if (opcao == QLatin1String("--sim"))
            respondeSim = true;
        else
            return uso(erro);
    }
    if (args.isEmpty())
        return uso(erro);
    const auto it = comandos().find(args.takeFirst());
    if (it == comandos().end())
        return uso(erro);

    vlme::shell::UsuarioTerminal usuario(respondeSim);
    const QString pasta = vlme::shell::EscolhePastaPrograma(opcaoPasta);
    if (!vlme::shell::CriaPastaPrograma(pasta, usuario))
        return Falha;
    vlme::shell::CopiaUnica copia(pasta);
    if (!copia.obtem()) {
        usuario.mensagem(QStringLiteral("ERRO"), vlme::shell::MensagemOutraCopia,
                         vlme::shell::Icone::Exclamacao, vlme::shell::Botoes::Ok);
        return Falha;
    }
    vlme::store::Banco banco;
    if (!vlme::shell::AbreBancoPrograma(pasta, banco, usuario))
        return Falha;

    Contexto contexto{pasta, banco, usuario, args};
    try {
        const int resultado = it->second.first(contexto);
        if (resultado == UsoErrado)
            return uso(erro);
        return resultado;
    } catch (const vlme::store::ErroBanco &e) {
        erro << "Erro no banco de dados: " << e.mensagem() << '\n';
        return Falha;
    } catch (const vlme::delivery::ErroEntrega &e) {
        erro << e.mensagem() << '\n';
        return Falha;
    }
}
