#include "cli/Comandos.h"

#include "checking/Pendencias.h"
#include "cli/Json.h"

#include <QTextStream>

namespace vlme::cli {

Saida verificar(Contexto &c) {
    const auto pendencias = checking::VerificaPendencias(c.banco, c.declaracao);
    c.json.insert(QStringLiteral("numero"), Numero(c.declaracao));
    c.json.insert(QStringLiteral("pendencias"), Pendencias(pendencias));
    if (pendencias.empty()) {
        c.saida << checking::TextoSemPendencias << '\n';
        return Saida::Sucesso;
    }
    for (const auto &p : pendencias)
        c.saida << p.texto << '\n';
    return Saida::Problemas;
}

} // namespace vlme::cli
