#include "entry/Numeros.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace vlme::entry {

namespace {

// A number as decimal digits: what the user typed or what a double prints as.
// Kept as text so rounding happens on the digits a person sees.
struct Decimal {
    bool negativo = false;
    std::string inteiro; // digits, may be empty or have leading zeros
    std::string fracao;  // digits, may be empty
};

int ou(int valor, int padrao) {
    return valor > 0 ? valor : padrao;
}

// Brazilian text: dots are grouping, one comma, an optional sign, blanks
// around ignored.
std::optional<Decimal> leTexto(const QString &texto) {
    QString t = texto.isEmpty() ? QStringLiteral("0,00") : texto;
    t.remove(QLatin1Char('.'));
    if (t == QLatin1String(","))
        t = QStringLiteral("0,0");
    t = t.trimmed();

    Decimal d;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        d.negativo = t[i] == QLatin1Char('-');
        ++i;
    }
    bool virgula = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char(',') && !virgula) {
            virgula = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            (virgula ? d.fracao : d.inteiro).push_back(static_cast<char>(c.unicode()));
        } else {
            return std::nullopt;
        }
    }
    if (d.inteiro.empty() && d.fracao.empty())
        return std::nullopt;
    return d;
}

Decimal deFixo(const char *inicio, const char *fim, bool negativo) {
    Decimal d;
    d.negativo = negativo;
    const std::string s(inicio, fim);
    const auto ponto = s.find('.');
    d.inteiro = s.substr(0, ponto);
    if (ponto != std::string::npos)
        d.fracao = s.substr(ponto + 1);
    return d;
}

// The shortest digits that read back as the same double.
Decimal curto(double valor) {
    if (!std::isfinite(valor))
        return {false, "0", {}};
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::fixed);
    return deFixo(buf, r.ptr, std::signbit(valor));
}

// The 15 significant digits the old system conversion printed: a computed
// 1.0049999999999999 reads as 1.005, as the person checking it expects.
Decimal quinzeDigitos(double valor) {
    if (!std::isfinite(valor) || valor == 0.0)
        return {false, "0", {}};
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::scientific, 14);
    const std::string s(buf, r.ptr); // d.dddddddddddddde±NN
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, 1) + s.substr(2, e - 2);
    const int expoente = std::stoi(s.substr(e + 1));
    Decimal d;
    d.negativo = valor < 0;
    const int inteiros = expoente + 1;
    if (inteiros <= 0) {
        d.inteiro = "0";
        d.fracao = std::string(static_cast<std::size_t>(-inteiros), '0') + mantissa;
    } else if (static_cast<std::size_t>(inteiros) >= mantissa.size()) {
        d.inteiro =
            mantissa + std::string(static_cast<std::size_t>(inteiros) - mantissa.size(), '0');
    } else {
        d.inteiro = mantissa.substr(0, static_cast<std::size_t>(inteiros));
        d.fracao = mantissa.substr(static_cast<std::size_t>(inteiros));
    }
    return d;
}

bool soZeros(const std::string &s) {
    return s.find_first_not_of('0') == std::string::npos;
}

void tiraZerosEsquerda(std::string &s) {
    const auto p = s.find_first_not_of('0');
    s.erase(0, p == std::string::npos ? s.size() : p);
    if (s.empty())
        s = "0";
}

// Cuts the fraction to `casas` digits, rounding on the digits themselves.
void arredonda(Decimal &d, std::size_t casas, Meio meio) {
    if (d.inteiro.empty())
        d.inteiro = "0";
    if (d.fracao.size() > casas) {
        const char primeiro = d.fracao[casas];
        const bool metadeExata = primeiro == '5' && soZeros(d.fracao.substr(casas + 1));
        d.fracao.resize(casas);
        const char ultimo = casas > 0 ? d.fracao.back() : d.inteiro.back();
        const bool sobe =
            metadeExata ? (meio == Meio::LongeDoZero || (ultimo - '0') % 2 == 1) : primeiro >= '5';
        if (sobe) {
            // Add one unit in the last place, carrying through both parts.
            std::string digitos = d.inteiro + d.fracao;
            int i = static_cast<int>(digitos.size()) - 1;
            for (; i >= 0 && digitos[static_cast<std::size_t>(i)] == '9'; --i)
                digitos[static_cast<std::size_t>(i)] = '0';
            if (i < 0)
                digitos.insert(digitos.begin(), '1');
            else
                ++digitos[static_cast<std::size_t>(i)];
            d.inteiro = digitos.substr(0, digitos.size() - casas);
            d.fracao = digitos.substr(digitos.size() - casas);
        }
    }
    d.fracao.append(casas - d.fracao.size(), '0');
}

