#include "store/servidor/EsquemaServidor.h"

#include "base/Erros.h"

#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Esquema.h"
#include "store/Historico.h"
#include "store/Motor.h"
#include "store/servidor/MotorServidor.h"

#include <QUuid>

namespace vlme::store::servidor {

namespace {

// What came from where: each statement copied from a VLM.MDB (the file's
// identity, the statement's number there and its own identity) and its number
// here, with the fingerprint of its content when copied (Migracao), so a
// second copy copies nothing twice. A statement is known by its own identity:
// two hand-copied files share a file identity and numbers, not statements.
void CriaMigracoes(Banco &banco, const Motor &motor) {
    for (const QString &comando : motor.dialeto(
             {QStringLiteral("CREATE TABLE MIGRACAO_VLME (ID_BANCO_ORIGEM VARCHAR(38) NOT NULL,"
                             " NR_VLM_ORIGEM INTEGER NOT NULL, NR_VLM_NOVO INTEGER NOT NULL,"
                             " TX_SHA256_MIGRACAO VARCHAR(64) NOT NULL, DT_MIGRACAO VARCHAR(30),"
                             " TX_ID_DECLARACAO VARCHAR(36))"),
              QStringLiteral("CREATE INDEX MIGRACAO_VLME_Origem"
                             " ON MIGRACAO_VLME (ID_BANCO_ORIGEM, NR_VLM_ORIGEM)"),
              QStringLiteral("CREATE UNIQUE INDEX MIGRACAO_VLME_Declaracao"
                             " ON MIGRACAO_VLME (TX_ID_DECLARACAO)")}))
        banco.executa(comando);
}

// Creating tables in an empty database, or what an older version lacked, is
// the owner's part; a clerk's role is told so before anything is tried.
void ExigeCriar(Banco &banco, const char *chave = "ERRO_SERVIDOR_CRIAR") {
    if (banco.escalar(QStringLiteral("SELECT has_schema_privilege(current_schema(), 'CREATE')"))
            .toBool())
        return;
    throw ErroBanco(
        base::Mensagem(chave, banco.escalar(QStringLiteral("SELECT current_user")).toString(),
                       banco.escalar(QStringLiteral("SELECT current_schema()")).toString()),
        QStringLiteral("42501"));
}

// The history is only ever added to: whatever rights the database's default
// privileges gave other roles on the new table, they keep reading and adding
// rows, never changing or removing one. Run by the owner, who made it.
void SoAcrescentaHistorico(Banco &banco) {
    QStringList papeis;
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT DISTINCT CASE WHEN a.grantee = 0 THEN 'PUBLIC' ELSE quote_ident(r.rolname) END"
        " FROM pg_class c CROSS JOIN aclexplode(c.relacl) a"
        " LEFT JOIN pg_roles r ON r.oid = a.grantee"
        " WHERE c.oid = 'historico'::regclass AND a.grantee <> c.relowner"
        " AND a.privilege_type IN ('UPDATE', 'DELETE', 'TRUNCATE')"));
    while (banco.proxima(q))
        papeis << q.value(0).toString();
    q.finish();
    for (const QString &papel : papeis)
        banco.executa(QStringLiteral("REVOKE UPDATE, DELETE, TRUNCATE ON HISTORICO FROM ") + papel);
}

// The rights a clerk's role needs on every table and sequence of ours, the
// first one missing named: the history asks for SELECT and INSERT alone.
void ConfereDireitos(Banco &banco) {
    QSqlQuery q = banco.executa(QStringLiteral(
        "SELECT current_user, d.direito, c.relname, c.relkind FROM pg_class c"
        " JOIN pg_namespace n ON n.oid = c.relnamespace"
        " CROSS JOIN unnest(CASE WHEN c.relkind = 'S' THEN ARRAY['USAGE']"
        " WHEN c.relname = 'historico' THEN ARRAY['SELECT', 'INSERT']"
        " ELSE ARRAY['SELECT', 'INSERT', 'UPDATE', 'DELETE'] END) AS d(direito)"
        " WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'S')"
        " AND NOT CASE WHEN c.relkind = 'S' THEN has_sequence_privilege(c.oid, d.direito)"
        " ELSE has_table_privilege(c.oid, d.direito) END"
        " ORDER BY c.relkind DESC, c.relname LIMIT 1"));
    if (!banco.proxima(q))
        return;
    const QString objeto =
        (q.value(3).toString() == QLatin1String("S") ? QStringLiteral("na sequência ")
                                                     : QStringLiteral("na tabela ")) +
        q.value(2).toString().toUpper();
    throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_DIREITO", q.value(0).toString(),
                                   q.value(1).toString(), objeto),
                    QStringLiteral("42501"));
}

