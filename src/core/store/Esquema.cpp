#include "store/Esquema.h"

#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Historico.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QUuid>

#include <vector>

namespace vlme::store {

namespace {

// The two lookup tables, shared by the fresh schema and the upgrade.
QStringList ComandosTabelasConsulta() {
    return {
        QStringLiteral("CREATE TABLE NCM_ITEM ("
                       " CD_NCM_PRODUTO VARCHAR(8),"
                       " DESCR_NCM_PRODUTO VARCHAR(80),"
                       " NM_UNID_MED_EST VARCHAR(80))"),
        QStringLiteral("CREATE INDEX NCM_ITEM_Codigo ON NCM_ITEM (CD_NCM_PRODUTO)"),
        QStringLiteral("CREATE TABLE UNIDADE_MEDIDA ("
                       " CD_UNID_MEDIDA VARCHAR(2),"
                       " NM_MEDIDA VARCHAR(80))"),
        QStringLiteral("CREATE INDEX UNIDADE_MEDIDA_Codigo ON UNIDADE_MEDIDA (CD_UNID_MEDIDA)"),
    };
}

// Which content made which statements: one row per statement an import made,
// the file's SHA-256 in lower-case hex, its path and the time, ISO 8601.
QStringList ComandosImportacoes() {
    return {
        QStringLiteral("CREATE TABLE IMPORTACAO ("
                       " TX_SHA256_IMPORTACAO VARCHAR(64) NOT NULL,"
                       " NR_VLM_IMPORTACAO INTEGER NOT NULL,"
                       " TX_ARQUIVO_IMPORTACAO TEXT,"
                       " DT_IMPORTACAO TEXT)"),
        QStringLiteral("CREATE INDEX IMPORTACAO_Conteudo ON IMPORTACAO (TX_SHA256_IMPORTACAO)"),
    };
}

bool TemTabela(Banco &banco, const char *tabela) {
    return banco
               .escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                                       " AND name = ? COLLATE NOCASE"),
                        {QLatin1String(tabela)})
               .toInt() > 0;
}

// The database's own identity, the shape of the team server's mark: a copy
// to the server is recorded under it. Never in the template, so that each
// VLM.MDB made from it draws its own.
bool TemIdentidade(Banco &banco) {
    return TemTabela(banco, "VLME_IDENTIDADE");
}

void CriaIdentidade(Banco &banco) {
    banco.executa(ComandoIdentidade());
    MarcaIdentidade(banco, 1);
}

} // namespace

