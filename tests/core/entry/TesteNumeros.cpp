// Brazilian number notation, rounding on decimal digits, implied decimals and
// the keystroke filter.

#include "entry/Numeros.h"
#include "support/PastaTeste.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace vlme::entry;

namespace {

TEST(ConverteValor, LeNotacaoBrasileira) {
    const struct {
        const char *texto;
        double valor;
        bool numero;
    } casos[] = {{"1.234,56", 1234.56, true},
                 {"1234,56", 1234.56, true},
                 {"-1.234,56", -1234.56, true},
                 {"", 0.0, true},
                 {",", 0.0, true},
                 {"0,1", 0.1, true},
                 {"12,", 12.0, true},
                 {",5", 0.5, true},
                 // every dot groups, wherever it stands
                 {"1.5", 15.0, true},
                 {"1.2.3.4,5", 1234.5, true},
                 {"1.234.567.890.123,45", 1234567890123.45, true},
                 {"9999999999999,99", 9999999999999.99, true},
                 {"12345678,1234567", 12345678.1234567, true},
                 {"abc", 0.0, false},
                 {"1,2,3", 0.0, false},
                 {"-", 0.0, false},
                 {"1e5", 0.0, false}};
    for (const auto &c : casos) {
        bool ok = !c.numero;
        EXPECT_EQ(ConverteValor(c.texto, &ok), c.valor) << c.texto;
        EXPECT_EQ(ok, c.numero) << c.texto;
    }
}

TEST(FormataValor, ImprimeComDecimaisExatos) {
    const struct {
        double valor;
        int largura, decimais;
        const char *esperado;
    } casos[] = {{1234567.891, 7, 2, "1.234.567,89"},
                 {0.5, 7, 2, "0,50"},
                 {0.0, 7, 2, "0,00"},
                 {0.0, 15, 5, "0,00000"},
                 {1234.5, 18, 2, "1.234,50"},
                 {123.0, 7, 2, "123,00"},
                 {1000.0, 7, 2, "1.000,00"},
                 {100000.0, 7, 2, "100.000,00"},
                 // 0.1 + 0.2 is 0.30000000000000004 in binary
                 {0.1 + 0.2, 7, 2, "0,30"},
                 // 2.675 is stored as 2.67499999999999982236...; its digits are 2.675
                 {2.675, 7, 2, "2,68"},
                 {-2.675, 7, 2, "-2,68"},
                 {2.665, 7, 2, "2,67"},
                 {0.125, 7, 2, "0,13"},
                 {0.005, 7, 2, "0,01"},
                 {0.0049, 7, 2, "0,00"},
                 {999.995, 7, 2, "1.000,00"},
                 {99.99999995, 17, 7, "100,0000000"},
                 {-0.001, 7, 2, "0,00"},
                 {-1234.5, 7, 2, "-1.234,50"},
                 // the largest values the widths allow
                 {9999999999999.99, 18, 2, "9.999.999.999.999,99"},
                 {1234567890123.45, 18, 2, "1.234.567.890.123,45"},
                 {999999999.999999, 18, 6, "999.999.999,999999"},
                 {99999999.9999999, 17, 7, "99.999.999,9999999"},
                 {999999999.99999, 15, 5, "999.999.999,99999"},
                 {999.99, 6, 2, "999,99"},
                 // a zero argument takes the default (7, 2)
                 {1.5, 7, 0, "1,50"},
                 {1234.5, 0, 0, "1.234,50"},
                 // no grouping when the decimals reach the width
                 {1234.5, 2, 3, "1234,500"}};
    for (const auto &c : casos)
        EXPECT_EQ(FormataValor(c.valor, c.largura, c.decimais), c.esperado) << c.valor;
}

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

TEST(FiltraTecla, DecideATecla) {
    const struct {
        char16_t tecla;
        const char *texto, *extras;
        bool soInteiros, aceita;
    } casos[] = {// numeric fields: the field's text, no extras, one comma
                 {u'0', "", "", false, true},
                 {u'9', "12,5", "", false, true},
                 {u',', "12", "", false, true},
                 {u',', "1,2", "", false, false},
                 {u'.', "12", "", false, false},
                 {u'a', "", "", false, false},
                 {u'-', "", "", false, false},
                 {u' ', "", "", false, false},
                 {8, "12", "", false, true}, // backspace
                 {1, "", "", false, true},
                 {31, "", "", false, true},
                 {0, "", "", false, false},
                 {127, "", "", false, false},
                 // invoice number, DI addition and item: digits only
                 {u'7', "", "", true, true},
                 {u',', "", "", true, false},
                 {8, "", "", true, true},
                 // state registration: "./-" extra, no text given so a comma passes
                 {u'-', "", "./-", false, true},
                 {u'.', "", "./-", false, true},
                 {u'/', "", "./-", false, true},
                 {u',', "", "./-", false, true},
                 {u'x', "", "./-", false, false}};
    for (const auto &c : casos)
        EXPECT_EQ(FiltraTecla(QChar(c.tecla), c.texto, c.extras, c.soInteiros), c.aceita)
            << int(c.tecla) << " em \"" << c.texto << '"';
}

} // namespace
