#include "cli/Comandos.h"

#include "printing/Relatorios.h"

#include <QDir>
#include <QTextStream>

namespace vlme::cli {

// The statement, its summary (--resumo) or its delivery receipt (--recibo)
// as a PDF; the path written and its number of pages.
Saida imprimir(Contexto &c) {
    const QString opcao = c.argumentos.at(1);
    const QString caminho = c.argumentos.at(2);
    const printing::Documento documento =
        opcao == QLatin1String("--recibo")
            ? printing::ImprimeRecibo(c.banco, c.declaracao)
            : printing::ImprimeVLM(c.banco, c.declaracao, opcao == QLatin1String("--resumo"));
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
