#pragma once
// The one family of errors the program throws: each carries the text the user
// reads (Portuguese, saying what happened and what to do) and, apart, a
// technical detail that may follow it (SQLite's own text, a file name).
// Every command catches ErroVLME, and anything else, at its boundary.

#include <QString>

#include <stdexcept>

namespace vlme::base {

class ErroVLME : public std::runtime_error {
  public:
    explicit ErroVLME(const QString &mensagem, const QString &detalhe = {})
        : std::runtime_error(mensagem.toStdString()), mensagem_(mensagem), detalhe_(detalhe) {}
    QString mensagem() const { return mensagem_; }
    QString detalhe() const { return detalhe_; }

  private:
    QString mensagem_;
    QString detalhe_;
};

// Work stopped after the user was told why and chose what to do: the command's
// boundary says nothing more.
class ErroJaInformado : public ErroVLME {
  public:
    ErroJaInformado() : ErroVLME(QStringLiteral("Operação interrompida.")) {}
};

} // namespace vlme::base
