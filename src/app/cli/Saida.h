#pragma once
// vlme-cli's exit status, the same for every command.

namespace vlme::cli {

enum class Saida {
    Sucesso = 0,
    Problemas = 1, // found in the data: pendencies, import errors
    UsoErrado = 2, // the command line, or a statement that does not exist
    Falha = 3,     // the operation could not be done
    Reservada = 4, // the statement is reserved by another program
    Incerto = 5,   // the server's answer to the final write was lost: stored or not, unknown
};

} // namespace vlme::cli
