#pragma once
// The NCM and unit-of-measure table import: a header line "00KTB/ZFM" (not
// followed by 1, 2 or 3, which mark other files), then rows "02" (NCM code,
// description, statistical unit) or "05" (unit code and name), each stored
// over a row with the same code or as a new one.
//
// The file is untrusted: read through LeitorLinhas (bounded lines, at most
// LimiteLinhas of them, UTF-8 or Latin-1), each code checked for its full
// width, and the whole file stored in one transaction: a row that stops the
// import, or a database error, leaves the table as it was. Texts are stored as
// the file has them, apostrophes included (values are bound, never pasted
// into SQL). Empty lines are skipped. UI thread only.

#include "base/InterfaceUsuario.h"

#include <QString>

namespace vlme::store {
class Banco;
}

namespace vlme::importacao {

inline constexpr char CodigoTabelaNCM[] = "02";
inline constexpr char CodigoTabelaUnidade[] = "05";

struct ResultadoTabela {
    bool sucesso = false;
    QString texto; // what the user is told
    base::Icone icone = base::Icone::Nenhum;
    int linhas = 0; // rows stored (0 unless sucesso)
};

// Reads `caminho` and stores its rows when the whole file is right; talks to
// no one. `codigoEsperado` is CodigoTabelaNCM or CodigoTabelaUnidade.
// Database errors are thrown (store::ErroBanco) after the rollback.
ResultadoTabela ImportaTabela(store::Banco &banco, const QString &caminho,
                              const QString &codigoEsperado);
// Tells the user the result.
void InformaTabela(base::InterfaceUsuario &usuario, const ResultadoTabela &resultado);
// Both, for callers that show no hourglass in between.
ResultadoTabela GeraTabela(store::Banco &banco, base::InterfaceUsuario &usuario,
                           const QString &caminho, const QString &codigoEsperado);

// Upserts of one row, as read from the file (the code already checked).
void GravaNCM(store::Banco &banco, const QString &linha);
void GravaUnidade(store::Banco &banco, const QString &linha);

} // namespace vlme::importacao
