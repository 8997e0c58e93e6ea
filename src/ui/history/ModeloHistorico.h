#pragma once
// A statement's history rows for a table view, newest first, optionally only
// one kind of event. Texts are made when drawn, so a long history shows at
// once. UI thread only.

#include "printing/PaginaHistorico.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace vlme::ui {

class ModeloHistorico : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void define(std::vector<store::RegistroHistorico> linhas);
    // Only the rows of kind `evento`; all when none.
    void filtra(std::optional<store::Evento> evento);
    std::optional<store::Evento> filtro() const { return filtro_; }
    const std::vector<store::RegistroHistorico> &linhas() const { return linhas_; }

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

  private:
    std::vector<store::RegistroHistorico> linhas_;
    std::vector<printing::MudancaFiguras> mudancas_;
    std::vector<int> visiveis_; // rows of linhas_ shown, in order
    std::optional<store::Evento> filtro_;
};

} // namespace vlme::ui
