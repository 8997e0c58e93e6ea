#include "entry/Conferencias.h"

#include "entry/Codigos.h"
#include "entry/Numeros.h"

#include <algorithm>

namespace vlme::entry {

namespace {

Conferencia resultado(bool passou, const QString &mensagem) {
    Conferencia c;
    c.passou = passou;
    if (!passou)
        c.mensagem = mensagem;
    return c;
}

// "0", "00" and "0000000000" alike: the zero padding applied on leaving the
// field may not have run yet when the form is confirmed from the keyboard.
bool zerosApenas(const QString &texto) {
    return !texto.isEmpty() &&
           std::all_of(texto.begin(), texto.end(), [](QChar c) { return c == QLatin1Char('0'); });
}

} // namespace

Conferencia ConfereObrigatorio(const QString &texto, const QString &mensagem) {
    return resultado(!texto.trimmed().isEmpty(), mensagem);
}

Conferencia ConfereCNPJ(const QString &valor, const QString &mensagem) {
    return resultado(valor.size() == 14 && ValidaCNPJ(valor), mensagem);
}

Conferencia ConfereData(const QString &valor, const QString &mensagem) {
    return resultado(ValidaDataDMA(valor), mensagem);
}

Conferencia ConfereNCM(const QString &valor, const QString &mensagem) {
    return resultado(ValidaNCM(valor), mensagem);
}

Conferencia ConfereNumeroNota(const QString &texto, const QString &mensagem) {
    return resultado(!zerosApenas(texto), mensagem);
}

Conferencia ConfereDI(const QString &valor, const QString &mensagem) {
    return resultado(ValidaDI(valor), mensagem);
}

Conferencia ConfereItem(const QString &texto, const QString &mensagem) {
    const QString t = texto.trimmed();
    const int item = SoNumeros(t) ? t.toInt() : 0;
    return resultado(item > 0 && item <= 80, mensagem);
}

Conferencia ConfereAdicao(const QString &texto, const QString &mensagem) {
    return resultado(!zerosApenas(texto), mensagem);
}

Conferencia ConfereInscricao(const QString &texto, const QString &mensagem) {
    return resultado(CaracteresValidos(texto), mensagem);
}

Conferencia ConfereValor(const QString &texto, int largura, int decimais, const QString &mensagem) {
    const int w = std::min(largura, 16);
    const int inteirosPermitidos = w - decimais - 1;

    QString t = texto;
    t.remove(QLatin1Char('.'));
    if (t.isEmpty())
        t = QStringLiteral("0,0");
    const qsizetype virgula = t.indexOf(QLatin1Char(','));
    const qsizetype inteiros = virgula < 0 ? t.size() : virgula;
    const qsizetype casas = virgula < 0 ? 0 : t.size() - virgula - 1;

    // A text the key filter should have kept out (a second comma, a letter)
    // is refused too, instead of being read as some other number.
    bool numero = false;
    ConverteValor(t, &numero);

    Conferencia c;
    c.passou = numero && inteiros <= inteirosPermitidos && casas <= decimais;
    if (c.passou) {
        c.texto = FormataValor(t, w, decimais);
    } else {
        c.mensagem = mensagem + QLatin1Char('\r') +
                     QStringLiteral("São permitidos até %1 inteiros e %2 decimais .")
                         .arg(inteirosPermitidos)
                         .arg(decimais);
    }
    return c;
}

} // namespace vlme::entry
