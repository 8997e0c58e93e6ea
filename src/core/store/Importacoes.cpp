#include "store/Importacoes.h"

#include "store/Banco.h"

#include <QDateTime>
#include <QSqlQuery>

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

} // namespace vlme::store
