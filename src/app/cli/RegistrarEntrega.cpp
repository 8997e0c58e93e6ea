#include "cli/Comandos.h"

#include "cli/Json.h"
#include "delivery/Entrega.h"

#include <QTextStream>

namespace vlme::cli {

// The transmission number and the receipt of a statement sent by the
// delivery program. Another number for a transmitted statement is asked
// (--sim answers it); a refusal or a Não writes nothing and exits with 3.
Saida registrarEntrega(Contexto &c) {
    const QStringList &a = c.argumentos;
    delivery::ReciboDigitado recibo;
    recibo.numero = a.at(1);
    recibo.recepcao = a.at(2);
    recibo.geracao = a.at(3);
    recibo.local = a.at(4);
    recibo.remessa = a.at(5);
    recibo.gateway = a.at(6);
    recibo.selo = a.at(7);
    recibo.controle = a.at(8);
    recibo.totais = a.at(9);
    const auto entrega = delivery::RegistraEntrega(c.banco, c.declaracao, recibo, c.usuario);
    if (!entrega) {
        c.erro << "A entrega não foi registrada.\n";
        return Saida::Falha;
    }
    c.saida << QStringLiteral(
                   "Entrega da declaração %1 registrada: transmissão %2, recebida em %3.")
                   .arg(entrega->declaracao)
                   .arg(entrega->numero)
                   .arg(entrega->recepcao.toString(delivery::FormatoDataHora))
            << '\n';
    c.json = {{QStringLiteral("numero"), Numero(entrega->declaracao)},
              {QStringLiteral("transmissao"), QString::number(entrega->numero)},
              {QStringLiteral("transmissaoAnterior"),
               entrega->numeroAnterior > 0 ? QString::number(entrega->numeroAnterior) : QString()},
              {QStringLiteral("recepcao"), entrega->recepcao.toString(Qt::ISODate)}};
    return Saida::Sucesso;
}

} // namespace vlme::cli
