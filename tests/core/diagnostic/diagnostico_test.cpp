// The diagnostic exchange against the stand-in server, each answer of
// data/diagnostico/casos.txt through the exchange and through vlme-cli:
// the messages, what is stored, what is kept, which files go.

#include "diagnostic/Troca.h"
#include "shell/Inicializacao.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/ServidorDiagnostico.h"
#include "support/UsuarioRoteirizado.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

struct Caso {
    QString nome, modo, vlme, erro, di, arquivos;
    QByteArray corpo;
    int status = 200, saida = -1;
    QStringList mensagens, lista;
};

QString desescapa(QString t) {
    return t.replace("\\r\\n", "\r\n");
}

QList<Caso> Casos() {
    QList<Caso> casos;
    const QString texto =
        QString::fromStdString(teste::LeBytes(teste::DadoTeste("diagnostico/casos.txt")));
    for (const QString &bloco : texto.split("\n== ").mid(1)) {
        QStringList linhas = bloco.split('\n');
        Caso c;
        c.nome = linhas.takeFirst();
        for (const QString &l : linhas) {
            const QString chave = l.section(' ', 0, 0), valor = l.section(' ', 1);
            if (chave == ">")
                c.corpo += valor.toUtf8() + ';';
            else if (chave == "corpo")
                c.corpo = desescapa(valor).toUtf8().replace("\\0", QByteArray(1, '\0'));
            else if (chave == "status")
                c.status = valor.toInt();
            else if (chave == "modo")
                c.modo = valor;
            else if (chave == "msg")
                c.mensagens << desescapa(valor);
            else if (chave == "lista")
                c.lista << valor;
            else if (chave == "saida")
                c.saida = valor.toInt();
            else if (chave == "vlme" || chave == "erro" || chave == "di" || chave == "arquivos")
                (chave == "vlme"   ? c.vlme
                 : chave == "erro" ? c.erro
                 : chave == "di"   ? c.di
                                   : c.arquivos) = valor;
        }
        casos << c;
    }
    EXPECT_EQ(casos.size(), 19);
    return casos;
}

void Prepara(teste::ServidorDiagnostico &servidor, const Caso &c) {
    servidor.modo = c.modo == "fecha"   ? teste::ServidorDiagnostico::Modo::Fecha
                    : c.modo == "nunca" ? teste::ServidorDiagnostico::Modo::Nunca
                                        : teste::ServidorDiagnostico::Modo::Responde;
    QByteArray corpo = c.corpo;
    if (c.modo == "grande")
        corpo = QByteArray(1100 * 1024, 'a');
    else if (c.modo == "longa")
        corpo = QByteArray(3000, 'x');
    if (servidor.modo == teste::ServidorDiagnostico::Modo::Responde)
        servidor.responde(corpo, c.status);
}

// Statement 1 as casos.txt describes it.
int Declaracao(store::Banco &banco, const QString &pasta) {
    const int n = teste::ConstrutorDeclaracao(banco)
                      .geral()
                      .modelo("M", 1.0)
                      .nacional()
                      .importadoDI()
                      .subcomponente(1, "Sub", 1, 5.0);
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 4321, NR_ARQUIVO_VLM = 7");
    banco.executa("INSERT INTO ERRO VALUES (?, 'Erro anterior', 'DADOS GERAIS', '-', '1')", {n});
    QDir(pasta).mkpath("Arquivos/112223330001");
    for (const char *nome : {"VLME0007.Z1A", "VLME0007.z1b", "VLME0007.Z1", "VLME0007.Z1AB",
                             "VLME0008.Z1A", "VLME0070.Z1A", "XVLME0007.Z1A"})
        teste::GravaBytes(pasta + "/Arquivos/112223330001/" + nome, "x");
    teste::GravaBytes(pasta + "/Arquivos/VLME0007.Z1A", "x");
    return n;
}

