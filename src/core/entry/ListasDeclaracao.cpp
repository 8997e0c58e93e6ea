#include "entry/ListasDeclaracao.h"

#include "entry/Numeros.h"
#include "store/Banco.h"

#include <QSqlQuery>

namespace vlme::entry {

namespace {

// Table, description, code and sequence columns, statement column.
struct Tabela {
    const char *nome, *descricao, *codigo, *sequencia, *declaracao;
};

Tabela tabela(Lista lista) {
    switch (lista) {
    case Lista::Modelos:
        return {"MODELOS", "TX_DESCRICAO_MODELOS", "COD_INTERNO_MODELOS", "NR_SQ_MODELOS",
                "NR_VLM_MODELOS"};
    case Lista::Nacionais:
        return {"COMPONENTES_NACIONAIS", "TX_DESCRICAO_NACIONAL", nullptr, "NR_SQ_NACIONAL",
                "NR_VLM_NACIONAL"};
    case Lista::Importados:
        break;
    }
    return {"COMPONENTES_IMPORTADOS", "TX_DESCRICAO_IMPORTADO", nullptr, "NR_SQ_IMPORTADO",
            "NR_VLM_IMPORTADO"};
}

// LIKE pattern for "contains", the user's wildcards and escape made literal.
QString contem(const QString &texto) {
    QString t = store::DobraTexto(texto);
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + t + QLatin1Char('%');
}

} // namespace

std::vector<LinhaLista> LeLista(store::Banco &banco, int nrVlm, Lista lista) {
    QString sql;
    switch (lista) {
    case Lista::Modelos:
        sql = QStringLiteral("SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                             " 0, PRECO_VENDA_MODELOS, 0, 0 FROM MODELOS"
                             " WHERE NR_VLM_MODELOS = ? ORDER BY NR_SQ_MODELOS");
        break;
    case Lista::Nacionais:
        sql = QStringLiteral("SELECT NR_SQ_NACIONAL, TX_DESCRICAO_NACIONAL, '', QTD_NACIONAL,"
                             " VL_CUSTO_UNITARIO_NACIONAL,"
                             " VL_CUSTO_UNITARIO_NACIONAL * QTD_NACIONAL, 0"
                             " FROM COMPONENTES_NACIONAIS"
                             " WHERE NR_VLM_NACIONAL = ? ORDER BY NR_SQ_NACIONAL");
        break;
    case Lista::Importados:
        // Subcomponents belong to their national component's form.
        sql = QStringLiteral("SELECT NR_SQ_IMPORTADO, TX_DESCRICAO_IMPORTADO, '', QTD_IMPORTADO,"
                             " VALOR_UNITARIO_IMPORTADO,"
                             " VALOR_UNITARIO_IMPORTADO * QTD_IMPORTADO, VALOR_II_IMPORTADO"
                             " FROM COMPONENTES_IMPORTADOS I WHERE NR_VLM_IMPORTADO = ?"
                             " AND NOT EXISTS (SELECT 1 FROM SUBCOMP S"
                             " WHERE S.N_VLM_SUBCOMP = I.NR_VLM_IMPORTADO"
                             " AND S.N_IMPORTADO_SUBCOMP = I.NR_SQ_IMPORTADO)"
                             " ORDER BY NR_SQ_IMPORTADO");
        break;
    }
    std::vector<LinhaLista> linhas;
    QSqlQuery q = banco.executa(sql, {nrVlm});
    while (banco.proxima(q))
        linhas.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                          q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toDouble(),
                          q.value(6).toDouble()});
    return linhas;
}

std::optional<int> Localiza(store::Banco &banco, int nrVlm, Lista lista, const QString &texto) {
    const Tabela t = tabela(lista);
    // Both sides folded: SQLite's LIKE alone folds only ASCII letters.
    const auto contemTexto = [](const char *coluna) {
        return QStringLiteral("%1(%2) LIKE ? ESCAPE '\\'")
            .arg(QLatin1String(store::NomeDobra), QLatin1String(coluna));
    };
    QString condicao = contemTexto(t.descricao);
    QVariantList valores{contem(texto)};
    if (t.codigo) {
        condicao += QStringLiteral(" OR ") + contemTexto(t.codigo);
        valores << contem(texto);
    } else if (SoNumeros(texto.trimmed())) {
        bool ok = false;
        const qlonglong n = texto.trimmed().toLongLong(&ok);
        if (ok) {
            condicao += QStringLiteral(" OR %1 = ?").arg(QLatin1String(t.sequencia));
            valores << n;
        }
    }
    valores << nrVlm;
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE (%3) AND %4 = ?")
                      .arg(QLatin1String(t.sequencia), QLatin1String(t.nome), condicao,
                           QLatin1String(t.declaracao));
    if (lista == Lista::Importados)
        sql += QStringLiteral(" AND NR_SQ_IMPORTADO NOT IN (SELECT N_IMPORTADO_SUBCOMP FROM"
                              " SUBCOMP WHERE N_VLM_SUBCOMP = NR_VLM_IMPORTADO)");
    sql += QStringLiteral(" ORDER BY %1 LIMIT 1").arg(QLatin1String(t.sequencia));
    const QVariant v = banco.escalar(sql, valores);
    if (!v.isValid())
        return std::nullopt;
    return v.toInt();
}

QString PerguntaLocalizar(Lista lista) {
    return lista == Lista::Modelos ? QStringLiteral("Informe a Descrição ou Código Interno:")
                                   : QStringLiteral("Informe a Especificação do Componente :");
}

QString TextoNaoEncontrado(Lista lista) {
    switch (lista) {
    case Lista::Modelos:
        return QStringLiteral("Modelo não Encontrado.");
    case Lista::Nacionais:
        return QStringLiteral("Componente Nacional não encontrado");
    case Lista::Importados:
        break;
    }
    return QStringLiteral("Componente Importado não encontrado");
}

} // namespace vlme::entry
