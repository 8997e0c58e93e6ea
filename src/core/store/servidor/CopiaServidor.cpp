#include "store/servidor/CopiaServidor.h"

#include "store/Banco.h"
#include "store/GravarLinha.h"
#include "store/servidor/UrlServidor.h"
#include "store/servidor/Vigia.h"

#include <QLocale>
#include <QSqlDriver>

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vlme::store::servidor {

namespace {

// Appends `n` bytes from `p` to `saida`, growing it geometrically.
void Acrescenta(QByteArray &saida, const char *p, qsizetype n) {
    const qsizetype fim = saida.size();
    saida.resize(fim + n);
    std::memcpy(saida.data() + fim, p, std::size_t(n));
}

// A value in COPY's text format. Written in place: the bulk writer formats
// every value of an import or restore, and the text's round trips through
// temporary arrays took most of the program's time.
void Escreve(QByteArray &saida, const gravar::Valor &v) {
    char numero[32];
    if (const int *inteiro = std::get_if<int>(&v)) {
        const auto r = std::to_chars(numero, numero + sizeof numero, *inteiro);
        Acrescenta(saida, numero, r.ptr - numero);
    } else if (const double *real = std::get_if<double>(&v)) {
        // The shortest text that reads back as the same double.
        const auto r = std::to_chars(numero, numero + sizeof numero, *real);
        Acrescenta(saida, numero, r.ptr - numero);
    } else if (const QString *texto = std::get_if<QString>(&v)) {
        const QChar *c = texto->constData();
        const qsizetype n = texto->size();
        qsizetype simples = 0;
        while (simples < n && c[simples].unicode() < 0x80 && c[simples] != u'\\' &&
               c[simples] != u'\t' && c[simples] != u'\n' && c[simples] != u'\r')
            ++simples;
        if (simples == n) { // plain ASCII, the usual case: one byte each
            const qsizetype fim = saida.size();
            saida.resize(fim + n);
            char *o = saida.data() + fim;
            for (qsizetype i = 0; i < n; ++i)
                o[i] = char(c[i].unicode());
            return;
        }
        for (const char b : texto->toUtf8()) {
            switch (b) {
            case '\\':
                saida += "\\\\";
                break;
            case '\t':
                saida += "\\t";
                break;
            case '\n':
                saida += "\\n";
                break;
            case '\r':
                saida += "\\r";
                break;
            default:
                saida += b;
            }
        }
    } else {
        saida += "\\N";
    }
}

[[noreturn]] void Falha(PGconn *conexao, const QString &sql) {
    const QString texto = TextoSemDados(QString::fromUtf8(PQerrorMessage(conexao)));
    throw ErroBanco(MensagemErroBanco(QStringLiteral("08006")), QStringLiteral("08006"), sql,
                    texto);
}

} // namespace

qint64 CopiaServidor::chave(const gravar::Tabela &tabela) {
    QVector<qint64> &livres = chaves_[&tabela];
    if (livres.isEmpty()) {
        // Drawn in batches that double, so that the keys of a whole statement
        // take a few round trips; numbers left unused are skipped, as a
        // counter's are on the file. The sequence is looked up once, not for
        // every key (that took most of the time).
        int &lote = lotes_[&tabela];
        lote = lote == 0 ? 500 : std::min(2 * lote, 8000);
        QSqlQuery q = banco_.executa(
            QStringLiteral("SELECT nextval((SELECT pg_get_serial_sequence(?, ?))::regclass)"
                           " FROM generate_series(1, ?)"),
            {QString::fromLatin1(tabela.nome).toLower(),
             QString::fromLatin1(tabela.colunas[0]).toLower(), lote});
        while (banco_.proxima(q))
            livres.append(q.value(0).toLongLong());
        // Taken from the end, lowest first.
        std::reverse(livres.begin(), livres.end());
    }
    return livres.takeLast();
}

qint64 CopiaServidor::insere(const gravar::Linha &linha) {
    const gravar::Tabela &t = linha.tabela();
    qint64 novaChave = 0;
    if (t.contador && !linha.temColuna(0))
        novaChave = chave(t);
    auto it = dados_.find(&t);
    if (it == dados_.end()) {
        it = dados_.insert(&t, {});
        ordem_ << &t;
    }
    QByteArray &dados = *it;
    char numero[24];
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
        if (i > 0)
            dados += '\t';
        if (linha.temColuna(int(i)))
            Escreve(dados, linha.valor(int(i)));
        else if (i == 0 && novaChave)
            Acrescenta(dados, numero,
                       std::to_chars(numero, numero + sizeof numero, novaChave).ptr - numero);
        else if (const char *padrao = t.padroes[i])
            dados += padrao;
        else
            dados += "\\N";
    }
    dados += '\n';
    return novaChave;
}