QString Arquivos(const QString &pasta) {
    QStringList nomes;
    QDirIterator it(pasta + "/Arquivos", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        nomes << QDir(pasta + "/Arquivos").relativeFilePath(it.next());
    nomes.sort();
    return nomes.join(',');
}

// The statement's stored answer, as casos.txt writes it.
QStringList Estado(store::Banco &banco, const QString &pasta) {
    return {teste::Valores(banco, "SELECT CODIGO_VLM, RAZAO_SOCIAL_VLM, DT_REGISTRO_VLM,"
                                  " NR_TRANSMISSAO_VLM FROM VLME"),
            teste::Valores(banco, "SELECT DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO, TIPO_ERRO"
                                  " FROM ERRO ORDER BY rowid"),
            teste::Valores(banco, "SELECT DESCRICAO_DI FROM DI WHERE DESCRICAO_DI IS NOT NULL"),
            Arquivos(pasta)};
}

// Runs one request to its end in a local loop, the timer ticking fast.
diagnostic::Resultado Pede(diagnostic::Troca &troca, int n) {
    QEventLoop laco;
    diagnostic::Resultado fim;
    fim.desfecho = diagnostic::Desfecho::NaoTransmitido;
    troca.aoTerminar = [&](const diagnostic::Resultado &r) {
        fim = r;
        laco.quit();
    };
    QTimer tempo;
    QObject::connect(&tempo, &QTimer::timeout, &troca, &diagnostic::Troca::tique);
    tempo.start(2);
    QTimer::singleShot(20000, &laco, &QEventLoop::quit);
    if (troca.inicia(n))
        laco.exec();
    return fim;
}

} // namespace

TEST(Diagnostico, CadaRespostaDoServidor) {
    teste::ServidorDiagnostico servidor;
    QNetworkAccessManager rede;
    for (const Caso &c : Casos()) {
        SCOPED_TRACE(c.nome.toStdString());
        teste::BancoTeste b;
        const int n = Declaracao(b.banco(), b.pasta());
        teste::UsuarioRoteirizado usuario;
        diagnostic::Troca troca(b.banco(), b.pasta(), shell::EscolheURLDiagnostico(servidor.host()),
                                usuario, rede);
        Prepara(servidor, c);
        const auto r = Pede(troca, n);
        EXPECT_EQ(usuario.resumos(), c.mensagens);
        EXPECT_EQ(Estado(b.banco(), b.pasta()), QStringList({c.vlme, c.erro, c.di, c.arquivos}));
        EXPECT_EQ(r.listar, !c.lista.isEmpty());
        EXPECT_FALSE(troca.aguardando());
        ASSERT_FALSE(servidor.pedidos.isEmpty());
        EXPECT_EQ(servidor.pedidos.last().linhaInicial,
                  "POST /scripts/fisco/vlme/diagnostico_vlme.asp HTTP/1.1");
        EXPECT_EQ(servidor.pedidos.last().corpo, "NR_TRANSMISSAO_VLM:4321");
        if (c.saida != 3 || c.vlme.endsWith("-1"))
            continue;
        // Whatever went wrong, the next request goes through.
        servidor.modo = teste::ServidorDiagnostico::Modo::Responde;
        servidor.responde("31   0000000000Aviso;");
        EXPECT_EQ(Pede(troca, n).desfecho, diagnostic::Desfecho::ComAvisos);
    }
}

TEST(Diagnostico, SemTransmissaoNadaEPedidoEOTempoNaoCorre) {
    teste::ServidorDiagnostico servidor;
    QNetworkAccessManager rede;
    teste::BancoTeste b;
    const int n = teste::ConstrutorDeclaracao(b.banco()).geral();
    teste::UsuarioRoteirizado usuario;
    diagnostic::Troca troca(b.banco(), b.pasta(), servidor.host(), usuario, rede);
    for (const int t : {0, -1}) {
        b.banco().executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?", {t});
        EXPECT_FALSE(troca.inicia(n));
        for (int i = 0; i < 25; ++i)
            troca.tique();
    }
    EXPECT_EQ(usuario.resumos(), QStringList(2, "i|ATENÇÃO!|VLM-E ainda não transmitido"));
    EXPECT_TRUE(servidor.pedidos.isEmpty());
}