QStringList ComandosEsquema() {
    QStringList comandos = {
        QStringLiteral("CREATE TABLE VLME ("
                       " NR_VLM_VLM INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " DT_REGISTRO_VLM TEXT,"
                       " CNPJ_VLM VARCHAR(14),"
                       " CPF_VLM VARCHAR(11),"
                       " PPB_VLM VARCHAR(80),"
                       " TIPO_COEFICIENTE_VLM INTEGER DEFAULT 0,"
                       " PERC_REDUCAO_VLM REAL DEFAULT 0,"
                       " SUBSTITUTIVO_VLM INTEGER DEFAULT 0,"
                       " RETIFICADOR_VLM INTEGER DEFAULT 0,"
                       " NR_VLM_ANTERIOR_VLM VARCHAR(10),"
                       " NR_PROCESSO_VLM VARCHAR(17),"
                       " NCM_VLM VARCHAR(8),"
                       " PESO_BRUTO_VLM REAL DEFAULT 0,"
                       " VL_SALARIOS_VLM REAL DEFAULT 0,"
                       " VL_ENCARGOS_VLM REAL DEFAULT 0,"
                       " DEN_PRODUTO_VLM VARCHAR(80),"
                       " UNIDADE_VLM VARCHAR(80),"
                       " NR_TRANSMISSAO_VLM INTEGER DEFAULT 0,"
                       " NR_ARQUIVO_VLM INTEGER DEFAULT 0,"
                       " CODIGO_VLM VARCHAR(9) DEFAULT '',"
                       " RAZAO_SOCIAL_VLM VARCHAR(150))"),

        QStringLiteral("CREATE TABLE MODELOS ("
                       " NR_VLM_MODELOS INTEGER NOT NULL,"
                       " NR_SQ_MODELOS INTEGER NOT NULL,"
                       " TX_DESCRICAO_MODELOS VARCHAR(80),"
                       " COD_INTERNO_MODELOS VARCHAR(15),"
                       " PRECO_VENDA_MODELOS REAL DEFAULT 0)"),
        QStringLiteral(
            "CREATE UNIQUE INDEX IndiceModelos ON MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS)"),
        QStringLiteral(
            "CREATE INDEX MODELOS_Descricao ON MODELOS (NR_VLM_MODELOS, TX_DESCRICAO_MODELOS)"),

        QStringLiteral("CREATE TABLE COMPONENTES_NACIONAIS ("
                       " NR_VLM_NACIONAL INTEGER NOT NULL,"
                       " NR_SQ_NACIONAL INTEGER NOT NULL,"
                       " TX_DESCRICAO_NACIONAL VARCHAR(80),"
                       " QTD_NACIONAL REAL DEFAULT 0,"
                       " VL_CUSTO_UNITARIO_NACIONAL REAL DEFAULT 0,"
                       " NR_SEQ_NF_NACIONAL INTEGER DEFAULT 0,"
                       " NCM_NACIONAL VARCHAR(8),"
                       " UNIDADE_NACIONAL VARCHAR(80),"
                       " NR_SQ_IMPORTACAO INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE UNIQUE INDEX COMPONENTES_NACIONAIS_PrimaryKey"
                       " ON COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL)"),
        QStringLiteral("CREATE INDEX IndiceNacionais"
                       " ON COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, TX_DESCRICAO_NACIONAL)"),

        QStringLiteral("CREATE TABLE COMPONENTES_IMPORTADOS ("
                       " NR_VLM_IMPORTADO INTEGER NOT NULL,"
                       " NR_SQ_IMPORTADO INTEGER NOT NULL,"
                       " TX_DESCRICAO_IMPORTADO VARCHAR(80),"
                       " QTD_IMPORTADO REAL DEFAULT 0,"
                       " VALOR_UNITARIO_IMPORTADO REAL DEFAULT 0,"
                       " ALIQUOTA_IMPORTADO REAL DEFAULT 0,"
                       " VALOR_II_IMPORTADO REAL DEFAULT 0,"
                       " NR_SEQ_DI_IMPORTADO INTEGER DEFAULT 0,"
                       " NR_SEQ_NF_IMPORTADO INTEGER DEFAULT 0,"
                       " IN_COM_SUSP_IMPORTADO INTEGER DEFAULT 0,"
                       " IN_DIRETO_IMPORTADO INTEGER DEFAULT 0,"
                       " IN_REDUCAO_II_IMPORTADO INTEGER DEFAULT 0,"
                       " NCM_IMPORTADO VARCHAR(8),"
                       " UNIDADE_IMPORTADO VARCHAR(80),"
                       " NR_SQ_IMPORTACAO INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE UNIQUE INDEX COMPONENTES_IMPORTADOS_PrimaryKey"
                       " ON COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO)"),

        QStringLiteral("CREATE TABLE SUBCOMP ("
                       " N_VLM_SUBCOMP INTEGER NOT NULL,"
                       " N_IMPORTADO_SUBCOMP INTEGER NOT NULL,"
                       " N_NACIONAL_SUBCOMP INTEGER NOT NULL,"
                       " IN_BASE_CALCULO_SUBCOMP INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE UNIQUE INDEX SUBCOMP_PrimaryKey"
                       " ON SUBCOMP (N_VLM_SUBCOMP, N_NACIONAL_SUBCOMP, N_IMPORTADO_SUBCOMP)"),
        // The product's imported components are found by a left join on this pair.
        QStringLiteral(
            "CREATE INDEX SUBCOMP_Importado ON SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP)"),

        QStringLiteral("CREATE TABLE NF ("
                       " NR_SEQ_NF INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " NR_NF VARCHAR(10),"
                       " SERIE_NF VARCHAR(5),"
                       " CNPJ_NF VARCHAR(18),"
                       " DATA_EMISSAO_NF VARCHAR(10),"
                       " NR_INS_ESTADUAL_NF VARCHAR(15))"),

        QStringLiteral("CREATE TABLE DI ("
                       " NR_SQ_DI INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " NR_DI_DI VARCHAR(10),"
                       " NR_ADICAO_DI VARCHAR(3),"
                       " NR_ITEM_DI VARCHAR(2),"
                       " DESCRICAO_DI VARCHAR(255))"),

        QStringLiteral("CREATE TABLE RECIBO ("
                       " NR_VLM_RECIBO INTEGER NOT NULL,"
                       " CNPJ_RECIBO VARCHAR(14),"
                       " NR_TRANSMISSAO_RECIBO INTEGER DEFAULT 0,"
                       " DATA_GERACAO_RECIBO TEXT,"
                       " HORA_GERACAO_RECIBO TEXT,"
                       " DATA_RECEPCAO_RECIBO TEXT,"
                       " HORA_RECEPCAO_RECIBO TEXT,"
                       " LOCAL_RECIBO TEXT,"
                       " REMESSA_RECIBO TEXT,"
                       " GATEWAY_RECIBO TEXT,"
                       " SELO_RECIBO TEXT,"
                       " NR_CONTROLE_RECIBO TEXT,"
                       " TOTAIS_RECIBO TEXT)"),
        QStringLiteral("CREATE INDEX RECIBO_Declaracao ON RECIBO (NR_VLM_RECIBO)"),

        QStringLiteral("CREATE TABLE ERRO ("
                       " NR_VLM_ERRO INTEGER NOT NULL,"
                       " DESCRICAO_ERRO TEXT,"
                       " LOCAL_ERRO TEXT,"
                       " REGISTRO_ERRO TEXT,"
                       " TIPO_ERRO VARCHAR(1))"),
        QStringLiteral("CREATE INDEX ERRO_Declaracao ON ERRO (NR_VLM_ERRO)"),

        QStringLiteral("CREATE TABLE IMPRESSAO (NR_VLM_IMPRESSAO INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX IMPRESSAO_Declaracao ON IMPRESSAO (NR_VLM_IMPRESSAO)"),
    };
    comandos += ComandosTabelasConsulta();
    comandos += ComandosImportacoes();
    comandos += ComandosControle();
    comandos += ComandosHistorico();
    return comandos;
}