QString formata(Decimal d, int largura, int decimais) {
    largura = ou(largura, LarguraPadrao);
    decimais = ou(decimais, DecimaisPadrao);
    arredonda(d, static_cast<std::size_t>(decimais), Meio::LongeDoZero);
    tiraZerosEsquerda(d.inteiro);

    std::string inteiro;
    const bool agrupa = largura > decimais;
    const std::size_t n = d.inteiro.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (agrupa && i > 0 && (n - i) % 3 == 0)
            inteiro.push_back('.');
        inteiro.push_back(d.inteiro[i]);
    }
    // "-0,00" would tell the user of a sign the printed digits do not have.
    const bool negativo = d.negativo && !(soZeros(d.inteiro) && soZeros(d.fracao));
    return QString::fromLatin1((negativo ? "-" : "") + inteiro + "," + d.fracao);
}

// Plain number text: no grouping, "," only when there are decimals, no
// superfluous zeros ("12,5", "1250", "-0,5").
QString textoSimples(Decimal d) {
    tiraZerosEsquerda(d.inteiro);
    const auto fim = d.fracao.find_last_not_of('0');
    d.fracao.erase(fim == std::string::npos ? 0 : fim + 1);
    const bool negativo = d.negativo && !(soZeros(d.inteiro) && d.fracao.empty());
    std::string s = (negativo ? "-" : "") + d.inteiro;
    if (!d.fracao.empty())
        s += "," + d.fracao;
    return QString::fromLatin1(s);
}

} // namespace

DigitosDecimais ArredondaDecimal(double valor, int casas, Meio meio) {
    Decimal d = curto(valor);
    arredonda(d, static_cast<std::size_t>(casas > 0 ? casas : 0), meio);
    tiraZerosEsquerda(d.inteiro);
    return {d.negativo, d.inteiro, d.fracao};
}

bool DecimalPonto() {
    bool ok = false;
    const double v = QLocale::system().toDouble(QStringLiteral("1,1"), &ok);
    return !(ok && v == 1.1);
}

double ConverteValor(const QString &texto, bool *ok) {
    const auto d = leTexto(texto);
    if (ok)
        *ok = d.has_value();
    if (!d)
        return 0.0;
    std::string s = (d->inteiro.empty() ? "0" : d->inteiro);
    if (!d->fracao.empty())
        s += "." + d->fracao;
    double v = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    return d->negativo ? -v : v;
}

QString FormataValor(double valor, int largura, int decimais) {
    return formata(curto(valor), largura, decimais);
}

QString FormataValor(const QString &texto, int largura, int decimais) {
    return formata(leTexto(texto).value_or(Decimal{false, "0", {}}), largura, decimais);
}

QString FormataValorSemMilhar(const QString &texto, int largura, int decimais) {
    return FormataValor(texto, largura, decimais).remove(QLatin1Char('.'));
}

QString FormataNumero(double valor, int largura, int decimais) {
    return formata(quinzeDigitos(valor), largura, decimais);
}

QString InsereDecimais(const QString &texto, int largura, int decimais) {
    if (!SoNumeros(texto, true))
        return {};
    largura = ou(largura, LarguraPadrao);
    decimais = ou(decimais, DecimaisPadrao);
    QString t;
    if (texto.contains(QLatin1Char(','))) {
        t = texto;
    } else {
        for (int i = 1; i <= largura; ++i) {
            if (i <= texto.size())
                t += texto[i - 1];
            if (i == largura - decimais)
                t += QLatin1Char(',');
        }
    }
    // Exact digits: a 15-digit field of the import must not lose its last one.
    const auto d = leTexto(t);
    return d ? textoSimples(*d) : QString();
}

bool SoNumeros(const QString &texto, bool sinais) {
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            continue;
        if (sinais && (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-')))
            continue;
        return false;
    }
    return true;
}

bool CaracteresValidos(const QString &texto) {
    static const QString validos = QStringLiteral("1234567890/.-");
    for (const QChar c : texto)
        if (!validos.contains(c))
            return false;
    return true;
}

bool FiltraTecla(QChar tecla, const QString &texto, const QString &extras, bool soInteiros) {
    const char16_t c = tecla.unicode();
    if (c >= u'0' && c <= u'9')
        return true;
    if (c >= 1 && c <= 31)
        return true;
    if (c == u',' && !soInteiros && !texto.contains(QLatin1Char(',')))
        return true;
    return c != 0 && extras.contains(tecla);
}

} // namespace vlme::entry
