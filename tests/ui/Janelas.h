#pragma once
// What the window tests share: the program on a new database in a fresh
// folder, the statement's window, and acting on each modal window a command
// is about to show; the window classes most of them reach.

#include "entry/OperacaoFormulario.h"
#include "shell/ContextosAjuda.h"
#include "shell/Inicializacao.h"
#include "shell/Programa.h"
#include "support/Teste.h"
#include "ui/checking/frmPendencias.h"
#include "ui/delivery/frmEntrega.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmAssistentes.h"
#include "ui/entry/frmCentral.h"
#include "ui/entry/frmImportados.h"
#include "ui/entry/frmModelos.h"
#include "ui/entry/frmNacionais.h"
#include "ui/shell/UsuarioJanela.h"
#include "ui/shell/frmAjuda.h"
#include "ui/shell/frmNovo.h"
#include "ui/shell/frmSobre.h"
#include "ui/shell/frmVLMs.h"
#include "ui/shell/mdiPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace vlme::teste {

// `janela` shown and made the active window; false if it never becomes so.
inline bool Ativa(QWidget *janela) {
    janela->show();
    QApplication::setActiveWindow(janela);
    return QTest::qWaitForWindowActive(janela);
}

class Janelas : public ::testing::Test {
  protected:
    Janelas() {
        programa.pasta = pasta.caminho();
        if (NoServidor()) {
            programa.urlBanco = NovoEsquemaServidor();
            programa.banco.abreServidor(programa.urlBanco);
            return;
        }
        programa.banco.cria(pasta.arquivo("VLM.MDB"));
        programa.banco.abre(pasta.arquivo("VLM.MDB"));
    }
    ~Janelas() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    // The same database in another connection, as another program holds it.
    void abreOutra(store::Banco &outra) {
        if (programa.urlBanco.isEmpty())
            outra.abre(pasta.arquivo("VLM.MDB"));
        else
            outra.abreServidor(programa.urlBanco);
    }
    void abreDeclaracao(int numero) { programa.declaracao = {numero, true, false, false}; }
    // The statement's window on statement `numero`, shown and active.
    std::unique_ptr<ui::frmCentral> abreCentral(int numero) {
        abreDeclaracao(numero);
        auto f = std::make_unique<ui::frmCentral>(programa, usuario);
        f->carrega();
        EXPECT_TRUE(Ativa(f.get()));
        return f;
    }
    // A statement without pendencies.
    int completa() {
        return ConstrutorDeclaracao(programa.banco).geral().modelo("M", 1.0).importadoDI();
    }
    QString numeros() {
        return Valores(programa.banco, "SELECT group_concat(NR_VLM_VLM) FROM VLME");
    }

    PastaTeste pasta;
    shell::Programa programa;
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
};

// A form as a user types it, by its name in data/casos/digitados.tsv.
inline QString Digitado(const QString &nome) {
    for (const QStringList &c : Casos("digitados.tsv"))
        if (c.value(0) == nome)
            return c.value(1);
    ADD_FAILURE() << "nada digitado como " << nome.toStdString();
    return {};
}

// The messages data/janelas/mensagens.tsv lists under `nome`, as the scripted
// user sums them up; %1 left for the test to fill.
inline QStringList Mensagens(const QString &nome) {
    QStringList r;
    for (const QStringList &c : Casos("../janelas/mensagens.tsv"))
        if (c.value(0) == nome)
            r << QString(c.value(1)).replace("\\r\\n", "\r\n");
    EXPECT_FALSE(r.isEmpty()) << nome.toStdString();
    return r;
}

// "field=text;option;..." typed into a window's fields, options clicked by name.
inline void Preenche(QWidget *janela, const QString &valores) {
    for (const QString &v : valores.split(';', Qt::SkipEmptyParts)) {
        if (auto *o = janela->findChild<QRadioButton *>(v)) {
            o->click();
            continue;
        }
        auto *campo = janela->findChild<ui::CampoMascarado *>(v.section('=', 0, 0));
        ASSERT_NE(campo, nullptr) << v.toStdString();
        campo->setText(v.section('=', 1));
    }
}

inline void Clica(QWidget *janela, const char *botao) {
    janela->findChild<QPushButton *>(botao)->click();
}

// OK on the picker's first row, the newest statement.
inline void PrimeiraDoSeletor(QWidget *janela) {
    auto *seletor = qobject_cast<ui::frmVLMs *>(janela);
    ASSERT_NE(seletor, nullptr);
    seletor->dbgVlms->selectRow(0);
    seletor->cmdOk->click();
}

// Runs each action on the modal window that comes up, in order.
inline void QuandoAbrirem(std::vector<std::function<void(QWidget *)>> acoes, int espera = 0) {
    QTimer::singleShot(espera, [acoes = std::move(acoes)]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return QuandoAbrirem(std::move(acoes), 10);
        const auto acao = acoes.front();
        acoes.erase(acoes.begin());
        acao(modal);
        if (!acoes.empty())
            QuandoAbrirem(std::move(acoes), 10);
    });
}

} // namespace vlme::teste
