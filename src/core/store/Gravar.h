#pragma once
// Saving what the editing forms hold: the general data of a statement, its
// models, its national components with their invoices, its imported components
// and subcomponents with their import declarations or invoices, and the links
// of subcomponents; deleting components with every row that belongs to them;
// the two cost checks between a national component and its subcomponents.
//
// The forms, vlme-cli and the text import all change a statement through these
// functions. They take the statement number explicitly and the values as plain
// structs, already converted by the field rules: texts without the masks'
// separators, numbers as doubles. An empty QString or an empty std::optional is
// an empty field: "only when not empty" columns then keep what they hold (their
// default on insert). A pair of options with neither selected keeps its column.
//
// Every operation that writes more than one row runs inside one store::Transacao
// (all or none) and may itself be called inside a caller's transaction.
// Database errors, including a row that is not there to be changed, are thrown
// as store::ErroBanco. Nothing here talks to the user or touches program-wide
// state: after GravaVLME the caller clears the open statement's "changed" flag.
// UI thread only, like the Banco it is given.
//
// NF and DI rows belong to exactly one component: created with it, replaced or
// kept when it changes, deleted with it. Invoice rows hold the supplier's CNPJ
// without its mask and the date of issue as "dd/mm/yyyy"; databases written by
// earlier versions may hold the CNPJ with its mask and the date as "ddmmyyyy",
// so whoever reads NF goes through CnpjSemMascara and LeDataNF.

#include <QDate>
#include <QString>

#include <optional>

