// The two cost checks between a national component and its subcomponents.
// Both fail (return true) when the national unit cost is less than or equal to
// the subcomponents' total.

#include "store/Banco.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme::store;
using vlme::teste::BancoTeste;
using vlme::teste::ConstrutorDeclaracao;

namespace {

// National 1 (unit cost 10) with subcomponents 1 = 2 x 2,5 and 2 = 1 x 3
// (total 8); national 2 with a subcomponent of 50; a component of the product
// of 50; and another statement whose national 1 has a subcomponent of 50.
class Custos : public ::testing::Test {
protected:
    BancoTeste bt;
    Banco &banco = bt.banco();
    int n = 0;

    void SetUp() override
    {
        ConstrutorDeclaracao outra(banco);
        outra.nacional(QStringLiteral("N1"), 1, 10).subcomponente(1, QStringLiteral("Outra"), 1, 50);
        ConstrutorDeclaracao c(banco);
        c.nacional(QStringLiteral("N1"), 1, 10).nacional(QStringLiteral("N2"), 1, 100);
        c.subcomponente(1, QStringLiteral("A"), 2, 2.5).subcomponente(1, QStringLiteral("B"), 1, 3);
        c.subcomponente(2, QStringLiteral("C"), 1, 50).importadoDI(QStringLiteral("D"), 1, 50);
        n = c;
    }
};

TEST_F(Custos, SomaSoOsSubcomponentesDaqueleComponente)
{
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 1), 8.0);
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 1, 2), 5.0);
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 2), 50.0);
    EXPECT_DOUBLE_EQ(SomaSubcomponentes(banco, n, 3), 0.0); // null sum
}

TEST_F(Custos, NovoSubcomponenteNoLimite)
{
    // 8 stored + the new one against 10.
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 1, 1.99));
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 1, 2.0)); // equal fails
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 2, 1.005));
    // A component without subcomponents: the null sum counts as 0.
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, 3, 10.0, 4, 2.49));
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, 3, 10.0, 4, 2.5));
}

TEST_F(Custos, SubcomponenteAlteradoContaPeloValorNovo)
{
    // B (3) is being changed: 5 + new value, not 8 + new value.
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 1, 4.99, 2));
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 1, 5.0, 2));
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, 1, 10.0, 2, 2.5, 2));
    // Lowering A is fine even if the stored total were already at the limit.
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, 1, 8.0, 1, 1, 1));
}

TEST_F(Custos, CustoNacionalContraOsSubcomponentesGuardados)
{
    EXPECT_TRUE(VerificaCustoNacional(banco, n, 1, 7.99));
    EXPECT_TRUE(VerificaCustoNacional(banco, n, 1, 8.0)); // equal fails
    EXPECT_FALSE(VerificaCustoNacional(banco, n, 1, 8.01));
    EXPECT_FALSE(VerificaCustoNacional(banco, n, 3, 0.01));
}

TEST_F(Custos, IgualNoPapelFalhaMesmoComArredondamentoDoDouble)
{
    // 0,7 + 0,1 is 0,7999999999999999 as doubles.
    ConstrutorDeclaracao c(banco, n);
    c.nacional(QStringLiteral("N3"), 1, 0.8);
    c.subcomponente(c.ultimoNacional(), QStringLiteral("E"), 1, 0.7);
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, c.ultimoNacional(), 0.8, 1, 0.1));
    c.subcomponente(c.ultimoNacional(), QStringLiteral("F"), 1, 0.1);
    EXPECT_TRUE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.8));
    EXPECT_FALSE(VerificaCustoNacional(banco, n, c.ultimoNacional(), 0.800001));
}

TEST_F(Custos, SubcomponentesDeComponenteEmInclusao)
{
    ConstrutorDeclaracao c(banco, n);
    c.subcomponente(NacionalEmInclusao, QStringLiteral("P"), 1, 6);
    EXPECT_TRUE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 4));
    EXPECT_FALSE(VerificaCustoSubcomponentes(banco, n, NacionalEmInclusao, 10.0, 1, 3.99));
    EXPECT_TRUE(VerificaCustoNacional(banco, n, NacionalEmInclusao, 6.0));
}

} // namespace
