#include "cli/Json.h"

#include "checking/Pendencias.h"

#include <QJsonDocument>
#include <QRegularExpression>

namespace vlme::cli {

namespace {

// Marks an amount's text inside a string until TextoJson unwraps it; no text
// of the program holds this character.
constexpr char16_t MarcaQuantia = u'\x01';

} // namespace

QJsonValue Quantia(double valor, int casas) {
    return QString(QChar(MarcaQuantia)) + QString::number(valor, 'f', casas);
}

QJsonArray Pendencias(const std::vector<checking::Pendencia> &pendencias) {
    QJsonArray lista;
    for (const auto &p : pendencias)
        lista.append(
            QJsonObject{{QStringLiteral("chave"), p.chave}, {QStringLiteral("texto"), p.texto}});
    return lista;
}

QByteArray TextoJson(const QJsonObject &documento) {
    static const QRegularExpression quantia(QStringLiteral("\"\\\\u0001(-?[0-9]+(\\.[0-9]+)?)\""));
    return QString::fromUtf8(QJsonDocument(documento).toJson(QJsonDocument::Indented))
        .replace(quantia, QStringLiteral("\\1"))
        .toUtf8();
}

} // namespace vlme::cli
