// Costs, coefficient and tax of a statement, against figures worked out by
// hand in the comments.

#include "checking/Calculos.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vlme;
using teste::ConstrutorDeclaracao;

namespace {

store::DadosImportado semSuspensao(const QString &descricao, double qtd, double valor, double aliquota)
{
    auto d = ConstrutorDeclaracao::ImportadoPadrao(descricao, qtd, valor, aliquota);
    d.comSuspensao = false;
    return d;
}

} // namespace

// Variable coefficient, wages 50 and charges 20 (M = 70).
//   national 1: 2 x 100 = 200, subcomponents:
//     "Chip"    4 x 2,5 = 10, rate 10% -> II 1,0, suspended, out of the base
//     "Memória" 1 x 20  = 20, rate 16% -> II 3,2, suspended, in the base
//   national 2: 3 x 10 = 30
//   imported "Tela" 1 x 30, rate 16% -> II 4,8, suspended
//   imported "Cabo" 10 x 0,5 = 5, rate 20% -> II 1,0, not suspended
// N = 230 - 30 = 200; I = 10 + 20 + 30 + 5 = 65; total 335
// T = (1,0 + 3,2 + 4,8) - 1,0 = 8,0
// K = 270 / 335 = 0,80597... -> 0,8060; R = 8 - 8 x 0,806 = 1,552
TEST(Calculos, DeclaracaoComTodosOsTiposDeLinha)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) {
                          d.coeficiente = store::Coeficiente::Variavel;
                          d.salarios = 50.0;
                          d.encargos = 20.0;
                      })
                      .modelo("Modelo A", 1000.0)
                      .nacional("Placa", 2, 100.0)
                      .subcomponente(1, "Chip", 4, 2.5, 10.0, false)
                      .subcomponente(1, "Memória", 1, 20.0, 16.0, true)
                      .nacional("Caixa", 3, 10.0)
                      .importadoDI("Tela", 1, 30.0, 16.0)
                      .importadoNF(semSuspensao("Cabo", 10, 0.5, 20.0), ConstrutorDeclaracao::NFPadrao());

    EXPECT_DOUBLE_EQ(checking::CalculaCustoNacionais(banco, n), 200.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoImportados(banco, n), 65.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoMaoDeObra(banco, n), 70.0);
    EXPECT_NEAR(checking::CalculaValorII(banco, n), 8.0, 1e-12);
    EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), 0.806);
    EXPECT_NEAR(checking::CalculaValorIIReducao(banco, n), 1.552, 1e-12);

    const auto r = checking::CalculaResumo(banco, n);
    EXPECT_DOUBLE_EQ(r.custoTotal, 335.0);
}

TEST(Calculos, CoeficienteFixoSemComponentes)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco).geral();
    EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), 0.88);
    EXPECT_EQ(checking::CalculaValorIIReducao(banco, n), 0.0);

    // With components the fixed coefficient does not move; R = 0,12 x T.
    ConstrutorDeclaracao(banco, n).importadoDI("Tela", 2, 50.0, 10.0); // T = 10
    EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), 0.88);
    EXPECT_NEAR(checking::CalculaValorIIReducao(banco, n), 1.2, 1e-12);
}

TEST(Calculos, VariavelVazioNaoDivideNemDaNaN)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco).geral(
        [](store::DadosGerais &d) { d.coeficiente = store::Coeficiente::Variavel; });
    const auto r = checking::CalculaResumo(banco, n);
    EXPECT_EQ(r.custoNacionais, 0.0);
    EXPECT_EQ(r.custoImportados, 0.0);
    EXPECT_EQ(r.custoMaoDeObra, 0.0);
    EXPECT_EQ(r.coeficiente, 0.0);
    EXPECT_EQ(r.valorIIReducao, 0.0);
    EXPECT_FALSE(std::isnan(r.coeficiente));
    // A statement number with no row at all: still no division.
    EXPECT_EQ(checking::CalculaCoeficiente(banco, 999), 0.88);
}

TEST(Calculos, SubcomponenteMudaDoLadoNacionalParaOImportado)
{
    // 100 national with a 30 subcomponent: N = 70, I = 30, K = 0,7.
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) { d.coeficiente = store::Coeficiente::Variavel; })
                      .nacional("Placa", 1, 100.0)
                      .subcomponente(1, "Chip", 1, 30.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoNacionais(banco, n), 70.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoImportados(banco, n), 30.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), 0.7);
}

TEST(Calculos, NacionalNegativoAindaFormaOCoeficiente)
{
    // 10 national with a 30 subcomponent: N = -20, I = 30, M = 0 -> K = -20 / 10.
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) { d.coeficiente = store::Coeficiente::Variavel; })
                      .nacional("Placa", 1, 10.0)
                      .subcomponente(1, "Chip", 1, 30.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoNacionais(banco, n), -20.0);
    EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), -2.0);
}

