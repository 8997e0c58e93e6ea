// Backup through the picker, restore and the table imports from the menus:
// their dialogs, their messages, and the pointer back to normal.

#include "ui/Janelas.h"

using namespace vlme;
using namespace vlme::teste;

using CopiaNaJanela = Janelas;

TEST_F(CopiaNaJanela, CopiaRestauracaoETabelasPelosMenus) {
    completa();
    ui::mdiPrincipal janela(programa, usuario);
    const QString copia = pasta.arquivo("copia.BAK");
    for (const QString &arquivo :
         {copia, copia, DadoTeste("tabelas/ncm.txt"), DadoTeste("tabelas/unidades.txt")})
        usuario.escolhe(arquivo);
    // The picker starts on its first row.
    QuandoAbrirem({[](QWidget *seletor) { static_cast<ui::frmVLMs *>(seletor)->cmdOk->click(); }});
    for (auto comando : {shell::Comando::GerarCopia, shell::Comando::Restaurar,
                         shell::Comando::ImportarNCM, shell::Comando::ImportarUnidades})
        janela.executa(comando);
    EXPECT_EQ(usuario.resumos(), Mensagens("copia pelos menus"));
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_EQ(
        ContaLinhas(programa.banco, "NCM_ITEM") + ContaLinhas(programa.banco, "UNIDADE_MEDIDA"), 6);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
