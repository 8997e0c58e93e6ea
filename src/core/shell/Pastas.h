#pragma once
// The program folder (the data folder holding VLM.MDB, VLME.MOD and Arquivos/)
// and the paths built from it.

#include <QString>

namespace vlme::shell {

inline constexpr char NomeBanco[] = "VLM.MDB";
inline constexpr char NomeModelo[] = "VLME.MOD";
inline constexpr char NomePastaArquivos[] = "Arquivos";

// The data folder: `opcao` (from --pasta) when given, else VLME_PASTA, else
// the user's application data folder. Returned absolute; not created here.
QString EscolhePastaPrograma(const QString &opcao);
// The team database's URL: the option, else VLME_BANCO, else `lembrado`
// (the window program's setting); empty for the embedded file of the data
// folder.
QString EscolheBanco(const QString &opcao, const QString &lembrado = {});

// Arquivos/VLME + the statement number in ten digits (no extension); creates
// Arquivos/ when missing.
QString CaminhoArquivos(const QString &pastaPrograma, int nrVlm);
// Arquivos/ + the first 12 characters of the CNPJ (digits and upper-case
// letters), the statement's file folder; creates both folders when missing.
// Nothing else of the stored text is used, so a CNPJ stored with its mask (or
// anything else) can never point outside Arquivos/.
QString PastaArquivos(const QString &pastaPrograma, const QString &cnpj);

} // namespace vlme::shell
