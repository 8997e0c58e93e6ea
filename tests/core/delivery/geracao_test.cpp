// The generation run: progress and cancel, fields refused rather than cut,
// the pendency check and the already-transmitted refusal before generating,
// the delivery question and the status queries.

#include "delivery/Transmissao.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ApoioEntrega.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::teste;
using shell::Icone;
using shell::Resposta;

namespace {

class Geracao : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(base.pasta()).mkpath(QStringLiteral("sistema"));
        transmissao.pastaSistema = sistema();
        transmissao.mostraPendencias = [this](int, const std::vector<checking::Pendencia> &p) {
            for (const auto &x : p)
                pendenciasMostradas << x.texto;
        };
    }
    QString sistema() const { return QDir(base.pasta()).filePath(QStringLiteral("sistema")); }
    QString arquivoDe(int numero) { return shell::CaminhoArquivos(base.pasta(), numero); }
    // A statement the pendency check passes: one model, one imported component.
    int completa()
    {
        return ConstrutorDeclaracao(base.banco()).geral().modelo(QStringLiteral("Modelo A"), 100)
            .importadoDI();
    }
    void instalaEnviador()
    {
        QDir(base.pasta()).mkpath(QStringLiteral("enviador"));
        QFile ini(QDir(sistema()).filePath(QStringLiteral("enviador.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Enviador]\r\nPath=" +
                  QDir(base.pasta()).filePath(QStringLiteral("enviador")).toUtf8() + "\r\n");
        QFile dll(QDir(base.pasta()).filePath(QStringLiteral("enviador/NUCLEO.DLL")));
        ASSERT_TRUE(dll.open(QIODevice::WriteOnly));
    }
    void escreve(const QString &caminho, const QByteArray &bytes)
    {
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    BancoTeste base;
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
    delivery::Transmissao transmissao{base.banco(), base.pasta(), usuario, progresso};
    QStringList pendenciasMostradas;
};

const QString Cabecalho = QStringLiteral(
    "O arquivo para transmissão não foi gerado: há dados que não cabem no leiaute do arquivo. "
    "Corrija-os e gere o arquivo novamente.\r\n");

} // namespace

TEST_F(Geracao, ProgressoPassoAPassoComUmaUnidadePorRegistro)
{
    ConstrutorDeclaracao c(base.banco());
    c.geral().modelo(QStringLiteral("M1"), 1).modelo(QStringLiteral("M2"), 2).nacional();
    c.subcomponente(1, QStringLiteral("S"), 1, 1).importadoDI().importadoNF();
    ASSERT_FALSE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    EXPECT_EQ(progresso.passos,
              (QStringList{QStringLiteral("Gerando arquivo para transmissão"),
                           QStringLiteral("Calculando tamanho"), QStringLiteral("Gerando Modelos"),
                           QStringLiteral("Gerando Componentes Nacionais"),
                           QStringLiteral("Gerando Subcomponentes Importados"),
                           QStringLiteral("Gerando Componentes Importados"),
                           QStringLiteral("Finalizando arquivo")}));
    // 1 + 2 models + 1 national + 1 subcomponent + 2 imported.
    EXPECT_EQ(progresso.minimo, 0);
    EXPECT_EQ(progresso.maximo, 7);
    EXPECT_EQ(progresso.valores, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(progresso.unidades, 8); // before every record, the trailer too
    EXPECT_TRUE(progresso.permite);
    EXPECT_FALSE(progresso.aberto);
    EXPECT_TRUE(LeBytes(arquivoDe(c)).ends_with("\r\n900000008\r\n"));
}

TEST_F(Geracao, CancelarNoMeioNaoDeixaArquivoNemTocaOAnterior)
{
    const int n = ConstrutorDeclaracao(base.banco())
                      .geral()
                      .modelo(QStringLiteral("M1"), 1)
                      .modelo(QStringLiteral("M2"), 2);
    ProgressoRoteirizado cancela(3); // record 0, model 1, then cancel at model 2
    delivery::Transmissao t(base.banco(), base.pasta(), usuario, cancela);
    EXPECT_TRUE(t.GeraArquivoTransmissao(n, true).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Operação cancelada!"));
    EXPECT_EQ(usuario.mensagens[0].texto, QStringLiteral("Operação cancelada pelo usuário."));
    EXPECT_EQ(usuario.mensagens[0].icone, Icone::Exclamacao);
    EXPECT_FALSE(cancela.aberto);
    EXPECT_TRUE(t.ultimoArquivo().isEmpty());

    // An earlier file of the statement stays as it was, even when the cancel
    // comes at the very last unit (the trailer).
    escreve(arquivoDe(n), "arquivo anterior\r\n");
    ProgressoRoteirizado noFim(4);
    delivery::Transmissao t2(base.banco(), base.pasta(), usuario, noFim);
    EXPECT_TRUE(t2.GeraArquivoTransmissao(n, false).isEmpty());
    EXPECT_EQ(LeBytes(arquivoDe(n)), "arquivo anterior\r\n");
    EXPECT_EQ(QDir(QFileInfo(arquivoDe(n)).absolutePath()).entryList(QDir::Files).size(), 1);
}

TEST_F(Geracao, CampoLongoDemaisRecusadoComRegistroECampo)
{
    const int n = ConstrutorDeclaracao(base.banco()).geral().modelo(QStringLiteral("M"), 1);
    base.banco().executa(QStringLiteral("UPDATE MODELOS SET TX_DESCRICAO_MODELOS = ?"),
                         {QString(81, QLatin1Char('d'))});
    escreve(arquivoDe(n), "anterior");
    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(n, true).isEmpty());
    EXPECT_EQ(LeBytes(arquivoDe(n)), "anterior");
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("ATENÇÃO"));
    EXPECT_EQ(usuario.mensagens[0].icone, Icone::Exclamacao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              Cabecalho + QStringLiteral("\r\nRegistro 1 (modelo 1), campo \"Descrição\": o texto "
                                         "tem 81 caracteres e o campo comporta 80."));
}

// Every problem of the statement in one message, each naming its record
// and field; nothing written.
TEST_F(Geracao, DadosForaDoLeiauteListadosJuntos)
{
    ConstrutorDeclaracao c(base.banco());
    c.geral([](store::DadosGerais &d) {
        d.unidade = QStringLiteral("5 €");
        d.salarios = 10000000000000.0; // 14 integer digits, 13 fit
        d.retificador = true;
        d.substitutivo = true;
    });
    c.modelo(QStringLiteral("M"), 1).nacional().importadoDI();
    auto &banco = base.banco();
    banco.executa(QStringLiteral("UPDATE MODELOS SET PRECO_VENDA_MODELOS = -1.5"));
    banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET TX_DESCRICAO_NACIONAL = ?"),
                  {QStringLiteral("linha 1\nlinha 2")});
    banco.executa(QStringLiteral("UPDATE COMPONENTES_IMPORTADOS SET NCM_IMPORTADO = '8517.12'"));
    banco.executa(QStringLiteral("UPDATE DI SET NR_DI_DI = '12345678901'"));
    banco.executa(QStringLiteral("UPDATE NF SET DATA_EMISSAO_NF = '31/02/2023'"));
    banco.executa(QStringLiteral("UPDATE COMPONENTES_IMPORTADOS SET IN_COM_SUSP_IMPORTADO = 2"));

    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(c)));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto,
              Cabecalho +
                  QStringLiteral(
                      "\r\nRegistro 0 (dados gerais), campo \"Unidade\": o caractere \"€\" "
                      "(U+20AC) não existe no conjunto de caracteres do arquivo (ISO-8859-1); "
                      "troque-o por outro."
                      "\r\nRegistro 0 (dados gerais), campo \"Salários\": o valor "
                      "10000000000000,00 não cabe nos 15 dígitos do campo (13 inteiros e 2 "
                      "decimais)."
                      "\r\nRegistro 0 (dados gerais), campo \"Retificador / Substitutivo\": a "
                      "declaração está marcada como retificadora e também como substitutiva; ela "
                      "só pode ser uma das duas."
                      "\r\nRegistro 1 (modelo 1), campo \"Preço de venda\": o valor -1,50 é "
                      "negativo; o arquivo só comporta valores positivos."
                      "\r\nRegistro 2 (componente nacional 1), campo \"Data de emissão da nota "
                      "fiscal\": a data \"31/02/2023\" não é válida."
                      "\r\nRegistro 2 (componente nacional 1), campo \"Descrição\": o texto "
                      "contém um caractere de controle (U+000A)."
                      "\r\nRegistro 4 (componente importado 1), campo \"Com suspensão do II\": o "
                      "indicador vale \"2\"; só 0 e 1 são aceitos."
                      "\r\nRegistro 4 (componente importado 1), campo \"Número da DI\": o número "
                      "12345678901 tem mais dígitos do que os 10 do campo."
                      "\r\nRegistro 4 (componente importado 1), campo \"NCM\": o conteúdo "
                      "\"8517.12\" não é um número."));
}

