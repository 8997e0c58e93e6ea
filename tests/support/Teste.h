#pragma once
// What every test starts from: GoogleTest, the fixtures folder and its tables
// of cases, a data folder with its database, the statement builder, the
// scripted doubles and the program's executables; the Qt classes most tests
// use on files and time.

#include "support/Arquivos.h"
#include "support/Casos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/Processos.h"
#include "support/UsuarioRoteirizado.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <QStringList>

namespace vlme::teste {

// What `texto` makes of each item of `itens`, in order.
template <class Itens, class Texto> QStringList Mapeia(const Itens &itens, Texto texto) {
    QStringList r;
    for (const auto &item : itens)
        r << texto(item);
    return r;
}

// The message of the `Erro` that `operacao` throws; "<sem erro>" when it throws none.
template <class Erro, class Operacao> QString MensagemDoErro(Operacao operacao) {
    try {
        operacao();
    } catch (const Erro &e) {
        return e.mensagem();
    }
    return QStringLiteral("<sem erro>");
}

} // namespace vlme::teste
