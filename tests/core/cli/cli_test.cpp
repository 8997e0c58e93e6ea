// vlme-cli as the company's systems run it: exact output and exit status; killed
// in the middle of a bulk command, a database that opens at once, whole statements.

#include "DeclaracaoMaxima.h"
#include "shell/CopiaUnica.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

struct Execucao {
    int status = -1;
    QString saida, erro;
    bool morta = false;
    qint64 ms = 0;
};

// VLME_PASTA points at `pasta`, so a run that ignores --pasta cannot touch
// the user's own data folder. Killed after `matarEm` ms (never when < 0).
Execucao Roda(const QString &pasta, const QStringList &argumentos, qint64 matarEm = -1) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("VLME_PASTA"), pasta);
    p.setProcessEnvironment(ambiente);
    QElapsedTimer relogio;
    relogio.start();
    p.start(QStringLiteral(VLME_CLI), argumentos);
    p.closeWriteChannel();
    if (!p.waitForFinished(matarEm < 0 ? 120000 : int(matarEm))) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()), p.exitStatus() == QProcess::CrashExit,
            relogio.elapsed()};
}

// Runs each command of a transcript under tests/data/cli: after comments,
// "$ arguments" ('' an empty one), "= status", then "> " lines of output and
// "! " lines of errors; {PASTA} is `pasta` and {DADOS} the tests' data folder.
void Confere(const QString &pasta, const QString &transcricao, const QStringList &antes = {}) {
    const QString texto = QString::fromStdString(teste::LeBytes(teste::DadoTeste(transcricao)))
                              .replace("{PASTA}", pasta)
                              .replace("{DADOS}", VLME_DADOS_TESTE);
    for (const QString &bloco : texto.split("\n$ ").mid(1)) {
        QStringList linhas = bloco.split('\n');
        QStringList argumentos = linhas.takeFirst().split(' ', Qt::SkipEmptyParts);
        QString status = linhas.takeFirst().mid(2), saida, erro;
        for (const QString &linha : linhas)
            if (linha.startsWith('>') || linha.startsWith('!'))
                (linha.startsWith('>') ? saida : erro) += linha.mid(2) + '\n';
        const Execucao r = Roda(pasta, antes + argumentos.replaceInStrings("''", ""));
        EXPECT_EQ(QStringList({QString::number(r.status), r.saida, r.erro}),
                  QStringList({status, saida, erro}))
            << argumentos.join(' ');
    }
}

} // namespace

TEST(Cli, AjudaEUsoErradoSemAbrirAPasta) {
    teste::PastaTeste pasta;
    Confere(pasta.caminho(), "cli/uso.txt");
    EXPECT_TRUE(QDir(pasta.caminho()).isEmpty());
}

// Which failures are found, and what is kept, is pinned where the folder is opened.
TEST(Cli, AberturaQueFalha) {
    teste::PastaTeste pasta;
    teste::GravaBytes(pasta.arquivo("VLM.MDB"), "isto nao e um banco");
    Confere(pasta.caminho(), "cli/banco_estranho.txt");
    shell::CopiaUnica aberta(pasta.caminho());
    ASSERT_TRUE(aberta.obtem());
    Confere(pasta.caminho(), "cli/copia_aberta.txt");
}

TEST(Cli, ConsultaGeraCopiaExcluiEImporta) {
    teste::PastaTeste pasta;
    ASSERT_EQ(Roda(pasta.caminho(), {"listar"}).erro, "");
    const auto altera = [&](const std::function<void(store::Banco &)> &f) {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        f(banco);
    };
    altera([](store::Banco &b) {
        teste::ConstrutorDeclaracao(b).geral().modelo("Modelo A", 100.0).importadoDI("Tela", 1, 30);
        b.executa("INSERT INTO VLME (CODIGO_VLM, PESO_BRUTO_VLM) VALUES ('', 1)");
    });
    Confere(pasta.caminho(), "cli/declaracoes.txt", {"--pasta", pasta.caminho()});
    EXPECT_GT(QFileInfo(pasta.arquivo("Arquivos/VLME0000000001")).size(), 0);

    altera([](store::Banco &b) { b.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 8"); });
    Confere(pasta.caminho(), "cli/ja_transmitido.txt");
}

TEST(Cli, CopiaDeSegurancaETabelas) {
    teste::PastaTeste pasta;
    ASSERT_EQ(Roda(pasta.caminho(), {"listar"}).status, 0);
    {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo A", 100.0);
    }
    Confere(pasta.caminho(), "cli/copia_tabelas.txt", {"--pasta", pasta.caminho()});
}

namespace {

// Every row of every statement, so a half statement or a stray row shows.
QStringList Retrato(const QString &pasta) {
    store::Banco banco;
    banco.abre(QDir(pasta).filePath("VLM.MDB"));
    return teste::ConteudoBanco(banco);
}

// The test file's first statement grown to the largest number of models.
QByteArray ArquivoGrande() {
    const QList<QByteArray> linhas =
        QByteArray::fromStdString(
            teste::LeBytes(teste::DadoTeste("importacao/duas_declaracoes.txt")))
            .split('\n');
    QList<QByteArray> saida{linhas[0]};
    for (int i = 1; i <= bench::LinhasMaximas; ++i)
        saida << QByteArray(linhas[1])
                     .replace(1, 4, QByteArray::number(i).rightJustified(4, '0'))
                     .replace(5, 80, ("Modelo " + QByteArray::number(i)).leftJustified(80));
    saida += linhas.mid(3, linhas.size() - 5); // up to the trailer
    saida << "9" + QByteArray::number(saida.size() + 1).rightJustified(8, '0') + '\r';
    return saida.join('\n') + '\n';
}

} // namespace

TEST(CliInterrompido, MortoNoMeioDeixaSoDeclaracoesInteiras) {
    teste::PastaTeste base;
    const QString arquivo = base.arquivo("grande.txt");
    teste::GravaBytes(arquivo, ArquivoGrande().toStdString());
    {
        store::Banco banco;
        banco.cria(base.arquivo("VLM.MDB"));
        banco.abre(base.arquivo("VLM.MDB"));
        bench::CriaDeclaracaoMaxima(banco);
    }
    const QStringList antes = Retrato(base.caminho());
    for (const QStringList &comando :
         {QStringList{"importar", arquivo}, QStringList{"copiar", "1"}, {"excluir", "1"}}) {
        SCOPED_TRACE(comando.first().toStdString());
        const auto roda = [&](const teste::PastaTeste &pasta, qint64 matarEm = -1) {
            EXPECT_TRUE(QFile::copy(base.arquivo("VLM.MDB"), pasta.arquivo("VLM.MDB")));
            return Roda(pasta.caminho(), QStringList{"--pasta", pasta.caminho(), "--sim"} + comando,
                        matarEm);
        };
        teste::PastaTeste inteira;
        const Execucao completa = roda(inteira);
        ASSERT_EQ(completa.status, 0);
        const QStringList depois = Retrato(inteira.caminho());
        ASSERT_NE(antes, depois);
        int mortas = 0;
        for (const double fracao : {0.3, 0.5, 0.7, 0.9}) {
            teste::PastaTeste pasta;
            mortas += roda(pasta, qint64(completa.ms * fracao)).morta;
            // No wait on a lock.
            EXPECT_EQ(Roda(pasta.caminho(), {"--pasta", pasta.caminho(), "listar"}, 10000).status,
                      0);
            const QStringList agora = Retrato(pasta.caminho());
            EXPECT_TRUE(agora == antes || agora == depois) << agora.size() << " linhas";
        }
        EXPECT_GT(mortas, 0);
    }
}
