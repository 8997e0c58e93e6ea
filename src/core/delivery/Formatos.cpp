#include "delivery/Formatos.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vlme::delivery {

QString FormataNumero(double valor, int largura, int decimais)
{
    if (!std::isfinite(valor))
        return {};
    // The shortest scientific form that reads back as the same double:
    // "[-]d.ddde±xx". Working on its digits keeps the rounding decimal.
    char buf[64];
    const auto fim = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::scientific).ptr;
    const std::string_view texto(buf, static_cast<size_t>(fim - buf));
    const bool negativo = texto.front() == '-';
    const size_t e = texto.find('e');
    std::string mantissa;
    for (char c : texto.substr(negativo ? 1 : 0, e - (negativo ? 1 : 0)))
        if (c != '.')
            mantissa += c;
    int expoente = 0;
    const std::string_view exp = texto.substr(e + 1);
    std::from_chars(exp.data() + (exp.front() == '+' ? 1 : 0), exp.data() + exp.size(), expoente);

    // Digits left of the point once scaled by 10^decimais.
    const long inteiros = long(expoente) + 1 + decimais;
    const long n = long(mantissa.size());
    std::string digitos;
    bool sobe = false;
    if (inteiros >= n) {
        digitos = mantissa + std::string(size_t(inteiros - n), '0');
    } else if (inteiros <= 0) {
        digitos = "0";
        sobe = inteiros == 0 && mantissa[0] >= '5';
    } else {
        digitos = mantissa.substr(0, size_t(inteiros));
        sobe = mantissa[size_t(inteiros)] >= '5';
    }
    if (sobe) {
        long i = long(digitos.size()) - 1;
        while (i >= 0 && digitos[size_t(i)] == '9')
            digitos[size_t(i--)] = '0';
        if (i < 0)
            digitos.insert(digitos.begin(), '1');
        else
            ++digitos[size_t(i)];
    }
    const size_t primeiro = digitos.find_first_not_of('0');
    digitos = primeiro == std::string::npos ? std::string() : digitos.substr(primeiro);

    QString resultado = QString::fromLatin1(digitos.data(), qsizetype(digitos.size()));
    if (resultado.size() < largura)
        resultado.prepend(QString(largura - resultado.size(), QLatin1Char('0')));
    if (resultado.isEmpty())
        resultado = QStringLiteral("0");
    if (negativo && !digitos.empty())
        resultado.prepend(QLatin1Char('-'));
    return resultado;
}

QString CompletaBrancos(const QString &valor, int largura)
{
    if (valor.size() >= largura)
        return valor;
    return valor + QString(largura - valor.size(), QLatin1Char(' '));
}

QString FormataData(const QDate &data)
{
    if (!data.isValid())
        return QStringLiteral("00000000");
    return QStringLiteral("%1%2%3")
        .arg(data.year(), 4, 10, QLatin1Char('0'))
        .arg(data.month(), 2, 10, QLatin1Char('0'))
        .arg(data.day(), 2, 10, QLatin1Char('0'));
}

QString IndicadorSN(int valor)
{
    return valor == 1 ? QStringLiteral("S") : QStringLiteral("N");
}

} // namespace vlme::delivery
