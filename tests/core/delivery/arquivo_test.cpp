// The delivery file byte for byte: statements built through the saving
// operations (and a few stored values only older versions or other tools
// write), against files under tests/data/entrega typed field by field from
// the record layouts.

#include "delivery/Transmissao.h"
#include "store/Banco.h"
#include "store/Gravar.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::teste;
using namespace vlme::store;
using C = ConstrutorDeclaracao;

namespace {

class ArquivoEntrega : public ::testing::Test {
  protected:
    // Generates without the delivery question and compares with the expected file.
    void confere(int numero, const char *esperado) {
        delivery::Transmissao t(base.banco(), base.pasta(), usuario, progresso);
        const QString caminho = t.GeraArquivoTransmissao(numero, false);
        EXPECT_FALSE(caminho.isEmpty()) << usuario.textos().join(" | ");
        ComparaArquivo(LeBytes(caminho), LeBytes(DadoTeste(QStringLiteral("entrega/") + esperado)));
    }

    BancoTeste base;
    Banco &banco = base.banco();
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
};

DadosImportado Importado(const QString &descricao, double qtd, double valor, bool susp,
                         bool reducao, const QString &unidade = "UN", const QString &ncm = C::Ncm) {
    DadosImportado d = C::ImportadoPadrao(descricao, qtd, valor);
    d.comSuspensao = susp;
    d.reducaoII = reducao;
    d.unidade = unidade;
    d.ncm = ncm;
    return d;
}

// Every record type; accented texts; NF rows in both stored forms and
// missing; DI and NF documents; rounding half away from zero; the largest
// quantity and cost; empty optional fields; zero and negative zero.
TEST_F(ArquivoEntrega, DeclaracaoCompleta) {
    ConstrutorDeclaracao c(banco);
    c.geral([](DadosGerais &d) {
        d.ppb = "Processo Produtivo Básico nº 123";
        d.denProduto = "Telefone celular com câmera";
        d.unidade = "UNIDADE";
        d.pesoBruto = 10;
        d.salarios = 1234.5;
        d.encargos = 0;
        d.coeficiente = Coeficiente::Variavel;
        d.retificador = true;
        d.vlmAnterior = "2023000012";
        d.nrProcesso = "12345678901234567";
    });
    c.modelo(DadosModelo{"Modelo básico", 1234.5, "AB-12ÇÃ"});
    c.modelo(DadosModelo{"Modelo sem código", std::nullopt, QString()});
    DadosNacional n1 = C::NacionalPadrao("Placa-mãe", 1.5, 2.25);
    n1.unidade = "PEÇA";
    n1.ncm = "85340000";
    c.nacional(n1, {"123", "A1", C::CnpjFornecedor, "15/03/2023", "ISENTO"});
    DadosNacional n2 = C::NacionalPadrao("Especificação máxima " + QString(59, 'X'),
                                         99999999.9999999, 999999999.999999);
    n2.unidade.clear();
    n2.ncm.clear();
    c.nacional(n2, {"1", {}, {}, {}, {}});
    c.nacional(C::NacionalPadrao("Componente nacional 3", 0, 0.0000005),
               {"0000000001", {}, C::CnpjFornecedor, "01/02/2024", {}});
    DadosImportado s1 = Importado("Chip de memória", 4, 2.5, true, false);
    s1.baseCalculo = true;
    c.subcomponente(1, s1, DadosDI{"2301234567", "001", "7"});
    c.subcomponenteNF(1, Importado("Conector", 10, 0.75, false, true),
                      {"123", "B", C::CnpjFornecedor, "28/02/2024", "ISENTO"});
    c.importadoDI(Importado(QString(), 0.5, 1.0000005, true, false, "KG", "01012100"),
                  DadosDI{"0000000001", "12", "123"});
    c.importadoNF(Importado("Tela de cristal líquido", 1, 30, false, true), {"45", {}, {}, {}, {}});
    // What the forms never write but stored rows may hold: national 2 without
    // its invoice row, national 3's invoice in the old masked/undelimited
    // forms and a negative-zero quantity.
    banco.executa(
        "UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_SQ_NACIONAL = 2");
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET QTD_NACIONAL = ? WHERE NR_SQ_NACIONAL = 3",
                  {-0.0});
    banco.executa("UPDATE NF SET CNPJ_NF = '04.539.983/0001-90', DATA_EMISSAO_NF = '01022024'"
                  " WHERE NR_NF = '0000000001'");

    confere(c, "declaracao_completa.txt");
    EXPECT_TRUE(usuario.mensagens.empty());
}

// The largest values every width allows, texts filling their fields (with
// the first and last letters of Latin-1 beyond ASCII), a substituting
// fixed-coefficient statement.
TEST_F(ArquivoEntrega, ValoresMaximosDasLarguras) {
    ConstrutorDeclaracao c(banco);
    c.geral([&](DadosGerais &d) {
        d.ppb = "À" + QString(78, 'p') + "ÿ";
        d.denProduto = QString(80, 'P');
        d.ncm = "99999999";
        d.unidade = QString(80, 'u');
        d.pesoBruto = 999999999.99999;
        d.salarios = d.encargos = 9999999999999.99;
        d.substitutivo = true;
        d.vlmAnterior = "9999999999";
        d.nrProcesso = "99999999999999999";
    });
    c.modelo(DadosModelo{QString(80, 'm'), 9999999999999.99, "123456789012345"});
    c.importadoDI(Importado(QString(80, 'i'), 99999999.9999999, 999999999.999999, true, true,
                            QString(80, 'k'), "99999999"),
                  DadosDI{"9999999999", "999", "99"});
    confere(c, "valores_maximos.txt");
}

// Just created: texts and documents are spaces, numbers and dates zeros,
// neither rectifying nor substituting, fixed coefficient.
TEST_F(ArquivoEntrega, DeclaracaoVazia) {
    confere(ConstrutorDeclaracao(banco), "declaracao_vazia.txt");
}

// Trailing spaces beyond the field still fit: they are what padding writes anyway.
TEST_F(ArquivoEntrega, EspacosAlemDoCampoNaoSaoProblema) {
    const int n = ConstrutorDeclaracao(banco).modelo("Modelo", 1, "C");
    banco.executa("UPDATE MODELOS SET COD_INTERNO_MODELOS = ?", {"ABC" + QString(20, ' ')});
    delivery::Transmissao t(banco, base.pasta(), usuario, progresso);
    EXPECT_EQ(LeBytes(t.GeraArquivoTransmissao(n, false)).substr(354, 117),
              "10001Modelo" + std::string(74, ' ') + "000000000000100ABC" + std::string(12, ' ') +
                  "\r\n");
}

} // namespace
