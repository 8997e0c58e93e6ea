#include "store/servidor/EsquemaServidor.h"

#include "base/Erros.h"

#include "store/Banco.h"
#include "store/Esquema.h"
#include "store/Motor.h"

#include <QUuid>

namespace vlme::store::servidor {

void PreparaEsquema(Banco &banco, const Motor &motor) {
    // Two programs starting on an empty database: one creates, the other
    // waits for it and then finds the schema made.
    Transacao t(banco);
    const bool marcado =
        banco.escalar(QStringLiteral("SELECT to_regclass('vlme_identidade') IS NOT NULL")).toBool();
    if (!marcado) {
        const int tabelas =
            banco
                .escalar(QStringLiteral("SELECT count(*) FROM information_schema.tables"
                                        " WHERE table_schema = current_schema()"))
                .toInt();
        if (tabelas > 0)
            throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_OUTRO_PROGRAMA"), {});
        for (const QString &comando : motor.objetosProprios())
            banco.executa(comando);
        // The mark, and who holds each reservation (ReservasServidor).
        for (const QString &comando : motor.dialeto(ComandosEsquema()))
            banco.executa(comando);
        // The mark, and who holds each reservation (ReservasServidor).
        for (const QString &comando : motor.dialeto(
                 {QStringLiteral(
                      "CREATE TABLE VLME_IDENTIDADE (PROGRAMA VARCHAR(20) NOT NULL,"
                      " VERSAO_ESQUEMA INTEGER NOT NULL, ID_BANCO VARCHAR(38) NOT NULL)"),
                  QStringLiteral("CREATE TABLE RESERVA_VLME (NR_VLM_RESERVA INTEGER NOT NULL,"
                                 " PID_RESERVA INTEGER NOT NULL, PROGRAMA_RESERVA VARCHAR(20),"
                                 " USUARIO_RESERVA VARCHAR(80), MAQUINA_RESERVA VARCHAR(255),"
                                 " DESDE_RESERVA VARCHAR(30))")}))
            banco.executa(comando);
        banco.executa(QStringLiteral("INSERT INTO VLME_IDENTIDADE (PROGRAMA, VERSAO_ESQUEMA,"
                                     " ID_BANCO) VALUES (?, ?, ?)"),
                      {QString::fromLatin1(ProgramaEsquema), VersaoEsquema,
                       QUuid::createUuid().toString(QUuid::WithoutBraces)});
        t.confirma();
        return;
    }
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT PROGRAMA, VERSAO_ESQUEMA FROM VLME_IDENTIDADE LIMIT 1"));
    if (!banco.proxima(q) || q.value(0).toString() != QLatin1String(ProgramaEsquema))
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_OUTRO_PROGRAMA"), {});
    if (q.value(1).toInt() > VersaoEsquema)
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_VERSAO_NOVA"), {});
    q.finish();
    t.confirma();
}

} // namespace vlme::store::servidor
