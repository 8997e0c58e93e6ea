#include "store/GravarComum.h"

#include "base/Erros.h"

#include <QSqlQuery>

namespace vlme::store::gravar {

QVariant Texto(const QString &texto) {
    // Qt binds a null QString as SQL NULL; a typed-but-empty field is ''.
    return texto.isNull() ? QVariant(QStringLiteral("")) : QVariant(texto);
}

void Colunas::poe(const QString &nome, const QVariant &valor) {
    nomes_ << nome;
    valores_ << valor;
}

void Colunas::seNaoVazio(const QString &nome, const QString &texto) {
    if (!texto.isEmpty())
        poe(nome, texto);
}

void Colunas::seNaoVazio(const QString &nome, const std::optional<double> &numero) {
    if (numero)
        poe(nome, *numero);
}

void Colunas::seMarcado(const QString &nome, const std::optional<bool> &opcao) {
    if (opcao)
        poe(nome, *opcao ? 1 : 0);
}

int Insere(Banco &banco, const QString &tabela, const Colunas &colunas) {
    QString sql;
    if (colunas.vazia()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tabela);
    } else {
        QStringList marcas;
        for (qsizetype i = 0; i < colunas.nomes().size(); ++i)
            marcas << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(tabela, colunas.nomes().join(QStringLiteral(", ")),
                       marcas.join(QStringLiteral(", ")));
    }
    QSqlQuery q = banco.executa(sql, colunas.valores());
    return q.lastInsertId().toInt();
}

int Atualiza(Banco &banco, const QString &tabela, const Colunas &colunas, const QString &onde,
             const QVariantList &valoresOnde) {
    if (colunas.vazia())
        return banco
            .escalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(tabela, onde),
                     valoresOnde)
            .toInt();
    QStringList atribuicoes;
    for (const QString &nome : colunas.nomes())
        atribuicoes << nome + QStringLiteral(" = ?");
    QSqlQuery q = banco.executa(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                    .arg(tabela, atribuicoes.join(QStringLiteral(", ")), onde),
                                colunas.valores() + valoresOnde);
    return q.numRowsAffected();
}

double ValorII(const DadosImportado &d) {
    return (d.aliquota.value_or(0.0) / 100.0) * d.valorUnitario.value_or(0.0) *
           d.quantidade.value_or(0.0);
}

void AdotaPendentes(Banco &banco, int nrVlm, int nrSqNacional) {
    banco.executa(QStringLiteral("UPDATE SUBCOMP SET N_NACIONAL_SUBCOMP = ?"
                                 " WHERE N_VLM_SUBCOMP = ? AND N_NACIONAL_SUBCOMP = 0"),
                  {nrSqNacional, nrVlm});
}

QString DataGravada(const QString &data) {
    const QString s = data.trimmed();
    if (s.size() == 8) {
        bool digitos = true;
        for (QChar c : s)
            digitos = digitos && c.isDigit();
        if (digitos)
            return s.left(2) + QLatin1Char('/') + s.mid(2, 2) + QLatin1Char('/') + s.mid(4);
    }
    return s;
}

void NaoEncontrado(const QString &oQue) {
    throw ErroBanco(base::Mensagem("ERRO_REGISTRO_NAO_ENCONTRADO", oQue), {});
}

} // namespace vlme::store::gravar
