// Brazilian number notation, rounding on decimal digits, implied decimals and
// the keystroke filter, against the hand-typed tables under tests/data/casos.

#include "entry/Numeros.h"
#include "support/PastaTeste.h"

#include "Casos.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace vlme::entry;
using vlme::teste::Casos;

namespace {

TEST(Numeros, LeNotacaoBrasileira) {
    for (const QStringList &c : Casos("converte_valor.tsv")) {
        bool ok = c[2] != "1";
        EXPECT_EQ(ConverteValor(c[0], &ok), c[1].toDouble()) << c[0];
        EXPECT_EQ(ok, c[2] == "1") << c[0];
    }
}

TEST(Numeros, FormataComDecimaisExatos) {
    for (const QStringList &c : Casos("formata.tsv")) {
        const int largura = c[2].toInt(), decimais = c[3].toInt();
        const QString obtido = c[0] == "V"   ? FormataValor(c[1].toDouble(), largura, decimais)
                               : c[0] == "N" ? FormataNumero(c[1].toDouble(), largura, decimais)
                               : c[0] == "T" ? FormataValor(c[1], largura, decimais)
                                             : FormataValorSemMilhar(c[1], largura, decimais);
        EXPECT_EQ(obtido, c[4]) << c.join(' ');
    }
}

TEST(Numeros, InsereDecimaisESoNumeros) {
    for (const QStringList &c : Casos("insere_decimais.tsv"))
        EXPECT_EQ(InsereDecimais(c[0], c[1].toInt(), c[2].toInt()), c[3]) << c[0];
    for (const QStringList &c : Casos("caracteres.tsv")) {
        const bool r = c[0] == "C" ? CaracteresValidos(c[1]) : SoNumeros(c[1], c[0] == "S");
        EXPECT_EQ(r, c[2] == "1") << c.join(' ');
    }
}

TEST(Numeros, FiltraTecla) {
    for (const QStringList &c : Casos("filtra_tecla.tsv"))
        EXPECT_EQ(FiltraTecla(QChar(c[0].toInt()), c[1], c[2], c[3] == "1"), c[4] == "1")
            << c.join(' ');
}

TEST(Numeros, MesmoResultadoEmQualquerLocalidade) {
    const QLocale antes;
    for (const QLocale &l : {QLocale(QLocale::English, QLocale::UnitedStates),
                             QLocale(QLocale::German, QLocale::Germany), QLocale::c()}) {
        QLocale::setDefault(l);
        std::setlocale(LC_ALL, "C");
        EXPECT_EQ(ConverteValor("1.234,56"), 1234.56) << l.name();
        EXPECT_EQ(FormataValor(1234567.891), "1.234.567,89") << l.name();
        EXPECT_EQ(FormataNumero(1234.5), "1.234,50") << l.name();
        EXPECT_EQ(InsereDecimais("0001250"), "12,5") << l.name();
    }
    QLocale::setDefault(antes);
}

} // namespace
