// Backup and restore: the round trip, delivered statements, a cancel or a disk
// error at every step, and files that are not our backups.

#include "backup/CopiaSeguranca.h"
#include "shell/FronteiraComando.h"
#include "shell/Pastas.h"
#include "store/CopiaExclusao.h"
#include "support/Arquivos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace vlme;

namespace {

QString sqlite3(const QString &arquivo, const QString &sql) {
    QProcess p;
    p.start("sqlite3", {"-batch", arquivo, sql});
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAll()) : p.errorString();
}

class Copia : public ::testing::Test {
  protected:
    teste::BancoTeste base;
    store::Banco &banco = base.banco();
    teste::PastaTeste saida;
    teste::UsuarioRoteirizado usuario;
    teste::ProgressoRoteirizado progresso;
    const QString arquivo = saida.arquivo("copia.BAK");
    int n = 0;

    void SetUp() override {
        teste::ConstrutorDeclaracao c(banco);
        c.geral().modelo("Modelo A", 999.9).nacional("Placa", 2, 50).nacional("Bateria", 1, 80);
        c.importadoDI("Tela", 1, 30, 16)
            .importadoNF("Antena", 3, 1.5)
            .subcomponente(1, "Chip", 4, 2);
        n = c;
        // Both national components on one invoice.
        banco.executa("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = (SELECT min("
                      "NR_SEQ_NF_NACIONAL) FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?)"
                      " WHERE NR_VLM_NACIONAL = ?",
                      {n, n});
        banco.executa("UPDATE VLME SET DEN_PRODUTO_VLM = ?, RAZAO_SOCIAL_VLM = 'Fábrica',"
                      " DT_REGISTRO_VLM = '2023-04-01' WHERE NR_VLM_VLM = ?",
                      {QString(70, 'P') + "0123456789", n});
        const int outra = teste::ConstrutorDeclaracao(banco).geral();
        for (int v : {n, n, outra})
            banco.executa("INSERT INTO ERRO VALUES (?, 'd', 'l', 'r', 'E')", {v});
        banco.executa("INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO, SELO_RECIBO)"
                      " VALUES (?, '1', 'selo')",
                      {n});
    }
    // Every row of statement `v` but its keys and product name.
    QStringList Declaracao(int v) {
        QStringList geral =
            teste::Valores(banco, "SELECT * FROM VLME WHERE NR_VLM_VLM = ?", {v}).split('|');
        geral.removeAt(15); // DEN_PRODUTO_VLM
        geral.removeAt(0);
        return {teste::Valores(banco,
                               QString::fromStdString(teste::LeBytes(
                                   teste::DadoTeste("store/retrato_declaracao.sql"))),
                               {v, v, v, v}),
                geral.join('|'),
                teste::Valores(banco, "SELECT * FROM RECIBO WHERE NR_VLM_RECIBO = ?", {v}).mid(1),
                teste::Valores(banco,
                               "SELECT group_concat(DESCRICAO_ERRO || LOCAL_ERRO ||"
                               " REGISTRO_ERRO || TIPO_ERRO) FROM ERRO WHERE NR_VLM_ERRO = ?",
                               {v})};
    }
    QStringList Tudo() {
        QStringList t = teste::ConteudoBanco(banco);
        for (const char *tabela : {"RECIBO", "ERRO", "sqlite_sequence"})
            t += teste::ConteudoTabela(banco, tabela);
        return t;
    }
    int Restaura(shell::Progresso &p) {
        return backup::RestauraCopiaSeguranca(banco, arquivo, p, usuario);
    }
};

const QString Invalido = "x|ERRO!|Formato de arquivo inválido.";

