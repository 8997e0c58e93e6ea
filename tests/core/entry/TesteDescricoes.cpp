// NCM and unit names looked up by code: found, missing, blank, quoted and in
// another letter case.

#include "entry/Descricoes.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme::entry;

namespace {

class DescricoesTeste : public ::testing::Test {
  protected:
    void SetUp() override {
        auto &b = banco.banco();
        const QString ncm = QStringLiteral(
            "INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO, NM_UNID_MED_EST) "
            "VALUES (?, ?, ?)");
        b.executa(ncm, {"84713012", "  Máquinas portáteis  ", "UN"});
        b.executa(ncm, {"1234'678", "Com aspas", QVariant()});
        b.executa(ncm, {"99990000", QVariant(), QVariant()});
        const QString un = "INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA) VALUES (?, ?)";
        b.executa(un, {"UN", " UNIDADE "});
        b.executa(un, {"KG", QVariant()});
        b.executa(un, {"M'", "Metro com aspa"});
    }
    vlme::teste::BancoTeste banco;
    const QString naoEncontrada = "DESCRIÇÃO NÃO ENCONTRADA";
};

TEST_F(DescricoesTeste, NCM) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoNCM(b, "84713012"), "Máquinas portáteis");
    EXPECT_EQ(DescricaoNCM(b, " 84713012 "), "Máquinas portáteis");
    EXPECT_EQ(DescricaoNCM(b, "99990000"), QString());
    EXPECT_EQ(DescricaoNCM(b, "84713013"), naoEncontrada);
    EXPECT_EQ(DescricaoNCM(b, "8471301"), QString());
    EXPECT_EQ(DescricaoNCM(b, "847130120"), QString());
    EXPECT_EQ(DescricaoNCM(b, QString()), QString());
}

TEST_F(DescricoesTeste, CodigoComAspasNaoQuebraAConsulta) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoNCM(b, "1234'678"), "Com aspas");
    // pasted between quotes this would match every row
    EXPECT_EQ(DescricaoNCM(b, "1' OR '1"), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, "M'"), "Metro com aspa");
    EXPECT_EQ(DescricaoUnidade(b, "'"), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, "' OR ''='"), naoEncontrada);
}

TEST_F(DescricoesTeste, Unidade) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoUnidade(b, "UN"), "UNIDADE");
    // the code column compares without regard to case
    EXPECT_EQ(DescricaoUnidade(b, "un"), "UNIDADE");
    EXPECT_EQ(DescricaoUnidade(b, "Un "), "UNIDADE");
    EXPECT_EQ(DescricaoUnidade(b, "kg"), QString());
    EXPECT_EQ(DescricaoUnidade(b, "XX"), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, QString()), QString());
    EXPECT_EQ(DescricaoUnidade(b, "   "), QString());
}

} // namespace
