// The field formats, the container and its writer, and the test for the
// delivery program.

#include "delivery/Declaracao.h"
#include "delivery/Formatos.h"
#include "support/PastaTeste.h"

#include "ApoioEntrega.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vlme;
using namespace vlme::delivery;
using namespace vlme::teste;

namespace {

struct CasoNumero {
    double valor;
    int largura, decimais;
    const char *esperado;
};

} // namespace

TEST(FormatosEntrega, FormataNumero)
{
    const CasoNumero casos[] = {
        {1.5, 15, 7, "000000015000000"},
        {2.25, 15, 6, "000000002250000"},
        {10, 14, 5, "00000001000000"},
        {1234.5, 15, 2, "000000000123450"},
        {0, 8, 0, "00000000"},
        {-0.0, 4, 0, "0000"},
        {-0.004, 15, 2, "000000000000000"}, // rounds to zero: no sign
        {0.005, 4, 2, "0001"},              // half away from zero
        {2.675, 5, 2, "00268"},             // on the decimal digits, not the binary value
        {1.0000005, 15, 6, "000000001000001"},
        {0.0000005, 15, 6, "000000000000001"},
        {0.00000049, 15, 6, "000000000000000"},
        {9.995, 4, 2, "1000"},              // carry through every digit
        {99.995, 4, 2, "10000"},            // past the width: longer
        {9999999999999.99, 15, 2, "999999999999999"},
        {99999999.9999999, 15, 7, "999999999999999"},
        {999999999.999999, 15, 6, "999999999999999"},
        {999999999.99999, 14, 5, "99999999999999"},
        {1e20, 15, 2, "10000000000000000000000"},
        {123456789, 8, 0, "123456789"},
        {-1.5, 6, 2, "-000150"},
        {7, 0, 0, "7"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(FormataNumero(c.valor, c.largura, c.decimais), QLatin1String(c.esperado))
            << c.valor << " (" << c.largura << ", " << c.decimais << ")";
    EXPECT_TRUE(FormataNumero(std::numeric_limits<double>::infinity(), 15, 2).isEmpty());
    EXPECT_TRUE(FormataNumero(std::nan(""), 15, 2).isEmpty());
}

TEST(Registros, ColecaoComChavesEmOrdemDeInclusao)
{
    Registros r;
    Registro &primeiro = r.Add({QStringLiteral("1"), QStringLiteral("a"), {}});
    EXPECT_EQ(primeiro.Conteudo, QStringLiteral("a"));
    r.Add({QStringLiteral("2"), QStringLiteral("b"), {}}, QStringLiteral("B"));
    r.Add({QStringLiteral("3"), QStringLiteral("c"), {}}, QStringLiteral("C"));
    EXPECT_EQ(r.Count(), 3);
    EXPECT_EQ(r.Item(QStringLiteral("C")).Tipo, QStringLiteral("3"));
    EXPECT_THROW(r.Add({}, QStringLiteral("B")), ErroEntrega);
    EXPECT_EQ(r.Count(), 3);

    r.Remove(0); // keys after it move with their items
    EXPECT_EQ(r.Item(QStringLiteral("C")).Conteudo, QStringLiteral("c"));
    EXPECT_EQ(r.Item(0).Conteudo, QStringLiteral("b"));
    r.Remove(QStringLiteral("B"));
    EXPECT_THROW(r.Item(QStringLiteral("B")), ErroEntrega);
    EXPECT_THROW(r.Item(5), ErroEntrega);
    EXPECT_THROW(r.Remove(1), ErroEntrega);
    r.Item(QStringLiteral("C")).CRC = QStringLiteral("x");
    QStringList vistos;
    for (const Registro &x : r)
        vistos << x.Tipo + x.Conteudo + x.CRC;
    EXPECT_EQ(vistos, QStringList{QStringLiteral("3cx")});
}

class Salvar : public ::testing::Test {
protected:
    QString arquivo(const QString &nome = QStringLiteral("VLME0000000001"))
    {
        return pasta.arquivo(nome);
    }
    PastaTeste pasta;
    Enviador enviador;
};

TEST_F(Salvar, CorpoVazioSoTrailler)
{
    enviador.Declaracao.Trailler.Tipo = QStringLiteral("9");
    enviador.Declaracao.Trailler.Conteudo = QStringLiteral("00000001");
    enviador.Salvar(arquivo(), 0);
    EXPECT_EQ(LeBytes(arquivo()), "900000001\r\n");
}

TEST_F(Salvar, TipoConteudoECRCPorLinhaEmLatin1)
{
    auto &d = enviador.Declaracao;
    d.Corpo.Add({QStringLiteral("1"), QStringLiteral("Ação ÿ"), {}});
    d.Corpo.Add({QStringLiteral("2"), QStringLiteral("x"), QStringLiteral("CRC")});
    d.CRC = QStringLiteral("não é gravado");
    d.Trailler = {QStringLiteral("T"), QStringLiteral("00000003"), QStringLiteral("9")};
    enviador.Salvar(arquivo(), 0);
    EXPECT_EQ(LeBytes(arquivo()), "1A\xE7\xE3o \xFF\r\n"
                                  "2xCRC\r\n"
                                  "900000003T\r\n");
}

TEST_F(Salvar, SegundaGravacaoSubstituiAPrimeira)
{
    enviador.Declaracao.Corpo.Add({QStringLiteral("1"), QString(300, QLatin1Char('a')), {}});
    enviador.Declaracao.Trailler = {{}, QStringLiteral("00000002"), QStringLiteral("9")};
    enviador.Salvar(arquivo(), 0);
    Enviador menor;
    menor.Declaracao.Trailler = {{}, QStringLiteral("00000001"), QStringLiteral("9")};
    menor.Salvar(arquivo(), 0);
    EXPECT_EQ(LeBytes(arquivo()), "900000001\r\n");
}

TEST_F(Salvar, FalhaNaoDeixaArquivoPelaMetade)
{
    {
        QFile f(arquivo());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("anterior");
    }
    enviador.Declaracao.Corpo.Add({QStringLiteral("1"), QStringLiteral("ok"), {}});
    enviador.Declaracao.Corpo.Add({QStringLiteral("1"), QStringLiteral("€"), {}});
    EXPECT_THROW(enviador.Salvar(arquivo(), 0), ErroEntrega);
    EXPECT_EQ(LeBytes(arquivo()), "anterior");
    EXPECT_THROW(enviador.Salvar(arquivo(), 80), ErroEntrega);

    // A folder that cannot exist (its parent is a file).
    Enviador bom;
    EXPECT_THROW(bom.Salvar(arquivo() + QStringLiteral("/sub/VLME"), 0), ErroEntrega);
    EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("VLME0000000001")});
}

