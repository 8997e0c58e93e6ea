// Two connections on one database as two programs would hold them: a write waits
// for the other's transaction, a single row included, and gives up in time.

#include "import/Importacao.h"
#include "store/Reservas.h"
#include "support/Retransmissor.h"
#include "support/ServidorTeste.h"
#include "support/Teste.h"

#include <QScopeGuard>
#include <QThread>

#include <optional>

#include <unistd.h>

using namespace vlme;

TEST(Vez, EscritaEsperaAOutraTerminarOuDesisteNoPrazo) {
    teste::BancoTeste primeiro;
    store::Banco segundo;
    primeiro.abreOutra(segundo);
    for (const bool sozinha : {true, false}) {
        SCOPED_TRACE(sozinha);
        std::optional<store::Transacao> outra(primeiro.banco());
        primeiro.banco().executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");
        int esperas = 0;
        segundo.defineEspera([&](qint64 ms) {
            if (ms >= 0 && ++esperas == 2) {
                outra->confirma();
                outra.reset();
            }
            return true;
        });
        if (sozinha) {
            segundo.executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");
        } else {
            store::Transacao t(segundo);
            segundo.executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");
            t.confirma();
        }
        EXPECT_GE(esperas, 2);
    }
    EXPECT_EQ(segundo.escalar("SELECT count(*) FROM VLME").toInt(), 4);

    store::Transacao presa(primeiro.banco());
    primeiro.banco().executa("DELETE FROM VLME");
    segundo.defineEspera({});
    segundo.defineLimiteEspera(200);
    const QString m =
        teste::MensagemDoErro<store::ErroBanco>([&] { segundo.executa("DELETE FROM VLME"); });
    EXPECT_TRUE(m.startsWith("Outro programa está gravando no banco de dados há mais de 1 segundo. "
                             "Nada foi gravado"))
        << m;
    // An import that waited in vain says so too, not that support must be called.
    base::ProgressoMudo progresso;
    const auto r = importacao::ImportaArquivo(segundo, progresso,
                                              teste::DadoTeste("importacao/duas_declaracoes.txt"));
    EXPECT_EQ(r.desfecho, importacao::Desfecho::Falha);
    EXPECT_EQ(r.mensagem, "Outro programa está gravando no banco de dados há mais de 1 segundo. "
                          "Nada foi gravado; repita a operação daqui a pouco.");
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(segundo.escalar("SELECT count(*) FROM VLME").toInt(), 4);
}

// A reservation refuses every other connection, naming who holds it; its
// holder may take it again; it goes when released or with the connection.
TEST(Vez, ReservaRecusaOsOutrosEMorreComAConexao) {
    teste::BancoTeste primeiro;
    store::Banco segundo;
    primeiro.abreOutra(segundo);
    const int n = teste::ConstrutorDeclaracao(primeiro.banco());
    const auto recusada = [&](store::Banco &banco) {
        return teste::MensagemDoErro<store::ErroReservada>([&] { store::Reserva r(banco, n); });
    };
    const QString livre = "<sem erro>";
    {
        store::Reserva minha(primeiro.banco(), n);
        EXPECT_EQ(recusada(primeiro.banco()), livre);
        EXPECT_TRUE(recusada(segundo).contains(" do usuário " + store::Titular::Este().usuario +
                                               " no computador "))
            << recusada(segundo);
    }
    store::Reserva dele(segundo, n);
    EXPECT_NE(recusada(primeiro.banco()), livre);
    segundo.fecha();
    EXPECT_EQ(recusada(primeiro.banco()), livre);
    if (primeiro.banco().servidor())
        return;
    // A link planted under the reservation's name, symbolic or hard, is put
    // aside: what it points to is never truncated nor written through.
    const QString pasta = QFileInfo(primeiro.banco().caminho()).absolutePath() + "/Reservas/";
    const QString alvo = QFileInfo(primeiro.banco().caminho()).absolutePath() + "/alvo.txt";
    const QString nome = pasta + QString("VLME%1").arg(n, 10, 10, QChar('0'));
    for (const bool simbolico : {true, false}) {
        QFile::remove(nome);
        teste::GravaBytes(alvo, "dados de outro");
        ASSERT_TRUE(simbolico ? QFile::link(alvo, nome)
                              : ::link(qPrintable(alvo), qPrintable(nome)) == 0);
        {
            store::Reserva minha(primeiro.banco(), n);
            primeiro.abreOutra(segundo);
            EXPECT_NE(recusada(segundo), livre);
            segundo.fecha();
        }
        EXPECT_EQ(teste::LeBytes(alvo), "dados de outro") << simbolico;
    }
}

// On the server a lost connection comes back with the next piece of work, and
// with the reservations it held, once its old session, never ended from here,
// lets them go (till then the work is refused, saying so); one another
// program took meanwhile refuses the work until its holder here lets go.
TEST(Vez, ConexaoPerdidaVoltaComAsReservas) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só a conexão com o servidor se perde e volta";
    qputenv("VLME_SILENCIO_SERVIDOR_MS", "500");
    const auto restaura = qScopeGuard([] { qunsetenv("VLME_SILENCIO_SERVIDOR_MS"); });
    const QString url = teste::NovoEsquemaServidor();
    teste::Retransmissor rede(url);
    store::Banco banco, outro;
    banco.abreServidor(rede.url());
    outro.abreServidor(url);
    const int n = teste::ConstrutorDeclaracao(banco).geral();
    const int m = teste::ConstrutorDeclaracao(banco).geral();
    const auto perde = [&] {
        rede.retemEm("VLME");
        EXPECT_THROW(banco.escalar("SELECT count(*) FROM VLME"), store::ErroBanco);
        rede.retoma();
    };
    auto minha = std::make_unique<store::Reserva>(banco, n);
    rede.retemEm("VLME");
    EXPECT_THROW(banco.escalar("SELECT count(*) FROM VLME"), store::ErroBanco);
    const auto retoma = [&] {
        return teste::MensagemDoErro<store::ErroRetomando>([&] { banco.retoma(); });
    };
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_TRUE(retoma().contains(
            QString("a sessão anterior deste programa no servidor ainda retém a declaração %1")
                .arg(n)));
    EXPECT_EQ(banco.reservas().pendentes(), 1);
    rede.retoma();
    EXPECT_TRUE(QTest::qWaitFor([&] { return retoma() == "<sem erro>"; }, 10000));
    EXPECT_EQ(banco.escalar("SELECT count(*) FROM VLME").toInt(), 2);
    EXPECT_THROW(store::Reserva(outro, n), store::ErroReservada);

    auto segunda = std::make_unique<store::Reserva>(banco, m);
    perde();
    // Once the server has seen the lost session go.
    std::optional<store::Reserva> dele;
    QElapsedTimer relogio;
    relogio.start();
    while (!dele && relogio.elapsed() < 10000) {
        try {
            dele.emplace(outro, m);
        } catch (const store::ErroReservada &) {
            QThread::msleep(50);
        }
    }
    ASSERT_TRUE(dele);
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_THROW(banco.escalar("SELECT count(*) FROM VLME"), store::ErroReservada);
    segunda.reset();
    EXPECT_EQ(banco.escalar("SELECT count(*) FROM VLME").toInt(), 2);
    EXPECT_THROW(store::Reserva(outro, n), store::ErroReservada);
}
