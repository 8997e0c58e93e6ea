#include "ui/shell/ModeloListaDeclaracoes.h"

namespace vlme::ui {

ModeloListaDeclaracoes::ModeloListaDeclaracoes(QObject *pai) : QAbstractTableModel(pai) {
    setObjectName(QStringLiteral("datVlms"));
}

void ModeloListaDeclaracoes::carrega(store::Banco &banco, store::FiltroLista filtro) {
    std::vector<store::ItemLista> novos = store::ListaDeclaracoes(banco, filtro);
    beginResetModel();
    itens_ = std::move(novos);
    endResetModel();
}

int ModeloListaDeclaracoes::numero(int linha) const {
    if (linha < 0 || linha >= int(itens_.size()))
        return 0;
    return itens_[size_t(linha)].numero;
}

int ModeloListaDeclaracoes::rowCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : int(itens_.size());
}

int ModeloListaDeclaracoes::columnCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : NumeroColunas;
}

QVariant ModeloListaDeclaracoes::data(const QModelIndex &indice, int papel) const {
    if (!indice.isValid() || indice.row() >= int(itens_.size()))
        return {};
    const store::ItemLista &item = itens_[size_t(indice.row())];
    if (papel == PapelNumero)
        return item.numero;
    if (papel == Qt::TextAlignmentRole &&
        (indice.column() == Numero || indice.column() == Protocolo))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (papel != Qt::DisplayRole && papel != Qt::ToolTipRole)
        return {};
    switch (indice.column()) {
    case Numero:
        return QString::number(item.numero);
    case Cnpj:
        return item.cnpj;
    case Produto:
        return item.produto;
    case Tipo:
        return item.tipo;
    case Situacao:
        return item.situacao;
    case Protocolo:
        return item.protocolo;
    default:
        return {};
    }
}

QVariant ModeloListaDeclaracoes::headerData(int secao, Qt::Orientation orientacao,
                                            int papel) const {
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole)
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    switch (secao) {
    case Numero:
        return QStringLiteral("Número");
    case Cnpj:
        return QStringLiteral("CNPJ");
    case Produto:
        return QStringLiteral("Produto");
    case Tipo:
        return QStringLiteral("Tipo");
    case Situacao:
        return QStringLiteral("Situação");
    case Protocolo:
        return QStringLiteral("Protocolo");
    default:
        return {};
    }
}

} // namespace vlme::ui
