// The main window's commands carried out on a real database: a new statement,
// the picker's pendency check, recording for transmission and deleting the
// open statement.

#include "shell/Comandos.h"
#include "shell/Programa.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vlme;
using teste::ConstrutorDeclaracao;

namespace {

struct Ambiente {
    teste::PastaTeste pasta;
    shell::Programa programa;
    teste::UsuarioRoteirizado usuario;
    Ambiente() {
        programa.pasta = pasta.caminho();
        programa.banco.cria(pasta.arquivo("VLM.MDB"));
        programa.banco.abre(pasta.arquivo("VLM.MDB"));
    }
    int contaDeclaracoes() { return programa.banco.escalar("SELECT count(*) FROM VLME").toInt(); }
};

// Acts on the modal window that the command is about to show.
template <typename Janela, typename Acao> void quandoAbrir(Acao acao) {
    QTimer::singleShot(0, [acao] {
        auto *janela = qobject_cast<Janela *>(QApplication::activeModalWidget());
        ASSERT_NE(janela, nullptr);
        acao(janela);
    });
}

} // namespace

TEST(FluxosPrincipal, NovoVazioSemAJanelaDeDadosGeraisNaoDeixaLixo) {
    Ambiente a;
    ui::mdiPrincipal principal(a.programa, a.usuario);
    quandoAbrir<ui::frmNovo>([](ui::frmNovo *novo) {
        novo->lstLista->setCurrentRow(0);
        novo->cmdOk->click();
    });
    principal.executa(shell::Comando::Novo);
    // Told plainly, and the empty statement made for it is not kept.
    ASSERT_EQ(a.usuario.mensagens.size(), 1u);
    EXPECT_TRUE(a.usuario.mensagens[0].texto.contains("ainda não está disponível"));
    EXPECT_EQ(a.contaDeclaracoes(), 0);
    EXPECT_FALSE(a.programa.declaracao.aberta);
}

TEST(FluxosPrincipal, PendenciasPeloSeletor) {
    Ambiente a;
    ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0).importadoDI();
    ui::mdiPrincipal principal(a.programa, a.usuario);
    quandoAbrir<ui::frmVLMs>([](ui::frmVLMs *seletor) {
        EXPECT_EQ(seletor->OperacaoVLM(), shell::Operacao::Pendencias);
        seletor->dbgVlms->selectRow(0);
        seletor->cmdOk->click();
    });
    principal.executa(shell::Comando::Pendencias);
    ASSERT_EQ(a.usuario.mensagens.size(), 1u);
    EXPECT_EQ(a.usuario.mensagens[0].texto, "Nenhum erro foi detectado.");
}

TEST(FluxosPrincipal, GravarParaTransmissaoDaDeclaracaoAberta) {
    Ambiente a;
    const int n = ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0).importadoDI();
    a.programa.declaracao = {n, true, false, false};
    ui::mdiPrincipal principal(a.programa, a.usuario);
    principal.executa(shell::Comando::Transmitir);
    const QString arquivo = QDir(a.pasta.caminho()).filePath("Arquivos/VLME0000000001");
    ASSERT_EQ(a.usuario.mensagens.size(), 1u);
    EXPECT_EQ(a.usuario.mensagens[0].texto,
              QStringLiteral("O Arquivo foi gerado para transmissão em : \r\n") +
                  QDir::toNativeSeparators(arquivo));
    EXPECT_TRUE(QFileInfo::exists(arquivo));
    // Recorded, the statement is closed (and kept: it was not new).
    EXPECT_FALSE(a.programa.declaracao.aberta);
    EXPECT_EQ(a.contaDeclaracoes(), 1);
}

TEST(FluxosPrincipal, GravarParaTransmissaoComPendenciasNaoGeraNada) {
    Ambiente a;
    const int n = ConstrutorDeclaracao(a.programa.banco).geral();
    a.programa.declaracao = {n, true, false, false};
    ui::mdiPrincipal principal(a.programa, a.usuario);
    QTimer::singleShot(0, [] {
        QWidget *lista = QApplication::activeModalWidget();
        ASSERT_NE(lista, nullptr);
        EXPECT_EQ(lista->objectName(), "frmPendencias");
        lista->close();
    });
    principal.executa(shell::Comando::Transmitir);
    ASSERT_EQ(a.usuario.mensagens.size(), 1u);
    EXPECT_EQ(a.usuario.mensagens[0].texto, "O Arquivo não foi gerado para transmissão.");
    EXPECT_TRUE(a.programa.declaracao.aberta);
    EXPECT_FALSE(QFileInfo::exists(QDir(a.pasta.caminho()).filePath("Arquivos/VLME0000000001")));
}

