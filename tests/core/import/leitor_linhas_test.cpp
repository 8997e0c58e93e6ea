// The bounded line reader: line ends, the encoding chosen for the whole file,
// true lengths of lines longer than what is kept, lines across its buffer.

#include "import/LeitorLinhas.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;
using Cod = LeitorLinhas::Codificacao;

namespace {

struct Caso {
    const char *nome;
    QByteArray conteudo;
    Cod codificacao;
    QStringList textos;
    QList<qint64> tamanhos;
};

const QString cc = QStringLiteral("çç");

// clang-format off
const Caso Casos[] = {
    {"Vazio", "", Cod::Latin1, {}, {}},
    {"FinsMisturadosEUltimaSemFim", "a\r\nb\n\nc", Cod::Latin1, {"a", "b", "", "c"}, {1, 1, 0, 1}},
    {"Latin1", "\xE7\xE7\r\n", Cod::Latin1, {cc}, {2}},
    {"Utf8", "\xC3\xA7\xC3\xA7\r\nx\n", Cod::Utf8, {cc, "x"}, {2, 1}},
    {"Utf8ComMarca", "\xEF\xBB\xBF\xC3\xA7\xC3\xA7\n", Cod::Utf8, {cc}, {2}},
    {"Utf8InvalidoAdianteELatin1", "\xC3\xA7\n\xE7\n", Cod::Latin1, {"\u00C3\u00A7", "\u00E7"}, {2, 1}},
    {"SobrelongoNaoEUtf8", "\xC0\xAF\n", Cod::Latin1, {"\u00C0\u00AF"}, {2}},
    {"SequenciaCortadaNoFim", "a\xC3", Cod::Latin1, {"a\u00C3"}, {2}},
    {"LongaContadaNaoGuardada", QByteArray(3000, 'x') + "\r\ny", Cod::Latin1, {QString(1024, 'x'), "y"}, {3000, 1}},
    {"LongaUtf8", QByteArray("\xC3\xA7").repeated(2000) + "\n", Cod::Utf8, {QString(1024, u'ç')}, {2000}},
    // CR as the last byte of the 64 KiB buffer, LF as the first of the next.
    {"CRLFEntreBlocos", QByteArray(65535, 'a') + "\r\nb", Cod::Latin1, {QString(1024, 'a'), "b"}, {65535, 1}},
};
// clang-format on

class LeitorLinhasTeste : public ::testing::TestWithParam<Caso> {};

TEST_P(LeitorLinhasTeste, LeCadaLinhaComSeuTamanho) {
    const Caso &c = GetParam();
    teste::PastaTeste pasta;
    LeitorLinhas leitor(teste::GravaArquivo(pasta, "l.txt", c.conteudo));
    ASSERT_TRUE(leitor.abre());
    const LeitorLinhas::Contagem contagem = leitor.conta();
    EXPECT_EQ(contagem.linhas, c.textos.size());
    EXPECT_EQ(contagem.codificacao, c.codificacao);
    QStringList textos;
    QList<qint64> tamanhos;
    LeitorLinhas::Linha linha;
    while (leitor.le(linha)) {
        textos << linha.texto;
        tamanhos << linha.tamanho;
    }
    EXPECT_EQ(textos, c.textos);
    EXPECT_EQ(tamanhos, c.tamanhos);
}

INSTANTIATE_TEST_SUITE_P(Casos, LeitorLinhasTeste, ::testing::ValuesIn(Casos),
                         [](const auto &info) { return std::string(info.param.nome); });

} // namespace
