#pragma once
// Starting a desktop calculator for the user. Whichever common calculator is
// installed is used; when none is, nothing happens.

#include <QString>
#include <QStringList>

namespace vlme::shell {

// Program names tried in order.
QStringList CalculadorasConhecidas();

// Full path of the first of `nomes` found on `caminhos` (the system's search
// path when empty); empty when none is.
QString EncontraCalculadora(const QStringList &nomes = CalculadorasConhecidas(),
                            const QStringList &caminhos = {});

// Starts the calculator on its own, detached from this program. False when
// none was found or it failed to start; the caller may ignore it.
bool AbreCalculadora(const QStringList &nomes = CalculadorasConhecidas(),
                     const QStringList &caminhos = {});

} // namespace vlme::shell
