// vlme-cli as the company's systems run it: exact output and exit status; killed
// in the middle of a bulk command, a database that opens at once, whole statements.

#include "DeclaracaoMaxima.h"
#include "support/HistoricoExemplo.h"
#include "support/Teste.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSet>
#include <QSysInfo>

using namespace vlme;
using teste::Confere;
using teste::Execucao;
using teste::Roda;

namespace {

// `altera` run on the database of `pasta`, which vlme-cli makes on its first run.
void Altera(const teste::PastaTeste &pasta, const std::function<void(store::Banco &)> &altera) {
    if (teste::NoServidor() || !QFile::exists(pasta.arquivo("VLM.MDB"))) {
        const Execucao r = Roda(pasta.caminho(), {"listar"});
        ASSERT_EQ(QString::number(r.status) + r.erro, "0");
    }
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta.caminho());
    altera(banco);
}

} // namespace

TEST(Cli, AjudaEUsoErradoSemAbrirAPasta) {
    teste::PastaTeste pasta;
    Confere(pasta.caminho(), "cli/uso.txt");
    EXPECT_TRUE(QDir(pasta.caminho()).isEmpty());
}

// Which failures are found, and what is kept, is pinned where the folder is opened.
TEST(Cli, AberturaQueFalha) {
    teste::PastaTeste pasta;
    teste::GravaBytes(pasta.arquivo("VLM.MDB"), "isto nao e um banco");
    Confere(pasta.caminho(), "cli/banco_estranho.txt");
}

