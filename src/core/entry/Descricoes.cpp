#include "entry/Descricoes.h"

#include "store/Banco.h"

namespace vlme::entry {

namespace {

QString primeiraColuna(store::Banco &banco, const QString &sql, const QString &codigo) {
    QSqlQuery q = banco.executa(sql, {codigo});
    if (!banco.proxima(q))
        return QString::fromUtf8(DescricaoNaoEncontrada);
    return q.value(0).toString().trimmed(); // a null reads as empty
}

} // namespace

QString DescricaoNCM(store::Banco &banco, const QString &codigo) {
    const QString c = codigo.trimmed();
    if (c.size() != 8)
        return {};
    return primeiraColuna(
        banco,
        QStringLiteral(
            "SELECT DESCR_NCM_PRODUTO FROM NCM_ITEM WHERE CD_NCM_PRODUTO = ? COLLATE VLME_TEXTO"),
        c);
}

QString DescricaoUnidade(store::Banco &banco, const QString &codigo) {
    const QString c = codigo.trimmed();
    if (c.isEmpty())
        return {};
    return primeiraColuna(
        banco,
        QStringLiteral("SELECT NM_MEDIDA FROM UNIDADE_MEDIDA WHERE CD_UNID_MEDIDA = ?"
                       " COLLATE VLME_TEXTO"),
        c);
}

} // namespace vlme::entry
