// vlme-cli run as the company's systems run it: exact output and exit status.

#include "shell/CopiaUnica.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

struct Execucao {
    int status = -1;
    QString saida;
    QString erro;
};

Execucao executa(const QStringList &argumentos)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QStringLiteral(VLME_CLI), argumentos);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        ADD_FAILURE() << "vlme-cli não terminou";
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString Cabecalho = QStringLiteral("NR_VLM_VLM\tCNPJ_VLM\tDEN_PRODUTO_VLM\tTIPO\tSITUACAO\tPROTOCOLO\n");

} // namespace

TEST(CliListar, PrimeiroUsoCriaOBancoComoOProgramaDeJanelas)
{
    teste::PastaTeste pasta;
    const Execucao r = executa({"--pasta", pasta.caminho(), "listar"});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_EQ(r.saida, Cabecalho);
    EXPECT_TRUE(QFileInfo::exists(pasta.arquivo("VLM.MDB")));
    EXPECT_TRUE(QFileInfo::exists(pasta.arquivo("VLME.MOD")));
}

TEST(CliListar, ListaAsDeclaracoesFormatadas)
{
    teste::PastaTeste pasta;
    ASSERT_EQ(executa({"--pasta", pasta.caminho(), "listar"}).status, 0);
    {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        banco.executa(QStringLiteral("INSERT INTO VLME (CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM,"
                                     " RETIFICADOR_VLM) VALUES ('11222333000181', 'Câmera', -1, '200100123', 1)"));
        banco.executa(QStringLiteral("INSERT INTO VLME (DEN_PRODUTO_VLM, CODIGO_VLM) VALUES ('Rádio', '')"));
        banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS)"
                                     " VALUES (2, 1, 'AM/FM')"));
    }
    const Execucao r = executa({"--pasta", pasta.caminho(), "listar"});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_EQ(r.saida, Cabecalho + "2\t-\tRádio - AM/FM\tNovo\tOriginal\t-\n"
                                   "1\t11.222.333/0001-81\tCâmera\tRetificador\tRegistrado\t2001/00123\n");
}

TEST(CliListar, SegundaCopiaNaMesmaPastaERecusada)
{
    teste::PastaTeste pasta;
    shell::CopiaUnica aberta(pasta.caminho());
    ASSERT_TRUE(aberta.obtem());
    const Execucao r = executa({"--pasta", pasta.caminho(), "listar"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.erro, "Já existe um VLM-E aberto. Não é possível abrir outra cópia do programa.\n");
    EXPECT_TRUE(r.saida.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("VLM.MDB")));
}

