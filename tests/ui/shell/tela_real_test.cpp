// Typed through a real window system (scripts/tela-teste.sh: Xvfb, openbox,
// xdotool), as a clerk who uses only the keyboard: after every command that
// opens or replaces a statement window, the keys land in its first field;
// after those that show a dialog and open none, the menu keys still work.
// Run only there: ctest's TelaReal.

#include "backup/CopiaSeguranca.h"
#include "store/Reservas.h"
#include "ui/Janelas.h"
#include "ui/shell/Inatividade.h"

#include <QMenu>

using namespace vlme;

namespace {

class TelaReal : public teste::Janelas {
  protected:
    // xdotool's keys, sent to whatever window the window manager gave the
    // keyboard, while this program's event loop runs (the dialogs they open
    // run theirs).
    void teclas(const QString &teclas) {
        QProcess p;
        p.start("xdotool",
                QStringList{"key", "--delay", "120"} + teclas.split(' ', Qt::SkipEmptyParts));
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000));
        QTest::qWait(300);
    }
    // The digits typed after the command reach the first field of the
    // statement window, with no click between.
    QString digitadoNoCampo(ui::mdiPrincipal &principal, int caso) {
        if (!QTest::qWaitFor([&] { return principal.dadosGerais() != nullptr; }, 10000))
            return "(nenhuma janela da declaração)";
        auto *cnpj = principal.dadosGerais()->mskCNPJ;
        // Two digits no earlier case typed (a full field takes them at its start).
        const QString digitos = QString("9%1").arg(caso);
        teclas(QString("Home 9 %1").arg(caso));
        if (!cnpj->text().startsWith(digitos))
            return "(nada chegou ao CNPJ; foco em " +
                   (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                : QString("nenhum")) +
                   ")";
        // And the menu keys too.
        return menuAbre(principal) == "menu" ? "campo" : "(o menu não abriu depois)";
    }
    // Alt+D opens the Declaração menu.
    QString menuAbre(ui::mdiPrincipal &principal) {
        QMenu *menu = principal.mnuArquivo;
        teclas("alt+d");
        const bool aberto =
            QTest::qWaitFor([&] { return QApplication::activePopupWidget() == menu; }, 3000);
        if (aberto)
            menu->close();
        return aberto ? "menu" : "(o menu não abriu)";
    }
};

TEST_F(TelaReal, DepoisDeCadaComandoAsTeclasChegam) {
    const int n = completa();
    const QString copia = pasta.arquivo("copia.bak");
    usuario.escolhe(copia);
    ASSERT_TRUE(backup::GeraCopiaSeguranca(programa.banco, programa.pasta, n, usuario, progresso));
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    principal.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&principal));
    store::Banco outra;
    abreOutra(outra);
    std::optional<store::Reserva> deOutro;

    const struct {
        const char *comando;
        std::function<void()> antes;
        const char *teclas;
        const char *espera;
    } casos[] = {
        {"Abrir", {}, "alt+d a Return", "campo"},
        {"Novo", {}, "alt+d n Return", "campo"},
        {"Cópia", {}, "alt+d n Down Return Return", "campo"},
        {"Importar uma declaração",
         [&] { usuario.escolhe(teste::DadoTeste("importacao/digitada_nos_formularios.txt")); },
         "alt+d m", "menu"},
        {"Restaurar", [&] { usuario.escolhe(copia); }, "alt+u s r", "menu"},
        // Held by another program it opens for reading; F5 once it is free.
        {"F5 na consulta",
         [&] {
             deOutro.emplace(outra, n);
             principal.abre(n);
             deOutro.reset();
         },
         "F5", "campo"},
        // Closed for lack of use, then opened again.
        {"Fechada sem uso",
         [&] {
             principal.abre(n);
             principal.inatividade().defineIntervalo(200);
             QTest::qWaitFor([&] { return !programa.declaracao.aberta; }, 5000);
             principal.inatividade().defineIntervalo(60 * 60 * 1000);
         },
         "alt+d a Return", "campo"},
    };
    int caso = 0;
    for (const auto &c : casos) {
        SCOPED_TRACE(c.comando);
        ++caso;
        if (c.antes)
            c.antes();
        teclas(c.teclas);
        EXPECT_EQ(QString(c.espera) == "campo" ? digitadoNoCampo(principal, caso)
                                               : menuAbre(principal),
                  c.espera);
        principal.executa(shell::Comando::Fechar);
        EXPECT_FALSE(programa.declaracao.aberta);
    }
}

} // namespace
