// Backup through the picker, restore and the table imports from the menus:
// their dialogs, their messages, and the pointer back to normal.

#include "shell/Comandos.h"
#include "support/Arquivos.h"
#include "ui/Janelas.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QDir>
#include <QPushButton>
#include <QTableView>

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
    QuandoAbrirem({[](QWidget *janela) {
        auto *seletor = qobject_cast<ui::frmVLMs *>(janela);
        ASSERT_NE(seletor, nullptr);
        EXPECT_EQ(seletor->windowTitle(), "Backup da Declaração");
        seletor->dbgVlms->selectRow(0);
        seletor->cmdOk->click();
    }});
    for (auto comando : {shell::Comando::GerarCopia, shell::Comando::Restaurar,
                         shell::Comando::ImportarNCM, shell::Comando::ImportarUnidades})
        janela.executa(comando);
    EXPECT_EQ(usuario.resumos(),
              QStringList({"i|Cópia de Segurança|A Cópia de Segurança foi gerada com sucesso!",
                           "i|Cópia de Segurança|A Restauração da Cópia de Segurança foi "
                           "efetuada com sucesso!",
                           "-||Tabela de NCM importada com sucesso.",
                           "-||Tabela de Unidade de medida comercial importada com sucesso."}));
    QStringList titulos;
    for (const auto &d : usuario.dialogos)
        titulos << d.titulo + ' ' + d.filtro;
    EXPECT_EQ(titulos, QStringList({"Gerar Cópia de Segurança Arquivos backup VLME (*.BAK)",
                                    "Restaurar Cópia de Segurança Arquivos backup VLME (*.BAK)",
                                    "Importar Tabela NCM Arquivo texto (*.*)",
                                    "Importar Tabela de Unidades de Medida Arquivo texto (*.*)"}));
    EXPECT_EQ(numeros(), "1,2");
    EXPECT_EQ(
        ContaLinhas(programa.banco, "NCM_ITEM") + ContaLinhas(programa.banco, "UNIDADE_MEDIDA"), 6);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
