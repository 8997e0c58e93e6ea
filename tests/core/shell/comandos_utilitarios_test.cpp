// The calculator found on the search path and started on its own, the
// terminal progress line, and the system information list.

#include "cli/ProgressoTerminal.h"
#include "shell/Calculadora.h"
#include "shell/InformacoesSistema.h"
#include "shell/Programa.h"
#include "support/PastaTeste.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace vlme;

namespace {

// An executable script that leaves a mark when run.
QString criaPrograma(const QString &pasta, const QString &nome, const QString &marca)
{
    const QString caminho = QDir(pasta).filePath(nome);
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\necho ok > '" + marca.toUtf8() + "'\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return caminho;
}

} // namespace

TEST(Calculadora, UsaAPrimeiraEncontradaNaOrdemDaLista)
{
    teste::PastaTeste pasta;
    const QString marca = pasta.arquivo(QStringLiteral("rodou"));
    criaPrograma(pasta.caminho(), QStringLiteral("kcalc"), marca);
    criaPrograma(pasta.caminho(), QStringLiteral("xcalc"), marca);
    const QStringList caminhos{pasta.caminho()};
    EXPECT_EQ(shell::EncontraCalculadora({"gnome-calculator", "xcalc", "kcalc"}, caminhos),
              pasta.arquivo(QStringLiteral("xcalc")));
    EXPECT_EQ(shell::EncontraCalculadora({"gnome-calculator"}, caminhos), QString());
    // The usual names are all tried.
    EXPECT_EQ(shell::EncontraCalculadora(shell::CalculadorasConhecidas(), caminhos),
              pasta.arquivo(QStringLiteral("kcalc")));
}

TEST(Calculadora, AbreDesligadaDoProgramaOuNadaQuandoNaoHa)
{
    teste::PastaTeste pasta;
    const QString marca = pasta.arquivo(QStringLiteral("rodou"));
    criaPrograma(pasta.caminho(), QStringLiteral("galculator"), marca);
    EXPECT_FALSE(shell::AbreCalculadora({"mate-calc"}, {pasta.caminho()}));
    EXPECT_FALSE(QFile::exists(marca));
    ASSERT_TRUE(shell::AbreCalculadora({"mate-calc", "galculator"}, {pasta.caminho()}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 5000));
}

TEST(ProgressoTerminal, NoTerminalReescreveUmaLinhaSoQuandoOPercentualMuda)
{
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    {
        cli::ProgressoTerminal p(&saida, true);
        p.abre();
        p.passo(QStringLiteral("Copiando"));
        p.faixa(0, 200);
        p.valor(1); // 0 %: the same as already drawn
        p.valor(100);
        p.valor(101); // still 50 %
        p.valor(200);
        p.fecha();
    }
    const QString esperado = QStringLiteral("\rCopiando [..............................]   0%") +
                             QStringLiteral("\rCopiando [###############...............]  50%") +
                             QStringLiteral("\rCopiando [##############################] 100%") +
                             QStringLiteral("\n");
    EXPECT_EQ(QString::fromUtf8(saida.data()), esperado);
}

TEST(ProgressoTerminal, LinhaMaisCurtaApagaORestoDaAnterior)
{
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    cli::ProgressoTerminal p(&saida, true);
    p.abre();
    p.passo(QStringLiteral("Excluindo informações"));
    p.faixa(0, 10); // still 0 %: nothing new to draw
    p.passo(QStringLiteral("Fim"));
    p.fecha();
    const QString barra = QStringLiteral("[..............................]   0%");
    const QString longa = QStringLiteral("Excluindo informações ") + barra;
    const QString curta = QStringLiteral("Fim ") + barra;
    EXPECT_EQ(QString::fromUtf8(saida.data()),
              QLatin1Char('\r') + longa + QLatin1Char('\r') + curta +
                  QString(longa.size() - curta.size(), QLatin1Char(' ')) + QLatin1Char('\n'));
}

TEST(ProgressoTerminal, ForaDoTerminalUmaLinhaPorPassoSemPercentuais)
{
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    cli::ProgressoTerminal p(&saida, false);
    p.abre();
    p.passo(QStringLiteral("Calculando tamanho"));
    p.faixa(0, 3);
    for (int i = 1; i <= 3; ++i) {
        p.valor(i);
        EXPECT_TRUE(p.unidade());
    }
    p.passo(QStringLiteral("Calculando tamanho")); // repeated: not written again
    p.passo(QStringLiteral("Gravando"));
    p.fecha();
    EXPECT_EQ(QString::fromUtf8(saida.data()), QStringLiteral("Calculando tamanho\nGravando\n"));
    EXPECT_FALSE(p.cancelado());
}

TEST(ProgressoTerminal, CtrlCPedeParadaNaProximaUnidadeSeCancelarForPermitido)
{
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    cli::ProgressoTerminal p(&saida, false);
    p.abre();
    p.permiteCancelar(false);
    std::raise(SIGINT);
    // A step that cannot be interrupted goes on; the request waits.
    EXPECT_TRUE(p.unidade());
    std::raise(SIGINT);
    p.permiteCancelar(true);
    EXPECT_FALSE(p.unidade());
    EXPECT_TRUE(p.cancelado());
    p.fecha();
    // Opening again starts without the old cancel.
    p.abre();
    EXPECT_TRUE(p.unidade());
    EXPECT_FALSE(p.cancelado());
    p.fecha();
}

TEST(InformacoesSistema, ListaVersoesPastaEBancoEmUso)
{
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.pasta = pasta.caminho();
    programa.versao = QStringLiteral("5.0");

    auto valor = [&](const QString &rotulo) {
        for (const auto &[r, v] : shell::InformacoesSistema(programa))
            if (r == rotulo)
                return v;
        return QStringLiteral("<ausente>");
    };
    EXPECT_EQ(valor(QStringLiteral("Programa")), QStringLiteral("VLM-E versão 5.0"));
    EXPECT_EQ(valor(QStringLiteral("Qt")), QString::fromLatin1(qVersion()));
    EXPECT_EQ(valor(QStringLiteral("Pasta de dados")), QDir::toNativeSeparators(pasta.caminho()));
    EXPECT_EQ(valor(QStringLiteral("Banco de dados")), QStringLiteral("(fechado)"));
    const QRegularExpression versao(QStringLiteral("^3\\.\\d+\\.\\d+$"));
    EXPECT_TRUE(versao.match(valor(QStringLiteral("SQLite"))).hasMatch())
        << valor(QStringLiteral("SQLite"));
    EXPECT_FALSE(valor(QStringLiteral("Sistema operacional")).isEmpty());

    const QString arquivo = pasta.arquivo(QStringLiteral("VLM.MDB"));
    programa.banco.cria(arquivo);
    programa.banco.abre(arquivo);
    EXPECT_EQ(valor(QStringLiteral("Banco de dados")), QDir::toNativeSeparators(arquivo));
    EXPECT_TRUE(versao.match(valor(QStringLiteral("SQLite"))).hasMatch());
}
