#pragma once
// Nobody answers during a benchmark: every question gets the same answer.

#include "shell/InterfaceUsuario.h"

namespace vlme::bench {

class UsuarioMudo final : public shell::InterfaceUsuario {
  public:
    explicit UsuarioMudo(shell::Resposta resposta) : resposta_(resposta) {}
    shell::Resposta mensagem(const QString &, const QString &, shell::Icone,
                             shell::Botoes) override {
        return resposta_;
    }
    QString escolheArquivoAbrir(const QString &, const QString &, const QString &) override {
        return {};
    }
    QString escolheArquivoSalvar(const QString &, const QString &, const QString &) override {
        return {};
    }

  private:
    shell::Resposta resposta_;
};

} // namespace vlme::bench