TEST(Calculos, CoeficienteArredondaMetadeParaOPar)
{
    struct Caso {
        double nacional, importado, esperado;
    };
    // 14001 / 20000 = 0,70005 (tie, 0 is even: down); 14003 / 20000 = 0,70015
    // (tie, 1 is odd: up); 14002,2 / 20000 = 0,70011 (below the half: down).
    const Caso casos[] = {{14001, 5999, 0.7000}, {14003, 5997, 0.7002}, {14002.2, 5997.8, 0.7001}};
    for (const Caso &c : casos) {
        teste::BancoTeste b;
        auto &banco = b.banco();
        const int n = ConstrutorDeclaracao(banco)
                          .geral([](store::DadosGerais &d) { d.coeficiente = store::Coeficiente::Variavel; })
                          .nacional("N", 1, c.nacional)
                          .importadoDI("I", 1, c.importado);
        EXPECT_DOUBLE_EQ(checking::CalculaCoeficiente(banco, n), c.esperado) << c.nacional;
    }
    EXPECT_DOUBLE_EQ(checking::ArredondaPar(0.99995, 4), 1.0);
    EXPECT_DOUBLE_EQ(checking::ArredondaPar(-0.70015, 4), -0.7002);
    EXPECT_DOUBLE_EQ(checking::ArredondaPar(0.5, 4), 0.5);
}

TEST(Calculos, SuspensaoEBaseDeCalculoDosSubcomponentes)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    // Rate 10% on 1 x 100 = II 10 for each row.
    const int n = ConstrutorDeclaracao(banco)
                      .geral()
                      .nacional("Placa", 1, 1000.0)
                      .subcomponente(1, "Fora da base", 1, 100.0, 10.0, false)
                      .subcomponente(1, "Na base", 1, 100.0, 10.0, true)
                      .importadoNF(semSuspensao("Sem suspensão", 1, 100.0, 10.0),
                                   ConstrutorDeclaracao::NFPadrao());
    // Only "Na base" counts: suspended and in the base.
    EXPECT_NEAR(checking::CalculaValorII(banco, n), 10.0, 1e-12);
    EXPECT_DOUBLE_EQ(checking::CalculaCustoImportados(banco, n), 300.0);
}

TEST(Calculos, ValoresMuitoGrandesContinuamFinitos)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) {
                          d.coeficiente = store::Coeficiente::Variavel;
                          d.salarios = 9999999999999.99;
                          d.encargos = 9999999999999.99;
                      })
                      .nacional("N", 99999999.9999999, 999999999.999999)
                      .importadoDI("I", 99999999.9999999, 999999999.999999, 999.99);
    const auto r = checking::CalculaResumo(banco, n);
    EXPECT_TRUE(std::isfinite(r.custoTotal));
    // (1e17 + 2e13) / (2e17 + 2e13) = 0,50004999... -> 0,5000
    EXPECT_DOUBLE_EQ(r.coeficiente, 0.5);
    EXPECT_TRUE(std::isfinite(r.valorIIReducao));
}

TEST(Calculos, LinhasDoResumoEmNotacaoBrasileira)
{
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) {
                          d.coeficiente = store::Coeficiente::Variavel;
                          d.salarios = 1000.1;
                          d.encargos = 0.2;
                      })
                      .nacional("Placa", 1, 1234.56)
                      .importadoDI("Tela", 3, 0.1, 10.0);
    // N 1.234,56; I 0,30 (3 x 0,1 must not show 0,30000000000000004); M 1.000,30
    // total 2.235,16; T 0,03; K = 2234,86 / 2235,16 = 0,99986... -> 0,9999
    // R = 0,03 - 0,03 x 0,9999 = 0,000003 -> 0,00
    const auto linhas = checking::LinhasResumo(banco, n);
    ASSERT_EQ(linhas.size(), 10u);
    EXPECT_EQ(linhas[0].second, "11.222.333/0001-81");
    EXPECT_EQ(linhas[1].second, "529.982.247-25");
    EXPECT_EQ(linhas[2].second, "Telefone celular");
    EXPECT_EQ(linhas[3], std::make_pair(QStringLiteral("Custo Componentes Nacionais"), QStringLiteral("US$ 1.234,56")));
    EXPECT_EQ(linhas[4].second, "US$ 0,30");
    EXPECT_EQ(linhas[5].second, "US$ 1.000,30");
    EXPECT_EQ(linhas[6].second, "US$ 2.235,16");
    EXPECT_EQ(linhas[7], std::make_pair(QStringLiteral("Valor Total II  sem Redução"), QStringLiteral("US$ 0,03")));
    EXPECT_EQ(linhas[8], std::make_pair(QStringLiteral("Coeficiente de Redução do II"), QStringLiteral("99,99%")));
    EXPECT_EQ(linhas[9].second, "US$ 0,00");
}
