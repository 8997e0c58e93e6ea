#include "ui/history/ModeloHistorico.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace vlme::ui {

void ModeloHistorico::define(std::vector<store::RegistroHistorico> linhas) {
    beginResetModel();
    linhas_ = std::move(linhas);
    mudancas_ = printing::MudancasFiguras(linhas_);
    endResetModel();
    filtra(filtro_);
}

void ModeloHistorico::filtra(std::optional<store::Evento> evento) {
    beginResetModel();
    filtro_ = evento;
    visiveis_.clear();
    visiveis_.reserve(linhas_.size());
    for (int i = 0; i < int(linhas_.size()); ++i)
        if (!evento || linhas_[i].evento == *evento)
            visiveis_.push_back(i);
    endResetModel();
}

int ModeloHistorico::rowCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : int(visiveis_.size());
}

int ModeloHistorico::columnCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : printing::ColunasHistorico;
}

QVariant ModeloHistorico::data(const QModelIndex &indice, int papel) const {
    if (!indice.isValid() || indice.row() >= int(visiveis_.size()))
        return {};
    const int i = visiveis_[indice.row()];
    const store::RegistroHistorico &linha = linhas_[i];
    const printing::MudancaFiguras &mudanca = mudancas_[i];
    const int coluna = indice.column();
    const std::optional<double> antes = coluna == printing::HistCustoTotal    ? mudanca.custoTotal
                                        : coluna == printing::HistCoeficiente ? mudanca.coeficiente
                                                                              : std::nullopt;
    switch (papel) {
    case Qt::DisplayRole:
        return printing::TextoHistorico(linha, coluna, mudanca);
    case Qt::TextAlignmentRole:
        return coluna == printing::HistVersao || coluna == printing::HistCustoTotal ||
                       coluna == printing::HistCoeficiente
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (antes) {
            QFont negrito;
            negrito.setBold(true);
            return negrito;
        }
        return {};
    case Qt::BackgroundRole:
        // A new coefficient is what an auditor looks for first.
        if (antes && coluna == printing::HistCoeficiente)
            return QBrush(QColor(0xff, 0xf4, 0xc2));
        return {};
    case Qt::ForegroundRole:
        if (antes && coluna == printing::HistCoeficiente)
            return QBrush(Qt::black);
        return {};
    case Qt::ToolTipRole:
        if (antes)
            return QStringLiteral("Antes: %1")
                .arg(coluna == printing::HistCustoTotal ? printing::TextoCusto(*antes)
                                                        : printing::TextoCoeficiente(*antes));
        if (coluna == printing::HistDetalhe && !linha.detalhe.isEmpty())
            return linha.detalhe;
        return {};
    default:
        return {};
    }
}

QVariant ModeloHistorico::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole)
        return {};
    QString texto = printing::CabecalhosHistorico().value(secao);
    return texto.startsWith(QLatin1Char('#')) ? texto.mid(1) : texto;
}

} // namespace vlme::ui
