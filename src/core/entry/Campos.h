#pragma once
// The editable fields of the forms as data: mask, maximum length and tag of
// each, which keystroke filter, numeric check and leaving rule it has. The
// windows build their fields from these tables and never restate a rule.
// Static, read-only data; any thread.

#include <QAnyStringView>
#include <QString>
#include <QStringView>

#include <span>

namespace vlme::entry {

struct DefinicaoCampo {
    const char *formulario;
    const char *campo;
    const char *mascara; // "" for none; "#" a digit, "A" a letter (raised) or a digit,
                         // anything else a literal
    int tamanhoMaximo;   // 0: no limit
    const char *tag;     // S select on entry, N numeric, T locked once delivered, D V P E forms
};

// ConfereValor as the forms call it on leaving a numeric field and on confirming.
struct ChamadaConfereValor {
    const char *formulario;
    const char *campo;
    int largura;
    int decimais;
    const char *chave; // message catalog key
};

// FiltraTecla as the forms call it on every keystroke.
struct RegraTecla {
    const char *formulario;
    const char *campo;
    bool textoDoCampo; // the field's text is given (one comma); else an empty text
    const char *extras;
    bool soInteiros;
};

enum class AoSair {
    Apara, // trim blanks
    Zeros, // a non-empty number padded with zeros to `largura` digits
    Data,  // ConfereData with the catalog key `chave`
};

struct RegraSaida {
    const char *formulario;
    const char *campo;
    AoSair acao;
    int largura;
    const char *chave;
};

std::span<const DefinicaoCampo> TabelaCampos();
std::span<const ChamadaConfereValor> TabelaConfereValor();
std::span<const RegraTecla> TabelaFiltroTecla();
std::span<const RegraSaida> TabelaSaida();

// The row of (form, field) in one of the tables, or nullptr.
template <class Linha>
const Linha *BuscaCampo(std::span<const Linha> tabela, QAnyStringView formulario,
                        QAnyStringView campo) {
    for (const Linha &l : tabela)
        if (QAnyStringView::equal(formulario, QLatin1String(l.formulario)) &&
            QAnyStringView::equal(campo, QLatin1String(l.campo)))
            return &l;
    return nullptr;
}
inline const DefinicaoCampo *BuscaCampo(QAnyStringView formulario, QAnyStringView campo) {
    return BuscaCampo(TabelaCampos(), formulario, campo);
}

// The field's text when the cursor enters it: a numeric field (tag N) loses
// its grouping dots. Whether it is then selected is the tag's S.
QString TextoAoEntrar(QStringView tag, const QString &texto);
// Trim, or zero padding ("123" to "0000000123"); other rules leave the text.
QString NormalizaAoSair(const RegraSaida &regra, const QString &texto);

} // namespace vlme::entry
