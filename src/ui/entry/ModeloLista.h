#pragma once
// One list of the general-data window (models, national or imported
// components) as a table model over rows read once; cells are formatted in
// Brazilian notation only when the view asks for them, so a list of 9999 rows
// opens at once. Reloaded on demand. UI thread only.

#include "entry/ListasDeclaracao.h"

#include <QAbstractTableModel>

namespace vlme::ui {

class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
  public:
    ModeloLista(entry::Lista lista, QObject *pai = nullptr);

    void carrega(store::Banco &banco, int nrVlm);
    entry::Lista lista() const { return lista_; }
    // NR_SQ of `linha`, 0 out of range; the row of `nrSq`, -1 when absent.
    int nrSq(int linha) const;
    int linhaDe(int nrSq) const;

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao,
                        int papel = Qt::DisplayRole) const override;

  private:
    entry::Lista lista_;
    std::vector<entry::LinhaLista> linhas_;
};

} // namespace vlme::ui
