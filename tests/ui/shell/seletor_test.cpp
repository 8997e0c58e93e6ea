// The statement picker and the new-statement window: what each operation
// code lists and shows, how OK is reached, and the operations done here.

#include "support/Arquivos.h"
#include "ui/Janelas.h"
#include "ui/shell/ModeloListaDeclaracoes.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmVLMs.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace vlme;
using ui::frmNovo;
using ui::frmVLMs;

namespace {

class Seletor : public teste::Janelas {
  protected:
    int declaracao(int nrTransmissao, const QString &codigo, const QString &produto = "Rádio",
                   const QString &razao = {}) {
        return programa.banco
            .executa(
                QStringLiteral("INSERT INTO VLME (DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM,"
                               " RAZAO_SOCIAL_VLM) VALUES (?, ?, ?, ?)"),
                {produto, nrTransmissao, codigo, razao})
            .lastInsertId()
            .toInt();
    }

    // One statement in each delivery state (data/janelas/operacoes_seletor.txt).
    void estados() {
        for (const auto &[nr, codigo] :
             {std::pair{0, ""}, {123, ""}, {-1, ""}, {-1, "200100123"}, {0, "200100999"}, {-2, ""}})
            declaracao(nr, codigo);
    }
    // The picker for `codigo` with row `linha` selected, OK clicked.
    frmVLMs &ok(std::unique_ptr<frmVLMs> &f, int codigo, int linha = 0,
                const std::function<void(frmVLMs &)> &prepara = {}) {
        f = std::make_unique<frmVLMs>(programa, usuario, progresso);
        f->setOperacaoVLM(codigo);
        if (prepara)
            prepara(*f);
        f->dbgVlms->selectRow(linha);
        f->cmdOk->click();
        return *f;
    }
};

// Without a choice OK tells so and stays; Enter and a double click are OK
// once only.
TEST_F(Seletor, NovoSemEscolhaAvisaEnterEDuploCliqueValemOKUmaVezSo) {
    declaracao(0, "");
    frmNovo f(programa, usuario);
    f.show();
    f.lstLista->clearSelection(); // Ctrl+click takes the highlight away
    f.cmdOk->click();
    EXPECT_EQ(usuario.resumos(),
              QStringList("-|Atenção|Você precisa selecionar umas das opções ao lado."));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.escolha(), frmNovo::Escolha::Nenhuma);

