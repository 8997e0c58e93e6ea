#pragma once
// The editable field every form uses: mask, maximum length and tag letters,
// the keystroke filter (typed and pasted text), selection on entry and the
// checks run on leaving, all taken from the field tables of entry/Campos.h.
// Build one with CriaCampo (FabricaCampos.h). User-interface thread only.

#include "entry/Campos.h"
#include "entry/Conferencias.h"

#include <QLineEdit>

#include <functional>
#include <optional>

namespace vlme::base {
class InterfaceUsuario;
enum class Icone;
} // namespace vlme::base

namespace vlme::ui {

class CampoMascarado : public QLineEdit {
    Q_OBJECT
  public:
    explicit CampoMascarado(QWidget *pai = nullptr);

    // "AA.AAA.AAA/AAAA-##": "#" a digit, "A" a letter or a digit (a letter
    // typed or pasted in lower case is raised), other characters literals;
    // empty for none.
    void defineMascara(const QString &mascara);
    QString mascara() const { return mascara_; }
    // 0: no limit. Limits typing and pasting only: the grouped text written
    // back by a numeric field may be longer and is kept whole.
    void defineTamanhoMaximo(int tamanho);
    int tamanhoMaximo() const { return tamanhoMaximo_; }
    void defineTag(const QString &tag);
    QString tag() const;
    bool temTag(QChar letra) const { return tag().contains(letra); }

    void defineUsuario(base::InterfaceUsuario *usuario) { usuario_ = usuario; }
    void defineFiltro(std::optional<entry::RegraTecla> regra);
    void defineConferenciaValor(std::optional<entry::ChamadaConfereValor> chamada);
    void defineSaida(std::optional<entry::RegraSaida> regra);
    // A check of the window's own, run on leaving after the table's rules:
    // the message and its icon when the value (digits only) fails.
    using ConferenciaPropria =
        std::function<std::optional<std::pair<QString, base::Icone>>(const QString &valor)>;
    void defineConferenciaPropria(ConferenciaPropria conferencia) {
        propria_ = std::move(conferencia);
    }

    // The field's value: under a mask its digits and letters only, else the
    // text itself.
    QString valor() const;

    // What entering the field does: drop the grouping dots (tag N), select
    // the whole text (tag S).
    void seleciona();
    // The leaving rules: normalisation, then the numeric or date check with
    // its catalog message. True when the field passes; on failure the message
    // has been shown and the cursor is back in the field. The forms call it
    // again when the user confirms.
    bool confere();
    // Applies a check's outcome: the new text when it passed, else the
    // message ("Atenção!", exclamation, OK), the cursor back and the text
    // selected. Returns whether it passed.
    bool aplica(const entry::Conferencia &conferencia);

  protected:
    void focusInEvent(QFocusEvent *evento) override;
    void focusOutEvent(QFocusEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    void contextMenuEvent(QContextMenuEvent *evento) override;

  private:
    void colaFiltrado();
    void colaNaMascara();
    QString textoSemSelecao() const;
    // One of the mask's literal characters (".", "/", "-").
    bool separador(QChar c) const;
    bool aceita(QChar c, const QString &textoAtual) const;
    void rejeita(const QString &mensagem, base::Icone icone);

    QString mascara_;
    int posicoes_ = 0;    // the mask's places for a letter or a digit
    bool letras_ = false; // some place takes a letter
    int tamanhoMaximo_ = 0;
    base::InterfaceUsuario *usuario_ = nullptr;
    std::optional<entry::RegraTecla> filtro_;
    std::optional<entry::ChamadaConfereValor> valor_;
    std::optional<entry::RegraSaida> saida_;
    ConferenciaPropria propria_;
};

} // namespace vlme::ui
