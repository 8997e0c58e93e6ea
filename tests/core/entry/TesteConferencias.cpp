// The decisions behind the field checks, the numeric widths of every form and
// the field tables.

#include "checking/Erros.h"
#include "entry/Campos.h"
#include "entry/Conferencias.h"
#include "support/PastaTeste.h"

#include <gtest/gtest.h>

#include <set>

using namespace vlme::entry;

namespace {

const QString msg = "Mensagem do catálogo.";

TEST(Conferencias, CamposSimples) {
    EXPECT_FALSE(ConfereObrigatorio("   ", msg));
    EXPECT_EQ(ConfereObrigatorio(QString(), msg).mensagem, msg);
    EXPECT_TRUE(ConfereObrigatorio(" a ", msg));
    EXPECT_TRUE(ConfereObrigatorio(" a ", msg).mensagem.isEmpty());

    EXPECT_TRUE(ConfereCNPJ("11222333000181", msg));
    EXPECT_FALSE(ConfereCNPJ("11222333000182", msg));
    EXPECT_FALSE(ConfereCNPJ("1122233300018", msg));
    EXPECT_FALSE(ConfereCNPJ(QString(), msg));

    EXPECT_TRUE(ConfereData("29022000", msg));
    EXPECT_FALSE(ConfereData("31042001", msg));
    EXPECT_FALSE(ConfereData(QString(), msg));

    EXPECT_TRUE(ConfereNCM("84713012", msg));
    EXPECT_FALSE(ConfereNCM("00000000", msg));

    EXPECT_TRUE(ConfereDI("2100000127", msg));
    EXPECT_FALSE(ConfereDI("2100000128", msg));

    EXPECT_TRUE(ConfereInscricao(QString(), msg));
    EXPECT_TRUE(ConfereInscricao("12.345/678-9", msg));
    EXPECT_FALSE(ConfereInscricao("12A", msg));
    EXPECT_FALSE(ConfereInscricao("1,2", msg));
}

TEST(Conferencias, NotaAdicaoEItem) {
    EXPECT_FALSE(ConfereNumeroNota("0000000000", msg));
    // not yet padded (the form confirmed from the keyboard): still no number
    EXPECT_FALSE(ConfereNumeroNota("0", msg));
    EXPECT_TRUE(ConfereNumeroNota("0000000005", msg));
    EXPECT_TRUE(ConfereNumeroNota("5", msg));

    EXPECT_FALSE(ConfereAdicao("000", msg));
    EXPECT_FALSE(ConfereAdicao("0", msg));
    EXPECT_TRUE(ConfereAdicao("001", msg));
    EXPECT_TRUE(ConfereAdicao("100", msg));

    for (const char *bom : {"1", "01", "08", "79", "80"})
        EXPECT_TRUE(ConfereItem(QString::fromLatin1(bom), msg)) << bom;
    for (const char *ruim : {"", " ", "0", "00", "81", "99", "-1", "ab"})
        EXPECT_FALSE(ConfereItem(QString::fromLatin1(ruim), msg)) << ruim;
}

struct CasoValor {
    const char *texto;
    int largura;
    int decimais;
    const char *resultado; // the text written back, or the end of the message
    bool passa;
};

void PrintTo(const CasoValor &c, std::ostream *os) {
    *os << '"' << c.texto << "\" " << c.largura << '/' << c.decimais;
}

class ConfereValorTeste : public ::testing::TestWithParam<CasoValor> {};

TEST_P(ConfereValorTeste, LarguraEDecimais) {
    const CasoValor c = GetParam();
    const Conferencia r = ConfereValor(QString::fromUtf8(c.texto), c.largura, c.decimais, msg);
    EXPECT_EQ(r.passou, c.passa) << c.texto;
    if (c.passa) {
        ASSERT_TRUE(r.texto.has_value());
        EXPECT_EQ(*r.texto, QString::fromUtf8(c.resultado)) << c.texto;
        EXPECT_TRUE(r.mensagem.isEmpty());
    } else {
        EXPECT_EQ(r.mensagem, msg + QStringLiteral("\r") + QString::fromUtf8(c.resultado))
            << c.texto;
        EXPECT_FALSE(r.texto.has_value());
    }
}

// Integer digits allowed: min(width, 16) - decimals - 1.
INSTANTIATE_TEST_SUITE_P(
    Larguras, ConfereValorTeste,
    ::testing::Values(
        // wages, charges and sale price: 18, 2 -> 13 integers
        CasoValor{"1234567890123", 18, 2, "1.234.567.890.123,00", true},
        CasoValor{"1234567890123,45", 18, 2, "1.234.567.890.123,45", true},
        CasoValor{"123456789012,34", 18, 2, "123.456.789.012,34", true},
        CasoValor{"12345678901234", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false},
        CasoValor{"1,234", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false},
        CasoValor{"1234,5", 18, 2, "1.234,50", true}, CasoValor{"", 18, 2, "0,00", true},
        CasoValor{",", 18, 2, "0,00", true},
        // grouping dots typed back do not count
        CasoValor{"1.234.567.890.123", 18, 2, "1.234.567.890.123,00", true},
        // gross weight: 15, 5 -> 9 integers
        CasoValor{"", 15, 5, "0,00000", true},
        CasoValor{"123456789,12345", 15, 5, "123.456.789,12345", true},
        CasoValor{"1234567890", 15, 5, "São permitidos até 9 inteiros e 5 decimais .", false},
        CasoValor{"1,123456", 15, 5, "São permitidos até 9 inteiros e 5 decimais .", false},
        // national cost and imported value: 18, 6 -> 9 integers
        CasoValor{"999999999,999999", 18, 6, "999.999.999,999999", true},
        CasoValor{"1000000000", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
        CasoValor{"1,1234567", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
        // quantities: 17, 7 -> 8 integers
        CasoValor{"12345678,1234567", 17, 7, "12.345.678,1234567", true},
        CasoValor{"123456789", 17, 7, "São permitidos até 8 inteiros e 7 decimais .", false},
        CasoValor{"0,12345678", 17, 7, "São permitidos até 8 inteiros e 7 decimais .", false},
        // aliquot: 6, 2 -> 3 integers
        CasoValor{"100,00", 6, 2, "100,00", true}, CasoValor{"0", 6, 2, "0,00", true},
        CasoValor{"1000", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
        CasoValor{"10,123", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
        // leading zeros are characters too
        CasoValor{"0100", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
        // what the key filter keeps out is refused, not misread
        CasoValor{"1,2,3", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
        CasoValor{"12a", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false}));

TEST(ConfereValor, MensagemDoCatalogoDeSalarios) {
    const Conferencia r = ConfereValor(
        "12345678901234", 18, 2, vlme::checking::Catalogo().Descricao("ERRO_SALARIOS_INVALIDO"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.mensagem, QStringLiteral("Valor inválido no campo Salários e Ordenados.\r"
                                         "São permitidos até 13 inteiros e 2 decimais ."));
}

TEST(Campos, TabelasComoOsFormulariosUsam) {
    const DefinicaoCampo *cnpj = BuscaCampo(u"frmCentral", u"mskCNPJ");
    ASSERT_NE(cnpj, nullptr);
    EXPECT_STREQ(cnpj->mascara, "##.###.###/####-##");
    EXPECT_EQ(cnpj->tamanhoMaximo, 18);
    EXPECT_STREQ(cnpj->tag, "ST");
    const DefinicaoCampo *di = BuscaCampo(u"frmImportados", u"mskNrDI");
    ASSERT_NE(di, nullptr);
    EXPECT_STREQ(di->mascara, "##/#######-#");
    EXPECT_STREQ(di->tag, "EDPSV");
    EXPECT_EQ(BuscaCampo(u"frmCentral", u"mskQTD"), nullptr);
    EXPECT_EQ(TabelaCampos().size(), 38u);

    // (form, field, integers allowed, decimals, key), typed from the forms' rules
    struct Esperado {
        const char *form, *campo;
        int inteiros, decimais;
        const char *chave;
    };
    const Esperado esperados[] = {
        {"frmCentral", "mskSalarios", 13, 2, "ERRO_SALARIOS_INVALIDO"},
        {"frmCentral", "mskEncargos", 13, 2, "ERRO_ENCARGOS_INVALIDO"},
        {"frmCentral", "mskPesoBruto", 9, 5, "ERRO_PESOBRUTO_INVALIDO"},
        {"frmModelos", "mskPrecoVenda", 13, 2, "ERRO_PRECOVENDA_INVALIDO"},
        {"frmNacionais", "mskCustoUnitario", 9, 6, "ERRO_CUSTO_NAC_INVALIDO"},
        {"frmNacionais", "mskQTD", 8, 7, "ERRO_QTD_NAC_INVALIDO"},
        {"frmImportados", "mskValorUnitario", 9, 6, "ERRO_VALOR_IMP_INVALIDO"},
        {"frmImportados", "mskQTD", 8, 7, "ERRO_QTD_IMP_INVALIDO"},
        {"frmImportados", "mskAliquota", 3, 2, "ERRO_ALIQUOTA_IMP_INVALIDO"},
    };
    EXPECT_EQ(TabelaConfereValor().size(), std::size(esperados));
    for (const Esperado &e : esperados) {
        const auto *c =
            BuscaCampo(TabelaConfereValor(), QLatin1String(e.form), QLatin1String(e.campo));
        ASSERT_NE(c, nullptr) << e.campo;
        EXPECT_EQ(std::min(c->largura, 16) - c->decimais - 1, e.inteiros) << e.campo;
        EXPECT_EQ(c->decimais, e.decimais) << e.campo;
        EXPECT_STREQ(c->chave, e.chave);
        EXPECT_NE(vlme::checking::Catalogo().Item(QLatin1String(c->chave)), nullptr) << c->chave;
    }
}

TEST(Campos, RegrasApontamCamposExistentes) {
    // every numeric field (tag N) has its check and its key filter
    std::set<std::pair<std::string, std::string>> numericos;
    for (const DefinicaoCampo &d : TabelaCampos())
        if (QByteArray(d.tag).contains('N'))
            numericos.insert({d.formulario, d.campo});
    EXPECT_EQ(numericos.size(), 9u);
    for (const auto &[f, c] : numericos) {
        const QString form = QString::fromStdString(f), campo = QString::fromStdString(c);
        EXPECT_NE(BuscaCampo(TabelaConfereValor(), form, campo), nullptr) << c;
        const RegraTecla *r = BuscaCampo(TabelaFiltroTecla(), form, campo);
        ASSERT_NE(r, nullptr) << c;
        EXPECT_TRUE(r->textoDoCampo);
        EXPECT_FALSE(r->soInteiros);
    }
    for (const RegraTecla &r : TabelaFiltroTecla())
        EXPECT_NE(BuscaCampo(QLatin1String(r.formulario), QLatin1String(r.campo)), nullptr)
            << r.campo;
    for (const RegraSaida &r : TabelaSaida()) {
        EXPECT_NE(BuscaCampo(QLatin1String(r.formulario), QLatin1String(r.campo)), nullptr)
            << r.campo;
        if (r.acao == AoSair::Data) {
            EXPECT_NE(vlme::checking::Catalogo().Item(QLatin1String(r.chave)), nullptr);
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

    const auto saida = [](const char *form, const char *campo, const char *texto) {
        const RegraSaida *r = BuscaCampo(TabelaSaida(), QLatin1String(form), QLatin1String(campo));
        return r ? NormalizaAoSair(*r, QString::fromLatin1(texto)) : "<sem regra>";
    };
    EXPECT_EQ(saida("frmNacionais", "mskNR", "123"), "0000000123");
    EXPECT_EQ(saida("frmImportados", "mskNR", "5"), "0000000005");
    EXPECT_EQ(saida("frmImportados", "mskNR", ""), QString());
    EXPECT_EQ(saida("frmImportados", "mskNR", "1234567890"), "1234567890");
    EXPECT_EQ(saida("frmImportados", "mskNrAdicao", "1"), "001");
    EXPECT_EQ(saida("frmImportados", "mskNrAdicao", "0"), "000");
    EXPECT_EQ(saida("frmImportados", "mskNrItem", "5"), "05");
    EXPECT_EQ(saida("frmImportados", "mskNrItem", "80"), "80");
    EXPECT_EQ(saida("frmCentral", "txtPPB", "  PPB 1  "), "PPB 1");
    EXPECT_EQ(saida("frmModelos", "txtDescricaoModelo", " Modelo "), "Modelo");
    EXPECT_EQ(saida("frmModelos", "mskCodigoInterno", "A1 "), "A1");
    EXPECT_EQ(saida("frmNacionais", "txtDescricao", " x"), "x");
    EXPECT_EQ(saida("frmImportados", "txtDescricao", "x "), "x");
    EXPECT_EQ(saida("frmCentral", "txtUnidade", " UN "), "<sem regra>");
}

} // namespace