namespace vlme::store {

class Banco;

// frmCentral, first tab.
enum class Coeficiente { Fixo = 0, Variavel = 1 };

struct DadosGerais {
    QString cnpj;                           // mskCNPJ, stored through CnpjSemMascara
    QString cpf;                            // mskCPF, 11 digits
    QString ppb;                            // txtPPB
    QString denProduto;                     // txtDenProduto
    QString ncm;                            // mskNCM, 8 digits
    QString unidade;                        // txtUnidade
    std::optional<double> pesoBruto;        // empty field: stored as 0
    std::optional<double> salarios;         // empty field: stored as 0
    std::optional<double> encargos;         // empty field: stored as 0
    std::optional<Coeficiente> coeficiente; // optFixo / optVariavel
    std::optional<bool> substitutivo;       // optSubstitutivoSim / Nao
    std::optional<bool> retificador;        // optRetificadorSim / Nao
    QString vlmAnterior;                    // mskVlmAnterior, 10 digits
    QString nrProcesso;                     // mskNrProcesso, 17 digits
};

// Invoice fields of frmNacionais or frmImportados.
struct DadosNF {
    QString numero;            // mskNR
    QString serie;             // mskSerie
    QString cnpj;              // mskCNPJ, stored through CnpjSemMascara
    QString dataEmissao;       // mskDataEmissao: "dd/mm/yyyy" or its eight digits
    QString inscricaoEstadual; // mskNrInsEstadual, as typed
};

// Import declaration fields of frmImportados.
struct DadosDI {
    QString numero; // mskNrDI, 10 digits
    QString adicao; // mskNrAdicao
    QString item;   // mskNrItem
};

// Component fields of frmNacionais.
struct DadosNacional {
    QString descricao;                   // txtDescricao
    std::optional<double> quantidade;    // mskQTD
    std::optional<double> custoUnitario; // mskCustoUnitario
    QString unidade;                     // TxtUnidade
    QString ncm;                         // mskNCM, 8 digits
    // The component's own number in an imported text file (its subcomponents
    // name it by that number); written only when the row is inserted.
    std::optional<int> numeroNoArquivo;
};

// Component fields of frmImportados.
struct DadosImportado {
    QString descricao;                   // txtDescricao
    std::optional<double> quantidade;    // mskQTD
    std::optional<double> valorUnitario; // mskValorUnitario
    std::optional<double> aliquota;      // mskAliquota
    std::optional<bool> comSuspensao;    // optComSuspSim / Nao
    std::optional<bool> direto;          // optDiretoSim (DI) / optDiretoNao (NF)
    std::optional<bool> reducaoII;       // optReducaoSim / Nao
    QString unidade;                     // txtUnidade
    QString ncm;                         // mskNCM, 8 digits
    bool baseCalculo = false;            // optBaseCalculoSim; subcomponents only
};

// frmModelos.
struct DadosModelo {
    QString descricao;                // txtDescricaoModelo
    std::optional<double> precoVenda; // mskPrecoVenda
    QString codigoInterno;            // mskCodigoInterno
};

// The document an imported row is linked to.
enum class Documento { DI, NF };

// Owner of an imported row, as the imported form receives it: 0 = a component
// of the product; a national NR_SQ_NACIONAL = a subcomponent of it;
// NacionalEmInclusao = a subcomponent of a national component still being
// included, linked with N_NACIONAL_SUBCOMP = 0 until IncluiNacional adopts it.
inline constexpr int NacionalEmInclusao = -1;

// ---- General data ----

// The VLME row of a new empty statement (only CODIGO_VLM written, as '');
// returns its NR_VLM_VLM. `pedida`: the user asked for an empty one, which
// its history records; an import records where its statements came from.
int CriaVLM(Banco &banco, bool pedida = false);

// Updates the VLME row of statement `nrVlm`.
void GravaVLME(Banco &banco, int nrVlm, const DadosGerais &dados);

// ---- Invoices and import declarations (rows without a statement) ----

// Inserts an NF / DI row with the non-empty fields; returns its key.
int GravaNF(Banco &banco, const DadosNF &nf);
int GravaDI(Banco &banco, const DadosDI &di);

// ---- National components ----

// Inserts the component row linked to invoice `chaveNF`; returns its
// NR_SQ_NACIONAL (the next of the statement).
int GravaNacional(Banco &banco, int nrVlm, const DadosNacional &dados, int chaveNF);
// The invoice and the component, together. Subcomponents added while the
// component was being included (N_NACIONAL_SUBCOMP = 0) are given its new
// number. Returns its NR_SQ_NACIONAL.
int IncluiNacional(Banco &banco, int nrVlm, const DadosNF &nf, const DadosNacional &dados);
// Overwrites the component's invoice, empty fields included (a component whose
// invoice row is missing, or that never had one, gets a new one), then
// AtualizaNacional.
void AlteraNacional(Banco &banco, int nrVlm, int nrSqNacional, const DadosNF &nf,
                    const DadosNacional &dados);
// The component's own columns, each only when not empty; keys and link kept.
void AtualizaNacional(Banco &banco, int nrVlm, int nrSqNacional, const DadosNacional &dados);

// ---- Imported components and subcomponents ----

// Inserts the row linked to `chave` of kind `documento` (the other link 0) and,
// when `nacionalDono` is not 0, its SUBCOMP row. Returns its NR_SQ_IMPORTADO.
int GravaImportado(Banco &banco, int nrVlm, const DadosImportado &dados, Documento documento,
                   int chave, int nacionalDono = 0);
int IncluiImportadoDI(Banco &banco, int nrVlm, const DadosDI &di, const DadosImportado &dados,
                      int nacionalDono = 0);
int IncluiImportadoNF(Banco &banco, int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                      int nacionalDono = 0);
// Overwrites the row's DI (or NF) row, empty fields included, or makes a new
// one when the row has none or it has disappeared; then AtualizaImportado.
void AlteraImportadoDI(Banco &banco, int nrVlm, int nrSqImportado, const DadosDI &di,
                       const DadosImportado &dados, int nacionalDono = 0);
void AlteraImportadoNF(Banco &banco, int nrVlm, int nrSqImportado, const DadosNF &nf,
                       const DadosImportado &dados, int nacionalDono = 0);
// Updates the row and switches its link to `chave` of kind `documento`: the
// row of the other kind it pointed to is deleted and that link set to 0. A link
// of 0 means "none" and deletes nothing. A previous row of the same kind other
// than `chave` is deleted too, so no NF or DI row is left without its
// component. For a subcomponent (`nacionalDono` not 0) also updates the
// base-calculation flag of its SUBCOMP row.
void AtualizaImportado(Banco &banco, int nrVlm, int nrSqImportado, const DadosImportado &dados,
                       Documento documento, int chave, int nacionalDono = 0);

// ---- Models ----

// Both write each field only when not empty and return the row's NR_SQ_MODELOS
// (the forms' lists re-query and go to that row).
int IncluiModelo(Banco &banco, int nrVlm, const DadosModelo &dados);
int AlteraModelo(Banco &banco, int nrVlm, int nrSqModelo, const DadosModelo &dados);
// A model has no rows of its own elsewhere: deleting it is one row.
void ExcluiModelo(Banco &banco, int nrVlm, int nrSqModelo);
// Whether statement `nrVlm` has a model other than `excetoSq` described as
// `descricao`, letter case ignored (accented letters too).
bool ModeloCadastrado(Banco &banco, int nrVlm, const QString &descricao, int excetoSq = 0);

// ---- Deletes ----

// The national component with its subcomponents (each through ExcluiImportado),
// their SUBCOMP rows and its invoice. Deleting what is not there does nothing.
void ExcluiNacional(Banco &banco, int nrVlm, int nrSqNacional);
// The imported row with its DI, NF and SUBCOMP rows.
void ExcluiImportado(Banco &banco, int nrVlm, int nrSqImportado);
// Subcomponents left with N_NACIONAL_SUBCOMP = 0 by an include of a national
// component that was cancelled.
void ExcluiSubcomponentesPendentes(Banco &banco, int nrVlm);

// ---- Cost checks ----

// Sum of quantity x unit value over the subcomponents of national component
// `nrSqNacional` (NacionalEmInclusao or 0: those still waiting for their
// component), leaving out imported row `excetoImportado`; 0 when there are none.
double SomaSubcomponentes(Banco &banco, int nrVlm, int nrSqNacional, int excetoImportado = 0);
// The one cost rule between a national component and its subcomponents: true
// (the check fails) when their total is above the national unit cost; a total
// equal to it, rounding of the sum aside, passes.
bool CustoExcedido(double total, double custoUnitario);
// True (the check fails) when the subcomponents' total, with the subcomponent
// being edited counted at `quantidade` x `valorUnitario` (`nrSqImportado` 0 for
// one being included), exceeds `custoUnitarioNacional`.
bool VerificaCustoSubcomponentes(Banco &banco, int nrVlm, int nacionalDono,
                                 double custoUnitarioNacional, double quantidade,
                                 double valorUnitario, int nrSqImportado = 0);
// True (the check fails) when the total of the component's stored
// subcomponents exceeds the new unit cost.
bool VerificaCustoNacional(Banco &banco, int nrVlm, int nrSqNacional, double custoUnitario);

// ---- Reading NF rows ----

// A CNPJ as it is stored: its letters and digits, the letters in upper case,
// whichever form it came in (with the mask's separators, blanks, lower case).
QString CnpjSemMascara(const QString &cnpj);
// The stored date of issue: "dd/mm/yyyy", "ddmmyyyy", "yyyy/mm/dd" or
// "yyyy-mm-dd"; an invalid QDate for anything else.
QDate LeDataNF(const QString &data);

} // namespace vlme::store
