#pragma once
// The statement list of the picker as a table model: one row per statement,
// newest first, read through store::ListaDeclaracoes with an operation's
// filter. Read-only; reloaded on demand, not live. UI thread only.

#include "store/Declaracoes.h"

#include <QAbstractTableModel>

#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::ui {

class ModeloListaDeclaracoes : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Coluna { Numero, Cnpj, Produto, Tipo, Situacao, Protocolo, NumeroColunas };
    // Every cell answers this role with its row's NR_VLM_VLM.
    static constexpr int PapelNumero = Qt::UserRole + 1;

    explicit ModeloListaDeclaracoes(QObject *pai = nullptr);

    void carrega(store::Banco &banco, store::FiltroLista filtro);
    // NR_VLM_VLM of `linha`; 0 when out of range.
    int numero(int linha) const;

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao,
                        int papel = Qt::DisplayRole) const override;

  private:
    std::vector<store::ItemLista> itens_;
};

} // namespace vlme::ui