void CopiaServidor::envia() {
    if (ordem_.isEmpty())
        return;
    PGconn *conexao = *static_cast<PGconn *const *>(banco_.db().driver()->handle().data());
    for (const gravar::Tabela *t : std::as_const(ordem_)) {
        const QByteArray &dados = dados_[t];
        QByteArray colunas;
        for (const char *coluna : t->colunas) {
            if (!colunas.isEmpty())
                colunas += ", ";
            colunas += coluna;
        }
        const QByteArray sql = QByteArray("COPY ") + t->nome + " (" + colunas + ") FROM STDIN";
        const Vigia::Vez vez(banco_.vigia());
        PGresult *r = PQexec(conexao, sql.constData());
        const bool pronto = PQresultStatus(r) == PGRES_COPY_IN;
        PQclear(r);
        if (!pronto)
            Falha(conexao, QString::fromUtf8(sql));
        if (PQputCopyData(conexao, dados.constData(), int(dados.size())) != 1 ||
            PQputCopyEnd(conexao, nullptr) != 1)
            Falha(conexao, QString::fromUtf8(sql));
        bool ok = true;
        QString codigo;
        while ((r = PQgetResult(conexao))) {
            if (PQresultStatus(r) != PGRES_COMMAND_OK) {
                ok = false;
                codigo = QString::fromLatin1(PQresultErrorField(r, PG_DIAG_SQLSTATE));
            }
            PQclear(r);
        }
        if (!ok && codigo.isEmpty() && PQstatus(conexao) == CONNECTION_BAD)
            codigo = QStringLiteral("08006");
        if (!ok)
            throw ErroBanco(MensagemErroBanco(codigo), codigo, QString::fromUtf8(sql),
                            TextoSemDados(QString::fromUtf8(PQerrorMessage(conexao))));
    }
    dados_.clear();
    ordem_.clear();
}

namespace {

// New keys for the documents of the rows `origem` selects, in their order:
// a DI's before an invoice's on the same row, as the bulk writer draws them;
// each sequence looked up once.
int CopiaComDocumentos(Banco &banco, const QString &origem, const QString &insereDI,
                       const QString &insere, int de, int para) {
    const QString sql =
        QStringLiteral("WITH origem AS MATERIALIZED (SELECT x.*,") +
        (insereDI.isEmpty()
             ? QString()
             : QStringLiteral(
                   " CASE WHEN x.NR_SQ_DI <> 0 THEN"
                   " nextval((SELECT pg_get_serial_sequence('di', 'nr_sq_di'))::regclass)"
                   " END AS NOVO_DI,")) +
        QStringLiteral(" CASE WHEN x.NR_SEQ_NF <> 0 THEN"
                       " nextval((SELECT pg_get_serial_sequence('nf', 'nr_seq_nf'))::regclass)"
                       " END AS NOVO_NF"
                       " FROM (") +
        origem + QStringLiteral(") x)") +
        (insereDI.isEmpty() ? QString() : QStringLiteral(", di AS (") + insereDI + ')') +
        QStringLiteral(", nf AS (INSERT INTO NF (NR_SEQ_NF, NR_NF, SERIE_NF, CNPJ_NF,"
                       " DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF) SELECT NOVO_NF, NR_NF, SERIE_NF,"
                       " CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF FROM origem"
                       " WHERE NOVO_NF IS NOT NULL ORDER BY NOVO_NF) ") +
        insere;
    return banco.executa(sql, {de, para}).numRowsAffected();
}

} // namespace

