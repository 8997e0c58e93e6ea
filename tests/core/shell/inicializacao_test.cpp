// Start-up: the database made from the template when missing, refused (never
// overwritten) when it is not ours, upgraded once from the earlier layout,
// every failure told; one running copy; the regional-settings question; the
// paths built from the data folder.

#include "shell/ConfiguracoesRegionais.h"
#include "shell/CopiaUnica.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Esquema.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace vlme;
using shell::ItemRegional;
using teste::Valores;

// The template and the new database are pinned by the sqlite3 tests.
TEST(Inicializacao, SemBancoCriaSoParaODonoEUmaVezSo) {
    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    {
        store::Banco banco;
        ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        banco.executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");
    }
    EXPECT_EQ(QFileInfo(pasta.arquivo("VLM.MDB")).permissions() &
                  (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());
    // Opened again: the row is still there, the template was not copied over it.
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    EXPECT_EQ(Valores(banco, "SELECT count(*) FROM VLME") + usuario.textos().join(""), "1");
}

// Each start that cannot go on says why, naming the file, and leaves it as it was.
TEST(Inicializacao, FalhasNaAberturaDitasAoUsuario) {
    teste::PastaTeste outra; // another program's SQLite file: valid, without our mark
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "outro");
        db.setDatabaseName(outra.arquivo("outro.db"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE agenda (nome TEXT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("outro");
    const struct {
        std::string bytes;
        const char *trecho;
    } casos[] = {
        {"", "está vazio"},
        {teste::LeBytes(outra.arquivo("outro.db")), "de outro programa"},
    };
    for (const auto &c : casos) {
        teste::PastaTeste pasta;
        teste::GravaBytes(pasta.arquivo("VLM.MDB"), c.bytes);
        teste::UsuarioRoteirizado usuario;
        store::Banco banco;
        EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        EXPECT_FALSE(banco.aberto());
        const QString r = usuario.resumos().join('\n');
        EXPECT_TRUE(r.contains("|ERRO|") && r.contains(c.trecho) && r.contains("VLM.MDB")) << r;
        EXPECT_EQ(teste::LeBytes(pasta.arquivo("VLM.MDB")), c.bytes);
    }

    // The template cannot be copied: the files and the reason, and nothing
    // half-copied left for the next start to trust.
    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario,
                                          [](const QString &, const QString &para, QString *erro) {
                                              teste::GravaBytes(para, "SQLite for");
                                              *erro = "No space left on device";
                                              return false;
                                          }));
    for (const char *trecho : {"VLME.MOD", "VLM.MDB", "No space left on device"})
        EXPECT_TRUE(usuario.textos().value(0).contains(trecho)) << trecho;
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("VLM.MDB")));

    store::Banco b3, b4;
    // In use by another connection; the first one is unharmed.
    teste::BancoTeste aberto;
    usuario.mensagens.clear();
    EXPECT_FALSE(shell::AbreBancoPrograma(aberto.pasta(), b3, usuario));
    EXPECT_TRUE(usuario.textos().value(0).contains("VLM.MDB"));
    aberto.banco().executa("INSERT INTO VLME (CODIGO_VLM) VALUES ('')");

    // A probe that fails for another reason.
    {
        store::Banco estranho;
        estranho.cria(pasta.arquivo("VLM.MDB"));
        estranho.abre(pasta.arquivo("VLM.MDB"));
        estranho.executa("DROP TABLE NCM_ITEM");
        estranho.executa("CREATE TABLE NCM_ITEM (CD_NCM_PRODUTO TEXT)");
    }
    usuario.mensagens.clear();
    EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), b4, usuario));
    EXPECT_EQ(usuario.resumos(), QStringList("-||Erro Inesperado. Código : 1"));
}

// As the earlier version left it: no lookup tables and the previous-statement
// number held as a number.
TEST(Inicializacao, LayoutAnteriorAtualizadoUmaVez) {
    teste::PastaTeste pasta;
    {
        store::Banco banco;
        banco.cria(pasta.arquivo("VLM.MDB"));
        banco.abre(pasta.arquivo("VLM.MDB"));
        for (const char *sql :
             {"DROP TABLE NCM_ITEM", "DROP TABLE UNIDADE_MEDIDA",
              "ALTER TABLE VLME DROP COLUMN NR_VLM_ANTERIOR_VLM",
              "ALTER TABLE VLME ADD COLUMN NR_VLM_ANTERIOR_VLM INTEGER",
              "INSERT INTO VLME (DEN_PRODUTO_VLM, NR_VLM_ANTERIOR_VLM, CODIGO_VLM)"
              " VALUES ('Rádio', 200100123, NULL)"})
            banco.executa(sql);
    }
    teste::UsuarioRoteirizado usuario;
    const QString esquema = "SELECT group_concat(sql, ';') FROM sqlite_master";
    QString depoisDaPrimeira;
    {
        store::Banco banco;
        ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        EXPECT_FALSE(store::PrecisaAtualizar(banco));
        EXPECT_EQ(Valores(banco, "SELECT NR_VLM_ANTERIOR_VLM, typeof(NR_VLM_ANTERIOR_VLM),"
                                 " quote(CODIGO_VLM), DEN_PRODUTO_VLM, (SELECT type FROM"
                                 " pragma_table_info('VLME') WHERE name = 'NR_VLM_ANTERIOR_VLM')"
                                 " FROM VLME"),
                  "200100123|text|''|Rádio|VARCHAR(10)"); // null codes become ""
        banco.executa("INSERT INTO NCM_ITEM VALUES ('85171231', 'Telefones', 'UN')");
        depoisDaPrimeira = Valores(banco, esquema);
    }
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    EXPECT_EQ(Valores(banco, esquema), depoisDaPrimeira);
    EXPECT_EQ(Valores(banco, "SELECT count(*) FROM NCM_ITEM"), "1");
    EXPECT_TRUE(usuario.mensagens.empty());
}

