#pragma once
// The list of the field problems a statement import found, shown modally
// after the failed import; it can be written to a text file. Also the import
// command as the main window runs it once a file has been chosen.
// User-interface thread only.

#include "import/Importacao.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base
namespace vlme::store {
class Banco;
}

namespace vlme::ui {

class FormErrImport : public QDialog {
    Q_OBJECT
  public:
    // `pastaPrograma` is where the save dialog starts.
    FormErrImport(base::InterfaceUsuario &usuario, const QString &pastaPrograma,
                  const QString &arquivo, std::vector<importacao::ErroImportacao> erros,
                  QWidget *pai = nullptr);

    // Opens a help topic; set by whoever owns the help.
    std::function<void(int)> ajuda;

    QLineEdit *txtArquivo;
    QLabel *Quantidade;
    QListWidget *lstImport;
    QPushButton *cmdgravar;
    QPushButton *cmdImprimir;
    QPushButton *Command2; // help
    QPushButton *Command1; // close

  private:
    void grava();
    void imprime();

    base::InterfaceUsuario &usuario_;
    QString pastaPrograma_;
    std::vector<importacao::ErroImportacao> erros_;
};

inline const QString TextoConfirmaGravacaoErros =
    QStringLiteral("Esta operação irá copiar todos os erros achados na importação para um arquivo"
                   " texto.\r\nContinuar operação?");

// Runs the import of `caminho` with `progresso` (the progress window), tells
// the outcome (with a beep before the messages that carry one) and, when
// fields failed, shows FormErrImport modally over `pai`.
importacao::ResultadoImportacao
ExecutaImportacao(store::Banco &banco, base::InterfaceUsuario &usuario, base::Progresso &progresso,
                  const QString &pastaPrograma, const QString &caminho, QWidget *pai,
                  const std::function<void(int)> &ajuda = {});

} // namespace vlme::ui
