// Recording a delivery from its receipt: what is written, what is refused
// (with nothing written), and the replacement of an earlier number.

#include "checking/ListaDiagnostico.h"
#include "delivery/Entrega.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::delivery;
using namespace vlme::teste;

namespace {

class RegistroEntrega : public ComBanco {
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
    EXPECT_EQ(ConteudoTabela(banco, "RECIBO"),
              QStringList("RECIBO:" + QString::number(n) +
                          "|'11222333000181'|4711|'05/01/2024'|'09:59:58'|'05/01/2024'|'10:15:00'|"
                          "'Manaus'|NULL|NULL|'A1B2-C3D4'|NULL|'12 registros'"));
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
    const QStringList antes = ConteudoBanco(banco);
    for (QStringList c : Casos("recusas_recibo.tsv")) {
        c.replaceInStrings("{amanha}", amanha).replaceInStrings("{256x}", QString(256, 'x'));
        c.replaceInStrings("{outra}", QString::number(outra));
        c.replaceInStrings("{registrada}", QString::number(registrada));
        ReciboDigitado r = c[2].isEmpty() ? recibo(c[1]) : recibo(c[1], c[2]);
        r.geracao = c[3];
        r.selo = c[4];
        try {
            RegistraEntrega(banco,
                            c[0] == "n"       ? n
                            : c[0] == "outra" ? outra
                                              : registrada,
                            r, usuario);
            ADD_FAILURE() << "aceito: " << c.join('|');
        } catch (const ErroRecibo &erro) {
            EXPECT_TRUE(erro.mensagem().startsWith(c[6])) << erro.mensagem() << " | " << c[6];
            EXPECT_EQ(int(erro.campo), c[5].toInt()) << c[6];
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
