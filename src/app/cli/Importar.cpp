#include "cli/Comandos.h"

#include "base/InterfaceUsuario.h"
#include "cli/Json.h"
#include "cli/ProgressoTerminal.h"
#include "import/ErrosImportacao.h"
#include "import/Importacao.h"
#include "store/Banco.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace vlme::cli {

namespace {

// The import names every line it reads; a terminal or a log wants one step.
class UmPasso final : public base::Progresso {
  public:
    UmPasso(base::Progresso &destino, const QString &texto) : d_(destino), texto_(texto) {}
    void abre() override {
        d_.abre();
        d_.passo(texto_);
    }
    void fecha() override { d_.fecha(); }
    void passo(const QString &) override {}
    void faixa(int minimo, int maximo) override { d_.faixa(minimo, maximo); }
    void valor(int atual) override { d_.valor(atual); }
    void permiteCancelar(bool permite) override { d_.permiteCancelar(permite); }
    bool unidade() override { return d_.unidade(); }
    bool cancelado() const override { return d_.cancelado(); }

  private:
    base::Progresso &d_;
    QString texto_;
};

} // namespace

// The new statement numbers, one per line; with field errors, the error list
// and exit 1. Nothing is stored unless the whole file is. --so-verificar
// checks the file to the end and stores nothing, whatever it finds.
// --uma-vez refuses, with exit 3, content that made statements still there.
Saida importar(Contexto &c) {
    using importacao::Desfecho;
    const bool soVerifica = c.argumentos.first() == QLatin1String("--so-verificar");
    const bool umaVez = c.argumentos.first() == QLatin1String("--uma-vez");
    const QString caminho = QFileInfo(c.argumentos.last()).absoluteFilePath();
    ProgressoTerminal terminal;
    UmPasso progresso(terminal, QStringLiteral("Importando ") + caminho);
    importacao::ResultadoImportacao r;
    {
        // Rolled back whatever the import did.
        std::optional<store::Transacao> verificacao;
        if (soVerifica)
            verificacao.emplace(c.banco);
        r = importacao::ImportaArquivo(c.banco, progresso, caminho, umaVez);
    }
    switch (r.desfecho) {
    case Desfecho::Sucesso: {
        if (!r.aviso.isEmpty()) {
            c.erro << r.aviso << '\n';
            c.json.insert(QStringLiteral("aviso"), r.aviso);
        }
        QJsonArray numeros;
        for (int numero : r.declaracoes) {
            if (!soVerifica)
                c.saida << numero << '\n';
            numeros.append(Numero(numero));
        }
        if (!soVerifica)
            c.json.insert(QStringLiteral("declaracoes"), numeros);
        return Saida::Sucesso;
    }
    case Desfecho::ErrosCampo: {
        QJsonArray erros;
        for (const importacao::ErroImportacao &e : r.erros) {
            c.saida << importacao::LinhaListaErro(e) << '\n';
            erros.append(QJsonObject{{QStringLiteral("linha"), e.linha},
                                     {QStringLiteral("registro"), e.nomeRegistro.trimmed()},
                                     {QStringLiteral("campo"), e.campo.trimmed()},
                                     {QStringLiteral("mensagem"), e.mensagem.trimmed()}});
        }
        c.json.insert(QStringLiteral("erros"), erros);
        return Saida::Problemas;
    }
    case Desfecho::Abortada:
        c.usuario.mensagem(importacao::TituloImportacao, r.mensagem, r.icone, base::Botoes::Ok);
        return Saida::Problemas;
    case Desfecho::Cancelada:
        c.usuario.mensagem(importacao::TituloImportacao,
                           QStringLiteral("Importação interrompida: nada foi gravado."),
                           base::Icone::Exclamacao, base::Botoes::Ok);
        return Saida::Falha;
    case Desfecho::JaImportado: {
        QJsonArray anteriores;
        for (int numero : r.anteriores)
            anteriores.append(Numero(numero));
        c.json.insert(QStringLiteral("jaImportadas"), anteriores);
        break;
    }
    case Desfecho::Falha:
        break;
    }
    c.usuario.mensagem(importacao::TituloImportacao, r.mensagem, r.icone, base::Botoes::Ok);
    return r.incerto ? Saida::Incerto : Saida::Falha;
}

} // namespace vlme::cli
