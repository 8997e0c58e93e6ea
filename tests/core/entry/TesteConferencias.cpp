// The decisions behind the field checks, the numeric widths of every form and
// the field tables.

#include "checking/Erros.h"
#include "entry/Campos.h"
#include "entry/Conferencias.h"
#include "support/PastaTeste.h"

#include "Casos.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vlme::entry;
using vlme::checking::Catalogo;
using vlme::teste::Casos;

namespace {

const QString msg = "Mensagem do catálogo.";

TEST(Conferencias, CamposSimples) {
    const std::map<QString, Conferencia (*)(const QString &, const QString &)> regras = {
        {"O", ConfereObrigatorio}, {"C", ConfereCNPJ},   {"D", ConfereData},
        {"N", ConfereNCM},         {"I", ConfereDI},     {"E", ConfereInscricao},
        {"F", ConfereNumeroNota},  {"A", ConfereAdicao}, {"T", ConfereItem}};
    for (const QStringList &c : Casos("conferencias.tsv")) {
        const Conferencia r = regras.at(c[0])(c[1], msg);
        EXPECT_EQ(bool(r), c[2] == "1") << c.join('|');
        EXPECT_EQ(r.mensagem, r ? QString() : msg) << c.join('|');
    }
}

TEST(Conferencias, ValorPorLarguraEDecimais) {
    for (const QStringList &c : Casos("confere_valor.tsv")) {
        const Conferencia r = ConfereValor(c[0], c[1].toInt(), c[2].toInt(), msg);
        EXPECT_EQ(r.passou, c[3] == "1") << c[0];
        EXPECT_EQ(r.texto.value_or("<nada>") + "|" + r.mensagem,
                  r.passou ? c[4] + "|" : "<nada>|" + msg + "\r" + c[4])
            << c[0];
    }
}

TEST(Campos, TabelasComoOsFormulariosUsam) {
    EXPECT_EQ(BuscaCampo(u"frmCentral", u"mskQTD"), nullptr);
    for (const QStringList &e : Casos("campos_valor.tsv")) {
        const auto *c = BuscaCampo(TabelaConfereValor(), e[0], e[1]);
        ASSERT_NE(c, nullptr) << e[1];
        EXPECT_EQ(std::min(c->largura, 16) - c->decimais - 1, e[2].toInt()) << e[1];
        EXPECT_EQ(c->decimais, e[3].toInt()) << e[1];
        EXPECT_EQ(QString(c->chave), e[4]);
        EXPECT_NE(Catalogo().Item(e[4]), nullptr) << e[4];
    }
}

TEST(Campos, RegrasApontamCamposExistentes) {
    // every numeric field (tag N) has its check and its key filter
    std::set<std::pair<std::string, std::string>> numericos;
    for (const DefinicaoCampo &d : TabelaCampos())
        if (QByteArray(d.tag).contains('N'))
            numericos.insert({d.formulario, d.campo});
    for (const auto &[f, c] : numericos) {
        const QString form = QString::fromStdString(f), campo = QString::fromStdString(c);
        EXPECT_NE(BuscaCampo(TabelaConfereValor(), form, campo), nullptr) << c;
        const RegraTecla *r = BuscaCampo(TabelaFiltroTecla(), form, campo);
        ASSERT_NE(r, nullptr) << c;
        EXPECT_TRUE(r->textoDoCampo && !r->soInteiros) << c;
    }
    for (const RegraTecla &r : TabelaFiltroTecla())
        EXPECT_NE(BuscaCampo(QLatin1String(r.formulario), QLatin1String(r.campo)), nullptr)
            << r.campo;
    for (const RegraSaida &r : TabelaSaida()) {
        EXPECT_NE(BuscaCampo(QLatin1String(r.formulario), QLatin1String(r.campo)), nullptr)
            << r.campo;
        if (r.acao == AoSair::Data) {
            EXPECT_NE(Catalogo().Item(QLatin1String(r.chave)), nullptr);
        }
    }
    const RegraTecla *ie = BuscaCampo(TabelaFiltroTecla(), u"frmNacionais", u"mskNrInsEstadual");
    ASSERT_NE(ie, nullptr);
    EXPECT_STREQ(ie->extras, "./-");
    const RegraTecla *item = BuscaCampo(TabelaFiltroTecla(), u"frmImportados", u"mskNrItem");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->soInteiros);
}

TEST(Campos, EntradaESaida) {
    EXPECT_EQ(TextoAoEntrar(u"STN", "1.234.567,89"), "1234567,89");
    EXPECT_EQ(TextoAoEntrar(u"ST", "12.345"), "12.345");
    for (const QStringList &c : Casos("campos_saida.tsv")) {
        const RegraSaida *r = BuscaCampo(TabelaSaida(), c[0], c[1]);
        EXPECT_EQ(r ? NormalizaAoSair(*r, c[2]) : "<sem regra>", c[3]) << c.join('|');
    }
}

} // namespace