TEST(CliListar, BancoEstranhoFalhaSemSerTocado)
{
    teste::PastaTeste pasta;
    {
        QFile f(pasta.arquivo("VLM.MDB"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("isto nao e um banco");
    }
    const Execucao r = executa({"--pasta", pasta.caminho(), "listar"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.erro.contains(QStringLiteral("não é um banco de dados do VLM-E"))) << r.erro;
    QFile f(pasta.arquivo("VLM.MDB"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("isto nao e um banco"));
}

TEST(CliListar, PastaDeDadosQueNaoPodeSerCriada)
{
    teste::PastaTeste pasta;
    {
        QFile f(pasta.arquivo("arquivo"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const Execucao r = executa({"--pasta", pasta.arquivo("arquivo"), "listar"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.erro.startsWith(QStringLiteral("Não foi possível criar a pasta de dados"))) << r.erro;
}

TEST(CliListar, UsoErrado)
{
    teste::PastaTeste pasta;
    EXPECT_EQ(executa({"--pasta", pasta.caminho()}).status, 2);
    EXPECT_EQ(executa({"--pasta", pasta.caminho(), "inexistente"}).status, 2);
    const Execucao r = executa({"--pasta", pasta.caminho(), "listar", "demais"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.erro.startsWith(QLatin1String("Uso: vlme-cli")));
}

TEST(CliVerificarResumo, PendenciasESaida1)
{
    teste::PastaTeste pasta;
    ASSERT_EQ(executa({"--pasta", pasta.caminho(), "listar"}).status, 0);
    {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        banco.executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM, PESO_BRUTO_VLM) VALUES ('', 1)"));
    }
    const Execucao r = executa({"--pasta", pasta.caminho(), "verificar", "1"});
    EXPECT_EQ(r.status, 1) << r.erro;
    EXPECT_EQ(r.saida, QStringLiteral(
                           "O campo CNPJ do Estabelecimento é obrigatório.\n"
                           "O campo CPF do representante é obrigatório.\n"
                           "O campo Processo Produtivo Básico é obrigatório.\n"
                           "O campo Denominação do Produto é obrigatório.\n"
                           "O campo Código NCM/SH é obrigatório.\n"
                           "O campo Unidade é obrigatório.\n"
                           "É obrigatório informar pelo menos um Modelo/Tipo/Referência.\n"
                           "É obrigatório informar pelo menos um Componente Importado.\n"));

    const Execucao resumo = executa({"--pasta", pasta.caminho(), "resumo", "1"});
    EXPECT_EQ(resumo.status, 0) << resumo.erro;
    EXPECT_TRUE(resumo.saida.contains(QStringLiteral("Coeficiente de Redução do II: 88,00%\n"))) << resumo.saida;
    EXPECT_TRUE(resumo.saida.contains(QStringLiteral("Total: US$ 0,00\n")));

    EXPECT_EQ(executa({"--pasta", pasta.caminho(), "verificar", "7"}).status, 3);
    EXPECT_EQ(executa({"--pasta", pasta.caminho(), "verificar", "x"}).status, 2);
    EXPECT_EQ(executa({"--pasta", pasta.caminho(), "resumo"}).status, 2);
}

TEST(CliFluxo, VerificaGeraCopiaEExcluiUmaDeclaracaoCompleta)
{
    teste::PastaTeste pasta;
    ASSERT_EQ(executa({"--pasta", pasta.caminho(), "listar"}).status, 0);
    int n = 0;
    {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        n = teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo A", 100.0).importadoDI("Tela", 1, 30.0);
    }
    const QString numero = QString::number(n);
    Execucao r = executa({"--pasta", pasta.caminho(), "verificar", numero});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_EQ(r.saida, "Nenhum erro foi detectado.\n");

    r = executa({"--pasta", pasta.caminho(), "gerar", numero});
    EXPECT_EQ(r.status, 0) << r.erro;
    const QString arquivo = QDir(pasta.caminho()).filePath("Arquivos/VLME0000000001");
    EXPECT_EQ(r.saida, arquivo + "\n");
    QFile gerado(arquivo);
    ASSERT_TRUE(gerado.open(QIODevice::ReadOnly));
    const QByteArray bytes = gerado.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.at(0), '0'); // the header record comes first

    r = executa({"--pasta", pasta.caminho(), "copiar", numero});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_EQ(r.saida, "2\n");

    r = executa({"--pasta", pasta.caminho(), "excluir", numero});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_TRUE(r.saida.isEmpty());
    r = executa({"--pasta", pasta.caminho(), "listar"});
    EXPECT_EQ(r.saida, Cabecalho + "2\t11.222.333/0001-81\tCópia de Telefone celular - Modelo A\tNovo\tOriginal\t-\n");

    // A statement with pendencies is not generated.
    r = executa({"--pasta", pasta.caminho(), "gerar", "2"});
    EXPECT_EQ(r.status, 0) << r.saida << r.erro;
    {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        banco.executa(QStringLiteral("DELETE FROM MODELOS"));
    }
    r = executa({"--pasta", pasta.caminho(), "gerar", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.saida, "É obrigatório informar pelo menos um Modelo/Tipo/Referência.\n");
}
