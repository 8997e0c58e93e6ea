// Printed documents as vlme-cli writes them, read back with poppler-utils:
// page count, header and footer on every page, rows never cut, the statement's
// data and figures in Brazilian notation.

#include "checking/Calculos.h"
#include "printing/Relatorios.h"
#include "support/HistoricoExemplo.h"
#include "support/Teste.h"

using namespace vlme;

namespace {

struct Impressao : ::testing::Test {
    Impressao() { teste::AbreBancoDaPasta(banco, pasta.caminho(), true); }
    // vlme-cli holds the database alone: ours is closed first.
    teste::Execucao imprime(int numero, const QString &opcao = {}) {
        banco.fecha();
        const QStringList args{"imprimir", QString::number(numero), opcao,
                               pasta.arquivo("doc.pdf")};
        return teste::Roda(pasta.caminho(), args.filter(QRegularExpression(".")));
    }
    // pdftotext ends each page with a form feed.
    int paginas() { return teste::TextoPDF(pasta.arquivo("doc.pdf")).count('\f'); }
    QString pagina(int i) { return teste::TextoPDF(pasta.arquivo("doc.pdf"), i); }

    teste::PastaTeste pasta;
    store::Banco banco;
};

TEST_F(Impressao, DemonstrativoEResumoTrazemOsDadosEOsNumerosDoCalculo) {
    const int n = teste::ConstrutorDeclaracao(banco)
                      .geral([](store::DadosGerais &d) {
                          d.salarios = 1000.0;
                          d.coeficiente = store::Coeficiente::Variavel;
                          d.denProduto = "Rádio <portátil> & cia";
                      })
                      .modelo("Modelo Ártico", 1234.5)
                      .nacional("Placa-mãe", 2, 1500.25)
                      .subcomponente(1, "Chip importado", 2, 10.5, 16)
                      .importadoDI("Tela OLED", 1, 30, 16);
    const auto resumo = checking::LinhasResumo(banco, n);
    for (const char *opcao : {"", "--resumo"}) {
        const teste::Execucao r = imprime(n, opcao);
        EXPECT_EQ(r.status, 0);
        // The summary fits a page; the general data and the tables take two.
        const int total = *opcao ? 1 : 2;
        ASSERT_EQ(paginas(), total) << opcao;
        EXPECT_EQ(r.saida, pasta.arquivo("doc.pdf") +
                               (total == 1 ? QString(": 1 página\n") : ": 2 páginas\n"));
        const QString texto = (pagina(1) + pagina(2)).simplified();
        QStringList esperados = teste::Mapeia(resumo, [](auto &l) { return l.second; });
        esperados << QString("VLM-E nº %1").arg(n) << QString("Página %1 de %1").arg(total);
        esperados += QString("US$ 2.979,50|US$ 51,00|US$ 4.030,50|98,73%").split('|');
        if (*opcao == 0)
            esperados += QString("11.222.333/0001-81|529.982.247-25|Rádio <portátil> & cia|"
                                 "8517.12.31|Modelo Ártico|1.234,50|Placa-mãe|1.500,250000|"
                                 "Chip importado|Tela OLED|DI 23/0123456-7, adição 001, item 01|"
                                 "NF 0000000001, série 1, 04.539.983/0001-90, 15/03/2023")
                             .split('|');
        for (const QString &e : esperados)
            EXPECT_TRUE(texto.contains(e)) << opcao << ": " << e.toStdString() << "\n"
                                           << texto.toStdString();
    }
}

// Each row is found whole on one page (its description beside its cost), and
// every page carries the header and its own footer.
TEST_F(Impressao, TabelasQuebramEntreLinhasComCabecalhoERodapeEmCadaPagina) {
    teste::ConstrutorDeclaracao d(banco);
    d.geral();
    constexpr int Linhas = 150;
    for (int i = 1; i <= Linhas; ++i)
        d.nacional(
            QString("Peça %1 com uma especificação comprida que ocupa duas linhas, fim %1").arg(i),
            1, 100 + i + 0.25);
    const teste::Execucao r = imprime(d.numero());
    const int total = paginas();
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.saida, pasta.arquivo("doc.pdf") + QString(": %1 páginas\n").arg(total));
    EXPECT_GE(total, 5);
    int achadas = 0;
    for (int p = 1; p <= total; ++p) {
        const QString texto = pagina(p);
        EXPECT_TRUE(texto.contains(QString("Página %1 de %2").arg(p).arg(total)));
        EXPECT_TRUE(texto.contains(QString("VLM-E nº %1").arg(d.numero())));
        if (p > 1 && p < total) {
            EXPECT_TRUE(texto.contains("Custo unitário")) << "página " << p;
        }
        for (int i = 1; i <= Linhas; ++i) {
            const QRegularExpression linha(QString("\\b%1 +Peça %1 com uma").arg(i));
            if (texto.contains(linha)) {
                ++achadas;
                EXPECT_TRUE(texto.contains(QString("%1,250000").arg(100 + i))) << i;
                EXPECT_TRUE(texto.contains(QRegularExpression(QString("fim %1\\b").arg(i)))) << i;
            }
        }
    }
    EXPECT_EQ(achadas, Linhas);
}