    f.lstLista->setCurrentRow(0);
    QTest::keyClick(f.lstLista, Qt::Key_Return);
    EXPECT_EQ(std::tuple(f.escolha(), f.numero(), f.result()),
              std::tuple(frmNovo::Escolha::Vazio, 2, int(QDialog::Accepted)));
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT group_concat(NR_VLM_VLM || quote(CODIGO_VLM)"
                                             " || NR_TRANSMISSAO_VLM) FROM VLME"),
              "1''0,2''0");
    const auto &d = programa.declaracao;
    EXPECT_EQ(std::tuple(d.numero, d.aberta, d.nova, d.alterada), std::tuple(2, true, true, false));

    frmNovo anterior(programa, usuario);
    anterior.show();
    const QRect r = anterior.lstLista->visualItemRect(anterior.lstLista->item(1));
    // A double click arrives after the press of its first click.
    QTest::mouseClick(anterior.lstLista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(anterior.lstLista->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(anterior.escolha(), frmNovo::Escolha::Anterior);
    EXPECT_FALSE(anterior.isVisible());
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_EQ(usuario.mensagens.size(), 1u);
}

// What each operation code shows, its help topic, and which statements it
// lists (data/janelas/operacoes_seletor.txt).
TEST_F(Seletor, TituloAjudaEFiltroDeCadaOperacao) {
    estados();
    const QString casos =
        QString::fromStdString(teste::LeBytes(teste::DadoTeste("janelas/operacoes_seletor.txt")));
    frmVLMs f(programa, usuario, progresso);
    for (const QString &caso : casos.split('\n', Qt::SkipEmptyParts)) {
        if (caso.startsWith('#'))
            continue;
        f.setProperty("OperacaoVLM", caso.section('|', 0, 0).toInt());
        QStringList lista;
        for (int i = 0; i < f.datVlms->rowCount(); ++i)
            lista << QString::number(f.datVlms->numero(i));
        EXPECT_EQ(caso.section('|', 0, 0) + "|" + f.windowTitle() + "|" +
                      f.property("contextoAjuda").toString() + "|" + lista.join(','),
                  caso);
    }
}

// OK does nothing without a row, under the wait pointer, and once only for
// Enter or a double click.
TEST_F(Seletor, ComoSeChegaAoOK) {
    std::vector<int> abertas;
    const auto seletor = [&] {
        auto f = std::make_unique<frmVLMs>(programa, usuario, progresso);
        f->operacoes.abrir = [&](int n) { abertas.push_back(n); };
        f->show();
        return f;
    };
    estados();
    auto f = seletor();
    f->dbgVlms->clearSelection();
    f->cmdOk->click();
    EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Nenhum);
    f->dbgVlms->selectRow(1);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    f->cmdOk->click();
    QGuiApplication::restoreOverrideCursor();
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(abertas.empty());

    f = seletor();
    f->dbgVlms->setFocus();
    QTest::keyClick(f->dbgVlms, Qt::Key_Return); // the list starts on its newest row
    EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Executada);
    EXPECT_EQ(f->result(), QDialog::Accepted);
    f = seletor();
    const QRect r = f->dbgVlms->visualRect(f->datVlms->index(3, 2));
    QTest::mouseClick(f->dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(f->dbgVlms->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(abertas, (std::vector<int>{6, 3}));
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST_F(Seletor, AbrirRegistradaMostraONumeroEARazaoSocial) {
    declaracao(-1, "200100123", "Rádio", "Fábrica de Rádios Ltda");
    declaracao(0, "");
    QStringList painel;
    std::unique_ptr<frmVLMs> f;
    for (const int linha : {0, 1}) {
        ok(f, 2, linha,
           [&](frmVLMs &s) { s.mostraPainel = [&](const QString &t) { painel << t; }; });
        EXPECT_EQ(f->desfecho(), frmVLMs::Desfecho::Aberta);
        const auto &d = programa.declaracao;
        EXPECT_EQ(std::tuple(f->numero(), d.numero, d.aberta, d.nova),
                  std::tuple(2 - linha, 2 - linha, true, false));
    }
    EXPECT_EQ(painel,
              QStringList{" NÚMERO VLM-E : 2001/00123  RAZÃO SOCIAL : Fábrica de Rádios Ltda"});
}

TEST_F(Seletor, ExcluirPerguntaEApagaCopiarAbreACopiaECancelarNaoAbreNada) {
    const int a = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("A", 1.0).nacional();
    const int b = teste::ConstrutorDeclaracao(programa.banco).geral().modelo("A", 1.0).nacional();
    std::unique_ptr<frmVLMs> f;
    usuario.responde(shell::Resposta::Nao);
    EXPECT_EQ(ok(f, 3).desfecho(), frmVLMs::Desfecho::Nenhum);
    EXPECT_EQ(numeros(), "1,2");
    usuario.responde(shell::Resposta::Sim);
    EXPECT_EQ(ok(f, 3, 1).desfecho(), frmVLMs::Desfecho::Excluida); // the older one
    EXPECT_EQ(f->numero(), a);
    EXPECT_EQ(numeros(), QString::number(b));

    EXPECT_EQ(ok(f, 4).desfecho(), frmVLMs::Desfecho::Copiada);
    const auto &d = programa.declaracao;
    EXPECT_EQ(std::tuple(f->numero(), d.numero, d.aberta, d.nova),
              std::tuple(b + 1, b + 1, true, false));
    programa.declaracao = {};
    progresso.cancelaNa = 1;
    EXPECT_EQ(ok(f, 4, 1).desfecho(), frmVLMs::Desfecho::Nenhum);
    EXPECT_FALSE(programa.declaracao.aberta);
    EXPECT_EQ(numeros(), "2,3");
    EXPECT_EQ(usuario.textos().last(), "Operação cancelada pelo usuário.");
}

TEST_F(Seletor, OperacaoDeOutroLugarRecebeONumeroOuAvisaQueFalta) {
    estados();
    std::unique_ptr<frmVLMs> f;
    EXPECT_EQ(ok(f, 15).desfecho(), frmVLMs::Desfecho::Nenhum);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_TRUE(usuario.textos()[0].contains("Diagnóstico VLM-E"));
    std::vector<int> feitas;
    ok(f, 15, 1,
       [&](frmVLMs &s) { s.operacoes.diagnostico = [&](int n) { feitas.push_back(n); }; });
    EXPECT_EQ(feitas, std::vector<int>{4});
    EXPECT_EQ(std::pair(f->desfecho(), f->numero()), std::pair(frmVLMs::Desfecho::Executada, 4));
}

} // namespace
