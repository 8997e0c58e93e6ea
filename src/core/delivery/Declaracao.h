#pragma once
// A declaration ready for delivery (its body records and its trailer) and the
// writer that saves it as the text file the delivery program sends; beside it,
// the test that tells whether the delivery program is installed.
// Plain value types: whoever builds a Declaracao owns it. Any thread, one at a
// time per object.

#include <QHash>
#include <QString>

#include "base/ErroVLME.h"

#include <vector>

namespace vlme::delivery {

// A delivery file that cannot be written or a statement that cannot be read,
// in the user's words. Passes to the command that started the work.
class ErroEntrega : public base::ErroVLME {
  public:
    using base::ErroVLME::ErroVLME;
};

// One body record: its type character, the rest of the record, a check field
// (never filled by this program, so written as nothing).
struct Registro {
    QString Tipo;
    QString Conteudo;
    QString CRC;
};

// The body, in the order of generation, optionally keyed. Indexes start at 0.
// A reference returned by Add or Item stays valid until the next Add or Remove.
class Registros {
  public:
    // Adds a copy of `registro` (under `chave` when not empty) and returns it.
    // Throws ErroEntrega for a key already in use.
    Registro &Add(const Registro &registro, const QString &chave = {});
    // Throw ErroEntrega for an index or key not there.
    Registro &Item(qsizetype indice);
    const Registro &Item(qsizetype indice) const;
    Registro &Item(const QString &chave);
    const Registro &Item(const QString &chave) const;
    qsizetype Count() const { return itens_.size(); }
    void Remove(qsizetype indice);
    void Remove(const QString &chave);
    void reserva(qsizetype quantos) { itens_.reserve(size_t(quantos)); }

    // In insertion order.
    auto begin() const { return itens_.cbegin(); }
    auto end() const { return itens_.cend(); }

  private:
    qsizetype indiceDa(const QString &chave) const;

    std::vector<Registro> itens_;
    std::vector<QString> chaves_; // beside each item; empty when none
    QHash<QString, qsizetype> porChave_;
};

// The closing record (type "9").
struct TraillerDeclaracao {
    QString CRC;
    QString Conteudo;
    QString Tipo;
};

struct Declaracao {
    QString CRC;
    TraillerDeclaracao Trailler;
    Registros Corpo;
};

// Writes a Declaracao for the delivery program.
class Enviador {
  public:
    vlme::delivery::Declaracao Declaracao;

    // Writes every body record and then the trailer, each as Tipo, Conteudo and
    // CRC followed by CR LF, one byte per character (Latin-1), replacing any
    // file at `caminho`. The file appears whole or not at all: on any failure
    // a file already there is left as it was. `larguraLinha` 0 is the only
    // layout there is (lines as long as their record); any other value is
    // refused with ErroEntrega. Throws ErroEntrega when the file
    // cannot be written or a record holds a character Latin-1 has not.
    void Salvar(const QString &caminho, qint16 larguraLinha) const;

    // The bytes Salvar writes.
    QByteArray conteudoArquivo() const;
};

// The file name and place of the delivery program's settings.
inline constexpr char NomeIniEnviador[] = "enviador.ini";
inline constexpr char SecaoEnviador[] = "Enviador";
inline constexpr char ChaveCaminhoEnviador[] = "Path";
inline constexpr char BibliotecaEnviador[] = "NUCLEO.DLL";

// Where the delivery program keeps enviador.ini: VLME_PASTA_SISTEMA when set,
// else the user's configuration folder (shared by the user's programs).
QString PastaSistema();

// True when the delivery program is installed: enviador.ini in `pastaSistema`
// names, under [Enviador] Path=, a folder holding NUCLEO.DLL. File, section
// and key names are matched in any letter case, as the platform it comes from
// does. The ini is read by QSettings, so a backslash in the value must be
// written doubled ("\\"); forward slashes need nothing.
bool LocalizaEnviador(const QString &pastaSistema);
bool LocalizaEnviador();

// True when a file (not a folder) of that name exists, hidden ones included.
bool ExisteArquivo(const QString &caminho);

} // namespace vlme::delivery
