#pragma once
// What the import tests share: the hand-typed file of two statements, lines
// derived from it, and a fixture whose database holds one
// statement that no failed import may touch.

#include "import/Importacao.h"
#include "store/Banco.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vlme::teste {

inline QString ArquivoDados(const char *nome) {
    return QStringLiteral(VLME_DADOS_TESTE "/importacao/") + QLatin1String(nome);
}

// The 12 lines of duas_declaracoes.txt without their CR LF: 1 general data,
// 2-3 models, 4-5 national, 6-7 subcomponents (DI, invoice), 8 imported with
// a DI; 9 general data of the second statement, 10 model, 11 imported with an
// invoice; 12 totals.
inline QList<QByteArray> LinhasBoas() {
    QList<QByteArray> linhas =
        QByteArray::fromStdString(LeBytes(ArquivoDados("duas_declaracoes.txt"))).split('\n');
    linhas.removeAll(QByteArray());
    for (QByteArray &l : linhas)
        l.chop(l.endsWith('\r') ? 1 : 0);
    return linhas;
}

inline QByteArray Junta(const QList<QByteArray> &linhas, const QByteArray &fim = "\r\n") {
    return linhas.join(fim) + fim;
}

// `texto` (Latin-1) written over the line from position `pos` (from 1).
inline QByteArray Troca(QByteArray linha, int pos, const QString &texto) {
    return linha.replace(pos - 1, texto.size(), texto.toLatin1());
}

inline QString GravaArquivo(const PastaTeste &pasta, const QString &nome,
                            const QByteArray &conteudo) {
    GravaBytes(pasta.arquivo(nome), conteudo.toStdString());
    return pasta.arquivo(nome);
}

class ImportacaoTeste : public ::testing::Test {
  protected:
    BancoTeste bt;
    store::Banco &banco = bt.banco();
    PastaTeste pasta;
    ProgressoRoteirizado progresso;
    QList<QByteArray> l = LinhasBoas();
    QStringList antes;

    void SetUp() override {
        ConstrutorDeclaracao(banco).geral().modelo("Existente", 1.0).nacional().importadoDI();
        antes = ConteudoBanco(banco);
    }

    importacao::ResultadoImportacao importa(const QByteArray &conteudo) {
        return importacao::ImportaArquivo(banco, progresso, GravaArquivo(pasta, "a.txt", conteudo));
    }
};

} // namespace vlme::teste
