// The message catalog; costs, coefficient and tax worked out by hand; the pendency check.

#include "base/Erros.h"
#include "checking/Calculos.h"
#include "checking/Pendencias.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::checking;
using C = teste::ConstrutorDeclaracao;

TEST(Catalogo, AmostraDeChavesComTextoExato) {
    for (const QStringList &c : teste::Casos("catalogo.tsv")) {
        const base::Erro *e = base::Catalogo().Item(c[0]);
        ASSERT_NE(e, nullptr) << c[0];
        EXPECT_EQ(e->Id + "|" + e->Descricao + "|" + e->Origem + e->Campo, c[0] + "|" + c[1] + "|");
    }
}

TEST(Erros, ChaveRepetidaFalhaEMantemAPrimeira) {
    base::Erros erros;
    ASSERT_NE(erros.Add("ERRO_A", "primeiro"), nullptr);
    EXPECT_EQ(erros.Add("ERRO_A", "segundo"), nullptr);
    EXPECT_EQ(erros.Item("ERRO_A")->Descricao, "primeiro");
    // Another key may hold the same Id.
    ASSERT_NE(erros.Add("ERRO_A", "terceiro", "frmCentral", "mskCNPJ", "chave2"), nullptr);
    EXPECT_EQ(erros.Item("chave2")->Campo + erros.Item(2)->Descricao, "mskCNPJterceiro"); // from 1
}

namespace {

class Calculos : public teste::ComBanco {
  protected:
    // A variable-coefficient statement with these wages and charges.
    C variavel(double salarios = 0, double encargos = 0) {
        return std::move(C(banco).geral([&](store::DadosGerais &d) {
            d.coeficiente = store::Coeficiente::Variavel;
            d.salarios = salarios;
            d.encargos = encargos;
        }));
    }
    // N|I|M|total|T|K|R of statement n, to 9 significant digits.
    QString figuras(int n) {
        const Resumo r = CalculaResumo(banco, n);
        return QString::asprintf("%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g", r.custoNacionais,
                                 r.custoImportados, r.custoMaoDeObra, r.custoTotal, r.valorII,
                                 r.coeficiente, r.valorIIReducao);
    }
};

} // namespace

// Wages 50 and charges 20 (M = 70).
//   national 1: 2 x 100 = 200, subcomponents:
//     "Chip"    4 x 2,5 = 10, rate 10% -> II 1,0, suspended, out of the base
//     "Memória" 1 x 20  = 20, rate 16% -> II 3,2, suspended, in the base
//   national 2: 3 x 10 = 30
//   imported "Tela" 1 x 30, rate 16% -> II 4,8, suspended
//   imported "Cabo" 10 x 0,5 = 5, rate 20% -> II 1,0, not suspended
// N = 230 - 30 = 200; I = 10 + 20 + 30 + 5 = 65; total 335
// T = 3,2 + 4,8 = 8,0 (Chip out of the base, Cabo not suspended)
// K = 270 / 335 = 0,80597... -> 0,8060; R = 8 - 8 x 0,806 = 1,552
TEST_F(Calculos, DeclaracaoComTodosOsTiposDeLinha) {
    store::DadosImportado cabo = C::ImportadoPadrao("Cabo", 10, 0.5, 20.0);
    cabo.comSuspensao = false;
    C d = variavel(50, 20).modelo("Modelo A", 1000.0).nacional("Placa", 2, 100.0);
    d.subcomponente(1, "Chip", 4, 2.5, 10.0, false)
        .subcomponente(1, "Memória", 1, 20.0, 16.0, true);
    d.nacional("Caixa", 3, 10.0).importadoDI("Tela", 1, 30.0, 16.0);
    const int n = d.importadoNF(cabo, C::NFPadrao());
    EXPECT_EQ(figuras(n), "200|65|70|335|8|0.806|1.552");
}

