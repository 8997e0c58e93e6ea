#pragma once
// Numbers as the user types and reads them: Brazilian notation ("." groups
// thousands, "," separates decimals) whatever the machine's locale, printed
// from exact decimal digits. Also the keystroke filter of numeric fields.
// Pure functions; any thread.

#include <QString>

#include <string>

namespace vlme::entry {

inline constexpr int LarguraPadrao = 7;
inline constexpr int DecimaisPadrao = 2;

// True when the machine's own number conversion does not read "1,1" as 1.1.
// Informative only: nothing below depends on it.
bool DecimalPonto();

// Reads Brazilian numeric text: every "." is a grouping dot (so "1.5" is 15),
// "," the decimal separator; empty text and "," alone are 0. A text that is
// still no number gives 0 and, when asked, *ok = false.
double ConverteValor(const QString &texto, bool *ok = nullptr);

// Brazilian notation with grouping and exactly `decimais` decimals, halves
// rounded away from zero on the value's decimal digits. A zero (or negative)
// width or decimals takes the default (7, 2). The width never limits the
// digits printed; grouping is left out only when decimals >= width.
QString FormataValor(double valor, int largura = LarguraPadrao, int decimais = DecimaisPadrao);
// The same for a numeric text, read as ConverteValor reads it, digit for
// digit; a text that is no number prints as 0.
QString FormataValor(const QString &texto, int largura = LarguraPadrao,
                     int decimais = DecimaisPadrao);
// FormataValor without the grouping dots.
QString FormataValorSemMilhar(const QString &texto, int largura = LarguraPadrao,
                              int decimais = DecimaisPadrao);
// A stored number shown as the forms show it: its 15 significant digits
// (what a person reading the number sees), then FormataValor.
QString FormataNumero(double valor, int largura = LarguraPadrao, int decimais = DecimaisPadrao);

// A fixed-width digit string with implied decimals ("0001250", 7, 2) as a
// number's plain text ("12,5"); a text that already has a comma is read as it
// is. Empty when the text is not numeric.
QString InsereDecimais(const QString &texto, int largura = LarguraPadrao,
                       int decimais = DecimaisPadrao);

// A number as the decimal digits a person reads, rounded on those digits:
// every figure the program shows, computes by the rules or writes to a file
// is rounded here, so none is rounded on binary fractions.
struct DigitosDecimais {
    bool negativo = false;
    std::string inteiro; // at least one digit
    std::string fracao;  // exactly the decimals asked for
};
enum class Meio { LongeDoZero, Par };
// The shortest digits that read back as `valor`, rounded to `casas` decimals
// with halves going `meio`. A value that is not finite gives 0.
DigitosDecimais ArredondaDecimal(double valor, int casas, Meio meio);

// Non-empty and only digits (with `sinais`, also ",", "." and "-").
bool SoNumeros(const QString &texto, bool sinais = false);
// Only characters of "1234567890/.-"; empty text passes.
bool CaracteresValidos(const QString &texto);

// Whether a typed character is accepted into a field holding `texto`: digits
// and control characters always, a comma when not `soInteiros` and `texto` has
// none yet, and any character of `extras`.
bool FiltraTecla(QChar tecla, const QString &texto, const QString &extras = {},
                 bool soInteiros = false);

} // namespace vlme::entry
