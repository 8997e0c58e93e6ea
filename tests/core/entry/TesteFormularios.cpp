// The logic behind the lookups without windows: what a lookup lists for a filter.

#include "entry/ConsultaCodigos.h"
#include "support/PastaTeste.h"

#include "Casos.h"

#include <gtest/gtest.h>

using namespace vlme::entry;
using vlme::teste::Casos;

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

} // namespace
