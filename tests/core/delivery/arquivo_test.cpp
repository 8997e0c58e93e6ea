// The delivery file byte for byte: statements built through the saving
// operations (and a few stored values only older versions or other tools
// write), against files typed field by field from the record layouts.

#include "delivery/Transmissao.h"
#include "store/Banco.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ApoioEntrega.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::teste;
using vlme::store::DadosDI;
using vlme::store::DadosImportado;
using vlme::store::DadosModelo;
using vlme::store::DadosNacional;
using vlme::store::DadosNF;

namespace {

class ArquivoEntrega : public ::testing::Test {
protected:
    // Generates without the delivery question; the file's bytes.
    std::string gera(int numero)
    {
        delivery::Transmissao t(base.banco(), base.pasta(), usuario, progresso);
        caminho = t.GeraArquivoTransmissao(numero, false);
        EXPECT_FALSE(caminho.isEmpty()) << usuario.textos().join(QStringLiteral(" | "));
        return LeBytes(caminho);
    }

    BancoTeste base;
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
    QString caminho;
};

DadosNF NF(const QString &numero, const QString &serie, const QString &cnpj, const QString &data,
           const QString &ie)
{
    return {numero, serie, cnpj, data, ie};
}

DadosImportado Importado(const QString &descricao, double qtd, double valor, bool susp,
                         bool reducao, const QString &unidade = QStringLiteral("UN"),
                         const QString &ncm = ConstrutorDeclaracao::Ncm)
{
    DadosImportado d = ConstrutorDeclaracao::ImportadoPadrao(descricao, qtd, valor);
    d.comSuspensao = susp;
    d.reducaoII = reducao;
    d.unidade = unidade;
    d.ncm = ncm;
    return d;
}

} // namespace

