#include "ui/import/FormErrImport.h"

#include "printing/Relatorios.h"
#include "ui/printing/Impressao.h"

#include "base/InterfaceUsuario.h"
#include "shell/ContextosAjuda.h"
#include "shell/FronteiraComando.h"
#include "ui/shell/frmAjuda.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlme::ui {

namespace {

QPushButton *botao(QWidget *pai, const char *nome, const QString &texto) {
    auto *b = new QPushButton(texto, pai);
    b->setObjectName(QLatin1String(nome));
    b->setAutoDefault(false);
    return b;
}

} // namespace

FormErrImport::FormErrImport(base::InterfaceUsuario &usuario, const QString &pastaPrograma,
                             const QString &arquivo, std::vector<importacao::ErroImportacao> erros,
                             QWidget *pai)
    : QDialog(pai), usuario_(usuario), pastaPrograma_(pastaPrograma), erros_(std::move(erros)) {
    setObjectName(QStringLiteral("FormErrImport"));
    setWindowTitle(QStringLiteral("Erros na Importação de Dados"));
    AtalhoAjuda(this, shell::ContextoAjuda::ErrosImportacao);
    setModal(true);

    auto *lblArquivo = new QLabel(QStringLiteral("Arquivo:"), this);
    lblArquivo->setObjectName(QStringLiteral("lblArquivo"));
    txtArquivo = new QLineEdit(arquivo, this);
    txtArquivo->setObjectName(QStringLiteral("txtArquivo"));
    txtArquivo->setReadOnly(true);
    lblArquivo->setBuddy(txtArquivo);

    auto *lblQuantidade = new QLabel(QStringLiteral("Quantidade de Erros:"), this);
    lblQuantidade->setObjectName(QStringLiteral("lblQuantidade"));
    Quantidade = new QLabel(QString::number(erros_.size()), this);
    Quantidade->setObjectName(QStringLiteral("Quantidade"));

    lstImport = new QListWidget(this);
    lstImport->setObjectName(QStringLiteral("lstImport"));
    // Courier New where there is one; the hint picks another fixed-pitch font.
    QFont fonte(QStringLiteral("Courier New"));
    fonte.setStyleHint(QFont::TypeWriter);
    fonte.setFixedPitch(true);
    lstImport->setFont(fonte);
    lstImport->setUniformItemSizes(true); // ten thousand lines stay quick
    QStringList linhas;
    linhas.reserve(qsizetype(erros_.size()));
    for (const importacao::ErroImportacao &e : erros_)
        linhas << importacao::LinhaListaErro(e);
    lstImport->addItems(linhas);

    cmdgravar = botao(this, "cmdgravar", QStringLiteral("&Gravar para Arquivo"));
    cmdImprimir = botao(this, "cmdImprimir", QStringLiteral("&Imprimir"));
    Command2 = botao(this, "Command2", QStringLiteral("A&juda"));
    Command1 = botao(this, "Command1", QStringLiteral("&Fechar"));
    connect(cmdgravar, &QPushButton::clicked, this,
            [this] { shell::ExecutaProtegido(usuario_, [this] { grava(); }); });
    connect(cmdImprimir, &QPushButton::clicked, this,
            [this] { shell::ExecutaProtegido(usuario_, [this] { imprime(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (ajuda)
            ajuda(shell::ContextoAjuda::ErrosImportacao);
    });
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto *topo = new QGridLayout;
    topo->addWidget(lblArquivo, 0, 0);
    topo->addWidget(txtArquivo, 0, 1);
    topo->addWidget(lblQuantidade, 1, 0);
    topo->addWidget(Quantidade, 1, 1);
    auto *botoes = new QHBoxLayout;
    botoes->addWidget(cmdgravar);
    botoes->addWidget(cmdImprimir);
    botoes->addStretch();
    botoes->addWidget(Command2);
    botoes->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(lstImport, 1);
    layout->addLayout(botoes);
    resize(760, 420);
    // The read-only file name is first in the tab order; the errors are what
    // the user came to read.
    if (lstImport->count() > 0)
        lstImport->setCurrentRow(0);
    lstImport->setFocus();
}

void FormErrImport::grava() {
    if (usuario_.mensagem(importacao::TituloImportacao, TextoConfirmaGravacaoErros,
                          base::Icone::Pergunta, base::Botoes::SimNao) != base::Resposta::Sim)
        return;
    const QString caminho =
        usuario_.escolheArquivoSalvar(QStringLiteral("Salvar Erros de Importação"),
                                      QStringLiteral("Arquivo texto (*.txt)"), pastaPrograma_);
    if (caminho.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Restored however the writing ends, or the program would stay busy.
    struct Restaura {
        ~Restaura() { QGuiApplication::restoreOverrideCursor(); }
    } restaura;
    importacao::GravaErrosImportacao(usuario_, caminho, erros_);
}

void FormErrImport::imprime() {
    std::vector<QStringList> linhas;
    linhas.reserve(erros_.size());
    for (const importacao::ErroImportacao &e : erros_)
        linhas.push_back({QString::number(e.linha), QString(e.tipoRegistro),
                          e.nomeRegistro.trimmed(), e.campo.trimmed(), e.mensagem.trimmed()});
    MostraDocumento(printing::ImprimeLista(QStringLiteral("Erros da importação"),
                                           QStringLiteral("Arquivo %1").arg(txtArquivo->text()),
                                           {QStringLiteral("#Linha"), QStringLiteral("#Reg."),
                                            QStringLiteral("Registro"), QStringLiteral("Campo"),
                                            QStringLiteral("Mensagem")},
                                           {1, 0.9, 4.3, 4, 4.8}, linhas),
                    usuario_, this);
}

importacao::ResultadoImportacao
ExecutaImportacao(store::Banco &banco, base::InterfaceUsuario &usuario, base::Progresso &progresso,
                  const QString &pastaPrograma, const QString &caminho, QWidget *pai,
                  const std::function<void(int)> &ajuda) {
    importacao::ResultadoImportacao r = importacao::ImportaDeclaracao(
        banco, usuario, progresso, caminho, [] { QApplication::beep(); });
    if (r.desfecho == importacao::Desfecho::ErrosCampo) {
        FormErrImport janela(usuario, pastaPrograma, caminho, r.erros, pai);
        janela.ajuda = ajuda;
        janela.exec();
    }
    return r;
}

} // namespace vlme::ui
