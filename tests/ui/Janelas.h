#pragma once
// What the window tests share: the program on a new database in a fresh
// folder, and acting on each modal window a command is about to show.

#include "shell/Programa.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vlme::teste {

class Janelas : public ::testing::Test {
  protected:
    Janelas() {
        programa.pasta = pasta.caminho();
        programa.banco.cria(pasta.arquivo("VLM.MDB"));
        programa.banco.abre(pasta.arquivo("VLM.MDB"));
    }
    ~Janelas() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    void abreDeclaracao(int numero) { programa.declaracao = {numero, true, false, false}; }
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