TEST(Cli, ConsultaGeraCopiaExcluiEImporta) {
    teste::PastaTeste pasta;
    Altera(pasta, [](store::Banco &b) {
        teste::ConstrutorDeclaracao(b).geral().modelo("Modelo A", 100.0).importadoDI("Tela", 1, 30);
        b.executa("INSERT INTO VLME (CODIGO_VLM, PESO_BRUTO_VLM) VALUES ('', 1)");
    });
    Confere(pasta.caminho(), "cli/declaracoes.txt", {"--pasta", pasta.caminho()});
    EXPECT_GT(QFileInfo(pasta.arquivo("Arquivos/VLME0000000001")).size(), 0);

    Altera(pasta, [](store::Banco &b) { b.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 8"); });
    Confere(pasta.caminho(), "cli/ja_transmitido.txt");
}

// The JSON documents carry the figures of the text, codes as strings.
TEST(Cli, JsonComOsNumerosDoTexto) {
    teste::PastaTeste pasta;
    Altera(pasta, [](store::Banco &b) {
        teste::ConstrutorDeclaracao(b)
            .geral(
                [](store::DadosGerais &d) { d.cnpj = teste::ConstrutorDeclaracao::CnpjFornecedor; })
            .modelo("Modelo A", 100.0)
            .importadoDI("Tela", 1, 30);
        b.executa("INSERT INTO VLME (CODIGO_VLM, CNPJ_VLM, PESO_BRUTO_VLM) VALUES ('', ?, 1)",
                  {"12ABC34501DE35"});
    });
    Confere(pasta.caminho(), "cli/json.txt", {"--pasta", pasta.caminho()});
}

// A deleted statement's history and the deletions, in the text at the user's
// local time (Manaus, four hours behind, no summer time) and in UTC in the
// JSON; a deletion by vlme-cli joins them, last in its statement's history.
TEST(Cli, HistoricoEExcluidas) {
    teste::PastaTeste pasta;
    int n = 0;
    Altera(pasta, [&](store::Banco &b) {
        teste::HistoricoExemplo(b);
        n = teste::ConstrutorDeclaracao(b).geral();
    });
    const QByteArray tz = qgetenv("TZ");
    const auto volta = qScopeGuard([&] { tz.isNull() ? qunsetenv("TZ") : qputenv("TZ", tz); });
    // Written as POSIX rules, which need no time-zone database on the machine.
    qputenv("TZ", "<-04>4");
    Confere(pasta.caminho(), "cli/historico.txt");

    ASSERT_EQ(Roda(pasta.caminho(), {"excluir", QString::number(n)}).status, 0);
    const auto json = [&](const QStringList &argumentos, const char *lista) {
        const Execucao r = Roda(pasta.caminho(), QStringList{"--json", "historico"} + argumentos);
        EXPECT_EQ(r.status, 0) << r.erro;
        return QJsonDocument::fromJson(r.saida.toUtf8())[QLatin1String(lista)].toArray();
    };
    const QJsonArray deN = json({QString::number(n)}, "historico");
    ASSERT_FALSE(deN.isEmpty());
    EXPECT_EQ(deN.first()["evento"].toString(), "excluida");
    EXPECT_EQ(deN.first()["numero"].toString(), QString::number(n));
    const QJsonArray excluidas = json({"--excluidas"}, "excluidas");
    ASSERT_EQ(excluidas.size(), 2);
    EXPECT_EQ(excluidas.at(0)["numero"].toString(), QString::number(n));
    EXPECT_EQ(excluidas.at(1)["numero"].toString(), QString::number(teste::NumeroExcluida));
}

// Content already imported is refused whatever its name; the record is added
// to a database made before it.
TEST(Cli, ImportarUmaVez) {
    teste::PastaTeste pasta;
    ASSERT_EQ(Roda(pasta.caminho(), {"listar"}).status, 0);
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta.caminho());
    if (!teste::NoServidor()) // the server's schema is never older than the program
        banco.executa("DROP TABLE IMPORTACAO");
    const std::string original =
        teste::LeBytes(teste::DadoTeste("importacao/duas_declaracoes.txt"));
    for (const auto &[nome, ppb] : {std::pair{"copia.txt", "PPB de telefones"},
                                    {"mudado.txt", "PPB de Telefones"},
                                    {"outro.txt", "PPB de TELEFONES"}})
        teste::GravaBytes(
            pasta.arquivo(nome),
            QByteArray::fromStdString(original).replace("PPB de telefones", ppb).toStdString());
    Confere(pasta.caminho(), "cli/uma_vez.txt", {"--pasta", pasta.caminho()});
    // A job and its retry at once: one imports, the other is refused.
    std::vector<std::unique_ptr<QProcess>> vezes;
    for (int i = 0; i < 2; ++i)
        vezes.push_back(
            teste::Inicia(pasta.caminho(), {"importar", "--uma-vez", pasta.arquivo("outro.txt")}));
    QList<int> status;
    for (auto &p : vezes)
        status << teste::Termina(*p).status;
    std::sort(status.begin(), status.end());
    EXPECT_EQ(status, QList<int>({0, 3}));
    if (!teste::NoServidor())
        EXPECT_EQ(banco.escalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(teste::Valores(banco, "SELECT NR_VLM_IMPORTACAO FROM IMPORTACAO ORDER BY 1"),
              "1;2;3;4;5;6;7;8");
}

TEST(Cli, CopiaDeSegurancaETabelas) {
    teste::PastaTeste pasta;
    Altera(pasta, [](store::Banco &b) {
        teste::ConstrutorDeclaracao(b).geral().modelo("Modelo A", 100.0);
    });
    Confere(pasta.caminho(), "cli/copia_tabelas.txt", {"--pasta", pasta.caminho()});
}

namespace {

// Every row of every statement, so a half statement or a stray row shows.
QStringList Retrato(const QString &pasta) {
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta);
    return teste::ConteudoBanco(banco);
}

// The test file's first statement grown to the largest number of models.
QByteArray ArquivoGrande() {
    const QList<QByteArray> linhas =
        QByteArray::fromStdString(
            teste::LeBytes(teste::DadoTeste("importacao/duas_declaracoes.txt")))
            .split('\n');
    QList<QByteArray> saida{linhas[0]};
    for (int i = 1; i <= bench::LinhasMaximas; ++i)
        saida << QByteArray(linhas[1])
                     .replace(1, 4, QByteArray::number(i).rightJustified(4, '0'))
                     .replace(5, 80, ("Modelo " + QByteArray::number(i)).leftJustified(80));
    saida += linhas.mid(3, linhas.size() - 5); // up to the trailer
    saida << "9" + QByteArray::number(saida.size() + 1).rightJustified(8, '0') + '\r';
    return saida.join('\n') + '\n';
}

// A data folder holding the largest statement, and that statement's file
// grown to the largest number of models beside it; returns the file.
QString PreparaGrande(const teste::PastaTeste &pasta) {
    const QString arquivo = pasta.arquivo("grande.txt");
    teste::GravaBytes(arquivo, ArquivoGrande().toStdString());
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta.caminho(), true);
    bench::CriaDeclaracaoMaxima(banco);
    return arquivo;
}

} // namespace

