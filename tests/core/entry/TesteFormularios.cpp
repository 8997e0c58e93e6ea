// The logic behind the lookups and the model form, without windows: what a
// lookup lists for a filter, and what the model form refuses or saves.

#include "entry/ConsultaCodigos.h"
#include "entry/FormularioModelo.h"
#include "entry/OperacaoFormulario.h"
#include "support/Teste.h"

using namespace vlme::entry;
using vlme::teste::Casos;
using vlme::teste::ConteudoTabela;

namespace {

TEST(Consultas, PrefixoLiteralEmOrdemDeCodigo) {
    vlme::teste::BancoTeste bt;
    auto &b = bt.banco();
    for (const QStringList &sql : Casos("consulta_codigos.sql"))
        b.executa(sql[0]);
    for (const QStringList &c : Casos("consulta_codigos.tsv")) {
        QStringList linhas;
        for (const LinhaConsulta &l :
             c[0] == "N" ? ConsultaNCM(b, c[1]) : ConsultaUnidades(b, c[1]))
            linhas << (c.size() > 3 ? l.codigo + "|" + l.descricao + "|" + l.unidade : l.codigo);
        EXPECT_EQ(linhas.join(','), c.last()) << c.join('|').toStdString();
    }
}

TEST(FormularioModelo, ConfereNaOrdemEGravaOQueFoiDigitado) {
    vlme::teste::BancoTeste bt;
    auto &banco = bt.banco();
    const int a = vlme::teste::ConstrutorDeclaracao(banco)
                      .modelo("Televisão Épica", 100.0, "TV-1")
                      .modelo("Monitor", 2.5, "MON");
    vlme::teste::ConstrutorDeclaracao(banco).modelo("Rádio", 1.0);
    // the form reads its own row: another statement's is not there
    EXPECT_THROW(FormularioModelo(banco, a + 1, OperacaoFormulario::Alterar, 2),
                 vlme::base::ErroVLME);
    for (const QStringList &c : Casos("formulario_modelo.tsv")) {
        const std::string caso = c.join('|').toStdString();
        vlme::store::Transacao desfaz(banco); // each case starts from the same models
        const QStringList antes = ConteudoTabela(banco, "MODELOS");
        const bool alterar = c[0] == "A2";
        FormularioModelo f(banco, a, alterar ? OperacaoFormulario::Alterar : 0, 2);
        FormularioModelo::Valores v{c[1], c[2], c[3]};
        if (const auto recusa = f.confirma(v)) {
            EXPECT_EQ(recusa->conferencia.mensagem, QString(c[4]).replace("\\r", "\r")) << caso;
            EXPECT_EQ(ConteudoTabela(banco, "MODELOS"), antes) << caso;
            continue;
        }
        EXPECT_EQ(f.nrSqModelo(), alterar ? 2 : 3) << caso;
        EXPECT_EQ(vlme::teste::Valores(banco,
                                       "SELECT TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                                       " PRECO_VENDA_MODELOS FROM MODELOS"
                                       " WHERE NR_VLM_MODELOS = ? AND NR_SQ_MODELOS = ?",
                                       {a, f.nrSqModelo()}),
                  c[4])
            << caso;
        EXPECT_EQ(ConteudoTabela(banco, "MODELOS").size(), antes.size() + (alterar ? 0 : 1));
    }
}

} // namespace
