#pragma once
// The decisions behind the field checks of the editing forms: each takes the
// field's value (digits only for masked fields) and the message to show, and
// says whether the field passes. Showing the message and moving the focus is
// the window's part. Pure functions; any thread.

#include <QString>

#include <optional>

namespace vlme::entry {

struct Conferencia {
    bool passou = true;
    QString mensagem;             // what to show when it failed
    std::optional<QString> texto; // ConfereValor: the field's new text when it passed
    explicit operator bool() const { return passou; }
};

// Fails when the text, trimmed, is empty.
Conferencia ConfereObrigatorio(const QString &texto, const QString &mensagem);
Conferencia ConfereCNPJ(const QString &valor, const QString &mensagem);
// DDMMYYYY.
Conferencia ConfereData(const QString &valor, const QString &mensagem);
Conferencia ConfereNCM(const QString &valor, const QString &mensagem);
// Fails on an invoice number made of zeros only.
Conferencia ConfereNumeroNota(const QString &texto, const QString &mensagem);
Conferencia ConfereDI(const QString &valor, const QString &mensagem);
// A DI item is 1 to 80.
Conferencia ConfereItem(const QString &texto, const QString &mensagem);
// Fails on a DI addition made of zeros only.
Conferencia ConfereAdicao(const QString &texto, const QString &mensagem);
// A state registration uses only "1234567890/.-".
Conferencia ConfereInscricao(const QString &texto, const QString &mensagem);

// A numeric field of `largura` (at most 16) with `decimais`: at most
// largura - decimais - 1 integer digits and `decimais` decimals. On success
// `texto` holds the value written back grouped; on failure the message ends
// with the digits allowed.
Conferencia ConfereValor(const QString &texto, int largura, int decimais, const QString &mensagem);

} // namespace vlme::entry
