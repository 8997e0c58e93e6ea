#include "support/Processos.h"

#include "store/Banco.h"
#include "store/Reservas.h"
#include "support/Arquivos.h"
#include "support/ServidorTeste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTest>

#include <gtest/gtest.h>

namespace vlme::teste {

namespace {

// The schema of `pasta` on the server run, made on first use; empty otherwise.
QString URLDaPasta(const QString &pasta) {
    if (!NoServidor())
        return {};
    static QHash<QString, QString> urls;
    auto it = urls.find(pasta);
    if (it == urls.end())
        it = urls.insert(pasta, NovoEsquemaServidor());
    return *it;
}

QStringList ComBanco(const QString &pasta, const QStringList &argumentos) {
    const QString url = URLDaPasta(pasta);
    return url.isEmpty() ? argumentos : QStringList{QStringLiteral("--banco"), url} + argumentos;
}

} // namespace

void AbreBancoDaPasta(store::Banco &banco, const QString &pasta, bool cria) {
    if (const QString url = URLDaPasta(pasta); !url.isEmpty())
        return banco.abreServidor(url);
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("VLM.MDB"));
    if (cria)
        banco.cria(arquivo);
    banco.abre(arquivo);
}

std::unique_ptr<QProcess> Inicia(const QString &pasta, const QStringList &argumentos) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("VLME_PASTA"), pasta);
    p->setProcessEnvironment(ambiente);
    p->start(QStringLiteral(VLME_CLI), ComBanco(pasta, argumentos));
    p->closeWriteChannel();
    return p;
}

Execucao Termina(QProcess &p, qint64 matarEm) {
    QElapsedTimer relogio;
    relogio.start();
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; },
                         matarEm < 0 ? 120000 : int(matarEm))) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()), p.exitStatus() == QProcess::CrashExit,
            relogio.elapsed()};
}

Execucao Roda(const QString &pasta, const QStringList &argumentos, qint64 matarEm) {
    return Termina(*Inicia(pasta, argumentos), matarEm);
}

QString TextoPDF(const QString &pdf, int pagina) {
    QStringList argumentos{QStringLiteral("-layout")};
    if (pagina > 0)
        argumentos << "-f" << QString::number(pagina) << "-l" << QString::number(pagina);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), argumentos << pdf << QStringLiteral("-"));
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Sqlite3(const QString &arquivo, const QString &sql) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), arquivo, sql});
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAll()) : p.errorString();
}

void Confere(const QString &pasta, const QString &transcricao, const QStringList &antes) {
    const QString texto = QString::fromStdString(LeBytes(DadoTeste(transcricao)))
                              .replace("{PASTA}", pasta)
                              .replace("{DADOS}", VLME_DADOS_TESTE);
    for (const QString &bloco : texto.split("\n$ ").mid(1)) {
        QStringList linhas = bloco.split('\n');
        QStringList argumentos =
            linhas.takeFirst().replace("\\ ", "\x1F").split(' ', Qt::SkipEmptyParts);
        QString status = linhas.takeFirst().mid(2), saida, erro;
        for (const QString &linha : linhas)
            if (linha.startsWith('>') || linha.startsWith('!'))
                (linha.startsWith('>') ? saida : erro) += linha.mid(2) + '\n';
        Execucao r = Roda(
            pasta, antes + argumentos.replaceInStrings("''", "").replaceInStrings("\x1F", " "));
        if (erro.endsWith("...\n")) // only the errors' start
            erro.chop(4), r.erro.truncate(erro.size());
        EXPECT_EQ(QStringList({QString::number(r.status), r.saida, r.erro}),
                  QStringList({status, saida, erro}))
            << argumentos.join(' ').toStdString();
    }
}

ProgramaJanela::ProgramaJanela(const QString &pasta, int abrir, const QString &banco)
    : pasta_(pasta), banco_(banco), processo_(std::make_unique<QProcess>()) {
    // Settings as the program wants them, so that it asks nothing at start-up.
    const QString configuracao = QDir(pasta).filePath(QStringLiteral("config"));
    QDir().mkpath(configuracao + QStringLiteral("/VLME/VLME"));
    QFile ini(configuracao + QStringLiteral("/VLME/VLME/regional.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Regional]\nSeparadorDecimal=,\nSeparadorGrupo=.\nSeparadorDecimalMoeda=,\n"
                  "SeparadorGrupoMoeda=.\nSeparadorData=/\nFormatoDataCurta=dd/MM/yyyy\n");
    ini.close();
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ambiente.insert(QStringLiteral("XDG_CONFIG_HOME"), configuracao);
    processo_->setProcessEnvironment(ambiente);
    processo_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QStringList argumentos{QStringLiteral("--pasta"), pasta, QStringLiteral("--abrir"),
                                 QString::number(abrir)};
    processo_->start(QStringLiteral(VLME_JANELA),
                     banco.isEmpty() ? ComBanco(pasta, argumentos)
                                     : QStringList{QStringLiteral("--banco"), banco} + argumentos);
    processo_->waitForStarted();
}

ProgramaJanela::~ProgramaJanela() {
    mata();
}

bool ProgramaJanela::esperaReserva(int numero, int ms) {
    store::Banco banco;
    if (banco_.isEmpty())
        AbreBancoDaPasta(banco, pasta_);
    else
        banco.abreServidor(banco_);
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < ms && processo_->state() == QProcess::Running) {
        // The server knows its connection, not the process behind it.
        if (const auto titular = banco.reservas().titular(numero);
            titular && (banco.servidor() ? titular->programa == QLatin1String("VLM-E")
                                         : titular->processo == processo_->processId()))
            return true;
        processo_->waitForFinished(100);
    }
    return false;
}

void ProgramaJanela::mata() {
    if (processo_->state() != QProcess::NotRunning) {
        processo_->kill();
        processo_->waitForFinished();
    }
}

} // namespace vlme::teste
