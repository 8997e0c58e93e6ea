// vlme-cli killed (SIGKILL) in the middle of a bulk command leaves a database
// that opens again at once and holds whole statements only: as before the
// command or as after it, nothing in between.

#include "DeclaracaoMaxima.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

struct Rodada {
    int status = -1;
    bool morta = false;
    qint64 ms = 0;
};

// Runs vlme-cli on `pasta`, killing it after `matarEm` ms (never when < 0).
Rodada Roda(const QString &pasta, const QStringList &comando, qint64 matarEm = -1) {
    QProcess p;
    QElapsedTimer relogio;
    relogio.start();
    p.start(VLME_CLI, QStringList{"--pasta", pasta, "--sim"} + comando);
    if (!p.waitForFinished(matarEm < 0 ? 120000 : int(matarEm))) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitCode(), p.exitStatus() == QProcess::CrashExit, relogio.elapsed()};
}

// Each statement with the count of its rows of every kind, then the count of
// every table, so a half statement or a stray row shows.
QStringList Retrato(const QString &pasta) {
    store::Banco banco;
    banco.abre(QDir(pasta).filePath("VLM.MDB"));
    QStringList r;
    QSqlQuery q = banco.executa(
        "SELECT v.NR_VLM_VLM,"
        " (SELECT count(*) FROM MODELOS WHERE NR_VLM_MODELOS = v.NR_VLM_VLM),"
        " (SELECT count(*) FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = v.NR_VLM_VLM),"
        " (SELECT count(*) FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = v.NR_VLM_VLM),"
        " (SELECT count(*) FROM SUBCOMP WHERE N_VLM_SUBCOMP = v.NR_VLM_VLM) FROM VLME v ORDER BY "
        "1");
    while (q.next())
        r << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                         q.value(3).toString(), q.value(4).toString()}
                 .join(' ');
    for (const char *tabela :
         {"MODELOS", "COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS", "SUBCOMP", "NF", "DI"})
        r << QString::number(teste::ContaLinhas(banco, tabela));
    return r;
}

// The test file's first statement grown to the largest number of models.
QByteArray ArquivoGrande() {
    QFile origem(VLME_DADOS_TESTE "/importacao/duas_declaracoes.txt");
    EXPECT_TRUE(origem.open(QIODevice::ReadOnly));
    const QList<QByteArray> linhas = origem.readAll().split('\n');
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
    {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ArquivoGrande());
        store::Banco banco;
        banco.cria(base.arquivo("VLM.MDB"));
        banco.abre(base.arquivo("VLM.MDB"));
        bench::CriaDeclaracaoMaxima(banco);
    }
    const auto copiaBase = [&](const teste::PastaTeste &destino) {
        ASSERT_TRUE(QFile::copy(base.arquivo("VLM.MDB"), destino.arquivo("VLM.MDB")));
    };
    for (const QStringList &comando :
         {QStringList{"importar", arquivo}, QStringList{"copiar", "1"}, {"excluir", "1"}}) {
        SCOPED_TRACE(comando.first().toStdString());
        teste::PastaTeste inteira;
        copiaBase(inteira);
        const QStringList antes = Retrato(inteira.caminho());
        const Rodada completa = Roda(inteira.caminho(), comando);
        ASSERT_EQ(completa.status, 0);
        const QStringList depois = Retrato(inteira.caminho());
        ASSERT_NE(antes, depois);
        int mortas = 0;
        for (const double fracao : {0.3, 0.5, 0.7, 0.9}) {
            teste::PastaTeste pasta;
            copiaBase(pasta);
            mortas += Roda(pasta.caminho(), comando, qint64(completa.ms * fracao)).morta;
            EXPECT_EQ(Roda(pasta.caminho(), {"listar"}, 10000).status, 0); // no wait on a lock
            const QStringList agora = Retrato(pasta.caminho());
            EXPECT_TRUE(agora == antes || agora == depois) << agora.join(" | ").toStdString();
        }
        EXPECT_GT(mortas, 0);
    }
}
