#include "entry/Codigos.h"

namespace vlme::entry {

namespace {

// A character a code has no room for (a mask's separator, a letter where only
// digits go) is refused rather than counted as 0, so it can never reach the
// delivery file.
bool digitos(const QString &texto, qsizetype tamanho) {
    if (texto.size() != tamanho)
        return false;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The character's value in the check-digit sums: its code minus that of
// "0", so a digit is itself and a letter counts from 17 (A) to 42 (Z).
int d(const QString &texto, qsizetype posicao) // position from 1
{
    return texto[posicao - 1].unicode() - u'0';
}

bool soZeros(const QString &texto) {
    for (const QChar c : texto)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

// (sum x 10) mod 11, where 10 becomes 0.
int digitoModulo11(int soma) {
    const int r = (soma * 10) % 11;
    return r == 10 ? 0 : r;
}

bool validaData(int dia, int mes, int ano) {
    if (ano <= 0 || mes <= 0 || mes > 12 || dia <= 0)
        return false;
    int dias = 30;
    if (mes == 2)
        dias = ano % 4 == 0 ? 29 : 28;
    else if (mes == 1 || mes == 3 || mes == 5 || mes == 7 || mes == 8 || mes == 10 || mes == 12)
        dias = 31;
    return dia <= dias;
}

} // namespace

bool FormaCNPJ(const QString &cnpj) {
    if (cnpj.size() != 14 || !digitos(cnpj.right(2), 2))
        return false;
    for (qsizetype i = 0; i < 12; ++i) {
        const QChar c = cnpj.at(i);
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) &&
            (c < QLatin1Char('A') || c > QLatin1Char('Z')))
            return false;
    }
    return true;
}

bool ValidaCNPJ(const QString &cnpj) {
    if (!FormaCNPJ(cnpj) || soZeros(cnpj))
        return false;
    static constexpr int pesos1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int pesos2[12] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
    int soma1 = 0, soma2 = 0;
    for (int i = 1; i <= 12; ++i) {
        soma1 += d(cnpj, i) * pesos1[i - 1];
        soma2 += d(cnpj, i) * pesos2[i - 1];
    }
    const int d1 = digitoModulo11(soma1);
    const int d2 = digitoModulo11(soma2 + 2 * d1);
    return d1 == d(cnpj, 13) && d2 == d(cnpj, 14);
}

bool ValidaCPF(const QString &cpf) {
    if (!digitos(cpf, 11) || soZeros(cpf))
        return false;
    int soma1 = 0, soma2 = 0;
    for (int k = 1; k <= 9; ++k) {
        soma1 += d(cpf, k) * (11 - k);
        soma2 += d(cpf, k) * (12 - k);
    }
    const int d1 = digitoModulo11(soma1);
    const int d2 = digitoModulo11(soma2 + 2 * d1);
    return d1 == d(cpf, 10) && d2 == d(cpf, 11);
}

bool ValidaNCM(const QString &ncm) {
    return digitos(ncm, 8) && !soZeros(ncm);
}

bool ValidaDI(const QString &di) {
    if (!digitos(di, 10) || soZeros(di))
        return false;
    int soma = 6 + 2 * d(di, 1);
    for (int i = 2; i <= 9; ++i)
        soma += d(di, i) * (11 - i);
    const int r = soma % 11;
    const int dv = r <= 1 ? 0 : 11 - r;
    return dv == d(di, 10);
}

bool ValidaDataDMA(const QString &data) {
    if (!digitos(data, 8))
        return false;
    return validaData(data.mid(0, 2).toInt(), data.mid(2, 2).toInt(), data.mid(4, 4).toInt());
}

bool ValidaDataAMD(const QString &data) {
    if (!digitos(data, 8))
        return false;
    return validaData(data.mid(6, 2).toInt(), data.mid(4, 2).toInt(), data.mid(0, 4).toInt());
}

} // namespace vlme::entry
