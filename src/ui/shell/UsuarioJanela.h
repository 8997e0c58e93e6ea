#pragma once
// Talking to the user through message boxes and file dialogs.

#include "base/InterfaceUsuario.h"

class QWidget;

namespace vlme::ui {

class UsuarioJanela final : public base::InterfaceUsuario {
  public:
    explicit UsuarioJanela(QWidget *pai = nullptr) : pai_(pai) {}
    void definePai(QWidget *pai) { pai_ = pai; }

    base::Resposta mensagem(const QString &titulo, const QString &texto, base::Icone icone,
                            base::Botoes botoes) override;
    QString escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                const QString &pastaInicial) override;
    QString escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                 const QString &caminhoInicial) override;
    QString pedeTexto(const QString &titulo, const QString &pergunta, bool oculto = false) override;

  private:
    QWidget *pai_;
};

} // namespace vlme::ui
