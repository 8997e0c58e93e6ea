#include "delivery/Entrega.h"

#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "delivery/Transmissao.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Historico.h"
#include "store/Reservas.h"

#include <QFile>
#include <QSqlQuery>

#include <algorithm>

namespace vlme::delivery {

namespace {

constexpr int TamanhoMaximoTexto = 255;

int LeNumero(const QString &texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty())
        throw ErroRecibo(QStringLiteral("Digite o número da transmissão que está no recibo."),
                         CampoRecibo::Numero);
    bool ok = false;
    const int numero = t.toInt(&ok);
    const bool digitos = std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digitos || numero <= 0)
        throw ErroRecibo(QStringLiteral("O número da transmissão deve ter só algarismos e ser "
                                        "maior que zero (no máximo 2147483647)."),
                         CampoRecibo::Numero);
    return numero;
}

QDateTime LeData(const QString &texto, CampoRecibo campo) {
    const QString qual =
        campo == CampoRecibo::Recepcao ? QStringLiteral("recepção") : QStringLiteral("geração");
    if (texto.trimmed().isEmpty()) {
        if (campo == CampoRecibo::Geracao)
            return {};
        throw ErroRecibo(QStringLiteral("Digite a data e a hora da recepção que estão no recibo "
                                        "(DD/MM/AAAA HH:MM:SS)."),
                         campo);
    }
    const QDateTime d = LeDataHora(texto);
    if (!d.isValid())
        throw ErroRecibo(QStringLiteral("A data e a hora da %1 devem ser escritas DD/MM/AAAA "
                                        "HH:MM:SS, por exemplo 15/03/2024 14:30:00.")
                             .arg(qual),
                         campo);
    if (d > QDateTime::currentDateTime())
        throw ErroRecibo(QStringLiteral("A data da %1 (%2) é posterior ao dia e à hora de agora. "
                                        "Confira o recibo.")
                             .arg(qual, d.toString(FormatoDataHora)),
                         campo);
    return d;
}

QString LeTexto(const QString &texto, const char *nome) {
    const QString t = texto.trimmed();
    if (t.size() > TamanhoMaximoTexto)
        throw ErroRecibo(QStringLiteral("O campo \"%1\" do recibo passa de %2 caracteres.")
                             .arg(QString::fromUtf8(nome))
                             .arg(TamanhoMaximoTexto),
                         CampoRecibo::Nenhum);
    return t;
}

struct Estado {
    int transmissao = 0;
    QString cnpj;
    QString codigo; // the registration, empty until the diagnostic gives one
};

// The statement's delivery columns as they stand.
Estado LeEntrega(store::Banco &banco, int nrVlm) {
    QSqlQuery q =
        banco.executa(QStringLiteral("SELECT ifnull(NR_TRANSMISSAO_VLM, 0), ifnull(CODIGO_VLM, ''),"
                                     " ifnull(CNPJ_VLM, '') FROM VLME WHERE NR_VLM_VLM = ?"),
                      {nrVlm});
    if (!banco.proxima(q))
        throw store::ErroDeclaracaoInexistente(nrVlm);
    return {q.value(0).toInt(), q.value(2).toString(), q.value(1).toString()};
}

// The statement's delivery state, refused when it may not take this number.
Estado Confere(store::Banco &banco, int nrVlm, int numero) {
    const Estado estado = LeEntrega(banco, nrVlm);
    if (!estado.codigo.isEmpty())
        throw ErroRecibo(QStringLiteral("O VLM-E %1 já está registrado: a sua entrega não pode "
                                        "ser registrada de novo.")
                             .arg(nrVlm),
                         CampoRecibo::Nenhum);
    // A registered statement keeps its number only in its receipts.
    const QVariant dono = banco.escalar(
        QStringLiteral("SELECT n FROM (SELECT NR_VLM_VLM AS n FROM VLME"
                       " WHERE NR_TRANSMISSAO_VLM = ? UNION SELECT NR_VLM_RECIBO FROM RECIBO"
                       " WHERE NR_TRANSMISSAO_RECIBO = ?) AS donos ORDER BY n = ?, n LIMIT 1"),
        {numero, numero, nrVlm});
    if (dono.isValid() && dono.toInt() != nrVlm)
        throw ErroRecibo(QStringLiteral("O número de transmissão %1 já é da declaração %2. "
                                        "Confira o número no recibo.")
                             .arg(numero)
                             .arg(dono.toInt()),
                         CampoRecibo::Numero);
    if (dono.isValid())
        throw ErroRecibo(QStringLiteral("A entrega de número %1 já está registrada nesta "
                                        "declaração.")
                             .arg(numero),
                         CampoRecibo::Numero);
    return estado;
}

const QString TituloEntrega = QStringLiteral("Registrar Entrega");

