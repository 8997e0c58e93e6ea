// Getting the database ready at start-up: made from the template when
// missing, refused (never overwritten) when it is not ours, upgraded once when
// it has the earlier layout, and every failure told to the user.

#include "shell/CopiaUnica.h"
#include "shell/Inicializacao.h"
#include "store/Banco.h"
#include "store/Esquema.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

QByteArray conteudo(const QString &caminho)
{
    QFile f(caminho);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void grava(const QString &caminho, const QByteArray &bytes)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A database as the earlier version of the program left it: no lookup tables
// and the previous-statement number held as a number.
void criaLayoutAnterior(const QString &caminho)
{
    store::Banco banco;
    banco.cria(caminho);
    banco.abre(caminho);
    banco.executa(QStringLiteral("DROP TABLE NCM_ITEM"));
    banco.executa(QStringLiteral("DROP TABLE UNIDADE_MEDIDA"));
    banco.executa(QStringLiteral("ALTER TABLE VLME DROP COLUMN NR_VLM_ANTERIOR_VLM"));
    banco.executa(QStringLiteral("ALTER TABLE VLME ADD COLUMN NR_VLM_ANTERIOR_VLM INTEGER"));
    banco.executa(QStringLiteral("INSERT INTO VLME (DEN_PRODUTO_VLM, NR_VLM_ANTERIOR_VLM, CODIGO_VLM)"
                                 " VALUES ('Rádio', 200100123, NULL)"));
}

QString esquemaTexto(store::Banco &banco)
{
    QString texto;
    QSqlQuery q = banco.executa(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY name"));
    while (q.next())
        texto += q.value(0).toString() + QLatin1Char('\n');
    return texto;
}

} // namespace

TEST(Inicializacao, SemBancoCriaModeloECopiaUmaVezSo)
{
    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    {
        store::Banco banco;
        ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        banco.executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM) VALUES ('')"));
    }
    EXPECT_TRUE(QFileInfo::exists(pasta.arquivo("VLME.MOD")));
    EXPECT_EQ(QFileInfo(pasta.arquivo("VLM.MDB")).permissions() & (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());
    int copias = 0;
    auto contaCopia = [&](const QString &de, const QString &para, QString *erro) {
        ++copias;
        return shell::CopiaArquivoPadrao(de, para, erro);
    };
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario, contaCopia));
    EXPECT_EQ(copias, 0);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT count(*) FROM VLME")).toInt(), 1);
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST(Inicializacao, ArquivoQueNaoENossoERecusadoEIntocado)
{
    struct Caso {
        const char *nome;
        QByteArray bytes;
        const char *trecho;
    };
    QByteArray aleatorio;
    for (int i = 0; i < 4096; ++i)
        aleatorio.append(char((i * 7919 + 13) % 251));

    // Another program's SQLite file: valid, but without our mark.
    teste::PastaTeste outra;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outro"));
        db.setDatabaseName(outra.arquivo("outro.db"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE agenda (nome TEXT)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("outro"));

    const Caso casos[] = {
        {"aleatorio", aleatorio, "não é um banco de dados do VLM-E"},
        {"vazio", QByteArray(), "está vazio"},
        {"outro programa", conteudo(outra.arquivo("outro.db")), "de outro programa"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.nome);
        teste::PastaTeste pasta;
        grava(pasta.arquivo("VLM.MDB"), caso.bytes);
        teste::UsuarioRoteirizado usuario;
        store::Banco banco;
        EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        EXPECT_FALSE(banco.aberto());
        ASSERT_EQ(usuario.mensagens.size(), 1u);
        EXPECT_EQ(usuario.mensagens[0].titulo, "ERRO");
        EXPECT_TRUE(usuario.mensagens[0].texto.contains(QString::fromUtf8(caso.trecho)))
            << usuario.mensagens[0].texto;
        EXPECT_TRUE(usuario.mensagens[0].texto.contains(QLatin1String("VLM.MDB")));
        EXPECT_EQ(conteudo(pasta.arquivo("VLM.MDB")), caso.bytes);
    }
}

TEST(Inicializacao, FalhaAoCopiarOModeloDizOArquivoEOMotivo)
{
    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    auto discoCheio = [](const QString &, const QString &para, QString *erro) {
        grava(para, QByteArray("SQLite format 3", 10)); // a partial file the copier left
        *erro = QStringLiteral("No space left on device");
        return false;
    };
    EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario, discoCheio));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    const QString texto = usuario.mensagens[0].texto;
    EXPECT_TRUE(texto.contains(QLatin1String("VLME.MOD")) && texto.contains(QLatin1String("VLM.MDB")));
    EXPECT_TRUE(texto.contains(QLatin1String("No space left on device")));
    // Nothing half-copied is left for the next start to trust.
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("VLM.MDB")));
}

