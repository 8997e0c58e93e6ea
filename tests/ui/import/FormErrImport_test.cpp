// The import error list window: what it shows, saving the list, help and
// close; and the import command showing it after a failed import.

#include "shell/ContextosAjuda.h"
#include "shell/Progresso.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/import/FormErrImport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vlme;
using importacao::ErroImportacao;

namespace {

std::vector<ErroImportacao> Erros() {
    return {ErroImportacao::Cria(QLatin1Char('0'), 1, "CPF Representante Legal",
                                 "Preenchimento Obrigatório"),
            ErroImportacao::Cria(QLatin1Char('3'), 6, "Número da Adicão da DI",
                                 "Preenchimento Obrigatório.")};
}

QStringList itens(QListWidget *lista) {
    QStringList t;
    for (int i = 0; i < lista->count(); ++i)
        t << lista->item(i)->text();
    return t;
}

TEST(FormErrImport, MostraArquivoQuantidadeELinhas) {
    teste::UsuarioRoteirizado usuario;
    ui::FormErrImport janela(usuario, "/pasta", "/dados/vlme.txt", Erros());
    EXPECT_EQ(janela.windowTitle(), "Erros na Importação de Dados");
    EXPECT_EQ(janela.txtArquivo->text(), "/dados/vlme.txt");
    EXPECT_EQ(janela.Quantidade->text(), "2");
    EXPECT_EQ(itens(janela.lstImport),
              (QStringList{
                  "Linha 1 (reg. 0) - CPF REPRESENTANTE LEGAL: Preenchimento Obrigatório",
                  QStringLiteral(
                      "Linha 6 (reg. 3) - NÚMERO DA ADICÃO DA DI: Preenchimento Obrigatório.")}));
    EXPECT_EQ(janela.lstImport->font().family(), "Courier New");
    EXPECT_TRUE(janela.lstImport->font().fixedPitch());
    for (auto [nome, texto] : {std::pair{"cmdgravar", "&Gravar para Arquivo"},
                               {"cmdImprimir", "&Imprimir"},
                               {"Command2", "A&juda"},
                               {"Command1", "&Fechar"}}) {
        auto *b = janela.findChild<QPushButton *>(QLatin1String(nome));
        ASSERT_NE(b, nullptr) << nome;
        EXPECT_EQ(b->text(), QString::fromUtf8(texto));
    }
    const auto rotulos = janela.findChildren<QLabel *>();
    QStringList textos;
    for (QLabel *r : rotulos)
        textos << r->text();
    EXPECT_TRUE(textos.contains("Arquivo:"));
    EXPECT_TRUE(textos.contains("Quantidade de Erros:"));
}

TEST(FormErrImport, GravarPerguntaEscolheArquivoEGrava) {
    teste::PastaTeste pasta;
    const QString destino = pasta.arquivo("erros.txt");
    teste::UsuarioRoteirizado usuario;
    usuario.responde(shell::Resposta::Sim);
    usuario.escolhe(destino);
    ui::FormErrImport janela(usuario, pasta.caminho(), "vlme.txt", Erros());
    janela.cmdgravar->click();

    EXPECT_EQ(
        usuario.resumos(),
        QStringList({"?|Importação do VLME|Esta operação irá copiar todos os erros achados na "
                     "importação para um arquivo texto.\r\nContinuar operação?|SimNao",
                     usuario.resumos().value(1).section('|', 0, 1) +
                         "|Geração do arquivo texto bem sucedida. "}));
    ASSERT_EQ(usuario.dialogos.size(), 1u);
    EXPECT_EQ(usuario.dialogos[0].titulo + "|" + usuario.dialogos[0].inicial,
              "Salvar Erros de Importação|" + pasta.caminho());

    QFile f(destino);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> linhas = f.readAll().split('\n');
    ASSERT_EQ(linhas.size(), 3); // two lines and what follows the last LF
    EXPECT_EQ(linhas[0],
              QStringLiteral(
                  "Linha  1 (reg. 0) - CPF REPRESENTANTE LEGAL%1: Preenchimento Obrigatório%2\r")
                  .arg(QString(27, ' '), QString(45, ' '))
                  .toLatin1());
    EXPECT_TRUE(linhas[2].isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(FormErrImport, GravarRespondidoNaoNemPerguntaOArquivo) {
    teste::UsuarioRoteirizado usuario;
    usuario.responde(shell::Resposta::Nao);
    ui::FormErrImport janela(usuario, "/pasta", "vlme.txt", Erros());
    janela.cmdgravar->click();
    EXPECT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.dialogos.empty());
}

TEST(FormErrImport, AjudaEFechar) {
    teste::UsuarioRoteirizado usuario;
    ui::FormErrImport janela(usuario, "/pasta", "vlme.txt", Erros());
    int topico = 0;
    janela.ajuda = [&](int t) { topico = t; };
    janela.Command2->click();
    EXPECT_EQ(topico, shell::ContextoAjuda::ErrosImportacao);
    janela.show();
    janela.Command1->click();
    EXPECT_FALSE(janela.isVisible());
    janela.cmdImprimir->click(); // does nothing, says nothing
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST(FormErrImport, ImportacaoComErrosAbreAJanelaModal) {
    teste::BancoTeste bt;
    teste::PastaTeste pasta;
    const QString arquivo = pasta.arquivo("ruim.txt");
    {
        // The sound file with the first statement's CPF as zeros.
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QFile boa(QStringLiteral(VLME_DADOS_TESTE "/importacao/duas_declaracoes.txt"));
        ASSERT_TRUE(boa.open(QIODevice::ReadOnly));
        QByteArray conteudo = boa.readAll();
        conteudo.replace(15, 11, "00000000000"); // the first CPF
        f.write(conteudo);
    }
    teste::UsuarioRoteirizado usuario;
    shell::ProgressoMudo progresso;
    QStringList vistos;
    QTimer::singleShot(0, [&] {
        auto *janela = qobject_cast<ui::FormErrImport *>(QApplication::activeModalWidget());
        if (!janela) {
            ADD_FAILURE() << "a lista de erros não foi mostrada";
            return;
        }
        vistos = itens(janela->lstImport);
        janela->Command1->click();
    });
    const auto r =
        ui::ExecutaImportacao(bt.banco(), usuario, progresso, pasta.caminho(), arquivo, nullptr);
    EXPECT_EQ(r.desfecho, importacao::Desfecho::ErrosCampo);
    EXPECT_EQ(vistos,
              QStringList{QStringLiteral(
                  "Linha 1 (reg. 0) - CPF REPRESENTANTE LEGAL: Preenchimento Obrigatório")});
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("Foram detectados erros na importação de dados. Clique OK para "
                             "visualizar as pendências."));
}

} // namespace
