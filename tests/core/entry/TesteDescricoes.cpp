// NCM and unit names looked up by code: found, missing, blank, quoted and in
// another letter case.

#include "entry/Descricoes.h"
#include "support/PastaTeste.h"

#include "Casos.h"

#include <gtest/gtest.h>

using namespace vlme::entry;

namespace {

TEST(Descricoes, PorCodigo) {
    vlme::teste::BancoTeste bt;
    auto &b = bt.banco();
    const QString ncm = "INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO, NM_UNID_MED_EST) "
                        "VALUES (?, ?, ?)";
    b.executa(ncm, {"84713012", "  Máquinas portáteis  ", "UN"});
    b.executa(ncm, {"1234'678", "Com aspas", QVariant()});
    b.executa(ncm, {"99990000", QVariant(), QVariant()});
    const QString un = "INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA) VALUES (?, ?)";
    b.executa(un, {"UN", " UNIDADE "});
    b.executa(un, {"KG", QVariant()});
    b.executa(un, {"M'", "Metro com aspa"});
    for (const QStringList &c : vlme::teste::Casos("descricoes.tsv"))
        EXPECT_EQ(c[0] == "N" ? DescricaoNCM(b, c[1]) : DescricaoUnidade(b, c[1]), c[2]) << c[1];
}

} // namespace