TEST(CliInterrompido, MortoNoMeioDeixaSoDeclaracoesInteiras) {
    teste::PastaTeste base;
    const QString arquivo = PreparaGrande(base);
    const QStringList antes = Retrato(base.caminho());
    for (const QStringList &comando :
         {QStringList{"importar", arquivo}, QStringList{"copiar", "1"}, {"excluir", "1"}}) {
        SCOPED_TRACE(comando.first().toStdString());
        const auto roda = [&](const teste::PastaTeste &pasta, qint64 matarEm = -1) {
            EXPECT_TRUE(QFile::copy(base.arquivo("VLM.MDB"), pasta.arquivo("VLM.MDB")));
            return Roda(pasta.caminho(), QStringList{"--pasta", pasta.caminho(), "--sim"} + comando,
                        matarEm);
        };
        teste::PastaTeste inteira;
        const Execucao completa = roda(inteira);
        ASSERT_EQ(completa.status, 0);
        const QStringList depois = Retrato(inteira.caminho());
        ASSERT_NE(antes, depois);
        int mortas = 0;
        for (const double fracao : {0.3, 0.5, 0.7, 0.9}) {
            teste::PastaTeste pasta;
            mortas += roda(pasta, qint64(completa.ms * fracao)).morta;
            // No wait on a lock.
            EXPECT_EQ(Roda(pasta.caminho(), {"--pasta", pasta.caminho(), "listar"}, 10000).status,
                      0);
            const QStringList agora = Retrato(pasta.caminho());
            EXPECT_TRUE(agora == antes || agora == depois) << agora.size() << " linhas";
        }
        EXPECT_GT(mortas, 0);
    }
}

// The window program and vlme-cli on one folder: a statement open in the window
// refuses only the writers of that statement, and only while the window lives.
TEST(Partilha, JanelaReservaSoADeclaracaoAbertaEEnquantoVive) {
    teste::PastaTeste pasta;
    Altera(pasta, [](store::Banco &b) {
        teste::ConstrutorDeclaracao(b).geral().modelo("Modelo A", 100.0).importadoDI();
        teste::ConstrutorDeclaracao(b).geral().modelo("Modelo B", 100.0).importadoDI();
    });
    const QStringList antes = Retrato(pasta.caminho());
    teste::ProgramaJanela janela(pasta.caminho(), 1);
    ASSERT_TRUE(janela.esperaReserva(1));

    EXPECT_EQ(Roda(pasta.caminho(), {"listar"}).status, 0);
    EXPECT_EQ(Roda(pasta.caminho(), {"verificar", "1"}).status, 0);
    // No delivery file from a statement being changed: who holds it is told.
    const Execucao gerada = Roda(pasta.caminho(), {"gerar", "1"});
    EXPECT_EQ(gerada.status, 4);
    EXPECT_TRUE(gerada.erro.startsWith("A declaração 1 está reservada pelo VLM-E do usuário ") &&
                gerada.erro.contains("o arquivo de entrega só é gerado"))
        << gerada.erro;
    EXPECT_EQ(Roda(pasta.caminho(), {"gerar", "2"}).status, 0);
    const Execucao importada =
        Roda(pasta.caminho(), {"importar", teste::DadoTeste("importacao/duas_declaracoes.txt")});
    EXPECT_EQ(importada.status, 0) << importada.erro;
    EXPECT_EQ(Roda(pasta.caminho(), {"excluir", "2"}).status, 0);

    const Execucao recusada = Roda(pasta.caminho(), {"excluir", "1"});
    EXPECT_EQ(recusada.status, 4);
    EXPECT_TRUE(recusada.erro.startsWith("A declaração 1 está reservada pelo VLM-E do usuário "))
        << recusada.erro;
    EXPECT_TRUE(recusada.erro.contains(QSysInfo::machineHostName())) << recusada.erro;
    const Execucao json = Roda(pasta.caminho(), {"--json", "diagnosticar", "1"});
    EXPECT_EQ(json.status, 4);
    const QJsonObject documento = QJsonDocument::fromJson(json.saida.toUtf8()).object();
    EXPECT_EQ(documento.value("status").toInt(), 4);
    EXPECT_EQ(documento.value("mensagem").toString() + '\n', recusada.erro);
    const QStringList entrega = {"registrar-entrega", "1", "77", "--recepcao",
                                 "05/01/2024 10:15:00"};
    const QStringList retido = Retrato(pasta.caminho());
    EXPECT_EQ(Roda(pasta.caminho(), entrega).status, 4);
    EXPECT_EQ(Retrato(pasta.caminho()), retido);
    EXPECT_EQ(Retrato(pasta.caminho()).filter("MODELOS").first(), antes.filter("MODELOS").first());

    janela.mata();
    // Let go, it is generated, and only then its receipt recorded.
    EXPECT_EQ(Roda(pasta.caminho(), {"gerar", "1"}, 10000).status, 0);
    const Execucao registrada = Roda(pasta.caminho(), QStringList{"--json"} + entrega, 10000);
    EXPECT_EQ(registrada.status, 0) << registrada.erro;
    EXPECT_EQ(QJsonDocument::fromJson(registrada.saida.toUtf8()).object(),
              QJsonObject({{"comando", "registrar-entrega"},
                           {"status", 0},
                           {"numero", "1"},
                           {"transmissao", "77"},
                           {"transmissaoAnterior", ""},
                           {"recepcao", "2024-01-05T10:15:00"}}))
        << registrada.saida.toStdString();
    const Execucao depois = Roda(pasta.caminho(), {"excluir", "1"}, 10000);
    EXPECT_EQ(depois.status, 0) << depois.erro;
    EXPECT_LT(depois.ms, 5000);
}

