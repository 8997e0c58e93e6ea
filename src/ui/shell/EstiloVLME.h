#pragma once
// The program's style over the platform's: what a keyboard user needs to see
// and do in every window, in one place instead of in each control. A focused
// push button and a focused list (an empty one too) show the focus; Home and
// End move to the first and last row of a table, as they do in a list (the
// platform keeps them for the first and last column). UI thread only.

#include <QProxyStyle>

namespace vlme::ui {

class EstiloVLME : public QProxyStyle {
  public:
    EstiloVLME();

    void drawControl(ControlElement elemento, const QStyleOption *opcao, QPainter *pintor,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement elemento, const QStyleOption *opcao, QPainter *pintor,
                       const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    using QProxyStyle::polish;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::unpolish;

  private:
    QObject *teclas_;
};

// Gives the application the program's style, and keeps the keyboard off a
// hidden window (see EstiloVLME.cpp); before the first window.
void InstalaEstilo();

} // namespace vlme::ui
