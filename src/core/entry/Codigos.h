#pragma once
// Validity of the codes a statement holds without their masks: CNPJ (14
// letters or digits), CPF (11 digits), NCM (8), DI number (10) and the two
// 8-digit date layouts. Used by the forms,
// the pendency check and the import. Pure functions; any thread.

#include <QString>

namespace vlme::entry {

// A CNPJ's shape: 14 characters, the first 12 digits or upper-case letters
// (registers issued since July 2026 carry letters), the last 2 digits.
bool FormaCNPJ(const QString &cnpj);
// FormaCNPJ and its check digits; fourteen zeros are refused.
bool ValidaCNPJ(const QString &cnpj);
// Check digits of a person's register; eleven zeros are refused.
bool ValidaCPF(const QString &cpf);
// Eight digits, not all zero.
bool ValidaNCM(const QString &ncm);
// Check digit of an import declaration number; ten zeros are refused.
bool ValidaDI(const QString &di);
// DDMMYYYY and YYYYMMDD. Every fourth year is a leap year (1900 included).
bool ValidaDataDMA(const QString &data);
bool ValidaDataAMD(const QString &data);

} // namespace vlme::entry
