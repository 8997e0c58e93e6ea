#include "shell/FronteiraComando.h"

#include "base/ErroVLME.h"
#include "base/InterfaceUsuario.h"

#include <exception>

namespace vlme::shell {

namespace {

const QString TextoInterno = QStringLiteral(
    "Ocorreu um erro interno no VLM-E e a operação foi interrompida; o que ela gravava foi "
    "desfeito. Repita a operação; se o erro continuar, procure o suporte técnico.");

QString ComDetalhe(const QString &texto, const QString &detalhe) {
    return detalhe.isEmpty() ? texto : texto + QStringLiteral("\n\nDetalhe técnico: ") + detalhe;
}

} // namespace

QString TextoComDetalhe(const base::ErroVLME &erro) {
    return ComDetalhe(erro.mensagem(), erro.detalhe());
}

QString TextoDoErro() {
    try {
        throw;
    } catch (const base::ErroVLME &e) {
        return TextoComDetalhe(e);
    } catch (const std::exception &e) {
        return ComDetalhe(TextoInterno, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return TextoInterno;
    }
}

bool ExecutaProtegido(base::InterfaceUsuario &usuario, const std::function<void()> &acao) {
    try {
        acao();
        return true;
    } catch (const base::ErroJaInformado &) {
        return false;
    } catch (...) {
        const QString texto = TextoDoErro();
        try {
            usuario.mensagem(QStringLiteral("ERRO"), texto, base::Icone::Critico, base::Botoes::Ok);
        } catch (...) {
            // Nothing more can tell the user; the program goes on.
        }
        return false;
    }
}

} // namespace vlme::shell
