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

// VLME_PASTA points at `pasta`, so a run that ignores --pasta cannot touch
// the user's own data folder.
Execucao executa(const QString &pasta, const QStringList &argumentos) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("VLME_PASTA"), pasta);
    p.setProcessEnvironment(ambiente);
    p.start(QStringLiteral(VLME_CLI), argumentos);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        ADD_FAILURE() << "vlme-cli não terminou";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString Uso =
    QStringLiteral("Uso: vlme-cli [--pasta DIR] [--sim] COMANDO [ARGUMENTOS]\n\nComandos:\n"
                   "  listar                 lista as declarações\n"
                   "  verificar N            lista as pendências da declaração N\n"
                   "  resumo N               mostra os custos e o coeficiente de redução\n"
                   "  importar ARQ           importa declarações de um arquivo texto\n"
                   "  gerar N                grava o arquivo de entrega da declaração N\n"
                   "  copiar N               copia a declaração N e escreve o número da cópia\n"
                   "  excluir N              exclui a declaração N\n"
                   "\n--pasta DIR  pasta de dados (padrão: VLME_PASTA ou a pasta do usuário)\n"
                   "--sim        responde Sim a todas as perguntas\n"
                   "-h, --help   mostra este texto\n");

const QString Cabecalho =
    QStringLiteral("NR_VLM_VLM\tCNPJ_VLM\tDEN_PRODUTO_VLM\tTIPO\tSITUACAO\tPROTOCOLO\n");

struct Caso {
    QStringList argumentos;
    int status;
    QString saida;
    QString erro;
};

void Confere(const QString &pasta, const std::vector<Caso> &casos, const QStringList &antes = {}) {
    for (const Caso &c : casos) {
        const Execucao r = executa(pasta, antes + c.argumentos);
        SCOPED_TRACE(c.argumentos.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.saida, c.saida);
        EXPECT_EQ(r.erro, c.erro);
    }
}

} // namespace

TEST(Cli, AjudaEUsoErradoSemAbrirAPasta) {
    teste::PastaTeste pasta;
    auto errado = [](const QString &linha) { return linha + QStringLiteral("\n\n") + Uso; };
    Confere(
        pasta.caminho(),
        {
            {{"--help"}, 0, Uso, ""},
            {{"-h"}, 0, Uso, ""},
            {{"--sim", "gerar", "-h"}, 0, Uso, ""},
            {{}, 2, "", errado("Falta o comando.")},
            {{"apagar"}, 2, "", errado("Comando desconhecido: apagar")},
            {{"--xyz", "listar"}, 2, "", errado("Opção desconhecida: --xyz")},
            {{"--pasta"}, 2, "", errado("Falta a pasta depois de --pasta.")},
            {{"verificar"}, 2, "", errado("Falta o argumento N do comando verificar.")},
            {{"importar"}, 2, "", errado("Falta o argumento ARQ do comando importar.")},
            {{"importar", ""}, 2, "", errado("Falta o argumento ARQ do comando importar.")},
            {{"resumo", "x"}, 2, "", errado("\"x\" não é um número de declaração.")},
            {{"gerar", "0"}, 2, "", errado("\"0\" não é um número de declaração.")},
            {{"excluir", "-1"}, 2, "", errado("\"-1\" não é um número de declaração.")},
            {{"copiar", "1", "2"}, 2, "", errado("Argumento a mais para o comando copiar: 2")},
            {{"listar", "demais"}, 2, "", errado("Argumento a mais para o comando listar: demais")},
        });
    EXPECT_TRUE(QDir(pasta.caminho()).isEmpty());
}

TEST(Cli, AberturaQueFalha) {
    teste::PastaTeste pasta;
    QFile arquivo(pasta.arquivo("arquivo"));
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.write("isto nao e um banco");
    arquivo.close();
    const Execucao r = executa(pasta.caminho(), {"--pasta", arquivo.fileName(), "listar"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.erro.startsWith("Não foi possível criar a pasta de dados")) << r.erro;

    ASSERT_TRUE(arquivo.rename(pasta.arquivo("VLM.MDB")));
    const Execucao estranho = executa(pasta.caminho(), {"listar"});
    EXPECT_EQ(estranho.status, 3);
    EXPECT_TRUE(estranho.erro.contains("não é um banco de dados do VLM-E")) << estranho.erro;
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(arquivo.readAll(), "isto nao e um banco");

    shell::CopiaUnica aberta(pasta.caminho());
    ASSERT_TRUE(aberta.obtem());
    Confere(pasta.caminho(), {{{"listar"},
                               3,
                               "",
                               "Já existe um VLM-E aberto. Não é possível abrir"
                               " outra cópia do programa.\n"}});
}

class CliDeclaracoes : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(executa(pasta.caminho(), {"listar"}).erro, "");
        altera([](store::Banco &b) {
            teste::ConstrutorDeclaracao(b)
                .geral()
                .modelo("Modelo A", 100.0)
                .importadoDI("Tela", 1, 30.0);
            b.executa("INSERT INTO VLME (CODIGO_VLM, PESO_BRUTO_VLM) VALUES ('', 1)");
        });
    }
    void altera(const std::function<void(store::Banco &)> &f) {
        store::Banco banco;
        banco.abre(pasta.arquivo("VLM.MDB"));
        f(banco);
    }
    void confere(const std::vector<Caso> &casos) {
        Confere(pasta.caminho(), casos, {"--pasta", pasta.caminho()});
    }
    QString arquivo(const QString &nome) { return QDir(pasta.caminho()).filePath(nome); }
    teste::PastaTeste pasta;
};

