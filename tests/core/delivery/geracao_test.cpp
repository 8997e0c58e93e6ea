// The generation run: progress and cancel, fields refused rather than cut,
// the pendency check and the already-transmitted refusal before generating,
// the delivery question and the status queries.

#include "delivery/Transmissao.h"
#include "shell/ErroVLME.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::teste;
using shell::Resposta;

namespace {

class Geracao : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir(base.pasta()).mkpath("sistema");
        transmissao.pastaSistema = sistema;
        transmissao.mostraPendencias = [this](int, const std::vector<checking::Pendencia> &p) {
            for (const auto &x : p)
                pendencias << x.texto;
        };
    }
    QString arquivoDe(int numero) { return shell::CaminhoArquivos(base.pasta(), numero); }
    // One the pendency check passes: one model, one imported component.
    int completa() {
        return ConstrutorDeclaracao(banco).geral().modelo("Modelo A", 100).importadoDI();
    }
    QString gera(int n, bool pergunta = false, int cancelaNa = 0) {
        ProgressoRoteirizado p(cancelaNa);
        delivery::Transmissao t(banco, base.pasta(), usuario, p);
        return t.GeraArquivoTransmissao(n, pergunta);
    }

    BancoTeste base;
    store::Banco &banco = base.banco();
    QString sistema = QDir(base.pasta()).filePath("sistema");
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
    delivery::Transmissao transmissao{banco, base.pasta(), usuario, progresso};
    QStringList pendencias;
};

// The message of DadosForaDoLeiauteListadosJuntos.
const QString ForaDoLeiaute =
    QString::fromStdString(LeBytes(DadoTeste("entrega/fora_do_leiaute.txt")))
        .trimmed()
        .replace('\n', "\r\n");
const QString Cabecalho = ForaDoLeiaute.section("\r\n", 0, 0) + "\r\n";

TEST_F(Geracao, ProgressoPassoAPassoComUmaUnidadePorRegistro) {
    ConstrutorDeclaracao c(banco);
    c.geral().modelo("M1", 1).modelo("M2", 2).nacional().subcomponente(1, "S", 1, 1);
    c.importadoDI().importadoNF();
    ASSERT_FALSE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    // 1 + 2 models + 1 national + 1 subcomponent + 2 imported; a unit before
    // every record, the trailer too. The steps are pinned by the vlme-cli tests.
    EXPECT_EQ(std::tuple(progresso.minimo, progresso.maximo, progresso.unidades,
                         progresso.aberturas - progresso.fechamentos, progresso.permissoes.back()),
              std::tuple(0, 7, 8, 0, true));
    EXPECT_EQ(progresso.valores, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(LeBytes(arquivoDe(c)).ends_with("\r\n900000008\r\n"));
}

// An earlier file of the statement stays as it was, whatever stops the run:
// a cancel (at a model, or at the very last unit) or a field that does not fit.
TEST_F(Geracao, InterrompidaNaoDeixaArquivoNemTocaOAnterior) {
    const int n = ConstrutorDeclaracao(banco).geral().modelo("M1", 1).modelo("M2", 2);
    EXPECT_TRUE(gera(n, true, 3).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
    EXPECT_EQ(usuario.resumos(),
              QStringList("!|Operação cancelada!|Operação cancelada pelo usuário."));
    GravaBytes(arquivoDe(n), "anterior\r\n");
    EXPECT_TRUE(gera(n, false, 4).isEmpty());

    usuario.mensagens.clear();
    banco.executa("UPDATE MODELOS SET TX_DESCRICAO_MODELOS = ? WHERE NR_SQ_MODELOS = 1",
                  {QString(81, 'd')});
    EXPECT_TRUE(gera(n, true).isEmpty());
    EXPECT_EQ(usuario.resumos(),
              QStringList(Cabecalho + "\r\nRegistro 1 (modelo 1), campo \"Descrição\": o texto "
                                      "tem 81 caracteres e o campo comporta 80."));
    EXPECT_EQ(LeBytes(arquivoDe(n)), "anterior\r\n");
    EXPECT_EQ(QDir(base.pasta() + "/Arquivos").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// Every problem of the statement in one message, each naming its record
// and field; nothing written.
TEST_F(Geracao, DadosForaDoLeiauteListadosJuntos) {
    ConstrutorDeclaracao c(banco);
    c.geral([](store::DadosGerais &d) {
        d.unidade = "5 €";
        d.salarios = 10000000000000.0; // 14 integer digits, 13 fit
        d.retificador = d.substitutivo = true;
    });
    c.modelo("M", 1).nacional().importadoDI();
    for (const char *sql :
         {"UPDATE MODELOS SET PRECO_VENDA_MODELOS = -1.5",
          "UPDATE COMPONENTES_NACIONAIS SET TX_DESCRICAO_NACIONAL = 'linha 1' || char(10)",
          "UPDATE COMPONENTES_IMPORTADOS SET NCM_IMPORTADO = '8517.12',"
          " IN_COM_SUSP_IMPORTADO = 2",
          "UPDATE DI SET NR_DI_DI = '12345678901'", "UPDATE NF SET DATA_EMISSAO_NF = '31/02/2023'"})
        banco.executa(sql);

    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(c)));
    EXPECT_EQ(usuario.resumos(), QStringList(ForaDoLeiaute));

    // A subcomponent whose national component is gone would be a subcomponent of nothing.
    const int s =
        ConstrutorDeclaracao(banco).geral().modelo("M", 1).nacional().subcomponente(1, "S", 1, 1);
    banco.executa("DELETE FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?", {s});
    usuario.mensagens.clear();
    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(s, false).isEmpty());
    EXPECT_TRUE(usuario.textos().value(0).endsWith(
        "\r\nRegistro 3 (subcomponente importado 1), campo \"Componente nacional\": o componente "
        "nacional 1, a que pertence, não existe."))
        << usuario.textos().value(0);
}

TEST_F(Geracao, DeclaracaoInexistente) {
    EXPECT_THROW(transmissao.GeraArquivoTransmissao(999, false), shell::ErroVLME);
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(999));
    EXPECT_EQ(progresso.aberturas, 0);
}

