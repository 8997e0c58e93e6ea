// The road of a statement through vlme-cli alone, without a line of SQL
// (data/cli/entrega.txt), and the receipt it prints.

#include "support/ServidorDiagnostico.h"
#include "support/Teste.h"

TEST(CliEntrega, DoArquivoImportadoAoReciboImpresso) {
    vlme::teste::PastaTeste pasta;
    vlme::teste::ServidorDiagnostico servidor;
    servidor.responde("01   0000000123" +
                      QByteArray("FABRICA DE TELEFONES LTDA").leftJustified(80) +
                      "20240105101500;");
    vlme::teste::Confere(pasta.caminho(), "cli/entrega.txt",
                         {"--pasta", pasta.caminho(), "--url-diagnostico", servidor.host()});
    ASSERT_EQ(servidor.pedidos.size(), 1);
    EXPECT_TRUE(servidor.pedidos[0].endsWith("NR_TRANSMISSAO_VLM:4711"));
    const QString recibo = vlme::teste::TextoPDF(pasta.arquivo("recibo.pdf")).simplified();
    for (const char *e : {"4711", "05/01/2024 10:15:00", "Manaus", "AB12"})
        EXPECT_TRUE(recibo.contains(e)) << e << " em " << recibo.toStdString();
}
