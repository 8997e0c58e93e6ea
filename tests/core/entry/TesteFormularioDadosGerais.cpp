// The general-data window's decisions without the window: statement kind,
// previous number, the delivered lock, keep-or-discard on closing, search
// and where each pendency is fixed.

#include "entry/DestinoPendencia.h"
#include "entry/FormularioDadosGerais.h"
#include "entry/ListasDeclaracao.h"
#include "shell/Programa.h"
#include "support/Teste.h"

using namespace vlme;
using entry::Lista;

namespace {

using FormularioDadosGerais = teste::ComBanco;

TEST(DadosGerais, TipoDeDeclaracaoEVlmAnterior) {
    // retificador Sim/Não, substitutivo Sim/Não -> enabled frames and fields
    struct {
        bool rs, rn, ss, sn;
        const char *habilitados; // retificador, substitutivo, anterior, processo
    } casos[] = {{true, false, false, true, "1011"},
                 {false, true, true, false, "0110"},
                 {false, true, false, true, "1100"}};
    for (const auto &c : casos) {
        entry::CamposDadosGerais campos;
        campos.retificadorSim = c.rs, campos.retificadorNao = c.rn;
        campos.substitutivoSim = c.ss, campos.substitutivoNao = c.sn;
        campos.vlmAnterior = "2003000016", campos.nrProcesso = "12345678901234567";
        const auto e = entry::SetaRetificador(campos);
        QString obtido;
        for (const bool habilitado : {e.retificador, e.substitutivo, e.vlmAnterior, e.nrProcesso})
            obtido += habilitado ? '1' : '0';
        EXPECT_EQ(obtido, c.habilitados);
        // A field that cannot be typed in holds nothing.
        EXPECT_EQ(campos.vlmAnterior.isEmpty(), !e.vlmAnterior);
        EXPECT_EQ(campos.nrProcesso.isEmpty(), !e.nrProcesso);
    }
    // 2·2+9·0+8·0+7·3+6·0+5·0+4·0+3·0+2·1 = 27; 27 mod 11 = 5; DV 6.
    // The warning: its icon (as the scripted user's summaries: x critical, ! exclamation).
    for (const auto &[numero, aviso] :
         {std::pair{"", ""},
          {"200300001", ""},
          {"2003000016", ""},
          {"20030000", "x|Número de Registro VLM-E  - Tamanho Invalido"},
          {"2003000011", "!|Número de Registro VLM-E com DV Inválido"}}) {
        const auto a = entry::ConfereVlmAnterior(numero);
        EXPECT_EQ(a ? QString("-i!?x"[int(a->icone)]) + "|" + a->texto : "", aviso) << numero;
    }
}

TEST_F(FormularioDadosGerais, FecharDescartaSoANovaIntocadaEEntregueNaoMuda) {
    const int intocada = teste::ConstrutorDeclaracao(banco);
    const int tocada = teste::ConstrutorDeclaracao(banco);
    const int entregue = teste::ConstrutorDeclaracao(banco).geral().modelo("M", 1);
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 7 WHERE NR_VLM_VLM = ?", {entregue});
    for (int n : {intocada, tocada, entregue}) {
        shell::DeclaracaoAberta aberta{n, true, true, false};
        entry::FormularioDadosGerais f(banco, aberta);
        f.carrega();
        f.campos().ppb = "PPB digitado";
        if (n != intocada)
            f.marcaAlterada();
        const auto b = f.botoes(true);
        EXPECT_EQ(f.entregue(), n == entregue);
        EXPECT_EQ(b.incluir && b.alterar && b.excluir, n != entregue);
        EXPECT_TRUE(b.localizar && b.visualizar);
        f.fecha();
        EXPECT_EQ(aberta.numero, 0);
    }
    EXPECT_EQ(teste::Valores(banco, "SELECT NR_VLM_VLM, PPB_VLM FROM VLME ORDER BY 1"),
              QString("%1|PPB digitado;%2|%3")
                  .arg(tocada)
                  .arg(entregue)
                  .arg(teste::ConstrutorDeclaracao::GeraisPadrao().ppb));
    // Closing a statement deleted meanwhile neither fails nor brings it back.
    shell::DeclaracaoAberta aberta{tocada, true, false, true};
    entry::FormularioDadosGerais f(banco, aberta);
    f.carrega();
    banco.executa("DELETE FROM VLME WHERE NR_VLM_VLM = ?", {tocada});
    f.fecha();
    EXPECT_EQ(teste::Valores(banco, "SELECT count(*) FROM VLME"), "1");
}

TEST_F(FormularioDadosGerais, LocalizaPorTextoOuNumeroComCuringasLiterais) {
    teste::ConstrutorDeclaracao d(banco);
    d.geral().modelo("Versão AÇÃO", 1, "X-1").modelo("Modelo 100%", 1, "COD_B");
    d.nacional("Placa 5").nacional("Placa a").nacional("Fio 12 mm");
    const int n = d.subcomponente(1, "Chip 12", 1, 1).importadoDI("Tela 12");
    for (const QStringList &c : teste::Casos("localiza.tsv"))
        EXPECT_EQ(entry::Localiza(banco, n, Lista(c[0].toInt()), c[1]).value_or(0), c[2].toInt())
            << c.join('|');
    EXPECT_EQ(entry::LeLista(banco, n, Lista::Nacionais).size(), 3u);
    // The imported list leaves subcomponents to their national component.
    const auto importados = entry::LeLista(banco, n, Lista::Importados);
    ASSERT_EQ(importados.size(), 1u);
    EXPECT_EQ(importados[0].descricao, "Tela 12");
}

TEST_F(FormularioDadosGerais, CadaPendenciaLevaAoSeuLugar) {
    teste::ConstrutorDeclaracao d(banco);
    const int n = d.geral().nacional("A").subcomponente(1, "S", 1, 1).importadoDI("I");
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0");
    for (const QStringList &c : teste::Casos("destino_pendencias.tsv")) {
        const auto d = entry::DestinoDaPendencia(banco, n, c[0]);
        ASSERT_TRUE(d) << c[0];
        EXPECT_EQ(QString("%1:%2:%3:%4").arg(d->aba).arg(d->nrSq).arg(d->campo).arg(d->noItem),
                  c[1])
            << c[0];
    }
    EXPECT_FALSE(entry::DestinoDaPendencia(banco, n, "CN_QTD_x"));
}

} // namespace
