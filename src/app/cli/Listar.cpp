#include "cli/Comandos.h"

#include "cli/Json.h"
#include "store/Declaracoes.h"

#include <QTextStream>

namespace vlme::cli {

// Tab-separated for the company's systems, newest first.
Saida listar(Contexto &c) {
    c.saida << "NR_VLM_VLM\tCNPJ_VLM\tDEN_PRODUTO_VLM\tTIPO\tSITUACAO\tPROTOCOLO\n";
    QJsonArray lista;
    for (const auto &item : store::ListaDeclaracoes(c.banco)) {
        c.saida << item.numero << '\t' << item.cnpj << '\t' << item.produto << '\t' << item.tipo
                << '\t' << item.situacao << '\t' << item.protocolo << '\n';
        lista.append(QJsonObject{{QStringLiteral("numero"), Numero(item.numero)},
                                 {QStringLiteral("cnpj"), item.cnpj},
                                 {QStringLiteral("produto"), item.produto},
                                 {QStringLiteral("tipo"), item.tipo},
                                 {QStringLiteral("situacao"), item.situacao},
                                 {QStringLiteral("protocolo"), item.protocolo}});
    }
    c.json.insert(QStringLiteral("declaracoes"), lista);
    return Saida::Sucesso;
}

} // namespace vlme::cli
