// The import error list window: what it shows, saving the list, help and
// close; and the import command showing it after a failed import.

#include "ui/Janelas.h"
#include "ui/import/FormErrImport.h"

#include <gmock/gmock.h>

using namespace vlme;
using importacao::ErroImportacao;

namespace {

const std::vector<ErroImportacao> Erros = {ErroImportacao::Cria(
    QLatin1Char('0'), 1, "CPF Representante Legal", "Preenchimento Obrigatório")};

// Saving asks first; answered No, not even the file is asked.
TEST(FormErrImport, GravarPerguntaEscolheArquivoEGrava) {
    for (const auto resposta : {base::Resposta::Nao, base::Resposta::Sim}) {
        teste::PastaTeste pasta;
        const QString destino = pasta.arquivo("erros.txt");
        teste::UsuarioRoteirizado usuario;
        usuario.responde(resposta);
        usuario.escolhe(destino);
        ui::FormErrImport janela(usuario, pasta.caminho(), "vlme.txt", Erros);
        janela.cmdgravar->click();
        EXPECT_EQ(usuario.resumos().value(0),
                  "?|Importação do VLME|Esta operação irá copiar todos os erros achados na "
                  "importação para um arquivo texto.\r\nContinuar operação?|SimNao");
        const bool sim = resposta == base::Resposta::Sim; // then told it was written
        EXPECT_EQ(usuario.mensagens.size() + usuario.dialogos.size(), sim ? 3u : 1u);
        EXPECT_EQ(QFile(destino).size() > 0, sim);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST(FormErrImport, ImportacaoComErrosAbreAJanelaModal) {
    teste::BancoTeste bt;
    teste::PastaTeste pasta;
    const QString arquivo = pasta.arquivo("ruim.txt");
    // The sound file with the first statement's CPF as zeros.
    teste::GravaBytes(arquivo, teste::LeBytes(teste::DadoTeste("importacao/duas_declaracoes.txt"))
                                   .replace(15, 11, "00000000000"));
    teste::UsuarioRoteirizado usuario;
    base::ProgressoMudo progresso;
    QStringList vistos;
    QTimer::singleShot(0, [&] {
        auto *janela = qobject_cast<ui::FormErrImport *>(QApplication::activeModalWidget());
        ASSERT_NE(janela, nullptr) << "a lista de erros não foi mostrada";
        EXPECT_EQ(janela->focusWidget(), janela->lstImport); // not the file name
        for (int i = 0; i < janela->lstImport->count(); ++i)
            vistos << janela->lstImport->item(i)->text();
        vistos << janela->txtArquivo->text() + "|" + janela->Quantidade->text();
        janela->ajuda = [&](int t) { vistos << QString::number(t); };
        janela->Command2->click();
        // The list printed: saved as a PDF from the preview.
        QTimer::singleShot(0, [&] {
            QWidget *previa = QApplication::activeModalWidget();
            vistos << previa->objectName();
            previa->findChild<QAction *>("acaoSalvarPDF")->trigger();
            previa->close();
        });
        janela->cmdImprimir->click();
        janela->Command1->click();
    });
    usuario.escolhe(pasta.arquivo("erros.pdf"));
    const auto r =
        ui::ExecutaImportacao(bt.banco(), usuario, progresso, pasta.caminho(), arquivo, nullptr);
    EXPECT_EQ(r.desfecho, importacao::Desfecho::ErrosCampo);
    EXPECT_EQ(vistos,
              QStringList({"Linha 1 (reg. 0) - CPF REPRESENTANTE LEGAL: Preenchimento Obrigatório",
                           arquivo + "|1", QString::number(shell::ContextoAjuda::ErrosImportacao),
                           "frmVisualizacao"}));
    EXPECT_EQ(usuario.textos(),
              QStringList({"Foram detectados erros na importação de dados. "
                           "Clique OK para visualizar as pendências.",
                           "Documento gravado em " + pasta.arquivo("erros.pdf") + "."}));
    EXPECT_THAT(
        teste::TextoPDF(pasta.arquivo("erros.pdf")).simplified().toStdString(),
        ::testing::HasSubstr(QString("Arquivo %1 Linha Reg. Registro Campo Mensagem 1 0 "
                                     "Informações Gerais de um VLME CPF REPRESENTANTE LEGAL "
                                     "Preenchimento Obrigatório")
                                 .arg(arquivo)
                                 .toStdString()));
}

} // namespace
