#pragma once
// The three lists of the general-data window (models, national components,
// imported components that are not subcomponents) and their search. Rows are
// read in one pass into plain values; the window formats only what it shows.
// User-interface thread, like the connection.

#include <QString>

#include <optional>
#include <vector>

namespace vlme::store {
class Banco;
}

namespace vlme::entry {

enum class Lista { Modelos, Nacionais, Importados };

struct LinhaLista {
    int nrSq = 0;
    QString descricao;     // description of the model or component
    QString codigoInterno; // models only
    double quantidade = 0;
    double valor = 0; // sale price, or unit cost/value
    double total = 0; // quantity x unit value
    double valorII = 0;
};

// In the order the statement holds them (their sequence numbers).
std::vector<LinhaLista> LeLista(store::Banco &banco, int nrVlm, Lista lista);

// The first row whose description (or, for models, internal code) contains
// `texto`, letter case and accents ignored, or (components) whose number is `texto`. The
// user's "%" and "_" are plain characters. Nothing when none matches.
std::optional<int> Localiza(store::Banco &banco, int nrVlm, Lista lista, const QString &texto);

// What the search asks and answers when nothing is found.
QString PerguntaLocalizar(Lista lista);
QString TextoNaoEncontrado(Lista lista);

} // namespace vlme::entry
