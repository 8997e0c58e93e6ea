#pragma once
// Hand-typed tables of cases under tests/data/casos: one case a line,
// columns split by tabs, '#' lines are the worked figures behind them.

#include "support/Arquivos.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace vlme::teste {

inline QList<QStringList> Casos(const QString &nome) {
    const QString texto = QString::fromStdString(LeBytes(DadoTeste("casos/" + nome)));
    EXPECT_NE(texto, "<sem arquivo>") << nome.toStdString();
    QList<QStringList> casos;
    for (const QString &linha : texto.split('\n'))
        if (!linha.isEmpty() && !linha.startsWith('#') && linha != "<sem arquivo>")
            casos << linha.split('\t');
    return casos;
}

} // namespace vlme::teste
