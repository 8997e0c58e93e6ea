#include "ui/shell/UsuarioJanela.h"

#include "shell/PastasLembradas.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>

namespace vlme::ui {

using base::Botoes;
using base::Icone;
using base::Resposta;

base::Resposta UsuarioJanela::mensagem(const QString &titulo, const QString &texto, Icone icone,
                                       Botoes botoes) {
    QMessageBox caixa(pai_ ? pai_ : QApplication::activeWindow());
    caixa.setWindowTitle(titulo.isEmpty() ? QStringLiteral("VLM-E") : titulo);
    // Messages break lines with "\r" (as the field checks do) or "\n"; the
    // box's label only understands the latter.
    QString exibido = texto;
    exibido.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    caixa.setText(exibido);
    switch (icone) {
    case Icone::Nenhum:
        caixa.setIcon(QMessageBox::NoIcon);
        break;
    case Icone::Informacao:
        caixa.setIcon(QMessageBox::Information);
        break;
    case Icone::Exclamacao:
        caixa.setIcon(QMessageBox::Warning);
        break;
    case Icone::Pergunta:
        caixa.setIcon(QMessageBox::Question);
        break;
    case Icone::Critico:
        caixa.setIcon(QMessageBox::Critical);
        break;
    }
    QAbstractButton *ok = nullptr, *sim = nullptr, *nao = nullptr, *cancelar = nullptr;
    switch (botoes) {
    case Botoes::Ok:
        ok = caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Botoes::SimNao:
    case Botoes::SimNaoPadraoNao:
        sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
        nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
        break;
    case Botoes::SimNaoCancelar:
        sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
        nao = caixa.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
        cancelar = caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        break;
    case Botoes::OkCancelar:
        ok = caixa.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancelar = caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        break;
    }
    if (botoes == Botoes::SimNaoPadraoNao)
        caixa.setDefaultButton(static_cast<QPushButton *>(nao));
    else if (sim)
        caixa.setDefaultButton(static_cast<QPushButton *>(sim));
    else if (ok)
        caixa.setDefaultButton(static_cast<QPushButton *>(ok));
    if (cancelar)
        caixa.setEscapeButton(cancelar);
    else if (nao)
        caixa.setEscapeButton(nao);
    caixa.exec();
    QAbstractButton *clicado = caixa.clickedButton();
    if (clicado && clicado == sim)
        return Resposta::Sim;
    if (clicado && clicado == nao)
        return Resposta::Nao;
    if (clicado && clicado == ok)
        return Resposta::Ok;
    if (botoes == Botoes::Ok)
        return Resposta::Ok;
    if (botoes == Botoes::SimNao || botoes == Botoes::SimNaoPadraoNao)
        return Resposta::Nao;
    return Resposta::Cancelar;
}

namespace {

// Qt's own file dialog names folders "Folder" in every language; the file
// kinds already come translated.
class IconesArquivo : public QFileIconProvider {
  public:
    QString type(const QFileInfo &info) const override {
        return info.isDir() && !info.isRoot() ? QStringLiteral("Pasta")
                                              : QFileIconProvider::type(info);
    }
};

// Hides the program's own files (the database, its lock, the template): a
// user never opens nor overwrites them, whatever the filter says.
class SemArquivosDoPrograma : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int linha, const QModelIndex &pai) const override {
        const auto *arquivos = qobject_cast<QFileSystemModel *>(sourceModel());
        if (!arquivos)
            return true;
        const QModelIndex i = arquivos->index(linha, 0, pai);
        return arquivos->isDir(i) || !shell::ArquivoDoPrograma(arquivos->fileName(i));
    }
};

QString EscolheArquivo(QWidget *pai, const QString &titulo, const QString &filtro,
                       const QString &inicio, QFileDialog::AcceptMode modo) {
    QFileDialog dialogo(pai, titulo, inicio, filtro);
    dialogo.setObjectName(QStringLiteral("dlgAbrir"));
    // Qt's own dialog, the one that can hide files (and speaks Portuguese).
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setProxyModel(new SemArquivosDoPrograma(&dialogo));
    dialogo.setAcceptMode(modo);
    dialogo.setFileMode(modo == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    IconesArquivo icones;
    dialogo.setIconProvider(&icones);
    // Sizes and dates in Portuguese are wider than the columns Qt gives them.
    if (auto *lista = dialogo.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *cabecalho = lista->header();
        cabecalho->setStretchLastSection(false);
        cabecalho->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int coluna = 1; coluna < cabecalho->count(); ++coluna)
            cabecalho->setSectionResizeMode(coluna, QHeaderView::ResizeToContents);
        dialogo.resize(760, 480);
    }
    if (dialogo.exec() != QDialog::Accepted)
        return {};
    return dialogo.selectedFiles().value(0);
}

} // namespace

QString UsuarioJanela::escolheArquivoAbrir(const QString &titulo, const QString &filtro,
                                           const QString &pastaInicial) {
    return EscolheArquivo(pai_, titulo, filtro, pastaInicial, QFileDialog::AcceptOpen);
}

QString UsuarioJanela::escolheArquivoSalvar(const QString &titulo, const QString &filtro,
                                            const QString &caminhoInicial) {
    return EscolheArquivo(pai_, titulo, filtro, caminhoInicial, QFileDialog::AcceptSave);
}

QString UsuarioJanela::pedeTexto(const QString &titulo, const QString &pergunta, bool oculto) {
    QWidget *pai = QApplication::activeWindow() ? QApplication::activeWindow() : pai_;
    // Asked in the middle of waiting work (a connection), the pointer must
    // not say busy over the field.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const QString texto = QInputDialog::getText(pai, titulo, pergunta,
                                                oculto ? QLineEdit::Password : QLineEdit::Normal);
    QGuiApplication::restoreOverrideCursor();
    return texto;
}

} // namespace vlme::ui