// Only "VLME" + the file number in four digits + ".Z1" + one character, and
// only in the statement's own folder.
TEST(Diagnostico, RemocaoSoDosArquivosDaPropriaDeclaracao) {
    const struct {
        const char *cnpj;
        int arquivo;
        const char *restam;
    } casos[] = {
        {"11222333000181", 7, "VLME0007.Z1,VLME0007.Z1AB,VLME007.Z1A,VLME0070.Z1A"},
        {"11222333000181", 70, "VLME0007.Z1,VLME0007.Z1A,VLME0007.Z1AB,VLME007.Z1A"},
        {"11222333000181", -7, "VLME0007.Z1,VLME0007.Z1A,VLME0007.Z1AB,VLME007.Z1A,VLME0070.Z1A"},
        {"11222333000181", 70007,
         "VLME0007.Z1,VLME0007.Z1A,VLME0007.Z1AB,VLME007.Z1A,VLME0070.Z1A"},
        {"../../11.222.333/0001-81", 7, "VLME0007.Z1,VLME0007.Z1AB,VLME007.Z1A,VLME0070.Z1A"},
    };
    for (const auto &c : casos) {
        teste::BancoTeste b;
        const int n = teste::ConstrutorDeclaracao(b.banco());
        b.banco().executa("UPDATE VLME SET CNPJ_VLM = ?, NR_ARQUIVO_VLM = ?", {c.cnpj, c.arquivo});
        QDir(b.pasta()).mkpath("Arquivos/112223330001");
        for (const char *nome :
             {"VLME0007.Z1A", "VLME0007.Z1", "VLME0007.Z1AB", "VLME0070.Z1A", "VLME007.Z1A"})
            teste::GravaBytes(b.pasta() + "/Arquivos/112223330001/" + nome, "x");
        diagnostic::RemoveArquivosEntrega(b.banco(), b.pasta(), n);
        EXPECT_EQ(QDir(b.pasta() + "/Arquivos/112223330001").entryList(QDir::Files).join(','),
                  QString(c.restam))
            << c.cnpj << ' ' << c.arquivo;
    }
}

namespace {

// vlme-cli with the event loop running, so the stand-in server answers.
std::tuple<int, QString, QString> RodaCli(const QString &pasta, const QString &host,
                                          const QStringList &argumentos) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("VLME_PASTA", pasta);
    ambiente.insert("VLME_URL_DIAGNOSTICO", host);
    ambiente.insert("VLME_TIQUE_DIAGNOSTICO_MS", "5");
    p.setProcessEnvironment(ambiente);
    QEventLoop laco;
    QObject::connect(&p, &QProcess::finished, &laco, &QEventLoop::quit);
    QTimer::singleShot(60000, &laco, &QEventLoop::quit);
    p.start(VLME_CLI, argumentos);
    p.closeWriteChannel();
    laco.exec();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Diagnostico, VlmeCliDiagnosticar) {
    teste::ServidorDiagnostico servidor;
    for (const Caso &c : Casos()) {
        SCOPED_TRACE(c.nome.toStdString());
        teste::PastaTeste pasta;
        {
            store::Banco banco;
            banco.cria(pasta.arquivo("VLM.MDB"));
            banco.abre(pasta.arquivo("VLM.MDB"));
            Declaracao(banco, pasta.caminho());
        }
        Prepara(servidor, c);
        // Information on standard output, with the listing; failures on standard error.
        QString saida, erro;
        for (QString m : c.mensagens)
            (m.startsWith('i') ? saida : erro) += m.section('|', 2).replace("\r\n", "\n") + '\n';
        for (const QString &l : c.lista)
            saida += l + '\n';
        EXPECT_EQ(RodaCli(pasta.caminho(), servidor.host(), {"diagnosticar", "1"}),
                  std::tuple(c.saida, saida, erro));
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        EXPECT_EQ(Estado(banco, pasta.caminho()).mid(0, 2), QStringList({c.vlme, c.erro}));
    }
}