// A subcomponent whose national component or imported row is gone would be
// a subcomponent of nothing.
TEST_F(Geracao, SubcomponenteSemComponenteRecusado)
{
    ConstrutorDeclaracao c(base.banco());
    c.geral().modelo(QStringLiteral("M"), 1).nacional().subcomponente(1, QStringLiteral("S"), 1, 1);
    base.banco().executa(QStringLiteral("DELETE FROM COMPONENTES_NACIONAIS"));
    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.mensagens[0].texto.endsWith(
        QStringLiteral("\r\nRegistro 3 (subcomponente importado 1), campo \"Componente "
                       "nacional\": o componente nacional 1, a que pertence, não existe.")))
        << usuario.mensagens[0].texto;
}

TEST_F(Geracao, DeclaracaoInexistenteEFalha)
{
    EXPECT_THROW(transmissao.GeraArquivoTransmissao(999, false), delivery::ErroEntrega);
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(999));
    EXPECT_EQ(progresso.aberturas, 0);
}

TEST_F(Geracao, PerguntaDeEntregaConformeOEnviador)
{
    const int n = completa();
    // Not installed: success, but the delivery program is needed.
    EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Sucesso"));
    EXPECT_EQ(usuario.mensagens[0].icone, Icone::Informacao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("O demonstrativo foi gerado com sucesso. Porém, para entregá-lo via "
                             "internet, é necessário que o programa Enviador esteja instalado em "
                             "seu computador. Instale-o e repita esta operação novamente."));

    // Installed: the question; No ends there.
    instalaEnviador();
    usuario.mensagens.clear();
    usuario.responde(Resposta::Nao);
    EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Transmitir"));
    EXPECT_EQ(usuario.mensagens[0].icone, Icone::Pergunta);
    EXPECT_EQ(usuario.mensagens[0].botoes, shell::Botoes::SimNao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("O demonstrativo foi gerado com sucesso. Deseja entregá-lo via "
                             "internet agora ?"));

    // Yes runs the verified generation, which writes the file again.
    usuario.mensagens.clear();
    usuario.responde(Resposta::Sim);
    EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
    EXPECT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(progresso.aberturas, 4);

    // Yes on a statement the check refuses: not delivered.
    base.banco().executa(QStringLiteral("UPDATE VLME SET PPB_VLM = 'ab' WHERE NR_VLM_VLM = ?"), {n});
    usuario.mensagens.clear();
    usuario.responde(Resposta::Sim);
    EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[1].titulo, QStringLiteral("ATENÇÃO"));
    EXPECT_EQ(usuario.mensagens[1].texto, QStringLiteral("O demonstrativo não foi transmitido."));
    EXPECT_EQ(pendenciasMostradas.size(), 1);
}

