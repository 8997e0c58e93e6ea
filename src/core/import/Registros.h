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
    QString cnpj;
    QString cpf;
    QString ppb;
    QString denProduto;
    QString ncm;
    QString unidade;
    QString pesoBruto; // 5 decimals
    QString salarios;  // 2 decimals
    QString encargos;  // 2 decimals
    QString tipoVlme;  // N, R or S
    QString vlmAnterior;
    QString nrProcesso;
    QString versao;          // not read
    QString constante;       // not read
    QString tipoCoeficiente; // F or V
};

// A model.
struct RegistroTipo1 {
    QString sequencia; // not read
    QString descricao;
    QString precoVenda; // 2 decimals
    QString codigoInterno;
};

// The invoice and item fields that national and imported records share.
struct NotaEItem {
    QString numeroNF;
    QString serieNF;
    QString cnpjFornecedor;
    QString inscricaoEstadual;
    QString dataEmissao; // YYYYMMDD
    QString especificacao;
    QString unidade;
    QString ncm;
    QString quantidade;    // 7 decimals
    QString valorUnitario; // 6 decimals
};

// A national component with its invoice.
struct RegistroTipo2 : NotaEItem {
    QString numeroNacional; // the file's own number of the component
};

// An imported subcomponent (type 3) or imported component (type 4). Type 3
// carries the national component's number and the base flag at 6-10, which
// pushes every later field right; positions are in delivery/TamanhosRegistro.h.
struct RegistroImportado : NotaEItem {
    QChar tipo;             // '3' or '4'
    QString sequencia;      // not read
    QString numeroNacional; // type 3 only
    QString baseCalculo;    // type 3 only, S/N
    QString tipoDocumento;  // S = DI, N = invoice
    QString suspensao;      // S/N
    QString numeroDI;
    QString adicaoDI;
    QString itemDI;
    QString reducao; // S/N
};

// Totals of the file.
struct RegistroTipo9 {
    QString quantidade; // lines of the file, this one included
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
