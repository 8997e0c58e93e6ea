// Recording a delivery from its receipt: what is written, what is refused
// (with nothing written), and the replacement of an earlier number.

#include "checking/ListaDiagnostico.h"
#include "delivery/Entrega.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::delivery;
using namespace vlme::teste;

namespace {

class RegistroEntrega : public ::testing::Test {
  protected:
    ReciboDigitado recibo(const QString &numero, const QString &recepcao = "05/01/2024 10:15:00") {
        ReciboDigitado r;
        r.numero = numero;
        r.recepcao = recepcao;
        return r;
    }
    QString situacao(int n) {
        for (const auto &item : store::ListaDeclaracoes(banco))
            if (item.numero == n)
                return item.situacao + ' ' + item.protocolo;
        return {};
    }

    BancoTeste b;
    store::Banco &banco = b.banco();
    UsuarioRoteirizado usuario;
};

TEST_F(RegistroEntrega, GravaNumeroEReciboComOCNPJDaDeclaracao) {
    const int n = ConstrutorDeclaracao(banco).geral();
    ReciboDigitado r = recibo(" 4711 ", "05/01/2024 10:15:00");
    r.geracao = "05/01/2024 09:59:58";
    r.local = "Manaus";
    r.selo = "A1B2-C3D4";
    r.totais = "12 registros";
    const auto e = RegistraEntrega(banco, n, r, usuario);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->numero, 4711);
    EXPECT_EQ(e->numeroAnterior, 0);
    EXPECT_EQ(e->cnpj, ConstrutorDeclaracao::Cnpj);
    EXPECT_EQ(e->recepcao, QDateTime(QDate(2024, 1, 5), QTime(10, 15)));
    EXPECT_EQ(situacao(n), "Transmitido 4711");
    EXPECT_EQ(Valores(banco, "SELECT * FROM RECIBO"),
              QString::number(n) + "|11222333000181|4711|05/01/2024|09:59:58|05/01/2024|10:15:00|"
                                   "Manaus|NULL|NULL|A1B2-C3D4|NULL|12 registros");
    EXPECT_TRUE(usuario.mensagens.empty());
}

// Each refusal says what is wrong, names the field to fix and writes nothing.
TEST_F(RegistroEntrega, RecusasNaoGravamNada) {
    const int n = ConstrutorDeclaracao(banco).geral();
    const int outra = ConstrutorDeclaracao(banco).geral();
    ASSERT_TRUE(RegistraEntrega(banco, outra, recibo("500"), usuario));
    const int registrada = ConstrutorDeclaracao(banco).geral();
    ASSERT_TRUE(RegistraEntrega(banco, registrada, recibo("600"), usuario));
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100001'"
                  " WHERE NR_VLM_VLM = ?",
                  {registrada});
    const QString amanha = QDateTime::currentDateTime().addDays(1).toString("dd/MM/yyyy HH:mm:ss");
    ReciboDigitado geracaoDepois = recibo("7");
    geracaoDepois.geracao = "05/01/2024 10:15:01";
    ReciboDigitado textoLongo = recibo("7");
    textoLongo.selo = QString(256, 'x');

    struct Caso {
        int declaracao;
        ReciboDigitado recibo;
        CampoRecibo campo;
        QString mensagem; // the start of it
    };
    const Caso casos[] = {
        {n, recibo(""), CampoRecibo::Numero, "Digite o número da transmissão"},
        {n, recibo("12a"), CampoRecibo::Numero, "O número da transmissão deve ter só algarismos"},
        {n, recibo("0"), CampoRecibo::Numero, "O número da transmissão deve ter só algarismos"},
        {n, recibo("-3"), CampoRecibo::Numero, "O número da transmissão deve ter só algarismos"},
        {n, recibo("2147483648"), CampoRecibo::Numero, "O número da transmissão deve ter só"},
        {n, recibo("7", " "), CampoRecibo::Recepcao, "Digite a data e a hora da recepção"},
        {n, recibo("7", "31/02/2024 10:00:00"), CampoRecibo::Recepcao,
         "A data e a hora da recepção devem ser escritas DD/MM/AAAA HH:MM:SS"},
        {n, recibo("7", "05/01/2024"), CampoRecibo::Recepcao, "A data e a hora da recepção"},
        {n, recibo("7", amanha), CampoRecibo::Recepcao,
         "A data da recepção (" + amanha + ") é posterior ao dia e à hora de agora."},
        {n, geracaoDepois, CampoRecibo::Geracao,
         "A geração (05/01/2024 10:15:01) é posterior à recepção (05/01/2024 10:15:00)."},
        {n, textoLongo, CampoRecibo::Nenhum, "O campo \"Selo\" do recibo passa de 255"},
        {n, recibo("500"), CampoRecibo::Numero,
         QString("O número de transmissão 500 já é da declaração %1.").arg(outra)},
        // Registered, its number lives on in its receipt only.
        {n, recibo("600"), CampoRecibo::Numero,
         QString("O número de transmissão 600 já é da declaração %1.").arg(registrada)},
        {outra, recibo("500"), CampoRecibo::Numero,
         "A entrega de número 500 já está registrada nesta declaração."},
        {registrada, recibo("601"), CampoRecibo::Nenhum,
         QString("O VLM-E %1 já está registrado").arg(registrada)},
    };
    const QStringList antes = ConteudoBanco(banco);
    for (const Caso &c : casos) {
        try {
            RegistraEntrega(banco, c.declaracao, c.recibo, usuario);
            ADD_FAILURE() << "aceito: " << c.mensagem.toStdString();
        } catch (const ErroRecibo &erro) {
            EXPECT_TRUE(erro.mensagem().startsWith(c.mensagem)) << erro.mensagem();
            EXPECT_EQ(erro.campo, c.campo) << c.mensagem;
        }
    }
    EXPECT_THROW(RegistraEntrega(banco, 999, recibo("7"), usuario),
                 store::ErroDeclaracaoInexistente);
    EXPECT_EQ(ConteudoBanco(banco), antes);
    EXPECT_TRUE(usuario.mensagens.empty());
}

