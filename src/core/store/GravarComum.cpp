#include "store/GravarComum.h"

#include "base/Erros.h"

#include <QSqlQuery>
#include <QStringList>

namespace vlme::store::gravar {

int Insere(Banco &banco, const Linha &linha) {
    QSqlQuery q = banco.executa(QString::fromLatin1(TextoInsere(linha)), linha.valoresSql());
    return q.lastInsertId().toInt();
}

int Atualiza(Banco &banco, const Linha &linha, const QString &onde,
             const QVariantList &valoresOnde) {
    const Tabela &t = linha.tabela();
    const QString tabela = QString::fromLatin1(t.nome);
    if (linha.mascara() == 0)
        return banco
            .escalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(tabela, onde),
                     valoresOnde)
            .toInt();
    QStringList atribuicoes;
    for (std::size_t i = 0; i < t.colunas.size(); ++i)
        if (linha.temColuna(int(i)))
            atribuicoes << QString::fromLatin1(t.colunas[i]) + QStringLiteral(" = ?");
    QSqlQuery q = banco.executa(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                    .arg(tabela, atribuicoes.join(QStringLiteral(", ")), onde),
                                linha.valoresSql() + valoresOnde);
    return q.numRowsAffected();
}

void AdotaPendentes(Banco &banco, int nrVlm, int nrSqNacional) {
    banco.executa(QStringLiteral("UPDATE SUBCOMP SET N_NACIONAL_SUBCOMP = ?"
                                 " WHERE N_VLM_SUBCOMP = ? AND N_NACIONAL_SUBCOMP = 0"),
                  {nrSqNacional, nrVlm});
}

void NaoEncontrado(const QString &oQue) {
    throw ErroBanco(base::Mensagem("ERRO_REGISTRO_NAO_ENCONTRADO", oQue), {});
}

} // namespace vlme::store::gravar
