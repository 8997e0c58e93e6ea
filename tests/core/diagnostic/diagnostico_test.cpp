// Each answer of data/diagnostico/casos.txt through the exchange and vlme-cli:
// messages, what is stored, which files go; after a failure another request.

#include "diagnostic/Troca.h"
#include "shell/Inicializacao.h"
#include "support/ServidorDiagnostico.h"
#include "support/Teste.h"

#include <QDirIterator>
#include <QNetworkAccessManager>

using namespace vlme;
const QByteArray Pedido =
    "POST /scripts/fisco/vlme/diagnostico_vlme.asp HTTP/1.1 NR_TRANSMISSAO_VLM:4321";

namespace {

// A case's directives by key, each key's values in the file's order.
struct Caso : QMap<QString, QStringList> {
    QString operator()(const QString &chave, const QString &padrao = {}) const {
        return value(chave, {padrao}).join(';');
    }
};

QList<Caso> Casos() {
    QList<Caso> casos;
    for (const QStringList &l : teste::Casos("diagnostico.txt")) {
        if (l[0] == "==")
            casos.append(Caso());
        casos.last()[l[0]] << l.mid(1).join('\t').replace("\\r\\n", "\r\n");
    }
    for (Caso &c : casos)
        if (c.contains(">"))
            c["corpo"] = {c(">") + ';'};
    EXPECT_EQ(casos.size(), 29);
    return casos;
}

// A new database under `pasta` made by the cases' "comum" and `c`; the
// answer `c` scripts.
void Prepara(const QString &pasta, const Caso &comum, const Caso &c,
             teste::ServidorDiagnostico &servidor) {
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta, true);
    for (const QString &sql : comum["sql"] + c["sql"])
        banco.executa(sql);
    for (const QString &nome : comum["arquivo"]) {
        QDir(pasta).mkpath("Arquivos/" + QFileInfo(nome).path());
        teste::GravaBytes(pasta + "/Arquivos/" + nome, "x");
    }
    const QString modo = c("modo");
    servidor.responde(modo == "grande"  ? QByteArray(1100 * 1024, 'a')
                      : modo == "longa" ? QByteArray(3000, 'x')
                                        : c("corpo").toUtf8().replace("\\0", {"\0", 1}),
                      c("status", "200").toInt());
}

// The rows of the "comum" queries and the files left, as the cases expect them.
QStringList Estado(store::Banco &banco, const QString &pasta, const Caso &comum) {
    QStringList estado, arquivos;
    for (const char *consulta : {"vlme", "erro", "di"})
        estado << teste::Valores(banco, comum(consulta));
    for (QDirIterator it(pasta + "/Arquivos", QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        arquivos << it.next().mid(pasta.size() + 10);
    arquivos.sort();
    return estado << arquivos.join(',');
}

} // namespace

TEST(Diagnostico, CadaRespostaPelaTrocaEPeloVlmeCli) {
    teste::ServidorDiagnostico servidor;
    QNetworkAccessManager rede;
    qputenv("VLME_TIQUE_DIAGNOSTICO_MS", "250"); // vlme-cli's too
    const QList<Caso> casos = Casos();
    for (const Caso &c : casos.mid(1)) {
        SCOPED_TRACE(c("==").toStdString());
        teste::PastaTeste janela, cli;
        Prepara(janela.caminho(), casos[0], c, servidor);
        const qsizetype antes = servidor.pedidos.size();
        store::Banco banco;
        teste::AbreBancoDaPasta(banco, janela.caminho());
        teste::UsuarioRoteirizado usuario;
        diagnostic::Troca troca(banco, janela.caminho(),
                                shell::EscolheURLDiagnostico(servidor.host()), usuario, rede);
        std::optional<diagnostic::Resultado> r;
        troca.aoTerminar = [&](const diagnostic::Resultado &fim) { r = fim; };
        QTimer tempo;
        QObject::connect(&tempo, &QTimer::timeout, &troca, &diagnostic::Troca::tique);
        tempo.start(50);
        if (troca.inicia(1))
            QTest::qWaitFor([&] { return r.has_value(); }, 20000);
        EXPECT_EQ(usuario.resumos(), c["msg"]);
        EXPECT_EQ(Estado(banco, janela.caminho(), casos[0]),
                  QStringList({c("vlme"), c("erro"), c("di"), c("arquivos")}));
        if (const QString h = c("historico", "?"); h != "?")
            EXPECT_EQ(teste::Valores(banco, "SELECT TX_DETALHE_HISTORICO FROM HISTORICO"
                                            " WHERE TX_EVENTO_HISTORICO = 'diagnostico'"),
                      h);
        ASSERT_EQ(servidor.pedidos.size() - antes, c("pedidos", "1").toInt());
        EXPECT_EQ(servidor.pedidos.value(antes, Pedido), Pedido);
        if (r && r->desfecho == diagnostic::Desfecho::SemResposta) {
            servidor.responde("31   0000000000Aviso;");
            r.reset();
            ASSERT_TRUE(troca.inicia(1));
            QTest::qWaitFor([&] { return r.has_value(); }, 20000);
            EXPECT_EQ(r->desfecho, diagnostic::Desfecho::ComAvisos);
        }

        // vlme-cli: information and the listing on standard output, failures on standard error.
        QString saida, erro;
        for (QString m : c["msg"])
            (m.startsWith('i') ? saida : erro) += m.section('|', 2).replace("\r\n", "\n") + '\n';
        for (const QString &l : c["lista"])
            saida += l + '\n';
        Prepara(cli.caminho(), casos[0], c, servidor);
        const teste::Execucao e =
            teste::Roda(cli.caminho(), {"--url-diagnostico", servidor.host(), "diagnosticar", "1"});
        EXPECT_EQ(QStringList({QString::number(e.status), e.saida, e.erro}),
                  QStringList({c("saida"), saida, erro}));
    }
}

// diagnosticar --json on hand-typed transcripts: a registration, and errors.
TEST(Diagnostico, JsonDoVlmeCli) {
    teste::ServidorDiagnostico servidor;
    qputenv("VLME_TIQUE_DIAGNOSTICO_MS", "250");
    const QList<Caso> casos = Casos();
    for (const auto &[caso, transcricao] :
         {std::pair{"registro", "cli/diagnosticar_registro.txt"},
          {"erros e avisos, linhas estranhas puladas", "cli/diagnosticar_erros.txt"}}) {
        teste::PastaTeste pasta;
        Prepara(pasta.caminho(), casos[0],
                *std::find_if(casos.begin(), casos.end(),
                              [&](const Caso &c) { return c("==") == caso; }),
                servidor);
        teste::Confere(pasta.caminho(), transcricao,
                       {"--pasta", pasta.caminho(), "--url-diagnostico", servidor.host()});
    }
}