// The data folder chosen and a second copy in it are pinned by the vlme-cli tests.
TEST(Inicializacao, CopiaUnicaPorPastaEEnderecos) {
    teste::PastaTeste pasta, outra;
    shell::CopiaUnica primeira(pasta.caminho()), emOutra(outra.caminho());
    ASSERT_TRUE(primeira.obtem());
    EXPECT_TRUE(emOutra.obtem());

    const QString servico = "/scripts/fisco/vlme/diagnostico_vlme.asp";
    EXPECT_EQ(shell::EscolheURLDiagnostico("http://servidor.exemplo/"),
              "http://servidor.exemplo" + servico);
    qputenv("VLME_URL_DIAGNOSTICO", "http://outro:8080");
    EXPECT_EQ(shell::EscolheURLDiagnostico(QString()), "http://outro:8080" + servico);
    qunsetenv("VLME_URL_DIAGNOSTICO");
    EXPECT_TRUE(shell::CaminhoArquivos(pasta.caminho(), 2147483647).endsWith("VLME2147483647"));
    // The first 12 digits of the CNPJ, masked or not, and never outside Arquivos/.
    for (const auto &[cnpj, sub] : {std::pair{"11222333000181", "112223330001"},
                                    {"11.222.333/0001-81", "112223330001"},
                                    {"../../etc/12", "12"}})
        EXPECT_EQ(shell::PastaArquivos(pasta.caminho(), cnpj), pasta.arquivo("Arquivos/") + sub);
    EXPECT_TRUE(QFileInfo(pasta.arquivo("Arquivos/112223330001")).isDir());
}

// The six settings written by hand: decimal and group separators of numbers
// and money, date separator, date format.
shell::ConfiguracoesRegionaisIni Regionais(const QString &arquivo, const char *numero,
                                           const char *data, const char *separador = "/") {
    teste::GravaBytes(arquivo, QString("[Regional]\nSeparadorDecimal=%1\nSeparadorGrupo=%2\n"
                                       "SeparadorDecimalMoeda=%1\nSeparadorGrupoMoeda=%2\n"
                                       "SeparadorData=%3\nFormatoDataCurta=%4\n")
                                   .arg(numero[0])
                                   .arg(numero[1])
                                   .arg(separador, data)
                                   .toStdString());
    return shell::ConfiguracoesRegionaisIni(arquivo);
}

TEST(ConfiguracoesRegionais, DiferencasListadasNaOrdemECorrigidas) {
    teste::PastaTeste pasta;
    // Any case of the date letters; the date separator is read but never compared.
    EXPECT_EQ(
        shell::ConfiguracoesDiferentes(Regionais(pasta.arquivo("a.ini"), ",.", "DD/MM/AAAA", "-")),
        QStringList());
    EXPECT_EQ(shell::ConfiguracoesDiferentes(Regionais(pasta.arquivo("b.ini"), ".,", "M/d/yy")),
              QStringList({"- O separador de decimais NÚMEROS deve ser a ',' (vírgula).",
                           "- O separador de grupo de NÚMEROS ser o '.' (ponto).",
                           "- O separador de decimais de MOEDA deve ser a ',' (vírgula).",
                           "- O separador de grupo de MOEDA ser o '.' (ponto).",
                           "- O formato da data deve ser 'dd/MM/yyyy'."}));
    {
        // A comma written by hand is not a list to the ini reader.
        auto r = Regionais(pasta.arquivo("c.ini"), ",.", "d/M/aaaa");
        const QStringList linhas = shell::ConfiguracoesDiferentes(r);
        ASSERT_EQ(linhas, QStringList({"- O formato da data deve ser 'dd/MM/aaaa'."}));
        EXPECT_EQ(shell::PerguntaConfiguracoes(linhas).toStdString(),
                  teste::LeBytes(teste::DadoTeste("casos/pergunta_regionais.txt")));
        shell::CorrigeConfiguracoes(r);
    }
    shell::ConfiguracoesRegionaisIni relida(pasta.arquivo("c.ini"));
    EXPECT_TRUE(shell::ConfiguracoesDiferentes(relida).isEmpty());
    QString valores;
    for (int i = 0; i <= int(ItemRegional::FormatoDataCurta); ++i)
        valores += relida.le(ItemRegional(i));
    EXPECT_EQ(valores, ",.,./dd/MM/aaaa");
}
