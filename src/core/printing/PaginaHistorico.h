#pragma once
// A statement's history as people read it: the columns, each row's texts in
// Brazilian notation, which figures changed from the row before, and the
// printed page. Shared by the history window, its print and vlme-cli's text.

#include "printing/Documento.h"
#include "store/Historico.h"

#include <optional>
#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::printing {

// "Histórico da Declaração 12"
QString TituloHistorico(int numero);

enum ColunaHistorico {
    HistQuando,
    HistEvento,
    HistDetalhe,
    HistVersao,
    HistUsuario,
    HistMaquina,
    HistPrograma,
    HistCustoTotal,
    HistCoeficiente,
    ColunasHistorico,
};
QStringList CabecalhosHistorico();

// A row's figures that differ from those of the row that had figures before
// it (older): the earlier value, for the arrow and its tooltip.
struct MudancaFiguras {
    std::optional<double> custoTotal, coeficiente;
};
// One per row of `linhas` (newest first), read from the oldest up.
std::vector<MudancaFiguras> MudancasFiguras(const std::vector<store::RegistroHistorico> &linhas);

QString TextoCusto(double custo);             // "US$ 1.234,56"
QString TextoCoeficiente(double coeficiente); // 0.88 as "88,00%"
// A moment as the user's clock shows it: "08/12/2026 09:15:02".
QString TextoQuando(const QDateTime &quando);
// A cell's text; a changed figure carries "▲ " or "▼ " when `mudanca` says so.
QString TextoHistorico(const store::RegistroHistorico &linha, int coluna,
                       const MudancaFiguras &mudanca = {});

// The printed page of statement `numero`'s history `linhas` (whole, newest
// first), only the rows of kind `filtro` when given.
Documento ImprimeHistorico(int numero, const std::vector<store::RegistroHistorico> &linhas,
                           std::optional<store::Evento> filtro = std::nullopt);

} // namespace vlme::printing
