#include "cli/Comandos.h"

#include "checking/Calculos.h"

#include <QTextStream>

namespace vlme::cli {

Saida resumo(Contexto &c) {
    for (const auto &[rotulo, valor] : checking::LinhasResumo(c.banco, c.declaracao))
        c.saida << rotulo << ": " << valor << '\n';
    return Saida::Sucesso;
}

} // namespace vlme::cli
