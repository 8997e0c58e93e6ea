// Moving a data folder to the team database: old -> new numbers, the same
// rows and delivery bytes on the server, nothing copied twice, a statement
// changed since its copy told, a failure keeping nothing of its statement.
// Always on the test server (skipped without one), so only in the file run.

#include "backup/Migracao.h"
#include "delivery/Declaracao.h"
#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "store/CopiaExclusao.h"
#include "store/Historico.h"
#include "store/Importacoes.h"
#include "support/ServidorTeste.h"
#include "support/Teste.h"

#include <QCryptographicHash>
#include <QJsonDocument>

using namespace vlme;

namespace {

class Migracao : public teste::ComBanco {
  protected:
    store::Banco servidor;
    QString url;
    teste::ProgressoRoteirizado progresso;

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("VLME_TESTE_URL"))
            GTEST_SKIP() << "sem servidor de teste (VLME_TESTE_URL)";
        url = teste::NovoEsquemaServidor();
        servidor.abreServidor(url);
        // One statement already there, so the numbers change.
        teste::ConstrutorDeclaracao(servidor).geral();
        teste::ConstrutorDeclaracao(banco)
            .geral()
            .modelo("Modelo A", 999.9)
            .nacional("Placa", 2, 50);
        const int b = teste::ConstrutorDeclaracao(banco)
                          .geral()
                          .modelo("Modelo B", 10)
                          .importadoDI("Tela", 1, 30, 16)
                          .importadoNF("Antena", 3, 1.5)
                          .subcomponente(1, "Chip", 4, 2);
        // A receipt, diagnostic rows, a long name, and a third statement.
        teste::ValoresDoArquivo(banco, "backup/extras.sql", b);
        banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 77, CODIGO_VLM = '200100123'"
                      " WHERE NR_VLM_VLM = ?",
                      {b});
        for (store::Banco *bd : {&banco, &servidor})
            bd->executa("INSERT INTO NCM_ITEM VALUES ('85171231', ?, 'UN')",
                        {bd == &banco ? "Telefones" : "Do servidor"});
        banco.executa("INSERT INTO NCM_ITEM VALUES ('01012100', 'Cavalos', 'UN')");
        banco.executa("INSERT INTO UNIDADE_MEDIDA VALUES ('KG', 'Quilograma')");
    }
    // Every row of statement `n` but its keys and product name, and its delivery bytes.
    QStringList Declaracao(store::Banco &bd, int n) {
        QStringList r = teste::ValoresDoArquivo(bd, "store/retrato_declaracao.sql", n) +
                        teste::ValoresDoArquivo(bd, "backup/declaracao.sql", n);
        QStringList problemas;
        delivery::Enviador e;
        if (auto d = delivery::MontaDeclaracao(bd, n, progresso, problemas))
            e.Declaracao = std::move(*d);
        r << QString::fromLatin1(e.conteudoArquivo()) << problemas;
        return r;
    }
    static QString Pares(const QList<backup::Movida> &l) {
        return teste::Mapeia(l, [](auto &m) { return QString("%1>%2").arg(m.antigo).arg(m.novo); })
            .join(' ');
    }
};

TEST_F(Migracao, TresDeclaracoesUmaVezComOsMesmosDadosEAsTabelasSemSubstituir) {
    {
        store::Transacao t(banco);
        store::RegistraHistorico(banco, 1, store::Evento::Gravada, "Dados gerais");
        t.confirma();
    }
    const backup::ResultadoMigracao r = backup::Migra(banco, servidor, progresso);
    EXPECT_EQ(Pares(r.migradas), "1>2 2>3 3>4");
    // The history goes along; the file says where each statement went.
    const auto historico = [](store::Banco &bd, int n) {
        return teste::Valores(bd,
                              "SELECT TX_EVENTO_HISTORICO || ' ' || TX_DETALHE_HISTORICO FROM"
                              " HISTORICO WHERE NR_VLM_HISTORICO = ? ORDER BY NR_HISTORICO",
                              {n});
    };
    EXPECT_EQ(
        historico(servidor, 2),
        QString("gravada Dados gerais;criada Trazida pelo migrar do arquivo %1 (declaração 1)")
            .arg(QDir::toNativeSeparators(banco.caminho())));
    EXPECT_EQ(historico(banco, 1),
              "gravada Dados gerais;migrada " + servidor.descricao() + ", como declaração 2");
    EXPECT_EQ(backup::TextoMigracao(r),
              "1 -> 2\n2 -> 3\n3 -> 4\nCódigos incluídos no servidor: 1 da tabela NCM, 1 da "
              "tabela de unidades de medida.\n");
    EXPECT_TRUE(Declaracao(banco, 1).join("").contains("Modelo A"));
    for (const backup::Movida &m : r.migradas)
        EXPECT_EQ(Declaracao(servidor, m.novo), Declaracao(banco, m.antigo)) << m.antigo;
    EXPECT_EQ(teste::Valores(servidor, "SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = 3"),
              teste::Valores(banco, "SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = 2"));
    // The server's own codes kept, the missing ones added.
    EXPECT_EQ(teste::Valores(servidor, "SELECT CD_NCM_PRODUTO || DESCR_NCM_PRODUTO FROM NCM_ITEM"
                                       " ORDER BY 1"),
              "01012100Cavalos;85171231Do servidor");

    const QStringList antes = teste::ConteudoArquivo(servidor);
    const backup::ResultadoMigracao de_novo = backup::Migra(banco, servidor, progresso);
    EXPECT_TRUE(de_novo.migradas.isEmpty() && de_novo.alteradas.isEmpty());
    EXPECT_EQ(Pares(de_novo.jaMigradas), "1>2 2>3 3>4");
    EXPECT_EQ(teste::ConteudoArquivo(servidor), antes);
    EXPECT_EQ(teste::ContaLinhas(banco, "HISTORICO"), 4);
}