// Two imports of the largest statement and a copy, started together: each
// waits its turn, nothing is lost or numbered twice.
TEST(Partilha, EscritoresAoMesmoTempoEsperamAVez) {
    teste::PastaTeste pasta;
    const QString arquivo = PreparaGrande(pasta);
    std::vector<std::unique_ptr<QProcess>> processos;
    for (const QStringList &comando :
         {QStringList{"importar", arquivo}, QStringList{"importar", arquivo}, {"copiar", "1"}})
        processos.push_back(teste::Inicia(pasta.caminho(), comando));
    QStringList numeros;
    for (auto &p : processos) {
        const Execucao r = teste::Termina(*p);
        EXPECT_EQ(r.status, 0) << r.erro;
        numeros += r.saida.split('\n', Qt::SkipEmptyParts);
    }
    ASSERT_EQ(numeros.size(), 5);
    EXPECT_EQ(QSet<QString>(numeros.begin(), numeros.end()).size(), 5);

    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta.caminho());
    if (!banco.servidor()) {
        EXPECT_EQ(banco.escalar("PRAGMA integrity_check").toString(), "ok");
    }
    const auto conta = [&](const QString &tabela, const QString &coluna, const QString &n) {
        return teste::ContaLinhas(banco, tabela, coluna + " = ?", {n.toInt()});
    };
    // Per import: the grown statement, then the file's second one.
    for (int i : {0, 2}) {
        EXPECT_EQ(conta("MODELOS", "NR_VLM_MODELOS", numeros[i]), bench::LinhasMaximas);
        EXPECT_EQ(conta("COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO", numeros[i]),
                  conta("COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO", numeros[2 - i]));
        EXPECT_EQ(conta("MODELOS", "NR_VLM_MODELOS", numeros[i + 1]),
                  conta("MODELOS", "NR_VLM_MODELOS", numeros[3 - i]));
    }
    for (const auto &[tabela, coluna] : {std::pair{"MODELOS", "NR_VLM_MODELOS"},
                                         {"COMPONENTES_NACIONAIS", "NR_VLM_NACIONAL"},
                                         {"COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO"}})
        EXPECT_EQ(conta(tabela, coluna, numeros[4]), conta(tabela, coluna, "1")) << tabela;
}

// A delivery file generated while the test saves the same statement over and
// over holds one saved state: the product (read first) and every model (read
// by another query) of one version.
TEST(Partilha, ArquivoGeradoDuranteGravacaoTemUmSoEstado) {
    teste::PastaTeste pasta;
    ASSERT_EQ(Roda(pasta.caminho(), {"listar"}).status, 0);
    store::Banco banco;
    teste::AbreBancoDaPasta(banco, pasta.caminho());
    {
        teste::ConstrutorDeclaracao construtor(banco);
        construtor.geral().importadoDI();
        for (int i = 0; i < 400; ++i)
            construtor.modelo(QString("Versao 0 %1").arg(i), 10.0);
    }
    int versao = 0, misturados = 0, gerados = 0;
    for (int vez = 0; vez < 6; ++vez) {
        auto gerar = teste::Inicia(pasta.caminho(), {"gerar", "1"});
        while (!gerar->waitForFinished(1)) {
            store::Transacao t(banco);
            ++versao;
            banco.executa("UPDATE VLME SET DEN_PRODUTO_VLM = 'Versao ' || ? || ' produto'",
                          {versao});
            banco.executa("UPDATE MODELOS SET TX_DESCRICAO_MODELOS = 'Versao ' || ? || ' ' ||"
                          " NR_SQ_MODELOS",
                          {versao});
            t.confirma();
        }
        const Execucao r = teste::Termina(*gerar);
        ASSERT_EQ(r.status, 0) << r.erro;
        const QByteArray conteudo =
            QByteArray::fromStdString(teste::LeBytes(pasta.arquivo("Arquivos/VLME0000000001")));
        static const QRegularExpression modelo("Versao (\\d+) ");
        QSet<QString> versoes;
        for (auto it = modelo.globalMatch(QString::fromLatin1(conteudo)); it.hasNext();)
            versoes << it.next().captured(1);
        gerados += !versoes.isEmpty();
        misturados += versoes.size() > 1;
    }
    EXPECT_GT(versao, 6); // the saves did run during the generations
    EXPECT_EQ(gerados, 6);
    EXPECT_EQ(misturados, 0);
}
