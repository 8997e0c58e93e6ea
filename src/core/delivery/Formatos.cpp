#include "delivery/Formatos.h"

#include "entry/Codigos.h"
#include "entry/Numeros.h"

#include <cmath>
#include <string>

namespace vlme::delivery {

QString FormataNumero(double valor, int largura, int decimais) {
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

QString CompletaBrancos(const QString &valor, int largura) {
    if (valor.size() >= largura)
        return valor;
    return valor + QString(largura - valor.size(), QLatin1Char(' '));
}

QString FormataData(const QString &gravada) {
    const QString s = gravada.trimmed();
    if (s.isEmpty())
        return QStringLiteral("00000000");
    const auto separador = [&](int i) {
        return s.at(i) == QLatin1Char('/') || s.at(i) == QLatin1Char('-');
    };
    QString amd;
    if (s.size() == 8)
        amd = s.mid(4, 4) + s.mid(2, 2) + s.left(2);
    else if (s.size() == 10 && separador(2) && s.at(5) == s.at(2) && s.at(2) == QLatin1Char('/'))
        amd = s.mid(6, 4) + s.mid(3, 2) + s.left(2);
    else if (s.size() == 10 && separador(4) && s.at(7) == s.at(4))
        amd = s.left(4) + s.mid(5, 2) + s.mid(8, 2);
    return entry::ValidaDataAMD(amd) ? amd : QString();
}

QString IndicadorSN(int valor) {
    return valor == 1 ? QStringLiteral("S") : QStringLiteral("N");
}

} // namespace vlme::delivery
