#include "cli/Comandos.h"

#include "store/Declaracoes.h"

#include <QTextStream>

namespace vlme::cli {

// Tab-separated for the company's systems, newest first.
Saida listar(Contexto &c) {
    c.saida << "NR_VLM_VLM\tCNPJ_VLM\tDEN_PRODUTO_VLM\tTIPO\tSITUACAO\tPROTOCOLO\n";
    for (const auto &item : store::ListaDeclaracoes(c.banco))
        c.saida << item.numero << '\t' << item.cnpj << '\t' << item.produto << '\t' << item.tipo
                << '\t' << item.situacao << '\t' << item.protocolo << '\n';
    return Saida::Sucesso;
}

} // namespace vlme::cli
