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
        b.executa(ncm, {QStringLiteral("84713012"), QStringLiteral("  Máquinas portáteis  "),
                        QStringLiteral("UN")});
        b.executa(ncm, {QStringLiteral("1234'678"), QStringLiteral("Com aspas"), QVariant()});
        b.executa(ncm, {QStringLiteral("99990000"), QVariant(), QVariant()});
        const QString un =
            QStringLiteral("INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA) VALUES (?, ?)");
        b.executa(un, {QStringLiteral("UN"), QStringLiteral(" UNIDADE ")});
        b.executa(un, {QStringLiteral("KG"), QVariant()});
        b.executa(un, {QStringLiteral("M'"), QStringLiteral("Metro com aspa")});
    }
    vlme::teste::BancoTeste banco;
    const QString naoEncontrada = QStringLiteral("DESCRIÇÃO NÃO ENCONTRADA");
};

TEST_F(DescricoesTeste, NCM) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("84713012")), QStringLiteral("Máquinas portáteis"));
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral(" 84713012 ")), QStringLiteral("Máquinas portáteis"));
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("99990000")), QString());
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("84713013")), naoEncontrada);
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("8471301")), QString());
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("847130120")), QString());
    EXPECT_EQ(DescricaoNCM(b, QString()), QString());
}

TEST_F(DescricoesTeste, CodigoComAspasNaoQuebraAConsulta) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("1234'678")), QStringLiteral("Com aspas"));
    // pasted between quotes this would match every row
    EXPECT_EQ(DescricaoNCM(b, QStringLiteral("1' OR '1")), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("M'")), QStringLiteral("Metro com aspa"));
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("'")), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("' OR ''='")), naoEncontrada);
}

TEST_F(DescricoesTeste, Unidade) {
    auto &b = banco.banco();
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("UN")), QStringLiteral("UNIDADE"));
    // the code column compares without regard to case
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("un")), QStringLiteral("UNIDADE"));
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("Un ")), QStringLiteral("UNIDADE"));
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("kg")), QString());
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("XX")), naoEncontrada);
    EXPECT_EQ(DescricaoUnidade(b, QString()), QString());
    EXPECT_EQ(DescricaoUnidade(b, QStringLiteral("   ")), QString());
}

} // namespace
