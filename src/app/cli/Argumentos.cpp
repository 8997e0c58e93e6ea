#include "cli/Argumentos.h"

#include "cli/Comandos.h"

#include <algorithm>
#include <vector>

namespace vlme::cli {

namespace {

bool PedeAjuda(const QString &palavra) {
    return palavra == QLatin1String("-h") || palavra == QLatin1String("--help");
}

} // namespace

int NumeroDeclaracao(const QString &texto) {
    bool ok = false;
    const int numero = texto.toInt(&ok);
    // toInt takes blanks and a sign; a statement number is digits only.
    const bool digitos = !texto.isEmpty() && std::all_of(texto.begin(), texto.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    return ok && digitos && numero > 0 ? numero : 0;
}

Pedido LeArgumentos(const QStringList &argumentos) {
    Pedido pedido;
    QStringList resto = argumentos;
    while (!resto.isEmpty() && resto.first().startsWith(QLatin1Char('-'))) {
        const QString opcao = resto.takeFirst();
        if (PedeAjuda(opcao)) {
            pedido.ajuda = true;
            return pedido;
        }
        if (opcao == QLatin1String("--sim")) {
            pedido.respondeSim = true;
        } else if (opcao == QLatin1String("--json")) {
            pedido.json = true;
        } else if (opcao == QLatin1String("--url-diagnostico")) {
            if (resto.isEmpty()) {
                pedido.erro = QStringLiteral("Falta o endereço depois de --url-diagnostico.");
                return pedido;
            }
            pedido.urlDiagnostico = resto.takeFirst();
        } else if (opcao == QLatin1String("--banco")) {
            if (resto.isEmpty()) {
                pedido.erro = QStringLiteral("Falta o endereço depois de --banco.");
                return pedido;
            }
            pedido.banco = resto.takeFirst();
        } else if (opcao == QLatin1String("--pasta")) {
            if (resto.isEmpty()) {
                pedido.erro = QStringLiteral("Falta a pasta depois de --pasta.");
                return pedido;
            }
            pedido.pasta = resto.takeFirst();
        } else {
            pedido.erro = QStringLiteral("Opção desconhecida: %1").arg(opcao);
            return pedido;
        }
    }
    if (std::any_of(resto.begin(), resto.end(), PedeAjuda)) {
        pedido.ajuda = true;
        return pedido;
    }
    if (resto.isEmpty()) {
        pedido.erro = QStringLiteral("Falta o comando.");
        return pedido;
    }
    const QString nome = resto.takeFirst();
    pedido.comando = ProcuraComando(nome);
    if (!pedido.comando) {
        pedido.erro = QStringLiteral("Comando desconhecido: %1").arg(nome);
        return pedido;
    }
    const char *forma = pedido.comando->parametros;
    if (const char *outra = pedido.comando->outraForma;
        outra && resto.contains(QString::fromLatin1(outra).section(QLatin1Char(' '), -1)))
        forma = outra;
    QStringList parametros = QString::fromLatin1(forma).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // Options with a value ("--a=X", "[--b=X]"), in any order after the
    // command, as "--a X" or "--a=X"; their values follow the others, in the
    // order of the usage, an optional one left out empty.
    struct OpcaoValor {
        QString nome;
        bool obrigatoria;
        QString valor;
        bool dada = false;
    };
    std::vector<OpcaoValor> opcoesValor;
    for (qsizetype i = 0; i < parametros.size();) {
        const QString p = parametros.at(i);
        const bool opcional = p.startsWith(QLatin1Char('['));
        const QString sem = opcional ? p.mid(1, p.size() - 2) : p;
        if (!sem.startsWith(QLatin1String("--")) || !sem.contains(QLatin1Char('='))) {
            ++i;
            continue;
        }
        opcoesValor.push_back({sem.section(QLatin1Char('='), 0, 0), !opcional, {}});
        parametros.removeAt(i);
    }
    for (qsizetype i = 0; !opcoesValor.empty() && i < resto.size();) {
        const QString palavra = resto.at(i);
        if (!palavra.startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        const QString nomeOpcao = palavra.section(QLatin1Char('='), 0, 0);
        auto opcao = std::find_if(opcoesValor.begin(), opcoesValor.end(),
                                  [&](const OpcaoValor &o) { return o.nome == nomeOpcao; });
        if (opcao == opcoesValor.end()) {
            pedido.erro =
                QStringLiteral("Opção desconhecida do comando %1: %2").arg(nome, nomeOpcao);
            return pedido;
        }
        resto.removeAt(i);
        if (palavra.contains(QLatin1Char('='))) {
            opcao->valor = palavra.section(QLatin1Char('='), 1);
        } else if (i < resto.size()) {
            opcao->valor = resto.takeAt(i);
        } else {
            pedido.erro = QStringLiteral("Falta o valor depois de %1.").arg(nomeOpcao);
            return pedido;
        }
        opcao->dada = true;
    }
    // One value per parameter; an optional one ("[--a|--b]") left out is empty.
    QStringList valores;
    qsizetype j = 0;
    for (const QString &parametro : parametros) {
        if (parametro.startsWith(QLatin1Char('['))) {
            const QStringList opcoes =
                parametro.mid(1, parametro.size() - 2).split(QLatin1Char('|'));
            if (j < resto.size() && opcoes.contains(resto.at(j))) {
                valores << resto.at(j++);
                continue;
            }
            if (j < resto.size() && resto.at(j).startsWith(QLatin1String("--"))) {
                pedido.erro =
                    QStringLiteral("Opção desconhecida do comando %1: %2").arg(nome, resto.at(j));
                return pedido;
            }
            valores << QString();
            continue;
        }
        // A word of the form itself ("--desfazer"), where the form puts it.
        if (parametro.startsWith(QLatin1String("--")) && j < resto.size() &&
            resto.at(j) != parametro) {
            pedido.erro =
                QStringLiteral("Argumento a mais para o comando %1: %2").arg(nome, resto.at(j));
            return pedido;
        }
        if (j >= resto.size() || resto.at(j).isEmpty()) {
            pedido.erro =
                QStringLiteral("Falta o argumento %1 do comando %2.").arg(parametro, nome);
            return pedido;
        }
        if (parametro == QLatin1String("N")) {
            pedido.declaracao = NumeroDeclaracao(resto.at(j));
            if (pedido.declaracao == 0) {
                pedido.erro =
                    QStringLiteral("\"%1\" não é um número de declaração.").arg(resto.at(j));
                return pedido;
            }
        }
        valores << resto.at(j++);
    }
    if (j < resto.size()) {
        pedido.erro =
            QStringLiteral("Argumento a mais para o comando %1: %2").arg(nome, resto.at(j));
        return pedido;
    }
    for (const OpcaoValor &o : opcoesValor) {
        if (o.obrigatoria && (!o.dada || o.valor.isEmpty())) {
            pedido.erro = QStringLiteral("Falta a opção %1 do comando %2.").arg(o.nome, nome);
            return pedido;
        }
        valores << o.valor;
    }
    pedido.argumentos = valores;
    return pedido;
}

} // namespace vlme::cli
