// Recording a delivery from its receipt: what is written, what is refused
// (with nothing written), the replacement of an earlier number, the file it
// needs generated, and a delivery undone.

#include "checking/ListaDiagnostico.h"
#include "delivery/Entrega.h"
#include "delivery/Transmissao.h"
#include "shell/Pastas.h"
#include "store/Controle.h"
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
    // Its delivery file generated, as the program does it.
    QString gera(int n) {
        base::ProgressoMudo mudo;
        return Transmissao(banco, base.pasta(), usuario, mudo).GeraArquivoTransmissao(n, false);
    }
    // A statement whose file is generated.
    int gerada() {
        const int n = ConstrutorDeclaracao(banco).geral();
        gera(n);
        return n;
    }
    std::optional<EntregaRegistrada> registra(int n, const ReciboDigitado &r) {
        return RegistraEntrega(banco, base.pasta(), n, r, usuario);
    }

    UsuarioRoteirizado usuario;
};

TEST_F(RegistroEntrega, GravaNumeroEReciboComOCNPJDaDeclaracao) {
    const int n = gerada();
    ReciboDigitado r = recibo(" 4711 ", "05/01/2024 10:15:00");
    r.geracao = "05/01/2024 09:59:58";
    r.local = "Manaus";
    r.selo = "A1B2-C3D4";
    r.totais = "12 registros";
    const auto e = registra(n, r);
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
    const int outra = gerada();
    ASSERT_TRUE(registra(outra, recibo("500")));
    const int registrada = gerada();
    ASSERT_TRUE(registra(registrada, recibo("600")));
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
            registra(c[0] == "n" ? n : c[0] == "outra" ? outra : registrada, r);
            ADD_FAILURE() << "aceito: " << c.join('|');
        } catch (const ErroRecibo &erro) {
            EXPECT_TRUE(erro.mensagem().startsWith(c[6])) << erro.mensagem() << " | " << c[6];
            EXPECT_EQ(int(erro.campo), c[5].toInt()) << c[6];
        }
    }
    EXPECT_THROW(registra(999, recibo("7")), store::ErroDeclaracaoInexistente);
    EXPECT_EQ(ConteudoBanco(banco), antes);
    EXPECT_TRUE(usuario.mensagens.empty());
}

