#pragma once
// Talking to the user through message boxes and file dialogs.

#include "shell/InterfaceUsuario.h"

class QWidget;

namespace vlme::ui {

class UsuarioJanela final : public shell::InterfaceUsuario {
  public:
    explicit UsuarioJanela(QWidget *pai = nullptr) : pai_(pai) {}
    void definePai(QWidget *pai) { pai_ = pai; }

    shell::Resposta mensagem(const QString &titulo, const QString &texto, shell::Icone icone,
                             shell::Botoes botoes) override;
    QString escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                const QString &pastaInicial) override;
    QString escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                 const QString &caminhoInicial) override;
    QString pedeTexto(const QString &titulo, const QString &pergunta) override;

  private:
    QWidget *pai_;
};

} // namespace vlme::ui
