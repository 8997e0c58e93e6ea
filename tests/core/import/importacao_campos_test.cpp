// Field checks: each case of casos_campos.txt changes fields of the
// hand-typed sound file at known positions and names the entries the error
// list must then hold, in order. Whatever is wrong, nothing is stored. Then
// the limit of the error table and the error list and file.

#include "import/Importacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"
#include "core/entry/Casos.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

// "n:resto" split at its first two colons.
QStringList Partes(const QString &item) {
    const qsizetype a = item.indexOf(QLatin1Char(':')), b = item.indexOf(QLatin1Char(':'), a + 1);
    return {item.left(a), item.mid(a + 1, b - a - 1), item.mid(b + 1)};
}

// name, changes ("line:position:text"), errors ("line:FIELD:message")
class CamposImportacao : public teste::ImportacaoTeste,
                         public ::testing::WithParamInterface<QStringList> {};

TEST_P(CamposImportacao, ListaOErroENaoGravaNada) {
    QList<QByteArray> linhas = l;
    for (const QString &m : GetParam()[1].split('|')) {
        const QStringList p = Partes(m);
        QString texto = p[2];
        texto.replace(QLatin1String("\\x01"), QChar(1));
        linhas[p[0].toInt() - 1] = teste::Troca(linhas[p[0].toInt() - 1], p[1].toInt(), texto);
    }
    const ResultadoImportacao r = importa(teste::Junta(linhas));
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo) << r.mensagem;
    QStringList obtidos, esperados;
    for (const ErroImportacao &e : r.erros)
        obtidos << LinhaListaErro(e);
    for (const QString &e : GetParam()[2].split('|')) {
        const QStringList p = Partes(e);
        esperados << QStringLiteral("Linha %1 (reg. %2) - %3: %4")
                         .arg(p[0], QString(QLatin1Char(linhas[p[0].toInt() - 1].at(0))), p[1],
                              p[2]);
    }
    EXPECT_EQ(obtidos, esperados);
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

INSTANTIATE_TEST_SUITE_P(Campos, CamposImportacao,
                         ::testing::ValuesIn(teste::Casos("../importacao/casos_campos.txt")),
                         [](const auto &info) { return info.param[0].toStdString(); });

using LimitesImportacao = teste::ImportacaoTeste;

TEST_F(LimitesImportacao, TabelaParaEm10001EntradasEAvisaAntesDaLista) {
    // 3400 models with three faults each: 10200 faults.
    QList<QByteArray> linhas{l[0]};
    QByteArray ruim = teste::Troca(l[1], 6, QString(80, ' '));
    ruim = teste::Troca(teste::Troca(ruim, 86, QString(15, '0')), 101, QString(15, ' '));
    for (int i = 0; i < 3400; ++i)
        linhas << ruim;
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso,
        teste::GravaArquivo(pasta, "a.txt", teste::Junta(linhas << l[7] << "900003403")),
        [&] { ++bipes; });
    ASSERT_EQ(r.erros.size(), 10001u);
    // 3333 whole models (lines 2-3334), then two fields of line 3335.
    EXPECT_EQ(LinhaListaErro(r.erros.back()),
              "Linha 3335 (reg. 1) - PREÇO DE VENDA: Deve ser maior que zero.");
    const ErroImportacao &e = r.erros[1];
    EXPECT_EQ(e.nomeRegistro + "|" + e.campo + "|" + e.mensagem,
              "Informações Sobre os Modelos       |PREÇO DE VENDA" + QString(36, ' ') +
                  "|Deve ser maior que zero." + QString(46, ' '));
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    EXPECT_EQ(usuario.resumos(), QStringList("!|Importação do VLME|" + TextoErrosDetectados));
    EXPECT_EQ(bipes, 0);
}

// The error list's lines, and a file that cannot be written (the written file
// is pinned by the import error window's tests).
TEST(ErrosImportacao, ListaArquivoEFalhaAoGravar) {
    const std::vector<ErroImportacao> erros = {
        ErroImportacao::Cria(QLatin1Char('1'), 3, "Código Interno", "Preenchimento Obrigatório."),
        ErroImportacao::Cria(QLatin1Char('2'), 12, "Data de Emissão", "Inválida.")};
    EXPECT_EQ(LinhaListaErro(erros[0]),
              "Linha 3 (reg. 1) - CÓDIGO INTERNO: Preenchimento Obrigatório.");
    EXPECT_EQ(LinhaListaErro(erros[1]), "Linha 12 (reg. 2) - DATA DE EMISSÃO: Inválida.");

    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    const QString impossivel = pasta.arquivo("nao/existe/erros.txt");
    EXPECT_FALSE(GravaErrosImportacao(usuario, impossivel, erros));
    EXPECT_FALSE(QFile::exists(impossivel));
    EXPECT_TRUE(usuario.resumos().value(0).startsWith(
        "x|Geração de arquivo texto de erros da importação|Ocorreu um erro, contacte o suporte "
        "técnico. "))
        << usuario.resumos().value(0);
}

} // namespace