// Another number for a transmitted statement is asked first, Não the default;
// the earlier receipt stays. One to be sent again is not asked.
TEST_F(RegistroEntrega, TrocaDeNumeroPerguntaEGuardaORecibo) {
    const int n = gerada();
    ASSERT_TRUE(registra(n, recibo("10")));
    const QStringList antes = ConteudoBanco(banco);
    usuario.responde(base::Resposta::Nao);
    EXPECT_FALSE(registra(n, recibo("11")));
    EXPECT_EQ(ConteudoBanco(banco), antes);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].botoes, base::Botoes::SimNaoPadraoNao);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QString("O VLM-E %1 já foi transmitido com o número 10. Deseja trocar esse número "
                      "por 11 ?\r\nO recibo anterior fica guardado.")
                  .arg(n));

    usuario.responde(base::Resposta::Sim);
    const auto e = registra(n, recibo("11"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->numeroAnterior, 10);
    EXPECT_EQ(situacao(n), "Transmitido 11");
    EXPECT_EQ(Valores(banco, "SELECT NR_TRANSMISSAO_RECIBO FROM RECIBO ORDER BY rowid"), "10;11");
    // The diagnostic list shows the receipt of the number in force.
    EXPECT_EQ(checking::LeDiagnostico(banco, n).transmissao, "11");

    // Answered with errors: to be sent again, under a new number.
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1");
    EXPECT_TRUE(registra(n, recibo("12")));
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

// A first delivery only for a statement whose generated file shows it as it
// is: each state prepared on a fresh statement, then what the registration
// does with it (nothing written when refused or declined).
TEST_F(RegistroEntrega, SoRegistraOArquivoGeradoDaDeclaracaoComoEla) {
    // Each state made by its steps: g generated, r generated and the file
    // removed, s generated before the record existed, a saved unchanged, A
    // changed, f a generation whose file could not be written.
    const auto prepara = [&](int n, const QString &passos) {
        for (const QChar p : passos) {
            if (p == 'f') {
                QDir().mkpath(shell::CaminhoArquivos(base.pasta(), n) + "/ocupado");
                EXPECT_THROW(gera(n), ErroEntrega);
            } else if (p == 'a' || p == 'A') {
                store::Alteracao alteracao(banco, n, QStringLiteral("Dados gerais"));
                if (p == 'A')
                    banco.executa("UPDATE VLME SET PPB_VLM = 'Outro' WHERE NR_VLM_VLM = ?", {n});
                alteracao.confirma();
            } else {
                const QString arquivo = gera(n);
                if (p == 'r')
                    QFile::remove(arquivo);
                if (p == 's')
                    banco.executa("UPDATE CONTROLE SET NR_VERSAO_GERACAO_CONTROLE = NULL,"
                                  " DT_GERACAO_CONTROLE = NULL WHERE NR_VLM_CONTROLE = ?",
                                  {n});
            }
        }
    };
    const struct {
        const char *caso, *passos;
        Geracao esperada;
    } casos[] = {{"nunca gerada", "", Geracao::Ausente},
                 {"gerada", "g", Geracao::Atual},
                 {"gravada sem mudar nada", "ga", Geracao::Atual},
                 {"alterada depois", "gA", Geracao::Alterada},
                 {"arquivo apagado e gravada", "ra", Geracao::Alterada},
                 {"arquivo de antes do registro", "s", Geracao::SemRegistro},
                 {"arquivo de antes, alterada", "sA", Geracao::Alterada},
                 {"gravação que falhou: nenhuma geração", "f", Geracao::Ausente}};
    for (const auto &c : casos) {
        SCOPED_TRACE(c.caso);
        const int n = ConstrutorDeclaracao(banco).geral();
        prepara(n, c.passos);
        EXPECT_EQ(SituacaoGeracao(banco, base.pasta(), n), c.esperada);
        const QStringList antes = ConteudoBanco(banco);
        usuario.mensagens.clear();
        if (c.esperada == Geracao::SemRegistro)
            usuario.responde(base::Resposta::Nao);
        try {
            const bool registrou = registra(n, recibo(QString::number(100 + n))).has_value();
            EXPECT_EQ(registrou, c.esperada == Geracao::Atual);
        } catch (const ErroSemGeracao &erro) {
            EXPECT_TRUE(c.esperada == Geracao::Ausente || c.esperada == Geracao::Alterada);
            EXPECT_TRUE(erro.mensagem().startsWith(c.esperada == Geracao::Ausente
                                                       ? "Gere o arquivo de entrega desta "
                                                         "declaração antes de registrar a entrega"
                                                       : "A declaração"))
                << erro.mensagem();
        }
        if (c.esperada != Geracao::Atual) {
            EXPECT_EQ(ConteudoBanco(banco), antes);
        }
        EXPECT_EQ(usuario.mensagens.size(), c.esperada == Geracao::SemRegistro ? 1u : 0u);
    }
    // Sim to the file from before: recorded.
    const int n = ConstrutorDeclaracao(banco).geral();
    prepara(n, "s");
    usuario.responde(base::Resposta::Sim);
    EXPECT_TRUE(registra(n, recibo("99")));
    EXPECT_EQ(usuario.mensagens.back().botoes, base::Botoes::SimNaoPadraoNao);
}

// Undone: the receipt in force goes, the statement is generated and not
// transmitted again, and the file it had still counts. Asked first, Não the
// default; a statement registered or not transmitted says why it cannot be.
TEST_F(RegistroEntrega, DesfazerVoltaAGeradaNaoTransmitida) {
    const int n = gerada();
    const QString original = situacao(n);
    const auto recusa = [&](const QString &inicio) {
        const QStringList antes = ConteudoBanco(banco);
        const QString m = MensagemDoErro<ErroRecibo>([&] { DesfazEntrega(banco, n, &usuario); });
        EXPECT_TRUE(m.startsWith(inicio)) << m;
        EXPECT_EQ(ConteudoBanco(banco), antes);
    };
    recusa("A declaração");
    ASSERT_TRUE(registra(n, recibo("10")));
    usuario.responde(base::Resposta::Sim);
    ASSERT_TRUE(registra(n, recibo("11")));
    const QStringList transmitida = ConteudoBanco(banco);
    usuario.mensagens.clear();
    usuario.responde(base::Resposta::Nao);
    EXPECT_EQ(DesfazEntrega(banco, n, &usuario), 0);
    EXPECT_EQ(ConteudoBanco(banco), transmitida);
    ASSERT_EQ(usuario.resumos(),
              QStringList(QString("?|Desfazer Registro de Entrega|Deseja desfazer o registro da "
                                  "entrega da declaração %1, transmissão número 11 ?\r\nO recibo "
                                  "desse número é apagado e a declaração volta a ser gerada, não "
                                  "transmitida.|SimNaoPadraoNao")
                              .arg(n)));

    usuario.responde(base::Resposta::Sim);
    const qint64 versao = store::LeEstado(banco, n)->versao;
    EXPECT_EQ(DesfazEntrega(banco, n, &usuario), 11);
    EXPECT_EQ(situacao(n), original);
    EXPECT_EQ(Valores(banco, "SELECT NR_TRANSMISSAO_RECIBO FROM RECIBO"), "10");
    EXPECT_EQ(store::LeEstado(banco, n)->versao, versao + 1);
    EXPECT_EQ(SituacaoGeracao(banco, base.pasta(), n), Geracao::Atual);
    ASSERT_TRUE(registra(n, recibo("12")));
    // Each step in the history, the refusals in none.
    EXPECT_EQ(Valores(banco, "SELECT TX_EVENTO_HISTORICO || ' ' || TX_DETALHE_HISTORICO"
                             " FROM HISTORICO ORDER BY NR_HISTORICO"),
              QString("gerada %1;registrada Número 10;registrada Número 11 (no lugar de 10);"
                      "registro_desfeito Número 11;registrada Número 12")
                  .arg(QFileInfo(shell::CaminhoArquivos(base.pasta(), n)).fileName()));

    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100001'");
    recusa(QString("O VLM-E %1 já foi registrado pelo diagnóstico").arg(n));
}

} // namespace
