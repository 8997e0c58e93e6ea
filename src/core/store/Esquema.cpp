#include "store/Esquema.h"

#include "store/Banco.h"

#include <QSqlQuery>

namespace vlme::store {

namespace {

// The two lookup tables, shared by the fresh schema and the upgrade.
QStringList ComandosTabelasConsulta()
{
    return {
        QStringLiteral("CREATE TABLE NCM_ITEM ("
                       " CD_NCM_PRODUTO VARCHAR(8) COLLATE VLME_TEXTO,"
                       " DESCR_NCM_PRODUTO VARCHAR(80) COLLATE VLME_TEXTO,"
                       " NM_UNID_MED_EST VARCHAR(80))"),
        QStringLiteral("CREATE INDEX NCM_ITEM_Codigo ON NCM_ITEM (CD_NCM_PRODUTO)"),
        QStringLiteral("CREATE TABLE UNIDADE_MEDIDA ("
                       " CD_UNID_MEDIDA VARCHAR(2) COLLATE VLME_TEXTO,"
                       " NM_MEDIDA VARCHAR(80) COLLATE VLME_TEXTO)"),
        QStringLiteral("CREATE INDEX UNIDADE_MEDIDA_Codigo ON UNIDADE_MEDIDA (CD_UNID_MEDIDA)"),
    };
}

} // namespace

QStringList ComandosEsquema()
{
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
                       " TX_DESCRICAO_MODELOS VARCHAR(80) COLLATE VLME_TEXTO,"
                       " COD_INTERNO_MODELOS VARCHAR(15),"
                       " PRECO_VENDA_MODELOS REAL DEFAULT 0)"),
        QStringLiteral("CREATE UNIQUE INDEX IndiceModelos ON MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS)"),
        QStringLiteral("CREATE INDEX MODELOS_Descricao ON MODELOS (NR_VLM_MODELOS, TX_DESCRICAO_MODELOS)"),

        QStringLiteral("CREATE TABLE COMPONENTES_NACIONAIS ("
                       " NR_VLM_NACIONAL INTEGER NOT NULL,"
                       " NR_SQ_NACIONAL INTEGER NOT NULL,"
                       " TX_DESCRICAO_NACIONAL VARCHAR(80) COLLATE VLME_TEXTO,"
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
                       " TX_DESCRICAO_IMPORTADO VARCHAR(80) COLLATE VLME_TEXTO,"
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
        QStringLiteral("CREATE INDEX SUBCOMP_Importado ON SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP)"),

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
    return comandos;
}

void CriaEsquema(Banco &banco)
{
    for (const QString &comando : ComandosEsquema())
        banco.executa(comando);
}

bool PrecisaAtualizar(Banco &banco)
{
    try {
        banco.executa(QStringLiteral("SELECT DESCR_NCM_PRODUTO FROM NCM_ITEM LIMIT 0"));
        return false;
    } catch (const ErroBanco &) {
        const QVariant existe = banco.escalar(
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                           " AND name = 'NCM_ITEM' COLLATE NOCASE"));
        if (existe.toInt() == 0)
            return true;
        throw;
    }
}

void AtualizaEsquema(Banco &banco)
{
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

void NormalizaCodigos(Banco &banco)
{
    banco.executa(QStringLiteral("UPDATE VLME SET CODIGO_VLM = '' WHERE CODIGO_VLM IS NULL"));
}

} // namespace vlme::store
