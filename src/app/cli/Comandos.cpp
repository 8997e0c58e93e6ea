#include "cli/Comandos.h"

namespace vlme::cli {

// One file each.
Saida listar(Contexto &);
Saida verificar(Contexto &);
Saida resumo(Contexto &);
Saida importar(Contexto &);
Saida gerar(Contexto &);
Saida copiar(Contexto &);
Saida excluir(Contexto &);
Saida imprimir(Contexto &);
Saida diagnosticar(Contexto &);
Saida registrarEntrega(Contexto &);
Saida backup(Contexto &);
Saida restaurar(Contexto &);
Saida tabelaNCM(Contexto &);
Saida tabelaUnidades(Contexto &);
Saida migrar(Contexto &);
Saida historico(Contexto &);

const std::vector<Comando> &Comandos() {
    static const std::vector<Comando> tabela = {
        {"listar", "", "lista as declarações", listar},
        {"verificar", "N", "lista as pendências da declaração N", verificar},
        {"resumo", "N", "mostra os custos e o coeficiente de redução", resumo},
        {"importar", "[--so-verificar|--uma-vez] ARQ",
         "importa declarações de um arquivo texto; --so-verificar só confere o arquivo, "
         "--uma-vez recusa um arquivo já importado",
         importar},
        {"gerar", "N", "grava o arquivo de entrega da declaração N", gerar},
        {"copiar", "N", "copia a declaração N e escreve o número da cópia", copiar},
        {"excluir", "N", "exclui a declaração N", excluir, true},
        {"imprimir", "N [--resumo|--recibo|--historico] ARQ.pdf",
         "grava em PDF o demonstrativo, o resumo, o recibo ou o histórico da declaração N",
         imprimir, false, false, nullptr, nullptr, true},
        {"registrar-entrega",
         "N NUMERO --recepcao=DATA [--geracao=DATA] [--local=TEXTO] [--remessa=TEXTO] "
         "[--gateway=TEXTO] [--selo=TEXTO] [--controle=TEXTO] [--totais=TEXTO]",
         "registra a transmissão e o recibo (DATA \"DD/MM/AAAA HH:MM:SS\"); a declaração "
         "precisa ter o arquivo de entrega gerado e não alterado depois",
         registrarEntrega, true, false, "N --desfazer",
         "desfaz o registro da entrega, antes de o diagnóstico registrar a declaração"},
        {"diagnosticar", "N", "pede ao servidor o diagnóstico da declaração N", diagnosticar, true},
        {"historico", "N", "mostra o histórico da declaração N, também de uma excluída", historico,
         false, false, "--excluidas", "mostra as declarações excluídas", true},
        {"backup", "N ARQ", "grava a cópia de segurança da declaração N em ARQ", backup},
        {"restaurar", "ARQ", "restaura a cópia de segurança ARQ como declaração nova", restaurar},
        {"tabela-ncm", "ARQ", "importa a tabela NCM do arquivo ARQ", tabelaNCM},
        {"tabela-unidades", "ARQ", "importa a tabela de unidades de medida", tabelaUnidades},
        {"migrar", "URL",
         "copia as declarações e as tabelas do VLM.MDB para o banco da equipe em URL", migrar,
         false, true},
    };
    return tabela;
}

const Comando *ProcuraComando(const QString &nome) {
    for (const Comando &c : Comandos())
        if (nome == QLatin1String(c.nome))
            return &c;
    return nullptr;
}

QString TextoUso() {
    QString texto =
        QStringLiteral("Uso: vlme-cli [--pasta DIR] [--banco URL] [--url-diagnostico URL] "
                       "[--sim] [--json] COMANDO [ARGUMENTOS]\n\nComandos:\n");
    struct Linha {
        const char *nome, *parametros, *descricao;
    };
    std::vector<Linha> linhas;
    for (const Comando &c : Comandos()) {
        linhas.push_back({c.nome, c.parametros, c.descricao});
        if (c.outraForma)
            linhas.push_back({c.nome, c.outraForma, c.descricaoOutra});
    }
    for (const Linha &c : linhas) {
        const QString uso =
            (QLatin1String(c.nome) + QLatin1Char(' ') + QLatin1String(c.parametros)).trimmed();
        // A usage longer than its column goes on a line of its own, so that
        // every description still starts in the same column.
        constexpr int coluna = 22;
        constexpr int largura = 76;
        // A usage wider than the terminal goes on, indented, at a space.
        QString linha = QStringLiteral("  ");
        for (const QString &palavra : uso.split(QLatin1Char(' '))) {
            if (linha.size() > 2 && linha.size() + 1 + palavra.size() > largura) {
                texto += linha + QLatin1Char('\n');
                linha = QStringLiteral("     ");
            }
            linha += (linha.trimmed().isEmpty() ? QString() : QStringLiteral(" ")) + palavra;
        }
        texto += linha;
        texto += uso.size() < coluna ? QString(coluna - uso.size() + 1, QLatin1Char(' '))
                                     : QLatin1Char('\n') + QString(coluna + 3, QLatin1Char(' '));
        texto += QString::fromUtf8(c.descricao) + QLatin1Char('\n');
    }
    texto += QStringLiteral(
        "\n--pasta DIR  pasta de dados (padrão: VLME_PASTA ou a pasta do usuário)\n"
        "--banco URL  banco de dados da equipe, postgresql://usuario@servidor/banco\n"
        "             (padrão: VLME_BANCO ou o VLM.MDB da pasta de dados)\n"
        "--url-diagnostico URL\n"
        "             servidor de diagnóstico (padrão: VLME_URL_DIAGNOSTICO ou "
        "http://localhost)\n"
        "--sim        responde Sim a todas as perguntas\n"
        "--json       escreve o resultado como um documento JSON\n"
        "-h, --help   mostra este texto\n");
    return texto;
}

QString TextoTerminal(QString texto) {
    return texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace vlme::cli
