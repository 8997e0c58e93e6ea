// Whatever a command's operation throws is told to the user in one message,
// and the program goes on.

#include "shell/Programa.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vlme;

namespace {

class PrincipalComDefeito : public ui::mdiPrincipal {
  public:
    using ui::mdiPrincipal::mdiPrincipal;
    void mostraSobre() override { throw std::logic_error("sobre quebrado"); }
};

const QString Interno = QStringLiteral("Ocorreu um erro interno no VLM-E");

} // namespace

TEST(FronteiraComandos, ExcecaoQualquerViraMensagemEOProgramaSegue) {
    teste::PastaTeste pasta;
    shell::Programa programa;
    programa.pasta = pasta.caminho();
    programa.banco.cria(pasta.arquivo("VLM.MDB"));
    programa.banco.abre(pasta.arquivo("VLM.MDB"));
    teste::ConstrutorDeclaracao(programa.banco).geral();
    teste::UsuarioRoteirizado usuario;

    // A menu command, twice: the first failure did not end the program.
    PrincipalComDefeito principal(programa, usuario);
    principal.mnuSobre->trigger();
    principal.mnuSobre->trigger();
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[1].titulo, QStringLiteral("ERRO"));
    EXPECT_EQ(usuario.mensagens[1].icone, shell::Icone::Critico);
    EXPECT_TRUE(usuario.mensagens[1].texto.startsWith(Interno));
    EXPECT_TRUE(usuario.mensagens[1].texto.endsWith(QStringLiteral("técnico: sobre quebrado")));

    // The picker's OK: the operation fails, the picker closes with nothing done.
    ui::frmVLMs seletor(programa, usuario, principal.progresso());
    seletor.operacoes.abrir = [](int) { throw std::out_of_range("linha"); };
    seletor.dbgVlms->selectRow(0);
    seletor.cmdOk->click();
    ASSERT_EQ(usuario.mensagens.size(), 3u);
    EXPECT_TRUE(usuario.mensagens[2].texto.startsWith(Interno));
    EXPECT_EQ(seletor.desfecho(), ui::frmVLMs::Desfecho::Nenhum);
}
