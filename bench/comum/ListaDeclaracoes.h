#pragma once
// A database of many small statements (three models each, delivery states
// mixed), for the statement picker's list.

#include "store/Banco.h"

#include <QSqlQuery>
#include <QString>

namespace vlme::bench {

inline void CriaDeclaracoesLista(store::Banco &banco, int quantidade) {
    store::Transacao t(banco);
    QSqlQuery vlme = banco.prepara(QStringLiteral(
        "INSERT INTO VLME (CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM)"
        " VALUES (?, ?, ?, ?)"));
    QSqlQuery modelo = banco.prepara(
        QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS)"
                       " VALUES (?, ?, ?)"));
    for (int i = 1; i <= quantidade; ++i) {
        banco.executa(vlme, {QStringLiteral("11222333000181"), QStringLiteral("Produto %1").arg(i),
                             i % 3 - 1, i % 3 == 0 ? QStringLiteral("200100001") : QString()});
        for (int m = 1; m <= 3; ++m)
            banco.executa(modelo, {i, m, QStringLiteral("Modelo %1").arg(m)});
    }
    t.confirma();
}

} // namespace vlme::bench
