#pragma once
// Each statement's identity and version, kept beside it in CONTROLE (one row
// per statement). The identity is a UUID given when the statement is made
// (new, import, copy; a restore or a move keeps the one it carried unless this
// database already has it), so a statement is known wherever it goes, whatever
// number it gets. The version is a counter raised by every saved change, with
// who made it and when: a program that read a statement and wants to write it
// learns whether someone else wrote it in between, instead of writing over
// their change. A backup or a file made before the table has none: the rows
// are added on open (Esquema), and a missing row reads as version 0 with a
// fresh identity. UI thread only, like the Banco.

#include "base/ErroVLME.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vlme::store {

class Banco;
class Transacao;

struct EstadoDeclaracao {
    QString identidade;
    qint64 versao = 0;
    // Who saved the last change and when; empty for a statement nobody
    // changed since this record began.
    QString usuario, maquina, programa;
    QDateTime alteracao;
    // The last delivery file generated from it, and the version it came from.
    QDateTime geracao;
    std::optional<qint64> versaoGerada;
};

// The record of statement `numero`, or nothing when the statement has none.
std::optional<EstadoDeclaracao> LeEstado(Banco &banco, int numero);
// The record of statement `numero`, given one first when it has none (a row
// another tool added); inside the caller's write.
EstadoDeclaracao EstadoOuNovo(Banco &banco, int numero);

// The record of a statement just made; `identidade` empty draws a new one, and
// so does one this database already holds (a backup restored beside its
// original). Returns the identity given.
QString CriaControle(Banco &banco, int numero, const QString &identidade = {});

// Statement `numero` changed by this program: inside the write's transaction,
// before or after its rows. When this program remembers the version it read
// (Reserva::lembraVersao) and the stored one differs, throws
// ErroDeclaracaoAlterada and writes nothing; otherwise, once committed, the
// program remembers the new version. Returns the new version.
qint64 MarcaAlteracao(Banco &banco, int numero);

// A delivery file was generated from statement `numero` as it is now.
void MarcaGeracao(Banco &banco, int numero);

// The commands that make the table (schema and upgrades alike).
QStringList ComandosControle();
// Gives every statement without a record one (an upgrade; a file another
// tool wrote to). Inside the caller's transaction.
void CompletaControles(Banco &banco);

// A save refused because another program changed the statement after this one
// read it.
class ErroDeclaracaoAlterada : public base::ErroVLME {
  public:
    ErroDeclaracaoAlterada(int numero, const EstadoDeclaracao &atual);
    int numero() const { return numero_; }
    const EstadoDeclaracao &atual() const { return atual_; }

  private:
    int numero_;
    EstadoDeclaracao atual_;
};

// One change to a statement: the version check and raise, the rows, and the
// history's row naming the part saved (with the figures it leaves), in one
// transaction.
class Alteracao {
  public:
    Alteracao(Banco &banco, int numero, const QString &parte);
    ~Alteracao();
    Alteracao(const Alteracao &) = delete;
    Alteracao &operator=(const Alteracao &) = delete;
    void confirma();

  private:
    Banco &banco_;
    int numero_;
    QString parte_;
    std::unique_ptr<Transacao> transacao_;
};

} // namespace vlme::store
