#pragma once
// Hand-typed tables of cases under tests/data/casos: one case a line,
// columns split by tabs, '#' lines are the worked figures behind them.

#include "support/Arquivos.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace vlme::teste {

inline QList<QStringList> Casos(const QString &nome) {
    QFile f(DadoTeste("casos/" + nome));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nome.toStdString();
    QList<QStringList> casos;
    for (const QString &linha : QString::fromUtf8(f.readAll()).split('\n'))
        if (!linha.isEmpty() && !linha.startsWith('#'))
            casos << linha.split('\t');
    return casos;
}

} // namespace vlme::teste
