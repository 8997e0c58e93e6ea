// The national form's logic without a window: checks in order, modes, and the
// include that adopts (or, cancelled, drops) the subcomponents added meanwhile.

#include "entry/FormNacional.h"
#include "entry/OperacaoFormulario.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::entry;
using namespace vlme::teste;
namespace Op = entry::OperacaoFormulario;

namespace {

CamposNacional Campos(const QStringList &k) {
    return {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8], k[9]};
}
const QStringList Valido =
    QString("0000000005 A 01022024 04539983000190 123-4 Placa 85171231 UN 1 10").split(' ');

using FormNacionalTeste = teste::ComBanco;

} // namespace

TEST_F(FormNacionalTeste, ConferenciasNaOrdemComSuasMensagens) {
    ConstrutorDeclaracao d(banco);
    d.nacional("N", 1, 10).subcomponente(1, "A", 2, 3).subcomponente(1, "B", 1, 4);
    const FormNacional f(banco, d, Op::Alterar, 1);
    for (const QStringList &k : teste::Casos("form_nacional_conferencias.tsv")) {
        const ConferenciasCampos r = f.confere(Campos(k));
        const QString caso = k.join(' ');
        EXPECT_EQ(Passou(r) ? "-" : r.back().campo, k[10]) << caso.toStdString();
        EXPECT_TRUE(Passou(r) ||
                    r.back().conferencia.mensagem.startsWith(Mensagem(k[11].toLatin1())))
            << caso.toStdString();
    }
    // Before a subcomponent is changed, the same rule against the cost typed.
    EXPECT_TRUE(f.confereAntesDeAlterar("10,000000").conferencia.passou);
    EXPECT_EQ(f.confereAntesDeAlterar("9,99").conferencia.mensagem,
              Mensagem("ERRO_VALOR_SUB_MAIOR_NAC"));
}

TEST_F(FormNacionalTeste, ModosTitulosEComandosDaLista) {
    const QStringList vistos = {"mskNR", "cmdIncluirImportadoNacional",
                                "cmdAlterarImportadoNacional", "cmdVisualizarImportadoNacional",
                                "cmdCancelar"};
    const auto habilitados = [&](int op, bool linhas) {
        QStringList t;
        for (const auto &[nome, sim] : FormNacional(banco, 1, op, 1).habilitacao(linhas))
            if (sim && vistos.contains(nome))
                t << nome.mid(3, 6);
        return t.join(' ');
    };
    EXPECT_EQ(habilitados(Op::Incluir, false), "NR Inclui Cancel");
    EXPECT_EQ(habilitados(Op::Alterar, true), "NR Inclui Cancel Altera Visual");
    EXPECT_EQ(habilitados(Op::Excluir, true), "Cancel");
    EXPECT_EQ(habilitados(Op::Visualizar, true), "Visual");
    EXPECT_EQ(FormNacional(banco, 1, Op::Excluir).titulo(), "Excluir Componente Nacional");
    EXPECT_EQ(FormNacional(banco, 1, Op::Visualizar).titulo(), "Visualizar ");
}

TEST_F(FormNacionalTeste, InclusaoAdotaOuDescartaOsSubcomponentes) {
    ConstrutorDeclaracao d(banco);
    d.nacional("Antes", 1, 50).subcomponente(1, "Dele", 1, 5);
    const QStringList antes = ConteudoBanco(banco);

    FormNacional cancelada(banco, d, Op::Incluir);
    d.subcomponente(cancelada.dono(), "Pendente", 1, 1);
    EXPECT_EQ(cancelada.subcomponentes().size(), 1u);
    cancelada.descartaPendentes();
    EXPECT_EQ(ConteudoBanco(banco), antes);

    FormNacional f(banco, d, Op::Incluir);
    d.subcomponente(f.dono(), "Tela Çéu", 2, 1.5, 10);
    d.subcomponente(f.dono(), "Outra", 1, 1);
    EXPECT_EQ(f.localiza("ceu"), d.ultimoImportado() - 1);
    EXPECT_EQ(f.localiza("%"), 0);
    EXPECT_EQ(f.grava(Campos(Valido)), 2);
    f.descartaPendentes(); // saved: nothing is pending any more
    EXPECT_EQ(
        Valores(banco, "SELECT N_NACIONAL_SUBCOMP, count(*) FROM SUBCOMP GROUP BY 1 ORDER BY 1"),
        "1|1;2|2");
    const LinhaSubcomponente l = FormNacional(banco, d, Op::Visualizar, 2).subcomponentes()[0];
    EXPECT_EQ(QStringList({l.descricao, l.quantidade, l.valorUnitario, l.valorTotal, l.valorII})
                  .join('|'),
              "Tela Çéu|2,0000000|1,500000|3,00|0,30");
    const CamposNacional lido = FormNacional(banco, d, Op::Alterar, 2).carrega();
    EXPECT_EQ(QStringList({lido.nf, lido.dataEmissao, lido.cnpj, lido.custoUnitario}).join('|'),
              "0000000005|01022024|04539983000190|10,000000");

    FormNacional(banco, d, Op::Excluir, 2).grava({});
    EXPECT_EQ(ConteudoBanco(banco), antes);
}