TEST(Inicializacao, PastaDeDadosInutilizavel)
{
    teste::PastaTeste pasta;
    grava(pasta.arquivo("arquivo"), "x");
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    EXPECT_FALSE(shell::AbreBancoPrograma(pasta.arquivo("arquivo"), banco, usuario));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.mensagens[0].texto.startsWith(QStringLiteral("Não foi possível criar a pasta de dados")));
}

TEST(Inicializacao, LayoutAnteriorAtualizadoUmaVez)
{
    teste::PastaTeste pasta;
    criaLayoutAnterior(pasta.arquivo("VLM.MDB"));
    teste::UsuarioRoteirizado usuario;
    QString depoisDaPrimeira;
    {
        store::Banco banco;
        ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
        EXPECT_FALSE(store::PrecisaAtualizar(banco));
        QSqlQuery q = banco.executa(QStringLiteral(
            "SELECT NR_VLM_ANTERIOR_VLM, typeof(NR_VLM_ANTERIOR_VLM), CODIGO_VLM, DEN_PRODUTO_VLM FROM VLME"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), "200100123");
        EXPECT_EQ(q.value(1).toString(), "text");
        EXPECT_FALSE(q.value(2).isNull()); // null codes become ""
        EXPECT_EQ(q.value(2).toString(), "");
        EXPECT_EQ(q.value(3).toString(), "Rádio");
        EXPECT_EQ(banco.escalar(QStringLiteral("SELECT type FROM pragma_table_info('VLME')"
                                               " WHERE name = 'NR_VLM_ANTERIOR_VLM'"))
                      .toString(),
                  "VARCHAR(10)");
        banco.executa(QStringLiteral("INSERT INTO NCM_ITEM VALUES ('85171231', 'Telefones', 'UN')"));
        depoisDaPrimeira = esquemaTexto(banco);
    }
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    EXPECT_EQ(esquemaTexto(banco), depoisDaPrimeira);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT count(*) FROM NCM_ITEM")).toInt(), 1);
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST(Inicializacao, SondaQueFalhaPorOutroMotivoEErroInesperado)
{
    teste::PastaTeste pasta;
    {
        store::Banco banco;
        banco.cria(pasta.arquivo("VLM.MDB"));
        banco.abre(pasta.arquivo("VLM.MDB"));
        banco.executa(QStringLiteral("DROP TABLE NCM_ITEM"));
        banco.executa(QStringLiteral("CREATE TABLE NCM_ITEM (CD_NCM_PRODUTO TEXT)"));
    }
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    EXPECT_FALSE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto, "Erro Inesperado. Código : 1");
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Nenhum);
}

TEST(Inicializacao, BancoEmUsoPorOutraConexaoERecusadoComMensagem)
{
    teste::BancoTeste aberto;
    teste::UsuarioRoteirizado usuario;
    store::Banco segundo;
    EXPECT_FALSE(shell::AbreBancoPrograma(aberto.pasta(), segundo, usuario));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.mensagens[0].texto.contains(QLatin1String("VLM.MDB")));
    // The first connection is unharmed.
    aberto.banco().executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM) VALUES ('')"));
}

TEST(CopiaUnica, SegundaCopiaNaMesmaPastaERecusada)
{
    teste::PastaTeste pasta;
    shell::CopiaUnica primeira(pasta.caminho());
    ASSERT_TRUE(primeira.obtem());
    shell::CopiaUnica segunda(pasta.caminho());
    EXPECT_FALSE(segunda.obtem());
    teste::PastaTeste outra;
    shell::CopiaUnica emOutraPasta(outra.caminho());
    EXPECT_TRUE(emOutraPasta.obtem());
    EXPECT_EQ(shell::MensagemOutraCopia,
              "Já existe um VLM-E aberto. Não é possível abrir outra cópia do programa.");
}

TEST(Inicializacao, EnderecoDoDiagnostico)
{
    EXPECT_EQ(shell::EscolheURLDiagnostico(QStringLiteral("http://servidor.exemplo/")),
              "http://servidor.exemplo/scripts/fisco/vlme/diagnostico_vlme.asp");
    qputenv("VLME_URL_DIAGNOSTICO", "http://outro:8080");
    EXPECT_EQ(shell::EscolheURLDiagnostico(QString()),
              "http://outro:8080/scripts/fisco/vlme/diagnostico_vlme.asp");
    qunsetenv("VLME_URL_DIAGNOSTICO");
}
