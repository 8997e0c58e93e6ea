#include "cli/Comandos.h"

#include "checking/Calculos.h"
#include "cli/Json.h"
#include "store/Banco.h"

#include <QTextStream>

namespace vlme::cli {

// The figures of the text, as numbers, under the names of the summary's fields.
Saida resumo(Contexto &c) {
    store::Leitura leitura(c.banco);
    const auto linhas = checking::LinhasResumo(c.banco, c.declaracao);
    for (const auto &[rotulo, valor] : linhas)
        c.saida << rotulo << ": " << valor << '\n';
    const checking::Resumo r = checking::CalculaResumo(c.banco, c.declaracao);
    c.json = {{QStringLiteral("numero"), Numero(c.declaracao)},
              {QStringLiteral("cnpj"), linhas.at(0).second},
              {QStringLiteral("cpf"), linhas.at(1).second},
              {QStringLiteral("produto"), linhas.at(2).second},
              {QStringLiteral("custoNacionais"), Quantia(r.custoNacionais)},
              {QStringLiteral("custoImportados"), Quantia(r.custoImportados)},
              {QStringLiteral("custoMaoDeObra"), Quantia(r.custoMaoDeObra)},
              {QStringLiteral("custoTotal"), Quantia(r.custoTotal)},
              {QStringLiteral("valorII"), Quantia(r.valorII)},
              {QStringLiteral("coeficientePercentual"), Quantia(r.coeficiente * 100)},
              {QStringLiteral("valorIIReducao"), Quantia(r.valorIIReducao)}};
    return Saida::Sucesso;
}

} // namespace vlme::cli