std::optional<int> CopiaServidor::copiaImportados(int de, int para) {
    envia();
    return CopiaComDocumentos(
        banco_,
        QStringLiteral(
            "SELECT c.*, d.NR_SQ_DI, d.NR_DI_DI, d.NR_ADICAO_DI, d.NR_ITEM_DI, n.NR_SEQ_NF,"
            " n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.DATA_EMISSAO_NF, n.NR_INS_ESTADUAL_NF"
            " FROM COMPONENTES_IMPORTADOS c"
            " LEFT JOIN DI d ON d.NR_SQ_DI = c.NR_SEQ_DI_IMPORTADO"
            " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO"
            " WHERE c.NR_VLM_IMPORTADO = ? ORDER BY c.NR_SQ_IMPORTADO"),
        QStringLiteral("INSERT INTO DI (NR_SQ_DI, NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI)"
                       " SELECT NOVO_DI, NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI FROM origem"
                       " WHERE NOVO_DI IS NOT NULL ORDER BY NOVO_DI"),
        QStringLiteral(
            "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO,"
            " TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO, ALIQUOTA_IMPORTADO,"
            " VALOR_II_IMPORTADO, NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
            " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO,"
            " NR_SQ_IMPORTACAO) SELECT ?, NR_SQ_IMPORTADO, TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO,"
            " VALOR_UNITARIO_IMPORTADO, ALIQUOTA_IMPORTADO, VALOR_II_IMPORTADO,"
            " coalesce(NOVO_DI, 0), coalesce(NOVO_NF, 0), IN_COM_SUSP_IMPORTADO,"
            " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO,"
            " NR_SQ_IMPORTADO FROM origem ORDER BY NR_SQ_IMPORTADO"),
        de, para);
}

std::optional<int> CopiaServidor::copiaNacionais(int de, int para) {
    envia();
    return CopiaComDocumentos(
        banco_,
        QStringLiteral("SELECT c.*, n.NR_SEQ_NF, n.NR_NF, n.SERIE_NF, n.CNPJ_NF,"
                       " n.DATA_EMISSAO_NF, n.NR_INS_ESTADUAL_NF FROM COMPONENTES_NACIONAIS c"
                       " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL"
                       " WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.NR_SQ_NACIONAL"),
        {},
        QStringLiteral(
            "INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL,"
            " TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL, NR_SEQ_NF_NACIONAL,"
            " NCM_NACIONAL, UNIDADE_NACIONAL, NR_SQ_IMPORTACAO) SELECT ?, NR_SQ_NACIONAL,"
            " TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
            " coalesce(NOVO_NF, 0), NCM_NACIONAL, UNIDADE_NACIONAL, NR_SQ_NACIONAL FROM origem"
            " ORDER BY NR_SQ_NACIONAL"),
        de, para);
}

CopiaParaArquivoServidor::CopiaParaArquivoServidor(Banco &banco, const QString &arquivo)
    : banco_(banco) {
    arquivo_.abre(arquivo);
    leitura_.emplace(banco_);
    transacao_.emplace(arquivo_);
}

void CopiaParaArquivoServidor::copia(const QString &tabela, const QString &onde,
                                     const QVariantList &parametros) {
    QStringList nomes;
    QSqlQuery q =
        arquivo_.executa(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabela});
    while (arquivo_.proxima(q))
        nomes << q.value(0).toString();
    const QString colunas = nomes.join(QLatin1String(", "));
    QSqlQuery le =
        banco_.executa(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY rowid")
                           .arg(colunas, tabela, QString(onde).remove(QStringLiteral("main."))),
                       parametros);
    const int n = int(nomes.size());
    QSqlQuery insere =
        arquivo_.prepara(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                             .arg(tabela, colunas, QStringLiteral(", ?").repeated(n - 1)));
    while (banco_.proxima(le)) {
        QVariantList valores;
        for (int i = 0; i < n; ++i)
            valores << le.value(i);
        arquivo_.executa(insere, valores);
    }
}

void CopiaParaArquivoServidor::conclui() {
    transacao_->confirma();
    // A backup is one file, without a write-ahead log beside it.
    arquivo_.executa(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

} // namespace vlme::store::servidor
