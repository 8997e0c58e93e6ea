#include "delivery/Transmissao.h"

#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Declaracoes.h"
#include "store/Historico.h"
#include "store/Reservas.h"
#include <QFileInfo>

namespace vlme::delivery {

using base::Botoes;
using base::Icone;
using base::Resposta;

namespace {

bool ExisteOnde(store::Banco &banco, const QString &condicao, int nrVlm) {
    return banco
        .escalar(QStringLiteral("SELECT 1 FROM VLME WHERE NR_VLM_VLM = ? AND ") + condicao, {nrVlm})
        .isValid();
}

// Closes the progress on every way out, exceptions included.
class ProgressoAberto {
  public:
    explicit ProgressoAberto(base::Progresso &p) : p_(p) { p_.abre(); }
    ~ProgressoAberto() { fecha(); }
    void fecha() {
        if (aberto_)
            p_.fecha();
        aberto_ = false;
    }

  private:
    base::Progresso &p_;
    bool aberto_ = true;
};

// At most this many lines in one message; the rest are counted.
constexpr int MaximoLinhasProblemas = 20;

QString TextoProblemas(const QStringList &problemas) {
    QString texto = QStringLiteral("O arquivo para transmissão não foi gerado: há dados que não "
                                   "cabem no leiaute do arquivo. Corrija-os e gere o arquivo "
                                   "novamente.\r\n");
    for (qsizetype i = 0; i < problemas.size() && i < MaximoLinhasProblemas; ++i)
        texto += QStringLiteral("\r\n") + problemas.at(i);
    if (problemas.size() > MaximoLinhasProblemas)
        texto += QStringLiteral("\r\n... e mais %1.").arg(problemas.size() - MaximoLinhasProblemas);
    return texto;
}

} // namespace

// ---- Status queries ----

bool NaoTransmitido(store::Banco &banco, int nrVlm) {
    return ExisteOnde(banco, QStringLiteral("NR_TRANSMISSAO_VLM = 0"), nrVlm);
}

bool Transmitido(store::Banco &banco, int nrVlm) {
    return ExisteOnde(banco, QStringLiteral("NR_TRANSMISSAO_VLM > 0"), nrVlm);
}

bool TransmissaoMarcada(store::Banco &banco, int nrVlm) {
    return ExisteOnde(banco, QStringLiteral("NR_TRANSMISSAO_VLM = -1"), nrVlm);
}

bool Registrado(store::Banco &banco, int nrVlm) {
    return ExisteOnde(banco, QStringLiteral("CODIGO_VLM <> ''"), nrVlm);
}

bool TemAvisos(store::Banco &banco, int nrVlm) {
    return banco
        .escalar(QStringLiteral("SELECT 1 FROM ERRO WHERE NR_VLM_ERRO = ? AND TIPO_ERRO = '3'"),
                 {nrVlm})
        .isValid();
}

QString MotivoRecusaGeracao(store::Banco &banco, int nrVlm) {
    if (Transmitido(banco, nrVlm))
        return Textos::JaTransmitido;
    if (Registrado(banco, nrVlm))
        return Textos::JaRegistrado;
    return {};
}

// ---- Generation ----

Transmissao::Transmissao(store::Banco &banco, const QString &pastaPrograma,
                         base::InterfaceUsuario &usuario, base::Progresso &progresso)
    : pastaSistema(PastaSistema()), banco_(banco), pastaPrograma_(pastaPrograma), usuario_(usuario),
      progresso_(progresso) {}

QString Transmissao::GeraArquivoTransmissao(int nrVlm, bool perguntaEntrega) {
    if (!store::ExisteDeclaracao(banco_, nrVlm))
        throw store::ErroDeclaracaoInexistente(nrVlm);

    // Held until the file is written: a delivery file comes from a statement
    // nobody is changing, this program's own open window aside.
    std::optional<store::Reserva> reserva;
    try {
        reserva.emplace(banco_, nrVlm);
    } catch (const store::ErroReservada &e) {
        throw store::ErroReservada(nrVlm, e.titular(), "ERRO_RESERVADA_GERAR");
    }

    // The version the file will show, read before its rows.
    const auto versao = [&] {
        const auto estado = store::LeEstado(banco_, nrVlm);
        return estado ? estado->versao : 0;
    };
    const qint64 lida = versao();
    ProgressoAberto aberto(progresso_);
    progresso_.permiteCancelar(true);
    progresso_.passo(Textos::TituloProgresso);
    QStringList problemas;
    std::optional<Declaracao> declaracao = MontaDeclaracao(banco_, nrVlm, progresso_, problemas);
    if (!declaracao) {
        aberto.fecha();
        usuario_.mensagem(Textos::TituloCancelada, Textos::Cancelada, Icone::Exclamacao,
                          Botoes::Ok);
        return {};
    }
    if (!problemas.isEmpty()) {
        aberto.fecha();
        usuario_.mensagem(Textos::Atencao, TextoProblemas(problemas), Icone::Exclamacao,
                          Botoes::Ok);
        return {};
    }

    Enviador enviador;
    enviador.Declaracao = std::move(*declaracao);
    const QString caminho = shell::CaminhoArquivos(pastaPrograma_, nrVlm);
    enviador.Salvar(caminho, 0);
    ultimoArquivo_ = caminho;
    // Recorded once the file is whole, so a failed write records nothing;
    // and only when no other program saved the statement meanwhile, as the
    // file may then show neither version.
    {
        store::Transacao transacao(banco_);
        if (versao() == lida) {
            store::MarcaGeracao(banco_, nrVlm);
            store::RegistraHistorico(banco_, nrVlm, store::Evento::Gerada,
                                     QFileInfo(caminho).fileName());
            transacao.confirma();
        }
    }
    aberto.fecha();
    reserva.reset();

    if (perguntaEntrega) {
        if (LocalizaEnviador(pastaSistema)) {
            if (usuario_.mensagem(Textos::TituloTransmitir, Textos::PerguntaEntrega,
                                  Icone::Pergunta, Botoes::SimNao) == Resposta::Sim &&
                !GeraArquivoVerificado(nrVlm))
                usuario_.mensagem(Textos::Atencao, Textos::NaoTransmitido, Icone::Nenhum,
                                  Botoes::Ok);
        } else {
            usuario_.mensagem(Textos::TituloSucesso, Textos::SemEnviador, Icone::Informacao,
                              Botoes::Ok);
        }
    }
    return caminho;
}

bool Transmissao::verifica(int nrVlm, const checking::DadosGeraisVerificacao *formulario) {
    const auto pendencias = checking::VerificaPendencias(banco_, nrVlm, formulario);
    if (pendencias.empty())
        return true;
    if (mostraPendencias)
        mostraPendencias(nrVlm, pendencias);
    return false;
}

bool Transmissao::GeraArquivoVerificado(int nrVlm,
                                        const checking::DadosGeraisVerificacao *formulario) {
    if (!store::ExisteDeclaracao(banco_, nrVlm) || !verifica(nrVlm, formulario))
        return false;
    return !GeraArquivoTransmissao(nrVlm, false).isEmpty();
}

QString Transmissao::GeraArquivoSelecionado(int nrVlm) {
    if (!verifica(nrVlm, nullptr))
        return {};
    if (const QString motivo = MotivoRecusaGeracao(banco_, nrVlm); !motivo.isEmpty()) {
        usuario_.mensagem(QString(), motivo, Icone::Informacao, Botoes::Ok);
        return {};
    }
    return GeraArquivoTransmissao(nrVlm, true);
}

} // namespace vlme::delivery
