#pragma once
// The lists behind the NCM and unit lookups: the rows of a reference table
// whose code begins with what the user typed, in code order. The typed text
// is bound as a value and compared as plain characters ("%", "_" and quotes
// included). Database errors are thrown (store::ErroBanco). UI thread, like
// the connection.

#include <QList>
#include <QString>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

struct LinhaConsulta {
    QString codigo;    // as stored: an NCM's 8 digits, a unit's code
    QString descricao; // NCM description or unit name, as stored
    QString unidade;   // NCM only: its statistical unit
};

// Rows whose code begins with `filtro` (blanks around it ignored; empty: all),
// letter case ignored as everywhere else in the program.
QList<LinhaConsulta> ConsultaNCM(store::Banco &banco, const QString &filtro);
QList<LinhaConsulta> ConsultaUnidades(store::Banco &banco, const QString &filtro);

// An NCM code as the lookup shows it: "84713012" as "8471.30.12"; a code of
// another length is right-aligned in the pattern, blanks filling it.
QString MostraNCM(const QString &codigo);

// The captions and widths of a grid header written as
// "<Código|Descrição   |...": columns split at "|", a leading "<" only aligns,
// and the blanks after a caption widen its column. Columns with a blank
// caption (the old grid's spacer columns) are left out.
struct ColunaGrade {
    QString titulo; // trimmed
    int caracteres; // the caption's full length, blanks included
};
QList<ColunaGrade> ColunasDoCabecalho(const QString &cabecalho);

} // namespace vlme::entry
