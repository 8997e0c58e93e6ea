#pragma once
// Recording a delivery: the transmission number and the receipt the delivery
// program gave for a statement, typed by the user from the receipt. Written
// where a delivery program that records them itself would write them
// (NR_TRANSMISSAO_VLM and one RECIBO row), so the diagnostic, the receipt
// print, backup and copy treat both alike. One function does the checks and
// the write, for the dialog, the picker and vlme-cli alike.
// User-interface thread only, like the Banco it is given.

#include "delivery/Declaracao.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::delivery {

// What the user typed from the receipt, as typed. Dates as "dd/MM/yyyy
// HH:mm:ss"; empty for a field left blank (only the number and the reception
// are required).
struct ReciboDigitado {
    QString numero;
    QString recepcao;
    QString geracao;
    QString local, remessa, gateway, selo, controle, totais;
};

// The field a refusal is about, so a window puts the cursor there.
enum class CampoRecibo { Nenhum, Numero, Recepcao, Geracao };

// A delivery refused: nothing was written.
class ErroRecibo : public ErroEntrega {
  public:
    ErroRecibo(const QString &mensagem, CampoRecibo campo) : ErroEntrega(mensagem), campo(campo) {}
    CampoRecibo campo;
};

// What was recorded.
struct EntregaRegistrada {
    int declaracao = 0;
    int numero = 0;         // NR_TRANSMISSAO_VLM now
    int numeroAnterior = 0; // the number it replaced; 0 when none
    QString cnpj;           // CNPJ_RECIBO, the statement's
    QDateTime recepcao;
    QDateTime geracao; // invalid when not given
    QString local, remessa, gateway, selo, controle, totais;
};

// The receipt's dates and times as typed and shown.
inline const QString FormatoDataHora = QStringLiteral("dd/MM/yyyy HH:mm:ss");
// FormatoDataHora read strictly; invalid for anything else.
QDateTime LeDataHora(const QString &texto);

// Records the delivery of statement `nrVlm`: NR_TRANSMISSAO_VLM = the number
// and one RECIBO row with the statement's CNPJ, in one transaction. A
// statement transmitted under another number asks `usuario` first (Não the
// default); on Não nothing is written and the answer is nullopt. Earlier
// RECIBO rows stay. Throws ErroRecibo for a refusal (registered statement,
// number missing or not a whole number above 0, a number another statement
// carries, the same number again, a date missing, unreadable or in the
// future, a generation after the reception), store::ErroDeclaracaoInexistente
// and store::ErroBanco; nothing is written then.
std::optional<EntregaRegistrada> RegistraEntrega(store::Banco &banco, int nrVlm,
                                                 const ReciboDigitado &recibo,
                                                 base::InterfaceUsuario &usuario);

} // namespace vlme::delivery
