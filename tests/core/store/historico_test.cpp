// Each statement's history: one row per thing done to it, written with the
// change and never without it, kept after a delete, carried by a backup; on
// the server the clerks' roles may only add rows.

#include "backup/CopiaSeguranca.h"
#include "checking/Calculos.h"
#include "entry/FormularioDadosGerais.h"
#include "import/Importacao.h"
#include "shell/Programa.h"
#include "store/Controle.h"
#include "store/CopiaExclusao.h"
#include "store/Historico.h"
#include "store/Reservas.h"
#include "support/ServidorTeste.h"
#include "support/Teste.h"

#include <QSysInfo>

using namespace vlme;

namespace {

// Oldest first, as "code|detail".
QStringList Eventos(store::Banco &banco, int n) {
    QStringList r;
    const auto linhas = store::LeHistorico(banco, store::IdentidadeDoNumero(banco, n));
    for (auto h = linhas.rbegin(); h != linhas.rend(); ++h)
        r << store::CodigoEvento(h->evento) + '|' + h->detalhe;
    return r;
}

int Linhas(store::Banco &banco) {
    return teste::Valores(banco, "SELECT count(*) FROM HISTORICO").toInt();
}

} // namespace

TEST(Historico, CadaOperacaoEscreveUmaLinhaQueFicaDepoisDaExclusao) {
    teste::BancoTeste base;
    store::Banco &banco = base.banco();
    teste::ProgressoRoteirizado progresso;
    teste::UsuarioRoteirizado usuario;
    const QString texto = teste::DadoTeste("importacao/cnpj_alfanumerico.txt");
    const auto importada = importacao::ImportaArquivo(banco, progresso, texto);
    ASSERT_EQ(importada.declaracoes.size(), 1u);
    const int n = importada.declaracoes.front();
    const QString origem = Eventos(banco, n).value(0);
    EXPECT_TRUE(origem.startsWith("criada|Importada do arquivo cnpj_alfanumerico.txt (SHA-256 "))
        << origem;

    // Who, where, when and the figures, as the summary gives them then.
    const auto confere = [&](int numero, const char *parte) {
        SCOPED_TRACE(parte);
        const store::RegistroHistorico h =
            store::LeHistorico(banco, store::IdentidadeDoNumero(banco, numero)).front();
        EXPECT_EQ(h.detalhe, parte);
        EXPECT_EQ(h.usuario,
                  teste::NoServidor() ? teste::PapelEscrivao : store::Titular::Este().usuario);
        EXPECT_EQ(h.maquina, QSysInfo::machineHostName());
        EXPECT_EQ(h.programa, "VLM-E 5.0");
        EXPECT_LT(std::abs(h.quando.secsTo(QDateTime::currentDateTimeUtc())), 60);
        EXPECT_EQ(h.versao, store::LeEstado(banco, numero)->versao);
        const checking::Resumo r = checking::CalculaResumo(banco, numero);
        ASSERT_TRUE(h.figuras);
        EXPECT_DOUBLE_EQ(h.figuras->custoTotal, r.custoTotal);
        EXPECT_DOUBLE_EQ(h.figuras->coeficiente, r.coeficiente);
    };
    confere(n, qPrintable(origem.section('|', 1)));

    // A save whose wages move the coefficient, then one refused because
    // another program saved in between: a row for each save that happened.
    shell::DeclaracaoAberta aberta{n, false};
    aberta.reserva = std::make_shared<store::Reserva>(banco, n);
    entry::FormularioDadosGerais formulario(banco, aberta);
    formulario.carrega();
    const double antes = checking::CalculaCoeficiente(banco, n);
    formulario.campos().variavel = true;
    formulario.campos().fixo = false;
    formulario.campos().salarios = "123456,78";
    formulario.grava();
    confere(n, "Dados gerais");
    EXPECT_NE(
        store::LeHistorico(banco, store::IdentidadeDoNumero(banco, n)).front().figuras->coeficiente,
        antes);
    store::Banco outro;
    base.abreOutra(outro);
    store::Alteracao(outro, n, QStringLiteral("Modelos: alteração")).confirma();
    const int escritas = Linhas(banco);
    formulario.campos().ppb = "VELHO";
    EXPECT_THROW(formulario.grava(), store::ErroDeclaracaoAlterada);
    EXPECT_EQ(Linhas(banco), escritas);
    aberta.reserva.reset();

    const int copia = store::CopiaVLM(banco, n, progresso, usuario);
    EXPECT_EQ(Eventos(banco, copia), QStringList(QString("criada|Cópia da declaração %1").arg(n)));

    teste::PastaTeste pasta;
    const QString arquivo = pasta.arquivo("guardada.vlm");
    ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
    const QString produto =
        teste::Valores(banco, "SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?", {n});
    store::ExcluiVLM(banco, n, true, nullptr);
    const QStringList vivida{origem, "gravada|Dados gerais", "gravada|Modelos: alteração",
                             "copia_seguranca|guardada.vlm", "excluida|" + produto};
    EXPECT_EQ(Eventos(banco, n), vivida);
    const auto excluidas = store::LeExcluidas(banco);
    ASSERT_EQ(excluidas.size(), 1u);
    EXPECT_EQ(excluidas.front().numero, n);

    // Restored where it was deleted, it is the same statement again: its
    // history goes on. Restored elsewhere, it brings what it lived.
    const int aqui = backup::RestauraCopiaSeguranca(banco, arquivo, progresso, usuario);
    ASSERT_GT(aqui, 0);
    EXPECT_EQ(Eventos(banco, aqui), vivida + QStringList("criada|Restaurada da cópia de segurança"
                                                         " guardada.vlm"));
    teste::BancoTeste outra;
    const int la = backup::RestauraCopiaSeguranca(outra.banco(), arquivo, progresso, usuario);
    EXPECT_EQ(Eventos(outra.banco(), la),
              QStringList({origem, "gravada|Dados gerais", "gravada|Modelos: alteração",
                           "criada|Restaurada da cópia de segurança guardada.vlm"}));
    EXPECT_EQ(store::LeHistorico(outra.banco(), store::IdentidadeDoNumero(outra.banco(), la))
                  .back()
                  .usuario,
              teste::NoServidor() ? teste::PapelEscrivao : store::Titular::Este().usuario);
}

