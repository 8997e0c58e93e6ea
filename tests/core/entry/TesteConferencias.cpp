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

// Integer digits allowed: min(width, 16) - decimals - 1. The text written
// back, or the end of the message.
TEST(Conferencias, ValorPorLarguraEDecimais) {
    const struct {
        const char *texto;
        int largura, decimais;
        const char *resultado;
        bool passa;
    } casos[] = {// wages, charges and sale price: 18, 2 -> 13 integers
                 {"1234567890123", 18, 2, "1.234.567.890.123,00", true},
                 {"1234567890123,45", 18, 2, "1.234.567.890.123,45", true},
                 {"123456789012,34", 18, 2, "123.456.789.012,34", true},
                 {"12345678901234", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false},
                 {"1,234", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false},
                 {"1234,5", 18, 2, "1.234,50", true},
                 {"", 18, 2, "0,00", true},
                 {",", 18, 2, "0,00", true},
                 // grouping dots typed back do not count
                 {"1.234.567.890.123", 18, 2, "1.234.567.890.123,00", true},
                 // gross weight: 15, 5 -> 9 integers
                 {"", 15, 5, "0,00000", true},
                 {"123456789,12345", 15, 5, "123.456.789,12345", true},
                 {"1234567890", 15, 5, "São permitidos até 9 inteiros e 5 decimais .", false},
                 {"1,123456", 15, 5, "São permitidos até 9 inteiros e 5 decimais .", false},
                 // national cost and imported value: 18, 6 -> 9 integers
                 {"999999999,999999", 18, 6, "999.999.999,999999", true},
                 {"1000000000", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
                 {"1,1234567", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
                 // quantities: 17, 7 -> 8 integers
                 {"12345678,1234567", 17, 7, "12.345.678,1234567", true},
                 {"123456789", 17, 7, "São permitidos até 8 inteiros e 7 decimais .", false},
                 {"0,12345678", 17, 7, "São permitidos até 8 inteiros e 7 decimais .", false},
                 // aliquot: 6, 2 -> 3 integers
                 {"100,00", 6, 2, "100,00", true},
                 {"0", 6, 2, "0,00", true},
                 {"1000", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
                 {"10,123", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
                 // leading zeros are characters too
                 {"0100", 6, 2, "São permitidos até 3 inteiros e 2 decimais .", false},
                 // what the key filter keeps out is refused, not misread
                 {"1,2,3", 18, 6, "São permitidos até 9 inteiros e 6 decimais .", false},
                 {"12a", 18, 2, "São permitidos até 13 inteiros e 2 decimais .", false}};
    for (const auto &c : casos) {
        const Conferencia r = ConfereValor(c.texto, c.largura, c.decimais, msg);
        EXPECT_EQ(r.passou, c.passa) << c.texto;
        EXPECT_EQ(r.texto.value_or("<nada>") + "|" + r.mensagem,
                  c.passa ? QString(c.resultado) + "|" : "<nada>|" + msg + "\r" + c.resultado)
            << c.texto;
    }
}

TEST(ConfereValor, MensagemDoCatalogoDeSalarios) {
    const Conferencia r = ConfereValor(
        "12345678901234", 18, 2, vlme::checking::Catalogo().Descricao("ERRO_SALARIOS_INVALIDO"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.mensagem, QStringLiteral("Valor inválido no campo Salários e Ordenados.\r"
                                         "São permitidos até 13 inteiros e 2 decimais ."));
}

TEST(Campos, TabelasComoOsFormulariosUsam) {
    EXPECT_EQ(BuscaCampo(u"frmCentral", u"mskQTD"), nullptr);

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