TEST_F(Copia, IdaEVoltaDaAMesmaDeclaracaoComChavesNovas) {
    ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
    // One statement, its own diagnostic rows only; any SQLite tool reads it whole.
    EXPECT_EQ(sqlite3(arquivo, "SELECT count(*) FROM VLME; SELECT count(*) FROM ERRO;"
                               " SELECT count(*) FROM NF; PRAGMA integrity_check;"),
              "1\n2\n2\nok\n");
    EXPECT_EQ(QFile(arquivo).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    teste::ProgressoRoteirizado volta;
    const int novo = Restaura(volta);
    ASSERT_GT(novo, n + 1);
    EXPECT_EQ(Declaracao(novo), Declaracao(n));
    EXPECT_EQ(
        teste::Valores(banco, "SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?", {novo}),
        "Restauração de " + QString(65, 'P'));
    // Each component its own invoice; import sequences are the row's own.
    EXPECT_EQ(teste::ContaLinhas(banco, "NF"), 3 + 3);
    EXPECT_EQ(teste::ContaLinhas(banco, "COMPONENTES_NACIONAIS",
                                 "NR_VLM_NACIONAL = ? AND NR_SQ_IMPORTACAO = NR_SQ_NACIONAL",
                                 {novo}),
              2);
    EXPECT_EQ(teste::ContaLinhas(banco, "COMPONENTES_IMPORTADOS",
                                 "NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTACAO = NR_SQ_IMPORTADO",
                                 {novo}),
              3);
    EXPECT_EQ(usuario.resumos(), QStringList("i|Cópia de Segurança|A Restauração da Cópia de "
                                             "Segurança foi efetuada com sucesso!"));
    EXPECT_EQ(volta.passos.join(','),
              "Restaurando VLM-E,Restaurando Componentes Importados,Restaurando Componentes "
              "Nacionais,Restaurando Subcomponentes importados,Restaurando Modelos,Restaurando "
              "Tabela de Erros,Restaurando Recibos");
    EXPECT_EQ(std::tuple(volta.unidades, volta.maximo, volta.aberturas, volta.fechamentos),
              std::tuple(10, 10, 1, 1));
}

TEST_F(Copia, EntregueSoVoltaQuandoNaoEstaMaisNoBanco) {
    const std::pair<int, const char *> casos[] = {{55, ""}, {0, "200100123"}, {-1, "200100124"}};
    for (const auto &[transmissao, codigo] : casos) {
        SCOPED_TRACE(codigo);
        banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?, CODIGO_VLM = ? WHERE NR_VLM_VLM = ?",
                      {transmissao, codigo, n});
        ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
        const QStringList antes = Tudo();
        usuario.mensagens.clear();
        EXPECT_EQ(Restaura(progresso), 0);
        EXPECT_EQ(
            usuario.resumos(),
            QStringList("!|ATENÇÃO!!!|Já existe este VLM-E. A restauração não irá prosseguir."));
        EXPECT_EQ(Tudo(), antes);

        const QStringList declaracao = Declaracao(n);
        store::ExcluiVLM(banco, n, true, nullptr);
        n = Restaura(progresso);
        ASSERT_GT(n, 0);
        EXPECT_EQ(Declaracao(n), declaracao);
        EXPECT_EQ(
            teste::Valores(banco, "SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?", {n}),
            QString(70, 'P') + "0123456789");
    }
}

TEST_F(Copia, CancelarOuFalharEmCadaPassoNaoDeixaNada) {
    const std::function<bool(shell::Progresso &)> operacoes[] = {
        [&](shell::Progresso &p) { return backup::GravaCopiaSeguranca(banco, n, arquivo, p); },
        [&](shell::Progresso &p) { return Restaura(p) > 0; },
    };
    for (const auto &operacao : operacoes) {
        const QStringList antes = Tudo();
        const QStringList arquivos = QDir(saida.caminho()).entryList(QDir::Files | QDir::Hidden);
        int passo = 1;
        for (; passo < 100; ++passo) {
            teste::ProgressoRoteirizado cancela(passo);
            usuario.mensagens.clear();
            if (operacao(cancela))
                break;
            ASSERT_EQ(Tudo(), antes) << passo;
            ASSERT_EQ(QDir(saida.caminho()).entryList(QDir::Files | QDir::Hidden), arquivos);
        }
        EXPECT_GT(passo, 3);
        const int ultima = banco.escalar("SELECT max(NR_VLM_VLM) FROM VLME").toInt();
        const std::string bytes = teste::LeBytes(arquivo);
        for (passo = 1; passo < 200; ++passo) {
            store::ExcluiVLM(banco, ultima + 1, true, nullptr); // made by the run before
            const QStringList agora = Tudo();
            banco.simulaFalhaDisco(passo);
            const bool feito = shell::ExecutaProtegido(usuario, [&] { operacao(progresso); });
            banco.simulaFalhaDisco(0);
            if (feito)
                break;
            ASSERT_EQ(Tudo(), agora) << passo;
            ASSERT_EQ(QDir(saida.caminho()).entryList(QDir::Files | QDir::Hidden),
                      QStringList("copia.BAK"));
            ASSERT_EQ(teste::LeBytes(arquivo), bytes);
        }
        EXPECT_GT(passo, 3);
    }
}

