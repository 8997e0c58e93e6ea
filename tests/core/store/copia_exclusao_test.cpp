// Copy and delete of a whole statement: every row, new keys, nothing shared,
// all or nothing on cancel (on a failure at any step: the disk failure tests).

#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::store;
using teste::ConstrutorDeclaracao;
using teste::ContaLinhas;
using teste::Valores;

namespace {

// The rows of statement `n` without their keys.
QString Retrato(Banco &banco, int n) {
    const std::string sql = teste::LeBytes(teste::DadoTeste("store/retrato_declaracao.sql"));
    return Valores(banco, QString::fromStdString(sql), {n, n, n, n});
}

class CopiaExclusao : public ::testing::Test {
  protected:
    teste::BancoTeste bt;
    Banco &banco = bt.banco();
    teste::UsuarioRoteirizado usuario;
    teste::ProgressoRoteirizado progresso;

    // A registered statement with rows in every table: subcomponents by DI and
    // by invoice (in the base), a receipt, a diagnostic and a print row.
    int completa(const QString &produto = "Telefone celular") {
        ConstrutorDeclaracao c(banco);
        c.geral([&](DadosGerais &d) {
            d.denProduto = produto;
            d.substitutivo = true;
            d.vlmAnterior = "2001001231";
            d.nrProcesso = "12345678901234567";
            d.salarios = 1500.25;
            d.coeficiente = Coeficiente::Variavel;
        });
        c.modelo("Modelo A", 999.9).modelo("Modelo B", 1200.0).nacional("Placa", 2, 50.0);
        c.nacional("Bateria", 1, 80.0).importadoDI("Tela", 1, 30, 16).importadoNF("Antena", 3, 1.5);
        DadosImportado sub = ConstrutorDeclaracao::ImportadoPadrao("Conector", 2, 3.0);
        sub.baseCalculo = true;
        DadosNF nf = ConstrutorDeclaracao::NFPadrao();
        nf.inscricaoEstadual = "04.123.456-7";
        c.subcomponente(1, "Chip", 4, 2.5).subcomponenteNF(2, sub, nf);
        banco.executa("UPDATE VLME SET PERC_REDUCAO_VLM = 12.5, NR_ARQUIVO_VLM = 42,"
                      " NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100123', DT_REGISTRO_VLM ="
                      " '2023-04-01 10:00:00', RAZAO_SOCIAL_VLM = 'Fábrica' WHERE NR_VLM_VLM = ?",
                      {c.numero()});
        for (const char *sql : {"INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO) VALUES (?, '1')",
                                "INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO) VALUES (?, 'x')",
                                "INSERT INTO IMPRESSAO (NR_VLM_IMPRESSAO) VALUES (?)"})
            banco.executa(sql, {c.numero()});
        return c;
    }
    QStringList tudo() {
        QStringList t = teste::ConteudoBanco(banco);
        for (const char *tabela : {"RECIBO", "ERRO", "IMPRESSAO"})
            t += teste::ConteudoTabela(banco, tabela);
        return t;
    }
    QString vlme(const QString &colunas, int n) {
        return Valores(banco, "SELECT " + colunas + " FROM VLME WHERE NR_VLM_VLM = ?", {n});
    }
};

TEST_F(CopiaExclusao, CopiaTemTodasAsLinhasComChavesNovasENadaCompartilhado) {
    const int origem = completa();
    const QString retrato = Retrato(banco, origem);
    const QStringList antes = tudo();
    ASSERT_EQ(retrato.count(';'), 9);

    const int copia = CopiaVLM(banco, origem, progresso, usuario);
    ASSERT_GT(copia, origem);
    EXPECT_TRUE(usuario.mensagens.empty());
    // A unit for each of 4 imported, 2 national, 2 links and 2 models; may be cancelled.
    EXPECT_EQ(std::tuple(progresso.unidades, progresso.minimo, progresso.maximo,
                         progresso.valores.back(), progresso.aberturas, progresso.fechamentos),
              std::tuple(10, 0, 10, 10, 1, 1));
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{true});
    EXPECT_EQ(Retrato(banco, copia), retrato);
    // The import sequence is the row's own sequence in the copy.
    EXPECT_EQ(ContaLinhas(banco, "COMPONENTES_NACIONAIS",
                          "NR_VLM_NACIONAL = ? AND NR_SQ_IMPORTACAO = NR_SQ_NACIONAL", {copia}) +
                  ContaLinhas(banco, "COMPONENTES_IMPORTADOS",
                              "NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTACAO = NR_SQ_IMPORTADO",
                              {copia}),
              6);