// The digest a statement is known by on the server was stored by earlier runs:
// it never changes. Numbers whose text is easily got wrong (halfway at the 17th
// digit, -0, tiny, huge), a null beside an empty text.
TEST_F(Migracao, AssinaturaDeSempre) {
    banco.executa("UPDATE COMPONENTES_IMPORTADOS SET QTD_IMPORTADO = 2.30469512939453125,"
                  " VALOR_UNITARIO_IMPORTADO = -0.0, ALIQUOTA_IMPORTADO = 1e-5,"
                  " VALOR_II_IMPORTADO = 1e20, NCM_IMPORTADO = NULL WHERE NR_VLM_IMPORTADO = 2");
    banco.executa("UPDATE MODELOS SET PRECO_VENDA_MODELOS = 0.1, COD_INTERNO_MODELOS = ''"
                  " WHERE NR_VLM_MODELOS = 2");
    EXPECT_EQ(backup::AssinaturaDeclaracao(banco, 2),
              "f9b293c0c9143609cc0aeaa39cfc9e4ebc56ae923fafb31d7ba774a7d734721c");
}

// The folder's file, even with --banco naming the server.
TEST_F(Migracao, PeloVlmeCli) {
    teste::Execucao r = teste::Roda(base.pasta(), {"--banco", url, "migrar", url});
    EXPECT_EQ(r.status, 0) << r.erro;
    EXPECT_EQ(r.saida, "1 -> 2\n2 -> 3\n3 -> 4\nCódigos incluídos no servidor: 1 da tabela NCM, 1 "
                       "da tabela de unidades de medida.\n");
    banco.executa("UPDATE VLME SET PPB_VLM = 'outro' WHERE NR_VLM_VLM = 3");
    r = teste::Roda(base.pasta(), {"--json", "migrar", url});
    EXPECT_EQ(r.status, 1) << r.erro;
    EXPECT_EQ(QJsonDocument::fromJson(r.saida.toUtf8()).toJson(QJsonDocument::Compact),
              R"({"alteradas":[{"antigo":"3","novo":"4"}],"comando":"migrar",)"
              R"("excluidasNoServidor":[],"jaMigradas":)"
              R"([{"antigo":"1","novo":"2"},{"antigo":"2","novo":"3"}],"migradas":[],)"
              R"("ncmIncluidos":0,"status":1,"unidadesIncluidas":0})");
}

TEST_F(Migracao, AlteradaDepoisDaCopiaEAvisadaENaoCopiadaDeNovo) {
    backup::Migra(banco, servidor, progresso);
    // An invoice saved anew with the same values is no change.
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = NR_SEQ_NF_NACIONAL + 0");
    banco.executa("UPDATE MODELOS SET PRECO_VENDA_MODELOS = 11 WHERE NR_VLM_MODELOS = 2");
    teste::ConstrutorDeclaracao(banco).geral();
    const int antes = teste::ContaLinhas(servidor, "VLME");

    const backup::ResultadoMigracao r = backup::Migra(banco, servidor, progresso);
    EXPECT_EQ(Pares(r.migradas), "4>5");
    EXPECT_EQ(Pares(r.jaMigradas), "1>2 3>4");
    EXPECT_EQ(Pares(r.alteradas), "2>3");
    EXPECT_EQ(backup::TextoMigracao(r),
              "4 -> 5\nA declaração 2 foi alterada depois de copiada para o servidor (declaração "
              "3 no servidor); não foi copiada de novo.\nJá estavam no servidor, sem alteração: 2 "
              "declarações.\nCódigos incluídos no servidor: 0 da tabela NCM, 0 da tabela de "
              "unidades de medida.\n");
    EXPECT_EQ(teste::ContaLinhas(servidor, "VLME"), antes + 1);
}

