// Check digits of CNPJ, CPF and DI numbers, the NCM rule and the two date
// layouts, against the hand-worked table codigos.tsv.

#include "entry/Codigos.h"
#include "support/PastaTeste.h"

#include "Casos.h"

#include <gtest/gtest.h>

#include <map>

using namespace vlme::entry;

namespace {

TEST(Codigos, TabelaDeCasos) {
    const std::map<QString, bool (*)(const QString &)> regras = {{"CNPJ", ValidaCNPJ},
                                                                 {"CPF", ValidaCPF},
                                                                 {"NCM", ValidaNCM},
                                                                 {"DI", ValidaDI},
                                                                 {"DATA", ValidaDataDMA}};
    for (const QStringList &c : vlme::teste::Casos("codigos.tsv")) {
        EXPECT_EQ(regras.at(c[0])(c[1]), c[2] == "1") << c[0] << " " << c[1];
        if (c[0] == "DATA" && c[1].size() == 8) {
            EXPECT_EQ(ValidaDataAMD(c[1].mid(4, 4) + c[1].mid(2, 2) + c[1].mid(0, 2)), c[2] == "1")
                << c[1];
        }
    }
}

// Any other digit anywhere in a valid number must be refused.
TEST(Codigos, QualquerDigitoTrocadoERecusado) {
    for (const auto &[valida, numero] : {std::pair{&ValidaCNPJ, "11222333000181"},
                                         {&ValidaCPF, "52998224725"},
                                         {&ValidaDI, "2100000127"}}) {
        const QString certo = numero;
        for (int i = 0; i < certo.size(); ++i)
            for (int k = 1; k <= 9; ++k) {
                QString t = certo;
                t[i] = QChar(u'0' + (t[i].unicode() - u'0' + k) % 10);
                EXPECT_FALSE(valida(t)) << t;
            }
    }
}

} // namespace