TEST_F(Calculos, CoeficienteFixoEVariavelVazio) {
    const int n = C(banco).geral();
    EXPECT_EQ(figuras(n), "0|0|0|0|0|0.88|0");
    // With components the fixed coefficient does not move; R = 0,12 x T.
    C(banco, n).importadoDI("Tela", 2, 50.0, 10.0); // T = 10
    EXPECT_EQ(figuras(n), "0|100|0|100|10|0.88|1.2");
    // Variable and empty: no division, no NaN; no row at all: fixed.
    EXPECT_EQ(figuras(variavel()), "0|0|0|0|0|0|0");
    EXPECT_EQ(CalculaCoeficiente(banco, 999), 0.88);
}

// A subcomponent moves its cost from the national side to the imported one:
// 100 national with a 30 subcomponent gives N = 70, I = 30, K = 0,7; a 10
// national gives N = -20, M = 0, K = -20 / 10.
TEST_F(Calculos, SubcomponenteMudaDoLadoNacionalParaOImportado) {
    for (const auto &[nacional, esperado] :
         {std::pair{100.0, "70|30|0|100|0|0.7|0"}, {10.0, "-20|30|0|10|0|-2|0"}})
        EXPECT_EQ(
            figuras(variavel().nacional("Placa", 1, nacional).subcomponente(1, "Chip", 1, 30)),
            esperado);
}

TEST_F(Calculos, CoeficienteArredondaMetadeParaOPar) {
    // 14001 / 20000 = 0,70005 (tie, 0 is even: down); 14003 / 20000 = 0,70015
    // (tie, 1 is odd: up); 14002,2 / 20000 = 0,70011 (below the half: down).
    for (const auto &[nacional, importado, k] : {std::tuple{14001.0, 5999.0, "0.7"},
                                                 {14003.0, 5997.0, "0.7002"},
                                                 {14002.2, 5997.8, "0.7001"}})
        EXPECT_EQ(figuras(variavel().nacional("N", 1, nacional).importadoDI("I", 1, importado))
                      .section('|', 5, 5),
                  k);
    EXPECT_DOUBLE_EQ(ArredondaPar(0.99995, 4), 1.0);
    EXPECT_DOUBLE_EQ(ArredondaPar(-0.70015, 4), -0.7002);
    EXPECT_DOUBLE_EQ(ArredondaPar(0.5, 4), 0.5);
}

TEST_F(Calculos, ValoresMuitoGrandesContinuamFinitos) {
    // K = (1e17 + 2e13) / (2e17 + 2e13) = 0,50004999...; T = 999,99% of 1e17.
    EXPECT_EQ(figuras(variavel(9999999999999.99, 9999999999999.99)
                          .nacional("N", 99999999.9999999, 999999999.999999)
                          .importadoDI("I", 99999999.9999999, 999999999.999999, 999.99)),
              "1e+17|1e+17|2e+13|2.0002e+17|9.9999e+17|0.5|4.99995e+17");
}

TEST_F(Calculos, LinhasDoResumoEmNotacaoBrasileira) {
    const int n =
        variavel(1000.1, 0.2).nacional("Placa", 1, 1234.56).importadoDI("Tela", 3, 0.1, 10);
    EXPECT_EQ(
        teste::Mapeia(LinhasResumo(banco, n), [](auto &l) { return l.first + "=" + l.second; }),
        teste::Mapeia(teste::Casos("linhas_resumo.tsv"), [](auto &c) { return c.join('='); }));
}

