#pragma once
// The figures from which a statement's reduction of import tax follows: the
// costs of national and imported components and of labour, the tax of the
// suspended items, the reduction coefficient and the tax left after it. They
// only read the database.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::checking {

// National components net of their imported subcomponents.
double CalculaCustoNacionais(store::Banco &banco, int nrVlm);
// Every imported row of the statement, subcomponents included.
double CalculaCustoImportados(store::Banco &banco, int nrVlm);
// Wages plus social charges.
double CalculaCustoMaoDeObra(store::Banco &banco, int nrVlm);
// Tax of the suspended imported rows, less the suspended subcomponents left
// out of the calculation base.
double CalculaValorII(store::Banco &banco, int nrVlm);
// 0.88 when fixed; (N + M) / (N + I + M) to 4 decimals when variable, 0 when
// the total cost is not positive.
double CalculaCoeficiente(store::Banco &banco, int nrVlm);
// Tax left after the reduction: T - T * K.
double CalculaValorIIReducao(store::Banco &banco, int nrVlm);

struct Resumo {
    double custoNacionais = 0;
    double custoImportados = 0;
    double custoMaoDeObra = 0;
    double custoTotal = 0;
    double valorII = 0;
    double coeficiente = 0;
    double valorIIReducao = 0;
};
Resumo CalculaResumo(store::Banco &banco, int nrVlm);
// The costs and the coefficient alone (the tax left at 0), as a statement's
// history records them after each change.
Resumo CalculaCustos(store::Banco &banco, int nrVlm);

// The summary as the user reads it: label and Brazilian-notation value, money
// as "US$ 1.234,56" and the coefficient as "88,00%", after the statement's
// identification (CNPJ, CPF, product).
std::vector<std::pair<QString, QString>> LinhasResumo(store::Banco &banco, int nrVlm);
// Their labels alone, in the same order.
QStringList LegendasResumo();

// Rounds to `casas` decimals, a tie going to the even digit, judged on the
// value's shortest decimal form (0.70005 is a tie, as a person sees it).
double ArredondaPar(double valor, int casas);

} // namespace vlme::checking
