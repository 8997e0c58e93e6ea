// The road of a statement through vlme-cli alone, without a line of SQL:
// imported, generated, its delivery recorded from the receipt (and once
// undone), diagnosed as registered by the stand-in server, its receipt
// printed.

#include "support/ServidorDiagnostico.h"
#include "support/Teste.h"

#include <QProcess>
#include <QTest>

using namespace vlme;

namespace {

// Runs vlme-cli on `pasta` while this test's event loop runs (the stand-in
// server answers in it): status, output, errors.
QStringList Roda(const QString &pasta, const QStringList &argumentos) {
    QProcess p;
    p.start(VLME_CLI, QStringList{"--pasta", pasta} + argumentos);
    p.closeWriteChannel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 60000));
    return {QString::number(p.exitCode()), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(CliEntrega, DoArquivoImportadoAoReciboImpresso) {
    teste::PastaTeste pasta;
    const QString d = pasta.caminho();
    ASSERT_EQ(
        Roda(d, {"importar", teste::DadoTeste("importacao/digitada_nos_formularios.txt")}).at(0),
        "0");
    const QStringList entrega = {
        "registrar-entrega", "1",      "4711", "--recepcao", "05/01/2024 10:15:00",
        "--local=Manaus",    "--selo", "AB12"};
    // Only the file generated is delivered.
    EXPECT_EQ(Roda(d, entrega),
              QStringList({"1", "",
                           "Gere o arquivo de entrega desta declaração antes de registrar a "
                           "entrega (declaração 1: nenhum arquivo foi gerado).\n"}));
    ASSERT_EQ(Roda(d, {"gerar", "1"}).at(0), "0");
    const QString gerada = Roda(d, {"listar"}).at(1);
    EXPECT_EQ(Roda(d, entrega),
              QStringList({"0",
                           "Entrega da declaração 1 registrada: transmissão 4711, recebida em "
                           "05/01/2024 10:15:00.\n",
                           ""}));
    EXPECT_EQ(Roda(d, {"listar"}).at(1).section('\n', 1).section('\t', 4), "Transmitido\t4711\n");

    // Wrong use is told before anything is opened; a refusal writes nothing.
    EXPECT_EQ(Roda(d, {"registrar-entrega", "1", "4712"}).mid(0, 2), QStringList({"2", ""}));
    EXPECT_TRUE(Roda(d, {"registrar-entrega", "1", "4712", "--data", "x"})
                    .at(2)
                    .startsWith("Opção desconhecida do comando registrar-entrega: --data\n"));
    EXPECT_EQ(Roda(d, {"registrar-entrega", "1", "4712", "--recepcao", "05/01/2099 10:15:00"}),
              QStringList({"3", "",
                           "A data da recepção (05/01/2099 10:15:00) é posterior ao dia e à hora "
                           "de agora. Confira o recibo.\n"}));
    // Another number is asked; with no one to answer, it is Não.
    const QStringList troca = {"registrar-entrega", "1", "4712", "--recepcao=06/01/2024 08:00:00"};
    EXPECT_EQ(Roda(d, troca),
              QStringList({"3", "",
                           "O VLM-E 1 já foi transmitido com o número 4711. Deseja trocar esse "
                           "número por 4712 ?\nO recibo anterior fica guardado.\n[s/N] A entrega "
                           "não foi registrada.\n"}));
    EXPECT_EQ(Roda(d, {"listar"}).at(1).section('\n', 1).section('\t', 4), "Transmitido\t4711\n");

    // A wrong record undone: generated, not transmitted, its file still good.
    EXPECT_EQ(Roda(d, {"registrar-entrega", "1", "--desfazer", "4711"}).at(2).section('\n', 0, 0),
              "Argumento a mais para o comando registrar-entrega: 4711");
    EXPECT_EQ(Roda(d, {"registrar-entrega", "1", "--desfazer"}),
              QStringList({"0",
                           "Registro da entrega da declaração 1 (transmissão 4711) desfeito: a "
                           "declaração está gerada, não transmitida.\n",
                           ""}));
    EXPECT_EQ(Roda(d, {"listar"}).at(1), gerada);
    EXPECT_EQ(Roda(d, entrega).at(0), "0");

    teste::ServidorDiagnostico servidor;
    servidor.responde("01   0000000123" +
                      QByteArray("FABRICA DE TELEFONES LTDA").leftJustified(80) +
                      "20240105101500;");
    EXPECT_EQ(Roda(d, {"--url-diagnostico", servidor.host(), "diagnosticar", "1"}).at(0), "0");
    ASSERT_EQ(servidor.pedidos.size(), 1);
    EXPECT_TRUE(servidor.pedidos[0].endsWith("NR_TRANSMISSAO_VLM:4711"));
    EXPECT_EQ(Roda(d, {"listar"}).at(1).section('\n', 1).section('\t', 4),
              "Registrado\t0000/00123\n");
    EXPECT_EQ(Roda(d, troca).at(2), "O VLM-E 1 já está registrado: a sua entrega não pode ser "
                                    "registrada de novo.\n");
    EXPECT_EQ(Roda(d, {"registrar-entrega", "1", "--desfazer"}),
              QStringList({"3", "",
                           "O VLM-E 1 já foi registrado pelo diagnóstico: o registro da sua "
                           "entrega não pode mais ser desfeito.\n"}));

    const QString pdf = pasta.arquivo("recibo.pdf");
    ASSERT_EQ(Roda(d, {"imprimir", "1", "--recibo", pdf}).at(0), "0");
    const QString recibo = teste::TextoPDF(pdf).simplified();
    for (const char *e : {"4711", "05/01/2024 10:15:00", "Manaus", "AB12"})
        EXPECT_TRUE(recibo.contains(e)) << e << " em " << recibo.toStdString();
}

} // namespace
