#pragma once
// vlme-cli's commands: the table of names, arguments and usage lines, and what
// a command is given to run. Each command is one function in a file of its
// own plus one entry in the table (Comandos.cpp). Main thread only.

#include "cli/Saida.h"

#include <QStringList>

#include <vector>

class QTextStream;

namespace vlme::store {
class Banco;
}
namespace vlme::shell {
class InterfaceUsuario;
}

namespace vlme::cli {

// What a command runs with: the data folder open, its arguments checked.
struct Contexto {
    QString pasta;
    store::Banco &banco;
    shell::InterfaceUsuario &usuario;
    QStringList argumentos; // one per word of the command's parameters
    int declaracao;         // the value of N, an existing statement; 0 without N
    QTextStream &saida;
    QTextStream &erro;
    QString urlDiagnostico = {}; // the diagnostic address, path included
};

struct Comando {
    const char *nome;
    // The words after the name, as the usage shows them: "N" is the number
    // of a statement that must exist, any other word one argument of text.
    const char *parametros;
    const char *descricao;
    Saida (*executa)(Contexto &);
};

const std::vector<Comando> &Comandos();
// Null when there is no command of that name.
const Comando *ProcuraComando(const QString &nome);

// The usage text, ending in a line break.
QString TextoUso();

// A text for the terminal: CRLF line breaks as the terminal's.
QString TextoTerminal(QString texto);

} // namespace vlme::cli
