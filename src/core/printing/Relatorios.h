#pragma once
// The program's printed documents, built from the database: the statement
// (general data, models, components with their documents, summary), its
// summary alone, its delivery receipt, and the lists of the pendency and
// import-error windows. Only read the database.

#include "printing/Documento.h"

#include <QStringList>

#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::printing {

inline const QString TituloDemonstrativo = QStringLiteral("Demonstrativo da VLM-E");
inline const QString TituloResumo = QStringLiteral("Resumo da VLM-E");
inline const QString TituloRecibo = QStringLiteral("Recibo de entrega da VLM-E");

// The statement (resumo false) or its summary (true). Throws
// store::ErroDeclaracaoInexistente when there is no statement `nrVlm`.
Documento ImprimeVLM(store::Banco &banco, int nrVlm, bool resumo);

// The statement's delivery receipts; base::ErroVLME with TextoSemRecibo when
// it has none.
Documento ImprimeRecibo(store::Banco &banco, int nrVlm);
QString TextoSemRecibo(int nrVlm);

// "VLM-E nº 12": what a statement's pages carry in their header.
QString IdentificaDeclaracao(int nrVlm);

// A list window's lines as a table with the columns `cabecalhos` (widths in
// the shares `larguras`); `linhas` holds one value per column.
// `identificacao` says what the list belongs to.
Documento ImprimeLista(const QString &titulo, const QString &identificacao,
                       const QStringList &cabecalhos, const std::vector<double> &larguras,
                       const std::vector<QStringList> &linhas);

} // namespace vlme::printing
