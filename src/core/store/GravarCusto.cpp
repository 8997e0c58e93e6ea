#include "store/Banco.h"
#include "store/Gravar.h"

#include <algorithm>
#include <cmath>

namespace vlme::store {

bool CustoExcedido(double total, double custoUnitario) {
    // Sums equal on paper may differ in the last bits of a double (0,1 + 0,2
    // against 0,3): those count as equal, and equal passes.
    const double escala = std::max({1.0, std::fabs(total), std::fabs(custoUnitario)});
    return total - custoUnitario > 1e-9 * escala;
}

double SomaSubcomponentes(Banco &banco, int nrVlm, int nrSqNacional, int excetoImportado) {
    const QVariant soma =
        banco.escalar(QStringLiteral("SELECT SUM(i.QTD_IMPORTADO * i.VALOR_UNITARIO_IMPORTADO)"
                                     " FROM COMPONENTES_IMPORTADOS i, SUBCOMP s"
                                     " WHERE s.N_VLM_SUBCOMP = ? AND s.N_NACIONAL_SUBCOMP = ?"
                                     " AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
                                     " AND i.NR_VLM_IMPORTADO = ? AND i.NR_SQ_IMPORTADO <> ?"),
                      {nrVlm, std::max(nrSqNacional, 0), nrVlm, excetoImportado});
    return soma.isNull() ? 0.0 : soma.toDouble();
}

bool VerificaCustoSubcomponentes(Banco &banco, int nrVlm, int nacionalDono,
                                 double custoUnitarioNacional, double quantidade,
                                 double valorUnitario, int nrSqImportado) {
    const double total =
        SomaSubcomponentes(banco, nrVlm, nacionalDono, nrSqImportado) + quantidade * valorUnitario;
    return CustoExcedido(total, custoUnitarioNacional);
}

bool VerificaCustoNacional(Banco &banco, int nrVlm, int nrSqNacional, double custoUnitario) {
    return CustoExcedido(SomaSubcomponentes(banco, nrVlm, nrSqNacional), custoUnitario);
}

} // namespace vlme::store
