#pragma once
// The statement file's record layouts: where each field stands (from 1, the
// record type at 1) and how wide it is. The delivery file is written by them
// and the import reads by them, so the two never disagree.

namespace vlme::delivery {

struct Campo {
    int posicao;
    int largura;
    constexpr int fim() const { return posicao + largura; } // where the next field starts
};

inline constexpr int TamanhoRegistro0 = 352;
inline constexpr int TamanhoRegistro1 = 115;
inline constexpr int TamanhoRegistro2 = 255;
inline constexpr int TamanhoRegistro3 = 278;
inline constexpr int TamanhoRegistro4 = 273;
inline constexpr int TamanhoRegistro9 = 9;

// General data of a statement.
namespace tipo0 {
inline constexpr Campo Cnpj{2, 14}, Cpf{16, 11}, Ppb{27, 80}, Denominacao{107, 80}, Ncm{187, 8},
    Unidade{195, 80}, PesoBruto{275, 14}, Salarios{289, 15}, Encargos{304, 15}, TipoVlme{319, 1},
    VlmAnterior{320, 10}, NrProcesso{330, 17}, Versao{347, 4}, Constante{351, 1},
    TipoCoeficiente{352, 1};
}

// A model.
namespace tipo1 {
inline constexpr Campo Sequencia{2, 4}, Descricao{6, 80}, PrecoVenda{86, 15},
    CodigoInterno{101, 15};
}

// A national component with its invoice.
namespace tipo2 {
inline constexpr Campo Sequencia{2, 4}, NumeroNF{6, 10}, SerieNF{16, 5}, Cnpj{21, 14},
    InscricaoEstadual{35, 15}, DataEmissao{50, 8}, Descricao{58, 80}, Unidade{138, 80}, Ncm{218, 8},
    Quantidade{226, 15}, ValorUnitario{241, 15};
}

// An imported component (type 4). An imported subcomponent (type 3) puts its
// national component and base flag at 6-10, which moves every field from the
// document type on tipo3::Deslocamento positions right.
namespace importado {
inline constexpr Campo Sequencia{2, 4}, TipoDocumento{6, 1}, Suspensao{7, 1}, NumeroDI{8, 10},
    AdicaoDI{18, 3}, ItemDI{21, 2}, NumeroNF{23, 10}, SerieNF{33, 5}, Cnpj{38, 14},
    InscricaoEstadual{52, 15}, DataEmissao{67, 8}, Descricao{75, 80}, Unidade{155, 80}, Ncm{235, 8},
    Quantidade{243, 15}, Reducao{258, 1}, ValorUnitario{259, 15};
}
namespace tipo3 {
inline constexpr Campo Nacional{6, 4}, BaseCalculo{10, 1};
inline constexpr int Deslocamento = 5;
} // namespace tipo3

namespace tipo9 {
inline constexpr Campo Quantidade{2, 8};
}

} // namespace vlme::delivery
