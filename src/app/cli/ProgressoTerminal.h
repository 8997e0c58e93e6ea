#pragma once
// Progress of a long operation on a terminal, for vlme-cli. On an interactive
// terminal one line is rewritten in place (step, bar and percentage); when
// the output is a file or a pipe each step is written once on its own line,
// so logs stay readable. Ctrl+C while it is open asks the operation to stop
// at its next unit of work, so it rolls back cleanly instead of dying
// half-way. Called on the main thread only.

#include "base/Progresso.h"

#include <QElapsedTimer>
#include <QTextStream>

class QIODevice;

namespace vlme::cli {

class ProgressoTerminal final : public base::Progresso {
  public:
    // Writes to standard error, in place when it is a terminal.
    ProgressoTerminal();
    // Writes to `saida`; `interativo` says whether lines are rewritten in place.
    ProgressoTerminal(QIODevice *saida, bool interativo);
    ~ProgressoTerminal() override;

    void abre() override;
    void fecha() override;
    void passo(const QString &texto) override;
    void faixa(int minimo, int maximo) override;
    void valor(int atual) override;
    void permiteCancelar(bool permite) override;
    bool unidade() override;
    bool cancelado() const override;

  private:
    void desenha();
    int percentual() const;

    QTextStream saida_;
    bool interativo_;
    bool aberto_ = false;
    bool permite_ = true;
    bool cancelado_ = false;
    bool sinalInstalado_ = false;
    QString passo_;
    int minimo_ = 0, maximo_ = 100, atual_ = 0;
    int desenhado_ = -1;    // percentage last drawn, -1 when the line is stale
    int largura_ = 0;       // characters of the line last drawn
    QElapsedTimer eventos_; // since the events were last processed
};

} // namespace vlme::cli