void CriaEsquema(Banco &banco) {
    for (const QString &comando : ComandosEsquema())
        banco.executa(comando);
}

bool PrecisaAtualizar(Banco &banco) {
    try {
        banco.executa(QStringLiteral("SELECT DESCR_NCM_PRODUTO FROM NCM_ITEM LIMIT 0"));
        return false;
    } catch (const ErroBanco &) {
        const QVariant existe =
            banco.escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                                         " AND name = 'NCM_ITEM' COLLATE NOCASE"));
        if (existe.toInt() == 0)
            return true;
        throw;
    }
}

void AtualizaEsquema(Banco &banco) {
    // One transaction: a failure half-way must not leave VLME without its
    // previous-statement column.
    Transacao t(banco);
    banco.executa(QStringLiteral("ALTER TABLE VLME ADD COLUMN VLMNog VARCHAR(10)"));
    banco.executa(QStringLiteral("UPDATE VLME SET VLMNog = NR_VLM_ANTERIOR_VLM"));
    banco.executa(QStringLiteral("ALTER TABLE VLME DROP COLUMN NR_VLM_ANTERIOR_VLM"));
    banco.executa(QStringLiteral("ALTER TABLE VLME ADD COLUMN NR_VLM_ANTERIOR_VLM VARCHAR(10)"));
    banco.executa(QStringLiteral("UPDATE VLME SET NR_VLM_ANTERIOR_VLM = VLMNog"));
    banco.executa(QStringLiteral("ALTER TABLE VLME DROP COLUMN VLMNog"));
    for (const QString &comando : ComandosTabelasConsulta())
        banco.executa(comando);
    t.confirma();
}

void CompletaEsquema(Banco &banco) {
    // Looked at first without writing: every program runs this at start-up.
    if (TemTabela(banco, "IMPORTACAO") && TemIdentidade(banco) && TemTabela(banco, "CONTROLE") &&
        TemTabela(banco, "HISTORICO"))
        return;
    Transacao t(banco);
    // Another program may have added them while this one waited its turn.
    if (!TemTabela(banco, "IMPORTACAO"))
        for (const QString &comando : ComandosImportacoes())
            banco.executa(comando);
    if (!TemIdentidade(banco))
        CriaIdentidade(banco);
    if (!TemTabela(banco, "CONTROLE")) {
        for (const QString &comando : ComandosControle())
            banco.executa(comando);
        CompletaControles(banco);
    }
    if (!TemTabela(banco, "HISTORICO"))
        for (const QString &comando : ComandosHistorico())
            banco.executa(comando);
    t.confirma();
}

QString ComandoIdentidade() {
    return QStringLiteral("CREATE TABLE VLME_IDENTIDADE (PROGRAMA VARCHAR(20) NOT NULL,"
                          " VERSAO_ESQUEMA INTEGER NOT NULL, ID_BANCO VARCHAR(38) NOT NULL)");
}

void MarcaIdentidade(Banco &banco, int versao) {
    banco.executa(QStringLiteral("INSERT INTO VLME_IDENTIDADE (PROGRAMA, VERSAO_ESQUEMA, ID_BANCO)"
                                 " VALUES (?, ?, ?)"),
                  {QLatin1String(ProgramaEsquema), versao,
                   QUuid::createUuid().toString(QUuid::WithoutBraces)});
}

QString IdentidadeBanco(Banco &banco) {
    return banco.escalar(QStringLiteral("SELECT ID_BANCO FROM VLME_IDENTIDADE LIMIT 1")).toString();
}