TEST_F(Copia, ArquivoQueNaoEUmaCopiaNossaERecusadoSemGravarNada) {
    ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
    const std::string copia = teste::LeBytes(arquivo);
    const QString sql = "sql:";
    const std::pair<const char *, QString> casos[] = {
        {"truncada", "metade"},
        {"bytes ao acaso", "acaso"},
        {"outro programa", "CREATE TABLE VLME (NR_VLM_VLM)"},
        {"gatilho", sql + "CREATE TRIGGER t AFTER INSERT ON ERRO BEGIN DELETE FROM VLME; END"},
        {"visão", sql + "CREATE VIEW v AS SELECT 1"},
        {"coluna a menos", sql + "ALTER TABLE MODELOS DROP COLUMN PRECO_VENDA_MODELOS"},
        {"coluna gerada", sql + "ALTER TABLE RECIBO ADD COLUMN g AS (1)"},
        {"duas declarações", sql + "INSERT INTO VLME (CODIGO_VLM) VALUES ('')"},
        {"sequência repetida", sql + "DROP INDEX IndiceModelos; INSERT INTO MODELOS SELECT * FROM"
                                     " MODELOS"},
        {"o próprio banco", "banco"},
    };
    for (const auto &[nome, como] : casos) {
        SCOPED_TRACE(nome);
        QString caminho = arquivo;
        QFile::remove(arquivo);
        if (como == "metade")
            teste::GravaBytes(arquivo, copia.substr(0, copia.size() / 2));
        else if (como == "acaso") {
            std::string bytes(copia.size(), '\0');
            for (char &b : bytes)
                b = char(QRandomGenerator::global()->bounded(256));
            teste::GravaBytes(arquivo, bytes);
        } else if (como == "banco")
            caminho = base.caminhoBanco();
        else {
            if (como.startsWith(sql))
                teste::GravaBytes(arquivo, copia);
            ASSERT_EQ(sqlite3(arquivo, QString(como).remove(sql)), "");
        }
        const QStringList antes = Tudo();
        usuario.mensagens.clear();
        EXPECT_EQ(backup::RestauraCopiaSeguranca(banco, caminho, progresso, usuario), 0);
        EXPECT_EQ(usuario.resumos(), QStringList(Invalido));
        EXPECT_EQ(Tudo(), antes);
    }
}

TEST_F(Copia, ComandoPerguntaOndeGravarETiraAsteriscoPonto) {
    usuario.escolhe("");
    EXPECT_FALSE(backup::GeraCopiaSeguranca(banco, base.pasta(), n, usuario, progresso));
    usuario.escolhe(saida.arquivo("nova*."));
    EXPECT_TRUE(backup::GeraCopiaSeguranca(banco, base.pasta(), n, usuario, progresso));
    EXPECT_TRUE(QFile::exists(saida.arquivo("nova.BAK")));
    usuario.escolhe(arquivo);
    teste::ProgressoRoteirizado cancela(1);
    EXPECT_FALSE(backup::GeraCopiaSeguranca(banco, base.pasta(), n, usuario, cancela));
    EXPECT_EQ(usuario.resumos(),
              QStringList({"i|Cópia de Segurança|A Cópia de Segurança foi gerada com sucesso!",
                           "!|Cancelado!|Operação cancelada pelo usuário."}));
    const auto &d = usuario.dialogos.front();
    EXPECT_EQ(QStringList({d.titulo, d.filtro, d.inicial}),
              QStringList({"Gerar Cópia de Segurança", "Arquivos backup VLME (*.BAK)",
                           shell::PastaArquivos(base.pasta(), teste::ConstrutorDeclaracao::Cnpj)}));
    // Never over the program's own database or its log.
    const QStringList antes = Tudo();
    for (const QString &alvo : {base.caminhoBanco(), base.caminhoBanco() + "-wal"})
        EXPECT_THROW(backup::GravaCopiaSeguranca(banco, n, alvo, progresso), shell::ErroVLME);
    EXPECT_EQ(Tudo(), antes);
    EXPECT_EQ(store::ExaminaArquivo(base.caminhoBanco()), store::TipoArquivo::Nosso);
}

} // namespace
