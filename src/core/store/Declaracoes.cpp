#include "store/Declaracoes.h"

#include "store/Banco.h"

#include <QSqlQuery>

#include <algorithm>

namespace vlme::store {

namespace {

int proximo(Banco &banco, const QString &sql, int nrVlm) {
    const QVariant maximo = banco.escalar(sql, {nrVlm});
    return maximo.isNull() ? 1 : maximo.toInt() + 1;
}

} // namespace

int ProximoModelo(Banco &banco, int nrVlm) {
    return proximo(
        banco, QStringLiteral("SELECT MAX(NR_SQ_MODELOS) FROM MODELOS WHERE NR_VLM_MODELOS = ?"),
        nrVlm);
}

int ProximoNacional(Banco &banco, int nrVlm) {
    return proximo(banco,
                   QStringLiteral("SELECT MAX(NR_SQ_NACIONAL) FROM COMPONENTES_NACIONAIS"
                                  " WHERE NR_VLM_NACIONAL = ?"),
                   nrVlm);
}

int ProximoImportado(Banco &banco, int nrVlm) {
    return proximo(banco,
                   QStringLiteral("SELECT MAX(NR_SQ_IMPORTADO) FROM COMPONENTES_IMPORTADOS"
                                  " WHERE NR_VLM_IMPORTADO = ?"),
                   nrVlm);
}

QString SituacaoEntrega(int nrTransmissao, const QString &codigo) {
    if (!codigo.isEmpty() && nrTransmissao == -1)
        return QStringLiteral("Registrado");
    if (codigo.isEmpty() && nrTransmissao == -1)
        return QStringLiteral("A transmitir");
    if (nrTransmissao > 0 && codigo.isEmpty())
        return QStringLiteral("Transmitido");
    return QStringLiteral("Original");
}

QString FormataCodigo(const QString &codigo) {
    // Stored as a number without its leading zeros ("123" is 0000/00123).
    const bool digitos = std::all_of(codigo.begin(), codigo.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    const QString cheio = digitos ? codigo.rightJustified(9, QLatin1Char('0')) : codigo;
    return cheio.left(4) + QLatin1Char('/') + cheio.right(5);
}

QString Protocolo(int nrTransmissao, const QString &codigo) {
    if (nrTransmissao != 0 && nrTransmissao != -1)
        return QString::number(nrTransmissao);
    if (codigo.isEmpty())
        return QStringLiteral("-");
    return FormataCodigo(codigo);
}

QString TipoDeclaracao(int retificador, int substitutivo) {
    if (retificador == 1)
        return QStringLiteral("Retificador");
    if (substitutivo == 1)
        return QStringLiteral("Substitutivo");
    return QStringLiteral("Novo");
}

QString FormataCNPJ(const QString &cnpj) {
    if (cnpj.isEmpty())
        return QStringLiteral("-");
    if (cnpj.size() != 14)
        return cnpj;
    return cnpj.left(2) + QLatin1Char('.') + cnpj.mid(2, 3) + QLatin1Char('.') + cnpj.mid(5, 3) +
           QLatin1Char('/') + cnpj.mid(8, 4) + QLatin1Char('-') + cnpj.mid(12, 2);
}

QString FormataCPF(const QString &cpf) {
    if (cpf.size() != 11)
        return cpf;
    return cpf.left(3) + QLatin1Char('.') + cpf.mid(3, 3) + QLatin1Char('.') + cpf.mid(6, 3) +
           QLatin1Char('-') + cpf.mid(9, 2);
}

std::vector<ItemLista> ListaDeclaracoes(Banco &banco, FiltroLista filtro) {
    QString onde;
    switch (filtro) {
    case FiltroLista::Todas:
        break;
    case FiltroLista::Geracao:
        onde = QStringLiteral(" WHERE (v.NR_TRANSMISSAO_VLM = 0 OR v.NR_TRANSMISSAO_VLM = -1)"
                              " AND ifnull(v.CODIGO_VLM, '') = ''");
        break;
    case FiltroLista::Pendencias:
        onde = QStringLiteral(" WHERE v.NR_TRANSMISSAO_VLM <= 0 AND ifnull(v.CODIGO_VLM, '') = ''");
        break;
    case FiltroLista::Diagnostico:
        onde = QStringLiteral(" WHERE v.NR_TRANSMISSAO_VLM <> 0");
        break;
    case FiltroLista::Entrega:
        onde = QStringLiteral(" WHERE ifnull(v.CODIGO_VLM, '') = ''");
        break;
    }
    // One row per statement, with its first model (lowest sequence).
    QSqlQuery q =
        banco.executa(QStringLiteral("SELECT v.NR_VLM_VLM, v.CNPJ_VLM, v.DEN_PRODUTO_VLM,"
                                     " (SELECT m.TX_DESCRICAO_MODELOS FROM MODELOS m"
                                     "   WHERE m.NR_VLM_MODELOS = v.NR_VLM_VLM"
                                     "   ORDER BY m.NR_SQ_MODELOS LIMIT 1),"
                                     " v.RETIFICADOR_VLM, v.SUBSTITUTIVO_VLM, v.NR_TRANSMISSAO_VLM,"
                                     " ifnull(v.CODIGO_VLM, '')"
                                     " FROM VLME v") +
                      onde + QStringLiteral(" ORDER BY v.NR_VLM_VLM DESC"));
    std::vector<ItemLista> itens;
    while (banco.proxima(q)) {
        ItemLista item;
        item.numero = q.value(0).toInt();
        item.cnpj = FormataCNPJ(q.value(1).toString());
        item.produto = q.value(2).toString();
        if (!q.value(3).isNull())
            item.produto += QStringLiteral(" - ") + q.value(3).toString();
        item.tipo = TipoDeclaracao(q.value(4).toInt(), q.value(5).toInt());
        const int nrTransmissao = q.value(6).toInt();
        const QString codigo = q.value(7).toString();
        item.situacao = SituacaoEntrega(nrTransmissao, codigo);
        item.protocolo = Protocolo(nrTransmissao, codigo);
        itens.push_back(std::move(item));
    }
    return itens;
}

bool ExisteDeclaracao(Banco &banco, int nrVlm) {
    return banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE NR_VLM_VLM = ?"), {nrVlm})
        .isValid();
}

std::optional<Registro> RegistroDeclaracao(Banco &banco, int nrVlm) {
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT CODIGO_VLM, RAZAO_SOCIAL_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(q))
        return std::nullopt;
    return Registro{q.value(0).toString(), q.value(1).toString()};
}

} // namespace vlme::store