// A colleague's hand-made copy of VLM.MDB shares the statements it copied,
// not the ones each file made since under the same numbers; a statement
// deleted on the server is told, not taken for one already there; the
// import record moves with its statement.
TEST_F(Migracao, CadaDeclaracaoPelaSuaIdentidade) {
    importacao::ImportaArquivo(banco, progresso,
                               teste::DadoTeste("importacao/duas_declaracoes.txt"));
    backup::Migra(banco, servidor, progresso);
    banco.executa("PRAGMA wal_checkpoint(TRUNCATE)");
    teste::PastaTeste colega;
    ASSERT_TRUE(QFile::copy(base.caminhoBanco(), colega.arquivo("VLM.MDB")));
    store::Banco copia;
    copia.abre(colega.arquivo("VLM.MDB"));
    for (store::Banco *bd : {&banco, &copia})
        teste::ConstrutorDeclaracao(*bd).geral(
            [&](store::DadosGerais &d) { d.ppb = bd == &banco ? "DO ORIGINAL" : "DA COPIA"; });
    EXPECT_EQ(Pares(backup::Migra(banco, servidor, progresso).migradas), "6>7");
    const backup::ResultadoMigracao r = backup::Migra(copia, servidor, progresso);
    EXPECT_EQ(Pares(r.migradas), "6>8");
    EXPECT_EQ(Pares(r.jaMigradas), "1>2 2>3 3>4 4>5 5>6");
    EXPECT_TRUE(r.alteradas.isEmpty());
    EXPECT_EQ(teste::Valores(servidor, "SELECT PPB_VLM FROM VLME WHERE NR_VLM_VLM >= 7 ORDER BY 1"),
              "DA COPIA;DO ORIGINAL");

    store::ExcluiVLM(servidor, 7, true, nullptr);
    const backup::ResultadoMigracao depois = backup::Migra(banco, servidor, progresso);
    EXPECT_EQ(Pares(depois.excluidas), "6>7");
    EXPECT_TRUE(depois.migradas.isEmpty());
    EXPECT_TRUE(backup::TextoMigracao(depois).contains(
        "A declaração 6 foi excluída no servidor depois de copiada (era a declaração 7 no "
        "servidor); não foi copiada de novo.\n"));
    const QByteArray sha =
        QCryptographicHash::hash(QByteArray::fromStdString(teste::LeBytes(
                                     teste::DadoTeste("importacao/duas_declaracoes.txt"))),
                                 QCryptographicHash::Sha256);
    EXPECT_EQ(store::DeclaracoesImportadas(servidor, sha.toHex()), (std::vector<int>{5, 6}));
}

TEST_F(Migracao, FalhaOuCancelamentoNaoDeixaMetadeDeUmaDeclaracao) {
    const QStringList antes = teste::ConteudoArquivo(servidor);
    teste::ProgressoRoteirizado cancela(1);
    EXPECT_TRUE(backup::Migra(banco, servidor, cancela).cancelada);
    EXPECT_EQ(teste::ConteudoArquivo(servidor), antes);

    // Each step fails in turn, each run going on where the one before stopped.
    int passo = 1;
    for (;; ++passo) {
        servidor.simulaFalhaDisco(passo);
        try {
            backup::Migra(banco, servidor, progresso);
            servidor.simulaFalhaDisco(0);
            break;
        } catch (const store::ErroBanco &) {
        }
        servidor.simulaFalhaDisco(0);
        // Each statement there whole, and recorded; none twice.
        EXPECT_EQ(teste::Valores(servidor, "SELECT count(*) FROM VLME v JOIN MIGRACAO_VLME m"
                                           " ON m.NR_VLM_NOVO = v.NR_VLM_VLM"),
                  QString::number(teste::ContaLinhas(servidor, "VLME") - 1))
            << passo;
        for (int n : {1, 2, 3}) {
            const QString novo = teste::Valores(
                servidor, "SELECT NR_VLM_NOVO FROM MIGRACAO_VLME WHERE NR_VLM_ORIGEM = ?", {n});
            if (!novo.isEmpty())
                EXPECT_EQ(Declaracao(servidor, novo.toInt()), Declaracao(banco, n)) << passo;
        }
    }
    EXPECT_GT(passo, 20);
    EXPECT_EQ(teste::ContaLinhas(servidor, "MIGRACAO_VLME"), 3);
}

} // namespace
