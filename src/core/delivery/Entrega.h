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

// Refused because the statement has no delivery file generated from it as it
// is now: a fault of the data (vlme-cli exit 1), not of what was typed.
class ErroSemGeracao : public ErroRecibo {
  public:
    explicit ErroSemGeracao(const QString &mensagem) : ErroRecibo(mensagem, CampoRecibo::Nenhum) {}
};

// Whether a statement's delivery file shows it as it is stored now.
enum class Geracao {
    Atual,       // generated, and not changed since
    Ausente,     // never generated
    Alterada,    // changed after its file was generated
    SemRegistro, // its file dates from before generations were recorded
};
// Known by the version recorded with the last generation; when the version
// moved (a save that changed nothing raises it too) or there is no record,
// by the file in Arquivos/ under `pastaPrograma`, compared with the file the
// statement gives now.
Geracao SituacaoGeracao(store::Banco &banco, const QString &pastaPrograma, int nrVlm);

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
// and one RECIBO row with the statement's CNPJ, in one transaction. A first
// delivery needs the delivery file generated and the statement not changed
// since (ErroSemGeracao otherwise); a file from before generations were
// recorded asks `usuario` (Não the default). A statement transmitted under
// another number asks first too. On Não nothing is written and the answer is
// nullopt. Earlier RECIBO rows stay. Throws ErroRecibo for a refusal (registered statement,
// number missing or not a whole number above 0, a number another statement
// carries, the same number again, a date missing, unreadable or in the
// future, a generation after the reception), store::ErroDeclaracaoInexistente
// and store::ErroBanco; nothing is written then.
std::optional<EntregaRegistrada> RegistraEntrega(store::Banco &banco, const QString &pastaPrograma,
                                                 int nrVlm, const ReciboDigitado &recibo,
                                                 base::InterfaceUsuario &usuario);

// Undoes a delivery recorded by mistake, before the diagnostic registered the
// statement: the receipt of the number in force goes and NR_TRANSMISSAO_VLM
// returns to 0 (generated, not transmitted), in one transaction. With
// `usuario`, asks first (Não the default) and answers 0 on Não; otherwise
// the caller has asked. Returns the number undone. Throws ErroRecibo when the
// statement is registered or has no delivery in force, and
// store::ErroDeclaracaoInexistente, store::ErroReservada, store::ErroBanco;
// nothing is written then.
int DesfazEntrega(store::Banco &banco, int nrVlm, base::InterfaceUsuario *usuario);

} // namespace vlme::delivery
