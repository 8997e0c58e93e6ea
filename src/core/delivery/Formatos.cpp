#include "delivery/Formatos.h"

#include "entry/Numeros.h"

#include <cmath>
#include <string>

namespace vlme::delivery {

QString FormataNumero(double valor, int largura, int decimais)
{
    if (!std::isfinite(valor))
        return {};
    const entry::DigitosDecimais d =
        entry::ArredondaDecimal(valor, decimais, entry::Meio::LongeDoZero);
    std::string digitos = d.inteiro + d.fracao;
    const size_t primeiro = digitos.find_first_not_of('0');
    digitos = primeiro == std::string::npos ? std::string() : digitos.substr(primeiro);

    QString resultado = QString::fromLatin1(digitos.data(), qsizetype(digitos.size()));
    if (resultado.size() < largura)
        resultado.prepend(QString(largura - resultado.size(), QLatin1Char('0')));
    if (resultado.isEmpty())
        resultado = QStringLiteral("0");
    // Negative zero, or a negative that rounds to zero, is zero.
    if (d.negativo && !digitos.empty())
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
