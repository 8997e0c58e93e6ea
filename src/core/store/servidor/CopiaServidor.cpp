#include "store/servidor/CopiaServidor.h"

#include "store/Banco.h"
#include "store/GravarLinha.h"
#include "store/servidor/Vigia.h"

#include <QLocale>
#include <QSqlDriver>

#include <libpq-fe.h>

#include <algorithm>

namespace vlme::store::servidor {

namespace {

bool TemContador(const gravar::Tabela &t) {
    return &t == &gravar::TabelaNF::tabela || &t == &gravar::TabelaDI::tabela;
}

// A value in COPY's text format.
void Escreve(QByteArray &saida, const gravar::Valor &v) {
    if (const int *inteiro = std::get_if<int>(&v)) {
        saida += QByteArray::number(*inteiro);
    } else if (const double *real = std::get_if<double>(&v)) {
        // The shortest text that reads back as the same double.
        saida += QByteArray::number(*real, 'g', QLocale::FloatingPointShortest);
    } else if (const QString *texto = std::get_if<QString>(&v)) {
        for (const char c : texto->toUtf8()) {
            switch (c) {
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
                saida += c;
            }
        }
    } else {
        saida += "\\N";
    }
}

[[noreturn]] void Falha(PGconn *conexao, const QString &sql) {
    const QString texto = QString::fromUtf8(PQerrorMessage(conexao)).trimmed();
    throw ErroBanco(MensagemErroBanco(QStringLiteral("08006")), QStringLiteral("08006"), sql,
                    texto);
}

} // namespace

qint64 CopiaServidor::chave(const gravar::Tabela &tabela) {
    QVector<qint64> &livres = chaves_[&tabela];
    if (livres.isEmpty()) {
        // Drawn in batches that double, so that the keys of a whole statement
        // take a few round trips; numbers left unused are skipped, as a
        // counter's are on the file.
        int &lote = lotes_[&tabela];
        lote = lote == 0 ? 500 : std::min(2 * lote, 8000);
        QSqlQuery q = banco_.executa(QStringLiteral("SELECT nextval(pg_get_serial_sequence(?, ?))"
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
    quint32 mascara = linha.mascara();
    qint64 novaChave = 0;
    if (TemContador(t) && !linha.temColuna(0)) {
        novaChave = chave(t);
        mascara |= 1u;
    }
    auto it = trechos_.find(&t);
    if (it == trechos_.end()) {
        it = trechos_.insert(&t, {});
        ordem_ << &t;
    }
    if (it->empty() || it->back().mascara != mascara)
        it->push_back({mascara, {}});
    QByteArray &dados = it->back().dados;
    bool primeira = true;
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
        if (!(mascara & (1u << i)))
            continue;
        if (!primeira)
            dados += '\t';
        primeira = false;
        if (i == 0 && novaChave)
            dados += QByteArray::number(novaChave);
        else
            Escreve(dados, linha.valor(int(i)));
    }
    dados += '\n';
    return novaChave;
}

void CopiaServidor::envia() {
    if (ordem_.isEmpty())
        return;
    PGconn *conexao = *static_cast<PGconn *const *>(banco_.db().driver()->handle().data());
    for (const gravar::Tabela *t : std::as_const(ordem_)) {
        for (const Trecho &trecho : trechos_.value(t)) {
            QByteArray colunas;
            for (std::size_t i = 0; i < t->colunas.size(); ++i) {
                if (!(trecho.mascara & (1u << i)))
                    continue;
                if (!colunas.isEmpty())
                    colunas += ", ";
                colunas += t->colunas[i];
            }
            const QByteArray sql = QByteArray("COPY ") + t->nome + " (" + colunas + ") FROM STDIN";
            const Vigia::Vez vez(banco_.vigia());
            PGresult *r = PQexec(conexao, sql.constData());
            const bool pronto = PQresultStatus(r) == PGRES_COPY_IN;
            PQclear(r);
            if (!pronto)
                Falha(conexao, QString::fromUtf8(sql));
            if (PQputCopyData(conexao, trecho.dados.constData(), int(trecho.dados.size())) != 1 ||
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
                                QString::fromUtf8(PQerrorMessage(conexao)).trimmed());
        }
    }
    trechos_.clear();
    ordem_.clear();
}

} // namespace vlme::store::servidor
