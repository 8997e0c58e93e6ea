// A disk error at any step, a damaged file, a full disk, a read-only file: the
// work stops with a Portuguese message; database and delivery files unchanged.
// The stock sqlite3 tool reads every table of our files, and finds them whole,
// after start-up on new files and on a file whose schema names our collation,
// which is converted.

#include "checking/Pendencias.h"
#include "delivery/Transmissao.h"
#include "entry/Descricoes.h"
#include "shell/FronteiraComando.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"
#include "store/Esquema.h"
#include "support/Teste.h"

#include <QSqlQuery>

using namespace vlme;
using teste::ConstrutorDeclaracao;
using C = ConstrutorDeclaracao;

namespace {

std::string Arquivos(const QString &pasta) {
    std::string tudo;
    const QDir dir(QDir(pasta).filePath("Arquivos"));
    for (const QString &nome : dir.entryList(QDir::Files))
        tudo += nome.toStdString() + ':' + teste::LeBytes(dir.filePath(nome)) + '\n';
    return tudo;
}

struct Cenario {
    teste::BancoTeste base;
    store::Banco &banco = base.banco();
    teste::UsuarioRoteirizado usuario;
    base::ProgressoMudo progresso;
    int n = 0;

    explicit Cenario(int modelos = 3) {
        ConstrutorDeclaracao d(banco);
        d.geral().nacional("N1").nacional("N2").importadoDI("I1").importadoNF("I2");
        d.subcomponente(1, "S", 1, 1.0);
        for (int i = 1; i <= modelos; ++i)
            d.modelo(QStringLiteral("Modelo %1 ").arg(i).leftJustified(80, 'x'), i);
        n = d;
        ConstrutorDeclaracao(banco).geral(); // another, never touched
        // A delivery file already there must survive a failed generation.
        teste::GravaBytes(shell::CaminhoArquivos(base.pasta(), n), "anterior");
    }
    // What the user was told by the command's boundary; empty when it ran.
    QString executa(const std::function<void()> &operacao) {
        const size_t antes = usuario.mensagens.size();
        if (shell::ExecutaProtegido(usuario, operacao))
            return {};
        return usuario.mensagens.size() == antes + 1 ? usuario.mensagens.back().texto
                                                     : QStringLiteral("?");
    }
};

const QString Danificado = QStringLiteral("O arquivo do banco de dados está danificado");

// sqlite3 must count each table as our connection does, and find no fault.
void LidoPeloSqlite3(const QString &arquivo) {
    QString script, esperado;
    {
        store::Banco banco;
        banco.abre(arquivo);
        QSqlQuery q = banco.executa("SELECT name FROM sqlite_master WHERE type = 'table'");
        while (q.next()) {
            script += "SELECT count(*) FROM " + q.value(0).toString() + ';';
            esperado += QString::number(teste::ContaLinhas(banco, q.value(0).toString())) + '\n';
        }
    }
    EXPECT_EQ(teste::Sqlite3(arquivo, script + "PRAGMA integrity_check;"), esperado + "ok\n")
        << arquivo;
}

// Rows in rowid order, rowids, indexes, counters.
QStringList RetratoComIndices(store::Banco &banco) {
    QStringList r = teste::ConteudoBanco(banco);
    for (const char *sql : {"SELECT group_concat(rowid) FROM MODELOS",
                            "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master"
                            " WHERE type = 'index' ORDER BY 1)",
                            "SELECT group_concat(name || seq) FROM sqlite_sequence"})
        r << banco.escalar(sql).toString();
    return r;
}

} // namespace