TEST(FluxosPrincipal, ExcluirADeclaracaoAberta) {
    Ambiente a;
    const int n = ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0).importadoDI();
    const int outra = ConstrutorDeclaracao(a.programa.banco).geral();
    a.programa.declaracao = {n, true, false, false};
    ui::mdiPrincipal principal(a.programa, a.usuario);
    a.usuario.responde(shell::Resposta::Nao);
    principal.executa(shell::Comando::Excluir);
    EXPECT_EQ(a.contaDeclaracoes(), 2);
    EXPECT_TRUE(a.programa.declaracao.aberta);

    a.usuario.responde(shell::Resposta::Sim);
    principal.executa(shell::Comando::Excluir);
    EXPECT_EQ(a.usuario.mensagens.back().texto, "Deseja realmente excluir este VLM-E ?");
    EXPECT_FALSE(a.programa.declaracao.aberta);
    EXPECT_EQ(a.contaDeclaracoes(), 1);
    EXPECT_EQ(a.programa.banco.escalar("SELECT NR_VLM_VLM FROM VLME").toInt(), outra);
}

TEST(FluxosPrincipal, ImportarPeloMenu) {
    Ambiente a;
    ui::mdiPrincipal principal(a.programa, a.usuario);
    a.usuario.escolhe(QStringLiteral(VLME_DADOS_TESTE "/importacao/duas_declaracoes.txt"));
    principal.executa(shell::Comando::Importar);
    ASSERT_EQ(a.usuario.dialogos.size(), 1u);
    EXPECT_EQ(a.usuario.dialogos[0].titulo, "Importar Declaração");
    EXPECT_EQ(a.contaDeclaracoes(), 2);
    // The imported statements are not opened.
    EXPECT_FALSE(a.programa.declaracao.aberta);
    // Giving up the file dialog imports nothing.
    principal.executa(shell::Comando::Importar);
    EXPECT_EQ(a.contaDeclaracoes(), 2);
}

TEST(FluxosPrincipal, GerarArquivoPeloSeletorRecusaOJaTransmitido) {
    Ambiente a;
    const int n = ConstrutorDeclaracao(a.programa.banco).geral().modelo("M", 1.0).importadoDI();
    a.programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 555 WHERE NR_VLM_VLM = ?", {n});
    ui::mdiPrincipal principal(a.programa, a.usuario);
    // A transmitted statement is not even listed for generation.
    quandoAbrir<ui::frmVLMs>([](ui::frmVLMs *seletor) {
        EXPECT_EQ(seletor->OperacaoVLM(), shell::Operacao::GerarArquivo);
        EXPECT_EQ(seletor->dbgVlms->model()->rowCount(), 0);
        seletor->cmdCancelar->click();
    });
    principal.executa(shell::Comando::GerarArquivoEnviador);

    // To be transmitted again: listed, generated, and the delivery question
    // is not asked without the delivery program.
    a.programa.banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1 WHERE NR_VLM_VLM = ?", {n});
    qputenv("VLME_PASTA_SISTEMA", a.pasta.caminho().toUtf8());
    quandoAbrir<ui::frmVLMs>([](ui::frmVLMs *seletor) {
        ASSERT_EQ(seletor->dbgVlms->model()->rowCount(), 1);
        seletor->dbgVlms->selectRow(0);
        seletor->cmdOk->click();
    });
    principal.executa(shell::Comando::GerarArquivoEnviador);
    qunsetenv("VLME_PASTA_SISTEMA");
    EXPECT_TRUE(QFileInfo::exists(QDir(a.pasta.caminho()).filePath("Arquivos/VLME0000000001")));
    ASSERT_FALSE(a.usuario.mensagens.empty());
    EXPECT_TRUE(a.usuario.mensagens.back().texto.contains("Enviador esteja instalado"));
}
