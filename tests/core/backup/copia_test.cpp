// Backup and restore: the round trip, delivered statements, a cancel or a disk
// error at every step, and files that are not our backups.

#include "backup/CopiaSeguranca.h"
#include "shell/FronteiraComando.h"
#include "shell/Pastas.h"
#include "store/CopiaExclusao.h"
#include "support/Teste.h"

#include <QSqlDatabase>
#include <QSqlQuery>

using namespace vlme;

namespace {

class Copia : public teste::ComBanco {
  protected:
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
        Roda("backup/extras.sql", n);
    }
    QStringList Roda(const char *nome, int v) { return teste::ValoresDoArquivo(banco, nome, v); }
    // Every row of statement `v` but its keys and product name.
    QStringList Declaracao(int v) {
        return Roda("store/retrato_declaracao.sql", v) + Roda("backup/declaracao.sql", v);
    }
    QStringList Tudo() { return teste::ConteudoArquivo(banco); }
    int Restaura(base::Progresso &p) {
        return backup::RestauraCopiaSeguranca(banco, arquivo, p, usuario);
    }
};

TEST_F(Copia, IdaEVoltaDaAMesmaDeclaracaoComChavesNovas) {
    ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
    // One statement, its own diagnostic rows only; any SQLite tool reads it whole.
    EXPECT_EQ(teste::Sqlite3(arquivo, "SELECT count(*) FROM VLME; SELECT count(*) FROM ERRO;"
                                      " SELECT count(*) FROM NF; PRAGMA integrity_check;"),
              "1\n2\n2\nok\n");

    const int novo = Restaura(progresso);
    ASSERT_GT(novo, n + 1);
    EXPECT_EQ(Declaracao(novo), Declaracao(n));
    // Each component its own invoice; import sequences are the row's own.
    EXPECT_EQ(teste::ContaLinhas(banco, "NF"), 3 + 3);
    EXPECT_EQ(Roda("backup/restaurada.sql", novo),
              QStringList("Restauração de " + QString(65, 'P') + "|2|3"));
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
    const std::function<bool(base::Progresso &)> operacoes[] = {
        [&](base::Progresso &p) { return backup::GravaCopiaSeguranca(banco, n, arquivo, p); },
        [&](base::Progresso &p) { return Restaura(p) > 0; },
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
    for (const QStringList &c : teste::Casos("copias_estranhas.tsv")) {
        SCOPED_TRACE(c.at(0).toStdString());
        const QString como = c.at(1);
        QString caminho = arquivo;
        QFile::remove(arquivo);
        if (como == "metade")
            teste::GravaBytes(arquivo, copia.substr(0, copia.size() / 2));
        else if (como == "acaso")
            QFile::copy(teste::DadoTeste("backup/acaso.bin"), arquivo);
        else if (como == "banco")
            caminho = base.caminhoBanco();
        else {
            if (como.startsWith("sql:"))
                teste::GravaBytes(arquivo, copia);
            ASSERT_EQ(teste::Sqlite3(arquivo, QString(como).remove("sql:")), "");
        }
        const QStringList antes = Tudo();
        usuario.mensagens.clear();
        EXPECT_EQ(backup::RestauraCopiaSeguranca(banco, caminho, progresso, usuario), 0);
        EXPECT_EQ(usuario.resumos(), QStringList("x|ERRO!|Formato de arquivo inválido."));
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
    EXPECT_THROW(backup::GravaCopiaSeguranca(banco, n, base.caminhoBanco() + "-wal", progresso),
                 base::ErroVLME);
    EXPECT_EQ(Tudo(), antes);
    // A file beside it whose name only begins like it is another file, also the second time.
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_TRUE(backup::GravaCopiaSeguranca(banco, n, base.caminhoBanco() + ".BAK", progresso));
}

TEST_F(Copia, CopiaEmModoWALELidaComoOArquivoQueEEmDiscoSemGravarAoLado) {
    ASSERT_TRUE(backup::GravaCopiaSeguranca(banco, n, arquivo, progresso));
    // A -wal beside the backup that would make it another program's file.
    const QString outro = saida.arquivo("outro.db");
    ASSERT_TRUE(QFile::copy(arquivo, outro));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "wal");
        db.setDatabaseName(outro);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char *sql :
             {"PRAGMA journal_mode=WAL", "PRAGMA wal_autocheckpoint=0", "PRAGMA application_id=7"})
            ASSERT_TRUE(q.exec(sql)) << sql;
        QFile::remove(arquivo);
        ASSERT_TRUE(QFile::copy(outro, arquivo));
        ASSERT_TRUE(QFile::copy(outro + "-wal", arquivo + "-wal"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("wal");
    QFile::remove(outro);
    const QStringList arquivos = QDir(saida.caminho()).entryList(QDir::Files | QDir::Hidden);
    const std::string wal = teste::LeBytes(arquivo + "-wal");
    const int novo = Restaura(progresso);
    ASSERT_GT(novo, 0);
    EXPECT_EQ(Declaracao(novo), Declaracao(n));
    EXPECT_EQ(QDir(saida.caminho()).entryList(QDir::Files | QDir::Hidden), arquivos);
    EXPECT_EQ(teste::LeBytes(arquivo + "-wal"), wal);
}

} // namespace