TEST_F(Geracao, VerificadaSoGeraSemPendencias)
{
    const int semModelo = ConstrutorDeclaracao(base.banco()).geral().importadoDI();
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(semModelo));
    EXPECT_FALSE(QFile::exists(arquivoDe(semModelo)));
    EXPECT_EQ(pendenciasMostradas.size(), 1);
    EXPECT_EQ(progresso.aberturas, 0);

    const int n = completa();
    EXPECT_TRUE(transmissao.GeraArquivoVerificado(n));
    EXPECT_EQ(transmissao.ultimoArquivo(), arquivoDe(n));
    EXPECT_TRUE(QFile::exists(arquivoDe(n)));
    EXPECT_TRUE(usuario.mensagens.empty()); // no delivery question, no success message
}

TEST_F(Geracao, JaTransmitidoOuRegistradoNaoGeraDeNovo)
{
    const int n = completa();
    base.banco().executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = 57"));
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("VLM-E já transmitido. \r\nObtenha diagnóstico."));
    EXPECT_EQ(usuario.mensagens[0].icone, Icone::Informacao);

    base.banco().executa(
        QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100001'"));
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));

    // To be transmitted again: generated, with the delivery question's
    // alternative when the delivery program is missing.
    base.banco().executa(QStringLiteral("UPDATE VLME SET CODIGO_VLM = ''"));
    usuario.mensagens.clear();
    EXPECT_EQ(transmissao.GeraArquivoSelecionado(n), arquivoDe(n));
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Sucesso"));
}

TEST_F(Geracao, PendenciasAntesDaRecusaDeTransmitido)
{
    const int n = ConstrutorDeclaracao(base.banco()).geral().importadoDI();
    base.banco().executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = 57"));
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_EQ(pendenciasMostradas.size(), 1);
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Geracao, ConsultasDeSituacao)
{
    auto &banco = base.banco();
    const int n = ConstrutorDeclaracao(banco);
    const auto situacao = [&] {
        return std::vector<bool>{delivery::NaoTransmitido(banco, n), delivery::Transmitido(banco, n),
                                 delivery::TransmissaoMarcada(banco, n),
                                 delivery::Registrado(banco, n), delivery::TemAvisos(banco, n)};
    };
    EXPECT_EQ(situacao(), (std::vector<bool>{true, false, false, false, false}));
    banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = 12"));
    EXPECT_EQ(situacao(), (std::vector<bool>{false, true, false, false, false}));
    banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1"));
    EXPECT_EQ(situacao(), (std::vector<bool>{false, false, true, false, false}));
    banco.executa(QStringLiteral("UPDATE VLME SET CODIGO_VLM = '200100001'"));
    banco.executa(QStringLiteral("INSERT INTO ERRO (NR_VLM_ERRO, TIPO_ERRO) VALUES (?, '1')"), {n});
    EXPECT_EQ(situacao(), (std::vector<bool>{false, false, true, true, false}));
    banco.executa(QStringLiteral("INSERT INTO ERRO (NR_VLM_ERRO, TIPO_ERRO) VALUES (?, '3')"), {n});
    EXPECT_TRUE(delivery::TemAvisos(banco, n));
    EXPECT_FALSE(delivery::TemAvisos(banco, n + 1));

    for (bool b : {delivery::NaoTransmitido(banco, 999), delivery::Transmitido(banco, 999),
                   delivery::TransmissaoMarcada(banco, 999), delivery::Registrado(banco, 999)})
        EXPECT_FALSE(b);
}
