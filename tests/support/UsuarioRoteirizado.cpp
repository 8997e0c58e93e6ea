#include "support/UsuarioRoteirizado.h"

#include <gtest/gtest.h>

namespace vlme::teste {

base::Resposta UsuarioRoteirizado::mensagem(const QString &titulo, const QString &texto,
                                            base::Icone icone, base::Botoes botoes) {
    mensagens.push_back({titulo, texto, icone, botoes});
    if (botoes == base::Botoes::Ok)
        return base::Resposta::Ok;
    if (respostas.empty()) {
        ADD_FAILURE() << "pergunta sem resposta no roteiro: " << texto.toStdString();
        return base::Resposta::Cancelar;
    }
    const base::Resposta r = respostas.front();
    respostas.pop_front();
    return r;
}

QString UsuarioRoteirizado::escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                                const QString &pastaInicial) {
    dialogos.push_back({titulo, filtro, pastaInicial});
    if (arquivos.empty())
        return {};
    QString a = arquivos.front();
    arquivos.pop_front();
    return a;
}

QString UsuarioRoteirizado::escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                                 const QString &caminhoInicial) {
    return escolheArquivoAbrir(titulo, filtro, caminhoInicial);
}

QString UsuarioRoteirizado::pedeTexto(const QString &titulo, const QString &pergunta, bool) {
    mensagens.push_back({titulo, pergunta, base::Icone::Nenhum, base::Botoes::OkCancelar});
    if (digitados.empty())
        return {};
    QString t = digitados.front();
    digitados.pop_front();
    return t;
}

QStringList UsuarioRoteirizado::textos() const {
    QStringList t;
    for (const auto &m : mensagens)
        t << m.texto;
    return t;
}

QStringList UsuarioRoteirizado::resumos() const {
    static const char *icones = "-i!?x";
    static const char *botoes[] = {"", "|SimNao", "|SimNaoPadraoNao", "|SimNaoCancelar",
                                   "|OkCancelar"};
    QStringList r;
    for (const auto &m : mensagens)
        r << QString(QLatin1Char(icones[int(m.icone)])) + QLatin1Char('|') + m.titulo +
                 QLatin1Char('|') + m.texto + QLatin1String(botoes[int(m.botoes)]);
    return r;
}

} // namespace vlme::teste