// The file the statement gives now equals the one in Arquivos/.
bool ArquivoIgual(store::Banco &banco, const QString &pastaPrograma, int nrVlm) {
    QFile arquivo(shell::CaminhoArquivos(pastaPrograma, nrVlm));
    base::ProgressoMudo mudo;
    QStringList problemas;
    std::optional<Declaracao> agora = MontaDeclaracao(banco, nrVlm, mudo, problemas);
    if (!agora || !problemas.isEmpty() || !arquivo.open(QIODevice::ReadOnly))
        return false;
    Enviador enviador;
    enviador.Declaracao = std::move(*agora);
    const QByteArray esperado = enviador.conteudoArquivo();
    return arquivo.size() == esperado.size() && arquivo.readAll() == esperado;
}

// The delivery state is not in the delivery file: a file that showed the
// statement before this change still shows it after.
void MantemGeracao(store::Banco &banco, int nrVlm, qint64 versao) {
    banco.executa(QStringLiteral("UPDATE CONTROLE SET NR_VERSAO_GERACAO_CONTROLE = ?"
                                 " WHERE NR_VLM_CONTROLE = ? AND NR_VERSAO_GERACAO_CONTROLE = ?"),
                  {versao, nrVlm, versao - 1});
}

// Refuses or asks about a first delivery of a statement whose file may not
// show it; false when the user declined.
bool ConfereGeracao(store::Banco &banco, const QString &pastaPrograma, int nrVlm,
                    base::InterfaceUsuario &usuario) {
    switch (SituacaoGeracao(banco, pastaPrograma, nrVlm)) {
    case Geracao::Atual:
        return true;
    case Geracao::Ausente:
        throw ErroSemGeracao(QStringLiteral("Gere o arquivo de entrega desta declaração antes de "
                                            "registrar a entrega (declaração %1: nenhum arquivo "
                                            "foi gerado).")
                                 .arg(nrVlm));
    case Geracao::Alterada:
        throw ErroSemGeracao(QStringLiteral("A declaração %1 foi alterada depois de gerado o seu "
                                            "arquivo de entrega. Gere o arquivo de novo e "
                                            "transmita-o antes de registrar a entrega.")
                                 .arg(nrVlm));
    case Geracao::SemRegistro:
        break;
    }
    return usuario.confirmaDestruicao(
        TituloEntrega,
        QStringLiteral("O arquivo de entrega da declaração %1 foi gerado antes de o programa "
                       "guardar a data de cada geração: não há como saber se foi esse o arquivo "
                       "transmitido.\r\nRegistrar a entrega mesmo assim ?")
            .arg(nrVlm));
}

} // namespace

Geracao SituacaoGeracao(store::Banco &banco, const QString &pastaPrograma, int nrVlm) {
    const std::optional<store::EstadoDeclaracao> estado = store::LeEstado(banco, nrVlm);
    const std::optional<qint64> gerada = estado ? estado->versaoGerada : std::nullopt;
    if (gerada && *gerada == estado->versao)
        return Geracao::Atual;
    if (!ExisteArquivo(shell::CaminhoArquivos(pastaPrograma, nrVlm)))
        return gerada ? Geracao::Alterada : Geracao::Ausente;
    if (!ArquivoIgual(banco, pastaPrograma, nrVlm))
        return Geracao::Alterada;
    return gerada ? Geracao::Atual : Geracao::SemRegistro;
}

QDateTime LeDataHora(const QString &texto) {
    return QDateTime::fromString(texto.trimmed(), FormatoDataHora);
}

