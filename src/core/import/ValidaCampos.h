#pragma once
// The field checks of the statement import, written once as rules and applied
// through tables: each record type is a list of fields (label, place in the
// layout, gender of its messages, rule per kind of document). The table
// imports use the same rules. Pure functions; any thread.

#include "delivery/TamanhosRegistro.h"

#include <QString>
#include <QStringView>

#include <span>

namespace vlme::importacao {

// "Inválido." or "Inválida.", "Não deve ser informado." or "...informada.".
enum class Genero : unsigned char { Masculino, Feminino };

enum class Regra : unsigned char {
    Nenhuma,
    Texto,             // stored text: a Latin-1 character set without controls
    TextoObrigatorio,  // not blank, at least `minimo` characters, then Texto
    Vazio,             // must be blank
    Digitos,           // digits only
    NumeroObrigatorio, // digits, not zero
    NumeroPositivo,    // digits, not zero ("Deve ser maior que zero.")
    Item,              // NumeroObrigatorio up to 80
    Cnpj,              // in either case: the lower-case letters are stored raised
    CnpjForma,         // a CNPJ's characters, check digits not computed
    Cpf,
    Ncm,         // 8 digits, not zero
    NcmOpcional, // 8 digits
    Data,        // YYYYMMDD, not zero
    DataOpcional,
    DI,
    Inscricao,          // "1234567890/.-" only
    Letras,             // one of `letras`, either case
    SoN,                // "N" only
    OutroDocumento,     // a field of the other document: zeros, not blanks
    CnpjOutroDocumento, // zeros or blanks
    Salario,            // digits; not zero under a variable coefficient
    Anterior,           // the previous statement's number, by the kind of statement
    Processo,           // the process number, by the kind of statement
};

// What the record's own checks need from the import.
enum class Extra : unsigned char { Nenhum, ModeloUnico, NacionalUnico, NacionalCadastrado, Custo };

struct CampoValidado {
    QStringView rotulo;
    delivery::Campo leiaute;
    Genero genero;
    Regra seDI, seNF, outro; // by the document kind of types 3 and 4; equal elsewhere
    Extra extra = Extra::Nenhum;
    const char *letras = "";
    int minimo = 0;
    QStringView rotuloObrigatorio = {}; // the label "Preenchimento Obrigatório." goes under
    bool soTipo3 = false;               // at its own place, not moved for type 3
};

// The statement-wide facts some rules read.
struct Contexto {
    bool variavel = false; // variable reduction coefficient
    char tipoVlme = 0;     // 'N', 'R', 'S' or 0
};

// The field's message, empty when `valor` passes.
QString Avalia(const CampoValidado &campo, Regra regra, const QString &valor,
               const Contexto &contexto = {});

std::span<const CampoValidado> CamposTipo0();
std::span<const CampoValidado> CamposTipo1();
std::span<const CampoValidado> CamposTipo2();
std::span<const CampoValidado> CamposImportado(); // types 3 and 4

// Blanks (spaces) trimmed from both ends.
QString Apara(const QString &valor);
// The field is a run of "0" of its full width.
bool Zeros(const QString &valor);
// One letter, either case.
bool Letra(const QString &valor, char letra);

// Messages the import words beside the rules.
inline const QString MsgObrigatorio = QStringLiteral("Preenchimento Obrigatório.");
inline const QString MsgInvalida = QStringLiteral("Inválida.");
inline const QString MsgModeloCadastrado = QStringLiteral("Modelo já Cadastrado.");
inline const QString MsgDeveSerUnico = QStringLiteral("Deve ser único.");
inline const QString MsgNaoCadastrado = QStringLiteral("Deve estar previamente cadastrado");
inline const QString MsgCustoSubcomponentes =
    QStringLiteral("Custo dos Subcomponentes deve ser menor que do Comp. Nacional.");

} // namespace vlme::importacao
