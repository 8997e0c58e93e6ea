// The stock sqlite3 tool reads every table of our files, and finds them whole, after start-up
// on new files and on a file whose schema names our collation, which is converted.

#include "entry/Descricoes.h"
#include "shell/Inicializacao.h"
#include "store/Esquema.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

// What the stock sqlite3 tool answers to `sql` on `arquivo`, errors included.
QString sqlite3(const QString &arquivo, const QString &sql) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("sqlite3", {"-batch", arquivo, sql});
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAll()) : p.errorString();
}

// sqlite3 must count each table as our connection does, and find no fault.
void LidoPeloSqlite3(const QString &arquivo) {
    QString script, esperado;
    {
        store::Banco banco;
        banco.abre(arquivo);
        QSqlQuery q = banco.executa("SELECT name FROM sqlite_master WHERE type = 'table'");
        while (q.next()) {
            script += "SELECT count(*) FROM " + q.value(0).toString() + ';';
            esperado += QString::number(teste::ContaLinhas(banco, q.value(0).toString())) + '\n';
        }
    }
    EXPECT_EQ(sqlite3(arquivo, script + "PRAGMA integrity_check;"), esperado + "ok\n") << arquivo;
}

// Rows in rowid order, rowids, indexes, counters.
QStringList Retrato(store::Banco &banco) {
    QStringList r = teste::ConteudoBanco(banco);
    for (const char *sql : {"SELECT group_concat(rowid) FROM MODELOS",
                            "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master"
                            " WHERE type = 'index' ORDER BY 1)",
                            "SELECT group_concat(name || seq) FROM sqlite_sequence"})
        r << banco.escalar(sql).toString();
    return r;
}

} // namespace

TEST(Sqlite3Externo, EsquemaComAColacaoEConvertidoUmaVezGuardandoTudo) {
    teste::PastaTeste pasta;
    const QString mdb = pasta.arquivo("VLM.MDB");
    QStringList antes; // what the conversion must keep
    int n = 0;
    {
        store::Banco banco;
        banco.cria(mdb);
        banco.abre(mdb);
        // The text columns as the previous version declared them.
        const QRegularExpression tabela("\\b(MODELOS|COMPONENTES_\\w+|NCM_ITEM|UNIDADE_\\w+) \\(");
        const QRegularExpression coluna("\\b((TX_D|CD_|DESCR_|NM_M)\\w+ VARCHAR\\(\\d+\\))");
        for (QString sql : store::ComandosEsquema()) {
            const QRegularExpressionMatch m = tabela.match(sql);
            if (m.hasMatch() && sql.startsWith("CREATE TABLE"))
                banco.executa("DROP TABLE " + m.captured(1));
            if (m.hasMatch())
                banco.executa(sql.replace(coluna, "\\1 COLLATE VLME_TEXTO"));
        }
        banco.executa("CREATE INDEX VLME_Produto ON VLME (DEN_PRODUTO_VLM COLLATE VLME_TEXTO)");
        n = teste::ConstrutorDeclaracao(banco).geral().modelo("Rádio", 1).modelo("Tevê", 2);
        teste::ConstrutorDeclaracao(banco, n).modelo("Ímã", 3).nacional().importadoNF();
        banco.executa("DELETE FROM MODELOS WHERE NR_SQ_MODELOS = 2");
        banco.executa("INSERT INTO UNIDADE_MEDIDA VALUES ('UN', 'UNIDADE')");
        antes = Retrato(banco);
    }
    EXPECT_TRUE(sqlite3(mdb, "PRAGMA integrity_check;").contains("no such collation sequence"));
    ASSERT_TRUE(QFile::copy(mdb, pasta.arquivo("VLME.MOD")));
    {
        // A failure half-way leaves the file as it was.
        store::Banco banco;
        banco.abre(mdb);
        banco.executa("CREATE TABLE NCM_ITEM_vlme_nova (x)");
        EXPECT_THROW(store::RetiraColacao(banco), store::ErroBanco);
        EXPECT_TRUE(store::NomeiaColacao(banco));
        EXPECT_EQ(Retrato(banco), antes);
        banco.executa("DROP TABLE NCM_ITEM_vlme_nova");
    }
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    EXPECT_FALSE(store::NomeiaColacao(banco));
    EXPECT_EQ(Retrato(banco), antes);
    EXPECT_TRUE(store::ModeloCadastrado(banco, n, "RÁDIO"));
    EXPECT_EQ(entry::DescricaoUnidade(banco, "un"), "UNIDADE");
    banco.fecha();
    teste::PastaTeste nova; // and files made at start-up
    ASSERT_TRUE(shell::AbreBancoPrograma(nova.caminho(), banco, usuario));
    banco.fecha();
    for (const QString &arquivo :
         {mdb, pasta.arquivo("VLME.MOD"), nova.arquivo("VLM.MDB"), nova.arquivo("VLME.MOD")})
        LidoPeloSqlite3(arquivo);
}