TEST_F(CliDeclaracoes, ConsultaGeraCopiaEExclui) {
    const QString linha1 =
        "1\t11.222.333/0001-81\tTelefone celular - Modelo A\tNovo\tOriginal\t-\n";
    const QString pendencias2 = "O campo CNPJ do Estabelecimento é obrigatório.\n"
                                "O campo CPF do representante é obrigatório.\n"
                                "O campo Processo Produtivo Básico é obrigatório.\n"
                                "O campo Denominação do Produto é obrigatório.\n"
                                "O campo Código NCM/SH é obrigatório.\n"
                                "O campo Unidade é obrigatório.\n"
                                "É obrigatório informar pelo menos um Modelo/Tipo/Referência.\n"
                                "É obrigatório informar pelo menos um Componente Importado.\n";
    confere({
        {{"listar"}, 0, Cabecalho + "2\t-\t\tNovo\tOriginal\t-\n" + linha1, ""},
        {{"verificar", "1"}, 0, "Nenhum erro foi detectado.\n", ""},
        {{"verificar", "2"}, 1, pendencias2, ""},
        {{"resumo", "1"},
         0,
         "CNPJ Estabelecimento: 11.222.333/0001-81\n"
         "CPF Representante Legal: 529.982.247-25\n"
         "Denominação do Produto: Telefone celular\n"
         "Custo Componentes Nacionais: US$ 0,00\n"
         "Custo Componentes Importados: US$ 30,00\n"
         "Custo Mão-de-obra: US$ 0,00\n"
         "Total: US$ 30,00\n"
         "Valor Total II  sem Redução: US$ 0,00\n"
         "Coeficiente de Redução do II: 88,00%\n"
         "Valor Total II com Redução: US$ 0,00\n",
         ""},
        {{"gerar", "2"}, 1, pendencias2, ""},
        {{"gerar", "1"},
         0,
         arquivo("Arquivos/VLME0000000001") + "\n",
         "Gerando arquivo para transmissão\nCalculando tamanho\nGerando Modelos\n"
         "Gerando Componentes Nacionais\nGerando Subcomponentes Importados\n"
         "Gerando Componentes Importados\nFinalizando arquivo\n"},
        {{"copiar", "1"},
         0,
         "3\n",
         "Copiando VLM-E\nCopiando Componentes Importados\nCopiando Componentes Nacionais\n"
         "Copiando Subcomponentes importados\nCopiando Modelos\n"},
        {{"excluir", "2"}, 0, "Declaração 2 excluída.\n", ""},
        {{"listar"},
         0,
         Cabecalho +
             "3\t11.222.333/0001-81\tCópia de Telefone celular - Modelo A\tNovo\tOriginal\t-\n" +
             linha1,
         ""},
    });
    EXPECT_TRUE(QFileInfo(arquivo("Arquivos/VLME0000000001")).size() > 0);
    for (const char *comando : {"verificar", "resumo", "gerar", "copiar", "excluir"})
        confere({{{comando, "2"}, 2, "", "A declaração 2 não existe.\n"}});

    altera([](store::Banco &b) { b.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 8"); });
    confere({{{"gerar", "1"}, 3, "", "VLM-E já transmitido. \nObtenha diagnóstico.\n"}});
}

TEST_F(CliDeclaracoes, FalhaDoBancoNoMeioNaoMudaNada) {
    altera([](store::Banco &b) {
        b.executa("CREATE TRIGGER falha BEFORE DELETE ON VLME"
                  " BEGIN SELECT RAISE(ABORT, 'falha simulada'); END");
    });
    const Execucao r = executa(pasta.caminho(), {"excluir", "1"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.saida.isEmpty());
    EXPECT_TRUE(r.erro.contains("falha simulada")) << r.erro;
    altera([](store::Banco &b) {
        EXPECT_EQ(b.escalar("SELECT count(*) FROM MODELOS").toInt(), 1);
        EXPECT_EQ(b.escalar("SELECT count(*) FROM VLME").toInt(), 2);
    });
}

TEST_F(CliDeclaracoes, Importar) {
    QFile boas(QStringLiteral(VLME_DADOS_TESTE "/importacao/duas_declaracoes.txt"));
    ASSERT_TRUE(boas.open(QIODevice::ReadOnly));
    QList<QByteArray> linhas = boas.readAll().split('\n');
    linhas[2].replace(100, 15, QByteArray(15, ' ')); // a model without its code
    QFile ruim(arquivo("ruim.txt")), estrutura(arquivo("estrutura.txt"));
    ASSERT_TRUE(ruim.open(QIODevice::WriteOnly) && ruim.write(linhas.join('\n')) > 0);
    ASSERT_TRUE(estrutura.open(QIODevice::WriteOnly) && estrutura.write("5\r\n900000002\r\n") > 0);
    ruim.close();
    estrutura.close();
    auto passo = [](const QFile &f) { return "Importando " + f.fileName() + "\n"; };
    confere({
        {{"importar", ruim.fileName()},
         1,
         "Linha 3 (reg. 1) - CÓDIGO INTERNO: Preenchimento Obrigatório.\n",
         passo(ruim)},
        {{"importar", estrutura.fileName()},
         1,
         "",
         passo(estrutura) +
             "Erro linha 1: identificador de tipo de registro inválido. Importação abortada. \n"},
        {{"importar", arquivo("nao_existe.txt")},
         3,
         "",
         "Caminho inválido (" + arquivo("nao_existe.txt") + ")\n"},
        // Numbers are never reused: 3 and 4 show the refused files stored nothing.
        {{"importar", boas.fileName()}, 0, "3\n4\n", passo(boas)},
    });
}
