#include "store/Controle.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Historico.h"
#include "store/Reservas.h"

#include <QSqlQuery>
#include <QUuid>

namespace vlme::store {

namespace {

QString Agora() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

QString NovaIdentidade() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool IdentidadeExiste(Banco &banco, const QString &identidade) {
    return banco
        .escalar(QStringLiteral("SELECT 1 FROM CONTROLE WHERE TX_ID_CONTROLE = ?"), {identidade})
        .isValid();
}

} // namespace

QStringList ComandosControle() {
    return {
        QStringLiteral("CREATE TABLE CONTROLE ("
                       " NR_VLM_CONTROLE INTEGER PRIMARY KEY,"
                       " TX_ID_CONTROLE VARCHAR(36) NOT NULL,"
                       " NR_VERSAO_CONTROLE INTEGER NOT NULL DEFAULT 0,"
                       " TX_USUARIO_CONTROLE VARCHAR(80),"
                       " TX_MAQUINA_CONTROLE VARCHAR(255),"
                       " TX_PROGRAMA_CONTROLE VARCHAR(20),"
                       " DT_ALTERACAO_CONTROLE VARCHAR(30),"
                       " DT_GERACAO_CONTROLE VARCHAR(30),"
                       " NR_VERSAO_GERACAO_CONTROLE INTEGER)"),
        QStringLiteral("CREATE UNIQUE INDEX CONTROLE_Identidade ON CONTROLE (TX_ID_CONTROLE)"),
    };
}

void CompletaControles(Banco &banco) {
    std::vector<int> sem;
    {
        QSqlQuery q = banco.executa(
            QStringLiteral("SELECT NR_VLM_VLM FROM VLME WHERE NOT EXISTS (SELECT 1 FROM CONTROLE"
                           " WHERE NR_VLM_CONTROLE = NR_VLM_VLM) ORDER BY NR_VLM_VLM"));
        while (banco.proxima(q))
            sem.push_back(q.value(0).toInt());
    }
    for (int numero : sem)
        CriaControle(banco, numero);
}

std::optional<EstadoDeclaracao> LeEstado(Banco &banco, int numero) {
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT TX_ID_CONTROLE, NR_VERSAO_CONTROLE, TX_USUARIO_CONTROLE,"
                       " TX_MAQUINA_CONTROLE, TX_PROGRAMA_CONTROLE, DT_ALTERACAO_CONTROLE,"
                       " DT_GERACAO_CONTROLE, NR_VERSAO_GERACAO_CONTROLE"
                       " FROM CONTROLE WHERE NR_VLM_CONTROLE = ?"),
        {numero});
    if (!banco.proxima(q))
        return std::nullopt;
    EstadoDeclaracao e;
    e.identidade = q.value(0).toString();
    e.versao = q.value(1).toLongLong();
    e.usuario = q.value(2).toString();
    e.maquina = q.value(3).toString();
    e.programa = q.value(4).toString();
    e.alteracao = QDateTime::fromString(q.value(5).toString(), Qt::ISODate);
    e.geracao = QDateTime::fromString(q.value(6).toString(), Qt::ISODate);
    if (!q.value(7).isNull())
        e.versaoGerada = q.value(7).toLongLong();
    return e;
}

EstadoDeclaracao EstadoOuNovo(Banco &banco, int numero) {
    if (std::optional<EstadoDeclaracao> e = LeEstado(banco, numero))
        return *e;
    CriaControle(banco, numero);
    return LeEstado(banco, numero).value_or(EstadoDeclaracao{});
}

QString CriaControle(Banco &banco, int numero, const QString &identidade) {
    const QString id =
        identidade.isEmpty() || IdentidadeExiste(banco, identidade) ? NovaIdentidade() : identidade;
    banco.executa(
        QStringLiteral("INSERT INTO CONTROLE (NR_VLM_CONTROLE, TX_ID_CONTROLE) VALUES (?, ?)"),
        {numero, id});
    return id;
}

qint64 MarcaAlteracao(Banco &banco, int numero) {
    const EstadoDeclaracao atual = EstadoOuNovo(banco, numero);
    const std::optional<qint64> lida = banco.reservas().versaoLida(numero);
    if (lida && *lida != atual.versao)
        throw ErroDeclaracaoAlterada(numero, atual);
    const Titular eu = Titular::Este();
    const qint64 nova = atual.versao + 1;
    // Only over the version read: a writer that slipped in between is caught
    // here too.
    if (banco
            .executa(QStringLiteral("UPDATE CONTROLE SET NR_VERSAO_CONTROLE = ?,"
                                    " TX_USUARIO_CONTROLE = ?, TX_MAQUINA_CONTROLE = ?,"
                                    " TX_PROGRAMA_CONTROLE = ?, DT_ALTERACAO_CONTROLE = ?"
                                    " WHERE NR_VLM_CONTROLE = ? AND NR_VERSAO_CONTROLE = ?"),
                     {nova, eu.usuario, eu.maquina, eu.programa, Agora(), numero, atual.versao})
            .numRowsAffected() != 1)
        throw ErroDeclaracaoAlterada(numero, LeEstado(banco, numero).value_or(EstadoDeclaracao{}));
    // A window of this program that shows it goes on from the new version,
    // once it is saved.
    if (lida)
        banco.aoConfirmar([&banco, numero, nova] {
            if (banco.reservas().versaoLida(numero))
                banco.reservas().lembraVersao(numero, nova);
        });
    return nova;
}

void MarcaGeracao(Banco &banco, int numero) {
    EstadoOuNovo(banco, numero);
    banco.executa(QStringLiteral("UPDATE CONTROLE SET DT_GERACAO_CONTROLE = ?,"
                                 " NR_VERSAO_GERACAO_CONTROLE = NR_VERSAO_CONTROLE"
                                 " WHERE NR_VLM_CONTROLE = ?"),
                  {Agora(), numero});
}

namespace {

QString TextoAutor(const EstadoDeclaracao &e) {
    if (e.usuario.isEmpty())
        return base::Mensagem("TEXTO_ALTERADA_OUTRO");
    return base::Mensagem(
        "TEXTO_ALTERADA_POR", e.programa, e.usuario, e.maquina,
        e.alteracao.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
}

} // namespace

ErroDeclaracaoAlterada::ErroDeclaracaoAlterada(int numero, const EstadoDeclaracao &atual)
    : base::ErroVLME(base::Mensagem("ERRO_DECLARACAO_ALTERADA", numero, TextoAutor(atual))),
      numero_(numero), atual_(atual) {}

Alteracao::Alteracao(Banco &banco, int numero, const QString &parte)
    : banco_(banco), numero_(numero), parte_(parte),
      transacao_(std::make_unique<Transacao>(banco)) {
    MarcaAlteracao(banco, numero);
}

Alteracao::~Alteracao() = default;

void Alteracao::confirma() {
    RegistraHistorico(banco_, numero_, Evento::Gravada, parte_, true);
    transacao_->confirma();
}

} // namespace vlme::store
