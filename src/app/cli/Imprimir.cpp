#include "cli/Comandos.h"

#include "printing/PaginaHistorico.h"
#include "printing/Relatorios.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Historico.h"

#include <QDir>
#include <QTextStream>

namespace vlme::cli {

// The statement, its summary (--resumo), its delivery receipt (--recibo) or
// its history (--historico, of a deleted one too) as a PDF; the path written
// and its number of pages.
Saida imprimir(Contexto &c) {
    const QString opcao = c.argumentos.at(1);
    const QString caminho = c.argumentos.at(2);
    printing::Documento documento;
    if (opcao == QLatin1String("--historico")) {
        const QString identidade = IdentidadeHistorico(c);
        if (identidade.isEmpty())
            return Saida::UsoErrado;
        documento =
            printing::ImprimeHistorico(c.declaracao, store::LeHistorico(c.banco, identidade));
    } else if (!store::ExisteDeclaracao(c.banco, c.declaracao)) {
        c.erro << store::ErroDeclaracaoInexistente(c.declaracao).mensagem() << '\n';
        return Saida::UsoErrado;
    } else {
        documento =
            opcao == QLatin1String("--recibo")
                ? printing::ImprimeRecibo(c.banco, c.declaracao)
                : printing::ImprimeVLM(c.banco, c.declaracao, opcao == QLatin1String("--resumo"));
    }
    const int paginas = printing::GravaPDF(documento, caminho);
    c.json.insert(QStringLiteral("arquivo"), QDir::toNativeSeparators(caminho));
    c.json.insert(QStringLiteral("paginas"), paginas);
    c.saida << QDir::toNativeSeparators(caminho)
            << (paginas == 1 ? QStringLiteral(": 1 página")
                             : QStringLiteral(": %1 páginas").arg(paginas))
            << '\n';
    return Saida::Sucesso;
}

} // namespace vlme::cli