TEST_F(Geracao, PerguntaDeEntregaConformeOEnviador) {
    const int n = completa();
    const auto gera = [&](Resposta r) {
        usuario.mensagens.clear();
        usuario.responde(r);
        EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
        return usuario.resumos();
    };
    QDir(base.pasta()).mkpath("enviador");
    GravaBytes(sistema + "/enviador.ini",
               "[Enviador]\r\nPath=" + base.pasta().toStdString() + "/enviador\r\n");
    GravaBytes(base.pasta() + "/enviador/NUCLEO.DLL", "");
    const QString pergunta =
        "?|Transmitir|O demonstrativo foi gerado com sucesso. Deseja entregá-lo "
        "via internet agora ?|SimNao";
    EXPECT_EQ(gera(Resposta::Nao), QStringList(pergunta));
    EXPECT_EQ(gera(Resposta::Sim), QStringList(pergunta)); // then generated again, verified
    EXPECT_EQ(progresso.aberturas, 3);
    // Yes on a statement the check refuses: not delivered.
    banco.executa("UPDATE VLME SET PPB_VLM = 'ab' WHERE NR_VLM_VLM = ?", {n});
    EXPECT_EQ(gera(Resposta::Sim),
              QStringList({pergunta, "-|ATENÇÃO|O demonstrativo não foi transmitido."}));
    EXPECT_EQ(pendencias.size(), 1);
}

TEST_F(Geracao, SoSemPendenciasENuncaJaTransmitido) {
    const int semModelo = ConstrutorDeclaracao(banco).geral().importadoDI();
    const int n = completa();
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(semModelo));
    EXPECT_EQ(progresso.aberturas, 0);
    EXPECT_TRUE(transmissao.GeraArquivoVerificado(n));
    EXPECT_EQ(transmissao.ultimoArquivo(), arquivoDe(n));
    EXPECT_FALSE(QFile::exists(arquivoDe(semModelo)));
    EXPECT_TRUE(usuario.mensagens.empty()); // no delivery question, no success message
    QFile::remove(arquivoDe(n));

    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 57");
    // The pendencies come before the refusal.
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(semModelo).isEmpty());
    EXPECT_EQ(pendencias.size(), 2);
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_EQ(usuario.textos(), QStringList("VLM-E já transmitido. \r\nObtenha diagnóstico."));
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100001'");
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
}

TEST_F(Geracao, ConsultasDeSituacao) {
    const int n = ConstrutorDeclaracao(banco);
    const auto situacao = [&](int nr) {
        return QString("%1%2%3%4%5")
            .arg(delivery::NaoTransmitido(banco, nr))
            .arg(delivery::Transmitido(banco, nr))
            .arg(delivery::TransmissaoMarcada(banco, nr))
            .arg(delivery::Registrado(banco, nr))
            .arg(delivery::TemAvisos(banco, nr));
    };
    for (const auto &[sql, esperado] :
         {std::pair{"SELECT 1", "10000"},
          {"UPDATE VLME SET NR_TRANSMISSAO_VLM = 12", "01000"},
          {"UPDATE VLME SET NR_TRANSMISSAO_VLM = -1", "00100"},
          {"UPDATE VLME SET CODIGO_VLM = '200100001'", "00110"},
          {"INSERT INTO ERRO (NR_VLM_ERRO, TIPO_ERRO) VALUES (1, '1')", "00110"},
          {"INSERT INTO ERRO (NR_VLM_ERRO, TIPO_ERRO) VALUES (1, '3')", "00111"}}) {
        banco.executa(sql);
        EXPECT_EQ(situacao(n), esperado) << sql;
    }
    EXPECT_EQ(situacao(999), "00000");
}

} // namespace
