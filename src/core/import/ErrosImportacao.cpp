#include "import/ErrosImportacao.h"

#include "base/InterfaceUsuario.h"
#include "import/Registros.h"

#include <QSaveFile>
#include <QStringEncoder>

namespace vlme::importacao {

namespace {

QString ajusta(const QString &texto, int largura) {
    return texto.left(largura).leftJustified(largura, QLatin1Char(' '));
}

QString semBrancos(const QString &texto) {
    qsizetype fim = texto.size();
    while (fim > 0 && texto.at(fim - 1) == QLatin1Char(' '))
        --fim;
    qsizetype inicio = 0;
    while (inicio < fim && texto.at(inicio) == QLatin1Char(' '))
        ++inicio;
    return texto.mid(inicio, fim - inicio);
}

} // namespace

ErroImportacao ErroImportacao::Cria(QChar tipo, int linha, const QString &campo,
                                    const QString &mensagem) {
    return {tipo, linha, ajusta(NomeRegistro(tipo), LarguraNomeRegistro),
            ajusta(campo.toUpper(), LarguraCampo), ajusta(mensagem, LarguraMensagem)};
}

QString LinhaListaErro(const ErroImportacao &e) {
    return QStringLiteral("Linha %1 (reg. %2) - %3: %4")
        .arg(e.linha)
        .arg(e.tipoRegistro)
        .arg(semBrancos(e.campo), semBrancos(e.mensagem));
}

QString LinhaArquivoErro(const ErroImportacao &e) {
    // The blank before the number is where a negative one has its sign.
    const QString numero =
        (e.linha < 0 ? QString() : QStringLiteral(" ")) + QString::number(e.linha);
    return QStringLiteral("Linha ") + numero + QStringLiteral(" (reg. ") + e.tipoRegistro +
           QStringLiteral(") - ") + ajusta(e.campo, LarguraCampo) + QStringLiteral(": ") +
           ajusta(e.mensagem, LarguraMensagem);
}

bool EscreveErrosImportacao(const QString &caminho, const std::vector<ErroImportacao> &erros,
                            FalhaGravacao *falha) {
    QSaveFile arquivo(caminho);
    const auto falhou = [&]() {
        if (falha)
            *falha = {int(arquivo.error()), arquivo.errorString()};
        arquivo.cancelWriting();
        return false;
    };
    if (!arquivo.open(QIODevice::WriteOnly))
        return falhou();
    QStringEncoder latin1(QStringConverter::Latin1);
    for (const ErroImportacao &e : erros) {
        const QByteArray linha = latin1.encode(LinhaArquivoErro(e) + QStringLiteral("\r\n"));
        if (arquivo.write(linha) != linha.size())
            return falhou();
    }
    if (!arquivo.commit()) {
        if (falha)
            *falha = {int(arquivo.error()), arquivo.errorString()};
        return false;
    }
    return true;
}

bool GravaErrosImportacao(base::InterfaceUsuario &usuario, const QString &caminho,
                          const std::vector<ErroImportacao> &erros) {
    FalhaGravacao falha;
    if (!EscreveErrosImportacao(caminho, erros, &falha)) {
        usuario.mensagem(TituloGravaErros,
                         QStringLiteral("Ocorreu um erro, contacte o suporte técnico. ") +
                             QString::number(falha.codigo) + QStringLiteral(" - ") +
                             falha.descricao,
                         base::Icone::Critico, base::Botoes::Ok);
        return false;
    }
    usuario.mensagem(QString(), TextoErrosGravados, base::Icone::Nenhum, base::Botoes::Ok);
    return true;
}

} // namespace vlme::importacao
