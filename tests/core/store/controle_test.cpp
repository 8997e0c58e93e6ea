// A statement changed by another program after this one read it is never
// written over: every writer refuses, naming who changed it, and what was
// typed can be kept as a new statement.

#include "entry/FormularioDadosGerais.h"
#include "shell/Programa.h"
#include "store/Controle.h"
#include "store/CopiaExclusao.h"
#include "store/Esquema.h"
#include "support/ServidorTeste.h"
#include "support/Teste.h"

using namespace vlme;

TEST(Controle, GravacaoSobreAlteracaoDeOutroProgramaERecusadaEODigitadoViraNova) {
    teste::BancoTeste primeiro;
    store::Banco segundo;
    primeiro.abreOutra(segundo);
    store::Banco &banco = primeiro.banco();
    const int n = teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo", 10).nacional();
    shell::DeclaracaoAberta aberta{n, true};
    aberta.reserva = std::make_shared<store::Reserva>(banco, n);
    entry::FormularioDadosGerais formulario(banco, aberta);
    formulario.carrega();
    const auto ppb = [&](int numero) {
        return teste::Valores(banco, "SELECT PPB_VLM FROM VLME WHERE NR_VLM_VLM = ?", {numero});
    };
    // Its own saves go on from the version each one made, also after one
    // that failed at any step and rolled back.
    formulario.grava();
    const qint64 lida = store::LeEstado(banco, n)->versao;
    for (int passo = 1; passo <= 6; ++passo) {
        formulario.campos().ppb = QString("MEU %1").arg(passo);
        banco.simulaFalhaDisco(passo);
        EXPECT_THROW(formulario.grava(), store::ErroBanco) << passo;
        banco.simulaFalhaDisco(0);
        formulario.grava();
    }
    // Nothing changed, nothing saved: the version moved once per real change.
    const qint64 versao = store::LeEstado(banco, n)->versao;
    EXPECT_EQ(versao, lida + 6);

    // Another program writes while this one's reservation is gone.
    {
        store::Alteracao outra(segundo, n, QStringLiteral("Dados gerais"));
        segundo.executa("UPDATE VLME SET PPB_VLM = 'DO OUTRO' WHERE NR_VLM_VLM = ?", {n});
        outra.confirma();
    }
    formulario.campos().ppb = "VELHO";
    for (const auto &escreve : std::initializer_list<std::function<void()>>{
             [&] { formulario.grava(); }, [&] { store::ExcluiVLM(banco, n, true, nullptr); },
             [&] {
                 store::Alteracao a(banco, n, QStringLiteral("Dados gerais"));
                 a.confirma();
             }}) {
        const QString m = teste::MensagemDoErro<store::ErroDeclaracaoAlterada>(escreve);
        EXPECT_TRUE(m.startsWith(QString("A declaração %1 foi alterada pelo ").arg(n) +
                                 store::Titular::Este().programa + " do usuário " +
                                 store::Titular::Este().usuario))
            << m;
        EXPECT_EQ(ppb(n), "DO OUTRO");
    }
    EXPECT_EQ(store::LeEstado(banco, n)->versao, versao + 1);

    teste::UsuarioRoteirizado usuario;
    base::ProgressoMudo progresso;
    const int nova =
        entry::GuardaComoNova(banco, n, formulario.campos().paraGravacao(), progresso, usuario);
    EXPECT_EQ(ppb(nova), "VELHO");
    EXPECT_EQ(ppb(n), "DO OUTRO");
    EXPECT_EQ(teste::Valores(banco,
                             "SELECT DEN_PRODUTO_VLM || '|' || count(*) FROM VLME JOIN"
                             " MODELOS ON NR_VLM_MODELOS = NR_VLM_VLM WHERE NR_VLM_VLM = ?"
                             " GROUP BY DEN_PRODUTO_VLM",
                             {nova}),
              "Cópia de " + formulario.campos().denProduto + "|1");
    EXPECT_NE(store::LeEstado(banco, nova)->identidade, store::LeEstado(banco, n)->identidade);
}

// A database made before the record: on open every statement gets one, each
// with its own identity, and the number of the next one is not disturbed.
TEST(Controle, BancoAnteriorGanhaUmaIdentidadePorDeclaracaoAoAbrir) {
    teste::BancoTeste base;
    for (int i = 0; i < 3; ++i)
        teste::ConstrutorDeclaracao(base.banco()).geral();
    // On the server, as an upgrade is: by the owner's role.
    store::Banco outra;
    if (teste::NoServidor()) {
        outra.abreServidor(teste::ComPapel(base.url(), teste::PapelDono));
        outra.executa("DROP TABLE CONTROLE");
        outra.executa("DROP TABLE HISTORICO");
        outra.fecha();
        outra.abreServidor(teste::ComPapel(base.url(), teste::PapelDono));
    } else {
        base.banco().executa("DROP TABLE CONTROLE");
        base.banco().executa("DROP TABLE HISTORICO");
        base.abreOutra(outra);
        store::CompletaEsquema(outra);
    }
    EXPECT_EQ(teste::Valores(outra, "SELECT count(DISTINCT TX_ID_CONTROLE) || '|' ||"
                                    " count(NR_VERSAO_CONTROLE) FROM CONTROLE JOIN VLME"
                                    " ON NR_VLM_VLM = NR_VLM_CONTROLE"),
              "3|3");
    EXPECT_EQ(teste::ConstrutorDeclaracao(outra).geral(), 4);
    // The history comes back empty, and on the server a clerk only adds to it.
    EXPECT_EQ(teste::ContaLinhas(outra, "HISTORICO"), 0);
    if (teste::NoServidor())
        EXPECT_THROW(base.banco().executa("DELETE FROM HISTORICO"), store::ErroBanco);
}
