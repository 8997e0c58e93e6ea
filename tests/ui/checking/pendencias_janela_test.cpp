// The pendency window in its two modes, and the check as the commands run it.

#include "ui/Janelas.h"

using namespace vlme;

namespace {

class Pendencias : public teste::ComBanco {
  protected:
    // Errors (type 1) and warnings (type 3) from the diagnostic, and one of
    // another statement.
    void diagnostico(int transmissao, const QString &codigo) {
        banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?, CODIGO_VLM = ?",
                      {transmissao, codigo});
        for (const auto &[vlm, texto, tipo] :
             {std::tuple{n, "CNPJ inválido", "1"}, {n, "Peso alto", "3"}, {n + 1, "de outra", "1"}})
            banco.executa(
                "INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO,"
                " TIPO_ERRO) VALUES (?, ?, 'Ficha 2', 'Registro 3', ?)",
                {vlm, texto, tipo});
        janela.mostraDiagnostico(banco, n, usuario);
    }
    QStringList textos(int coluna = 0) {
        QStringList t;
        for (int i = 0; i < janela.lstPendencias->topLevelItemCount(); ++i)
            t << janela.lstPendencias->topLevelItem(i)->text(coluna);
        return t;
    }

    const int n = teste::ConstrutorDeclaracao(banco).geral();
    teste::UsuarioRoteirizado usuario;
    ui::frmPendencias janela;
};

} // namespace

TEST_F(Pendencias, RegistradoListaSoOsAvisosDiagnosticoMostraErrosAvisosERecibo) {
    diagnostico(-1, "200100123");
    EXPECT_EQ(textos(), QStringList({" Peso alto"}));
    EXPECT_EQ(
        usuario.resumos(),
        QStringList("i|ATENÇÃO|Este VLM-E já está registrado. Apenas os avisos serão listados."));
    EXPECT_EQ(janela.windowTitle(), "Pendências"); // no receipt

    // The same window shown again: nothing of the former list stays.
    banco.executa("DELETE FROM ERRO");
    banco.executa("INSERT INTO RECIBO (NR_VLM_RECIBO, NR_TRANSMISSAO_RECIBO, DATA_RECEPCAO_RECIBO,"
                  " HORA_RECEPCAO_RECIBO) VALUES (?, 4711, '2026-11-30', '14:05:09')",
                  {n});
    diagnostico(4711, "");
    EXPECT_EQ(textos(), QStringList({" CNPJ inválido", " Peso alto"}));
    EXPECT_EQ(textos(1), QStringList({"Ficha 2", "Ficha 2"}));
    EXPECT_EQ(janela.lblDataHora->text() + "|" + janela.lblTransmissao->text(),
              "30/11/2026 às 14:05H|4711");
    EXPECT_EQ(janela.windowTitle(), "Diagnóstico");
    EXPECT_TRUE(janela.lblContagem->text().contains("Erros: 1"));
    EXPECT_EQ(usuario.mensagens.size(), 1u); // the one above
    // Help explains the server's answer, not the pendency check.
    int contexto = 0;
    janela.ajuda = [&](int c) { contexto = c; };
    janela.cmdAjuda->click();
    EXPECT_EQ(contexto, shell::ContextoAjuda::Diagnostico);
}

// Without problems (told only when asked: see the main window's flows) it
// shows the list.
TEST_F(Pendencias, VerificaMostraALista) {
    QStringList vistos;
    QTimer::singleShot(0, [&] {
        auto *lista = qobject_cast<ui::frmPendencias *>(QApplication::activeModalWidget());
        ASSERT_NE(lista, nullptr);
        vistos << QString::number(lista->lstPendencias->topLevelItemCount()) + "|" +
                      QString::number(lista->fraProtocolo->isHidden());
        lista->cmdFechar->click();
    });
    EXPECT_TRUE(ui::VerificaPendencias(banco, n, true, usuario, nullptr));
    EXPECT_EQ(vistos, QStringList("2|1")); // no model, no imported component; no receipt
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
