// The statement picker and the new-statement window, offscreen: what each
// operation code lists and shows, how OK is reached, and the operations done
// here (open, delete, copy, new empty statement).

#include "shell/Programa.h"
#include "shell/Progresso.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/shell/ModeloListaDeclaracoes.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmVLMs.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlme;
using ui::frmNovo;
using ui::frmVLMs;

namespace {

class ProgressoSimples final : public shell::Progresso {
public:
    int cancelaNa = 0; // 0: never
    int unidades = 0;
    QStringList passos;
    void abre() override {}
    void fecha() override {}
    void passo(const QString &texto) override { passos << texto; }
    void faixa(int, int) override {}
    void valor(int) override {}
    void permiteCancelar(bool) override {}
    bool unidade() override { return !(cancelaNa && ++unidades >= cancelaNa); }
    bool cancelado() const override { return cancelaNa && unidades >= cancelaNa; }
};

class Seletor : public ::testing::Test {
protected:
    teste::PastaTeste pasta;
    shell::Programa programa;
    teste::UsuarioRoteirizado usuario;
    ProgressoSimples progresso;

    Seletor()
    {
        programa.pasta = pasta.caminho();
        programa.banco.cria(pasta.arquivo(QStringLiteral("VLM.MDB")));
        programa.banco.abre(pasta.arquivo(QStringLiteral("VLM.MDB")));
    }

    int declaracao(int nrTransmissao, const QString &codigo,
                   const QString &produto = QStringLiteral("Rádio"), const QString &razao = {})
    {
        return programa.banco
            .executa(
                QStringLiteral("INSERT INTO VLME (DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM,"
                               " RAZAO_SOCIAL_VLM) VALUES (?, ?, ?, ?)"),
                {produto, nrTransmissao, codigo, razao})
            .lastInsertId()
            .toInt();
    }

    // One statement in each delivery state, numbered 1 to 6.
    void estados()
    {
        declaracao(0, QStringLiteral(""));           // 1 Original
        declaracao(123, QStringLiteral(""));         // 2 Transmitido
        declaracao(-1, QStringLiteral(""));          // 3 A transmitir
        declaracao(-1, QStringLiteral("200100123")); // 4 Registrado
        declaracao(0, QStringLiteral("200100999"));  // 5 Original, imported with its code
        declaracao(-2, QStringLiteral(""));          // 6 Original, odd number
    }

    static std::vector<int> listados(const frmVLMs &f)
    {
        std::vector<int> numeros;
        for (int i = 0; i < f.datVlms->rowCount(); ++i)
            numeros.push_back(f.datVlms->numero(i));
        return numeros;
    }

    int contaVLME()
    {
        return programa.banco.escalar(QStringLiteral("SELECT count(*) FROM VLME")).toInt();
    }
};

// ---- frmNovo ----

TEST_F(Seletor, NovoSemEscolhaAvisaEFica)
{
    frmNovo f(programa, usuario);
    ASSERT_EQ(f.lstLista->count(), 2);
    EXPECT_EQ(f.lstLista->item(0)->text(), "Novo VLM-E vazio");
    EXPECT_EQ(f.lstLista->item(0)->data(Qt::UserRole).toString(), "Vazio");
    EXPECT_EQ(f.lstLista->item(1)->text(), "VLM-E a partir de um anterior");
    EXPECT_EQ(f.lstLista->item(1)->data(Qt::UserRole).toString(), "Anterior");

    f.show();
    // The user can still take the highlight away (Ctrl+click).
    f.lstLista->clearSelection();
    f.cmdOk->click();
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, "Atenção");
    EXPECT_EQ(usuario.mensagens[0].texto, "Você precisa selecionar umas das opções ao lado.");
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.escolha(), frmNovo::Escolha::Nenhuma);
    EXPECT_EQ(contaVLME(), 0);
}

