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
#include <memory>

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
inline void QuandoAbrirem(std::vector<std::function<void(QWidget *)>> acoes) {
    auto fila = std::make_shared<std::vector<std::function<void(QWidget *)>>>(std::move(acoes));
    auto passo = std::make_shared<std::function<void()>>();
    *passo = [fila, passo] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, *passo);
            return;
        }
        auto acao = fila->front();
        fila->erase(fila->begin());
        acao(modal);
        if (!fila->empty())
            QTimer::singleShot(10, *passo);
    };
    QTimer::singleShot(0, *passo);
}

} // namespace vlme::teste
