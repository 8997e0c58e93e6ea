// The record cut that other code can reuse, and the error entries as the
// list and the error file show them.

#include "import/ErrosImportacao.h"
#include "import/Registros.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

TEST(RegistrosImportacao, CortaOsCamposComNomes) {
    const auto l = teste::LinhasBoas();
    ASSERT_EQ(l.size(), 12);
    const RegistroTipo0 g = CortaTipo0(QString::fromLatin1(l[8]));
    EXPECT_EQ(g.cnpj, "04539983000190");
    EXPECT_EQ(g.tipoVlme, "r");
    EXPECT_EQ(g.vlmAnterior, "2001000123");
    EXPECT_EQ(g.nrProcesso, "12345678901234567");
    EXPECT_EQ(g.versao + g.constante + g.tipoCoeficiente, "04001v");

    // Type 3 stands five positions right of type 4 from the document on.
    const RegistroImportado sub = CortaImportado(QString::fromLatin1(l[6]));
    EXPECT_EQ(sub.numeroNacional, "0009");
    EXPECT_EQ(sub.baseCalculo, "n");
    EXPECT_EQ(sub.tipoDocumento, "N");
    EXPECT_EQ(sub.numeroNF, "0000000789");
    EXPECT_EQ(sub.especificacao.trimmed(), QStringLiteral("Célula"));
    EXPECT_EQ(sub.valorUnitario, "000000030000000");
    const RegistroImportado comp = CortaImportado(QString::fromLatin1(l[7]));
    EXPECT_TRUE(comp.numeroNacional.isEmpty());
    EXPECT_EQ(comp.tipoDocumento, "S");
    EXPECT_EQ(comp.numeroDI + comp.adicaoDI + comp.itemDI, "230123456700280");
    EXPECT_EQ(comp.reducao, "S");
    EXPECT_EQ(comp.valorUnitario, "000000099999999");

    EXPECT_EQ(CortaTipo9(QString::fromLatin1(l[11])).quantidade, "00000012");
    EXPECT_EQ(ConverteDataImportacao("20230315"), "2023/03/15");
    EXPECT_DOUBLE_EQ(ValorImplicito("000000099999999", 6), 99.999999);
    EXPECT_DOUBLE_EQ(ValorImplicito("00000000025000", 5), 0.25);
}

TEST(RegistrosImportacao, TamanhosENomes) {
    EXPECT_EQ(TamanhoRegistro(QLatin1Char('3')), 278);
    EXPECT_EQ(TamanhoRegistro(QLatin1Char('5')), 0);
    EXPECT_EQ(NomeRegistro(QLatin1Char('9')), "Totalizador do Arquivo");
}

std::vector<ErroImportacao> DoisErros() {
    return {ErroImportacao::Cria(QLatin1Char('1'), 3, QStringLiteral("Código Interno"),
                                 QStringLiteral("Preenchimento Obrigatório.")),
            ErroImportacao::Cria(QLatin1Char('2'), 12, QStringLiteral("Data de Emissão"),
                                 QStringLiteral("Inválida."))};
}

TEST(ErrosImportacao, LinhaDaListaSemBrancos) {
    const auto erros = DoisErros();
    EXPECT_EQ(LinhaListaErro(erros[0]),
              QStringLiteral("Linha 3 (reg. 1) - CÓDIGO INTERNO: Preenchimento Obrigatório."));
    EXPECT_EQ(LinhaListaErro(erros[1]),
              QStringLiteral("Linha 12 (reg. 2) - DATA DE EMISSÃO: Inválida."));
}

TEST(ErrosImportacao, ArquivoDeErrosEmLatin1ComCRLF) {
    teste::PastaTeste pasta;
    const QString caminho = pasta.arquivo("erros.txt");
    teste::UsuarioRoteirizado usuario;
    ASSERT_TRUE(GravaErrosImportacao(usuario, caminho, DoisErros()));
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // Label to 50 characters, message to 70; a blank where the sign would be.
    const QByteArray esperado =
        QStringLiteral(
            "Linha  3 (reg. 1) - CÓDIGO INTERNO                                    :"
            " Preenchimento Obrigatório.                                            \r\n"
            "Linha  12 (reg. 2) - DATA DE EMISSÃO                                   :"
            " Inválida.                                                             \r\n")
            .toLatin1();
    EXPECT_EQ(f.readAll(), esperado);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("Geração do arquivo texto bem sucedida. "));
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Nenhum);
}

TEST(ErrosImportacao, FalhaAoGravarEAvisadaENaoDeixaArquivo) {
    teste::PastaTeste pasta;
    const QString caminho = pasta.arquivo("nao/existe/erros.txt");
    teste::UsuarioRoteirizado usuario;
    EXPECT_FALSE(GravaErrosImportacao(usuario, caminho, DoisErros()));
    EXPECT_FALSE(QFile::exists(caminho));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo,
              QStringLiteral("Geração de arquivo texto de erros da importação"));
    EXPECT_TRUE(usuario.mensagens[0].texto.startsWith(
        QStringLiteral("Ocorreu um erro, contacte o suporte técnico. ")))
        << usuario.mensagens[0].texto;
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Critico);
}

} // namespace
