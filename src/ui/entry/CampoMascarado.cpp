#include "ui/entry/CampoMascarado.h"

#include "ui/entry/FabricaCampos.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "entry/Numeros.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

namespace vlme::ui {

namespace {

// Set while a field shows its message and takes the cursor back: the focus
// moves that causes are not the user leaving the other fields.
bool reportando = false;

bool imprimivel(QChar c) {
    return c.unicode() >= 32 && c.unicode() != 127;
}

// Qt's own letter places take any script's letters; a register has A to Z only.
bool letraOuDigito(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

QString mensagemCatalogo(const char *chave) {
    return base::Catalogo().Descricao(QString::fromLatin1(chave));
}

} // namespace

CampoMascarado::CampoMascarado(QWidget *pai) : QLineEdit(pai) {}

void CampoMascarado::defineMascara(const QString &mascara) {
    mascara_ = mascara;
    posicoes_ = int(mascara.count(QLatin1Char('#')) + mascara.count(QLatin1Char('A')));
    letras_ = mascara.contains(QLatin1Char('A'));
    if (mascara.isEmpty()) {
        setInputMask({});
        defineTamanhoMaximo(tamanhoMaximo_);
        return;
    }
    QString qt = letras_ ? QStringLiteral(">") : QString(); // upper case from here on
    for (const QChar c : mascara) {
        if (c == QLatin1Char('#')) {
            qt += QLatin1Char('0'); // a digit, not required
        } else if (c == QLatin1Char('A')) {
            qt += QLatin1Char('n'); // a letter or a digit, not required
        } else {
            qt += QLatin1Char('\\');
            qt += c;
        }
    }
    setInputMask(qt + QStringLiteral(";_"));
}

void CampoMascarado::defineTamanhoMaximo(int tamanho) {
    tamanhoMaximo_ = tamanho;
    if (!mascara_.isEmpty())
        return; // the mask sets the length
    // A filtered field counts for itself, so that QLineEdit never cuts the
    // longer grouped text a numeric field is given.
    setMaxLength(tamanho > 0 && !filtro_ ? tamanho : 32767);
}

void CampoMascarado::defineTag(const QString &tag) {
    DefineTag(this, tag);
}

QString CampoMascarado::tag() const {
    return Tag(this);
}

void CampoMascarado::defineFiltro(std::optional<entry::RegraTecla> regra) {
    filtro_ = regra;
    setAcceptDrops(!filtro_); // a drop would bypass the filter
    defineTamanhoMaximo(tamanhoMaximo_);
}

void CampoMascarado::defineConferenciaValor(std::optional<entry::ChamadaConfereValor> chamada) {
    valor_ = chamada;
}

void CampoMascarado::defineSaida(std::optional<entry::RegraSaida> regra) {
    saida_ = regra;
}

QString CampoMascarado::valor() const {
    if (mascara_.isEmpty())
        return text();
    QString valor;
    for (const QChar c : text())
        if (letraOuDigito(c))
            valor += c.toUpper();
    return valor;
}

void CampoMascarado::seleciona() {
    const QString t = entry::TextoAoEntrar(tag(), text());
    if (t != text())
        setText(t);
    if (temTag(QLatin1Char('S')))
        selectAll();
}

bool CampoMascarado::confere() {
    if (saida_) {
        if (saida_->acao == entry::AoSair::Data) {
            if (!aplica(entry::ConfereData(valor(), mensagemCatalogo(saida_->chave))))
                return false;
        } else {
            const QString t = entry::NormalizaAoSair(*saida_, text());
            if (t != text())
                setText(t);
        }
    }
    if (valor_ && !aplica(entry::ConfereValor(text(), valor_->largura, valor_->decimais,
                                              mensagemCatalogo(valor_->chave))))
        return false;
    if (propria_)
        if (const auto falha = propria_(valor())) {
            rejeita(falha->first, falha->second);
            return false;
        }
    return true;
}

bool CampoMascarado::aplica(const entry::Conferencia &conferencia) {
    if (conferencia.passou) {
        if (conferencia.texto && *conferencia.texto != text())
            setText(*conferencia.texto);
        return true;
    }
    rejeita(conferencia.mensagem, base::Icone::Exclamacao);
    return false;
}

void CampoMascarado::rejeita(const QString &mensagem, base::Icone icone) {
    const bool antes = reportando;
    reportando = true;
    if (usuario_)
        usuario_->mensagem(QStringLiteral("Atenção!"), mensagem, icone, base::Botoes::Ok);
    setFocus(Qt::OtherFocusReason);
    seleciona(); // also when the cursor never left, as on confirming
    reportando = antes;
}

void CampoMascarado::focusInEvent(QFocusEvent *evento) {
    QLineEdit::focusInEvent(evento);
    // An empty mask leaves the cursor after its blanks, where no digit can
    // go: the first field of a window opened for a new statement took none.
    if (!mascara_.isEmpty() && valor().isEmpty())
        setCursorPosition(0);
    const Qt::FocusReason r = evento->reason();
    if (r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason)
        return; // back from another window or a menu: not an entry
    seleciona();
    if (r == Qt::MouseFocusReason && temTag(QLatin1Char('S'))) {
        // The click that gave the focus places the cursor after this; select
        // once it is done.
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
    }
}

void CampoMascarado::focusOutEvent(QFocusEvent *evento) {
    QLineEdit::focusOutEvent(evento);
    switch (evento->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return; // the user has not left the field
    default:
        break;
    }
    if (reportando || !isEnabled() || isReadOnly() || !isVisible())
        return;
    if (ConferenciaDispensada(QApplication::focusWidget()))
        return;
    confere();
}

bool CampoMascarado::separador(QChar c) const {
    return c != QLatin1Char('#') && c != QLatin1Char('A') && mascara_.contains(c);
}

QString CampoMascarado::textoSemSelecao() const {
    QString t = text();
    if (hasSelectedText())
        t.remove(selectionStart(), selectedText().size());
    return t;
}

// The text given to FiltraTecla is what stays of the field once the typed or
// pasted text replaces the selection: a comma typed over a selected "1,5"
// is the only comma left.
bool CampoMascarado::aceita(QChar c, const QString &textoAtual) const {
    if (tamanhoMaximo_ > 0 && textoAtual.size() >= tamanhoMaximo_)
        return false;
    const QString dado = filtro_->textoDoCampo ? textoAtual : QString();
    return entry::FiltraTecla(c, dado, QString::fromLatin1(filtro_->extras), filtro_->soInteiros);
}

void CampoMascarado::keyPressEvent(QKeyEvent *evento) {
    if (letras_) {
        if (evento->matches(QKeySequence::Paste)) {
            colaNaMascara();
            evento->accept();
            return;
        }
        for (const QChar c : evento->text())
            if (imprimivel(c) && !letraOuDigito(c) && !separador(c)) {
                evento->accept(); // dropped
                return;
            }
    }
    if (filtro_) {
        if (evento->matches(QKeySequence::Paste)) {
            colaFiltrado();
            evento->accept();
            return;
        }
        QString atual = textoSemSelecao();
        for (const QChar c : evento->text()) {
            if (!imprimivel(c))
                continue; // editing keys
            if (!aceita(c, atual)) {
                evento->accept(); // dropped
                return;
            }
            atual += c;
        }
    }
    QLineEdit::keyPressEvent(evento);
}

void CampoMascarado::colaFiltrado() {
    if (isReadOnly())
        return;
    QString atual = textoSemSelecao();
    QString aceito;
    for (const QChar c : QGuiApplication::clipboard()->text()) {
        if (imprimivel(c) && aceita(c, atual)) {
            aceito += c;
            atual += c;
        }
    }
    // Nothing acceptable pasted: the selection stays as it was.
    if (!aceito.isEmpty())
        insert(aceito);
}

// A whole value copied from elsewhere, with or without its separators, in
// either case, replaces the field wherever the cursor stood; anything else is
// pasted as the mask takes it, without the characters no place takes.
void CampoMascarado::colaNaMascara() {
    if (isReadOnly())
        return;
    QString aceito;
    for (const QChar c : QGuiApplication::clipboard()->text())
        if (letraOuDigito(c) || separador(c))
            aceito += c;
    QString valor;
    for (const QChar c : aceito)
        if (letraOuDigito(c))
            valor += c;
    if (valor.size() == posicoes_) {
        setText(valor);
        Q_EMIT textEdited(text()); // the user's change, as a typed one is
    } else if (!aceito.isEmpty())
        insert(aceito);
}

void CampoMascarado::contextMenuEvent(QContextMenuEvent *evento) {
    if (!filtro_ && !letras_) {
        QLineEdit::contextMenuEvent(evento);
        return;
    }
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard menu names its paste action only by its (translated) text.
    const QString colar = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *a : menu->actions()) {
        if (a->text().startsWith(colar)) {
            disconnect(a, &QAction::triggered, this, nullptr);
            if (filtro_)
                connect(a, &QAction::triggered, this, &CampoMascarado::colaFiltrado);
            else
                connect(a, &QAction::triggered, this, &CampoMascarado::colaNaMascara);
        }
    }
    menu->popup(evento->globalPos());
}

} // namespace vlme::ui
