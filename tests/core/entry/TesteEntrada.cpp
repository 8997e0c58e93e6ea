// The entry rules against hand-worked tables under tests/data/casos.

#include "base/Erros.h"
#include "entry/Campos.h"
#include "entry/Codigos.h"
#include "entry/Conferencias.h"
#include "entry/Descricoes.h"
#include "entry/Numeros.h"
#include "support/Teste.h"

#include <QLocale>

#include <clocale>
#include <map>
#include <set>

using namespace vlme::entry;
using vlme::base::Catalogo;
using vlme::teste::Casos;

namespace {

TEST(Codigos, TabelaDeCasosEQualquerDigitoTrocadoERecusado) {
    const std::map<QString, bool (*)(const QString &)> regras = {{"CNPJ", ValidaCNPJ},
                                                                 {"CPF", ValidaCPF},
                                                                 {"NCM", ValidaNCM},
                                                                 {"DI", ValidaDI},
                                                                 {"DATA", ValidaDataDMA}};
    for (const QStringList &c : Casos("codigos.tsv")) {
        EXPECT_EQ(regras.at(c[0])(c[1]), c[2] == "1") << c[0] << " " << c[1];
        if (c[0] == "DATA" && c[1].size() == 8) {
            EXPECT_EQ(ValidaDataAMD(c[1].mid(4, 4) + c[1].mid(2, 2) + c[1].mid(0, 2)), c[2] == "1")
                << c[1];
        }
    }
    // Any other digit anywhere in a valid number must be refused.
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

TEST(Numeros, LeFormataInsereDecimaisEFiltraTeclas) {
    for (const QStringList &c : Casos("converte_valor.tsv")) {
        bool ok = c[2] != "1";
        EXPECT_EQ(ConverteValor(c[0], &ok), c[1].toDouble()) << c[0];
        EXPECT_EQ(ok, c[2] == "1") << c[0];
    }
    for (const QStringList &c : Casos("formata.tsv")) {
        const int largura = c[2].toInt(), decimais = c[3].toInt();
        const QString obtido = c[0] == "V"   ? FormataValor(c[1].toDouble(), largura, decimais)
                               : c[0] == "N" ? FormataNumero(c[1].toDouble(), largura, decimais)
                               : c[0] == "T" ? FormataValor(c[1], largura, decimais)
                                             : FormataValorSemMilhar(c[1], largura, decimais);
        EXPECT_EQ(obtido, c[4]) << c.join(' ');
    }
    for (const QStringList &c : Casos("insere_decimais.tsv"))
        EXPECT_EQ(InsereDecimais(c[0], c[1].toInt(), c[2].toInt()), c[3]) << c[0];
    for (const QStringList &c : Casos("caracteres.tsv")) {
        const bool r = c[0] == "C" ? CaracteresValidos(c[1]) : SoNumeros(c[1], c[0] == "S");
        EXPECT_EQ(r, c[2] == "1") << c.join(' ');
    }
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
        EXPECT_EQ(FormataValor(ConverteValor("1.234,56")) + FormataValor(1234567.891) +
                      FormataNumero(1234.5) + InsereDecimais("0001250"),
                  "1.234,561.234.567,891.234,5012,5")
            << l.name();
    }
    QLocale::setDefault(antes);
}

const QString msg = "Mensagem do catálogo.";

TEST(Conferencias, CamposSimplesEValorPorLarguraEDecimais) {
    const std::map<QString, Conferencia (*)(const QString &, const QString &)> regras = {
        {"O", ConfereObrigatorio}, {"C", ConfereCNPJ},   {"D", ConfereData},
        {"N", ConfereNCM},         {"I", ConfereDI},     {"E", ConfereInscricao},
        {"F", ConfereNumeroNota},  {"A", ConfereAdicao}, {"T", ConfereItem}};
    for (const QStringList &c : Casos("conferencias.tsv")) {
        const Conferencia r = regras.at(c[0])(c[1], msg);
        EXPECT_EQ(r.mensagem, c[2] == "1" ? QString() : msg) << c.join('|');
        EXPECT_EQ(bool(r), c[2] == "1") << c.join('|');
    }
    for (const QStringList &c : Casos("confere_valor.tsv")) {
        const Conferencia r = ConfereValor(c[0], c[1].toInt(), c[2].toInt(), msg);
        EXPECT_EQ(r.texto.value_or("<nada>") + "|" + r.mensagem,
                  c[3] == "1" ? c[4] + "|" : "<nada>|" + msg + "\r" + c[4])
            << c[0];
        EXPECT_EQ(r.passou, c[3] == "1") << c[0];
    }
}

TEST(Campos, TabelasComoOsFormulariosUsamEntradaESaida) {
    EXPECT_EQ(BuscaCampo(u"frmCentral", u"mskQTD"), nullptr);
    for (const QStringList &e : Casos("campos_valor.tsv")) {
        const auto *c = BuscaCampo(TabelaConfereValor(), e[0], e[1]);
        ASSERT_NE(c, nullptr) << e[1];
        EXPECT_EQ(QStringList({QString::number(std::min(c->largura, 16) - c->decimais - 1),
                               QString::number(c->decimais), c->chave}),
                  e.mid(2));
        EXPECT_NE(Catalogo().Item(e[4]), nullptr) << e[4];
    }
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
        EXPECT_TRUE(r.acao != AoSair::Data || Catalogo().Item(QLatin1String(r.chave)));
    }
    EXPECT_EQ(TextoAoEntrar(u"STN", "1.234.567,89"), "1234567,89");
    EXPECT_EQ(TextoAoEntrar(u"ST", "12.345"), "12.345");
    for (const QStringList &c : Casos("campos_saida.tsv")) {
        const RegraSaida *r = BuscaCampo(TabelaSaida(), c[0], c[1]);
        EXPECT_EQ(r ? NormalizaAoSair(*r, c[2]) : "<sem regra>", c[3]) << c.join('|');
    }
}

TEST(Descricoes, PorCodigo) {
    vlme::teste::BancoTeste bt;
    auto &b = bt.banco();
    for (const QStringList &sql : Casos("descricoes.sql"))
        b.executa(sql[0]);
    for (const QStringList &c : Casos("descricoes.tsv"))
        EXPECT_EQ(c[0] == "N" ? DescricaoNCM(b, c[1]) : DescricaoUnidade(b, c[1]), c[2]) << c[1];
}

} // namespace
