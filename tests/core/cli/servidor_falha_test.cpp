// The team database failing under vlme-cli: the server stopped, or the network
// gone silent, while a statement is being written. Each test runs a server of
// its own, which it stops and starts again.

#include "support/Retransmissor.h"
#include "support/Teste.h"

#include <QTest>

using namespace vlme;
using teste::Execucao;
using teste::Roda;

namespace {

// Rows per table: the server has none of the tests' SQLite look-alikes.
QList<int> Conteudo(const QString &url) {
    store::Banco banco;
    banco.abreServidor(url);
    QList<int> linhas;
    for (const char *tabela :
         {"VLME", "MODELOS", "COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS", "IMPORTACAO"})
        linhas << teste::ContaLinhas(banco, tabela);
    return linhas;
}

} // namespace

// The call that writes the statement's rows is held at the relay; then the
// server stops, or nothing more ever comes back. Either way vlme-cli fails
// within the bound, says the connection was lost, and the server keeps the
// statements it had, no more.
TEST(ServidorFalha, ParadoOuMudoNoMeioNaoDeixaNadaPelaMetade) {
    teste::ServidorProprio servidor;
    teste::PastaTeste pasta;
    const QString texto = teste::DadoTeste("importacao/duas_declaracoes.txt");
    const QString copia = pasta.arquivo("c.BAK");
    for (const QStringList &comando : {QStringList{"importar", texto}, {"backup", "1", copia}})
        ASSERT_EQ(Roda(pasta.caminho(), QStringList{"--banco", servidor.url()} + comando).status,
                  0);
    const QList<int> antes = Conteudo(servidor.url());

    struct Caso {
        QStringList comando;
        QByteArray marca;
        bool para;
    };
    for (const Caso &caso : {Caso{{"importar", texto}, "COPY ", true},
                             Caso{{"restaurar", copia}, "INTO MODELOS", true},
                             Caso{{"importar", texto}, "COPY ", false}}) {
        SCOPED_TRACE((caso.comando.first() + (caso.para ? " parado" : " mudo")).toStdString());
        Execucao r;
        {
            teste::Retransmissor rede(servidor.url());
            rede.retemEm(caso.marca);
            // The silent network's wait cut short; the bound below stays the user's.
            if (!caso.para)
                qputenv("VLME_SILENCIO_SERVIDOR_MS", "2000");
            auto p =
                teste::Inicia(pasta.caminho(), QStringList{"--banco", rede.url()} + caso.comando);
            qunsetenv("VLME_SILENCIO_SERVIDOR_MS");
            ASSERT_TRUE(QTest::qWaitFor([&] { return rede.reteve(); }, 30000));
            if (caso.para) {
                servidor.desliga();
                rede.retoma();
            }
            r = teste::Termina(*p, 30000);
        }
        EXPECT_EQ(r.status, 3) << r.erro;
        EXPECT_LT(r.ms, 30000);
        // Not a case for support; the server's text only after, never a row of data.
        EXPECT_TRUE(r.erro.contains("\nA conexão com o servidor do banco de dados foi perdida. A "
                                    "operação foi desfeita") &&
                    !r.erro.contains("suporte técnico") && !r.erro.contains("CONTEXT"))
            << r.erro;
        if (caso.para)
            servidor.liga();
        EXPECT_EQ(Conteudo(servidor.url()), antes);
    }
}
