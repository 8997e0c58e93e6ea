#pragma once
// The team database's address as the user gives it (a libpq URL), and why a
// connection to it failed, in the user's words. A password in the address is
// never shown nor kept: what may be seen goes through URLVisivel.

#include <QString>

namespace vlme::store::servidor {

bool EhURLServidor(const QString &texto);
// The URL as the user may see it, store or log it: without any password,
// whether as user:password@, as password= in the query or in libpq's
// keyword=value form.
QString URLVisivel(const QString &texto);
// A password is written in the text itself (anyone listing the processes
// reads it), rather than in PGPASSWORD or ~/.pgpass.
bool TemSenha(const QString &texto);
// Why `texto` cannot be a team database's address (no postgresql:// scheme,
// another scheme, a parameter libpq does not know, an sslmode that does not
// exist), in the user's words; empty when it can.
QString MotivoURLInvalida(const QString &texto);

// Why opening `url` failed: a sentence for the user, the SQLSTATE (or 08001
// when the server never answered) and libpq's own text for the detail.
struct FalhaConexao {
    QString mensagem;
    QString codigo;
    QString detalhe;
};
// `textoDriver` is what the failed attempt said; when that attempt took
// longer than a refused one would (`demorou`), the server is taken as out of
// reach without trying again, else a second attempt of our own asks libpq for
// the server's SQLSTATE.
FalhaConexao ExplicaFalhaConexao(const QString &url, const QString &textoDriver, bool demorou);

// A server's error text without the lines that may carry a row's values
// (CONTEXT of a COPY, DETAIL of a refused row), in one line.
QString TextoSemDados(const QString &texto);

} // namespace vlme::store::servidor
