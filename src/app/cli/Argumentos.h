#pragma once
// vlme-cli's command line: the options, the command and its arguments,
// checked before anything is opened.

#include <QStringList>

namespace vlme::cli {

struct Comando;

struct Pedido {
    bool ajuda = false;     // -h or --help: the usage, nothing else
    QString pasta;          // --pasta DIR; empty for the default
    QString urlDiagnostico; // --url-diagnostico URL; empty for the default
    QString banco;          // --banco URL; empty for VLME_BANCO or the file
    bool respondeSim = false;
    bool json = false; // --json: one JSON document on standard output
    const Comando *comando = nullptr;
    QStringList argumentos;
    int declaracao = 0; // the value of N
    QString erro;       // what is wrong, in one line; empty when nothing is
};

Pedido LeArgumentos(const QStringList &argumentos);

// A statement number written as a whole number above zero; 0 for anything else.
int NumeroDeclaracao(const QString &texto);

} // namespace vlme::cli
