#pragma once
// Import files for the tests: the hand-typed file of two statements in
// tests/data/importacao and files derived from it by changing one field at a
// known position, written into the test's temporary folder.

#include "shell/Progresso.h"
#include "support/PastaTeste.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

namespace vlme::teste {

inline QString ArquivoDados(const char *nome) {
    return QStringLiteral(VLME_DADOS_TESTE "/importacao/") + QLatin1String(nome);
}

// The 12 lines of duas_declaracoes.txt, Latin-1 bytes without their CR LF:
// 1 general data, 2-3 models, 4-5 national, 6-7 subcomponents (DI, invoice),
// 8 imported with a DI; 9 general data of the second statement, 10 model,
// 11 imported with an invoice; 12 totals.
inline QList<QByteArray> LinhasBoas() {
    QFile f(ArquivoDados("duas_declaracoes.txt"));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "sem o arquivo duas_declaracoes.txt";
        return {};
    }
    QList<QByteArray> linhas = f.readAll().split('\n');
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    for (QByteArray &l : linhas)
        if (l.endsWith('\r'))
            l.chop(1);
    return linhas;
}

inline QByteArray Junta(const QList<QByteArray> &linhas, const QByteArray &fim = "\r\n") {
    QByteArray b;
    for (const QByteArray &l : linhas)
        b += l + fim;
    return b;
}

// `texto` (Latin-1) written over the line from position `pos` (from 1).
inline QByteArray Troca(QByteArray linha, int pos, const QString &texto) {
    const QByteArray bytes = texto.toLatin1();
    linha.replace(pos - 1, bytes.size(), bytes);
    return linha;
}

inline QString GravaArquivo(const PastaTeste &pasta, const QString &nome,
                            const QByteArray &conteudo) {
    const QString caminho = pasta.arquivo(nome);
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(conteudo) != conteudo.size())
        ADD_FAILURE() << "não foi possível escrever " << caminho.toStdString();
    return caminho;
}

// Records what the import shows and cancels at a given unit of work.
class ProgressoTeste final : public shell::Progresso {
  public:
    int cancelaNaUnidade = 0; // 0: never
    bool canceladoAntes = false;
    int unidades = 0;
    int aberturas = 0, fechamentos = 0;
    int minimo = -1, maximo = -1, ultimoValor = -1;
    QStringList passos;

    void abre() override { ++aberturas; }
    void fecha() override { ++fechamentos; }
    void passo(const QString &texto) override { passos << texto; }
    void faixa(int mn, int mx) override {
        minimo = mn;
        maximo = mx;
    }
    void valor(int atual) override { ultimoValor = atual; }
    void permiteCancelar(bool) override {}
    bool unidade() override {
        ++unidades;
        if (cancelaNaUnidade > 0 && unidades >= cancelaNaUnidade)
            cancelado_ = true;
        return !cancelado_;
    }
    bool cancelado() const override { return cancelado_ || canceladoAntes; }

  private:
    bool cancelado_ = false;
};

} // namespace vlme::teste