    // The general data go along, the delivery state does not.
    EXPECT_EQ(vlme("DEN_PRODUTO_VLM, CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM,"
                   " PERC_REDUCAO_VLM, SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM,"
                   " NR_PROCESSO_VLM, NCM_VLM, PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM,"
                   " UNIDADE_VLM, NR_ARQUIVO_VLM, NR_TRANSMISSAO_VLM, quote(CODIGO_VLM),"
                   " DT_REGISTRO_VLM, RAZAO_SOCIAL_VLM",
                   copia),
              "Cópia de Telefone celular|11222333000181|52998224725|PPB de telefones celulares|1|"
              "12.5|1|0|2001001231|12345678901234567|85171231|0.15|1500.25|0|UN|42|0|''|NULL|NULL");
    EXPECT_EQ(ContaLinhas(banco, "RECIBO", "NR_VLM_RECIBO = ?", {copia}) +
                  ContaLinhas(banco, "ERRO", "NR_VLM_ERRO = ?", {copia}),
              0);

    // Changing or deleting the copy leaves the original as it was.
    banco.executa("UPDATE NF SET NR_NF = 'X' WHERE NR_SEQ_NF > 4");
    banco.executa("UPDATE DI SET NR_DI_DI = 'X' WHERE NR_SQ_DI > 2");
    ExcluiNacional(banco, copia, 1);
    EXPECT_EQ(Retrato(banco, origem), retrato);
    ExcluiVLM(banco, copia, true, nullptr);
    EXPECT_EQ(tudo(), antes);
}

TEST_F(CopiaExclusao, NomeDoProdutoDaCopiaNuncaPassaDe80Caracteres) {
    const QString bloco = "Çabcdefghi"; // 10 characters
    const QString cheio = "Cópia de " + bloco.repeated(7) + "Ç";
    for (const auto &[nome, esperado] : {std::pair{bloco.repeated(8), cheio},
                                         {bloco.repeated(7) + "Ç", cheio},
                                         {QString(), QString("Cópia de ")}}) {
        const int origem = CriaVLM(banco);
        banco.executa("UPDATE VLME SET DEN_PRODUTO_VLM = ? WHERE NR_VLM_VLM = ?", {nome, origem});
        EXPECT_EQ(vlme("DEN_PRODUTO_VLM", CopiaVLM(banco, origem, progresso, usuario)), esperado);
    }
}

TEST_F(CopiaExclusao, CopiaDeDIDeixaADescricaoDoServidorENadaSemLigacao) {
    const int di = GravaDI(banco, {"2301234567", "002", "03"});
    banco.executa("UPDATE DI SET DESCRICAO_DI = 'do servidor' WHERE NR_SQ_DI = ?", {di});
    EXPECT_EQ(CopiaDI(banco, di), di + 1);
    EXPECT_EQ(teste::ConteudoTabela(banco, "DI").last(), "DI:2|'2301234567'|'002'|'03'|NULL");
    // A link to a row that is gone: no document (no link: the whole copy).
    EXPECT_EQ(CopiaNF(banco, 999) + CopiaDI(banco, 999), 0);
    EXPECT_EQ(ContaLinhas(banco, "NF") + ContaLinhas(banco, "DI"), 2);
}

TEST_F(CopiaExclusao, CancelamentoNoMeioDaCopiaDeixaOBancoComoEstava) {
    const int origem = completa();
    const QStringList antes = tudo();
    progresso.cancelaNa = 6; // among the national components
    EXPECT_EQ(CopiaVLM(banco, origem, progresso, usuario), 0);
    EXPECT_EQ(tudo(), antes);
    EXPECT_EQ(usuario.resumos(),
              QStringList{"!|Operação cancelada|Operação cancelada pelo usuário."});
    EXPECT_EQ(std::pair(progresso.unidades, progresso.fechamentos), std::pair(6, 1));
    teste::ProgressoRoteirizado outro;
    EXPECT_THROW(CopiaVLM(banco, origem + 1, outro, usuario), ErroDeclaracaoInexistente);
    EXPECT_EQ(tudo(), antes);
    // Nothing is left half open: the next copy goes through.
    const int copia = CopiaVLM(banco, origem, outro, usuario);
    EXPECT_EQ(Retrato(banco, copia), Retrato(banco, origem));
}

TEST_F(CopiaExclusao, ExcluirRemoveTodasAsLinhasDaDeclaracaoENadaDeOutra) {
    const int vazia = CriaVLM(banco);
    completa("Outro produto");
    const QStringList soAOutra = tudo();

    ExcluiVLM(banco, completa(), false, &progresso);
    EXPECT_EQ(tudo(), soAOutra);
    EXPECT_EQ(progresso.passos,
              QStringList({"Preparando para excluir", "Excluindo VLM-E", "Finalizando exclusão"}));
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{false});
    EXPECT_EQ(progresso.aberturas + progresso.fechamentos, 2);

    teste::ProgressoRoteirizado silencioso;
    ExcluiVLM(banco, vazia, true, &silencioso);
    EXPECT_EQ(silencioso.aberturas + silencioso.unidades + silencioso.valores.size(), 0);
    EXPECT_EQ(tudo(), soAOutra.filter(QRegularExpression("^(?!VLME:1\\|)")));
}

} // namespace
