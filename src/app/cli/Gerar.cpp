#include "cli/Comandos.h"

#include "checking/Pendencias.h"
#include "cli/Json.h"
#include "cli/ProgressoTerminal.h"
#include "delivery/Transmissao.h"

#include <QDir>
#include <QTextStream>

namespace vlme::cli {

// The pendency check, the refusal of a statement already transmitted or
// registered, then the file, with no delivery question: the path written, or
// the pendencies (exit 1). Ctrl+C cancels and leaves no file.
Saida gerar(Contexto &c) {
    const auto pendencias = checking::VerificaPendencias(c.banco, c.declaracao);
    c.json.insert(QStringLiteral("numero"), Numero(c.declaracao));
    if (!pendencias.empty()) {
        c.json.insert(QStringLiteral("pendencias"), Pendencias(pendencias));
        for (const auto &p : pendencias)
            c.saida << p.texto << '\n';
        return Saida::Problemas;
    }
    if (const QString motivo = delivery::MotivoRecusaGeracao(c.banco, c.declaracao);
        !motivo.isEmpty()) {
        c.erro << TextoTerminal(motivo) << '\n';
        return Saida::Falha;
    }
    ProgressoTerminal progresso;
    delivery::Transmissao transmissao(c.banco, c.pasta, c.usuario, progresso);
    const QString caminho = transmissao.GeraArquivoTransmissao(c.declaracao, false);
    if (caminho.isEmpty())
        return Saida::Falha; // cancelled or a field that does not fit, told
    c.saida << QDir::toNativeSeparators(caminho) << '\n';
    c.json.insert(QStringLiteral("arquivo"), QDir::toNativeSeparators(caminho));
    return Saida::Sucesso;
}

} // namespace vlme::cli
