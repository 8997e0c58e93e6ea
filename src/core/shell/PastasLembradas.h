#pragma once
// Where the file dialogs of the imports open: the folder the user last chose
// for that kind of file, remembered across runs in the program's settings
// (beside regional.ini), else the home folder; never the data folder, whose
// files are the program's own. User-interface thread only.

#include <QString>

namespace vlme::shell {

enum class TipoArquivo { Declaracao, TabelaNCM, TabelaUnidades };

class PastasLembradas {
  public:
    // `arquivo`: the settings file; empty for the user's own.
    explicit PastasLembradas(const QString &arquivo = {});

    // The folder last chosen for `tipo` while it still exists, else home.
    QString pasta(TipoArquivo tipo) const;
    // Remembers the folder of a file the user chose (nothing for an empty one).
    void lembra(TipoArquivo tipo, const QString &arquivoEscolhido);

  private:
    QString arquivo_;
};

// A file of the data folder that only the program reads or writes (the
// database with its journal and lock, the empty template): never offered in a
// file dialog.
bool ArquivoDoPrograma(const QString &nome);

} // namespace vlme::shell
