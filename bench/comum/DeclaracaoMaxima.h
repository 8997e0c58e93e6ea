#pragma once
// A statement of the largest size the program accepts (9999 models, 9999
// national and 9999 imported rows), written straight with prepared INSERTs in
// one transaction, for the bulk-operation benchmarks. Every national row has
// its invoice; imported rows alternate between a DI and an invoice; one in
// `cadaSubcomponente` imported rows is a subcomponent. Texts carry accents
// and values vary, so the delivery file is exercised as in real use.

#include "store/Banco.h"

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

namespace vlme::bench {

inline constexpr int LinhasMaximas = 9999;

struct DeclaracaoMaxima {
    int numero = 0;
    long linhas = 0; // rows a copy writes: components, links and documents
};

inline DeclaracaoMaxima CriaDeclaracaoMaxima(store::Banco &banco, int cadaSubcomponente = 10) {
    store::Transacao t(banco);
    DeclaracaoMaxima d;
    d.numero =
        banco
            .executa(QStringLiteral("INSERT INTO VLME (CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM,"
                                    " NCM_VLM, UNIDADE_VLM, PESO_BRUTO_VLM, CODIGO_VLM)"
                                    " VALUES (?, ?, ?, ?, ?, ?, ?, '')"),
                     {QStringLiteral("11222333000181"), QStringLiteral("52998224725"),
                      QStringLiteral("Processo produtivo básico"),
                      QStringLiteral("Telefone celular"), QStringLiteral("85171231"),
                      QStringLiteral("UN"), 0.15})
            .lastInsertId()
            .toInt();
    QSqlQuery modelo = banco.prepara(
        QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS,"
                       " COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
    QSqlQuery nf = banco.prepara(QStringLiteral(
        "INSERT INTO NF (NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF)"
        " VALUES (?, '1', '04539983000190', '15/03/2023', 'ISENTO')"));
    QSqlQuery di = banco.prepara(QStringLiteral(
        "INSERT INTO DI (NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI) VALUES ('2301234567', ?, ?)"));
    QSqlQuery nacional = banco.prepara(
        QStringLiteral("INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL,"
                       " TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
                       " NR_SEQ_NF_NACIONAL, NCM_NACIONAL, UNIDADE_NACIONAL)"
                       " VALUES (?, ?, ?, ?, ?, ?, '85340000', 'PEÇA')"));
    QSqlQuery importado = banco.prepara(QStringLiteral(
        "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO,"
        " TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO, ALIQUOTA_IMPORTADO,"
        " VALOR_II_IMPORTADO, NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
        " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO)"
        " VALUES (?, ?, ?, ?, ?, 16, ?, ?, ?, 1, ?, 0, '85171231', 'UN')"));
    QSqlQuery subcomp = banco.prepara(QStringLiteral(
        "INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP,"
        " IN_BASE_CALCULO_SUBCOMP) VALUES (?, ?, ?, 0)"));

    const int n = d.numero;
    for (int i = 1; i <= LinhasMaximas; ++i) {
        banco.executa(modelo, {n, i, QStringLiteral("Modelo de referência %1").arg(i),
                               QStringLiteral("COD%1").arg(i), 1234.5 + i});
        banco.executa(nf, {QString::number(i)});
        banco.executa(nacional, {n, i, QStringLiteral("Placa-mãe %1").arg(i), 1.5 * i, 2.25 + i,
                                 nf.lastInsertId().toInt()});
        const bool direto = i % 2 == 1;
        int chaveDI = 0, chaveNF = 0;
        if (direto) {
            banco.executa(di, {QStringLiteral("%1").arg(i % 999, 3, 10, QLatin1Char('0')),
                               QStringLiteral("%1").arg(i % 99, 2, 10, QLatin1Char('0'))});
            chaveDI = di.lastInsertId().toInt();
        } else {
            banco.executa(nf, {QString::number(100000 + i)});
            chaveNF = nf.lastInsertId().toInt();
        }
        const double quantidade = 0.5 * i, valor = 1.0000005 * i;
        banco.executa(importado,
                      {n, i, QStringLiteral("Componente importado %1").arg(i), quantidade, valor,
                       0.16 * quantidade * valor, chaveDI, chaveNF, direto ? 1 : 0});
        if (i % cadaSubcomponente == 0) {
            banco.executa(subcomp, {n, i, i});
            ++d.linhas;
        }
    }
    t.confirma();
    // Models, national and imported rows, and one document for each component.
    d.linhas += 3L * LinhasMaximas + 2L * LinhasMaximas;
    return d;
}

// A new database in a temporary folder holding one maximum statement, made
// once per benchmark program and shared by its benchmarks.
struct BancoMaximo {
    QTemporaryDir dir;
    store::Banco banco;
    int numero = 0;
    BancoMaximo() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        numero = CriaDeclaracaoMaxima(banco).numero;
    }
};

inline BancoMaximo &BaseMaxima() {
    static BancoMaximo b;
    return b;
}

} // namespace vlme::bench
