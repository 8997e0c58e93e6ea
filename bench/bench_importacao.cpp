// Statement text import of a maximum-size statement (9999 models, 9999
// national components, 9999 imported rows of which one in ten is a
// subcomponent: 29 999 lines, shaped as real files are), beside the floor:
// the very rows that import writes, read back once, inserted through the
// SQLite C API with one prepared statement per table in one transaction (WAL,
// synchronous=FULL) into a database made by the same schema code. Each run
// starts on a fresh database.

#include "ArquivoMaximo.h"
#include "DeclaracaoMaxima.h"

#include "base/Progresso.h"
#include "import/Importacao.h"
#include "store/Banco.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct Base {
    QTemporaryDir dir;
    QString arquivo;
    QString arquivoComErro; // the CPF of the general data is zeros
    int rodada = 0;
    Base() {
        const QByteArray conteudo = vlme::bench::ArquivoMaximo();
        arquivo = dir.filePath(QStringLiteral("maximo.txt"));
        arquivoComErro = dir.filePath(QStringLiteral("maximo_erro.txt"));
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(conteudo);
        QFile g(arquivoComErro);
        g.open(QIODevice::WriteOnly);
        g.write(QByteArray(conteudo).replace(15, 11, QByteArray(11, '0')));
    }
    std::unique_ptr<vlme::store::Banco> bancoNovo() {
        auto banco = std::make_unique<vlme::store::Banco>();
        const QString caminho = dir.filePath(QStringLiteral("VLM%1.MDB").arg(++rodada));
        banco->cria(caminho);
        banco->abre(caminho);
        return banco;
    }
};

Base &base() {
    static Base b;
    return b;
}

void ImportaDeclaracaoMaxima(benchmark::State &estado) {
    vlme::base::ProgressoMudo progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = base().bancoNovo();
        estado.ResumeTiming();
        const auto r = vlme::importacao::ImportaArquivo(*banco, progresso, base().arquivo);
        if (r.desfecho != vlme::importacao::Desfecho::Sucesso)
            estado.SkipWithError(r.mensagem.toStdString().c_str());
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(ImportaDeclaracaoMaxima)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same reading and checking with nothing written: a fault in the first
// record keeps every row out.
void ConfereDeclaracaoMaximaSemGravar(benchmark::State &estado) {
    vlme::base::ProgressoMudo progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = base().bancoNovo();
        estado.ResumeTiming();
        const auto r = vlme::importacao::ImportaArquivo(*banco, progresso, base().arquivoComErro);
        if (r.desfecho != vlme::importacao::Desfecho::ErrosCampo || r.erros.size() != 1)
            estado.SkipWithError("esperado um erro de campo");
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(ConfereDeclaracaoMaximaSemGravar)->Unit(benchmark::kMillisecond)->Iterations(3);

// The rows of the tables one import writes, read back from a first import,
// each table's in the order written, with the INSERT that writes them.
struct LinhasImportadas {
    struct Tabela {
        QByteArray insere;
        int colunas = 0;
        std::vector<sqlite3_value *> valores; // row after row
    };
    std::vector<Tabela> tabelas;
    long linhas = 0;

    LinhasImportadas() {
        auto banco = base().bancoNovo();
        const QString caminho = banco->caminho();
        vlme::base::ProgressoMudo progresso;
        if (vlme::importacao::ImportaArquivo(*banco, progresso, base().arquivo).desfecho !=
            vlme::importacao::Desfecho::Sucesso)
            throw std::runtime_error("a importação falhou");
        banco.reset();
        sqlite3 *db = nullptr;
        sqlite3_open(caminho.toUtf8().constData(), &db);
        for (const char *nome : {"VLME", "MODELOS", "COMPONENTES_NACIONAIS",
                                 "COMPONENTES_IMPORTADOS", "SUBCOMP", "NF", "DI", "IMPORTACAO"}) {
            Tabela t;
            sqlite3_stmt *le = nullptr;
            sqlite3_prepare_v2(db, (QByteArray("SELECT * FROM ") + nome + " ORDER BY rowid").data(),
                               -1, &le, nullptr);
            t.colunas = sqlite3_column_count(le);
            while (sqlite3_step(le) == SQLITE_ROW) {
                for (int i = 0; i < t.colunas; ++i)
                    t.valores.push_back(sqlite3_value_dup(sqlite3_column_value(le, i)));
                ++linhas;
            }
            sqlite3_finalize(le);
            t.insere = QByteArray("INSERT INTO ") + nome + " VALUES (?" +
                       QByteArray(",?").repeated(t.colunas - 1) + ")";
            tabelas.push_back(std::move(t));
        }
        sqlite3_close(db);
    }
};

// The floor: those rows through the C API, one prepared INSERT per table, one
// transaction, into a database the schema code made (its indexes too).
void BaseInsercaoApiC(benchmark::State &estado) {
    static LinhasImportadas linhas;
    for (auto _ : estado) {
        estado.PauseTiming();
        const QByteArray caminho = base().bancoNovo()->caminho().toUtf8();
        sqlite3 *db = nullptr;
        sqlite3_open(caminho.constData(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
        estado.ResumeTiming();
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (const LinhasImportadas::Tabela &t : linhas.tabelas) {
            sqlite3_stmt *insere = nullptr;
            sqlite3_prepare_v2(db, t.insere.constData(), -1, &insere, nullptr);
            for (std::size_t v = 0; v < t.valores.size(); v += std::size_t(t.colunas)) {
                for (int i = 0; i < t.colunas; ++i)
                    sqlite3_bind_value(insere, i + 1, t.valores[v + std::size_t(i)]);
                if (sqlite3_step(insere) != SQLITE_DONE)
                    estado.SkipWithError(sqlite3_errmsg(db));
                sqlite3_reset(insere);
            }
            sqlite3_finalize(insere);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        estado.PauseTiming();
        sqlite3_close(db);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(linhas.linhas);
}
BENCHMARK(BaseInsercaoApiC)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
