#pragma once
// Field formats of the delivery file: numbers as digit strings with implied
// decimals, texts padded with spaces, dates as yyyyMMdd, flags as S/N.
// These only format; whether the result fits its field is decided by the
// record layouts, which refuse what does not fit. Pure functions; any thread.

#include <QString>

namespace vlme::delivery {

// |valor| rounded to `decimais` decimals, halves away from zero, taken from
// the shortest decimal that reads back as `valor` (so 2.675 rounds to 2.68,
// as the user typed it), written without any separator and zero-filled on the
// left to `largura` digits; the last `decimais` digits are the decimals.
// A value that needs more digits comes out longer than `largura`; a negative
// value that does not round to zero starts with "-" (negative zero is zero);
// an infinite or NaN value gives an empty text.
QString FormataNumero(double valor, int largura, int decimais);

// `valor` followed by spaces up to `largura` characters; never shortens.
QString CompletaBrancos(const QString &valor, int largura);

// A stored date of issue ("dd/mm/yyyy", "ddmmyyyy", "yyyy/mm/dd" or
// "yyyy-mm-dd") as yyyyMMdd, its digits carried as they are: whatever the
// field rules accept passes (29/02/1900 included). "00000000" when blank,
// empty when it is not a date those rules accept.
QString FormataData(const QString &gravada);

// "S" for 1, "N" for anything else.
QString IndicadorSN(int valor);

} // namespace vlme::delivery
