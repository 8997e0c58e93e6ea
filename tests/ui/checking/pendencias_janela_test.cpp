// The pendency window in its two modes, and the check as the commands run it.

#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/checking/frmPendencias.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vlme;
using teste::ConstrutorDeclaracao;

namespace {

void insereErro(store::Banco &banco, int n, const QString &texto, const QString &tipo) {
    banco.executa(
        QStringLiteral("INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO,"
                       " TIPO_ERRO) VALUES (?, ?, 'Ficha 2', 'Registro 3', ?)"),
        {n, texto, tipo});
}

QStringList textos(QTreeWidget *lista, int coluna = 0) {
    QStringList t;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        t << lista->topLevelItem(i)->text(coluna);
    return t;
}

} // namespace

TEST(frmPendencias, ModoPendenciasListaOsProblemas) {
    ui::frmPendencias janela;
    janela.mostraPendencias(
        {{"ERRO_MODELOS", "É obrigatório informar pelo menos um Modelo/Tipo/Referência."},
         {"CN_QTD_3", "Componente Nacional : 3 - Quantidade superior a 8 inteiros."}});
    EXPECT_EQ(janela.windowTitle(), "Pendências");
    EXPECT_EQ(janela.lstPendencias->headerItem()->text(0), "PROBLEMA DETECTADO");
    EXPECT_EQ(textos(janela.lstPendencias).size(), 2);
    EXPECT_EQ(janela.lstPendencias->topLevelItem(1)->data(0, Qt::UserRole).toString(), "CN_QTD_3");
    EXPECT_FALSE(janela.fraProtocolo->isVisibleTo(&janela));
}

TEST(frmPendencias, ModoDiagnosticoComErrosEAvisosERecibo) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco).geral();
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 4711 WHERE NR_VLM_VLM = ?", {n});
    insereErro(banco, n, "CNPJ inválido", "1");
    insereErro(banco, n, "Peso alto", "3");
    insereErro(banco, n + 1, "de outra", "1");
    banco.executa(
        QStringLiteral(
            "INSERT INTO RECIBO (NR_VLM_RECIBO, NR_TRANSMISSAO_RECIBO, DATA_RECEPCAO_RECIBO,"
            " HORA_RECEPCAO_RECIBO) VALUES (?, 4711, '2026-11-30', '14:05:09')"),
        {n});
    teste::UsuarioRoteirizado usuario;
    ui::frmPendencias janela;
    janela.mostraDiagnostico(banco, n, usuario);
    EXPECT_EQ(textos(janela.lstPendencias), QStringList({" CNPJ inválido", " Peso alto"}));
    EXPECT_EQ(textos(janela.lstPendencias, 1), QStringList({"Ficha 2", "Ficha 2"}));
    EXPECT_EQ(janela.lstPendencias->headerItem()->text(2), "REGISTRO");
    EXPECT_EQ(janela.lblDataHora->text(), "30/11/2026 às 14:05H");
    EXPECT_EQ(janela.lblTransmissao->text(), "4711");
    EXPECT_EQ(janela.windowTitle(), "Diagnóstico");
    EXPECT_TRUE(janela.lblContagem->text().contains("Erros: 1"));
    EXPECT_TRUE(usuario.mensagens.empty());
}

TEST(frmPendencias, RegistradoListaSoOsAvisos) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int n = ConstrutorDeclaracao(banco).geral();
    banco.executa(
        "UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100123' WHERE NR_VLM_VLM = ?",
        {n});
    insereErro(banco, n, "Erro velho", "1");
    insereErro(banco, n, "Aviso", "3");
    teste::UsuarioRoteirizado usuario;
    ui::frmPendencias janela;
    janela.mostraDiagnostico(banco, n, usuario);
    EXPECT_EQ(textos(janela.lstPendencias), QStringList({" Aviso"}));
    EXPECT_EQ(
        usuario.resumos(),
        QStringList("i|ATENÇÃO|Este VLM-E já está registrado. Apenas os avisos serão listados."));
    EXPECT_EQ(janela.windowTitle(), "Pendências"); // no receipt
}

// Without problems it tells so only when asked; with them it shows the list.
TEST(VerificaPendencias, AvisaSoQuandoPedidoOuMostraALista) {
    teste::BancoTeste b;
    auto &banco = b.banco();
    const int completa = ConstrutorDeclaracao(banco).geral().modelo("M", 1.0).importadoDI();
    const int incompleta = ConstrutorDeclaracao(banco).geral();
    teste::UsuarioRoteirizado usuario;
    EXPECT_FALSE(ui::VerificaPendencias(banco, completa, false, usuario, nullptr));
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_FALSE(ui::VerificaPendencias(banco, completa, true, usuario, nullptr));
    EXPECT_EQ(usuario.resumos(), QStringList("i|Pendências|Nenhum erro foi detectado."));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QStringList vistos;
    QTimer::singleShot(0, [&] {
        auto *janela = qobject_cast<ui::frmPendencias *>(QApplication::activeModalWidget());
        ASSERT_NE(janela, nullptr);
        vistos = textos(janela->lstPendencias);
        janela->cmdFechar->click();
    });
    EXPECT_TRUE(ui::VerificaPendencias(banco, incompleta, true, usuario, nullptr));
    EXPECT_EQ(vistos.size(), 2); // no model, no imported component
    EXPECT_EQ(usuario.mensagens.size(), 1u);
}