TEST_F(Seletor, NovoVazioCriaADeclaracaoEAbreComoNova)
{
    declaracao(0, QStringLiteral(""));
    frmNovo f(programa, usuario);
    f.show();
    f.lstLista->setCurrentRow(0);
    f.cmdOk->click();

    EXPECT_EQ(f.escolha(), frmNovo::Escolha::Vazio);
    EXPECT_EQ(f.numero(), 2);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(contaVLME(), 2);
    EXPECT_EQ(programa.banco
                  .escalar(QStringLiteral("SELECT quote(CODIGO_VLM) || quote(NR_TRANSMISSAO_VLM)"
                                          " FROM VLME WHERE NR_VLM_VLM = 2"))
                  .toString(),
              "''0");
    EXPECT_EQ(programa.declaracao.numero, 2);
    EXPECT_TRUE(programa.declaracao.aberta);
    EXPECT_TRUE(programa.declaracao.nova);
    EXPECT_FALSE(programa.declaracao.alterada);
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Seletor, NovoAPartirDeAnteriorPedeOSeletorDeCopia)
{
    frmNovo f(programa, usuario);
    f.show();
    f.lstLista->setCurrentRow(1);
    f.cmdOk->click();
    EXPECT_EQ(f.escolha(), frmNovo::Escolha::Anterior);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(contaVLME(), 0);
    EXPECT_FALSE(programa.declaracao.aberta);
}

TEST_F(Seletor, NovoEnterEDuploCliqueNaListaValemOK)
{
    {
        frmNovo f(programa, usuario);
        f.show();
        f.lstLista->setCurrentRow(0);
        QTest::keyClick(f.lstLista, Qt::Key_Return);
        EXPECT_EQ(f.escolha(), frmNovo::Escolha::Vazio);
        EXPECT_EQ(contaVLME(), 1); // once, not once for the list and once for the button
    }
    {
        frmNovo f(programa, usuario);
        f.show();
        const QRect r = f.lstLista->visualItemRect(f.lstLista->item(1));
        // A double click arrives after the press of its first click.
        QTest::mouseClick(f.lstLista->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f.lstLista->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(f.escolha(), frmNovo::Escolha::Anterior);
        EXPECT_FALSE(f.isVisible());
    }
    EXPECT_TRUE(usuario.mensagens.empty());
}

// ---- frmVLMs: what each code shows and lists ----

TEST_F(Seletor, TituloEAjudaDeCadaOperacao)
{
    struct Caso {
        int codigo;
        const char *titulo;
        int ajuda;
    };
    const Caso casos[] = {
        {2, "Abrir Declaração", 17},
        {3, "Excluir VLM-E", 65},
        {4, "Copiar VLM-E", 32},
        {6, "Gerar arquivo para transmissão VLM-E", 67},
        {7, "Gerar arquivo VLM-E", 15},
        {8, "Backup da Declaração", 21},
        {9, "Imprimir VLM-E", 34},
        {10, "Imprimir Resumo VLM-E", 34},
        {11, "Imprimir recibo de entrega VLM-E", 0},
        {12, "Verificar pendências VLM-E", 66},
        {14, "Verificar pendências VLM-E", 66},
        {15, "Diagnóstico VLM-E", 35},
        {16, "Consultar diagnóstico VLM-E", 35},
        {5, "Abrir Declaração", 17},
        {0, "Abrir Declaração", 17},
    };
    frmVLMs f(programa, usuario, progresso);
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.codigo);
        f.setProperty("OperacaoVLM", c.codigo);
        EXPECT_EQ(f.OperacaoVLM(), c.codigo);
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8(c.titulo));
        EXPECT_EQ(f.property("contextoAjuda").toInt(), c.ajuda);
    }
    EXPECT_EQ(f.objectName(), "frmVLMs");
    EXPECT_EQ(f.findChild<QTableView *>(QStringLiteral("dbgVlms")), f.dbgVlms);
}

TEST_F(Seletor, CadaOperacaoListaSoAsDeclaracoesDoSeuFiltro)
{
    estados();
    const std::vector<int> todas{6, 5, 4, 3, 2, 1};
    struct Caso {
        int codigo;
        std::vector<int> numeros;
    };
    const Caso casos[] = {
        {2, todas},
        {3, todas},
        {4, todas},
        {7, todas},
        {8, todas},
        {9, todas},
        {10, todas},
        {11, todas},
        {16, todas},
        {99, todas},
        {6, {3, 1}},     // never transmitted, or to be
                         // transmitted again
        {12, {6, 3, 1}}, // neither transmitted nor registered
        {14, {6, 3, 1}},
        {15, {6, 4, 3, 2}}, // transmitted at some time
    };
    frmVLMs f(programa, usuario, progresso);
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.codigo);
        f.setOperacaoVLM(c.codigo);
        EXPECT_EQ(listados(f), c.numeros);
    }
}

