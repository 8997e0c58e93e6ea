#include "store/arquivo/EscritaArquivo.h"

#include "store/Banco.h"
#include "store/GravarLinha.h"

#include <sqlite3.h>

namespace vlme::store::arquivo {

namespace {

constexpr char Anexo[] = "copia_vlme";

// Binds the row's set columns in column order, as TextoInsere numbers them.
void Vincula(sqlite3_stmt *comando, const gravar::Linha &linha) {
    int n = 0;
    for (std::size_t i = 0; i < linha.tabela().colunas.size(); ++i) {
        if (!linha.temColuna(int(i)))
            continue;
        ++n;
        const gravar::Valor &v = linha.valor(int(i));
        if (const int *inteiro = std::get_if<int>(&v)) {
            sqlite3_bind_int(comando, n, *inteiro);
        } else if (const double *real = std::get_if<double>(&v)) {
            sqlite3_bind_double(comando, n, *real);
        } else if (const QString *texto = std::get_if<QString>(&v)) {
            // A null pointer would bind NULL; an empty text is ''.
            static const char16_t vazio[] = u"";
            const void *dados =
                texto->isEmpty() ? static_cast<const void *>(vazio) : texto->utf16();
            sqlite3_bind_text16(comando, n, dados, int(texto->size() * 2), SQLITE_STATIC);
        } else {
            sqlite3_bind_null(comando, n);
        }
    }
}

} // namespace

qint64 EscritaArquivo::insere(const gravar::Linha &linha) {
    sqlite3_stmt *&comando = comandos_[{&linha.tabela(), linha.mascara()}];
    if (!comando)
        comando = banco_.direta(gravar::TextoInsere(linha));
    Vincula(comando, linha);
    return banco_.passo(comando);
}

CopiaParaArquivoAnexado::CopiaParaArquivoAnexado(Banco &banco, const QString &arquivo)
    : banco_(banco) {
    // One left by a run whose detach failed would refuse the name.
    if (banco_
            .escalar(QStringLiteral("SELECT 1 FROM pragma_database_list WHERE name = ?"),
                     {QLatin1String(Anexo)})
            .isValid())
        solta();
    banco_.executa(QStringLiteral("ATTACH DATABASE ? AS ") + QLatin1String(Anexo), {arquivo});
    // The file is thrown away on any failure: its journal needs no file of
    // its own that could be left behind.
    banco_.executa(QStringLiteral("PRAGMA %1.journal_mode=MEMORY").arg(QLatin1String(Anexo)));
    transacao_.emplace(banco_);
}

CopiaParaArquivoAnexado::~CopiaParaArquivoAnexado() {
    transacao_.reset();
    try {
        solta();
    } catch (const ErroBanco &) {
        // The next backup detaches it; the file is removed anyway.
    }
}

void CopiaParaArquivoAnexado::solta() {
    banco_.executa(QStringLiteral("DETACH DATABASE ") + QLatin1String(Anexo));
}

void CopiaParaArquivoAnexado::copia(const QString &tabela, const QString &onde,
                                    const QVariantList &parametros) {
    QStringList nomes;
    QSqlQuery q = banco_.executa(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabela});
    while (banco_.proxima(q))
        nomes << q.value(0).toString();
    const QString colunas = nomes.join(QLatin1String(", "));
    QSqlQuery insere =
        banco_.prepara(QStringLiteral("INSERT INTO %1.%2 (%3) SELECT %3 FROM main.%2 WHERE %4")
                           .arg(QLatin1String(Anexo), tabela, colunas, onde));
    banco_.executa(insere, parametros);
    insere.finish();
}

void CopiaParaArquivoAnexado::conclui() {
    transacao_->confirma();
}

} // namespace vlme::store::arquivo