namespace {

class Pendencias : public teste::ComBanco {
  protected:
    // Everything filled, one model, one imported component; then `muda` on VLME.
    int completa(const QString &muda = {}) {
        const int n = C(banco).geral().modelo("Modelo A", 100.0).importadoDI("Tela", 1, 30);
        if (!muda.isEmpty())
            banco.executa("UPDATE VLME SET " + muda + " WHERE NR_VLM_VLM = ?", {n});
        return n;
    }
    QStringList chaves(int n, const checking::DadosGeraisVerificacao *form = nullptr) {
        return teste::Mapeia(VerificaPendencias(banco, n, form), [](auto &p) { return p.chave; });
    }
};

TEST_F(Pendencias, CadaRegraDosDadosGeraisSozinha) {
    EXPECT_EQ(chaves(completa()), QStringList());
    for (const QStringList &c : teste::Casos("pendencias_gerais.tsv")) {
        const auto lista = checking::VerificaPendencias(banco, completa(c[1]));
        ASSERT_EQ(lista.size(), 1u) << c[1];
        EXPECT_EQ(lista[0].chave + ": " + lista[0].texto,
                  c[0] + ": " + base::Catalogo().Descricao(c[0]));
    }
    // The form's own rule: wages with the fixed coefficient.
    const int n = completa();
    checking::DadosGeraisVerificacao form = checking::LeDadosGerais(banco, n);
    form.doFormulario = form.coeficienteFixo = true;
    form.coeficienteVariavel = false;
    form.salarios = 10.0;
    form.encargos = 5.0;
    EXPECT_EQ(chaves(n, &form),
              QStringList({"ERRO_SALARIOS_C_RED_FIX", "ERRO_ENCARGOS_C_RED_FIX"}));
    // A stored variable row holding no value raises nothing.
    EXPECT_EQ(chaves(completa("TIPO_COEFICIENTE_VLM = 1, VL_SALARIOS_VLM = NULL,"
                              " VL_ENCARGOS_VLM = NULL")),
              QStringList());
}

TEST_F(Pendencias, EstruturaDaDeclaracao) {
    // Each problem listed once.
    const int n =
        C(banco).geral().modelo("M", 1.0).nacional().importadoDI().importadoDI().importadoDI();
    for (const QStringList &sql : teste::Casos("pendencias_estrutura.sql"))
        banco.executa(sql[0], {n});
    EXPECT_EQ(chaves(n), QStringList({"ERRO_SEM_NF", "ERRO_SEM_DI_NF", "ERRO_COM_DI_NF"}));
}

TEST_F(Pendencias, QuantidadesEValoresLongosDemais) {
    C d(banco);
    d.geral().modelo("M", 1.0).nacional("um", 1, 1);
    d.nacional("dois", 12345678.5, 999999999.99); // 8 and 9 integer digits: fine
    d.nacional("três", 123456789, 1000000000);    // 9 and 10: both too long
    const int n = d.subcomponente(3, "sub", 123456789, 1).importadoDI("imp", 1, 1234567890);
    EXPECT_EQ(
        teste::Mapeia(VerificaPendencias(banco, n),
                      [](auto &p) { return p.chave + ": " + p.texto; }),
        teste::Mapeia(teste::Casos("pendencias_longas.tsv"), [](auto &c) { return c.join(": "); }));
}

// However the statement got there: equal passes, above is listed at the component.
TEST_F(Pendencias, SubcomponentesAcimaDoCustoDoNacional) {
    C d(banco);
    d.geral().modelo("M", 1.0).nacional("igual", 1, 10).nacional("acima", 1, 10);
    const int n = d.subcomponente(1, "a", 2, 5).subcomponente(2, "b", 2, 5);
    EXPECT_EQ(chaves(n), QStringList());
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET VL_CUSTO_UNITARIO_NACIONAL = 9.99"
                  " WHERE NR_SQ_NACIONAL = 2");
    const auto lista = checking::VerificaPendencias(banco, n);
    ASSERT_EQ(lista.size(), 1u);
    EXPECT_EQ(lista[0].chave + ": " + lista[0].texto,
              "CN_SUB_2: Componente Nacional : 2 - " +
                  base::Catalogo().Descricao("ERRO_VALOR_NAC_MENOR_SUB"));
}

// At the boundary; and the statement's print rows cleared, no other's.
TEST_F(Pendencias, LimiteDe9999LinhasEImpressao) {
    const int n = completa();
    const auto insere = [&](int sq) {
        for (const QStringList &sql : teste::Casos("linhas_por_tipo.sql"))
            banco.executa(sql[0], {n, sq});
    };
    insere(9999);
    banco.executa("INSERT INTO IMPRESSAO VALUES (?)", {n});
    banco.executa("INSERT INTO IMPRESSAO VALUES (?)", {n + 1});
    EXPECT_EQ(chaves(n), QStringList());
    EXPECT_EQ(banco.escalar("SELECT count(*) FROM IMPRESSAO").toInt(), 1);
    insere(10000);
    EXPECT_EQ(chaves(n),
              QStringList({"ERRO_MODELOS_SQ", "ERRO_NACIONAIS_SQ", "ERRO_IMPORTADOS_SQ"}));
}

} // namespace
