#include "checking/ListaDiagnostico.h"

#include "store/Banco.h"

#include <QDate>
#include <QSqlQuery>
#include <QTime>

namespace vlme::checking {

namespace {

// Receipts arrive from outside in more than one layout.
QDate leData(const QString &texto) {
    const QString t = texto.trimmed();
    for (const char *formato : {"dd/MM/yyyy", "yyyy-MM-dd", "yyyyMMdd", "ddMMyyyy"}) {
        const QDate d = QDate::fromString(t.left(QString::fromLatin1(formato).size()),
                                          QString::fromLatin1(formato));
        if (d.isValid())
            return d;
    }
    return {};
}

QTime leHora(const QString &texto) {
    QString t = texto.trimmed();
    if (t.contains(QLatin1Char(' ')))
        t = t.section(QLatin1Char(' '), -1); // "2026-01-02 10:20:30"
    for (const char *formato : {"HH:mm:ss", "HH:mm", "HHmmss", "HHmm"}) {
        const QTime h = QTime::fromString(t, QString::fromLatin1(formato));
        if (h.isValid())
            return h;
    }
    return {};
}

} // namespace

Diagnostico LeDiagnostico(store::Banco &banco, int nrVlm) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    Diagnostico d;
    d.registrado =
        !banco
             .escalar(
                 QStringLiteral("SELECT ifnull(CODIGO_VLM, '') FROM VLME WHERE NR_VLM_VLM = ?"),
                 {nrVlm})
             .toString()
             .isEmpty();
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO, TIPO_ERRO FROM ERRO"
                       " WHERE NR_VLM_ERRO = ?") +
            (d.registrado ? QStringLiteral(" AND TIPO_ERRO = '3'") : QString()) +
            QStringLiteral(" ORDER BY rowid"),
        {nrVlm});
    while (banco.proxima(q)) {
        ItemDiagnostico item;
        item.descricao = QStringLiteral(" ") + q.value(0).toString();
        item.local = q.value(1).toString();
        item.registro = q.value(2).toString();
        item.erro = q.value(3).toString() == QLatin1String("1");
        (item.erro ? d.erros : d.avisos) += 1;
        d.itens.push_back(std::move(item));
    }
    // The latest receipt: an earlier one is of a transmission a later replaced.
    QSqlQuery recibo = banco.executa(
        QStringLiteral("SELECT DATA_RECEPCAO_RECIBO, HORA_RECEPCAO_RECIBO, NR_TRANSMISSAO_RECIBO"
                       " FROM RECIBO WHERE NR_VLM_RECIBO = ? ORDER BY rowid DESC LIMIT 1"),
        {nrVlm});
    if (banco.proxima(recibo)) {
        const QDate data = leData(recibo.value(0).toString());
        const QTime hora = leHora(recibo.value(1).toString());
        d.recebidoEm =
            (data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy"))
                            : recibo.value(0).toString()) +
            QStringLiteral(" às ") +
            (hora.isValid() ? hora.toString(QStringLiteral("HH:mm")) : recibo.value(1).toString()) +
            QLatin1Char('H');
        d.transmissao = recibo.value(2).toString();
    }
    return d;
}

QString DataHoraRecibo(const QString &data, const QString &hora) {
    const QDate d = leData(data);
    const QTime h = leHora(hora);
    return ((d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : data.trimmed()) +
            QLatin1Char(' ') +
            (h.isValid() ? h.toString(QStringLiteral("HH:mm:ss")) : hora.trimmed()))
        .trimmed();
}

} // namespace vlme::checking
