#pragma once
// The delivery file of a statement: its records read from the database, the
// generation run (progress, cancel, closing messages), the generation after
// the pendency check, and the status queries over the delivery state.
//
// A record field that does not fit the layout (a text longer than its field,
// a character outside Latin-1, a negative or too large number, a statement
// both rectifying and substituting) is never cut or bent to fit: the file is
// not written and the user is told which record and field.
// User-interface thread only, like the Banco it is given.

#include "checking/Pendencias.h"
#include "delivery/Declaracao.h"
#include "delivery/TamanhosRegistro.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vlme::store {
class Banco;
}
namespace vlme::base {
class InterfaceUsuario;
class Progresso;
} // namespace vlme::base

namespace vlme::delivery {

// The records of statement `nrVlm`, in file order, built while `progresso`
// reports each one. `problemas` receives one line per field that does not fit
// ("Registro 2 (componente nacional 3), campo ..."); the declaration is then
// not to be written. nullopt when the user cancelled. Throws
// store::ErroDeclaracaoInexistente when the statement does not exist,
// ErroEntrega when the rows read differ from the counts of the totals record,
// store::ErroBanco on a database error.
std::optional<Declaracao> MontaDeclaracao(store::Banco &banco, int nrVlm,
                                          base::Progresso &progresso, QStringList &problemas);

// ---- Status queries (false when the statement does not exist) ----
bool NaoTransmitido(store::Banco &banco, int nrVlm);     // NR_TRANSMISSAO_VLM = 0
bool Transmitido(store::Banco &banco, int nrVlm);        // NR_TRANSMISSAO_VLM > 0
bool TransmissaoMarcada(store::Banco &banco, int nrVlm); // NR_TRANSMISSAO_VLM = -1
bool Registrado(store::Banco &banco, int nrVlm);         // CODIGO_VLM not empty
bool TemAvisos(store::Banco &banco, int nrVlm);          // an ERRO row with TIPO_ERRO '3'

// Why a statement may not have its delivery file generated again: it was
// transmitted (get its diagnostic) or is registered. Empty when it may.
QString MotivoRecusaGeracao(store::Banco &banco, int nrVlm);

// The texts of the generation.
namespace Textos {
inline const QString TituloProgresso = QStringLiteral("Gerando arquivo para transmissão");
inline const QString TituloCancelada = QStringLiteral("Operação cancelada!");
inline const QString Cancelada = QStringLiteral("Operação cancelada pelo usuário.");
inline const QString TituloTransmitir = QStringLiteral("Transmitir");
inline const QString PerguntaEntrega = QStringLiteral(
    "O demonstrativo foi gerado com sucesso. Deseja entregá-lo via internet agora ?");
inline const QString NaoTransmitido = QStringLiteral("O demonstrativo não foi transmitido.");
inline const QString TituloSucesso = QStringLiteral("Sucesso");
inline const QString SemEnviador = QStringLiteral(
    "O demonstrativo foi gerado com sucesso. Porém, para entregá-lo via internet, é necessário "
    "que o programa Enviador esteja instalado em seu computador. Instale-o e repita esta "
    "operação novamente.");
inline const QString JaTransmitido =
    QStringLiteral("VLM-E já transmitido. \r\nObtenha diagnóstico.");
inline const QString JaRegistrado =
    QStringLiteral("VLM-E já registrado. \r\nNão é possível gerar o arquivo para transmissão.");
inline const QString Atencao = QStringLiteral("ATENÇÃO");
} // namespace Textos

// The generation runs of one program: what it needs, and the path of the last
// file written. Holds references only; the caller keeps them alive.
class Transmissao {
  public:
    Transmissao(store::Banco &banco, const QString &pastaPrograma, base::InterfaceUsuario &usuario,
                base::Progresso &progresso);

    // Called with the problems whenever the pendency check finds some (the
    // desktop program shows them in frmPendencias). May be empty.
    std::function<void(int nrVlm, const std::vector<checking::Pendencia> &)> mostraPendencias;
    // Where enviador.ini is looked for; PastaSistema() unless changed.
    QString pastaSistema;

    // Writes Arquivos/VLME + ten digits and returns its full path; empty when
    // nothing was written (cancelled, or a field that does not fit, told to
    // the user). With `perguntaEntrega`, then offers the delivery when the
    // delivery program is installed, or says it is missing. Records the
    // generation with the statement (store::MarcaGeracao) once the file is
    // written; nothing else in the database changes. Throws ErroEntrega (no such statement, file
    // not written) and store::ErroBanco.
    QString GeraArquivoTransmissao(int nrVlm, bool perguntaEntrega);

    // The pendency check (with the values of the open general-data form when
    // given, else the stored row) and, only when it finds nothing, the file
    // without the delivery question. True when a file was written; its path
    // is then ultimoArquivo().
    bool GeraArquivoVerificado(int nrVlm,
                               const checking::DadosGeraisVerificacao *formulario = nullptr);

    // The generation chosen in the statement list: pendency check, then the
    // refusal of a statement already transmitted (or registered), then the
    // file with the delivery question. The path written, or empty.
    QString GeraArquivoSelecionado(int nrVlm);

    // The file last written by this object; empty before the first.
    QString ultimoArquivo() const { return ultimoArquivo_; }

  private:
    bool verifica(int nrVlm, const checking::DadosGeraisVerificacao *formulario);

    store::Banco &banco_;
    QString pastaPrograma_;
    base::InterfaceUsuario &usuario_;
    base::Progresso &progresso_;
    QString ultimoArquivo_;
};

} // namespace vlme::delivery
