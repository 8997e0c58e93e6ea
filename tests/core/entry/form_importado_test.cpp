// The imported form's logic without a window: checks in order, enabled
// controls, a subcomponent's cost rule, what it saves and shows again.

#include "entry/FormImportado.h"
#include "entry/OperacaoFormulario.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::entry;
using namespace vlme::teste;
namespace Op = entry::OperacaoFormulario;

namespace {

// Document, then the fields in the order of the struct.
CamposImportado Campos(const QStringList &k) {
    return {k[0] == "DI", k[1], k[2],  k[3],  k[4],  k[5],  k[6], k[7],
            k[8],         k[9], k[10], k[11], k[12], k[13], k[14]};
}
const QStringList Valido = QString("NF 2301234567 001 01 0000000042 1 15032023 04539983000190 "
                                   "12.345/6-7 85171231 UN Tela 2 3,5 16")
                               .split(' ');

using FormImportadoTeste = teste::ComBanco;

} // namespace

TEST_F(FormImportadoTeste, ConferenciasNaOrdemComSuasMensagens) {
    const int n = ConstrutorDeclaracao(banco);
    const FormImportado f(banco, n, 0, Op::Incluir);
    for (const QStringList &k : teste::Casos("form_importado_conferencias.tsv")) {
        const ConferenciasCampos r = f.confere(Campos(k));
        const QString caso = k.join(' ');
        EXPECT_EQ(Passou(r) ? "-" : r.back().campo, k[15]) << caso.toStdString();
        EXPECT_TRUE(Passou(r) ||
                    r.back().conferencia.mensagem.startsWith(Mensagem(k[16].toLatin1())))
            << caso.toStdString();
    }
    // Numbers that pass come back as the field shows them.
    const ConferenciasCampos r = f.confere(Campos(Valido));
    EXPECT_EQ(*r.back().conferencia.texto, "16,00");
    EXPECT_TRUE(FormImportado(banco, n, 0, Op::Visualizar).confere({}).empty());
}

TEST_F(FormImportadoTeste, HabilitadosPorModoDocumentoEBase) {
    const QStringList vistos = {"mskNrDI",      "mskNR",        "CmdNcm",     "optComSuspSim",
                                "optDiretoSim", "txtDescricao", "cmdCancelar"};
    for (const QStringList &k : teste::Casos("form_importado_habilitados.tsv")) {
        const FormImportado f(banco, 1, k[1].toInt(), k[0].toInt(), 1);
        CamposImportado c;
        c.di = k[2] == "1";
        c.baseCalculo = k[3] == "1";
        QStringList habilitados;
        for (const auto &[nome, sim] : f.habilitacao(c))
            if (sim && vistos.contains(nome))
                habilitados << nome;
        EXPECT_EQ(habilitados.join(' '), k.value(4)) << k.join(' ').toStdString();
    }
    EXPECT_EQ(FormImportado(banco, 1, 0, Op::Incluir).titulo(), "Incluir Componente Importado");
    const FormImportado sub(banco, 1, store::NacionalEmInclusao, Op::Visualizar);
    EXPECT_EQ(sub.titulo() + "|" + sub.tituloOrigem() + "|" + sub.tituloDados(),
              "Visualizar Subcomponente Importado|Origem do subcomponente|Dados do subcomponente");
}

// National 1 costs 10 and holds a subcomponent of 6.
TEST_F(FormImportadoTeste, SubcomponenteAteOCustoDoNacional) {
    ConstrutorDeclaracao d(banco);
    d.nacional("N", 1, 10).subcomponente(1, "S", 1, 6);
    const auto recusa = [&](int op, int sq, const QString &valor, std::optional<double> custo) {
        FormImportado f(banco, d, 1, op, sq);
        if (custo)
            f.defineCustoNacional(*custo);
        CamposImportado c = Campos(Valido);
        c.di = true;
        c.quantidade = "1";
        c.valorUnitario = valor;
        const ConferenciasCampos r = f.confere(c);
        return Passou(r) ? QString() : r.back().campo + " " + r.back().conferencia.mensagem;
    };
    const QString msg = "mskValorUnitario " + Mensagem("ERRO_VALOR_SUB_MAIOR_NAC");
    EXPECT_EQ(recusa(Op::Incluir, 0, "4", {}), "");
    EXPECT_EQ(recusa(Op::Incluir, 0, "4,01", {}), msg);
    // A cost typed in the component's form binds only when lower than the
    // stored one: a cancel there keeps the stored cost.
    EXPECT_EQ(recusa(Op::Incluir, 0, "4,01", 10.01), msg);
    EXPECT_EQ(recusa(Op::Incluir, 0, "3", 9), "");
    EXPECT_EQ(recusa(Op::Incluir, 0, "3,01", 9), msg);
    EXPECT_EQ(recusa(Op::Alterar, 1, "10", {}), ""); // itself at its new value
    EXPECT_EQ(recusa(Op::Alterar, 1, "10,01", {}), msg);
    // A component being included has only the cost typed.
    FormImportado novo(banco, d, store::NacionalEmInclusao, Op::Incluir);
    novo.defineCustoNacional(50);
    CamposImportado c = Campos(Valido);
    c.quantidade = "10";
    c.valorUnitario = "5";
    EXPECT_TRUE(Passou(novo.confere(c)));
    c.valorUnitario = "5,01";
    EXPECT_FALSE(Passou(novo.confere(c)));
}

TEST_F(FormImportadoTeste, GravaEMostraDeNovo) {
    ConstrutorDeclaracao d(banco);
    d.nacional("N", 1, 100);
    FormImportado inclui(banco, d, 1, Op::Incluir);
    CamposImportado c = Campos(Valido);
    c.baseCalculo = false;
    c.comSuspensao = false;
    c.reducao = true;
    ASSERT_TRUE(Passou(inclui.confere(c)));
    const int sq = inclui.grava(c);
    EXPECT_EQ(Valores(banco,
                      "SELECT VALOR_II_IMPORTADO, IN_BASE_CALCULO_SUBCOMP FROM"
                      " COMPONENTES_IMPORTADOS, SUBCOMP WHERE N_IMPORTADO_SUBCOMP = ?",
                      {sq}),
              "1.12|0");

    CamposImportado lido = FormImportado(banco, d, 1, Op::Alterar, sq).carrega();
    EXPECT_EQ(QStringList({lido.nf, lido.serie, lido.dataEmissao, lido.cnpj, lido.inscricao,
                           lido.ncm, lido.unidade, lido.descricao, lido.quantidade,
                           lido.valorUnitario, lido.aliquota})
                  .join('|'),
              "0000000042|1|15032023|04539983000190|12.345/6-7|85171231|UN|Tela|2,0000000|"
              "3,500000|16,00");
    EXPECT_FALSE(lido.di || lido.baseCalculo || lido.comSuspensao || !lido.reducao);

    // Switched to a DI: the invoice's goods code and unit do not stay behind
    // (the import refuses a DI row with a unit), even if handed in.
    lido.di = true;
    FormImportado(banco, d, 1, Op::Alterar, sq).grava(lido);
    EXPECT_EQ(Valores(banco, "SELECT NCM_IMPORTADO, quote(UNIDADE_IMPORTADO)"
                             " FROM COMPONENTES_IMPORTADOS"),
              "00000000|NULL");
    EXPECT_EQ(FormImportado(banco, d, 1, Op::Visualizar, sq).carrega().ncm, "");
}