TEST_F(Impressao, ReciboVemDasLinhasRecibo) {
    const int n = teste::ConstrutorDeclaracao(banco).geral();
    const teste::Execucao semRecibo = imprime(n, "--recibo");
    EXPECT_EQ(QStringList({QString::number(semRecibo.status), semRecibo.saida, semRecibo.erro}),
              QStringList({"3", "", printing::TextoSemRecibo(n) + "\n"}));
    EXPECT_FALSE(QFile::exists(pasta.arquivo("doc.pdf")));

    teste::AbreBancoDaPasta(banco, pasta.caminho());
    banco.executa("INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO, NR_TRANSMISSAO_RECIBO,"
                  " DATA_RECEPCAO_RECIBO, HORA_RECEPCAO_RECIBO, SELO_RECIBO)"
                  " VALUES (?, '11222333000181', '4711', '2024-05-02', '10:31:07', 'AB12CD')",
                  {n});
    EXPECT_EQ(imprime(n, "--recibo").status, 0);
    const QString texto = pagina(1).simplified();
    for (const char *e : {"11.222.333/0001-81", "4711", "02/05/2024 10:31:07", "AB12CD"})
        EXPECT_TRUE(texto.contains(e)) << e;

    // A file that cannot be written is a failure, told, never a success.
    const QString semPasta = pasta.arquivo("nao/existe.pdf");
    const teste::Execucao r =
        teste::Roda(pasta.caminho(), {"imprimir", QString::number(n), semPasta});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.erro.startsWith("Não foi possível gravar o arquivo " + semPasta)) << r.erro;
}

// The page of a deleted statement's history: every row, the changes marked.
TEST_F(Impressao, HistoricoDeUmaExcluida) {
    teste::HistoricoExemplo(banco);
    const teste::Execucao r = imprime(teste::NumeroExcluida, "--historico");
    EXPECT_EQ(r.status, 0) << r.erro;
    ASSERT_EQ(paginas(), 1);
    const QString texto = pagina(1).simplified();
    for (const QString &e :
         {"Histórico da Declaração 7", "VLM-E nº 7", "Página 1 de 1", "Importada de noite.txt",
          "Componentes importados", "VLME0000000007", "Telefone celular", "fiscal03",
          "vlme-cli 1.0", "30/11/2026", "04/12/2026", "▲ US$ 1.234,50", "▲ 90,00%", "US$ 30,00"})
        EXPECT_TRUE(texto.contains(e)) << e.toStdString() << "\n" << texto.toStdString();
    EXPECT_EQ(texto.count("88,00%"), 2);
}

} // namespace
