// A sound file: what each record stores, column by column, checked against
// values worked out by hand from the hand-typed file; line ends; statements
// already in the database; what the user is told; vlme-cli's output.

#include "import/Importacao.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;
using teste::ConteudoTabela;

namespace {

class ImportacaoSucesso : public ::testing::Test {
  protected:
    teste::BancoTeste bt;
    store::Banco &banco = bt.banco();
    teste::PastaTeste pasta;
    teste::ProgressoTeste progresso;
};

const QStringList VlmeEsperado = {
    "VLME:1|NULL|'11222333000181'|'52998224725'|'PPB de telefones celulares'|0|0.0|0|0|''|''|"
    "'85171231'|1.5|12345.67|500.0|'Telefone celular com câmera'|'UN'|0|0|''|NULL",
    "VLME:2|NULL|'04539983000190'|'11111111111'|'PPB de radios'|1|0.0|0|1|'2001000123'|"
    "'12345678901234567'|'85271300'|0.25|1000.0|0.01|'Rádio AM/FM'|'PC'|0|0|''|NULL",
};

const QStringList ModelosEsperados = {
    "MODELOS:1|1|'Modelo Básico'|'MB-01'|1999.9",
    "MODELOS:1|2|'Modelo Avançado'|'MA-02'|2500.0",
    "MODELOS:2|1|'Rádio portátil'|'RP'|100.0",
};

// The file's numbers 7 and 9 kept in NR_SQ_IMPORTACAO; sequences from 1.
const QStringList NacionaisEsperados = {
    "COMPONENTES_NACIONAIS:1|1|'Placa de circuito impresso'|2.5|150.25|1|'85340000'|'UN'|7",
    "COMPONENTES_NACIONAIS:1|2|'Bateria de lítio'|1.0|80.0|2|'85076000'|'PC'|9",
};

// Subcomponents and components share one numbering; a DI-based row keeps
// its zero NCM and has no unit.
const QStringList ImportadosEsperados = {
    "COMPONENTES_IMPORTADOS:1|1|'Chip controlador'|4.0|12.5|0.0|0.0|1|0|1|1|0|'00000000'|NULL|0",
    "COMPONENTES_IMPORTADOS:1|2|'Célula'|2.0|30.0|0.0|0.0|0|3|0|0|0|'85076000'|'UN'|0",
    "COMPONENTES_IMPORTADOS:1|3|'Tela de cristal líquido'|1.5|99.999999|0.0|0.0|2|0|0|1|1|"
    "'00000000'|NULL|0",
    "COMPONENTES_IMPORTADOS:2|1|'Alto-falante'|3.0|7.25|0.0|0.0|0|4|1|0|0|'85182100'|'UN'|0",
};

// Base flag "S" on line 6, "n" (lower case) on line 7.
const QStringList SubcompEsperados = {"SUBCOMP:1|1|1|1", "SUBCOMP:1|2|2|0"};

// Dates as YYYY/MM/DD; an empty state registration is not written.
const QStringList NFEsperadas = {
    "NF:1|'0000000123'|'1'|'04539983000190'|'2023/03/15'|'12.345.678-9'",
    "NF:2|'0000000456'|'A'|'04539983000190'|'2024/02/29'|NULL",
    "NF:3|'0000000789'|'2'|'11222333000181'|'2023/11/05'|NULL",
    "NF:4|'0000000042'|'U'|'11222333000181'|'2022/01/31'|'123.456.789-00'",
};

const QStringList DIEsperadas = {
    "DI:1|'2301234567'|'001'|'01'|NULL",
    "DI:2|'2301234567'|'002'|'80'|NULL",
};

void ConfereTudo(store::Banco &banco) {
    EXPECT_EQ(ConteudoTabela(banco, "VLME"), VlmeEsperado);
    EXPECT_EQ(ConteudoTabela(banco, "MODELOS"), ModelosEsperados);
    EXPECT_EQ(ConteudoTabela(banco, "COMPONENTES_NACIONAIS"), NacionaisEsperados);
    EXPECT_EQ(ConteudoTabela(banco, "COMPONENTES_IMPORTADOS"), ImportadosEsperados);
    EXPECT_EQ(ConteudoTabela(banco, "SUBCOMP"), SubcompEsperados);
    EXPECT_EQ(ConteudoTabela(banco, "NF"), NFEsperadas);
    EXPECT_EQ(ConteudoTabela(banco, "DI"), DIEsperadas);
}

TEST_F(ImportacaoSucesso, ArquivoDeDuasDeclaracoesGravaCadaColuna) {
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{1, 2}));
    EXPECT_TRUE(r.erros.empty());
    EXPECT_EQ(r.contadores.linhas, 12);
    EXPECT_EQ(r.contadores.registros, (std::array<int, 5>{2, 3, 2, 2, 2}));
    EXPECT_EQ(r.contadores.total(), 11);
    ConfereTudo(banco);
}

