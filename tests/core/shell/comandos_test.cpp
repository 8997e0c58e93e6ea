// The command routing (busy rule, a close the user refuses, the diagnostic
// entry points), the calculator, the terminal progress line and the system
// information list.

#include "cli/ProgressoTerminal.h"
#include "shell/Calculadora.h"
#include "shell/Comandos.h"
#include "shell/InformacoesSistema.h"
#include "shell/Programa.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"

#include "core/entry/Casos.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace vlme;
using shell::Comando;

namespace {

class DestinoGravado final : public teste::ComandosGravados<shell::DestinoComandos> {
  public:
    bool aberta = false;
    bool fechaRecusado = false; // the user keeps the statement open
    bool declaracaoAberta() const override { return aberta; }
    void fechaDeclaracao() override {
        chamadas << "fechaDeclaracao";
        aberta = aberta && fechaRecusado;
    }
    void sai() override { chamadas << "sai"; }
};

} // namespace

// Each command without and with an open statement; while busy those the
// rule covers do nothing; when the user keeps the statement, a command that
// closes it first goes no further.
TEST(Comandos, AondeCadaComandoLeva) {
    static_assert(int(Comando::Sair) == 21 && int(Comando::ImprimirRecibo) == 23);
    for (const QStringList &c : teste::Casos("comandos.tsv"))
        for (const bool ocupado : {false, true})
            for (const int aberta : {0, 1, 2}) { // 2: open, and the user keeps it
                DestinoGravado d;
                d.aberta = aberta;
                d.fechaRecusado = aberta == 2;
                const bool rodou = shell::ExecutaComando(Comando(c[0].toInt()), d, ocupado);
                QString esperado = aberta ? c[3] : c[2];
                if (esperado.startsWith('F'))
                    esperado = "fechaDeclaracao" + (aberta == 2 ? QString() : esperado.mid(1));
                const bool espera = ocupado && c[4] == "1";
                if (espera)
                    esperado.clear();
                EXPECT_EQ(d.chamadas.join(','), esperado) << c[1] << " " << aberta;
                EXPECT_EQ(rodou, !espera) << c[1];
                EXPECT_EQ(d.aberta, aberta == 2 || (aberta && !esperado.startsWith("fecha")));
            }
}

TEST(Calculadora, APrimeiraEncontradaRodaDesligadaDoPrograma) {
    teste::PastaTeste pasta;
    const QString marca = pasta.arquivo("rodou");
    for (const char *nome : {"kcalc", "xcalc"}) {
        QFile f(pasta.arquivo(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho ok > '" + marca.toUtf8() + "'\n");
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QStringList caminhos{pasta.caminho()};
    EXPECT_EQ(shell::EncontraCalculadora({"gnome-calculator", "xcalc", "kcalc"}, caminhos),
              pasta.arquivo("xcalc"));
    EXPECT_EQ(shell::EncontraCalculadora({"gnome-calculator"}, caminhos), QString());
    EXPECT_EQ(shell::EncontraCalculadora(shell::CalculadorasConhecidas(), caminhos),
              pasta.arquivo("kcalc"));
    EXPECT_FALSE(shell::AbreCalculadora({"mate-calc"}, caminhos));
    EXPECT_FALSE(QFile::exists(marca));
    ASSERT_TRUE(shell::AbreCalculadora({"mate-calc", "kcalc"}, caminhos));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 5000));
}

TEST(ProgressoTerminal, NoTerminalUmaLinhaReescritaSoQuandoOPercentualMuda) {
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    {
        cli::ProgressoTerminal p(&saida, true);
        p.abre();
        p.passo("Excluindo informações");
        p.faixa(0, 200);
        for (int v : {1, 100, 101, 200}) // 0 % and 50 % only once each
            p.valor(v);
        p.passo("Fim"); // shorter: the rest of the old line is blanked
        p.fecha();
    }
    const QString longa = "\rExcluindo informações [";
    EXPECT_EQ(QString::fromUtf8(saida.data()),
              longa + QString(30, '.') + "]   0%" + longa + QString(15, '#') + QString(15, '.') +
                  "]  50%" + longa + QString(30, '#') + "] 100%" + "\rFim [" + QString(30, '#') +
                  "] 100%" + QString(18, ' ') + "\n");
}

TEST(ProgressoTerminal, ForaDoTerminalUmaLinhaPorPassoECtrlCSoQuandoPermitido) {
    QBuffer saida;
    saida.open(QIODevice::WriteOnly);
    cli::ProgressoTerminal p(&saida, false);
    p.abre();
    p.passo("Calculando tamanho");
    p.faixa(0, 3);
    p.valor(2);
    p.passo("Calculando tamanho"); // repeated: not written again
    p.passo("Gravando");
    p.permiteCancelar(false);
    std::raise(SIGINT);
    EXPECT_TRUE(p.unidade()); // a step that cannot be interrupted goes on
    std::raise(SIGINT);
    p.permiteCancelar(true);
    EXPECT_FALSE(p.unidade());
    EXPECT_TRUE(p.cancelado());
    p.fecha();
    EXPECT_EQ(QString::fromUtf8(saida.data()), "Calculando tamanho\nGravando\n");
    p.abre(); // opening again starts without the old cancel
    EXPECT_TRUE(p.unidade());
    EXPECT_FALSE(p.cancelado());
    p.fecha();
}

// The labels and the data folder are pinned by the about window's test.
TEST(InformacoesSistema, VersoesEBancoEmUso) {
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.versao = "5.0";
    const auto valores = [&] {
        QStringList v;
        for (const auto &[rotulo, valor] : shell::InformacoesSistema(programa))
            v << rotulo + "=" + valor;
        return v.join('\n');
    };
    EXPECT_TRUE(
        valores().contains(QRegularExpression("^Programa=VLM-E versão 5.0\nQt=.+\n"
                                              "SQLite=3\\.\\d+\\.\\d+\n"
                                              "Pasta de dados=\nBanco de dados=\\(fechado\\)\n")))
        << valores();
    programa.banco.cria(pasta.arquivo("VLM.MDB"));
    programa.banco.abre(pasta.arquivo("VLM.MDB"));
    EXPECT_TRUE(
        valores().contains("Banco de dados=" + QDir::toNativeSeparators(pasta.arquivo("VLM.MDB"))));
}