TEST_F(Seletor, GradeComCabecalhosLegiveisEAsColunasDaLista)
{
    estados();
    programa.banco.executa(
        QStringLiteral("UPDATE VLME SET CNPJ_VLM = '11222333000181', RETIFICADOR_VLM = 1"
                       " WHERE NR_VLM_VLM = 4"));
    programa.banco.executa(QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS,"
                                          " TX_DESCRICAO_MODELOS) VALUES (4, 1, 'AM/FM')"));
    frmVLMs f(programa, usuario, progresso);
    QStringList cabecalhos;
    for (int c = 0; c < f.datVlms->columnCount(); ++c)
        cabecalhos << f.datVlms->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(cabecalhos,
              QStringList({"Número", "CNPJ", "Produto", "Tipo", "Situação", "Protocolo"}));

    QStringList linha;
    for (int c = 0; c < f.datVlms->columnCount(); ++c)
        linha << f.datVlms->index(2, c).data().toString(); // newest first: 6, 5, 4
    EXPECT_EQ(linha, QStringList({"4", "11.222.333/0001-81", "Rádio - AM/FM", "Retificador",
                                  "Registrado", "2001/00123"}));
    f.show();
    for (int c = 0; c < f.datVlms->columnCount(); ++c)
        EXPECT_GT(f.dbgVlms->columnWidth(c), 30) << c;
    EXPECT_GT(f.dbgVlms->columnWidth(ui::ModeloListaDeclaracoes::Produto),
              f.dbgVlms->columnWidth(0));
}

// ---- frmVLMs: reaching OK ----

TEST_F(Seletor, OKSemLinhaNaoFazNada)
{
    std::vector<int> abertas;
    {
        frmVLMs f(programa, usuario, progresso);
        f.operacoes.abrir = [&](int n) { abertas.push_back(n); };
        f.show();
        EXPECT_EQ(f.datVlms->rowCount(), 0);
        f.cmdOk->click();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Nenhum);
    }
    declaracao(0, QStringLiteral(""));
    frmVLMs f(programa, usuario, progresso);
    f.operacoes.abrir = [&](int n) { abertas.push_back(n); };
    f.show();
    f.dbgVlms->clearSelection();
    f.cmdOk->click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(abertas.empty());
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Seletor, EnterEDuploCliqueValemOKUmaVezSo)
{
    estados();
    std::vector<int> abertas;
    {
        frmVLMs f(programa, usuario, progresso);
        f.operacoes.abrir = [&](int n) { abertas.push_back(n); };
        f.show();
        f.dbgVlms->setFocus();
        // The list starts on its newest row.
        QTest::keyClick(f.dbgVlms, Qt::Key_Return);
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Executada);
        EXPECT_EQ(f.result(), QDialog::Accepted);
    }
    {
        frmVLMs f(programa, usuario, progresso);
        f.operacoes.abrir = [&](int n) { abertas.push_back(n); };
        f.show();
        const QRect r = f.dbgVlms->visualRect(f.datVlms->index(3, 2));
        QTest::mouseClick(f.dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f.dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_FALSE(f.isVisible());
    }
    EXPECT_EQ(abertas, (std::vector<int>{6, 3}));
}

TEST_F(Seletor, OKNaoFazNadaComOPonteiroDeEspera)
{
    declaracao(0, QStringLiteral(""));
    std::vector<int> abertas;
    frmVLMs f(programa, usuario, progresso);
    f.operacoes.abrir = [&](int n) { abertas.push_back(n); };
    f.show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    f.cmdOk->click();
    QGuiApplication::restoreOverrideCursor();
    EXPECT_TRUE(abertas.empty());
    EXPECT_TRUE(f.isVisible());
    f.cmdOk->click();
    EXPECT_EQ(abertas, std::vector<int>{1});
}

// ---- frmVLMs: the operations done here ----

