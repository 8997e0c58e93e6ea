// The team database failing under vlme-cli: the server stopped, or the network
// gone silent, while a statement is being written. Each test runs a server of
// its own, which it stops and starts again.

#include "store/Reservas.h"
#include "support/Retransmissor.h"
#include "support/Teste.h"

#include <QScopeGuard>
#include <QUrl>

#include <unistd.h>

using namespace vlme;
using teste::Execucao;
using teste::Roda;

namespace {

// Rows per table: the server has none of the tests' SQLite look-alikes.
QList<int> Conteudo(const QString &url) {
    store::Banco banco;
    banco.abreServidor(url);
    QList<int> linhas;
    for (const char *tabela : {"VLME", "MODELOS", "COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS",
                               "IMPORTACAO", "HISTORICO"})
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
                             Caso{{"restaurar", copia}, "COPY MODELOS", true},
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

// Clerk A's connection drops; clerk B, on the same role or on a role of his
// own, gets the process number A's lost session had. A's reconnection must
// not end B's session, and B keeps the statement it holds.
TEST(ServidorFalha, ReconexaoNaoEncerraASessaoDeOutroComONumeroReusado) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "forçar o número de processo (ns_last_pid) exige root";
    teste::ServidorProprio servidor;
    // The owner makes the schema; A is a clerk of the recipe, B the same
    // clerk elsewhere or another one.
    store::Banco olha;
    olha.abreServidor(servidor.url());
    for (const char *papel : {"ana", "bruno"}) {
        SCOPED_TRACE(papel);
        QUrl deB(teste::ComPapel(servidor.url(), papel));
        teste::Retransmissor rede(teste::ComPapel(servidor.url(), teste::PapelEscrivao));
        store::Banco a, b;
        a.abreServidor(rede.url());
        const int n = teste::ConstrutorDeclaracao(a).geral(),
                  m = teste::ConstrutorDeclaracao(a).geral();
        store::Reserva deA(a, n);
        const qint64 antigo = a.escalar("SELECT pg_backend_pid()").toLongLong();
        rede.fecha();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return olha.escalar("SELECT count(*) FROM pg_stat_activity WHERE pid = ?", {antigo})
                           .toInt() == 0;
            },
            10000));
        const auto numero = [](store::Banco &x) {
            return x.aberto() ? x.escalar("SELECT pg_backend_pid()").toLongLong() : 0;
        };
        for (int vez = 0; vez < 200 && numero(b) != antigo; ++vez) {
            QFile ultimo("/proc/sys/kernel/ns_last_pid");
            if (!ultimo.open(QIODevice::WriteOnly))
                GTEST_SKIP() << "ns_last_pid não pode ser escrito";
            ultimo.write(QByteArray::number(antigo - 1));
            ultimo.close();
            b.abreServidor(deB.toString());
        }
        if (numero(b) != antigo)
            GTEST_SKIP() << "o número " << antigo << " não voltou em 200 tentativas";
        store::Reserva reservaDeB(b, m);

        EXPECT_TRUE(a.confereConexao());
        a.retoma();
        EXPECT_EQ(a.reservas().pendentes(), 0);
        EXPECT_EQ(numero(b), antigo);
        EXPECT_THROW(store::Reserva(olha, m), store::ErroReservada);
        EXPECT_THROW(store::Reserva(olha, n), store::ErroReservada);
    }
}

// The server restarts while the window program holds a statement: it holds
// it again within seconds, with nobody touching it, and vlme-cli is refused.
TEST(ServidorFalha, ReiniciadoAJanelaRetomaAReservaSozinha) {
    teste::ServidorProprio servidor;
    teste::PastaTeste pasta;
    const QStringList banco{"--banco", servidor.url()};
    ASSERT_EQ(
        Roda(pasta.caminho(),
             banco + QStringList{"importar", teste::DadoTeste("importacao/duas_declaracoes.txt")})
            .status,
        0);
    teste::ProgramaJanela janela(pasta.caminho(), 1, servidor.url());
    ASSERT_TRUE(janela.esperaReserva(1));
    servidor.reinicia();
    QElapsedTimer relogio;
    relogio.start();
    EXPECT_TRUE(janela.esperaReserva(1, 10000));
    EXPECT_LT(relogio.elapsed(), 10000);
    const Execucao r = Roda(pasta.caminho(), banco + QStringList{"excluir", "1"});
    EXPECT_EQ(r.status, 4) << r.erro;
    EXPECT_TRUE(
        r.erro.contains("reservada pelo VLM-E do usuário " + store::Titular::Este().usuario))
        << r.erro;
}

// The server's answer to the import's COMMIT is lost: vlme-cli finds out
// what was stored and says so with the numbers; when it cannot know, it says
// that (exit 5), and a repeat with --uma-vez never makes a second copy.
TEST(ServidorFalha, RespostaDoCommitPerdidaConfereOQueFoiGravado) {
    teste::ServidorProprio servidor;
    teste::PastaTeste pasta;
    const QString texto = teste::DadoTeste("importacao/duas_declaracoes.txt");
    // The same statements in other bytes: another content for --uma-vez.
    const QString lf = pasta.arquivo("lf.txt");
    QFile original(texto), copia(lf);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && copia.open(QIODevice::WriteOnly));
    copia.write(original.readAll().replace("\r\n", "\n"));
    copia.close();
    const auto importa = [&](const QString &url, const QString &arquivo) {
        return Roda(pasta.caminho(), {"--banco", url, "importar", "--uma-vez", arquivo}, 60000);
    };
    const auto conta = [&] { return Conteudo(servidor.url()).first(); };
    ASSERT_EQ(Roda(pasta.caminho(), {"--banco", servidor.url(), "listar"}).status, 0);
    {
        teste::Retransmissor rede(servidor.url());
        rede.perdeRespostaDe("COMMIT", "INSERT INTO IMPORTACAO");
        const Execucao r = importa(rede.url(), texto);
        EXPECT_EQ(r.status, 0) << r.erro;
        EXPECT_EQ(r.saida, "1\n2\n");
        EXPECT_TRUE(r.erro.contains("conferido depois, a importação foi gravada: 1, 2.")) << r.erro;
    }
    EXPECT_EQ(importa(servidor.url(), texto).status, 3);
    EXPECT_EQ(conta(), 2);
    {
        qputenv("VLME_SILENCIO_SERVIDOR_MS", "1500");
        const auto restaura = qScopeGuard([] { qunsetenv("VLME_SILENCIO_SERVIDOR_MS"); });
        teste::Retransmissor rede(servidor.url());
        rede.retemEm("COMMIT", "INSERT INTO IMPORTACAO");
        const Execucao r = importa(rede.url(), lf);
        EXPECT_EQ(r.status, 5) << r.erro;
        EXPECT_TRUE(r.erro.contains("não se sabe se a operação foi gravada")) << r.erro;
        EXPECT_FALSE(r.erro.contains("desfeita")) << r.erro;
        // The COMMIT reaches the server after all.
        rede.retoma();
        QTest::qWait(500);
    }
    const Execucao repete = importa(servidor.url(), lf);
    EXPECT_EQ(repete.status, 3) << repete.erro;
    EXPECT_EQ(conta(), 4);
    // One history row for each statement stored, none for what was not.
    EXPECT_EQ(Conteudo(servidor.url()).last(), 4);
}
