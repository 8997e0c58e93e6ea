#pragma once
// What the window tests share: the program on a new database in a fresh
// folder, the statement's window, and acting on each modal window a command
// is about to show.

#include "shell/Programa.h"
#include "support/ServidorTeste.h"
#include "support/Teste.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmCentral.h"
#include "ui/shell/frmVLMs.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vlme::teste {

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
        f->show();
        QApplication::setActiveWindow(f.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
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
