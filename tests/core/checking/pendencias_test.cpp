// The pendency check: each rule alone gives exactly its message, a complete
// statement gives none, and the structural limits hold at their boundary.

#include "checking/Pendencias.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include "core/entry/Casos.h"

#include <gtest/gtest.h>

using namespace vlme;
using teste::ConstrutorDeclaracao;

namespace {

class Pendencias : public ::testing::Test {
  protected:
    teste::BancoTeste b;
    store::Banco &banco = b.banco();

    // Everything filled, one model, one imported component with a DI, no
    // national; then the stored columns `muda` sets.
    int completa(const QString &muda = {}) {
        const int n = ConstrutorDeclaracao(banco)
                          .geral()
                          .modelo("Modelo A", 100.0)
                          .importadoDI("Tela", 1, 30);
        if (!muda.isEmpty())
            banco.executa("UPDATE VLME SET " + muda + " WHERE NR_VLM_VLM = ?", {n});
        return n;
    }
    QStringList chaves(int n, const checking::DadosGeraisVerificacao *form = nullptr) {
        QStringList c;
        for (const auto &p : checking::VerificaPendencias(banco, n, form))
            c << p.chave;
        return c;
    }
};

TEST_F(Pendencias, CadaRegraDosDadosGeraisSozinha) {
    EXPECT_EQ(chaves(completa()), QStringList());
    for (const QStringList &c : teste::Casos("pendencias_gerais.tsv")) {
        const auto lista = checking::VerificaPendencias(banco, completa(c[1]));
        ASSERT_EQ(lista.size(), 1u) << c[1];
        EXPECT_EQ(lista[0].chave + ": " + lista[0].texto,
                  c[0] + ": " + checking::Catalogo().Descricao(c[0]));
    }
}

TEST_F(Pendencias, SalariosComCoeficienteFixo) {
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

    QStringList origens;
    const checking::Erros erros = checking::ValidaDadosGerais(checking::DadosGeraisVerificacao());
    for (const char *chave : {"ERRO_CNPJ_AUSENTE", "ERRO_CPF_AUSENTE", "ERRO_PPB_AUSENTE"})
        origens << erros.Item(chave)->Origem + "." + erros.Item(chave)->Campo;
    EXPECT_EQ(origens, QStringList({"frmCentral.mskCNPJ", "frmCentral.mskCPF", "."}));
}

TEST_F(Pendencias, EstruturaDaDeclaracao) {
    // No model and no imported component.
    EXPECT_EQ(chaves(ConstrutorDeclaracao(banco).geral()),
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
    for (const char *sql :
         {"UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_VLM_NACIONAL = ?",
          "UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_DI_IMPORTADO = 0 WHERE NR_VLM_IMPORTADO = ?"
          " AND NR_SQ_IMPORTADO = 1",
          "UPDATE COMPONENTES_IMPORTADOS SET NR_SEQ_NF_IMPORTADO = 99 WHERE NR_VLM_IMPORTADO = ?"
          " AND NR_SQ_IMPORTADO > 1"})
        banco.executa(sql, {n});
    EXPECT_EQ(chaves(n), QStringList({"ERRO_SEM_NF", "ERRO_SEM_DI_NF", "ERRO_COM_DI_NF"}));
}

TEST_F(Pendencias, QuantidadesEValoresLongosDemais) {
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

// At the boundary; and the statement's print rows cleared, no other's.
TEST_F(Pendencias, LimiteDe9999LinhasEImpressao) {
    const int n = completa();
    const auto insere = [&](int sq) {
        for (const char *sql :
             {"INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS,"
              " TX_DESCRICAO_MODELOS) VALUES (?, ?, 'x')",
              "INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL,"
              " NR_SEQ_NF_NACIONAL) VALUES (?, ?, 1)",
              "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO,"
              " NR_SQ_IMPORTADO, NR_SEQ_DI_IMPORTADO) VALUES (?, ?, 1)"})
            banco.executa(sql, {n, sq});
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
