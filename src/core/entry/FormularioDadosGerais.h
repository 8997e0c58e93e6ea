#pragma once
// What the general-data window decides, without the window: reading and
// saving the statement's general data, the statement-kind and coefficient
// rules, the previous-number check, the lock of a delivered statement, the
// list buttons, and whether closing keeps or discards the statement. The
// window shows the fields and forwards the user's events here.
// User-interface thread, like the connection.

#include "store/Gravar.h"

#include <QString>

#include <optional>

namespace vlme::base {
enum class Icone;
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base
namespace vlme::shell {
struct DeclaracaoAberta;
} // namespace vlme::shell

namespace vlme::entry {

// The fields of the first tab as the window holds them: masked fields as
// their digits, numeric fields as the Brazilian text shown.
struct CamposDadosGerais {
    QString cnpj, cpf, ppb, denProduto, ncm, unidade;
    QString pesoBruto, salarios, encargos;
    bool fixo = false, variavel = false;
    bool retificadorSim = false, retificadorNao = false;
    bool substitutivoSim = false, substitutivoNao = false;
    QString vlmAnterior, nrProcesso;

    store::DadosGerais paraGravacao() const;
    bool operator==(const CamposDadosGerais &) const = default;
};

// Which statement-kind controls are enabled; the fields disabled are emptied.
struct EstadoTipoDeclaracao {
    bool retificador = true;  // fraRetificador, its options and label
    bool substitutivo = true; // fraSubstitutivo, its options and label
    bool vlmAnterior = false; // mskVlmAnterior, lblVlmAnterior
    bool nrProcesso = false;  // mskNrProcesso, lblNrProcesso
};
EstadoTipoDeclaracao SetaRetificador(CamposDadosGerais &campos);

// Message for a previous statement number (its digits); nothing when it passes.
struct Aviso {
    QString texto;
    base::Icone icone;
};
std::optional<Aviso> ConfereVlmAnterior(const QString &digitos);

// The Incluir, Alterar, Excluir, Localizar and Visualizar buttons of a list.
struct BotoesLista {
    bool incluir, alterar, excluir, localizar, visualizar;
};

// What a clerk typed over a statement another program changed meanwhile,
// kept as a new statement: a copy of statement `origem` as it is now stored,
// named as a copy is, with `digitados` (the general data typed, when there
// are any) written over it, all in one transaction. Its number; 0 when the
// user cancelled the copy, with nothing written.
int GuardaComoNova(store::Banco &banco, int origem,
                   const std::optional<store::DadosGerais> &digitados, base::Progresso &progresso,
                   base::InterfaceUsuario &usuario);

// Asked before the fixed coefficient empties wages and charges.
extern const QString PerguntaCoeficienteFixo;

class FormularioDadosGerais {
  public:
    // `aberta` is the program's open statement (number, new and changed
    // flags); it outlives the form.
    FormularioDadosGerais(store::Banco &banco, shell::DeclaracaoAberta &aberta);

    // Reads the statement's row; throws ErroDeclaracaoInexistente when it is
    // gone. Also learns whether it was delivered.
    void carrega();
    CamposDadosGerais &campos() { return campos_; }
    int numero() const;

    // Transmitted or registered: nothing tagged T may change.
    bool entregue() const { return entregue_; }
    // Delivered, or shown for reading while another program holds it:
    // every field and list locked, nothing saved.
    bool travada() const;

    // A field or option changed by the user.
    void marcaAlterada();
    // Choosing the fixed coefficient asks first when wages or charges hold a
    // value other than zero.
    bool fixoPedeConfirmacao() const;
    // Fixed chosen (and confirmed): wages and charges become "0,00".
    void escolheFixo();

    // List buttons for a list with or without rows; a locked statement
    // keeps Incluir, Alterar and Excluir off whatever the list holds.
    BotoesLista botoes(bool temLinha) const;

    // Saves the general data (the VLME row). A locked statement, or fields
    // as they were read or last saved, have nothing to save: the statement's
    // version is raised only by a real change.
    void grava();
    // Leaving the first tab saves, and the statement is no longer new.
    void saiDaPrimeiraAba();
    // Closing: a new statement nobody touched is deleted with its rows;
    // anything else is saved (a locked one has nothing to save). A statement
    // deleted meanwhile is left alone. Clears the program's open statement
    // either way.
    void fecha();

  private:
    store::Banco &banco_;
    shell::DeclaracaoAberta &aberta_;
    CamposDadosGerais campos_;
    CamposDadosGerais gravados_;
    bool entregue_ = false;
};

} // namespace vlme::entry
