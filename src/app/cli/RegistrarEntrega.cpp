#include "cli/Comandos.h"

#include "cli/Json.h"
#include "delivery/Entrega.h"

#include <QTextStream>

namespace vlme::cli {

namespace {

// The --desfazer form: the flag is the user's answer, nothing is asked.
Saida desfazEntrega(Contexto &c) {
    const int numero = delivery::DesfazEntrega(c.banco, c.declaracao, nullptr);
    c.saida << QStringLiteral("Registro da entrega da declaração %1 (transmissão %2) desfeito: "
                              "a declaração está gerada, não transmitida.")
                   .arg(c.declaracao)
                   .arg(numero)
            << '\n';
    c.json = {{QStringLiteral("numero"), Numero(c.declaracao)},
              {QStringLiteral("transmissaoDesfeita"), QString::number(numero)}};
    return Saida::Sucesso;
}

} // namespace

// The transmission number and the receipt of a statement sent by the
// delivery program, or (--desfazer) a delivery recorded by mistake undone. A
// statement without its delivery file generated as it is now is refused with
// 1; a file older than the generation record, or another number for a
// transmitted statement, is asked (--sim answers it); any other refusal or a
// Não writes nothing and exits with 3.
Saida registrarEntrega(Contexto &c) {
    const QStringList &a = c.argumentos;
    if (a.size() == 2 && a.at(1) == QLatin1String("--desfazer"))
        return desfazEntrega(c);
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
    std::optional<delivery::EntregaRegistrada> entrega;
    try {
        entrega = delivery::RegistraEntrega(c.banco, c.pasta, c.declaracao, recibo, c.usuario);
    } catch (const delivery::ErroSemGeracao &erro) {
        c.erro << erro.mensagem() << '\n';
        return Saida::Problemas;
    }
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
