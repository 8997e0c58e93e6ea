// The error entries as the list and the error file (erros_esperados.txt:
// Latin-1, CR LF, label to 50 characters, message to 70, a blank where the
// sign of the line number would be) show them.

#include "import/ErrosImportacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

TEST(ErrosImportacao, ListaArquivoEFalhaAoGravar) {
    const std::vector<ErroImportacao> erros = {
        ErroImportacao::Cria(QLatin1Char('1'), 3, "Código Interno", "Preenchimento Obrigatório."),
        ErroImportacao::Cria(QLatin1Char('2'), 12, "Data de Emissão", "Inválida.")};
    EXPECT_EQ(LinhaListaErro(erros[0]),
              "Linha 3 (reg. 1) - CÓDIGO INTERNO: Preenchimento Obrigatório.");
    EXPECT_EQ(LinhaListaErro(erros[1]), "Linha 12 (reg. 2) - DATA DE EMISSÃO: Inválida.");

    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    ASSERT_TRUE(GravaErrosImportacao(usuario, pasta.arquivo("erros.txt"), erros));
    QFile gravado(pasta.arquivo("erros.txt")), esperado(teste::ArquivoDados("erros_esperados.txt"));
    ASSERT_TRUE(gravado.open(QIODevice::ReadOnly) && esperado.open(QIODevice::ReadOnly));
    EXPECT_EQ(gravado.readAll(), esperado.readAll());
    EXPECT_EQ(usuario.mensagens.back().texto, "Geração do arquivo texto bem sucedida. ");
    EXPECT_EQ(usuario.mensagens.back().icone, shell::Icone::Nenhum);

    const QString impossivel = pasta.arquivo("nao/existe/erros.txt");
    EXPECT_FALSE(GravaErrosImportacao(usuario, impossivel, erros));
    EXPECT_FALSE(QFile::exists(impossivel));
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[1].titulo, "Geração de arquivo texto de erros da importação");
    EXPECT_TRUE(
        usuario.mensagens[1].texto.startsWith("Ocorreu um erro, contacte o suporte técnico. "));
    EXPECT_EQ(usuario.mensagens[1].icone, shell::Icone::Critico);
}

} // namespace
