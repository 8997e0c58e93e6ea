#pragma once
// Each statement's history: one row per thing that happened to it (made,
// saved, delivery file generated, delivery recorded or undone, diagnostic,
// backed up, moved to the team database, deleted), with when, who, from which
// machine and program, and after a save or an import the summary's figures.
// A row is written in the transaction of the change it records, so the two
// are committed or undone together. Rows are only ever added: a deleted
// statement keeps its own, the deletion last; on the server the clerks' roles
// may add rows but not change or remove them. Rows are kept by the
// statement's identity (Controle), so they follow it through backup, restore
// and migrar whatever number it gets. UI thread only, like the Banco.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vlme::store {

class Banco;

enum class Evento {
    Criada,
    Gravada,
    Gerada,
    Registrada,
    RegistroDesfeito,
    Diagnostico,
    CopiaSeguranca,
    Migrada,
    Excluida,
};
inline constexpr Evento TodosEventos[] = {
    Evento::Criada,         Evento::Gravada,          Evento::Gerada,
    Evento::Registrada,     Evento::RegistroDesfeito, Evento::Diagnostico,
    Evento::CopiaSeguranca, Evento::Migrada,          Evento::Excluida,
};
// The code a row stores ("criada", ...), stable across versions: other
// systems read the table.
QString CodigoEvento(Evento evento);
std::optional<Evento> EventoDoCodigo(const QString &codigo);
// The kind as the user reads it ("Gravada", "Entrega registrada", ...).
QString NomeEvento(Evento evento);

// What the summary says after a save or an import.
struct Figuras {
    double custoTotal = 0;
    double coeficiente = 0;
};
// The figures come from the checking rules, above this layer: start-up
// hands them in once. Unset, rows carry none.
using CalculoFiguras = std::function<Figuras(Banco &banco, int numero)>;
void DefineCalculoFiguras(CalculoFiguras calculo);

struct RegistroHistorico {
    qint64 chave = 0; // the order rows were added in, here
    QString identidade;
    int numero = 0; // the statement's number when it happened, in that database
    Evento evento = Evento::Criada;
    QString detalhe;
    std::optional<qint64> versao;
    QDateTime quando; // UTC
    QString usuario, maquina, programa;
    std::optional<Figuras> figuras;
};

// Adds the row of what just happened to statement `numero` (which must have
// its identity record), inside the caller's transaction. `comFiguras` adds
// the summary's figures as they are now, in that transaction.
void RegistraHistorico(Banco &banco, int numero, Evento evento, const QString &detalhe = {},
                       bool comFiguras = false);

// The rows of the statement known as `identidade`, newest first.
std::vector<RegistroHistorico> LeHistorico(Banco &banco, const QString &identidade);
// The identity whose history number `numero` asks for: the statement that has
// it, else the last deleted one that had it; empty when none did.
QString IdentidadeDoNumero(Banco &banco, int numero);
// The deletions recorded here, newest first (the detail holds the product's
// name as it was).
std::vector<RegistroHistorico> LeExcluidas(Banco &banco);

// Rows read elsewhere (a backup, the file migrar moves from), newest first as
// LeHistorico gives them, added here as they were, in the order they happened,
// under the identity and number the statement has here; unless this database already has that
// identity's history (a deleted statement restored where it was), which holds them already. Inside
// the caller's transaction.
void CopiaHistorico(Banco &banco, const std::vector<RegistroHistorico> &linhas,
                    const QString &identidade, int numero);

// The commands that make the table and its indexes (schema and upgrades).
QStringList ComandosHistorico();

} // namespace vlme::store
