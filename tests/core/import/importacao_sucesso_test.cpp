// A sound file: what each record stores, column by column, against rows
// worked out by hand from the hand-typed file (duas_declaracoes_banco.txt:
// dates as YYYY/MM/DD, the file's national numbers 7 and 9 kept, sequences
// from 1, a DI-based row with its zero NCM and no unit); line ends;
// statements already in the database; what the user is told; vlme-cli.

#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <QTextStream>

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
    QFile f(teste::ArquivoDados("duas_declaracoes_banco.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST_F(ImportacaoSucesso, DuasDeclaracoesGravamCadaColunaEDizemAsContagens) {
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso, teste::ArquivoDados("duas_declaracoes.txt"), [&] { ++bipes; });
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{1, 2}));
    EXPECT_EQ(teste::ConteudoBanco(banco), BancoEsperado());
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, "Importação do VLME");
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Informacao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              "     Importação Efetuada com Sucesso                                   \r\n\r\n"
              "Número Total de Registros Importados: 11\r\n"
              "Número de Registros Tipo 0 Importados: 2\r\n"
              "Número de Registros Tipo 1 Importados: 3\r\n"
              "Número de Registros Tipo 2 Importados: 2\r\n"
              "Número de Registros Tipo 3 Importados: 2\r\n"
              "Número de Registros Tipo 4 Importados: 2\r\n");
    EXPECT_EQ(bipes, 0);
    // The count's step and unit, then one per line; the totals line is not announced.
    EXPECT_EQ(progresso.aberturas + progresso.fechamentos, 2);
    EXPECT_EQ(progresso.maximo, 12);
    EXPECT_EQ(progresso.valores.back(), 12);
    EXPECT_EQ(progresso.unidades, 13);
    ASSERT_EQ(progresso.passos.size(), 12);
    EXPECT_EQ(progresso.passos[0], "Contando as linhas do arquivo");
    EXPECT_EQ(progresso.passos[1], "Importando 1 de 11");
    EXPECT_EQ(progresso.passos[11], "Importando 11 de 11");
}

TEST_F(ImportacaoSucesso, VariantesDoArquivoGravamOMesmo) {
    QByteArray semFinal = teste::Junta(l);
    semFinal.chop(2);
    for (const QByteArray &conteudo :
         {teste::Junta(l, "\n"), semFinal, teste::Junta(l) + "\r\n   \r\n"}) {
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

// Imported and then generated, a statement comes back as the file that went
// in, but for what the generation writes anew; read as Latin-1 or as UTF-8,
// the same file gives the same delivery bytes.

// The delivery files of every statement of `conteudo`, imported into a fresh
// database; `r` says how the import went.
QList<QByteArray> ImportaEGera(const QByteArray &conteudo, ResultadoImportacao *r = nullptr) {
    teste::PastaTeste pasta;
    teste::BancoTeste b;
    shell::ProgressoMudo progresso;
    teste::UsuarioRoteirizado usuario;
    ResultadoImportacao proprio;
    ResultadoImportacao &resultado = r ? *r : proprio;
    resultado = ImportaArquivo(b.banco(), progresso, teste::GravaArquivo(pasta, "e.txt", conteudo));
    EXPECT_TRUE(r || resultado.desfecho == Desfecho::Sucesso) << resultado.mensagem.toStdString();
    delivery::Transmissao t(b.banco(), b.pasta(), usuario, progresso);
    QList<QByteArray> arquivos;
    for (int n : resultado.declaracoes) {
        QFile f(t.GeraArquivoTransmissao(n, false));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << n;
        arquivos << f.readAll();
    }
    return arquivos;
}

// Written anew by the generation: the constants of type 0, national numbers
// (the database's, not the file's), the zero CNPJ of a DI-based component
// (blanks); flags come back in upper case.
struct Mascara {
    int linha, pos, largura;
};
const Mascara Mascaras[] = {{1, 347, 5}, {4, 2, 4}, {5, 2, 4}, {6, 6, 4}, {7, 6, 4}, {8, 38, 14}};

QByteArray Mascarado(QByteArray linha, int numero) {
    for (const Mascara &m : Mascaras)
        if (m.linha == numero)
            linha.replace(m.pos - 1, m.largura, QByteArray(m.largura, '#'));
    return linha.toUpper();
}

TEST(IdaEVolta, GeradoDevolveOArquivoImportado) {
    const QList<QByteArray> l = teste::LinhasBoas();
    auto de1900 = l; // 29/02/1900 passes the field rules, so generation carries it
    de1900[3] = teste::Troca(l[3], 50, "19000229");
    de1900[6] = teste::Troca(l[6], 72, "19000229");
    for (const QList<QByteArray> &linhas : {l, de1900}) {
        const QList<QByteArray> arquivos = ImportaEGera(teste::Junta(linhas));
        ASSERT_EQ(arquivos.size(), 2);
        QList<QByteArray> gerados = arquivos[0].split('\n') + arquivos[1].split('\n');
        gerados.removeAll(QByteArray());
        QList<QByteArray> esperados = linhas.mid(0, 8);
        esperados << "900000009" << linhas.mid(8, 3) << "900000004";
        ASSERT_EQ(gerados.size(), esperados.size());
        for (int i = 0; i < esperados.size(); ++i) {
            const int numero = i < 9 ? i + 1 : i;
            const QByteArray g = gerados[i].endsWith('\r') ? gerados[i].chopped(1) : gerados[i];
            EXPECT_EQ(Mascarado(g, numero), Mascarado(esperados[i], numero)) << "linha " << i + 1;
        }
    }
}

TEST(IdaEVolta, Utf8GeraOMesmoArquivoQueLatin1) {
    const QByteArray latin1 = teste::Junta(teste::LinhasBoas());
    const QByteArray utf8 = QString::fromLatin1(latin1).toUtf8();
    ASSERT_GT(utf8.size(), latin1.size()); // it has accented letters
    const QList<QByteArray> esperado = ImportaEGera(latin1);
    ASSERT_EQ(esperado.size(), 2);
    EXPECT_EQ(ImportaEGera(utf8), esperado);
    EXPECT_EQ(ImportaEGera("\xEF\xBB\xBF" + utf8), esperado);
    // A character Latin-1 has not could not go into the delivery file.
    ResultadoImportacao r;
    QString texto = QString::fromLatin1(latin1);
    texto[latin1.indexOf("Modelo B")] = QChar(0x20AC); // the euro sign
    EXPECT_TRUE(ImportaEGera(texto.toUtf8(), &r).isEmpty());
    ASSERT_EQ(r.erros.size(), 1u);
    EXPECT_EQ(LinhaListaErro(r.erros[0]), QStringLiteral("Linha 2 (reg. 1) - DESCRIÇÃO: Caractere "
                                                         "fora do Latin-1 (ISO-8859-1); troque-o "
                                                         "por outro."));
}

} // namespace
