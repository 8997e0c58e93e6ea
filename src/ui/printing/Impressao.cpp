#include "ui/printing/Impressao.h"

#include "base/ErroVLME.h"
#include "base/InterfaceUsuario.h"
#include "shell/FronteiraComando.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeySequence>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

#include <utility>

namespace vlme::ui {

namespace {

void Atalho(QAction *acao, QKeySequence::StandardKey tecla) {
    acao->setShortcut(tecla);
    acao->setShortcutContext(Qt::WindowShortcut);
    acao->setToolTip(acao->text() + QStringLiteral(" (") +
                     acao->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

} // namespace

QPrinter &ImpressoraPrograma() {
    static QPrinter impressora(QPrinter::HighResolution);
    return impressora;
}

void ConfiguraImpressora(QWidget *pai) {
    QPrintDialog dialogo(&ImpressoraPrograma(), pai);
    dialogo.setObjectName(QStringLiteral("frmConfiguraImpressora"));
    dialogo.setWindowTitle(QStringLiteral("Configurar Impressora"));
    // Here the dialog only chooses: its button must not promise a print.
    for (auto *caixa : dialogo.findChildren<QDialogButtonBox *>())
        if (QPushButton *ok = caixa->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialogo.exec();
}

void MostraDocumento(const printing::Documento &documento, base::InterfaceUsuario &usuario,
                     QWidget *pai) {
    QPrinter &impressora = ImpressoraPrograma();
    impressora.setDocName(documento.titulo + QStringLiteral(" - ") + documento.identificacao);
    impressora.setPageOrientation(documento.paisagem ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait);
    QPrintPreviewDialog previa(&impressora, pai);
    previa.setObjectName(QStringLiteral("frmVisualizacao"));
    previa.setWindowTitle(documento.titulo + QStringLiteral(" - ") + documento.identificacao);
    previa.resize(900, 700);
    // The preview lays every page out before it shows: busy until then.
    bool ocupado = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto livre = [&] {
        if (std::exchange(ocupado, false))
            QApplication::restoreOverrideCursor();
    };
    QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa,
                     [&](QPrinter *destino) {
                         // A failure must not cross Qt's event handling.
                         shell::ExecutaProtegido(usuario, [&] {
                             try {
                                 printing::Desenha(documento, *destino);
                             } catch (...) {
                                 livre(); // the message is no wait
                                 throw;
                             }
                         });
                         livre();
                     });
    if (auto *barra = previa.findChild<QToolBar *>()) {
        // The toolbar's buttons take no keyboard focus: printing and saving
        // get their usual keys, told in the tooltips.
        const QString imprimir = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (QAction *a : barra->actions())
            if (a->text() == imprimir)
                Atalho(a, QKeySequence::Print);
        QAction *salvar =
            barra->addAction(previa.style()->standardIcon(QStyle::SP_DialogSaveButton),
                             QStringLiteral("Salvar como PDF"));
        salvar->setObjectName(QStringLiteral("acaoSalvarPDF"));
        Atalho(salvar, QKeySequence::Save);
        QObject::connect(salvar, &QAction::triggered, &previa, [&] {
            const QString caminho = usuario.escolheArquivoSalvar(
                QStringLiteral("Salvar como PDF"), QStringLiteral("Documento PDF (*.pdf)"),
                QDir::home().filePath(documento.titulo + QStringLiteral(".pdf")));
            if (caminho.isEmpty())
                return;
            shell::ExecutaProtegido(usuario, [&] {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                try {
                    printing::GravaPDF(documento, caminho);
                } catch (...) {
                    QApplication::restoreOverrideCursor();
                    throw;
                }
                QApplication::restoreOverrideCursor();
                usuario.mensagem(QStringLiteral("Salvar como PDF"),
                                 QStringLiteral("Documento gravado em %1.")
                                     .arg(QDir::toNativeSeparators(caminho)),
                                 base::Icone::Informacao, base::Botoes::Ok);
            });
        });
    }
    previa.exec();
    livre();
}

} // namespace vlme::ui