TEST_F(Seletor, AbrirRegistradaMostraONumeroEARazaoSocial)
{
    const int registrada = declaracao(-1, QStringLiteral("200100123"), QStringLiteral("Rádio"),
                                      QStringLiteral("Fábrica de Rádios Ltda"));
    const int original = declaracao(0, QStringLiteral(""));
    QStringList painel;
    for (int n : {original, registrada}) {
        frmVLMs f(programa, usuario, progresso);
        f.setOperacaoVLM(2);
        f.mostraPainel = [&](const QString &t) { painel << t; };
        f.dbgVlms->selectRow(n == original ? 0 : 1);
        f.cmdOk->click();
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Aberta);
        EXPECT_EQ(f.numero(), n);
        EXPECT_EQ(programa.declaracao.numero, n);
        EXPECT_TRUE(programa.declaracao.aberta);
        EXPECT_FALSE(programa.declaracao.nova);
    }
    EXPECT_EQ(painel,
              QStringList{" NÚMERO VLM-E : 2001/00123  RAZÃO SOCIAL : Fábrica de Rádios Ltda"});
}

TEST_F(Seletor, ExcluirPerguntaEApagaAEscolhida)
{
    const int a = teste::ConstrutorDeclaracao(programa.banco).geral().nacional();
    const int b = teste::ConstrutorDeclaracao(programa.banco).geral().nacional();
    {
        frmVLMs f(programa, usuario, progresso);
        f.setOperacaoVLM(3);
        usuario.responde(shell::Resposta::Nao);
        f.cmdOk->click();
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Nenhum);
        EXPECT_EQ(contaVLME(), 2);
    }
    frmVLMs f(programa, usuario, progresso);
    f.setOperacaoVLM(3);
    f.dbgVlms->selectRow(1); // the older one
    usuario.responde(shell::Resposta::Sim);
    f.cmdOk->click();
    EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Excluida);
    EXPECT_EQ(f.numero(), a);
    EXPECT_EQ(
        programa.banco.escalar(QStringLiteral("SELECT group_concat(NR_VLM_VLM) FROM VLME")).toInt(),
        b);
    EXPECT_EQ(teste::ContaLinhas(programa.banco, QStringLiteral("NF")), 1);
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[1].texto, "Deseja realmente excluir este VLM-E ?");
    ASSERT_FALSE(progresso.passos.isEmpty());
    EXPECT_EQ(progresso.passos.last(), "Finalizando exclusão");
}

TEST_F(Seletor, CopiarAbreACopiaECancelarNaoAbreNada)
{
    const int origem = teste::ConstrutorDeclaracao(programa.banco)
                           .geral()
                           .modelo(QStringLiteral("A"), 1.0)
                           .nacional();
    {
        frmVLMs f(programa, usuario, progresso);
        f.setOperacaoVLM(4);
        f.cmdOk->click();
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Copiada);
        EXPECT_EQ(f.numero(), origem + 1);
        EXPECT_EQ(programa.declaracao.numero, origem + 1);
        EXPECT_TRUE(programa.declaracao.aberta);
        EXPECT_FALSE(programa.declaracao.nova);
        EXPECT_EQ(contaVLME(), 2);
    }
    programa.declaracao = {};
    progresso.cancelaNa = 1;
    frmVLMs f(programa, usuario, progresso);
    f.setOperacaoVLM(4);
    f.dbgVlms->selectRow(1);
    f.cmdOk->click();
    EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Nenhum);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(contaVLME(), 2);
    EXPECT_EQ(usuario.textos(), QStringList{"Operação cancelada pelo usuário."});
}

TEST_F(Seletor, OperacaoDeOutroLugarRecebeONumeroOuAvisaQueFalta)
{
    estados();
    {
        frmVLMs f(programa, usuario, progresso);
        f.setOperacaoVLM(15);
        f.cmdOk->click();
        EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Nenhum);
        ASSERT_EQ(usuario.mensagens.size(), 1u);
        EXPECT_TRUE(usuario.mensagens[0].texto.contains(QStringLiteral("Diagnóstico VLM-E")));
    }
    std::vector<int> diagnosticadas;
    frmVLMs f(programa, usuario, progresso);
    f.setOperacaoVLM(15);
    f.operacoes.diagnostico = [&](int n) { diagnosticadas.push_back(n); };
    f.dbgVlms->selectRow(1);
    f.cmdOk->click();
    EXPECT_EQ(diagnosticadas, std::vector<int>{4});
    EXPECT_EQ(f.desfecho(), frmVLMs::Desfecho::Executada);
    EXPECT_EQ(f.numero(), 4);
}

} // namespace
