#include "cli/Comandos.h"

#include "checking/ListaDiagnostico.h"
#include "cli/Json.h"
#include "diagnostic/Troca.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTextStream>
#include <QTimer>

#include <optional>

namespace vlme::cli {

namespace {

// The outcome's stable name in the JSON document.
QString NomeDesfecho(diagnostic::Desfecho desfecho) {
    using diagnostic::Desfecho;
    switch (desfecho) {
    case Desfecho::Registrado:
        return QStringLiteral("registrado");
    case Desfecho::ComAvisos:
        return QStringLiteral("avisos");
    case Desfecho::ComErros:
        return QStringLiteral("erros");
    case Desfecho::Mensagem:
        return QStringLiteral("mensagem");
    case Desfecho::SemDiagnostico:
        return QStringLiteral("semDiagnostico");
    case Desfecho::SemResposta:
        return QStringLiteral("semResposta");
    case Desfecho::NaoTransmitido:
        return QStringLiteral("naoTransmitido");
    case Desfecho::Falha:
        break;
    }
    return QStringLiteral("falha");
}

} // namespace

Saida diagnosticar(Contexto &c) {
    using diagnostic::Desfecho;
    QNetworkAccessManager rede;
    diagnostic::Troca troca(c.banco, c.pasta, c.urlDiagnostico, c.usuario, rede);
    QEventLoop laco;
    std::optional<diagnostic::Resultado> fim;
    troca.aoTerminar = [&](const diagnostic::Resultado &r) {
        fim = r;
        laco.quit();
    };
    // The window's timer, the same 20 ticks; shorter only for the tests.
    QTimer tempo;
    const int intervalo = qEnvironmentVariableIntValue("VLME_TIQUE_DIAGNOSTICO_MS");
    tempo.setInterval(intervalo > 0 ? intervalo : 1000);
    QObject::connect(&tempo, &QTimer::timeout, &troca, &diagnostic::Troca::tique);
    // Never transmitted: its one message is said, and the document says so too.
    if (!troca.inicia(c.declaracao))
        fim = diagnostic::Resultado{Desfecho::NaoTransmitido};
    tempo.start();
    if (!fim)
        laco.exec();
    QJsonArray itens;
    // After a stop row the window tells only the server's message; the
    // company's systems also learn what was stored before it.
    if (fim->parou && fim->registrado)
        c.saida << "Gravado antes da mensagem: o registro do VLM-E, número definitivo "
                << c.banco
                       .escalar(QStringLiteral("SELECT CODIGO_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
                                {c.declaracao})
                       .toString()
                << ".\n";
    if (fim->listar || (fim->parou && fim->erros + fim->avisos > 0))
        for (const auto &item : checking::LeDiagnostico(c.banco, c.declaracao).itens) {
            c.saida << (item.erro ? "ERRO" : "AVISO") << '\t' << item.local << '\t' << item.registro
                    << '\t' << item.descricao.mid(1) << '\n';
            itens.append(QJsonObject{{QStringLiteral("tipo"),
                                      item.erro ? QStringLiteral("ERRO") : QStringLiteral("AVISO")},
                                     {QStringLiteral("local"), item.local},
                                     {QStringLiteral("registro"), item.registro},
                                     {QStringLiteral("descricao"), item.descricao.mid(1)}});
        }
    const auto registro = store::RegistroDeclaracao(c.banco, c.declaracao);
    c.json = {{QStringLiteral("numero"), Numero(c.declaracao)},
              {QStringLiteral("desfecho"), NomeDesfecho(fim->desfecho)},
              {QStringLiteral("codigo"), registro && !registro->codigo.isEmpty()
                                             ? store::FormataCodigo(registro->codigo)
                                             : QString()},
              {QStringLiteral("razaoSocial"), registro ? registro->razaoSocial : QString()},
              {QStringLiteral("itens"), itens}};
    switch (fim->desfecho) {
    case Desfecho::Registrado:
        return Saida::Sucesso;
    case Desfecho::ComAvisos:
    case Desfecho::ComErros:
        return Saida::Problemas;
    default:
        return Saida::Falha;
    }
}

} // namespace vlme::cli
