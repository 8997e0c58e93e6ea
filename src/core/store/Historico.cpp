#include "store/Historico.h"

#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Motor.h"
#include "store/Reservas.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTimeZone>

namespace vlme::store {

namespace {

struct DadosEvento {
    Evento evento;
    const char *codigo;
    const char *nome;
};

constexpr DadosEvento Eventos[] = {
    {Evento::Criada, "criada", "Criada"},
    {Evento::Gravada, "gravada", "Gravada"},
    {Evento::Gerada, "gerada", "Arquivo de entrega gerado"},
    {Evento::Registrada, "registrada", "Entrega registrada"},
    {Evento::RegistroDesfeito, "registro_desfeito", "Registro de entrega desfeito"},
    {Evento::Diagnostico, "diagnostico", "Diagnóstico"},
    {Evento::CopiaSeguranca, "copia_seguranca", "Cópia de segurança"},
    {Evento::Migrada, "migrada", "Levada ao banco da equipe"},
    {Evento::Excluida, "excluida", "Excluída"},
};

const DadosEvento &Dados(Evento evento) {
    for (const DadosEvento &d : Eventos)
        if (d.evento == evento)
            return d;
    return Eventos[0];
}

CalculoFiguras &Calculo() {
    static CalculoFiguras calculo;
    return calculo;
}

const QString Colunas =
    QStringLiteral("NR_HISTORICO, TX_ID_HISTORICO, NR_VLM_HISTORICO, TX_EVENTO_HISTORICO,"
                   " TX_DETALHE_HISTORICO, NR_VERSAO_HISTORICO, DT_HISTORICO, TX_USUARIO_HISTORICO,"
                   " TX_MAQUINA_HISTORICO, TX_PROGRAMA_HISTORICO, VL_CUSTO_TOTAL_HISTORICO,"
                   " VL_COEFICIENTE_HISTORICO");

std::vector<RegistroHistorico> Le(Banco &banco, const QString &onde, const QVariantList &valores) {
    std::vector<RegistroHistorico> r;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT ") + Colunas +
                                    QStringLiteral(" FROM HISTORICO WHERE ") + onde +
                                    QStringLiteral(" ORDER BY NR_HISTORICO DESC"),
                                valores);
    while (banco.proxima(q)) {
        RegistroHistorico h;
        h.chave = q.value(0).toLongLong();
        h.identidade = q.value(1).toString();
        h.numero = q.value(2).toInt();
        // A code a later version added reads as what it most resembles: a
        // change of the statement.
        h.evento = EventoDoCodigo(q.value(3).toString()).value_or(Evento::Gravada);
        h.detalhe = q.value(4).toString();
        if (!q.value(5).isNull())
            h.versao = q.value(5).toLongLong();
        h.quando = QDateTime::fromString(q.value(6).toString(), Qt::ISODateWithMs);
        h.quando.setTimeZone(QTimeZone::utc());
        h.usuario = q.value(7).toString();
        h.maquina = q.value(8).toString();
        h.programa = q.value(9).toString();
        if (!q.value(10).isNull() && !q.value(11).isNull())
            h.figuras = Figuras{q.value(10).toDouble(), q.value(11).toDouble()};
        r.push_back(std::move(h));
    }
    return r;
}

QVariant Nulo(const std::optional<double> &v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Double));
}

} // namespace

QString CodigoEvento(Evento evento) {
    return QString::fromLatin1(Dados(evento).codigo);
}

std::optional<Evento> EventoDoCodigo(const QString &codigo) {
    for (const DadosEvento &d : Eventos)
        if (codigo == QLatin1String(d.codigo))
            return d.evento;
    return std::nullopt;
}

QString NomeEvento(Evento evento) {
    return QString::fromUtf8(Dados(evento).nome);
}

void DefineCalculoFiguras(CalculoFiguras calculo) {
    Calculo() = std::move(calculo);
}

QStringList ComandosHistorico() {
    return {
        QStringLiteral("CREATE TABLE HISTORICO ("
                       " NR_HISTORICO INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " TX_ID_HISTORICO VARCHAR(36) NOT NULL,"
                       " NR_VLM_HISTORICO INTEGER NOT NULL,"
                       " TX_EVENTO_HISTORICO VARCHAR(20) NOT NULL,"
                       " TX_DETALHE_HISTORICO VARCHAR(500),"
                       " NR_VERSAO_HISTORICO INTEGER,"
                       " DT_HISTORICO VARCHAR(30) NOT NULL,"
                       " TX_USUARIO_HISTORICO VARCHAR(80),"
                       " TX_MAQUINA_HISTORICO VARCHAR(255),"
                       " TX_PROGRAMA_HISTORICO VARCHAR(40),"
                       " VL_CUSTO_TOTAL_HISTORICO REAL,"
                       " VL_COEFICIENTE_HISTORICO REAL)"),
        QStringLiteral("CREATE INDEX HISTORICO_Declaracao"
                       " ON HISTORICO (TX_ID_HISTORICO, NR_HISTORICO)"),
        QStringLiteral("CREATE INDEX HISTORICO_Numero ON HISTORICO (NR_VLM_HISTORICO)"),
    };
}