namespace {

// The collation named in a column or index definition, with its quoting.
const QRegularExpression
    ClausulaColacao(QStringLiteral("\\s*\\bCOLLATE\\s+[\"'`\\[]?VLME_TEXTO[\"'`\\]]?(?!\\w)"),
                    QRegularExpression::CaseInsensitiveOption);

struct ObjetoEsquema {
    QString tipo, nome, tabela, sql;
};

std::vector<ObjetoEsquema> ObjetosEsquema(Banco &banco) {
    std::vector<ObjetoEsquema> objetos;
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master"
                       " WHERE sql IS NOT NULL AND name NOT LIKE 'sqlite_%' ORDER BY rowid"));
    while (banco.proxima(q))
        objetos.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toString()});
    return objetos;
}

QString Aspas(QString nome) {
    return QLatin1Char('"') + nome.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// Copies `tabela` into a new table made from `sql` without the collation and
// puts it in its place. Rows keep their rowids (the delivery file lists them
// in rowid order) and an AUTOINCREMENT counter keeps its value.
void RefazTabela(Banco &banco, const QString &tabela, const QString &sql) {
    const QString nova = tabela + QStringLiteral("_vlme_nova");
    static const QRegularExpression nomeNoCreate(
        QStringLiteral(
            "^(\\s*CREATE\\s+TABLE\\s+)(\"[^\"]*\"|\\[[^\\]]*\\]|`[^`]*`|'[^']*'|[^\\s(]+)"),
        QRegularExpression::CaseInsensitiveOption);
    QString criacao = sql;
    criacao.remove(ClausulaColacao).replace(nomeNoCreate, QStringLiteral("\\1") + Aspas(nova));
    banco.executa(criacao);

    QStringList colunas;
    {
        QSqlQuery q =
            banco.executa(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabela});
        while (banco.proxima(q))
            colunas << Aspas(q.value(0).toString());
    }
    static const QRegularExpression semRowid(QStringLiteral("WITHOUT\\s+ROWID\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!semRowid.match(sql).hasMatch())
        colunas.prepend(QStringLiteral("rowid"));
    const QString lista = colunas.join(QLatin1String(", "));
    banco.executa(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                      .arg(Aspas(nova), lista, Aspas(tabela)));

    const bool temSequencia =
        banco.escalar(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'"))
            .isValid();
    const QVariant contador =
        temSequencia
            ? banco.escalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"),
                            {tabela})
            : QVariant();
    banco.executa(QStringLiteral("DROP TABLE ") + Aspas(tabela));
    banco.executa(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(Aspas(nova), Aspas(tabela)));
    if (contador.isValid()) {
        banco.executa(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {tabela});
        banco.executa(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                      {tabela, contador});
    }
}

} // namespace

bool NomeiaColacao(Banco &banco) {
    for (const ObjetoEsquema &o : ObjetosEsquema(banco))
        if (o.sql.contains(ClausulaColacao))
            return true;
    return false;
}

void RetiraColacao(Banco &banco) {
    const std::vector<ObjetoEsquema> objetos = ObjetosEsquema(banco);
    QStringList tabelas;
    for (const ObjetoEsquema &o : objetos)
        if (o.tipo == QLatin1String("table") && o.sql.contains(ClausulaColacao))
            tabelas << o.tabela;
    // Indexes and triggers of a rebuilt table go with it and are made again,
    // as is an index that names the collation; views are set aside meanwhile
    // so none points to a table that is gone.
    std::vector<const ObjetoEsquema *> refazer;
    for (const ObjetoEsquema &o : objetos)
        if (o.tipo != QLatin1String("table") &&
            (tabelas.contains(o.tabela) || o.sql.contains(ClausulaColacao) ||
             (o.tipo == QLatin1String("view") && !tabelas.isEmpty())))
            refazer.push_back(&o);
    if (tabelas.isEmpty() && refazer.empty())
        return;

    Transacao t(banco);
    for (const ObjetoEsquema *o : refazer)
        banco.executa(
            QStringLiteral("DROP %1 IF EXISTS %2").arg(o->tipo.toUpper(), Aspas(o->nome)));
    for (const ObjetoEsquema &o : objetos)
        if (o.tipo == QLatin1String("table") && tabelas.contains(o.tabela))
            RefazTabela(banco, o.tabela, o.sql);
    for (const ObjetoEsquema *o : refazer)
        banco.executa(QString(o->sql).remove(ClausulaColacao));
    t.confirma();
}

void NormalizaCodigos(Banco &banco) {
    // Writes only when there is something to write: every program runs this
    // at start-up, and a write waits for another program's import to end.
    if (!banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE CODIGO_VLM IS NULL LIMIT 1"))
             .isValid())
        return;
    Transacao t(banco);
    banco.executa(QStringLiteral("UPDATE VLME SET CODIGO_VLM = '' WHERE CODIGO_VLM IS NULL"));
    t.confirma();
}

} // namespace vlme::store
