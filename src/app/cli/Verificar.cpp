#include "cli/Comandos.h"

#include "checking/Pendencias.h"

#include <QTextStream>

namespace vlme::cli {

Saida verificar(Contexto &c) {
    const auto pendencias = checking::VerificaPendencias(c.banco, c.declaracao);
    if (pendencias.empty()) {
        c.saida << checking::TextoSemPendencias << '\n';
        return Saida::Sucesso;
    }
    for (const auto &p : pendencias)
        c.saida << p.texto << '\n';
    return Saida::Problemas;
}

} // namespace vlme::cli
