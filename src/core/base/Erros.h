#pragma once
// Messages about problems in the user's data: one `Erro` per problem and the
// keyed collection `Erros`. The program's catalog is one `Erros` built once by
// `CarregaCatalogo` and looked up by key (ERRO_...); it also keeps the texts
// the lower layers report through (the database's errors, its waits and its
// progress steps), which name a key and leave the wording here.

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace vlme::base {
class InterfaceUsuario;
}

namespace vlme::base {

class Erro {
  public:
    QString Campo;     // input control the problem belongs to, may be empty
    QString Origem;    // window where it was found, may be empty
    QString Descricao; // the message text
    QString Id;        // catalog key

    // Text of the message box: the description alone, or with the origin and
    // field on their own lines.
    QString TextoAlerta(bool detalhes) const;
    void Alerta(base::InterfaceUsuario &usuario, bool detalhes) const;
};

// Ordered, keyed collection. A key is present at most once.
class Erros {
  public:
    // Creates and adds an Erro under `chave` (or `id` when empty). Returns
    // nullptr, keeping the first, when the key is already present.
    Erro *Add(const QString &id, const QString &descricao, const QString &origem = {},
              const QString &campo = {}, const QString &chave = {});

    // By key; nullptr when absent.
    const Erro *Item(const QString &chave) const;
    // By position from 1, as the collection always counted; nullptr out of range.
    const Erro *Item(int indice) const;
    int Count() const { return static_cast<int>(itens_.size()); }
    bool Remove(const QString &chave);
    bool Remove(int indice);

    // Insertion order.
    auto begin() const { return itens_.begin(); }
    auto end() const { return itens_.end(); }

    // Description of a key; the key itself when absent, so a missing entry is
    // visible instead of an empty box.
    QString Descricao(const QString &chave) const;

  private:
    struct Entrada {
        QString chave;
        std::unique_ptr<Erro> erro;
    };
    std::vector<Entrada> itens_;
    std::map<QString, std::size_t> indice_;
    void reindexa();
};

// Builds the program's catalog with every key and text.
Erros CarregaCatalogo();

// The catalog, built on first use and kept for the program's life.
const Erros &Catalogo();

namespace detalhe {
inline QString Argumento(const QString &texto) {
    return texto;
}
inline QString Argumento(qint64 numero) {
    return QString::number(numero);
}
} // namespace detalhe

// The catalog's text for `chave` with its %1, %2... filled in one pass, so a
// value that itself holds "%1" (a user or folder name) is left as it is.
template <typename... Args> QString Mensagem(const char *chave, const Args &...args) {
    const QString texto = Catalogo().Descricao(QLatin1String(chave));
    if constexpr (sizeof...(args) == 0)
        return texto;
    else
        return texto.arg(detalhe::Argumento(args)...);
}

} // namespace vlme::base