TEST(FalhaNoMeio, CadaPassoQueFalhaDesfazTudoEAvisa) {
    const std::pair<const char *, std::function<void(Cenario &)>> casos[] = {
        {"copiar", [](Cenario &c) { store::CopiaVLM(c.banco, c.n, c.progresso, c.usuario); }},
        {"excluir", [](Cenario &c) { store::ExcluiVLM(c.banco, c.n, false, &c.progresso); }},
        {"gerar",
         [](Cenario &c) {
             delivery::Transmissao(c.banco, c.base.pasta(), c.usuario, c.progresso)
                 .GeraArquivoTransmissao(c.n, false);
         }},
        {"pendencias", [](Cenario &c) { checking::VerificaPendencias(c.banco, c.n); }},
        {"lista", [](Cenario &c) { store::ListaDeclaracoes(c.banco); }},
        {"incluir nacional",
         [](Cenario &c) { store::IncluiNacional(c.banco, c.n, C::NFPadrao(), {}); }},
        {"alterar nacional",
         [](Cenario &c) { store::AlteraNacional(c.banco, c.n, 1, C::NFPadrao(), {}); }},
        {"excluir nacional", [](Cenario &c) { store::ExcluiNacional(c.banco, c.n, 1); }},
        {"incluir subcomponente",
         [](Cenario &c) { store::IncluiImportadoNF(c.banco, c.n, C::NFPadrao(), {}, 2); }},
        {"incluir importado",
         [](Cenario &c) { store::IncluiImportadoDI(c.banco, c.n, C::DIPadrao(), {}); }},
        {"trocar DI por NF",
         [](Cenario &c) { store::AlteraImportadoNF(c.banco, c.n, 1, C::NFPadrao(), {}); }},
        {"trocar NF por DI",
         [](Cenario &c) { store::AlteraImportadoDI(c.banco, c.n, 2, C::DIPadrao(), {}); }},
        {"excluir importado", [](Cenario &c) { store::ExcluiImportado(c.banco, c.n, 3); }},
    };
    for (const auto &[nome, operacao] : casos) {
        SCOPED_TRACE(nome);
        Cenario c;
        const QStringList antes = teste::ConteudoArquivo(c.banco);
        const std::string arquivosAntes = Arquivos(c.base.pasta());
        // Every step fails once in turn, the rows in the middle included,
        // until the operation has fewer steps than the countdown.
        int passo = 1;
        for (;; ++passo) {
            c.banco.simulaFalhaDisco(passo);
            const QString texto = c.executa([&] { operacao(c); });
            c.banco.simulaFalhaDisco(0);
            if (texto.isEmpty())
                break;
            ASSERT_TRUE(texto.startsWith("Houve um erro de leitura ou gravação no disco"))
                << passo << texto;
            ASSERT_EQ(teste::ConteudoArquivo(c.banco), antes) << passo;
            ASSERT_EQ(Arquivos(c.base.pasta()), arquivosAntes) << passo;
        }
        EXPECT_GT(passo, 3);
    }
}

// Garbage over a page in the middle of the models, written with the file closed.
static void Danifica(Cenario &c) {
    QList<int> paginas;
    for (QSqlQuery q = c.banco.executa("SELECT pageno FROM dbstat WHERE pagetype = 'leaf'"
                                       " AND name = 'MODELOS' ORDER BY 1");
         q.next();)
        paginas << q.value(0).toInt();
    ASSERT_GE(paginas.size(), 3);
    const int tamanho = c.banco.escalar("PRAGMA page_size").toInt();
    c.banco.fecha();
    QFile f(c.base.caminhoBanco());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(qint64(paginas.at(paginas.size() / 2) - 1) * tamanho);
    f.write(QByteArray(tamanho, '\xA5'));
    f.close();
    c.banco.abre(c.base.caminhoBanco());
}

TEST(FalhaNoMeio, ErrosDoSQLiteViramMensagensEmPortugues) {
    using Passo = std::function<void(Cenario &)>;
    const Passo copia = [](Cenario &c) { store::CopiaVLM(c.banco, c.n, c.progresso, c.usuario); };
    // The first rows read well; the damage is met while stepping.
    const Passo varre = [](Cenario &c) {
        QSqlQuery q = c.banco.executa("SELECT * FROM MODELOS ORDER BY rowid");
        while (c.banco.proxima(q)) {
        }
    };
    const struct {
        const char *nome;
        Passo prepara, operacao;
        QString inicio;
    } casos[] = {
        {"danificado, cópia", Danifica, copia, Danificado},
        {"danificado, linha a linha", Danifica, varre, Danificado},
        {"disco cheio",
         [](Cenario &c) {
             c.banco.executa(QStringLiteral("PRAGMA max_page_count = %1")
                                 .arg(c.banco.escalar("PRAGMA page_count").toInt()));
         },
         copia, QStringLiteral("Não há espaço livre no disco")},
        {"somente leitura",
         [](Cenario &c) {
             c.banco.fecha();
             c.banco.abreSomenteLeitura(c.base.caminhoBanco());
         },
         copia, QStringLiteral("O banco de dados só pode ser lido")},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nome);
        Cenario c(300);
        caso.prepara(c);
        const QString texto = c.executa([&] { caso.operacao(c); });
        EXPECT_TRUE(texto.startsWith(caso.inicio)) << texto;
        // SQLite's own words come after, as the detail.
        EXPECT_TRUE(texto.contains(QStringLiteral("Detalhe técnico: "))) << texto;
    }
}