// What did not happen leaves no row: an import cancelled or failing at any
// step, a backup file that is not one. The import that goes through writes
// one per statement.
TEST(Historico, OQueNaoAconteceuNaoEscreve) {
    teste::BancoTeste base;
    store::Banco &banco = base.banco();
    teste::UsuarioRoteirizado usuario;
    const QString texto = teste::DadoTeste("importacao/duas_declaracoes.txt");
    teste::ProgressoRoteirizado progresso(1);
    importacao::ImportaArquivo(banco, progresso, texto);
    EXPECT_EQ(backup::RestauraCopiaSeguranca(banco, texto, progresso, usuario), 0);
    bool importou = false;
    // Failures early and late, until the import has too few steps to fail.
    for (int passo = 1; passo <= 100000 && !importou; passo += passo / 2 + 1) {
        EXPECT_EQ(Linhas(banco), 0) << passo;
        teste::ProgressoRoteirizado sem;
        banco.simulaFalhaDisco(passo);
        try {
            importou = importacao::ImportaArquivo(banco, sem, texto).desfecho ==
                       importacao::Desfecho::Sucesso;
        } catch (const base::ErroVLME &) {
        }
        banco.simulaFalhaDisco(0);
    }
    ASSERT_TRUE(importou);
    EXPECT_EQ(Linhas(banco), 2);
}

// The history is evidence: a clerk's role, or the service's, adds and reads
// rows and can neither change nor remove one.
TEST(Historico, NoServidorOsPapeisDaEquipeSoAcrescentam) {
    if (!teste::NoServidor())
        GTEST_SKIP() << "os direitos são do servidor";
    teste::BancoTeste base;
    const int n = teste::ConstrutorDeclaracao(base.banco()).geral();
    for (const char *papel : {teste::PapelEscrivao, teste::PapelServico}) {
        SCOPED_TRACE(papel);
        store::Banco banco;
        banco.abreServidor(teste::ComPapel(base.url(), papel));
        store::Transacao t(banco);
        store::RegistraHistorico(banco, n, store::Evento::Gravada, "Dados gerais");
        t.confirma();
        for (const char *sql : {"UPDATE HISTORICO SET TX_DETALHE_HISTORICO = 'outro'",
                                "DELETE FROM HISTORICO", "TRUNCATE HISTORICO"}) {
            try {
                banco.executa(sql);
                ADD_FAILURE() << "alterou o histórico: " << sql;
            } catch (const store::ErroBanco &e) {
                EXPECT_EQ(e.codigoNativo(), "42501") << sql;
            }
        }
    }
    EXPECT_EQ(Eventos(base.banco(), n),
              QStringList({"gravada|Dados gerais", "gravada|Dados gerais"}));
}
