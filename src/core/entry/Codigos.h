#pragma once
// Validity of the codes a statement holds as digits only: CNPJ (14), CPF (11),
// NCM (8), DI number (10) and the two 8-digit date layouts. Used by the forms,
// the pendency check and the import. Pure functions; any thread.

#include <QString>

namespace vlme::entry {

// Check digits of the establishment's register; fourteen zeros are refused.
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
