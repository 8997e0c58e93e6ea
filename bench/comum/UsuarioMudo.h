#pragma once
// Nobody answers during a benchmark: every question gets the same answer.

#include "base/InterfaceUsuario.h"

namespace vlme::bench {

class UsuarioMudo final : public base::InterfaceUsuario {
  public:
    explicit UsuarioMudo(base::Resposta resposta) : resposta_(resposta) {}
    base::Resposta mensagem(const QString &, const QString &, base::Icone, base::Botoes) override {
        return resposta_;
    }
    QString escolheArquivoAbrir(const QString &, const QString &, const QString &) override {
        return {};
    }
    QString escolheArquivoSalvar(const QString &, const QString &, const QString &) override {
        return {};
    }

  private:
    base::Resposta resposta_;
};

} // namespace vlme::bench
