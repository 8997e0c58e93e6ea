// The file dialogs: the program's own files are never offered, and each
// import opens where the user last took a file of its kind.

#include "ui/Janelas.h"

#include <QFileDialog>
#include <QListView>
#include <QStandardPaths>

using namespace vlme;

namespace {

using DialogosArquivo = teste::Janelas;

QStringList listados(QFileDialog *dialogo) {
    auto *lista = dialogo->findChild<QListView *>(QStringLiteral("listView"));
    if (!lista)
        return {"(sem lista)"};
    QStringList nomes;
    const QModelIndex raiz = lista->rootIndex();
    for (int i = 0; i < lista->model()->rowCount(raiz); ++i)
        nomes << lista->model()->index(i, 0, raiz).data().toString();
    nomes.sort();
    return nomes;
}

} // namespace

TEST_F(DialogosArquivo, ArquivosDoProgramaNuncaSaoOferecidos) {
    for (const char *nome : {"VLM.MDB-wal", "VLM.lock", "VLME.MOD", "dados.txt", "outro.dat"})
        QFile(pasta.arquivo(nome)).open(QIODevice::WriteOnly);
    QDir(pasta.caminho()).mkdir("Arquivos");
    ui::UsuarioJanela janela(nullptr);
    QStringList vistos;
    teste::QuandoAbrirem({[&](QWidget *w) {
        auto *dialogo = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialogo, nullptr);
        QTest::qWaitFor([&] { return listados(dialogo).contains("dados.txt"); }, 3000);
        vistos = listados(dialogo);
        dialogo->reject();
    }});
    janela.escolheArquivoAbrir("Importar Declaração", "Arquivo texto (*.*)", pasta.caminho());
    EXPECT_EQ(vistos.join(' '), "Arquivos dados.txt outro.dat");
}

TEST_F(DialogosArquivo, CadaImportacaoAbreNaUltimaPastaDoSeuTipo) {
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                      .filePath("pastas.ini"));
    const QString tabelas = pasta.arquivo("tabelas");
    QDir().mkpath(tabelas);
    QFile::copy(teste::DadoTeste("tabelas/ncm.txt"), tabelas + "/ncm.txt");
    ui::mdiPrincipal principal(programa, usuario);
    for (const QString &escolha : {QString(), tabelas + "/ncm.txt", QString()}) {
        usuario.escolhe(escolha);
        principal.executa(shell::Comando::ImportarNCM);
    }
    usuario.escolhe({});
    principal.executa(shell::Comando::Importar);
    QStandardPaths::setTestModeEnabled(false);

    EXPECT_EQ(teste::Mapeia(usuario.dialogos, [](auto &d) { return d.inicial; }),
              QStringList({QDir::homePath(), QDir::homePath(), tabelas, QDir::homePath()}));
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT count(*) FROM NCM_ITEM"), "3");
}
