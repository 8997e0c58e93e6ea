#pragma once
// Reads an untrusted text file line by line in bounded memory, for the
// statement import and the table imports.
//
// A first pass (`conta`) reads the whole file once: it counts the lines and
// tells whether the file is valid UTF-8 throughout and holds a non-ASCII
// character; such a file is then read as UTF-8 (a leading byte-order mark
// skipped), any other as Latin-1, one byte one character. Lines end in CR LF
// or LF alone. A line keeps at most `limite` characters; the rest is counted,
// not kept, so `tamanho` is always the line's true length in characters.
// Not thread-safe; one reader per file.

#include "base/ErroVLME.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

namespace vlme::importacao {

// The file could not be read; `codigo` is the QFileDevice::FileError.
class ErroLeitura : public base::ErroVLME {
  public:
    ErroLeitura(int codigo, const QString &detalhe)
        : ErroVLME(QStringLiteral("Não foi possível ler o arquivo."), detalhe), codigo(codigo) {}
    int codigo;
};

class LeitorLinhas {
  public:
    enum class Codificacao { Latin1, Utf8 };

    struct Contagem {
        qint64 linhas = 0;
        Codificacao codificacao = Codificacao::Latin1;
        bool interrompida = false; // `continua` answered false
        QByteArray sha256;         // of the whole file, lower-case hex; empty when interrupted
    };

    struct Linha {
        QString texto;      // the line without its end, at most `limite` characters
        qint64 tamanho = 0; // its true length in characters
    };

    explicit LeitorLinhas(const QString &caminho, int limite = 1024);

    // Opens (or reopens) the file at its start; false with `erro()` set when it
    // cannot be opened.
    bool abre();
    QFileDevice::FileError erro() const { return arquivo_.error(); }
    QString textoErro() const { return arquivo_.errorString(); }

    // The first pass, from the start. `continua` is asked every few thousand
    // lines and once at the end, with the lines counted so far; answering
    // false stops the count. Leaves the reader at the start of the file, in
    // the encoding found. Throws ErroLeitura.
    Contagem conta(const std::function<bool(qint64)> &continua = {});

    // The next line; false at the end of the file. Throws ErroLeitura.
    bool le(Linha &linha);
    bool fim();

    Codificacao codificacao() const { return codificacao_; }
    void defineCodificacao(Codificacao c) { codificacao_ = c; }

  private:
    bool enche(); // refills the buffer; false at the end of the file

    QFile arquivo_;
    int limite_;
    Codificacao codificacao_ = Codificacao::Latin1;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool inicio_ = true;
};

} // namespace vlme::importacao
