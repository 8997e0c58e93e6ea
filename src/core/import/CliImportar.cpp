#include "import/CliImportar.h"

#include "import/Importacao.h"
#include "shell/ProgressoTerminal.h"

#include <QFileInfo>
#include <QTextStream>

namespace vlme::importacao {

namespace {

enum Saida { Sucesso = 0, Problemas = 1, UsoErrado = 2, Falha = 3 };

// The import names every line it reads; a terminal or a log wants one step.
class UmPasso final : public shell::Progresso {
  public:
    UmPasso(shell::Progresso &destino, const QString &texto) : d_(destino), texto_(texto) {}
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
    shell::Progresso &d_;
    QString texto_;
};

} // namespace

int cliImportar(store::Banco &banco, shell::InterfaceUsuario &usuario, const QStringList &args) {
    shell::ProgressoTerminal progresso;
    QTextStream saida(stdout);
    return cliImportar(banco, usuario, args, progresso, saida);
}

int cliImportar(store::Banco &banco, shell::InterfaceUsuario &usuario, const QStringList &args,
                shell::Progresso &progresso, QTextStream &saida) {
    if (args.size() != 1 || args.first().isEmpty())
        return UsoErrado;
    const QString caminho = QFileInfo(args.first()).absoluteFilePath();
    UmPasso umPasso(progresso, QStringLiteral("Importando ") + caminho);
    const ResultadoImportacao r = ImportaArquivo(banco, umPasso, caminho);
    switch (r.desfecho) {
    case Desfecho::Sucesso:
        for (int numero : r.declaracoes)
            saida << numero << '\n';
        saida.flush();
        return Sucesso;
    case Desfecho::ErrosCampo:
        for (const ErroImportacao &e : r.erros)
            saida << LinhaListaErro(e) << '\n';
        saida.flush();
        return Problemas;
    case Desfecho::Abortada:
        usuario.mensagem(TituloImportacao, r.mensagem, r.icone, shell::Botoes::Ok);
        return Problemas;
    case Desfecho::Cancelada:
        usuario.mensagem(TituloImportacao,
                         QStringLiteral("Importação interrompida: nada foi gravado."),
                         shell::Icone::Exclamacao, shell::Botoes::Ok);
        return Falha;
    case Desfecho::Falha:
        break;
    }
    usuario.mensagem(TituloImportacao, r.mensagem, r.icone, shell::Botoes::Ok);
    return Falha;
}

} // namespace vlme::importacao