TEST_F(ImportacaoSucesso, ProgressoContaAsLinhasEMostraCadaUma) {
    ImportaArquivo(banco, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    EXPECT_EQ(progresso.aberturas, 1);
    EXPECT_EQ(progresso.fechamentos, 1);
    EXPECT_EQ(progresso.minimo, 0);
    EXPECT_EQ(progresso.maximo, 12);
    EXPECT_EQ(progresso.ultimoValor, 12);
    EXPECT_EQ(progresso.unidades, 12);
    // The totals line is not announced.
    ASSERT_EQ(progresso.passos.size(), 11);
    EXPECT_EQ(progresso.passos.first(), "Importando 1 de 11");
    EXPECT_EQ(progresso.passos.last(), "Importando 11 de 11");
}

TEST_F(ImportacaoSucesso, FinsDeLinhaLFEUltimaLinhaSemFimDaoOMesmo) {
    QByteArray soLF = teste::Junta(teste::LinhasBoas(), "\n");
    QByteArray semFinal = teste::Junta(teste::LinhasBoas());
    semFinal.chop(2);
    for (const QByteArray &conteudo : {soLF, semFinal}) {
        teste::BancoTeste outro;
        const ResultadoImportacao r = ImportaArquivo(
            outro.banco(), progresso, teste::GravaArquivo(pasta, "variante.txt", conteudo));
        ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
        ConfereTudo(outro.banco());
    }
}

TEST_F(ImportacaoSucesso, LinhasEmBrancoDepoisDoTotalizadorSaoIgnoradas) {
    const QByteArray conteudo = teste::Junta(teste::LinhasBoas()) + "\r\n   \r\n";
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", conteudo));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes.size(), 2u);
}

TEST_F(ImportacaoSucesso, DeclaracoesExistentesFicamIntactasENovasNumeramDoUm) {
    const int antiga =
        teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo Básico", 10.0).nacional();
    const QStringList antes = ConteudoTabela(banco, "MODELOS");
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{antiga + 1, antiga + 2}));
    // A model of another statement with the same description is no repeat.
    QStringList modelos = ConteudoTabela(banco, "MODELOS");
    EXPECT_EQ(modelos.mid(0, antes.size()), antes);
    EXPECT_EQ(modelos.mid(antes.size()),
              (QStringList{"MODELOS:2|1|'Modelo Básico'|'MB-01'|1999.9",
                           "MODELOS:2|2|'Modelo Avançado'|'MA-02'|2500.0",
                           "MODELOS:3|1|'Rádio portátil'|'RP'|100.0"}));
}

TEST_F(ImportacaoSucesso, SoOTotalizadorComUmImportaNada) {
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", "900000001\r\n"));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(r.contadores.total(), 0);
    EXPECT_EQ(teste::ContaLinhas(banco, "VLME"), 0);
}

TEST_F(ImportacaoSucesso, ModelosSeguidosDeTipo4SemNacionais) {
    // Lines 9-11 are such a statement; the count is then 4.
    const auto l = teste::LinhasBoas();
    const QByteArray conteudo = teste::Junta({l[8], l[9], l[10], "900000004"});
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", conteudo));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.contadores.registros, (std::array<int, 5>{1, 1, 0, 0, 1}));
}

TEST_F(ImportacaoSucesso, CustoIgualAoDoNacionalPassa) {
    // Line 7 made a second subcomponent of national 7 (unit cost 150,25):
    // 4 x 12,5 + 2 x 50,125 = 150,25 exactly.
    auto l = teste::LinhasBoas();
    l[6] = teste::Troca(l[6], 6, "0007");
    l[6] = teste::Troca(l[6], 264, "000000050125000");
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "a.txt", teste::Junta(l)));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(ConteudoTabela(banco, "SUBCOMP"),
              (QStringList{"SUBCOMP:1|1|1|1", "SUBCOMP:1|2|1|0"}));
}

// ---- What the user is told ----

TEST_F(ImportacaoSucesso, MensagemDeSucessoComAsContagens) {
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso, teste::ArquivoDados("duas_declaracoes.txt"), [&] { ++bipes; });
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    const auto &m = usuario.mensagens[0];
    EXPECT_EQ(m.titulo, "Importação do VLME");
    EXPECT_EQ(m.icone, shell::Icone::Informacao);
    const QString cabecalho =
        "     Importação Efetuada com Sucesso                                   ";
    ASSERT_EQ(cabecalho.size(), 71);
    EXPECT_EQ(m.texto, cabecalho + "\r\n\r\n"
                                   "Número Total de Registros Importados: 11\r\n"
                                   "Número de Registros Tipo 0 Importados: 2\r\n"
                                   "Número de Registros Tipo 1 Importados: 3\r\n"
                                   "Número de Registros Tipo 2 Importados: 2\r\n"
                                   "Número de Registros Tipo 3 Importados: 2\r\n"
                                   "Número de Registros Tipo 4 Importados: 2\r\n");
    EXPECT_EQ(bipes, 0);
}

} // namespace
