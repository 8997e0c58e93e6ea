#pragma once
// The statement text file's records cut into named fields, exactly as they
// stand in the line (blanks and zeros kept): the import checks and converts
// them, and anyone who writes or compares such files can use the same cut.
// One record is one line; position 1 is the record type. The layouts are
// those of the delivery file; positions the import does not read are still
// cut, so a record can be put back together.
// Pure functions; any thread.

#include "delivery/TamanhosRegistro.h"

#include <QString>
#include <QStringView>

namespace vlme::importacao {

inline constexpr int TamanhoTipo0 = delivery::TamanhoRegistro0;
inline constexpr int TamanhoTipo1 = delivery::TamanhoRegistro1;
inline constexpr int TamanhoTipo2 = delivery::TamanhoRegistro2;
inline constexpr int TamanhoTipo3 = delivery::TamanhoRegistro3;
inline constexpr int TamanhoTipo4 = delivery::TamanhoRegistro4;
inline constexpr int TamanhoTipo9 = delivery::TamanhoRegistro9;

// Required length of a record type ('0'..'4', '9'); 0 for any other.
int TamanhoRegistro(QChar tipo);
// The record type's name as the error entries carry it; empty for any other.
QString NomeRegistro(QChar tipo);

// General data of a statement.
struct RegistroTipo0 {
    QString cnpj;            // 2, 14
    QString cpf;             // 16, 11
    QString ppb;             // 27, 80
    QString denProduto;      // 107, 80
    QString ncm;             // 187, 8
    QString unidade;         // 195, 80
    QString pesoBruto;       // 275, 14, 5 decimals
    QString salarios;        // 289, 15, 2 decimals
    QString encargos;        // 304, 15, 2 decimals
    QString tipoVlme;        // 319, 1: N, R or S
    QString vlmAnterior;     // 320, 10
    QString nrProcesso;      // 330, 17
    QString versao;          // 347, 4 (not read)
    QString constante;       // 351, 1 (not read)
    QString tipoCoeficiente; // 352, 1: F or V
};

// A model.
struct RegistroTipo1 {
    QString sequencia;     // 2, 4 (not read)
    QString descricao;     // 6, 80
    QString precoVenda;    // 86, 15, 2 decimals
    QString codigoInterno; // 101, 15
};

// A national component with its invoice.
struct RegistroTipo2 {
    QString numeroNacional;    // 2, 4: the file's own number of the component
    QString numeroNF;          // 6, 10
    QString serieNF;           // 16, 5
    QString cnpjFornecedor;    // 21, 14
    QString inscricaoEstadual; // 35, 15
    QString dataEmissao;       // 50, 8, YYYYMMDD
    QString especificacao;     // 58, 80
    QString unidade;           // 138, 80
    QString ncm;               // 218, 8
    QString quantidade;        // 226, 15, 7 decimals
    QString valorUnitario;     // 241, 15, 6 decimals
};

// An imported subcomponent (type 3) or imported component (type 4). Type 3
// carries the national component's number and the base flag at 6-10, which
// pushes every later field 5 positions right; positions below are type 4's.
struct RegistroImportado {
    QChar tipo;                // '3' or '4'
    QString sequencia;         // 2, 4 (not read)
    QString numeroNacional;    // type 3 only: 6, 4
    QString baseCalculo;       // type 3 only: 10, 1, S/N
    QString tipoDocumento;     // 6, 1: S = DI, N = invoice
    QString suspensao;         // 7, 1, S/N
    QString numeroDI;          // 8, 10
    QString adicaoDI;          // 18, 3
    QString itemDI;            // 21, 2
    QString numeroNF;          // 23, 10
    QString serieNF;           // 33, 5
    QString cnpjFornecedor;    // 38, 14
    QString inscricaoEstadual; // 52, 15
    QString dataEmissao;       // 67, 8, YYYYMMDD
    QString especificacao;     // 75, 80
    QString unidade;           // 155, 80
    QString ncm;               // 235, 8
    QString quantidade;        // 243, 15, 7 decimals
    QString reducao;           // 258, 1, S/N
    QString valorUnitario;     // 259, 15, 6 decimals
};

// Totals of the file.
struct RegistroTipo9 {
    QString quantidade; // 2, 8: lines of the file, this one included
};

// A line shorter than its layout gives short or empty fields at its end.
RegistroTipo0 CortaTipo0(QStringView linha);
RegistroTipo1 CortaTipo1(QStringView linha);
RegistroTipo2 CortaTipo2(QStringView linha);
// Type 3 or 4 after the line's first character.
RegistroImportado CortaImportado(QStringView linha);
RegistroTipo9 CortaTipo9(QStringView linha);

// "YYYYMMDD" to "YYYY/MM/DD": the first four characters, "/", the 5th and 6th,
// "/", the last two.
QString ConverteDataImportacao(const QString &data);

// A digit field with implied decimals as its value (InsereDecimais with the
// field's width, then ConverteValor); 0 when the field is not numeric.
double ValorImplicito(const QString &campo, int decimais);

} // namespace vlme::importacao
