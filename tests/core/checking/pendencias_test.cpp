// The pendency check: each rule alone gives exactly its message, a complete
// statement gives none, and the structural limits hold at their boundary.

#include "checking/Pendencias.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include "core/entry/Casos.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vlme;
using teste::ConstrutorDeclaracao;

namespace {

QStringList chaves(const std::vector<checking::Pendencia> &lista) {
    QStringList c;
    for (const auto &p : lista)
        c << p.chave;
    return c;
}

// Everything filled, one model, one imported component with a DI, no national.
int completa(store::Banco &banco, const std::function<void(store::DadosGerais &)> &ajuste = {}) {
    return ConstrutorDeclaracao(banco)
        .geral([&](store::DadosGerais &d) {
            if (ajuste)
                ajuste(d);
        })
        .modelo("Modelo A", 100.0)
        .importadoDI("Tela", 1, 30.0);
}

} // namespace

TEST(Pendencias, CadaRegraDosDadosGeraisSozinha) {
    teste::BancoTeste b;
    for (const QStringList &c : teste::Casos("pendencias_gerais.tsv")) {
        const int n = completa(b.banco());
        b.banco().executa("UPDATE VLME SET " + c[1] + " WHERE NR_VLM_VLM = ?", {n});
        const auto lista = checking::VerificaPendencias(b.banco(), n);
        ASSERT_EQ(chaves(lista), QStringList({c[0]})) << c[1];
        EXPECT_EQ(lista[0].texto, checking::Catalogo().Descricao(c[0]));
    }
}

TEST(Pendencias, SalariosEEncargosConformeOCoeficiente) {
    teste::BancoTeste b;
    // Fixed, both zero: nothing.
    EXPECT_TRUE(checking::VerificaPendencias(b.banco(), completa(b.banco())).empty());
    // Variable, wages zero, charges filled: only the wages.
    const int v = completa(b.banco(), [](auto &d) {
        d.coeficiente = store::Coeficiente::Variavel;
        d.salarios = 0.0;
        d.encargos = 10.0;
    });
    EXPECT_EQ(chaves(checking::VerificaPendencias(b.banco(), v)),
              QStringList({"ERRO_SALARIOS_ZERO"}));

    // The form's own rule: wages with the fixed coefficient.
    checking::DadosGeraisVerificacao form = checking::LeDadosGerais(b.banco(), v);
    form.doFormulario = true;
    form.coeficienteFixo = true;
    form.coeficienteVariavel = false;
    form.salarios = 10.0;
    form.encargos = 5.0;
    EXPECT_EQ(chaves(checking::VerificaPendencias(b.banco(), v, &form)),
              QStringList({"ERRO_SALARIOS_C_RED_FIX", "ERRO_ENCARGOS_C_RED_FIX"}));
    // A stored row holding no value raises neither.
    b.banco().executa(
        "UPDATE VLME SET VL_SALARIOS_VLM = NULL, VL_ENCARGOS_VLM = NULL WHERE NR_VLM_VLM = ?", {v});
    EXPECT_TRUE(checking::VerificaPendencias(b.banco(), v).empty());
}

TEST(Pendencias, CnpjECpfLevamOrigemECampo) {
    checking::DadosGeraisVerificacao d;
    const checking::Erros erros = checking::ValidaDadosGerais(d);
    QStringList origens;
    for (const char *chave : {"ERRO_CNPJ_AUSENTE", "ERRO_CPF_AUSENTE", "ERRO_PPB_AUSENTE"})
        origens << erros.Item(chave)->Origem + "." + erros.Item(chave)->Campo;
    EXPECT_EQ(origens, QStringList({"frmCentral.mskCNPJ", "frmCentral.mskCPF", "."}));
}

TEST(Pendencias, EstruturaDaDeclaracao) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    // No model and no imported component.
    const int vazia = ConstrutorDeclaracao(banco).geral();
    EXPECT_EQ(chaves(checking::VerificaPendencias(banco, vazia)),
              QStringList({"ERRO_MODELOS", "ERRO_IMPORTADOS"}));

    // A national component without invoice, an imported one with neither
    // document and two with both: each problem listed once.
    const int n = ConstrutorDeclaracao(banco)
                      .geral()
                      .modelo("M", 1.0)
                      .nacional()
                      .importadoDI()
                      .importadoDI()
                      .importadoDI();
    banco.executa(
        "UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_VLM_NACIONAL = ?", {n});
    banco.executa("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_DI_IMPORTADO = 0 WHERE "
                  "NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = 1",
                  {n});
    banco.executa("UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_NF_IMPORTADO = 99 WHERE "
                  "NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO > 1",
                  {n});
    EXPECT_EQ(chaves(checking::VerificaPendencias(banco, n)),
              QStringList({"ERRO_SEM_NF", "ERRO_SEM_DI_NF", "ERRO_COM_DI_NF"}));
}

TEST(Pendencias, QuantidadesEValoresLongosDemais) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco)
                      .geral()
                      .modelo("M", 1.0)
                      .nacional("um", 1, 1)
                      .nacional("dois", 12345678.5, 999999999.99) // 8 and 9 integer digits: fine
                      .nacional("três", 123456789, 1000000000)    // 9 and 10: both too long
                      .subcomponente(3, "sub", 123456789, 1)
                      .importadoDI("imp", 1, 1234567890);
    QStringList lista;
    for (const auto &p : checking::VerificaPendencias(banco, n))
        lista << p.chave + ": " + p.texto;
    EXPECT_EQ(lista,
              QStringList({
                  "CN_QTD_3: Componente Nacional : 3 - Quantidade superior a 8 inteiros.",
                  "CN_VLR_3: Componente Nacional : 3 - Valor Unitário superior a 9 inteiros.",
                  "SI_QTD_1: SubComponente Importado : 1 - Quantidade superior a 8 inteiros.",
                  "CI_VLR_2: Componente Importado : 2 - Valor Unitário superior a 9 inteiros.",
              }));
}

TEST(Pendencias, LimiteDe9999LinhasNaFronteira) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = completa(banco);
    auto insere = [&](int sq) {
        banco.executa("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS) "
                      "VALUES (?, ?, 'x')",
                      {n, sq});
        banco.executa("INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL, "
                      "NR_SEQ_NF_NACIONAL) VALUES (?, ?, 1)",
                      {n, sq});
        banco.executa("INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO, "
                      "NR_SEQ_DI_IMPORTADO) VALUES (?, ?, 1)",
                      {n, sq});
    };
    insere(9999);
    EXPECT_TRUE(checking::VerificaPendencias(banco, n).empty());
    insere(10000);
    EXPECT_EQ(chaves(checking::VerificaPendencias(banco, n)),
              QStringList({"ERRO_MODELOS_SQ", "ERRO_NACIONAIS_SQ", "ERRO_IMPORTADOS_SQ"}));
}

TEST(Pendencias, LimpaAsLinhasDeImpressaoDaDeclaracao) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = completa(banco);
    banco.executa("INSERT INTO IMPRESSAO VALUES (?)", {n});
    banco.executa("INSERT INTO IMPRESSAO VALUES (?)", {n + 1});
    checking::VerificaPendencias(banco, n);
    EXPECT_EQ(banco.escalar("SELECT count(*) FROM IMPRESSAO").toInt(), 1);
}
