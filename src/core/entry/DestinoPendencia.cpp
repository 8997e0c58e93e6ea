#include "entry/DestinoPendencia.h"

#include "store/Banco.h"

namespace vlme::entry {

namespace {

// General-data keys by their stem: ERRO_<stem>_... lands in the field.
struct CampoGeral {
    const char *prefixo;
    const char *campo;
};
constexpr CampoGeral CamposGerais[] = {
    {"ERRO_CNPJ_", "mskCNPJ"},
    {"ERRO_CPF_", "mskCPF"},
    {"ERRO_PPB_", "txtPPB"},
    {"ERRO_PRODUTO_", "txtDenProduto"},
    {"ERRO_NCM_", "mskNCM"},
    {"ERRO_PESOBRUTO_", "mskPesoBruto"},
    {"ERRO_UNIDADE_", "txtUnidade"},
    // Wages with the fixed coefficient: the fields are locked until the
    // coefficient is changed.
    {"ERRO_SALARIOS_C_RED_FIX", "optVariavel"},
    {"ERRO_ENCARGOS_C_RED_FIX", "optVariavel"},
    {"ERRO_SALARIOS_", "mskSalarios"},
    {"ERRO_ENCARGOS_", "mskEncargos"},
    {"ERRO_VLMANTERIOR_", "mskVlmAnterior"},
};

struct ChaveLista {
    const char *chave;
    int aba;
    Lista lista;
    const char *primeiraLinha; // the first offending row, when the key names none
};
constexpr ChaveLista ChavesLista[] = {
    {"ERRO_MODELOS", 0, Lista::Modelos, nullptr},
    {"ERRO_MODELOS_SQ", 0, Lista::Modelos, nullptr},
    {"ERRO_SEM_NF", 1, Lista::Nacionais,
     "SELECT MIN(NR_SQ_NACIONAL) FROM COMPONENTES_NACIONAIS"
     " WHERE NR_VLM_NACIONAL = ? AND NR_SEQ_NF_NACIONAL = 0"},
    {"ERRO_NACIONAIS_SQ", 1, Lista::Nacionais, nullptr},
    {"ERRO_IMPORTADOS", 2, Lista::Importados, nullptr},
    {"ERRO_SEM_DI_NF", 2, Lista::Importados,
     "SELECT MIN(NR_SQ_IMPORTADO) FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
     " AND NR_SEQ_DI_IMPORTADO = 0 AND NR_SEQ_NF_IMPORTADO = 0"},
    {"ERRO_COM_DI_NF", 2, Lista::Importados,
     "SELECT MIN(NR_SQ_IMPORTADO) FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
     " AND NR_SEQ_DI_IMPORTADO <> 0 AND NR_SEQ_NF_IMPORTADO <> 0"},
    {"ERRO_IMPORTADOS_SQ", 2, Lista::Importados, nullptr},
};

} // namespace

std::optional<DestinoPendencia> DestinoDaPendencia(store::Banco &banco, int nrVlm,
                                                   const QString &chave) {
    for (const CampoGeral &c : CamposGerais)
        if (chave.startsWith(QLatin1String(c.prefixo)))
            return DestinoPendencia{0, Lista::Modelos, 0, QString::fromLatin1(c.campo), false};
    for (const ChaveLista &c : ChavesLista)
        if (chave == QLatin1String(c.chave)) {
            DestinoPendencia d{c.aba, c.lista, 0, {}, false};
            if (c.primeiraLinha)
                d.nrSq = banco.escalar(QString::fromLatin1(c.primeiraLinha), {nrVlm}).toInt();
            return d;
        }
    // Row keys: CN_ national, CI_ imported, SI_ subcomponent; QTD_ or VLR_.
    const QStringList partes = chave.split(QLatin1Char('_'));
    bool ok = false;
    const int nrSq = partes.size() == 3 ? partes[2].toInt(&ok) : 0;
    if (!ok)
        return std::nullopt;
    const bool quantidade = partes[1] == QLatin1String("QTD");
    if (partes[0] == QLatin1String("CN"))
        return DestinoPendencia{
            1, Lista::Nacionais, nrSq,
            quantidade ? QStringLiteral("mskQTD") : QStringLiteral("mskCustoUnitario"), true};
    if (partes[0] == QLatin1String("CI"))
        return DestinoPendencia{
            2, Lista::Importados, nrSq,
            quantidade ? QStringLiteral("mskQTD") : QStringLiteral("mskValorUnitario"), true};
    if (partes[0] == QLatin1String("SI")) {
        // A subcomponent is reached through the national component it belongs to.
        const int dono = banco
                             .escalar(QStringLiteral("SELECT N_NACIONAL_SUBCOMP FROM SUBCOMP"
                                                     " WHERE N_VLM_SUBCOMP = ?"
                                                     " AND N_IMPORTADO_SUBCOMP = ?"),
                                      {nrVlm, nrSq})
                             .toInt();
        return DestinoPendencia{1, Lista::Nacionais, dono, {}, false};
    }
    return std::nullopt;
}

} // namespace vlme::entry
