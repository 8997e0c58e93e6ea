#pragma once
// vlme-cli's commands: the table of names, arguments and usage lines, and what
// a command is given to run. Each command is one function in a file of its
// own plus one entry in the table (Comandos.cpp). Main thread only.

#include "cli/Saida.h"

#include <QJsonObject>
#include <QStringList>

#include <vector>

class QTextStream;

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::cli {

// What a command runs with: the data folder open, its arguments checked.
// A command writes its text to `saida` and puts the same figures in `json`
// (the keys vlme-cli(1) documents); with --json the text goes nowhere and the
// document is printed instead, with "comando", "status" and, when something
// went wrong, "mensagem" added.
struct Contexto {
    QString pasta;
    store::Banco &banco;
    base::InterfaceUsuario &usuario;
    QStringList argumentos; // one per word of the command's parameters
    int declaracao;         // the value of N, an existing statement; 0 without N
    QTextStream &saida;
    QTextStream &erro;
    QString urlDiagnostico = {}; // the diagnostic address, path included
    QJsonObject json = {};
};

struct Comando {
    const char *nome;
    // The words after the name, as the usage shows them: "N" is the number
    // of a statement that must exist, any other word one argument of text.
    const char *parametros;
    const char *descricao;
    Saida (*executa)(Contexto &);
    // Changes statement N: it is reserved while the command runs, refused
    // (exit 4) when another program holds it.
    bool alteraN = false;
    // Works on the data folder's VLM.MDB whatever --banco or VLME_BANCO say.
    bool bancoLocal = false;
    // A second form of the command ("N --desfazer"), chosen when its last
    // word is on the command line; null when none. `descricaoOutra` is its line.
    const char *outraForma = nullptr;
    const char *descricaoOutra = nullptr;
    // N may also be a deleted statement's number: the command looks it up.
    bool nExcluida = false;
};

const std::vector<Comando> &Comandos();
// Null when there is no command of that name.
const Comando *ProcuraComando(const QString &nome);

// The identity whose history statement N (existing or deleted) has; empty,
// the user told, when N never was a statement here.
QString IdentidadeHistorico(Contexto &c);

// The usage text, ending in a line break.
QString TextoUso();

// A text for the terminal: CRLF line breaks as the terminal's.
QString TextoTerminal(QString texto);

} // namespace vlme::cli