// Every record type; accented texts; NF rows in both stored forms and
// missing; DI and NF documents; rounding half away from zero; the largest
// quantity and cost; empty optional fields; zero and negative zero.
TEST_F(ArquivoEntrega, DeclaracaoCompletaByteAByte)
{
    auto &banco = base.banco();
    ConstrutorDeclaracao c(banco);
    c.geral([](store::DadosGerais &d) {
        d.ppb = QStringLiteral("Processo Produtivo Básico nº 123");
        d.denProduto = QStringLiteral("Telefone celular com câmera");
        d.unidade = QStringLiteral("UNIDADE");
        d.pesoBruto = 10;
        d.salarios = 1234.5;
        d.encargos = 0;
        d.coeficiente = store::Coeficiente::Variavel;
        d.retificador = true;
        d.vlmAnterior = QStringLiteral("2023000012");
        d.nrProcesso = QStringLiteral("12345678901234567");
    });
    c.modelo(DadosModelo{QStringLiteral("Modelo básico"), 1234.5, QStringLiteral("AB-12ÇÃ")});
    c.modelo(DadosModelo{QStringLiteral("Modelo sem código"), std::nullopt, QString()});

    DadosNacional n1 = ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("Placa-mãe"), 1.5, 2.25);
    n1.unidade = QStringLiteral("PEÇA");
    n1.ncm = QStringLiteral("85340000");
    c.nacional(n1, NF(QStringLiteral("123"), QStringLiteral("A1"),
                      ConstrutorDeclaracao::CnpjFornecedor, QStringLiteral("15/03/2023"),
                      QStringLiteral("ISENTO")));
    const QString descricao80 = QStringLiteral("Especificação máxima ") + QString(59, QLatin1Char('X'));
    ASSERT_EQ(descricao80.size(), 80);
    DadosNacional n2 = ConstrutorDeclaracao::NacionalPadrao(descricao80, 99999999.9999999,
                                                            999999999.999999);
    n2.unidade.clear();
    n2.ncm.clear();
    c.nacional(n2, NF(QStringLiteral("1"), {}, {}, {}, {}));
    c.nacional(ConstrutorDeclaracao::NacionalPadrao(QStringLiteral("Componente nacional 3"), 0,
                                                    0.0000005),
               NF(QStringLiteral("0000000001"), {}, ConstrutorDeclaracao::CnpjFornecedor,
                  QStringLiteral("01/02/2024"), {}));

    DadosImportado s1 = Importado(QStringLiteral("Chip de memória"), 4, 2.5, true, false);
    s1.baseCalculo = true;
    c.subcomponente(1, s1, DadosDI{QStringLiteral("2301234567"), QStringLiteral("001"),
                                   QStringLiteral("7")});
    c.subcomponenteNF(1, Importado(QStringLiteral("Conector"), 10, 0.75, false, true),
                      NF(QStringLiteral("123"), QStringLiteral("B"),
                         ConstrutorDeclaracao::CnpjFornecedor, QStringLiteral("28/02/2024"),
                         QStringLiteral("ISENTO")));
    c.importadoDI(Importado(QString(), 0.5, 1.0000005, true, false, QStringLiteral("KG"),
                            QStringLiteral("01012100")),
                  DadosDI{QStringLiteral("0000000001"), QStringLiteral("12"),
                          QStringLiteral("123")});
    c.importadoNF(Importado(QStringLiteral("Tela de cristal líquido"), 1, 30, false, true),
                  NF(QStringLiteral("45"), {}, {}, {}, {}));

    // What the forms never write but stored rows may hold: national 2 without
    // its invoice row, national 3's invoice in the old masked/undelimited
    // forms and a negative-zero quantity.
    banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0"
                                 " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = 2"),
                  {c.numero()});
    banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET QTD_NACIONAL = ?"
                                 " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = 3"),
                  {-0.0, c.numero()});
    banco.executa(QStringLiteral("UPDATE NF SET CNPJ_NF = '04.539.983/0001-90',"
                                 " DATA_EMISSAO_NF = '01022024' WHERE NR_NF = '0000000001'"));

    const std::string esperado = ArquivoEsperado({
        {"0"                                           // tipo
         "11222333000181"                              // CNPJ_VLM
         "52998224725"                                 // CPF_VLM
         + Campo("Processo Produtivo B\xE1sico n\xBA 123", 80) // PPB_VLM
         + Campo("Telefone celular com c\xE2mera", 80) // DEN_PRODUTO_VLM
         + "85171231"                                  // NCM_VLM
         + Campo("UNIDADE", 80)                        // UNIDADE_VLM
         + "00000001000000"                            // PESO_BRUTO_VLM 10,00000
         + "000000000123450"                           // VL_SALARIOS_VLM 1234,50
         + "000000000000000"                           // VL_ENCARGOS_VLM 0
         + "R"                                         // retificador
         + "2023000012"                                // NR_VLM_ANTERIOR_VLM
         + "12345678901234567"                         // NR_PROCESSO_VLM
         + "0400" + "1" + "V",                         // constantes, coeficiente variável
         352},
        {"1" "0001"                                    // tipo, NR_SQ_MODELOS
         + Campo("Modelo b\xE1sico", 80)               // TX_DESCRICAO_MODELOS
         + "000000000123450"                           // PRECO_VENDA_MODELOS 1234,50
         + Campo("AB-12\xC7\xC3", 15),                 // COD_INTERNO_MODELOS
         115},
        {"1" "0002" + Campo("Modelo sem c\xF3" "digo", 80)
         + Zeros(15)                                   // preço não informado
         + Brancos(15),                                // código não informado
         115},
        {"2" "0001"                                    // tipo, NR_SQ_NACIONAL
         + Campo("123", 10)                            // NR_NF (texto)
         + Campo("A1", 5)                              // SERIE_NF
         + "04539983000190"                            // CNPJ_NF
         + Campo("ISENTO", 15)                         // NR_INS_ESTADUAL_NF
         + "20230315"                                  // DATA_EMISSAO_NF
         + Campo("Placa-m\xE3" "e", 80)                // TX_DESCRICAO_NACIONAL
         + Campo("PE\xC7" "A", 80)                     // UNIDADE_NACIONAL
         + "85340000"                                  // NCM_NACIONAL
         + "000000015000000"                           // QTD 1,5 (7 decimais)
         + "000000002250000",                          // custo 2,25 (6 decimais)
         255},
        {"2" "0002"
         + Brancos(10) + Brancos(5) + Brancos(14) + Brancos(15) // sem nota fiscal
         + "00000000"                                  // data da nota ausente
         + "Especifica\xE7\xE3o m\xE1xima " + std::string(59, 'X') // 80 caracteres
         + Brancos(80)                                 // unidade vazia
         + "00000000"                                  // NCM vazio
         + "999999999999999"                           // QTD 99999999,9999999
         + "999999999999999",                          // custo 999999999,999999
         255},
        {"2" "0003"
         "0000000001"                                  // NR_NF
         + Brancos(5)                                  // série vazia
         + "04539983000190"                            // CNPJ gravado com máscara
         + Brancos(15)                                 // inscrição vazia
         + "20240201"                                  // data gravada como ddmmaaaa
         + Campo("Componente nacional 3", 80)
         + Campo("UN", 80)
         + "85171231"
         + "000000000000000"                           // QTD -0
         + "000000000000001",                          // custo 0,0000005 -> 0,000001
         255},
        {"3" "0001" "0001"                             // subcomponente 1 do nacional 1
         "S"                                           // IN_BASE_CALCULO_SUBCOMP
         "S"                                           // IN_DIRETO_IMPORTADO (DI)
         "S"                                           // IN_COM_SUSP_IMPORTADO
         "2301234567" "001" "07"                       // DI, adição, item "7"
         "0000000000" + Brancos(5) + Brancos(14) + Brancos(15) + "00000000" // sem nota
         + Campo("Chip de mem\xF3ria", 80)
         + Campo("UN", 80)
         + "85171231"
         + "000000040000000"                           // QTD 4
         + "N"                                         // IN_REDUCAO_II_IMPORTADO
         + "000000002500000",                          // valor 2,5
         278},
        {"3" "0002" "0001" "N" "N" "N"
         "0000000000" "000" "00"                       // sem DI
         "0000000123"                                  // NR_NF numérico
         + Campo("B", 5)
         + "04539983000190"
         + Campo("ISENTO", 15)
         + "20240228"
         + Campo("Conector", 80)
         + Campo("UN", 80)
         + "85171231"
         + "000000100000000"                           // QTD 10
         + "S"
         + "000000000750000",                          // valor 0,75
         278},
        {"4" "0003" "S" "S"
         "0000000001" "012" "23"                       // adição "12", item "123"
         "0000000000" + Brancos(5) + Brancos(14) + Brancos(15) + "00000000"
         + Brancos(80)                                 // descrição vazia
         + Campo("KG", 80)
         + "01012100"
         + "000000005000000"                           // QTD 0,5
         + "N"
         + "000000001000001",                          // valor 1,0000005 -> 1,000001
         273},
        {"4" "0004" "N" "N"
         "0000000000" "000" "00"
         "0000000045"
         + Brancos(5) + Brancos(14) + Brancos(15)      // nota só com número
         + "00000000"
         + Campo("Tela de cristal l\xEDquido", 80)
         + Campo("UN", 80)
         + "85171231"
         + "000000010000000"                           // QTD 1
         + "S"
         + "000000030000000",                          // valor 30
         273},
        {"9" "00000011", 9},                           // 10 registros + o trailler
    });

    ComparaArquivo(gera(c.numero()), esperado);
    EXPECT_EQ(QFileInfo(caminho).fileName(),
              QStringLiteral("VLME%1").arg(c.numero(), 10, 10, QLatin1Char('0')));
    EXPECT_EQ(QFileInfo(caminho).absolutePath(), QDir(base.pasta()).filePath(QStringLiteral("Arquivos")));
    EXPECT_TRUE(usuario.mensagens.empty());
}

