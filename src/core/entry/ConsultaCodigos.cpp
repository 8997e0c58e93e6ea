#include "entry/ConsultaCodigos.h"

#include "store/Banco.h"

namespace vlme::entry {

namespace {

// substr() rather than LIKE: the typed text is a prefix of characters, never
// a pattern.
QList<LinhaConsulta> consulta(store::Banco &banco, const QString &colunas, const QString &tabela,
                              const QString &codigo, const QString &filtro, bool comUnidade) {
    const QString f = filtro.trimmed();
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(colunas, tabela);
    QVariantList valores;
    if (!f.isEmpty()) {
        sql += QStringLiteral(" WHERE substr(%1, 1, ?) = ? COLLATE VLME_TEXTO").arg(codigo);
        valores = {f.size(), f};
    }
    sql += QStringLiteral(" ORDER BY %1(%2), rowid").arg(QLatin1String(store::NomeOrdem), codigo);
    QSqlQuery q = banco.executa(sql, valores);
    QList<LinhaConsulta> linhas;
    while (banco.proxima(q))
        linhas.append({q.value(0).toString(), q.value(1).toString(),
                       comUnidade ? q.value(2).toString() : QString()});
    return linhas;
}

} // namespace

QList<LinhaConsulta> ConsultaNCM(store::Banco &banco, const QString &filtro) {
    return consulta(banco, QStringLiteral("CD_NCM_PRODUTO, DESCR_NCM_PRODUTO, NM_UNID_MED_EST"),
                    QStringLiteral("NCM_ITEM"), QStringLiteral("CD_NCM_PRODUTO"), filtro, true);
}

QList<LinhaConsulta> ConsultaUnidades(store::Banco &banco, const QString &filtro) {
    return consulta(banco, QStringLiteral("CD_UNID_MEDIDA, NM_MEDIDA"),
                    QStringLiteral("UNIDADE_MEDIDA"), QStringLiteral("CD_UNID_MEDIDA"), filtro,
                    false);
}

QString MostraNCM(const QString &codigo) {
    const QString c = codigo.rightJustified(8, QLatin1Char(' '));
    const qsizetype n = c.size();
    return c.left(n - 4) + QLatin1Char('.') + c.mid(n - 4, 2) + QLatin1Char('.') + c.right(2);
}

QList<ColunaGrade> ColunasDoCabecalho(const QString &cabecalho) {
    QList<ColunaGrade> colunas;
    for (QString parte : cabecalho.split(QLatin1Char('|'))) {
        if (parte.startsWith(QLatin1Char('<')))
            parte.remove(0, 1);
        if (!parte.trimmed().isEmpty())
            colunas.append({parte.trimmed(), int(parte.size())});
    }
    return colunas;
}

} // namespace vlme::entry
