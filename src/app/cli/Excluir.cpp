#include "cli/Comandos.h"

#include "cli/Json.h"
#include "store/CopiaExclusao.h"

#include <QTextStream>

namespace vlme::cli {

// Asks nothing: the system that calls it has asked its own user already.
Saida excluir(Contexto &c) {
    store::ExcluiVLM(c.banco, c.declaracao, true, nullptr);
    c.saida << "Declaração " << c.declaracao << " excluída.\n";
    c.json.insert(QStringLiteral("numero"), Numero(c.declaracao));
    return Saida::Sucesso;
}

} // namespace vlme::cli
