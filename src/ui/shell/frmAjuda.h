#pragma once
// The program's help: Portuguese pages bundled as resources, shown with a
// contents tree, an index with a filter box and a topic by context number
// (the numbers of shell/ContextosAjuda.h). One help window serves the whole
// program; other windows reach it through `MostraAjuda`.
// User-interface thread only.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace vlme::ui {

// One page of help as the contents list it.
struct TopicoAjuda {
    QString capitulo;
    QString titulo;
    QString pagina; // file name under the resource folder :/ajuda
    QList<int> contextos;
    QStringList indice; // index entries besides the title
};

// Every topic, in contents order, read once from the bundled list.
const QList<TopicoAjuda> &TopicosAjuda();
// Page of a context number; empty when none answers it.
QString PaginaDoContexto(int contexto);
// The page shown first.
QString PaginaInicial();

class frmAjuda : public QDialog {
    Q_OBJECT
  public:
    explicit frmAjuda(QWidget *pai = nullptr);
    ~frmAjuda() override;

    QTabWidget *tabAjuda;
    QTreeWidget *trvConteudo;
    QLineEdit *txtProcurar;
    QListWidget *lstIndice;
    QTextBrowser *txtPagina;
    QToolButton *cmdVoltar;
    QToolButton *cmdAvancar;

    // Shows the window on its contents and first page.
    void mostraConteudo();
    // Shows the window on its index, the filter box cleared and focused.
    void mostraIndice();
    // Shows the page of a context number; an unknown number shows the first
    // page and answers false.
    bool mostraTopico(int contexto);

    // File name of the page shown ("pendencias.html").
    QString paginaAtual() const;
    void abrePagina(const QString &pagina);

  private:
    void montaConteudo();
    void montaIndice();
    void filtraIndice(const QString &texto);
    void abreItemIndice();
    void sincronizaConteudo(const QUrl &endereco);
    void apresenta();
};

// The program's help window: the main window's when there is one, else a new
// one that goes away when closed.
frmAjuda &JanelaAjuda();
// Shows the topic of a context number in the program's help window.
void MostraAjuda(int contexto);
// Gives a window its help topic: the number as property "contextoAjuda" and
// F1 opening it (also while the window is modal). Change the property to
// change the topic.
void AtalhoAjuda(QWidget *janela, int contexto);

} // namespace vlme::ui