// The largest values every width allows, texts filling their fields (with
// the first and last letters of Latin-1 beyond ASCII), a substituting
// fixed-coefficient statement; one model and one imported component make
// three body records and a count of 4.
TEST_F(ArquivoEntrega, ValoresMaximosDasLarguras)
{
    const QString ppb = QStringLiteral("À") + QString(78, QLatin1Char('p')) + QStringLiteral("ÿ");
    const QString produto = QString(80, QLatin1Char('P'));
    const QString unidade = QString(80, QLatin1Char('u'));
    ConstrutorDeclaracao c(base.banco());
    c.geral([&](store::DadosGerais &d) {
        d.ppb = ppb;
        d.denProduto = produto;
        d.ncm = QStringLiteral("99999999");
        d.unidade = unidade;
        d.pesoBruto = 999999999.99999;
        d.salarios = 9999999999999.99;
        d.encargos = 9999999999999.99;
        d.substitutivo = true;
        d.vlmAnterior = QStringLiteral("9999999999");
        d.nrProcesso = QStringLiteral("99999999999999999");
    });
    c.modelo(DadosModelo{QString(80, QLatin1Char('m')), 9999999999999.99,
                         QStringLiteral("123456789012345")});
    c.importadoDI(Importado(QString(80, QLatin1Char('i')), 99999999.9999999, 999999999.999999,
                            true, true, QString(80, QLatin1Char('k')),
                            QStringLiteral("99999999")),
                  DadosDI{QStringLiteral("9999999999"), QStringLiteral("999"),
                          QStringLiteral("99")});

    const std::string esperado = ArquivoEsperado({
        {"0" "11222333000181" "52998224725"
         + std::string("\xC0") + std::string(78, 'p') + "\xFF"  // PPB de 80
         + std::string(80, 'P')                        // produto de 80
         + "99999999"
         + std::string(80, 'u')
         + "99999999999999"                            // peso 999999999,99999
         + "999999999999999"                           // salários 9999999999999,99
         + "999999999999999"                           // encargos
         + "S"                                         // substitutivo
         + "9999999999" + "99999999999999999"
         + "0400" "1" "F",
         352},
        {"1" "0001" + std::string(80, 'm') + "999999999999999" + "123456789012345", 115},
        {"4" "0001" "S" "S" "9999999999" "999" "99"
         "0000000000" + Brancos(5) + Brancos(14) + Brancos(15) + "00000000"
         + std::string(80, 'i') + std::string(80, 'k') + "99999999"
         + "999999999999999" + "S" + "999999999999999",
         273},
        {"9" "00000004", 9},
    });
    ComparaArquivo(gera(c.numero()), esperado);
}