// ---- The delivery program ----

class Enviador_ : public ::testing::Test {
protected:
    void ini(const QByteArray &conteudo, const QString &nome = QStringLiteral("enviador.ini"))
    {
        QFile f(QDir(sistema).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    void dll(const QString &nome = QStringLiteral("NUCLEO.DLL"))
    {
        QDir().mkpath(programa);
        QFile f(QDir(programa).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    PastaTeste pasta;
    QString sistema = pasta.caminho();
    QString programa = pasta.arquivo(QStringLiteral("Enviador"));
};

TEST_F(Enviador_, NaoEncontrado)
{
    EXPECT_FALSE(LocalizaEnviador(sistema)); // no ini
    ini("[Enviador]\r\nOutro=x\r\n");
    dll();
    EXPECT_FALSE(LocalizaEnviador(sistema)); // no key
    ini("[Enviador]\r\nPath=\r\n");
    EXPECT_FALSE(LocalizaEnviador(sistema)); // empty path
    ini("[Outro]\r\nPath=" + programa.toUtf8() + "\r\n");
    EXPECT_FALSE(LocalizaEnviador(sistema)); // other section
    ini("[Enviador]\r\nPath=" + pasta.arquivo(QStringLiteral("nada")).toUtf8() + "\r\n");
    EXPECT_FALSE(LocalizaEnviador(sistema)); // no library there
    EXPECT_FALSE(LocalizaEnviador(pasta.arquivo(QStringLiteral("inexistente"))));
}

TEST_F(Enviador_, EncontradoComOuSemBarraFinalEmQualquerCaixa)
{
    dll();
    ini("[Enviador]\r\nPath=" + programa.toUtf8() + "\r\n");
    EXPECT_TRUE(LocalizaEnviador(sistema));
    ini("[Enviador]\r\nPath=" + programa.toUtf8() + "/\r\n");
    EXPECT_TRUE(LocalizaEnviador(sistema));

    QFile::remove(QDir(sistema).filePath(QStringLiteral("enviador.ini")));
    ini("[ENVIADOR]\r\npath=" + programa.toUtf8() + "\r\n", QStringLiteral("ENVIADOR.INI"));
    QFile::rename(QDir(programa).filePath(QStringLiteral("NUCLEO.DLL")),
                  QDir(programa).filePath(QStringLiteral("nucleo.dll")));
    EXPECT_TRUE(LocalizaEnviador(sistema));
}

TEST_F(Enviador_, PastaDoSistemaPelaVariavelDeAmbiente)
{
    dll();
    ini("[Enviador]\r\nPath=" + programa.toUtf8() + "\r\n");
    const QByteArray antes = qgetenv("VLME_PASTA_SISTEMA");
    qputenv("VLME_PASTA_SISTEMA", sistema.toUtf8());
    EXPECT_EQ(PastaSistema(), sistema);
    EXPECT_TRUE(LocalizaEnviador());
    qputenv("VLME_PASTA_SISTEMA", pasta.arquivo(QStringLiteral("vazia")).toUtf8());
    EXPECT_FALSE(LocalizaEnviador());
    qunsetenv("VLME_PASTA_SISTEMA");
    EXPECT_FALSE(PastaSistema().isEmpty());
    if (!antes.isEmpty())
        qputenv("VLME_PASTA_SISTEMA", antes);
}
