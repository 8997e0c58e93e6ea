#pragma once
// A statement of the largest size the program accepts (9999 models, 9999
// national and 9999 imported rows, every national with its invoice and one
// in ten imported rows a subcomponent), written straight with prepared
// INSERTs in one transaction, for the bulk-operation benchmarks.

#include "store/Banco.h"

#include <QSqlQuery>
#include <QString>

namespace vlme::bench {

inline constexpr int LinhasMaximas = 9999;

// Returns the new statement's number.
inline int CriaDeclaracaoMaxima(store::Banco &banco)
{
    store::Transacao t(banco);
    banco.executa(QStringLiteral(
        "INSERT INTO VLME (CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
        " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, TIPO_COEFICIENTE_VLM, CODIGO_VLM)"
        " VALUES ('11222333000181', '52998224725', 'PPB de teste', 'Produto máximo', '85171231',"
        " 'UN', 1.5, 1000, 500, 1, '')"));
    const int n = banco.escalar(QStringLiteral("SELECT last_insert_rowid()")).toInt();
    QSqlQuery modelo = banco.prepara(QStringLiteral(
        "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
        " PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
    QSqlQuery nf = banco.prepara(QStringLiteral(
        "INSERT INTO NF (NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF)"
        " VALUES (?, '1', '04539983000190', '15/03/2023', '123456789')"));
    QSqlQuery di = banco.prepara(QStringLiteral(
        "INSERT INTO DI (NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI) VALUES ('2301234567', '001', '01')"));
    QSqlQuery nacional = banco.prepara(QStringLiteral(
        "INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL, TX_DESCRICAO_NACIONAL,"
        " QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL, NR_SEQ_NF_NACIONAL, NCM_NACIONAL, UNIDADE_NACIONAL)"
        " VALUES (?, ?, ?, 2, 150.25, ?, '85171231', 'UN')"));
    QSqlQuery importado = banco.prepara(QStringLiteral(
        "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO, TX_DESCRICAO_IMPORTADO,"
        " QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO, ALIQUOTA_IMPORTADO, VALOR_II_IMPORTADO,"
        " NR_SEQ_DI_IMPORTADO, IN_COM_SUSP_IMPORTADO, IN_DIRETO_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO)"
        " VALUES (?, ?, ?, 3, 10.5, 16, 5.04, ?, 1, 1, '85171231', 'UN')"));
    QSqlQuery sub = banco.prepara(QStringLiteral(
        "INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP,"
        " IN_BASE_CALCULO_SUBCOMP) VALUES (?, ?, ?, 0)"));
    for (int i = 1; i <= LinhasMaximas; ++i) {
        banco.executa(modelo, {n, i, QStringLiteral("Modelo %1").arg(i), QStringLiteral("M%1").arg(i), 1999.9});
        banco.executa(nf, {QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'))});
        const int chaveNF = nf.lastInsertId().toInt();
        banco.executa(nacional, {n, i, QStringLiteral("Componente nacional %1").arg(i), chaveNF});
        banco.executa(di, {});
        const int chaveDI = di.lastInsertId().toInt();
        banco.executa(importado, {n, i, QStringLiteral("Componente importado %1").arg(i), chaveDI});
        if (i % 10 == 0)
            banco.executa(sub, {n, i, i});
    }
    t.confirma();
    return n;
}

} // namespace vlme::bench
