#pragma once
// Scripted stand-in for the user: records every message exactly and answers
// questions and file choices from queues set by the test. A question with no
// scripted answer fails the test, so nothing waits on a dialog.

#include "base/InterfaceUsuario.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace vlme::teste {

struct MensagemRegistrada {
    QString titulo;
    QString texto;
    base::Icone icone;
    base::Botoes botoes;
};

class UsuarioRoteirizado final : public base::InterfaceUsuario {
  public:
    base::Resposta mensagem(const QString &titulo, const QString &texto, base::Icone icone,
                            base::Botoes botoes) override;
    QString escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                const QString &pastaInicial) override;
    QString escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                 const QString &caminhoInicial) override;
    // Recorded as a message with the title and question.
    QString pedeTexto(const QString &titulo, const QString &pergunta, bool oculto = false) override;

    void responde(base::Resposta resposta) { respostas.push_back(resposta); }
    void escolhe(const QString &arquivo) { arquivos.push_back(arquivo); }

    QStringList textos() const;
    // Each message as "icon|title|text", icon one of - i ! ? x, and "|SimNao"
    // (etc.) after it when it asked something: one comparison per message.
    QStringList resumos() const;

    std::deque<base::Resposta> respostas;
    std::deque<QString> arquivos;
    std::deque<QString> digitados;
    std::vector<MensagemRegistrada> mensagens;
    struct DialogoArquivo {
        QString titulo, filtro, inicial;
    };
    std::vector<DialogoArquivo> dialogos;
};

} // namespace vlme::teste