// A record made before statements had identities: the old rows stay, matched
// by file and number until a run learns their statement's identity.
void AtualizaMigracoes(Banco &banco) {
    if (!banco
             // The catalog itself: information_schema's view took 20 ms of every opening.
             .escalar(QStringLiteral("SELECT 1 FROM pg_attribute a JOIN pg_class c"
                                     " ON c.oid = a.attrelid WHERE c.relnamespace ="
                                     " current_schema()::regnamespace AND c.relname ="
                                     " 'migracao_vlme' AND a.attname = 'tx_id_declaracao'"
                                     " AND NOT a.attisdropped"))
             .isValid()) {
        ExigeCriar(banco, "ERRO_SERVIDOR_ATUALIZAR");
        banco.executa(
            QStringLiteral("ALTER TABLE MIGRACAO_VLME ADD COLUMN TX_ID_DECLARACAO VARCHAR"));
        banco.executa(QStringLiteral("DROP INDEX IF EXISTS MIGRACAO_VLME_Origem"));
        banco.executa(QStringLiteral("CREATE INDEX MIGRACAO_VLME_Origem"
                                     " ON MIGRACAO_VLME (ID_BANCO_ORIGEM, NR_VLM_ORIGEM)"));
        banco.executa(QStringLiteral("CREATE UNIQUE INDEX MIGRACAO_VLME_Declaracao"
                                     " ON MIGRACAO_VLME (TX_ID_DECLARACAO)"));
    }
}

} // namespace

void PreparaEsquema(Banco &banco, const Motor &motor) {
    // Two programs starting on an empty database: one creates, the other
    // waits for it and then finds the schema made.
    Transacao t(banco);
    const bool marcado =
        banco.escalar(QStringLiteral("SELECT to_regclass('vlme_identidade') IS NOT NULL")).toBool();
    if (!marcado) {
        const int tabelas =
            banco
                .escalar(QStringLiteral("SELECT count(*) FROM information_schema.tables"
                                        " WHERE table_schema = current_schema()"))
                .toInt();
        if (tabelas > 0)
            throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_OUTRO_PROGRAMA"), {});
        ExigeCriar(banco);
        for (const QString &comando : motor.objetosProprios())
            banco.executa(comando);
        for (const QString &comando : motor.dialeto(ComandosEsquema()))
            banco.executa(comando);
        // The mark, and who holds each reservation (ReservasServidor).
        for (const QString &comando : motor.dialeto(
                 {ComandoIdentidade(),
                  QStringLiteral("CREATE TABLE RESERVA_VLME (NR_VLM_RESERVA INTEGER NOT NULL,"
                                 " PID_RESERVA INTEGER NOT NULL, PROGRAMA_RESERVA VARCHAR(20),"
                                 " USUARIO_RESERVA VARCHAR(80), MAQUINA_RESERVA VARCHAR(255),"
                                 " DESDE_RESERVA VARCHAR(30))")}))
            banco.executa(comando);
        CriaMigracoes(banco, motor);
        SoAcrescentaHistorico(banco);
        MarcaIdentidade(banco, VersaoEsquema);
        t.confirma();
        return;
    }
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT PROGRAMA, VERSAO_ESQUEMA FROM VLME_IDENTIDADE LIMIT 1"));
    if (!banco.proxima(q) || q.value(0).toString() != QLatin1String(ProgramaEsquema))
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_OUTRO_PROGRAMA"), {});
    if (q.value(1).toInt() > VersaoEsquema)
        throw ErroBanco(base::Mensagem("ERRO_SERVIDOR_VERSAO_NOVA"), {});
    q.finish();
    if (!banco.escalar(QStringLiteral("SELECT to_regclass('migracao_vlme') IS NOT NULL"))
             .toBool()) {
        ExigeCriar(banco, "ERRO_SERVIDOR_ATUALIZAR");
        CriaMigracoes(banco, motor);
    } else {
        AtualizaMigracoes(banco);
    }
    if (!banco.escalar(QStringLiteral("SELECT to_regclass('controle') IS NOT NULL")).toBool()) {
        ExigeCriar(banco, "ERRO_SERVIDOR_ATUALIZAR");
        for (const QString &comando : motor.dialeto(ComandosControle()))
            banco.executa(comando);
        CompletaControles(banco);
    }
    if (!banco.escalar(QStringLiteral("SELECT to_regclass('historico') IS NOT NULL")).toBool()) {
        ExigeCriar(banco, "ERRO_SERVIDOR_ATUALIZAR");
        for (const QString &comando : motor.dialeto(ComandosHistorico()))
            banco.executa(comando);
        SoAcrescentaHistorico(banco);
    }
    if (banco.escalar(QStringLiteral("SELECT to_regprocedure('vlme_ordem(text)') IS NULL"))
            .toBool()) {
        ExigeCriar(banco, "ERRO_SERVIDOR_ATUALIZAR");
        banco.executa(ComandoOrdem());
    }
    ConfereDireitos(banco);
    t.confirma();
}

} // namespace vlme::store::servidor
