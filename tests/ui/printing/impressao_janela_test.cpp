// A list window printed through the preview and saved as a PDF that holds
// the list and the statement it belongs to.

#include "ui/Janelas.h"

using namespace vlme;

TEST(ImpressaoJanela, ListaDoDiagnosticoSaiEmPDFComADeclaracao) {
    teste::BancoTeste b;
    const int n = teste::ConstrutorDeclaracao(b.banco()).geral();
    b.banco().executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 77");
    b.banco().executa("INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO,"
                      " TIPO_ERRO) VALUES (?, 'CNPJ <inválido> & outro', 'Ficha 2', 'Reg 3', '1')",
                      {n});
    teste::UsuarioRoteirizado usuario;
    ui::frmPendencias janela;
    janela.mostraDiagnostico(b.banco(), n, usuario);
    ASSERT_TRUE(janela.cmdImprimir->isEnabled());

    teste::PastaTeste saida;
    usuario.escolhe(saida.arquivo("lista.pdf"));
    QString nomePrevia;
    QStringList atalhos; // the toolbar's buttons take no focus: keys print and save
    teste::QuandoAbrirem({[&](QWidget *previa) {
        nomePrevia = previa->objectName();
        for (QAction *a : previa->findChildren<QAction *>())
            if (!a->shortcut().isEmpty())
                atalhos << a->toolTip();
        if (auto *salvar = previa->findChild<QAction *>("acaoSalvarPDF"))
            salvar->trigger();
        previa->close();
    }});
    janela.cmdImprimir->click();
    EXPECT_EQ(nomePrevia, "frmVisualizacao");
    atalhos.sort();
    EXPECT_EQ(atalhos, QStringList({"Print (Ctrl+P)", "Salvar como PDF (Ctrl+S)"}));
    EXPECT_EQ(usuario.textos().join('|'),
              "Documento gravado em " + saida.arquivo("lista.pdf") + ".");

    const QString lido = teste::TextoPDF(saida.arquivo("lista.pdf")).simplified();
    for (const QString &e :
         {QString("VLM-E nº %1").arg(n), QString("ERROS FICHA REGISTRO"),
          QString("CNPJ <inválido> & outro Ficha 2 Reg 3"), QString("Página 1 de 1")})
        EXPECT_TRUE(lido.contains(e)) << e.toStdString() << "\n" << lido.toStdString();
}
