#pragma once
// The pendency check: everything that stops a statement from being complete,
// as a list of problems in the catalog's words. Windows and vlme-cli show the
// list; this code only reads (and clears the statement's print scratch rows).

#include "base/Erros.h"

#include <QString>

#include <optional>
#include <vector>

namespace vlme::entry {
struct CamposDadosGerais;
} // namespace vlme::entry
namespace vlme::store {
class Banco;
}

namespace vlme::checking {

// The general data to check, from the open general-data form or from the
// statement's stored row.
struct DadosGeraisVerificacao {
    bool doFormulario = false; // the form's own rules apply (fixed coefficient with wages)
    QString cnpj, cpf, ppb, produto, ncm, unidade;
    QString vlmAnterior; // digits without the mask
    double pesoBruto = 0;
    std::optional<double> salarios, encargos; // empty: a stored row holding no value
    bool coeficienteFixo = false;
    bool coeficienteVariavel = false;
    bool retificadorOuSubstitutivo = false;
};

DadosGeraisVerificacao LeDadosGerais(store::Banco &banco, int nrVlm);
// The same fields as the open general-data window holds them, unsaved.
DadosGeraisVerificacao DadosDoFormulario(const entry::CamposDadosGerais &campos);

// Problems of the general data, in checking order, each key at most once.
base::Erros ValidaDadosGerais(const DadosGeraisVerificacao &dados);

// Row kinds of the list texts, numbered as the delivery file's record types.
enum TipoLinha { LinhaNacional = 2, LinhaSubcomponente = 3, LinhaImportado = 4 };
// "Componente Nacional : 3 - <mensagem>".
QString MontaDescricaoPendencia(const QString &mensagem, const QString &sequencia, int tipoLinha);

struct Pendencia {
    QString chave; // catalog key, or the row key ("CN_QTD_3")
    QString texto;
};

// Every problem of the statement: general data first, then the structure.
// `formulario` gives the open form's values; without it the stored row is read.
std::vector<Pendencia> VerificaPendencias(store::Banco &banco, int nrVlm,
                                          const DadosGeraisVerificacao *formulario = nullptr);

inline const QString TextoSemPendencias = QStringLiteral("Nenhum erro foi detectado.");

} // namespace vlme::checking
