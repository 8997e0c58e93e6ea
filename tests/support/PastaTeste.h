#pragma once
// A fresh data folder per test, removed afterwards, and a database of the
// current layout opened in it.

#include "ServidorTeste.h"
#include "store/Banco.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vlme::teste {

class PastaTeste {
  public:
    PastaTeste() {
        if (!dir_.isValid())
            ADD_FAILURE() << "não foi possível criar a pasta temporária";
    }
    QString caminho() const { return dir_.path(); }
    QString arquivo(const QString &nome) const { return dir_.filePath(nome); }

  private:
    QTemporaryDir dir_;
};

// A data folder with a new, open VLM.MDB, or a new schema on the test server.
class BancoTeste {
  public:
    BancoTeste() {
        if (NoServidor()) {
            url_ = NovoEsquemaServidor();
            banco_.abreServidor(url_);
            return;
        }
        banco_.cria(caminhoBanco());
        banco_.abre(caminhoBanco());
    }
    store::Banco &banco() { return banco_; }
    // The same database in another connection, as another program holds it.
    void abreOutra(store::Banco &outra) const {
        if (url_.isEmpty())
            outra.abre(caminhoBanco());
        else
            outra.abreServidor(url_);
    }
    QString pasta() const { return pasta_.caminho(); }
    // The server schema's URL, as a clerk's role; empty on the file.
    QString url() const { return url_; }
    QString caminhoBanco() const { return pasta_.arquivo(QStringLiteral("VLM.MDB")); }

  private:
    PastaTeste pasta_;
    QString url_;
    store::Banco banco_;
};

// A fixture with a new, open VLM.MDB at hand.
class ComBanco : public ::testing::Test {
  protected:
    BancoTeste base;
    store::Banco &banco = base.banco();
};

} // namespace vlme::teste

// Prints QStrings readably in failed expectations (gtest would otherwise
// print them character by character, as a container).
#include <ostream>
inline std::ostream &operator<<(std::ostream &os, const QString &s) {
    return os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}