void RegistraHistorico(Banco &banco, int numero, Evento evento, const QString &detalhe,
                       bool comFiguras) {
    const EstadoDeclaracao estado = EstadoOuNovo(banco, numero);
    std::optional<double> custo, coeficiente;
    if (comFiguras && Calculo()) {
        const Figuras f = Calculo()(banco, numero);
        custo = f.custoTotal;
        coeficiente = f.coeficiente;
    }
    const Titular eu = Titular::Este();
    QString programa = eu.programa;
    if (const QString versao = QCoreApplication::applicationVersion(); !versao.isEmpty())
        programa += QLatin1Char(' ') + versao;
    Motor &motor = banco.motor();
    banco.executa(
        QStringLiteral("INSERT INTO HISTORICO (TX_ID_HISTORICO, NR_VLM_HISTORICO,"
                       " TX_EVENTO_HISTORICO, TX_DETALHE_HISTORICO, NR_VERSAO_HISTORICO,"
                       " DT_HISTORICO, TX_USUARIO_HISTORICO, TX_MAQUINA_HISTORICO,"
                       " TX_PROGRAMA_HISTORICO, VL_CUSTO_TOTAL_HISTORICO, VL_COEFICIENTE_HISTORICO)"
                       " VALUES (?, ?, ?, ?, ?, ") +
            motor.agora() + QStringLiteral(", ?, ?, ?, ?, ?)"),
        {estado.identidade, numero, CodigoEvento(evento), detalhe, estado.versao,
         motor.usuario(banco), eu.maquina, programa, Nulo(custo), Nulo(coeficiente)});
}

std::vector<RegistroHistorico> LeHistorico(Banco &banco, const QString &identidade) {
    return Le(banco, QStringLiteral("TX_ID_HISTORICO = ?"), {identidade});
}

QString IdentidadeDoNumero(Banco &banco, int numero) {
    if (std::optional<EstadoDeclaracao> e = LeEstado(banco, numero))
        return e->identidade;
    return banco
        .escalar(QStringLiteral("SELECT TX_ID_HISTORICO FROM HISTORICO WHERE NR_VLM_HISTORICO = ?"
                                " AND TX_EVENTO_HISTORICO = ? ORDER BY NR_HISTORICO DESC LIMIT 1"),
                 {numero, CodigoEvento(Evento::Excluida)})
        .toString();
}

std::vector<RegistroHistorico> LeExcluidas(Banco &banco) {
    return Le(banco, QStringLiteral("TX_EVENTO_HISTORICO = ?"), {CodigoEvento(Evento::Excluida)});
}

void CopiaHistorico(Banco &banco, const std::vector<RegistroHistorico> &linhas,
                    const QString &identidade, int numero) {
    if (banco
            .escalar(QStringLiteral("SELECT 1 FROM HISTORICO WHERE TX_ID_HISTORICO = ? LIMIT 1"),
                     {identidade})
            .isValid())
        return;
    for (auto h = linhas.rbegin(); h != linhas.rend(); ++h)
        banco.executa(
            QStringLiteral("INSERT INTO HISTORICO (TX_ID_HISTORICO, NR_VLM_HISTORICO,"
                           " TX_EVENTO_HISTORICO, TX_DETALHE_HISTORICO, NR_VERSAO_HISTORICO,"
                           " DT_HISTORICO, TX_USUARIO_HISTORICO, TX_MAQUINA_HISTORICO,"
                           " TX_PROGRAMA_HISTORICO, VL_CUSTO_TOTAL_HISTORICO,"
                           " VL_COEFICIENTE_HISTORICO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {identidade, numero, CodigoEvento(h->evento), h->detalhe,
             h->versao ? QVariant(*h->versao) : QVariant(QMetaType(QMetaType::LongLong)),
             h->quando.toUTC().toString(Qt::ISODateWithMs), h->usuario, h->maquina, h->programa,
             Nulo(h->figuras ? std::optional(h->figuras->custoTotal) : std::nullopt),
             Nulo(h->figuras ? std::optional(h->figuras->coeficiente) : std::nullopt)});
}

} // namespace vlme::store