// Another number for a transmitted statement is asked first, Não the default;
// the earlier receipt stays. One to be sent again is not asked.
TEST_F(RegistroEntrega, TrocaDeNumeroPerguntaEGuardaORecibo) {
    const int n = ConstrutorDeclaracao(banco).geral();
    ASSERT_TRUE(RegistraEntrega(banco, n, recibo("10"), usuario));
    const QStringList antes = ConteudoBanco(banco);
    usuario.responde(base::Resposta::Nao);
    EXPECT_FALSE(RegistraEntrega(banco, n, recibo("11"), usuario));
    EXPECT_EQ(ConteudoBanco(banco), antes);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].botoes, base::Botoes::SimNaoPadraoNao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QString("O VLM-E %1 já foi transmitido com o número 10. Deseja trocar esse número "
                      "por 11 ?\r\nO recibo anterior fica guardado.")
                  .arg(n));

    usuario.responde(base::Resposta::Sim);
    const auto e = RegistraEntrega(banco, n, recibo("11"), usuario);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->numeroAnterior, 10);
    EXPECT_EQ(situacao(n), "Transmitido 11");
    EXPECT_EQ(Valores(banco, "SELECT NR_TRANSMISSAO_RECIBO FROM RECIBO ORDER BY rowid"), "10;11");
    // The diagnostic list shows the receipt of the number in force.
    EXPECT_EQ(checking::LeDiagnostico(banco, n).transmissao, "11");

    // Answered with errors: to be sent again, under a new number.
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1");
    EXPECT_TRUE(RegistraEntrega(banco, n, recibo("12"), usuario));
    EXPECT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(situacao(n), "Transmitido 12");
}

// The picker offers every statement not registered.
TEST_F(RegistroEntrega, ListaOfereceAsNaoRegistradas) {
    const int original = ConstrutorDeclaracao(banco).geral();
    const int transmitida = ConstrutorDeclaracao(banco).geral();
    const int registrada = ConstrutorDeclaracao(banco).geral();
    const int aTransmitir = ConstrutorDeclaracao(banco).geral();
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 3 WHERE NR_VLM_VLM = ?", {transmitida});
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '1' WHERE NR_VLM_VLM = ?",
                  {registrada});
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1 WHERE NR_VLM_VLM = ?", {aTransmitir});
    QList<int> numeros;
    for (const auto &item : store::ListaDeclaracoes(banco, store::FiltroLista::Entrega))
        numeros << item.numero;
    EXPECT_EQ(numeros, QList<int>({aTransmitir, transmitida, original}));
}

} // namespace
