#pragma once
// What the pendency window shows in its diagnostic mode: the server's errors
// and warnings stored for a statement (only the warnings once it is
// registered) and the reception data of its receipt.

#include <QString>

#include <optional>
#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::checking {

struct ItemDiagnostico {
    QString descricao; // " " + the server's text
    QString local;
    QString registro;
    bool erro = false; // TIPO_ERRO "1"; anything else is a warning
};

struct Diagnostico {
    std::vector<ItemDiagnostico> itens;
    int erros = 0;
    int avisos = 0;
    bool registrado = false;
    std::optional<QString> recebidoEm;  // "dd/MM/yyyy às HH:mmH"
    std::optional<QString> transmissao; // receipt's transmission number
};

Diagnostico LeDiagnostico(store::Banco &banco, int nrVlm);

// A receipt's date and time as "dd/MM/yyyy HH:mm:ss", whatever layout they
// arrived in; a part that cannot be read is shown as it came.
QString DataHoraRecibo(const QString &data, const QString &hora);

inline const QString TextoSoAvisos =
    QStringLiteral("Este VLM-E já está registrado. Apenas os avisos serão listados.");

} // namespace vlme::checking
