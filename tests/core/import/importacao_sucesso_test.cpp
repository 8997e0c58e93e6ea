// A sound file: what each record stores, column by column, against rows
// worked out by hand from the hand-typed file (duas_declaracoes_banco.txt:
// dates as YYYY/MM/DD, the file's national numbers 7 and 9 kept, sequences
// from 1, a DI-based row with its zero NCM and no unit); line ends and
// encodings; statements already in the database; what the user is told.

#include "import/Importacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;
using teste::ConteudoTabela;

namespace {

// An empty database, so that the new statements are 1 and 2.
class ImportacaoSucesso : public teste::ImportacaoTeste {
  protected:
    void SetUp() override {}
    ResultadoImportacao importaEm(store::Banco &outro, const QByteArray &conteudo) {
        return ImportaArquivo(outro, progresso, teste::GravaArquivo(pasta, "a.txt", conteudo));
    }
};

QStringList BancoEsperado() {
    return QString::fromStdString(teste::LeBytes(teste::ArquivoDados("duas_declaracoes_banco.txt")))
        .split('\n', Qt::SkipEmptyParts);
}

TEST_F(ImportacaoSucesso, DuasDeclaracoesGravamCadaColunaEDizemAsContagens) {
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso, teste::ArquivoDados("duas_declaracoes.txt"), [&] { ++bipes; });
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{1, 2}));
    EXPECT_EQ(teste::ConteudoBanco(banco), BancoEsperado());
    EXPECT_EQ(usuario.resumos().join('\n'), "i|Importação do VLME|     Importação Efetuada com "
                                            "Sucesso                                   \r\n\r\n"
                                            "Número Total de Registros Importados: 11\r\n"
                                            "Número de Registros Tipo 0 Importados: 2\r\n"
                                            "Número de Registros Tipo 1 Importados: 3\r\n"
                                            "Número de Registros Tipo 2 Importados: 2\r\n"
                                            "Número de Registros Tipo 3 Importados: 2\r\n"
                                            "Número de Registros Tipo 4 Importados: 2\r\n");
    EXPECT_EQ(bipes, 0);
    // The count's step and unit, then one per line; the totals line is not announced.
    EXPECT_EQ(std::tuple(progresso.aberturas, progresso.fechamentos, progresso.maximo,
                         progresso.valores.back(), progresso.unidades),
              std::tuple(1, 1, 12, 12, 13));
    ASSERT_EQ(progresso.passos.size(), 12);
    EXPECT_EQ(progresso.passos[0] + "|" + progresso.passos[1] + "|" + progresso.passos[11],
              "Contando as linhas do arquivo|Importando 1 de 11|Importando 11 de 11");
}

TEST_F(ImportacaoSucesso, VariantesDoArquivoGravamOMesmo) {
    // Line ends, a missing last one, blank lines at the end; UTF-8 with or
    // without its mark reads as the Latin-1 file does.
    const QByteArray utf8 = QString::fromLatin1(teste::Junta(l)).toUtf8();
    for (const QByteArray &conteudo :
         {teste::Junta(l, "\n"), teste::Junta(l).chopped(2), teste::Junta(l) + "\r\n   \r\n", utf8,
          "\xEF\xBB\xBF" + utf8}) {
        teste::BancoTeste outro;
        const ResultadoImportacao r = importaEm(outro.banco(), conteudo);
        ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
        EXPECT_EQ(teste::ConteudoBanco(outro.banco()), BancoEsperado());
    }
}

TEST_F(ImportacaoSucesso, DeclaracoesExistentesFicamIntactas) {
    const int antiga =
        teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo Básico", 10.0).nacional();
    const QStringList antes = ConteudoTabela(banco, "MODELOS");
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{antiga + 1, antiga + 2}));
    // A model of another statement with the same description is no repeat.
    const QStringList modelos = ConteudoTabela(banco, "MODELOS");
    EXPECT_EQ(modelos.mid(0, antes.size()), antes);
    EXPECT_EQ(modelos.mid(antes.size()),
              (QStringList{"MODELOS:2|1|'Modelo Básico'|'MB-01'|1999.9",
                           "MODELOS:2|2|'Modelo Avançado'|'MA-02'|2500.0",
                           "MODELOS:3|1|'Rádio portátil'|'RP'|100.0"}));
}

TEST_F(ImportacaoSucesso, CasosLimiteQueImportam) {
    const ResultadoImportacao soTotal = importa("900000001\r\n");
    ASSERT_EQ(soTotal.desfecho, Desfecho::Sucesso) << soTotal.mensagem;
    EXPECT_EQ(soTotal.contadores.total(), 0);
    // Models followed by a type 4, no national component.
    const ResultadoImportacao semNacional = importa(teste::Junta({l[8], l[9], l[10], "900000004"}));
    EXPECT_EQ(semNacional.contadores.registros, (std::array<int, 5>{1, 1, 0, 0, 1}));
    // Line 7 made a second subcomponent of national 7 (unit cost 150,25):
    // 4 x 12,5 + 2 x 50,125 = 150,25 exactly.
    teste::BancoTeste outro;
    l[6] = teste::Troca(teste::Troca(l[6], 6, "0007"), 264, "000000050125000");
    ASSERT_EQ(importaEm(outro.banco(), teste::Junta(l)).desfecho, Desfecho::Sucesso);
    EXPECT_EQ(ConteudoTabela(outro.banco(), "SUBCOMP"),
              (QStringList{"SUBCOMP:1|1|1|1", "SUBCOMP:1|2|1|0"}));
}

// A character Latin-1 has not could not go into the delivery file.
TEST_F(ImportacaoSucesso, CaractereForaDoLatin1ERecusado) {
    QString texto = QString::fromLatin1(teste::Junta(l));
    texto[texto.indexOf("Modelo B")] = QChar(0x20AC); // the euro sign
    const ResultadoImportacao r = importa(texto.toUtf8());
    ASSERT_EQ(r.erros.size(), 1u);
    EXPECT_EQ(LinhaListaErro(r.erros[0]), QStringLiteral("Linha 2 (reg. 1) - DESCRIÇÃO: Caractere "
                                                         "fora do Latin-1 (ISO-8859-1); troque-o "
                                                         "por outro."));
}

} // namespace
