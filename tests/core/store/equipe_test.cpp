// The team database as an office sets it up: the README's recipe (the test
// server is made by it), each role of it at work, each failure to open told
// by its cause, and a password never shown nor kept.

#include "shell/BancoEquipe.h"
#include "store/Reservas.h"
#include "store/servidor/UrlServidor.h"
#include "support/Teste.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

using namespace vlme;
using teste::Execucao;
using teste::Roda;

namespace {

const QString Aviso = "Aviso: o endereço do banco da equipe traz uma senha";

QString Porta(const QString &url) {
    return "127.0.0.1:" + QString::number(QUrl(url).port());
}

// vlme-cli on the server at `url`, in a folder of its own.
Execucao NoServidor(const QString &url, const QStringList &comando) {
    teste::PastaTeste pasta;
    return Roda(pasta.caminho(), QStringList{"--banco", url} + comando);
}

} // namespace

// Every form a password takes is cut from what is shown or kept
// (data/casos/senhas_url.tsv).
TEST(Equipe, SenhaNuncaMostradaNemGuardada) {
    teste::PastaTeste pasta;
    const QString ini = pasta.arquivo("banco.ini");
    for (const QStringList &c : teste::Casos("senhas_url.tsv")) {
        const QString &url = c[0], &visivel = c[1];
        EXPECT_EQ(store::servidor::URLVisivel(url), visivel);
        EXPECT_EQ(store::servidor::TemSenha(url), url != visivel) << url;
        shell::BancoLembrado(ini).lembra(url);
        EXPECT_EQ(shell::BancoLembrado(ini).url(), visivel);
        EXPECT_EQ(teste::LeBytes(ini).find("gredo"), std::string::npos) << url;
    }
}

// Each failure to open (data/casos/falhas_abertura.tsv) says what is wrong
// with the address or why the server refused it; the warning about a
// password comes once, and the password never.
TEST(Equipe, CadaFalhaDeAberturaDizACausa) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só no servidor";
    const QString p = Porta(qEnvironmentVariable("VLME_TESTE_URL"));
    teste::ServidorProprio ssl(true);
    const QString s = Porta(ssl.url());
    for (QStringList c : teste::Casos("falhas_abertura.tsv")) {
        c.replaceInStrings("{P}", p).replaceInStrings("{SP}", s.section(':', 1));
        c.replaceInStrings("{C}", ssl.certificado());
        c.replaceInStrings("{N}", "\" não é um endereço do banco da equipe: ");
        const QString &url = c[0];
        const bool abriria = c[2] == "1";
        SCOPED_TRACE(url.toStdString());
        const Execucao r = NoServidor(url, {"--json", "listar"});
        EXPECT_EQ(r.status, 3);
        const bool senha = url.contains("segredo");
        EXPECT_EQ(r.erro.count(Aviso), senha ? 1 : 0) << r.erro;
        const QString mensagem = senha ? r.erro.section('\n', 1) : r.erro;
        const QString inicio = abriria ? "Não foi possível abrir o banco de dados do servidor " +
                                             store::servidor::URLVisivel(url) + ": " + c[1]
                                       : c[1];
        EXPECT_TRUE(mensagem.startsWith(inicio)) << mensagem;
        EXPECT_EQ(mensagem.contains("\n\nDetalhe técnico: "), abriria);
        const QString json =
            QJsonDocument::fromJson(r.saida.toUtf8()).object().value("mensagem").toString();
        EXPECT_EQ(json + '\n', mensagem);
        EXPECT_FALSE((r.erro + r.saida).contains("segredo"));
    }
    // The same server, its certificate's name and authority: the owner's
    // first start makes the tables, and the clerk works on them.
    const QString certo = "@" + s + "/vlme?sslmode=verify-full&sslrootcert=" + ssl.certificado();
    EXPECT_EQ(NoServidor("postgresql://vlme_dono" + certo, {"listar"}).status, 0);
    EXPECT_EQ(NoServidor("postgresql://ana" + certo, {"listar"}).status, 0);
}

// The recipe in the README is the one the test server was made by; its
// clerks and the company's service account run every command with the
// rights it gives, and a role short of one is told which.
TEST(Equipe, ReceitaDoManualBastaAEscrivaesEAoServico) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só no servidor";
    QFile receita(QStringLiteral(VLME_SERVIDOR_TESTE).section('/', 0, -2) + "/equipe.sql");
    QFile leiame(QStringLiteral(VLME_SERVIDOR_TESTE).section('/', 0, -3) + "/README.md");
    ASSERT_TRUE(receita.open(QIODevice::ReadOnly) && leiame.open(QIODevice::ReadOnly));
    EXPECT_TRUE(leiame.readAll().contains("```sql\n" + receita.readAll() + "```\n"));
    const QString url = teste::NovoEsquemaServidor();
    for (const char *papel : {"bruno", teste::PapelServico}) {
        SCOPED_TRACE(papel);
        teste::PastaTeste pasta;
        const QString seu = teste::ComPapel(teste::NovoEsquemaServidor(), papel);
        for (QStringList comando : teste::Casos("comandos_papeis.tsv")) {
            comando.replaceInStrings("{D}", teste::DadoTeste("")).replaceInStrings("{U}", seu);
            comando.replaceInStrings("{P}", pasta.caminho());
            const Execucao r = Roda(pasta.caminho(), QStringList{"--banco", seu} + comando);
            // No diagnostic server answers: that is told apart from a right missing.
            EXPECT_TRUE(r.status <= 1 || comando[0] == "--url-diagnostico")
                << comando.join(' ') << ": " << r.status << r.erro;
            EXPECT_FALSE(r.erro.contains("permissão") || r.erro.contains("direito")) << r.erro;
        }
    }

    store::Banco dono;
    dono.abreServidor(teste::ComPapel(url, teste::PapelDono));
    dono.executa("REVOKE UPDATE ON VLME FROM vlme_equipe");
    const Execucao sem = NoServidor(url, {"listar"});
    EXPECT_EQ(sem.status, 3);
    EXPECT_TRUE(sem.erro.contains(": o usuário \"ana\" do servidor não tem o direito UPDATE na "
                                  "tabela VLME. Peça ao administrador"))
        << sem.erro;

    // An empty database: only its owner makes the tables; a clerk's start
    // leaves it empty.
    const QString vazio = teste::NovoEsquemaServidor(true);
    const Execucao primeiro = NoServidor(teste::ComPapel(vazio, "ana"), {"listar"});
    EXPECT_EQ(primeiro.status, 3);
    EXPECT_TRUE(primeiro.erro.contains(": o banco de dados está vazio, e o usuário \"ana\" não "
                                       "pode criar nele as tabelas do VLM-E"))
        << primeiro.erro;
    store::Banco banco;
    banco.abreServidor(vazio);
    EXPECT_EQ(NoServidor(teste::ComPapel(vazio, "ana"), {"listar"}).status, 0);
}

// The holder rows of reservations whose session ended go with the next
// reservation, whichever statement they were for.
TEST(Equipe, ReservasDeSessoesAcabadasSaem) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "só no servidor";
    teste::BancoTeste base;
    store::Banco &banco = base.banco();
    const int a = teste::ConstrutorDeclaracao(banco).geral();
    const int b = teste::ConstrutorDeclaracao(banco).geral();
    {
        store::Banco outro;
        base.abreOutra(outro);
        store::Reserva dele(outro, a);
    }
    const auto soAMinha = [&] {
        store::Reserva minha(banco, b);
        return teste::ContaLinhas(banco, "RESERVA_VLME") == 1;
    };
    EXPECT_TRUE(QTest::qWaitFor(soAMinha, 5000));
}
