#include "ui/entry/FabricaCampos.h"

#include "ui/entry/CampoMascarado.h"

#include <QVariant>
#include <QWidget>

#include "base/ErroVLME.h"
#include "entry/FormComponente.h"

namespace vlme::ui {

namespace {
constexpr char PropriedadeTag[] = "tag";
constexpr char PropriedadeDispensa[] = "vlmeDispensaConferencia";

template <class Linha>
std::optional<Linha> linha(std::span<const Linha> tabela, const QString &formulario,
                           const QString &campo) {
    if (const Linha *l = entry::BuscaCampo(tabela, formulario, campo))
        return *l;
    return std::nullopt;
}
} // namespace

CampoMascarado *CriaCampo(const QString &formulario, const QString &campo,
                          base::InterfaceUsuario &usuario, QWidget *pai) {
    const entry::DefinicaoCampo *def = entry::BuscaCampo(formulario, campo);
    if (!def)
        throw base::ErroVLME(QStringLiteral("A janela %1 pediu um campo que o VLM-E não conhece "
                                            "(%2). Procure o suporte técnico.")
                                 .arg(formulario, campo));
    auto *c = new CampoMascarado(pai);
    c->setObjectName(campo);
    c->defineUsuario(&usuario);
    c->defineTag(QString::fromLatin1(def->tag));
    c->defineMascara(QString::fromLatin1(def->mascara));
    c->defineFiltro(linha(entry::TabelaFiltroTecla(), formulario, campo));
    c->defineTamanhoMaximo(def->tamanhoMaximo);
    c->defineConferenciaValor(linha(entry::TabelaConfereValor(), formulario, campo));
    c->defineSaida(linha(entry::TabelaSaida(), formulario, campo));
    return c;
}

void DefineTag(QWidget *controle, const QString &tag) {
    controle->setProperty(PropriedadeTag, tag);
}

void DefineTagsDoFormulario(QWidget *janela, const char *formulario) {
    for (QWidget *w : janela->findChildren<QWidget *>())
        if (const QString tag = entry::TagControle(formulario, w->objectName()); !tag.isEmpty())
            DefineTag(w, tag);
}

QString Tag(const QWidget *controle) {
    return controle->property(PropriedadeTag).toString();
}

void HabilitaPorTag(QWidget *janela, QChar letra, bool habilitado) {
    for (QWidget *w : janela->findChildren<QWidget *>())
        if (Tag(w).contains(letra))
            w->setEnabled(habilitado);
}

void DispensaConferencia(QWidget *controle) {
    controle->setProperty(PropriedadeDispensa, true);
}

bool ConferenciaDispensada(const QWidget *controle) {
    return controle && controle->property(PropriedadeDispensa).toBool();
}

} // namespace vlme::ui
