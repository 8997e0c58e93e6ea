// The command routing (busy rule, a close the user refuses, the diagnostic
// entry points), the recording outcome message, the calculator, the terminal
// progress line and the system information list.

#include "shell/Calculadora.h"
#include "shell/Comandos.h"
#include "shell/InformacoesSistema.h"
#include "shell/Programa.h"
#include "shell/ProgressoTerminal.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

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

// Each command with and without an open statement, busy or not, and with a
// close the user refuses: where it goes.
TEST(Comandos, AondeCadaComandoLeva) {
    enum Estado { Livre, Aberta, Ocupado, AbertaOcupado, Recusa };
    const struct {
        Comando comando;
        const char *esperado[5];
    } casos[] = {
        {Comando::Novo, {"mostraNovo", "fechaDeclaracao,mostraNovo", "", "", "fechaDeclaracao"}},
        {Comando::Abrir,
         {"abreSeletor(2)", "fechaDeclaracao,abreSeletor(2)", "", "", "fechaDeclaracao"}},
        {Comando::Importar,
         {"importaDeclaracao", "fechaDeclaracao,importaDeclaracao", "", "", "fechaDeclaracao"}},
        {Comando::Fechar, {"", "fechaDeclaracao", "", "", "fechaDeclaracao"}},
        {Comando::ImprimirVLM,
         {"abreSeletor(9)", "imprimeDeclaracao", "", "", "imprimeDeclaracao"}},
        {Comando::Resumo, {"abreSeletor(10)", "imprimeResumo", "", "", "imprimeResumo"}},
        {Comando::Excluir, {"abreSeletor(3)", "excluiDeclaracao", "", "", "excluiDeclaracao"}},
        {Comando::Diagnostico,
         {"abreSeletor(15)", "fechaDeclaracao,abreSeletor(15)", "", "", "fechaDeclaracao"}},
        {Comando::Pendencias,
         {"abreSeletor(14)", "verificaPendencias", "", "", "verificaPendencias"}},
        {Comando::GerarArquivoEnviador,
         {"abreSeletor(6)", "fechaDeclaracao,abreSeletor(6)", "", "", "fechaDeclaracao"}},
        {Comando::Transmitir,
         {"abreSeletor(7)", "gravaParaTransmissao", "", "", "gravaParaTransmissao"}},
        {Comando::GerarCopia,
         {"abreSeletor(8)", "fechaDeclaracao,abreSeletor(8)", "", "", "fechaDeclaracao"}},
        {Comando::Restaurar,
         {"restauraCopia", "fechaDeclaracao,restauraCopia", "", "", "fechaDeclaracao"}},
        {Comando::ImportarNCM,
         {"importaTabelaNCM", "importaTabelaNCM", "", "", "importaTabelaNCM"}},
        {Comando::Calculadora,
         {"abreCalculadora", "abreCalculadora", "abreCalculadora", "abreCalculadora",
          "abreCalculadora"}},
        {Comando::Conteudo,
         {"mostraConteudoAjuda", "mostraConteudoAjuda", "mostraConteudoAjuda",
          "mostraConteudoAjuda", "mostraConteudoAjuda"}},
        {Comando::Sobre,
         {"mostraSobre", "mostraSobre", "mostraSobre", "mostraSobre", "mostraSobre"}},
        {Comando::Sair, {"sai", "sai", "", "", "sai"}},
        // The diagnostic waits with the hourglass and still reaches these.
        {Comando::ConsultarDiagnostico,
         {"abreSeletor(16)", "abreSeletor(16)", "abreSeletor(16)", "abreSeletor(16)",
          "abreSeletor(16)"}},
        {Comando::ImprimirRecibo,
         {"abreSeletor(11)", "abreSeletor(11)", "abreSeletor(11)", "abreSeletor(11)",
          "abreSeletor(11)"}},
    };
    for (const auto &c : casos)
        for (int e : {Livre, Aberta, Ocupado, AbertaOcupado, Recusa}) {
            DestinoGravado d;
            d.aberta = e != Livre && e != Ocupado;
            d.fechaRecusado = e == Recusa;
            const bool rodou =
                shell::ExecutaComando(c.comando, d, e == Ocupado || e == AbertaOcupado);
            EXPECT_EQ(d.chamadas.join(','), c.esperado[e]) << int(c.comando) << " estado " << e;
            if (e == Ocupado || e == AbertaOcupado)
                EXPECT_EQ(rodou, !d.chamadas.isEmpty()) << int(c.comando);
        }
}

TEST(Comandos, GravacaoParaTransmissaoDizOndeEstaOuQueNaoGravou) {
    teste::UsuarioRoteirizado usuario;
    EXPECT_TRUE(shell::InformaGravacaoTransmissao(usuario, "/dados/Arquivos/VLME0000000037.Z1"));
    EXPECT_FALSE(shell::InformaGravacaoTransmissao(usuario, QString()));
    EXPECT_EQ(usuario.resumos(),
              QStringList({"i|ATENÇÃO|O Arquivo foi gerado para transmissão em : \r\n"
                           "/dados/Arquivos/VLME0000000037.Z1",
                           "i|ATENÇÃO|O Arquivo não foi gerado para transmissão."}));
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
        shell::ProgressoTerminal p(&saida, true);
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
    shell::ProgressoTerminal p(&saida, false);
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

TEST(InformacoesSistema, ListaVersoesPastaEBancoEmUso) {
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.pasta = pasta.caminho();
    programa.versao = "5.0";
    const auto valores = [&] {
        QStringList v;
        for (const auto &[rotulo, valor] : shell::InformacoesSistema(programa))
            v << rotulo + "=" + valor;
        return v;
    };
    const QStringList fechado = valores();
    for (const QString &linha : {QString("Programa=VLM-E versão 5.0"), "Qt=" + QString(qVersion()),
                                 "Pasta de dados=" + QDir::toNativeSeparators(pasta.caminho()),
                                 QString("Banco de dados=(fechado)")})
        EXPECT_TRUE(fechado.contains(linha)) << linha;
    EXPECT_EQ(fechado.indexOf(QRegularExpression("^SQLite=3\\.\\d+\\.\\d+$")), 2)
        << fechado.join('\n');
    EXPECT_EQ(fechado.indexOf(QRegularExpression("^Sistema operacional=.+")), 5);
    programa.banco.cria(pasta.arquivo("VLM.MDB"));
    programa.banco.abre(pasta.arquivo("VLM.MDB"));
    EXPECT_TRUE(
        valores().contains("Banco de dados=" + QDir::toNativeSeparators(pasta.arquivo("VLM.MDB"))));
}
