#include "ui/entry/ModeloLista.h"

#include "entry/Numeros.h"

#include <algorithm>

namespace vlme::ui {

namespace {

QStringList cabecalhos(entry::Lista lista) {
    switch (lista) {
    case entry::Lista::Modelos:
        return {QStringLiteral("Modelo / Tipo / Referência"), QStringLiteral("Código Interno"),
                QStringLiteral("Preço de Venda")};
    case entry::Lista::Nacionais:
        return {QStringLiteral("Especificação"), QStringLiteral("Quantidade"),
                QStringLiteral("Valor Unitário"), QStringLiteral("Valor Total")};
    case entry::Lista::Importados:
        break;
    }
    return {QStringLiteral("Especificação"), QStringLiteral("Quantidade"),
            QStringLiteral("Valor Unitário"), QStringLiteral("Valor Total"),
            QStringLiteral("Valor II")};
}

} // namespace

ModeloLista::ModeloLista(entry::Lista lista, QObject *pai)
    : QAbstractTableModel(pai), lista_(lista) {}

void ModeloLista::carrega(store::Banco &banco, int nrVlm) {
    auto linhas = entry::LeLista(banco, nrVlm, lista_);
    beginResetModel();
    linhas_ = std::move(linhas);
    endResetModel();
}

int ModeloLista::nrSq(int linha) const {
    return linha >= 0 && linha < int(linhas_.size()) ? linhas_[linha].nrSq : 0;
}

int ModeloLista::linhaDe(int nrSq) const {
    const auto it = std::lower_bound(linhas_.begin(), linhas_.end(), nrSq,
                                     [](const entry::LinhaLista &l, int n) { return l.nrSq < n; });
    return it != linhas_.end() && it->nrSq == nrSq ? int(it - linhas_.begin()) : -1;
}

int ModeloLista::rowCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : int(linhas_.size());
}

int ModeloLista::columnCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : int(cabecalhos(lista_).size());
}

QVariant ModeloLista::data(const QModelIndex &indice, int papel) const {
    if (!indice.isValid() || indice.row() >= int(linhas_.size()))
        return {};
    const entry::LinhaLista &l = linhas_[indice.row()];
    const int c = indice.column();
    if (papel == Qt::TextAlignmentRole)
        return c == 0 || (lista_ == entry::Lista::Modelos && c == 1)
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (papel != Qt::DisplayRole)
        return {};
    if (lista_ == entry::Lista::Modelos) {
        switch (c) {
        case 0:
            return l.descricao;
        case 1:
            return l.codigoInterno;
        default:
            return entry::FormataNumero(l.valor, 18, 2);
        }
    }
    switch (c) {
    case 0:
        return l.descricao;
    case 1:
        return entry::FormataNumero(l.quantidade, 17, 7);
    case 2:
        return entry::FormataNumero(l.valor, 18, 6);
    case 3:
        return entry::FormataNumero(l.total, 18, 2);
    default:
        return entry::FormataNumero(l.valorII, 18, 2);
    }
}

QVariant ModeloLista::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (papel != Qt::DisplayRole)
        return {};
    if (orientacao == Qt::Vertical)
        return secao + 1;
    const QStringList c = cabecalhos(lista_);
    return secao < c.size() ? QVariant(c[secao]) : QVariant();
}

} // namespace vlme::ui
