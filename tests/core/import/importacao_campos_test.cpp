// Field checks: each case changes one field of the hand-typed sound file at
// a known position and names the entries the error list must then hold.
// Whatever is wrong, nothing is stored.

#include "import/Importacao.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

struct Mudanca {
    int linha; // of the file, from 1
    int pos;
    const char *texto; // UTF-8 here, written as Latin-1
};

struct Esperado {
    int linha;
    const char *campo;
    const char *mensagem;
};

struct Caso {
    const char *nome;
    std::vector<Mudanca> mudancas;
    std::vector<Esperado> erros;
};

const std::vector<Caso> &Casos() {
    static const std::vector<Caso> casos = {
        // ---- Type 0 ----
        {"CnpjZeros",
         {{1, 2, "00000000000000"}},
         {{1, "CNPJ DO ESTABELECIMENTO", "Preenchimento Obrigatório."}}},
        {"CnpjDigitoErrado",
         {{1, 2, "11222333000182"}},
         {{1, "CNPJ DO ESTABELECIMENTO", "Inválido."}}},
        {"CnpjComLetra", {{1, 2, "1122233300018A"}}, {{1, "CNPJ DO ESTABELECIMENTO", "Inválido."}}},
        {"CpfZerosSemPonto",
         {{1, 16, "00000000000"}},
         {{1, "CPF REPRESENTANTE LEGAL", "Preenchimento Obrigatório"}}},
        {"CpfInvalidoSemPonto",
         {{1, 16, "52998224724"}},
         {{1, "CPF REPRESENTANTE LEGAL", "Inválido"}}},
        {"PpbEmBranco",
         {{1, 27, "                           "}},
         {{1, "PROCESSO PRODUTIVO BÁSICO", "Preenchimento Obrigatório."}}},
        {"PpbCurto",
         {{1, 27, "PPB                        "}},
         {{1, "PROCESSO PRODUTIVO BÁSICO", "Inválido."}}},
        {"DenominacaoCurta",
         {{1, 107, "TV                          "}},
         {{1, "DENOMINAÇÃO DO PRODUTO", "Inválida."}}},
        {"NcmComBranco", {{1, 187, "8517123 "}}, {{1, "NCM DA MERCADORIA", "Inválida."}}},
        {"NcmZeros",
         {{1, 187, "00000000"}},
         {{1, "NCM DA MERCADORIA", "Preenchimento Obrigatório."}}},
        {"UnidadeEmBranco",
         {{1, 195, "  "}},
         {{1, "UNIDADE DE COMERCIALIZAÇÃO", "Preenchimento Obrigatório."}}},
        {"PesoZero",
         {{1, 275, "00000000000000"}},
         {{1, "PESO BRUTO", "Preenchimento Obrigatório."}}},
        {"PesoComLetra", {{1, 275, "0000000015000O"}}, {{1, "PESO BRUTO", "Inválido."}}},
        {"SalarioZeroVariavel",
         {{9, 289, "000000000000000"}},
         {{9, "SALÁRIOS E ORDENADOS", "Deve ser maior que zero."}}},
        {"EncargosZeroVariavel",
         {{9, 304, "000000000000000"}},
         {{9, "ENCARGOS SOCIAIS E TRABALHISTAS", "Deve ser maior que zero."}}},
        {"EncargosEmBrancoFixo",
         {{1, 304, "               "}},
         {{1, "ENCARGOS SOCIAIS E TRABALHISTAS", "Inválido."}}},
        {"TipoCoeficiente", {{1, 352, "X"}}, {{1, "TIPO DO COEFICIENTE DE REDUÇÃO", "Inválido."}}},
        {"TipoVlme", {{1, 319, "X"}}, {{1, "TIPO DO VLME", "Inválido."}}},
        {"AnteriorEmNormal",
         {{1, 320, "2001000123"}},
         {{1, "NÚMERO DO VLME ANTERIOR", "Não deve ser informado."}}},
        {"AnteriorFaltaEmRetificador",
         {{9, 320, "          "}},
         {{9, "NÚMERO DO VLME ANTERIOR", "Preenchimento obrigatório."}}},
        {"AnteriorComLetra",
         {{9, 320, "20010001AB"}},
         {{9, "NÚMERO DO VLME ANTERIOR", "Inválido."}}},
        {"ProcessoEmNormal",
         {{1, 330, "12345678901234567"}},
         {{1, "NÚMERO DO PROCESSO", "Não deve ser informado."}}},
        {"ProcessoEmSubstitutivo",
         {{9, 319, "S"}},
         {{9, "NÚMERO DO PROCESSO", "Não deve ser informado."}}},
        // The checks of a record go on after a failed field.
        {"VariosCamposDoMesmoRegistro",
         {{1, 2, "00000000000000"}, {1, 187, "00000000"}, {1, 352, "X"}},
         {{1, "CNPJ DO ESTABELECIMENTO", "Preenchimento Obrigatório."},
          {1, "NCM DA MERCADORIA", "Preenchimento Obrigatório."},
          {1, "TIPO DO COEFICIENTE DE REDUÇÃO", "Inválido."}}},

        // ---- Type 1 ----
        {"DescricaoEmBranco",
         {{2, 6, "             "}},
         {{2, "DESCRIÇÃO", "Preenchimento Obrigatório."}}},
        // Letter case does not make another model.
        {"DescricaoRepetida",
         {{3, 6, "MODELO BÁSICO  "}},
         {{3, "DESCRIÇÃO", "Modelo já Cadastrado."}}},
        {"PrecoZero",
         {{2, 86, "000000000000000"}},
         {{2, "PREÇO DE VENDA", "Deve ser maior que zero."}}},
        {"PrecoComVirgula", {{2, 86, "0000000001999,9"}}, {{2, "PREÇO DE VENDA", "Inválido."}}},
        {"CodigoEmBranco",
         {{2, 101, "     "}},
         {{2, "CÓDIGO INTERNO", "Preenchimento Obrigatório."}}},
        {"DescricaoEmUtf8",
         {{2, 6, "Modelo BÃ¡sico"}},
         {{2, "DESCRIÇÃO", "Texto em UTF-8: o arquivo deve estar em Latin-1 (ISO-8859-1)."}}},
        {"DescricaoComByteDeControle",
         {{2, 6, "Modelo\x01"}},
         {{2, "DESCRIÇÃO", "Contém caracteres de controle ou binários."}}},

        // ---- Type 2 ----
        {"NacionalRepetido",
         {{5, 2, "0007"}},
         {{5, "NÚMERO DO COMP. NACIONAL", "Deve ser único."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"NacionalZero",
         {{5, 2, "0000"}},
         {{5, "NÚMERO DO COMP. NACIONAL", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"NotaNacionalZero",
         {{4, 6, "0000000000"}},
         {{4, "NÚMERO DA NF", "Preenchimento Obrigatório."},
          {6, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"NotaNacionalComBrancos",
         {{5, 6, "456       "}},
         {{5, "NÚMERO DA NF", "Inválido."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"SerieEmBranco",
         {{5, 16, " "}},
         {{5, "SÉRIE DA NF", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"CnpjFornecedorInvalido",
         {{5, 21, "04539983000191"}},
         {{5, "CNPJ DO FORNECEDOR", "Inválido."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"InscricaoComLetras",
         {{5, 35, "ISENTO"}},
         {{5, "INSCRIÇÃO ESTADUAL", "Inválida."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"DataNacionalZero",
         {{5, 50, "00000000"}},
         {{5, "DATA DE EMISSÃO", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"DataNacionalDiaDemais",
         {{5, 50, "20230229"}},
         {{5, "DATA DE EMISSÃO", "Inválida."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"EspecificacaoNacionalEmBranco",
         {{5, 58, "                "}},
         {{5, "ESPECIFICAÇÃO", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"UnidadeNacionalEmBranco",
         {{5, 138, "  "}},
         {{5, "UNIDADE COMERCIAL", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"NcmNacionalZeros",
         {{5, 218, "00000000"}},
         {{5, "NCM DA MERCADORIA", "Preenchimento Obrigatório."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"QuantidadeNacionalZero",
         {{5, 226, "000000000000000"}},
         {{5, "QUANTIDADE", "Deve ser maior que zero."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"ValorNacionalComSinal",
         {{5, 241, "-00000080000000"}},
         {{5, "VALOR UNITÁRIO", "Inválido."},
          {7, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},

        // ---- Types 3 and 4 with a DI (document S) ----
        {"SubcomponenteDeNacionalInexistente",
         {{6, 6, "0008"}},
         {{6, "NÚMERO DO COMP. NACIONAL", "Deve estar previamente cadastrado"}}},
        {"BaseDeCalculo", {{6, 10, "X"}}, {{6, "INDICADOR DA BASE DE CÁLCULO", "Inválido."}}},
        {"Suspensao", {{6, 12, "X"}}, {{6, "INDICADOR SUSPENSÃO DE IMPOSTOS", "Inválido."}}},
        {"DiDigitoErrado", {{6, 13, "2301234568"}}, {{6, "NÚMERO DA DI", "Inválido."}}},
        {"DiZeros", {{6, 13, "0000000000"}}, {{6, "NÚMERO DA DI", "Preenchimento Obrigatório."}}},
        // The label of this one message is spelt with a plain c.
        {"AdicaoZeros",
         {{6, 23, "000"}},
         {{6, "NÚMERO DA ADICÃO DA DI", "Preenchimento Obrigatório."}}},
        {"AdicaoComLetra", {{6, 23, "0A1"}}, {{6, "NÚMERO DA ADIÇÃO DA DI", "Inválido."}}},
        {"ItemOitentaEUm",
         {{8, 21, "81"}},
         {{8, "NÚMERO DO ITEM DA ADIÇÃO", "Deve ser menor que 80."}}},
        {"ItemZero",
         {{6, 26, "00"}},
         {{6, "NÚMERO DO ITEM DA ADIÇÃO", "Preenchimento Obrigatório."}}},
        {"NotaComDi", {{6, 28, "0000000001"}}, {{6, "NÚMERO DA NF", "Não deve ser informado."}}},
        {"NotaEmBrancoComDi", {{6, 28, "          "}}, {{6, "NÚMERO DA NF", "Inválido."}}},
        {"SerieComDi", {{6, 38, "1"}}, {{6, "SÉRIE DA NF", "Não deve ser informado."}}},
        {"CnpjComDi",
         {{6, 43, "11222333000181"}},
         {{6, "CNPJ DO FORNECEDOR", "Não deve ser informado."}}},
        {"InscricaoComDi",
         {{6, 57, "123"}},
         {{6, "INSCRIÇÃO ESTADUAL", "Não deve ser informada."}}},
        {"DataComDi",
         {{6, 72, "20230315"}},
         {{6, "DATA DE EMISSÃO DA NF", "Não deve ser informada."}}},
        {"DataEmBrancoComDi", {{6, 72, "        "}}, {{6, "DATA DE EMISSÃO DA NF", "Inválida."}}},
        {"UnidadeComDi", {{6, 160, "UN"}}, {{6, "UNIDADE COMERCIAL", "Não deve ser informada."}}},
        {"NcmComDi", {{8, 235, "85340000"}}, {{8, "NCM DO COMPONENTE", "Não deve ser informada."}}},
        {"NcmEmBrancoComDi", {{8, 235, "        "}}, {{8, "NCM DO COMPONENTE", "Inválida."}}},
        {"QuantidadeImportadaComLetra",
         {{8, 243, "00000001500000X"}},
         {{8, "QUANTIDADE", "Inválida."}}},
        {"Reducao", {{6, 263, "X"}}, {{6, "INDICADOR DO COEFICIENTE DE REDUÇÃO", "Inválido."}}},
        {"ValorImportadoZero",
         {{8, 259, "000000000000000"}},
         {{8, "VALOR UNITÁRIO", "Deve ser maior que zero."}}},
        // 4 x 40 = 160 against the national unit cost of 150,25.
        {"CustoDoSubcomponenteAcima",
         {{6, 264, "000000040000000"}},
         {{6, "VALOR UNITÁRIO", "Custo dos Subcomponentes deve ser menor que do Comp. Nacional."}}},
        // Two subcomponents of national 7: 4 x 12,5 + 2 x 50,2 = 150,40.
        {"CustoSomadoAcima",
         {{7, 6, "0007"}, {7, 264, "000000050200000"}},
         {{7, "VALOR UNITÁRIO", "Custo dos Subcomponentes deve ser menor que do Comp. Nacional."}}},

        // ---- With an invoice (document N) ----
        {"DiEmBrancoComNota", {{7, 13, "          "}}, {{7, "NÚMERO DA DI", "Inválido."}}},
        {"DiComNota", {{7, 13, "2301234567"}}, {{7, "NÚMERO DA DI", "Não deve ser informado."}}},
        {"ItemEmBrancoComNota", {{11, 21, "  "}}, {{11, "NÚMERO DO ITEM DA ADIÇÃO", "Inválido."}}},
        {"NotaZeroImportada",
         {{11, 23, "0000000000"}},
         {{11, "NÚMERO DA NF", "Preenchimento Obrigatório."}}},
        {"SerieEmBrancoComNota",
         {{11, 33, " "}},
         {{11, "SÉRIE DA NF", "Preenchimento Obrigatório."}}},
        {"CnpjZerosComNota",
         {{11, 38, "00000000000000"}},
         {{11, "CNPJ DO FORNECEDOR", "Preenchimento Obrigatório."}}},
        {"InscricaoComNota", {{7, 57, "ABC"}}, {{7, "INSCRIÇÃO ESTADUAL", "Inválida."}}},
        {"DataComNotaMesTreze",
         {{11, 67, "20221301"}},
         {{11, "DATA DE EMISSÃO DA NF", "Inválida."}}},
        {"EspecificacaoEmBrancoComNota",
         {{7, 80, "      "}},
         {{7, "ESPECIFICAÇÃO", "Preenchimento Obrigatório."}}},
        {"UnidadeEmBrancoComNota",
         {{11, 155, "  "}},
         {{11, "UNIDADE COMERCIAL", "Preenchimento Obrigatório."}}},
        {"NcmZerosComNota",
         {{11, 235, "00000000"}},
         {{11, "NCM DO COMPONENTE", "Preenchimento Obrigatório."}}},
        // An invoice-based component cannot have the reduction.
        {"ReducaoComNota",
         {{7, 263, "S"}},
         {{7, "INDICADOR DO COEFICIENTE DE REDUÇÃO", "Inválido."}}},

        // ---- Neither S nor N ----
        {"DocumentoDesconhecido",
         {{6, 11, "X"}},
         {{6, "TIPO DE DOCUMENTO FISCAL", "Inválido."}, {6, "CNPJ DO FORNECEDOR", "Inválido."}}},
        // Zeros are digits: nothing else to say.
        {"DocumentoDesconhecidoComZeros",
         {{8, 6, "X"}},
         {{8, "TIPO DE DOCUMENTO FISCAL", "Inválido."}}},

        // ---- Type 9 ----
        // Read as 12 it agrees with the lines, but it is no digit string.
        {"TotalComBranco", {{12, 2, "0000012 "}}, {{12, "QUANTIDADE DE REGISTROS", "Inválida."}}},
    };
    return casos;
}

class CamposImportacao : public ::testing::TestWithParam<Caso> {
  protected:
    teste::BancoTeste bt;
    store::Banco &banco = bt.banco();
    teste::PastaTeste pasta;
    teste::ProgressoTeste progresso;
};

TEST_P(CamposImportacao, ListaOErroENaoGravaNada) {
    const Caso &caso = GetParam();
    teste::ConstrutorDeclaracao(banco).geral().modelo("Existente", 1.0).nacional().importadoDI();
    const QStringList antes = teste::ConteudoBanco(banco);

    QList<QByteArray> linhas = teste::LinhasBoas();
    for (const Mudanca &m : caso.mudancas)
        linhas[m.linha - 1] = teste::Troca(linhas[m.linha - 1], m.pos, QString::fromUtf8(m.texto));
    const QString caminho = teste::GravaArquivo(pasta, "campos.txt", teste::Junta(linhas));

    const ResultadoImportacao r = ImportaArquivo(banco, progresso, caminho);
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo) << r.mensagem;
    std::vector<QString> obtidos, esperados;
    for (const ErroImportacao &e : r.erros)
        obtidos.push_back(LinhaListaErro(e));
    for (const Esperado &e : caso.erros) {
        const QChar tipo = QLatin1Char(linhas[e.linha - 1].at(0));
        esperados.push_back(QStringLiteral("Linha %1 (reg. %2) - %3: %4")
                                .arg(e.linha)
                                .arg(tipo)
                                .arg(QString::fromUtf8(e.campo), QString::fromUtf8(e.mensagem)));
    }
    EXPECT_EQ(obtidos, esperados);
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

INSTANTIATE_TEST_SUITE_P(Campos, CamposImportacao, ::testing::ValuesIn(Casos()),
                         [](const ::testing::TestParamInfo<Caso> &info) {
                             return std::string(info.param.nome);
                         });

// ---- The entry itself and the limit of the table ----

class LimitesImportacao : public ::testing::Test {
  protected:
    teste::BancoTeste bt;
    store::Banco &banco = bt.banco();
    teste::PastaTeste pasta;
    teste::ProgressoTeste progresso;
};

TEST_F(LimitesImportacao, EntradaGuardaTextosComSuasLarguras) {
    auto l = teste::LinhasBoas();
    l[1] = teste::Troca(l[1], 86, "000000000000000");
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", teste::Junta(l)));
    ASSERT_EQ(r.erros.size(), 1u);
    const ErroImportacao &e = r.erros[0];
    EXPECT_EQ(e.tipoRegistro, QLatin1Char('1'));
    EXPECT_EQ(e.linha, 2);
    EXPECT_EQ(e.nomeRegistro, "Informações Sobre os Modelos       ");
    EXPECT_EQ(e.nomeRegistro.size(), 35);
    EXPECT_EQ(e.campo, "PREÇO DE VENDA" + QString(36, ' '));
    EXPECT_EQ(e.mensagem, "Deve ser maior que zero." + QString(46, ' '));
}

TEST_F(LimitesImportacao, TabelaParaEm10001Entradas) {
    // 3400 models with three faults each: 10200 faults.
    const auto l = teste::LinhasBoas();
    QList<QByteArray> linhas{l[0]};
    QByteArray ruim = teste::Troca(l[1], 6, QString(80, ' '));
    ruim = teste::Troca(ruim, 86, QString(15, '0'));
    ruim = teste::Troca(ruim, 101, QString(15, ' '));
    for (int i = 0; i < 3400; ++i)
        linhas << ruim;
    linhas << l[7] << "900003403";
    const QStringList antes = teste::ConteudoBanco(banco);
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", teste::Junta(linhas)));
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo) << r.mensagem;
    ASSERT_EQ(r.erros.size(), 10001u);
    // 3333 whole models (lines 2-3334), then two fields of line 3335.
    EXPECT_EQ(LinhaListaErro(r.erros.back()),
              "Linha 3335 (reg. 1) - PREÇO DE VENDA: Deve ser maior que zero.");
    EXPECT_EQ(r.contadores.registros[1], 0);
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(LimitesImportacao, MensagemAntesDaListaDeErros) {
    auto l = teste::LinhasBoas();
    l[1] = teste::Troca(l[1], 101, "     ");
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r =
        ImportaDeclaracao(banco, usuario, progresso,
                          teste::GravaArquivo(pasta, "a.txt", teste::Junta(l)), [&] { ++bipes; });
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, "Importação do VLME");
    EXPECT_EQ(usuario.mensagens[0].texto, "Foram detectados erros na importação de dados. Clique OK"
                                          " para visualizar as pendências.");
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Exclamacao);
    EXPECT_EQ(bipes, 0);
}

} // namespace
