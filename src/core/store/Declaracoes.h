#pragma once
// Reading statements as a whole: sequence numbering inside a statement, the
// delivery state shown to the user, and the statement list used by the
// picker, vlme-cli and the diagnostic.

#include <QString>

#include <optional>
#include <vector>

namespace vlme::store {

class Banco;

// Next sequence inside statement `nrVlm`: highest + 1, or 1 when it has none.
int ProximoModelo(Banco &banco, int nrVlm);
int ProximoNacional(Banco &banco, int nrVlm);
int ProximoImportado(Banco &banco, int nrVlm);

// "Registrado", "A transmitir", "Transmitido" or "Original".
QString SituacaoEntrega(int nrTransmissao, const QString &codigo);
// The transmission number, "-", or the registration code as "0000/00000".
QString Protocolo(int nrTransmissao, const QString &codigo);
// "Retificador", "Substitutivo" or "Novo".
QString TipoDeclaracao(int retificador, int substitutivo);
// "-" when empty; 14 characters as 00.000.000/0000-00 (letters included);
// anything else unchanged.
QString FormataCNPJ(const QString &cnpj);
// 11 digits as 000.000.000-00; anything else unchanged.
QString FormataCPF(const QString &cpf);
// Registration code as "0000/00000": a number padded to nine digits, then
// the first four, "/", the last five.
QString FormataCodigo(const QString &codigo);

// Which statements an operation applies to.
enum class FiltroLista {
    Todas,
    Geracao,     // never transmitted or to be transmitted again, not registered
    Pendencias,  // not transmitted and not registered
    Diagnostico, // transmitted at some time
    Entrega,     // not registered: its delivery may be recorded or corrected
};

struct ItemLista {
    int numero = 0;
    QString cnpj;    // formatted
    QString produto; // product name, " - " and the first model's description
    QString tipo;
    QString situacao;
    QString protocolo;
};

// Newest first.
std::vector<ItemLista> ListaDeclaracoes(Banco &banco, FiltroLista filtro = FiltroLista::Todas);

bool ExisteDeclaracao(Banco &banco, int nrVlm);

// What the main window's panel shows of an opened statement.
struct Registro {
    QString codigo; // CODIGO_VLM, empty until registered
    QString razaoSocial;
};
// nullopt when the statement does not exist.
std::optional<Registro> RegistroDeclaracao(Banco &banco, int nrVlm);

} // namespace vlme::store
