#pragma once
// How long the user has left the program alone: no key, click or wheel
// anywhere in it. While armed, `aoEsgotar` is told once the set time passes
// without any. The main window arms it while a statement is open, so a clerk
// who went home does not hold the statement for the night.
// User-interface thread only.

#include <QObject>
#include <QTimer>

#include <functional>

namespace vlme::ui {

class Inatividade : public QObject {
  public:
    explicit Inatividade(QObject *pai);
    ~Inatividade() override;

    void defineIntervalo(int ms);
    int intervalo() const { return tempo_.interval(); }
    // Armed: counts from now. Disarmed: tells nothing.
    void arma(bool armada);

    std::function<void()> aoEsgotar;

  protected:
    bool eventFilter(QObject *alvo, QEvent *evento) override;

  private:
    QTimer tempo_;
};

} // namespace vlme::ui
