#pragma once
// The pieces of vlme-cli's JSON documents, so every command writes a kind of
// value the same way: codes and statement numbers as strings (leading zeros
// and letters kept), amounts as numbers with a decimal point.

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <vector>

namespace vlme::checking {
struct Pendencia;
}

namespace vlme::cli {

// A statement number as the program shows it.
inline QJsonValue Numero(int numero) {
    return QString::number(numero);
}

// An amount rounded to `casas` decimals, written with them ("100.00"):
// QJsonDocument would write 100.0 as 100.
QJsonValue Quantia(double valor, int casas = 2);

// The pendencies: key and text of each.
QJsonArray Pendencias(const std::vector<checking::Pendencia> &pendencias);

// The document's text: the amounts given their decimals.
QByteArray TextoJson(const QJsonObject &documento);

} // namespace vlme::cli
