// Brazilian number notation, rounding on decimal digits, implied decimals and
// the keystroke filter.

#include "entry/Numeros.h"
#include "support/PastaTeste.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace vlme::entry;

namespace {

struct CasoLeitura {
    const char *texto;
    double valor;
    bool numero;
};

void PrintTo(const CasoLeitura &c, std::ostream *os) {
    *os << '"' << c.texto << '"';
}

class ConverteValorTeste : public ::testing::TestWithParam<CasoLeitura> {};

TEST_P(ConverteValorTeste, LeNotacaoBrasileira) {
    const CasoLeitura c = GetParam();
    bool ok = !c.numero;
    EXPECT_EQ(ConverteValor(QString::fromUtf8(c.texto), &ok), c.valor) << c.texto;
    EXPECT_EQ(ok, c.numero) << c.texto;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ConverteValorTeste,
    ::testing::Values(CasoLeitura{"1.234,56", 1234.56, true}, CasoLeitura{"1234,56", 1234.56, true},
                      CasoLeitura{"-1.234,56", -1234.56, true}, CasoLeitura{"", 0.0, true},
                      CasoLeitura{",", 0.0, true}, CasoLeitura{"0,1", 0.1, true},
                      CasoLeitura{"12,", 12.0, true}, CasoLeitura{",5", 0.5, true},
                      // every dot groups, wherever it stands
                      CasoLeitura{"1.5", 15.0, true}, CasoLeitura{"1.2.3.4,5", 1234.5, true},
                      CasoLeitura{"1.234.567.890.123,45", 1234567890123.45, true},
                      CasoLeitura{"9999999999999,99", 9999999999999.99, true},
                      CasoLeitura{"12345678,1234567", 12345678.1234567, true},
                      CasoLeitura{"abc", 0.0, false}, CasoLeitura{"1,2,3", 0.0, false},
                      CasoLeitura{"-", 0.0, false}, CasoLeitura{"1e5", 0.0, false}));

struct CasoFormato {
    double valor;
    int largura;
    int decimais;
    const char *esperado;
};

void PrintTo(const CasoFormato &c, std::ostream *os) {
    *os << c.valor << ' ' << c.largura << '/' << c.decimais;
}

class FormataValorTeste : public ::testing::TestWithParam<CasoFormato> {};

TEST_P(FormataValorTeste, ImprimeComDecimaisExatos) {
    const CasoFormato c = GetParam();
    EXPECT_EQ(FormataValor(c.valor, c.largura, c.decimais), QString::fromUtf8(c.esperado))
        << c.valor;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FormataValorTeste,
    ::testing::Values(CasoFormato{1234567.891, 7, 2, "1.234.567,89"},
                      CasoFormato{0.5, 7, 2, "0,50"}, CasoFormato{0.0, 7, 2, "0,00"},
                      CasoFormato{0.0, 15, 5, "0,00000"}, CasoFormato{1234.5, 18, 2, "1.234,50"},
                      CasoFormato{123.0, 7, 2, "123,00"}, CasoFormato{1000.0, 7, 2, "1.000,00"},
                      CasoFormato{100000.0, 7, 2, "100.000,00"},
                      // 0.1 + 0.2 is 0.30000000000000004 in binary
                      CasoFormato{0.1 + 0.2, 7, 2, "0,30"},
                      // 2.675 is stored as 2.67499999999999982236...; its digits are 2.675
                      CasoFormato{2.675, 7, 2, "2,68"}, CasoFormato{-2.675, 7, 2, "-2,68"},
                      CasoFormato{2.665, 7, 2, "2,67"}, CasoFormato{0.125, 7, 2, "0,13"},
                      CasoFormato{0.005, 7, 2, "0,01"}, CasoFormato{0.0049, 7, 2, "0,00"},
                      CasoFormato{999.995, 7, 2, "1.000,00"},
                      CasoFormato{99.99999995, 17, 7, "100,0000000"},
                      CasoFormato{-0.001, 7, 2, "0,00"}, CasoFormato{-1234.5, 7, 2, "-1.234,50"},
                      // the largest values the widths allow
                      CasoFormato{9999999999999.99, 18, 2, "9.999.999.999.999,99"},
                      CasoFormato{1234567890123.45, 18, 2, "1.234.567.890.123,45"},
                      CasoFormato{999999999.999999, 18, 6, "999.999.999,999999"},
                      CasoFormato{99999999.9999999, 17, 7, "99.999.999,9999999"},
                      CasoFormato{999999999.99999, 15, 5, "999.999.999,99999"},
                      CasoFormato{999.99, 6, 2, "999,99"},
                      // a zero argument takes the default (7, 2)
                      CasoFormato{1.5, 7, 0, "1,50"}, CasoFormato{1234.5, 0, 0, "1.234,50"},
                      // no grouping when the decimals reach the width
                      CasoFormato{1234.5, 2, 3, "1234,500"}));

TEST(FormataValor, TextoLidoDigitoADigito) {
    EXPECT_EQ(FormataValor(QString()), "0,00");
    EXPECT_EQ(FormataValor(QString(), 15, 5), "0,00000");
    EXPECT_EQ(FormataValor("1234,5", 18, 2), "1.234,50");
    EXPECT_EQ(FormataValor("1.234,56"), "1.234,56");
    EXPECT_EQ(FormataValor(","), "0,00");
    EXPECT_EQ(FormataValor("2,675"), "2,68");
    EXPECT_EQ(FormataValor("-0,004"), "0,00");
    // beyond what a double holds: still every digit
    EXPECT_EQ(FormataValor("12345678901234567,895", 18, 2), "12.345.678.901.234.567,90");
    EXPECT_EQ(FormataValorSemMilhar("1234567,891"), "1234567,89");
    EXPECT_EQ(FormataValorSemMilhar(QString(), 15, 5), "0,00000");
}

TEST(FormataNumero, QuinzeAlgarismosSignificativos) {
    EXPECT_EQ(FormataNumero(1234.5, 18, 2), "1.234,50");
    EXPECT_EQ(FormataNumero(0.1 + 0.2), "0,30");
    EXPECT_EQ(FormataNumero(0.0, 15, 5), "0,00000");
    EXPECT_EQ(FormataNumero(9999999999999.99, 18, 2), "9.999.999.999.999,99");
    EXPECT_EQ(FormataNumero(12345678.1234567, 17, 7), "12.345.678,1234567");
    EXPECT_EQ(FormataNumero(-12.5), "-12,50");
    EXPECT_EQ(FormataNumero(0.000001234, 18, 6), "0,000001");
    EXPECT_EQ(FormataNumero(1e20, 18, 2), "100.000.000.000.000.000.000,00");
    // One step below 1.005 (1.00499999999999967...): a person sees 1.005 in
    // its 15 digits, while its shortest round-trip form is 1.0049999999999997.
    EXPECT_EQ(FormataNumero(1.0049999999999997), "1,01");
    EXPECT_EQ(FormataValor(1.0049999999999997), "1,00");
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

TEST(InsereDecimais, DecimaisImplicitos) {
    EXPECT_EQ(InsereDecimais("0001250"), "12,5");
    EXPECT_EQ(InsereDecimais("0001250", 7, 2), "12,5");
    EXPECT_EQ(InsereDecimais("1234567", 7, 2), "12345,67");
    EXPECT_EQ(InsereDecimais("0001250", 7, 3), "1,25");
    EXPECT_EQ(InsereDecimais("0000000"), "0");
    EXPECT_EQ(InsereDecimais("0010000"), "100");
    EXPECT_EQ(InsereDecimais("-001250"), "-12,5");
    // a text shorter than the width has no decimals to insert
    EXPECT_EQ(InsereDecimais("123"), "123");
    // a comma already there is kept
    EXPECT_EQ(InsereDecimais("12,345"), "12,345");
    // a 15-digit field keeps its last digit
    EXPECT_EQ(InsereDecimais("123456789012345", 15, 2), "1234567890123,45");
    EXPECT_EQ(InsereDecimais("0000000012345670", 16, 7), "1,234567");
    EXPECT_EQ(InsereDecimais(QString()), QString());
    EXPECT_EQ(InsereDecimais("00012A0"), QString());
    EXPECT_EQ(InsereDecimais(" 001250"), QString());
}

TEST(Caracteres, SoNumerosECaracteresValidos) {
    EXPECT_FALSE(SoNumeros(QString()));
    EXPECT_TRUE(SoNumeros("0123456789"));
    EXPECT_FALSE(SoNumeros("12,3"));
    EXPECT_TRUE(SoNumeros("12,3", true));
    EXPECT_TRUE(SoNumeros("-1.2", true));
    EXPECT_FALSE(SoNumeros(" 1", true));
    EXPECT_FALSE(SoNumeros("1a"));
    EXPECT_FALSE(SoNumeros(QString(), true));

    EXPECT_TRUE(CaracteresValidos(QString()));
    EXPECT_TRUE(CaracteresValidos("12.345/678-9"));
    EXPECT_FALSE(CaracteresValidos("12,3"));
    EXPECT_FALSE(CaracteresValidos("12A"));
    EXPECT_FALSE(CaracteresValidos("1 2"));
}

struct CasoTecla {
    char16_t tecla;
    const char *texto;
    const char *extras;
    bool soInteiros;
    bool aceita;
};

void PrintTo(const CasoTecla &c, std::ostream *os) {
    *os << int(c.tecla) << " em \"" << c.texto << '"';
}

class FiltraTeclaTeste : public ::testing::TestWithParam<CasoTecla> {};

TEST_P(FiltraTeclaTeste, DecideATecla) {
    const CasoTecla c = GetParam();
    EXPECT_EQ(FiltraTecla(QChar(c.tecla), QString::fromLatin1(c.texto),
                          QString::fromLatin1(c.extras), c.soInteiros),
              c.aceita)
        << int(c.tecla) << " em \"" << c.texto << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FiltraTeclaTeste,
    ::testing::Values(
        // numeric fields: the field's text, no extras, one comma
        CasoTecla{u'0', "", "", false, true}, CasoTecla{u'9', "12,5", "", false, true},
        CasoTecla{u',', "12", "", false, true}, CasoTecla{u',', "1,2", "", false, false},
        CasoTecla{u'.', "12", "", false, false}, CasoTecla{u'a', "", "", false, false},
        CasoTecla{u'-', "", "", false, false}, CasoTecla{u' ', "", "", false, false},
        CasoTecla{8, "12", "", false, true}, // backspace
        CasoTecla{1, "", "", false, true}, CasoTecla{31, "", "", false, true},
        CasoTecla{0, "", "", false, false}, CasoTecla{127, "", "", false, false},
        // invoice number, DI addition and item: digits only
        CasoTecla{u'7', "", "", true, true}, CasoTecla{u',', "", "", true, false},
        CasoTecla{8, "", "", true, true},
        // state registration: "./-" extra, no text given so a comma passes
        CasoTecla{u'-', "", "./-", false, true}, CasoTecla{u'.', "", "./-", false, true},
        CasoTecla{u'/', "", "./-", false, true}, CasoTecla{u',', "", "./-", false, true},
        CasoTecla{u'x', "", "./-", false, false}));

} // namespace
