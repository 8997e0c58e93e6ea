#include "entry/Campos.h"

#include "entry/Numeros.h"

namespace vlme::entry {

namespace {

constexpr char CNPJ[] = "AA.AAA.AAA/AAAA-##";
constexpr char NCM[] = "####.##.##";
constexpr char DATA[] = "##/##/####";

constexpr DefinicaoCampo campos[] = {
    {"frmCentral", "mskCNPJ", CNPJ, 18, "ST"},
    {"frmCentral", "mskCPF", "###.###.###-##", 14, "ST"},
    {"frmCentral", "txtPPB", "", 80, "T"},
    {"frmCentral", "txtDenProduto", "", 80, "T"},
    {"frmCentral", "mskNCM", NCM, 10, "ST"},
    {"frmCentral", "txtUnidade", "", 80, "T"},
    {"frmCentral", "mskPesoBruto", "", 10, "STN"},
    {"frmCentral", "mskSalarios", "", 15, "STN"},
    {"frmCentral", "mskEncargos", "", 15, "STN"},
    {"frmCentral", "mskVlmAnterior", "####/#####-#", 12, "ST"},
    {"frmCentral", "mskNrProcesso", "#################", 17, "ST"},
    {"frmModelos", "txtDescricaoModelo", "", 80, "V"},
    {"frmModelos", "mskCodigoInterno", "", 15, "V"},
    {"frmModelos", "mskPrecoVenda", "", 10, "SVN"},
    {"frmNacionais", "mskNR", "", 10, "EDSV"},
    {"frmNacionais", "mskSerie", "", 5, "EDSV"},
    {"frmNacionais", "mskDataEmissao", DATA, 10, "EDSV"},
    {"frmNacionais", "mskCNPJ", CNPJ, 18, "EDSV"},
    {"frmNacionais", "mskNrInsEstadual", "", 15, "EDV"},
    {"frmNacionais", "mskNCM", NCM, 10, "EDSV"},
    {"frmNacionais", "txtDescricao", "", 80, "EDV"},
    {"frmNacionais", "TxtUnidade", "", 0, "EDV"},
    {"frmNacionais", "mskQTD", "", 64, "EDSVN"},
    {"frmNacionais", "mskCustoUnitario", "", 64, "EDSVN"},
    {"frmImportados", "mskNrDI", "##/#######-#", 12, "EDPSV"},
    {"frmImportados", "mskNrAdicao", "", 3, "EDPSV"},
    {"frmImportados", "mskNrItem", "", 2, "EDPSV"},
    {"frmImportados", "mskNR", "", 10, "EDPV"},
    {"frmImportados", "mskSerie", "", 5, "EDPSV"},
    {"frmImportados", "mskDataEmissao", DATA, 10, "EDPSV"},
    {"frmImportados", "mskCNPJ", CNPJ, 18, "EDPSV"},
    {"frmImportados", "mskNrInsEstadual", "", 15, "EDPV"},
    {"frmImportados", "mskNCM", NCM, 10, "EDPSV"},
    {"frmImportados", "txtUnidade", "", 80, "EDPV"},
    {"frmImportados", "txtDescricao", "", 80, "EDV"},
    {"frmImportados", "mskQTD", "", 16, "EDSVN"},
    {"frmImportados", "mskValorUnitario", "", 16, "EDSVN"},
    {"frmImportados", "mskAliquota", "", 6, "EDSVN"},
    // The lookups' filters, selected whole on entry.
    {"frmAssistNCM", "txtCodigo", NCM, 10, "S"},
    {"FrmAssistUnM", "txtCodigo", "", 0, "S"},
};

constexpr ChamadaConfereValor chamadasValor[] = {
    {"frmCentral", "mskSalarios", 18, 2, "ERRO_SALARIOS_INVALIDO"},
    {"frmCentral", "mskEncargos", 18, 2, "ERRO_ENCARGOS_INVALIDO"},
    {"frmCentral", "mskPesoBruto", 15, 5, "ERRO_PESOBRUTO_INVALIDO"},
    {"frmModelos", "mskPrecoVenda", 18, 2, "ERRO_PRECOVENDA_INVALIDO"},
    {"frmNacionais", "mskCustoUnitario", 18, 6, "ERRO_CUSTO_NAC_INVALIDO"},
    {"frmNacionais", "mskQTD", 17, 7, "ERRO_QTD_NAC_INVALIDO"},
    {"frmImportados", "mskValorUnitario", 18, 6, "ERRO_VALOR_IMP_INVALIDO"},
    {"frmImportados", "mskQTD", 17, 7, "ERRO_QTD_IMP_INVALIDO"},
    {"frmImportados", "mskAliquota", 6, 2, "ERRO_ALIQUOTA_IMP_INVALIDO"},
};

constexpr RegraTecla regrasTecla[] = {
    {"frmCentral", "mskPesoBruto", true, "", false},
    {"frmCentral", "mskSalarios", true, "", false},
    {"frmCentral", "mskEncargos", true, "", false},
    {"frmNacionais", "mskQTD", true, "", false},
    {"frmNacionais", "mskCustoUnitario", true, "", false},
    {"frmImportados", "mskQTD", true, "", false},
    {"frmImportados", "mskValorUnitario", true, "", false},
    {"frmImportados", "mskAliquota", true, "", false},
    {"frmModelos", "mskPrecoVenda", true, "", false},
    {"frmNacionais", "mskNR", false, "", true},
    {"frmImportados", "mskNR", false, "", true},
    {"frmImportados", "mskNrAdicao", false, "", true},
    {"frmImportados", "mskNrItem", false, "", true},
    // No text given, so a comma always passes here; ConfereInscricao refuses it later.
    {"frmNacionais", "mskNrInsEstadual", false, "./-", false},
    {"frmImportados", "mskNrInsEstadual", false, "./-", false},
};

constexpr RegraSaida regrasSaida[] = {
    {"frmCentral", "txtPPB", AoSair::Apara, 0, ""},
    {"frmCentral", "txtDenProduto", AoSair::Apara, 0, ""},
    {"frmModelos", "txtDescricaoModelo", AoSair::Apara, 0, ""},
    {"frmModelos", "mskCodigoInterno", AoSair::Apara, 0, ""},
    {"frmNacionais", "txtDescricao", AoSair::Apara, 0, ""},
    {"frmImportados", "txtDescricao", AoSair::Apara, 0, ""},
    {"frmNacionais", "mskNR", AoSair::Zeros, 10, ""},
    {"frmImportados", "mskNR", AoSair::Zeros, 10, ""},
    {"frmImportados", "mskNrAdicao", AoSair::Zeros, 3, ""},
    {"frmImportados", "mskNrItem", AoSair::Zeros, 2, ""},
    {"frmNacionais", "mskDataEmissao", AoSair::Data, 0, "ERRO_DATAEMISSAO_NAC_INVALIDO"},
    {"frmImportados", "mskDataEmissao", AoSair::Data, 0, "ERRO_DATAEMISSAO_IMP_INVALIDO"},
};

} // namespace

std::span<const DefinicaoCampo> TabelaCampos() {
    return campos;
}

std::span<const ChamadaConfereValor> TabelaConfereValor() {
    return chamadasValor;
}

std::span<const RegraTecla> TabelaFiltroTecla() {
    return regrasTecla;
}

std::span<const RegraSaida> TabelaSaida() {
    return regrasSaida;
}

QString TextoAoEntrar(QStringView tag, const QString &texto) {
    if (!tag.contains(QLatin1Char('N')))
        return texto;
    QString t = texto;
    return t.remove(QLatin1Char('.'));
}

QString NormalizaAoSair(const RegraSaida &regra, const QString &texto) {
    switch (regra.acao) {
    case AoSair::Apara:
        return texto.trimmed();
    case AoSair::Zeros: {
        // As a number: leading zeros already there do not count twice.
        if (!SoNumeros(texto))
            return texto;
        QString t = texto;
        while (t.size() > 1 && t.startsWith(QLatin1Char('0')))
            t.remove(0, 1);
        return t.rightJustified(regra.largura, QLatin1Char('0'));
    }
    case AoSair::Data:
        break;
    }
    return texto;
}

} // namespace vlme::entry
