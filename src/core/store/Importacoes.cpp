#include "store/Importacoes.h"

#include "store/Banco.h"
#include "store/servidor/MotorServidor.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>

namespace vlme::store {

void RegistraImportacao(Banco &banco, const QByteArray &sha256, const QString &arquivo,
                        const std::vector<int> &declaracoes) {
    const QString resumo = QString::fromLatin1(sha256);
    const QString quando = QDateTime::currentDateTime().toString(Qt::ISODate);
    QSqlQuery insere =
        banco.prepara(QStringLiteral("INSERT INTO IMPORTACAO (TX_SHA256_IMPORTACAO,"
                                     " NR_VLM_IMPORTACAO, TX_ARQUIVO_IMPORTACAO, DT_IMPORTACAO)"
                                     " VALUES (?, ?, ?, ?)"));
    for (int numero : declaracoes)
        banco.executa(insere, {resumo, numero, arquivo, quando});
}

std::vector<int> DeclaracoesImportadas(Banco &banco, const QByteArray &sha256) {
    QSqlQuery q =
        banco.executa(QStringLiteral("SELECT DISTINCT i.NR_VLM_IMPORTACAO FROM IMPORTACAO i"
                                     " JOIN VLME v ON v.NR_VLM_VLM = i.NR_VLM_IMPORTACAO"
                                     " WHERE i.TX_SHA256_IMPORTACAO = ? ORDER BY 1"),
                      {QString::fromLatin1(sha256)});
    std::vector<int> numeros;
    while (banco.proxima(q))
        numeros.push_back(q.value(0).toInt());
    return numeros;
}

std::optional<std::vector<int>> ConfereImportacao(Banco &banco, const QByteArray &sha256,
                                                  const std::vector<int> &antes,
                                                  const QString &sessao) {
    QElapsedTimer relogio;
    relogio.start();
    // Long enough for a server that restarts; each try is bounded itself.
    while (relogio.elapsed() < 10000) {
        try {
            banco.retoma();
            std::vector<int> novas;
            for (int n : DeclaracoesImportadas(banco, sha256))
                if (std::find(antes.begin(), antes.end(), n) == antes.end())
                    novas.push_back(n);
            if (!novas.empty())
                return novas;
            // The old session still alive may yet commit.
            const bool viva =
                banco
                    .escalar(QStringLiteral("SELECT count(*) FROM pg_stat_activity a WHERE %1 = ?")
                                 .arg(servidor::IdentidadeSessao(QStringLiteral("a"))),
                             {sessao})
                    .toInt() > 0;
            if (!viva && !sessao.isEmpty())
                return novas;
        } catch (...) {
            // Not back yet; tried again.
        }
        QThread::msleep(250);
    }
    return std::nullopt;
}

} // namespace vlme::store