std::optional<EntregaRegistrada> RegistraEntrega(store::Banco &banco, const QString &pastaPrograma,
                                                 int nrVlm, const ReciboDigitado &recibo,
                                                 base::InterfaceUsuario &usuario) {
    EntregaRegistrada e;
    e.declaracao = nrVlm;
    e.numero = LeNumero(recibo.numero);
    e.recepcao = LeData(recibo.recepcao, CampoRecibo::Recepcao);
    e.geracao = LeData(recibo.geracao, CampoRecibo::Geracao);
    if (e.geracao.isValid() && e.geracao > e.recepcao)
        throw ErroRecibo(
            QStringLiteral("A geração (%1) é posterior à recepção (%2). Confira as "
                           "datas do recibo.")
                .arg(e.geracao.toString(FormatoDataHora), e.recepcao.toString(FormatoDataHora)),
            CampoRecibo::Geracao);
    e.local = LeTexto(recibo.local, "Local");
    e.remessa = LeTexto(recibo.remessa, "Remessa");
    e.gateway = LeTexto(recibo.gateway, "Gateway");
    e.selo = LeTexto(recibo.selo, "Selo");
    e.controle = LeTexto(recibo.controle, "Número de controle");
    e.totais = LeTexto(recibo.totais, "Totais");

    // Held from the first look to the commit, so no other program changes the
    // statement in between (the question below may stay on the screen).
    store::Reserva reserva(banco, nrVlm);
    const Estado antes = Confere(banco, nrVlm, e.numero);
    // Replacing the number of a transmitted one corrects the receipt, not
    // the file sent.
    if (antes.transmissao <= 0 && !ConfereGeracao(banco, pastaPrograma, nrVlm, usuario))
        return std::nullopt;
    if (antes.transmissao > 0 &&
        !usuario.confirmaDestruicao(
            TituloEntrega,
            QStringLiteral("O VLM-E %1 já foi transmitido com o número %2. Deseja trocar esse "
                           "número por %3 ?\r\nO recibo anterior fica guardado.")
                .arg(nrVlm)
                .arg(antes.transmissao)
                .arg(e.numero)))
        return std::nullopt;

    store::Transacao transacao(banco);
    MantemGeracao(banco, nrVlm, store::MarcaAlteracao(banco, nrVlm));
    // Checked again inside the transaction: another program may have written
    // while the question was on the screen.
    const Estado agora = Confere(banco, nrVlm, e.numero);
    if (agora.transmissao != antes.transmissao)
        throw ErroRecibo(QStringLiteral("A declaração %1 foi alterada por outro programa enquanto "
                                        "a pergunta estava na tela. Tente de novo.")
                             .arg(nrVlm),
                         CampoRecibo::Nenhum);
    banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = ? WHERE NR_VLM_VLM = ?"),
                  {e.numero, nrVlm});
    const auto data = [](const QDateTime &d) {
        return d.isValid() ? QVariant(d.date().toString(QStringLiteral("dd/MM/yyyy"))) : QVariant();
    };
    const auto hora = [](const QDateTime &d) {
        return d.isValid() ? QVariant(d.time().toString(QStringLiteral("HH:mm:ss"))) : QVariant();
    };
    const auto texto = [](const QString &t) { return t.isEmpty() ? QVariant() : QVariant(t); };
    banco.executa(
        QStringLiteral("INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO, NR_TRANSMISSAO_RECIBO,"
                       " DATA_GERACAO_RECIBO, HORA_GERACAO_RECIBO, DATA_RECEPCAO_RECIBO,"
                       " HORA_RECEPCAO_RECIBO, LOCAL_RECIBO, REMESSA_RECIBO, GATEWAY_RECIBO,"
                       " SELO_RECIBO, NR_CONTROLE_RECIBO, TOTAIS_RECIBO)"
                       " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {nrVlm, agora.cnpj, e.numero, data(e.geracao), hora(e.geracao), data(e.recepcao),
         hora(e.recepcao), texto(e.local), texto(e.remessa), texto(e.gateway), texto(e.selo),
         texto(e.controle), texto(e.totais)});
    store::RegistraHistorico(
        banco, nrVlm, store::Evento::Registrada,
        antes.transmissao > 0
            ? QStringLiteral("Número %1 (no lugar de %2)").arg(e.numero).arg(antes.transmissao)
            : QStringLiteral("Número %1").arg(e.numero));
    transacao.confirma();
    e.numeroAnterior = antes.transmissao > 0 ? antes.transmissao : 0;
    e.cnpj = agora.cnpj;
    return e;
}

int DesfazEntrega(store::Banco &banco, int nrVlm, base::InterfaceUsuario *usuario) {
    store::Reserva reserva(banco, nrVlm);
    const auto confere = [&] {
        const Estado estado = LeEntrega(banco, nrVlm);
        if (!estado.codigo.isEmpty())
            throw ErroRecibo(QStringLiteral("O VLM-E %1 já foi registrado pelo diagnóstico: o "
                                            "registro da sua entrega não pode mais ser desfeito.")
                                 .arg(nrVlm),
                             CampoRecibo::Nenhum);
        const int numero = estado.transmissao;
        if (numero <= 0)
            throw ErroRecibo(QStringLiteral("A declaração %1 não tem entrega registrada a "
                                            "desfazer: ela não está transmitida.")
                                 .arg(nrVlm),
                             CampoRecibo::Nenhum);
        return numero;
    };
    const int numero = confere();
    if (usuario && !usuario->confirmaDestruicao(
                       QStringLiteral("Desfazer Registro de Entrega"),
                       QStringLiteral("Deseja desfazer o registro da entrega da declaração %1, "
                                      "transmissão número %2 ?\r\nO recibo desse número é "
                                      "apagado e a declaração volta a ser gerada, não "
                                      "transmitida.")
                           .arg(nrVlm)
                           .arg(numero)))
        return 0;
    store::Transacao transacao(banco);
    MantemGeracao(banco, nrVlm, store::MarcaAlteracao(banco, nrVlm));
    if (confere() != numero)
        throw ErroRecibo(QStringLiteral("A declaração %1 foi alterada por outro programa enquanto "
                                        "a pergunta estava na tela. Tente de novo.")
                             .arg(nrVlm),
                         CampoRecibo::Nenhum);
    banco.executa(QStringLiteral("DELETE FROM RECIBO WHERE NR_VLM_RECIBO = ? AND"
                                 " NR_TRANSMISSAO_RECIBO = ?"),
                  {nrVlm, numero});
    banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = 0 WHERE NR_VLM_VLM = ?"),
                  {nrVlm});
    store::RegistraHistorico(banco, nrVlm, store::Evento::RegistroDesfeito,
                             QStringLiteral("Número %1").arg(numero));
    transacao.confirma();
    return numero;
}

} // namespace vlme::delivery
