#include "entry/FormComponente.h"

#include "base/Erros.h"
#include "entry/Campos.h"
#include "entry/OperacaoFormulario.h"

namespace vlme::entry {

namespace {

struct TagOutroControle {
    const char *formulario;
    const char *controle;
    const char *tag;
};

// Options and buttons: D and V as for the fields; P for what follows the
// document choice.
constexpr TagOutroControle outros[] = {
    {"frmImportados", "optDiretoSim", "DV"},
    {"frmImportados", "optDiretoNao", "DV"},
    {"frmImportados", "optBaseCalculoSim", "DV"},
    {"frmImportados", "optBaseCalculoNao", "DV"},
    {"frmImportados", "optComSuspSim", "DV"},
    {"frmImportados", "optComSuspNao", "DV"},
    {"frmImportados", "optReducaoSim", "DV"},
    {"frmImportados", "optReducaoNao", "DV"},
    {"frmImportados", "CmdNcm", "DPV"},
    {"frmImportados", "CmdUnid", "DPV"},
    {"frmImportados", "cmdCancelar", "V"},
    {"frmNacionais", "CmdNcm", "DV"},
    {"frmNacionais", "Command1", "DV"},
    {"frmNacionais", "cmdIncluirImportadoNacional", "DV"},
    {"frmNacionais", "cmdAlterarImportadoNacional", "DV"},
    {"frmNacionais", "cmdExcluirImportadoNacional", "DV"},
    {"frmNacionais", "cmdLocalizarImportadoNacional", "DV"},
    {"frmNacionais", "cmdCancelar", "V"},
};

} // namespace

QString PrefixoOperacao(int operacao) {
    switch (operacao) {
    case OperacaoFormulario::Incluir:
        return QStringLiteral("Incluir ");
    case OperacaoFormulario::Alterar:
        return QStringLiteral("Alterar ");
    case OperacaoFormulario::Excluir:
        return QStringLiteral("Excluir ");
    default:
        return QStringLiteral("Visualizar ");
    }
}

QString TagControle(const char *formulario, const QString &controle) {
    if (const DefinicaoCampo *c = BuscaCampo(QLatin1String(formulario), controle))
        return QString::fromLatin1(c->tag);
    for (const TagOutroControle &o : outros)
        if (qstrcmp(o.formulario, formulario) == 0 && controle == QLatin1String(o.controle))
            return QString::fromLatin1(o.tag);
    return {};
}

bool HabilitadoNoModo(int operacao, const QString &tag) {
    if (operacao == OperacaoFormulario::Excluir && tag.contains(QLatin1Char('D')))
        return false;
    return !(operacao == OperacaoFormulario::Visualizar && tag.contains(QLatin1Char('V')));
}

QString Mensagem(const char *chave) {
    return base::Catalogo().Descricao(QString::fromLatin1(chave));
}

} // namespace vlme::entry
