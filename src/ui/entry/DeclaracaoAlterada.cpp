#include "ui/entry/DeclaracaoAlterada.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "entry/FormularioDadosGerais.h"
#include "shell/FronteiraComando.h"
#include "store/Controle.h"

#include <QApplication>
#include <QScopeGuard>

namespace vlme::ui {

std::optional<int> GravaOuGuardaComoNova(store::Banco &banco, base::InterfaceUsuario &usuario,
                                         int origem,
                                         const std::optional<store::DadosGerais> &digitados,
                                         const std::function<void(int numero)> &gravaEm) {
    std::optional<store::ErroDeclaracaoAlterada> recusa;
    const bool gravou = shell::ExecutaProtegido(usuario, [&] {
        try {
            gravaEm(origem);
        } catch (const store::ErroDeclaracaoAlterada &e) {
            recusa = e;
        }
    });
    if (!gravou)
        return std::nullopt;
    if (!recusa)
        return origem;
    const bool guardar =
        usuario.mensagem(QStringLiteral("Atenção!"),
                         base::Mensagem("PERGUNTA_ALTERADA_NOVA", recusa->mensagem(), origem),
                         base::Icone::Pergunta, base::Botoes::SimNao) == base::Resposta::Sim;
    if (!guardar)
        return 0;
    int copia = 0;
    const bool guardou = shell::ExecutaProtegido(usuario, [&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto volta = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        base::ProgressoMudo progresso;
        copia = entry::GuardaComoNova(banco, origem, digitados, progresso, usuario);
        if (copia != 0)
            gravaEm(copia);
    });
    if (!guardou || copia == 0)
        return std::nullopt;
    usuario.mensagem(QStringLiteral("VLM-E"), base::Mensagem("AVISO_ALTERADA_NOVA", copia, origem),
                     base::Icone::Informacao, base::Botoes::Ok);
    return copia;
}

} // namespace vlme::ui
