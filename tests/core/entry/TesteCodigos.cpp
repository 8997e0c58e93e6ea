// Check digits of CNPJ, CPF and DI numbers, the NCM rule and the two date
// layouts. Valid numbers are worked out by hand beside each case.

#include "entry/Codigos.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

using namespace vlme::entry;

namespace {

// Every single-digit change of a valid number must be refused where the
// rule looks at that digit.
QString trocaDigito(const QString &s, int posicao) {
    QString t = s;
    t[posicao] = QChar(u'0' + (t[posicao].unicode() - u'0' + 1) % 10);
    return t;
}

// 11222333000181
//   base 1 1 2 2 2 3 3 3 0 0 0 1
//   x    5 4 3 2 9 8 7 6 5 4 3 2 -> 5+4+6+4+18+24+21+18+2 = 102; 1020 mod 11 = 8 -> d1 = 8
//   x    6 5 4 3 2 9 8 7 6 5 4 3 -> 6+5+8+6+4+27+24+21+3 = 104; +2x8 = 120; 1200 mod 11 = 1 -> d2 =
//   1
// 00000000000604
//   d1: 6x2 = 12; 120 mod 11 = 10 -> 0.  d2: 6x3 = 18 (+0); 180 mod 11 = 4
const QString cnpjValido = "11222333000181";
const QString cnpjDezViraZero = "00000000000604";

TEST(ValidaCNPJ, DigitosVerificadores) {
    EXPECT_TRUE(ValidaCNPJ(cnpjValido));
    EXPECT_TRUE(ValidaCNPJ(cnpjDezViraZero));
    for (int i = 0; i < 14; ++i)
        EXPECT_FALSE(ValidaCNPJ(trocaDigito(cnpjValido, i))) << "posição " << i + 1;
}

TEST(ValidaCNPJ, Recusados) {
    EXPECT_FALSE(ValidaCNPJ("00000000000000"));
    // 1 x (5+4+3+2+9+8+7+6+5+4+3+2) = 58; 580 mod 11 = 8, not 1
    EXPECT_FALSE(ValidaCNPJ("11111111111111"));
    EXPECT_FALSE(ValidaCNPJ("1122233300018"));
    EXPECT_FALSE(ValidaCNPJ("112223330001810"));
    EXPECT_FALSE(ValidaCNPJ(QString()));
    EXPECT_FALSE(ValidaCNPJ("11.222.333/0001-81"));
    // a letter is no 0: "A1222333000181" would otherwise be judged by the sums
    EXPECT_FALSE(ValidaCNPJ("0A222333000181"));
    EXPECT_FALSE(ValidaCNPJ("112223330001-1"));
}

// 52998224725
//   base 5 2 9 9 8 2 2 4 7
//   x   10 9 8 7 6 5 4 3 2 -> 50+18+72+63+48+10+8+12+14 = 295; 2950 mod 11 = 2 -> d1 = 2
//   x   11 10 9 8 7 6 5 4 3 -> 55+20+81+72+56+12+10+16+21 = 343; +2x2 = 347; 3470 mod 11 = 5
// 11111111111: 54 -> 540 mod 11 = 1; 63 + 2 = 65 -> 650 mod 11 = 1: passes
// 00000000604: 6x2 = 12 -> 120 mod 11 = 10 -> 0; 6x3 = 18 -> 180 mod 11 = 4
const QString cpfValido = "52998224725";

TEST(ValidaCPF, DigitosVerificadores) {
    EXPECT_TRUE(ValidaCPF(cpfValido));
    EXPECT_TRUE(ValidaCPF("11111111111"));
    EXPECT_TRUE(ValidaCPF("00000000604"));
    for (int i = 0; i < 11; ++i)
        EXPECT_FALSE(ValidaCPF(trocaDigito(cpfValido, i))) << "posição " << i + 1;
}

TEST(ValidaCPF, Recusados) {
    EXPECT_FALSE(ValidaCPF("00000000000"));
    EXPECT_FALSE(ValidaCPF("5299822472"));
    EXPECT_FALSE(ValidaCPF("529982247250"));
    EXPECT_FALSE(ValidaCPF(QString()));
    EXPECT_FALSE(ValidaCPF("529.982.247-25"));
    // check digits "2 " or "-5" must not read as a number
    EXPECT_FALSE(ValidaCPF("529982247-5"));
    EXPECT_FALSE(ValidaCPF("5299822472 "));
}

TEST(ValidaNCM, OitoDigitosNaoZerados) {
    EXPECT_TRUE(ValidaNCM("84713012"));
    EXPECT_TRUE(ValidaNCM("00000001"));
    EXPECT_FALSE(ValidaNCM("00000000"));
    EXPECT_FALSE(ValidaNCM("8471301"));
    EXPECT_FALSE(ValidaNCM("847130120"));
    EXPECT_FALSE(ValidaNCM(QString()));
    EXPECT_FALSE(ValidaNCM("8471.30."));
}

// sum = 6 + 2 x d1 + d2..d9 x 9 8 7 6 5 4 3 2; r = sum mod 11; dv = 0 if r <= 1, else 11 - r
// 210000012_: 6 + 2x2 + 1x9 + 1x3 + 2x2 = 26; r = 4; dv = 7
// 000000003_: 6 + 3x2 = 12; r = 1; dv = 0
// 100000010_: 6 + 2x1 + 1x3 = 11; r = 0; dv = 0
const QString diValida = "2100000127";

TEST(ValidaDI, DigitoVerificador) {
    EXPECT_TRUE(ValidaDI(diValida));
    EXPECT_TRUE(ValidaDI("0000000030"));
    EXPECT_TRUE(ValidaDI("1000000100"));
    for (int dv = 0; dv <= 9; ++dv) {
        if (dv != 7) {
            EXPECT_FALSE(ValidaDI(QStringLiteral("210000012") + QString::number(dv))) << dv;
        }
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(ValidaDI(trocaDigito(diValida, i))) << "posição " << i + 1;
}

TEST(ValidaDI, Recusados) {
    EXPECT_FALSE(ValidaDI("0000000000"));
    EXPECT_FALSE(ValidaDI("210000012"));
    EXPECT_FALSE(ValidaDI("21000001270"));
    EXPECT_FALSE(ValidaDI("21/0000012-7"));
    EXPECT_FALSE(ValidaDI(QString()));
}

// Each case in both layouts: DDMMYYYY as given, YYYYMMDD rearranged.
TEST(ValidaData, AsDuasOrdens) {
    const std::pair<const char *, bool> casos[] = {
        {"29022000", true},  {"29021900", true},   {"29022004", true},  {"29022001", false},
        {"28022001", true},  {"30022000", false},  {"31042001", false}, {"30042001", true},
        {"31062001", false}, {"31092001", false},  {"31112001", false}, {"31012001", true},
        {"31082001", true},  {"31122001", true},   {"32012001", false}, {"00012001", false},
        {"01002001", false}, {"01132001", false},  {"01010000", false}, {"01010001", true},
        {"0101200", false},  {"010120011", false}, {"", false},         {"01/01/01", false},
        {"0a012001", false}, {" 1012001", false}};
    for (const auto &[texto, valida] : casos) {
        const QString dma = texto;
        EXPECT_EQ(ValidaDataDMA(dma), valida) << texto;
        if (dma.size() == 8)
            EXPECT_EQ(ValidaDataAMD(dma.mid(4, 4) + dma.mid(2, 2) + dma.mid(0, 2)), valida)
                << texto;
    }
}

} // namespace