TEST(Sqlite3Externo, EsquemaComAColacaoEConvertidoUmaVezGuardandoTudo) {
    teste::PastaTeste pasta;
    const QString mdb = pasta.arquivo("VLM.MDB");
    QStringList antes; // what the conversion must keep
    int n = 0;
    {
        store::Banco banco;
        banco.cria(mdb);
        banco.abre(mdb);
        // The text columns as the previous version declared them.
        const QRegularExpression tabela("\\b(MODELOS|COMPONENTES_\\w+|NCM_ITEM|UNIDADE_\\w+) \\(");
        const QRegularExpression coluna("\\b((TX_D|CD_|DESCR_|NM_M)\\w+ VARCHAR\\(\\d+\\))");
        for (QString sql : store::ComandosEsquema()) {
            const QRegularExpressionMatch m = tabela.match(sql);
            if (m.hasMatch() && sql.startsWith("CREATE TABLE"))
                banco.executa("DROP TABLE " + m.captured(1));
            if (m.hasMatch())
                banco.executa(sql.replace(coluna, "\\1 COLLATE VLME_TEXTO"));
        }
        banco.executa("CREATE INDEX VLME_Produto ON VLME (DEN_PRODUTO_VLM COLLATE VLME_TEXTO)");
        n = teste::ConstrutorDeclaracao(banco).geral().modelo("Rádio", 1).modelo("Tevê", 2);
        teste::ConstrutorDeclaracao(banco, n).modelo("Ímã", 3).nacional().importadoNF();
        banco.executa("DELETE FROM MODELOS WHERE NR_SQ_MODELOS = 2");
        banco.executa("INSERT INTO UNIDADE_MEDIDA VALUES ('UN', 'UNIDADE')");
        antes = RetratoComIndices(banco);
    }
    EXPECT_TRUE(
        teste::Sqlite3(mdb, "PRAGMA integrity_check;").contains("no such collation sequence"));
    ASSERT_TRUE(QFile::copy(mdb, pasta.arquivo("VLME.MOD")));
    {
        // A failure half-way leaves the file as it was.
        store::Banco banco;
        banco.abre(mdb);
        banco.executa("CREATE TABLE NCM_ITEM_vlme_nova (x)");
        EXPECT_THROW(store::RetiraColacao(banco), store::ErroBanco);
        EXPECT_TRUE(store::NomeiaColacao(banco));
        EXPECT_EQ(RetratoComIndices(banco), antes);
        banco.executa("DROP TABLE NCM_ITEM_vlme_nova");
    }
    teste::UsuarioRoteirizado usuario;
    store::Banco banco;
    ASSERT_TRUE(shell::AbreBancoPrograma(pasta.caminho(), banco, usuario));
    EXPECT_FALSE(store::NomeiaColacao(banco));
    EXPECT_EQ(RetratoComIndices(banco), antes);
    EXPECT_TRUE(store::ModeloCadastrado(banco, n, "RÁDIO"));
    EXPECT_EQ(entry::DescricaoUnidade(banco, "un"), "UNIDADE");
    const QString identidade = store::IdentidadeBanco(banco);
    banco.fecha();
    teste::PastaTeste nova; // and files made at start-up, each with an identity of its own
    ASSERT_TRUE(shell::AbreBancoPrograma(nova.caminho(), banco, usuario));
    EXPECT_EQ(identidade.size(), 36);
    EXPECT_NE(store::IdentidadeBanco(banco), identidade);
    banco.fecha();
    for (const QString &arquivo :
         {mdb, pasta.arquivo("VLME.MOD"), nova.arquivo("VLM.MDB"), nova.arquivo("VLME.MOD")})
        LidoPeloSqlite3(arquivo);
}