// A statement just created: every field empty. Texts and documents are
// spaces, numbers and dates zeros, neither rectifying nor substituting,
// fixed coefficient.
TEST_F(ArquivoEntrega, DeclaracaoVazia)
{
    ConstrutorDeclaracao c(base.banco());
    const std::string esperado = ArquivoEsperado({
        {"0" + Brancos(14) + Brancos(11) + Brancos(80) + Brancos(80) + "00000000" + Brancos(80)
         + Zeros(14) + Zeros(15) + Zeros(15) + "N" + Brancos(10) + Brancos(17) + "0400" "1" "F",
         352},
        {"9" "00000002", 9},
    });
    ComparaArquivo(gera(c.numero()), esperado);
}

// Texts padded with trailing spaces beyond the field still fit: the spaces
// are what padding writes anyway.
TEST_F(ArquivoEntrega, EspacosAlemDoCampoNaoSaoProblema)
{
    ConstrutorDeclaracao c(base.banco());
    c.modelo(QStringLiteral("Modelo"), 1, QStringLiteral("C"));
    base.banco().executa(QStringLiteral("UPDATE MODELOS SET COD_INTERNO_MODELOS = ?"),
                         {QStringLiteral("ABC") + QString(20, QLatin1Char(' '))});
    const std::string arquivo = gera(c.numero());
    ASSERT_GT(arquivo.size(), 354u + 115u);
    EXPECT_EQ(arquivo.substr(354, 117),
              "1" "0001" + Campo("Modelo", 80) + "000000000000100" + Campo("ABC", 15) + "\r\n");
}
