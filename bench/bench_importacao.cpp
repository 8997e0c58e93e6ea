// Statement text import of a maximum-size statement (9999 models, 9999
// national components, 9999 imported rows of which one in ten is a
// subcomponent: 29 999 lines), beside the floor: as many rows of 13 columns
// inserted through the SQLite C API with one prepared statement in one
// transaction (WAL, synchronous=FULL). Each run starts on a fresh database.

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

// The floor: the import's rows (one per record) as 13 bound columns through
// the C API, one prepared INSERT, one transaction.
void BaseInsercaoApiC(benchmark::State &estado) {
    const int registros = 3 * vlme::bench::LinhasMaximas + 1;
    for (auto _ : estado) {
        estado.PauseTiming();
        const QByteArray caminho =
            base().dir.filePath(QStringLiteral("c%1.db").arg(++base().rodada)).toUtf8();
        estado.ResumeTiming();
        sqlite3 *db = nullptr;
        sqlite3_open(caminho.constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;"
                     " CREATE TABLE t (a INTEGER, b INTEGER, c TEXT, d TEXT, e TEXT, f TEXT,"
                     " g REAL, h REAL, i REAL, j INTEGER, k INTEGER, l TEXT, m TEXT);"
                     " BEGIN",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt *insere = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insere,
                           nullptr);
        for (int r = 1; r <= registros; ++r) {
            const QByteArray descricao = "Componente importado " + QByteArray::number(r);
            sqlite3_bind_int(insere, 1, 1);
            sqlite3_bind_int(insere, 2, r);
            sqlite3_bind_text(insere, 3, descricao.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insere, 4, "85171231", -1, SQLITE_STATIC);
            sqlite3_bind_text(insere, 5, "UN", -1, SQLITE_STATIC);
            sqlite3_bind_text(insere, 6, "2301234567", -1, SQLITE_STATIC);
            sqlite3_bind_double(insere, 7, 0.5 * r);
            sqlite3_bind_double(insere, 8, 1.0000005 * r);
            sqlite3_bind_double(insere, 9, 16.0);
            sqlite3_bind_int(insere, 10, r % 2);
            sqlite3_bind_int(insere, 11, 0);
            sqlite3_bind_text(insere, 12, "001", -1, SQLITE_STATIC);
            sqlite3_bind_text(insere, 13, "01", -1, SQLITE_STATIC);
            sqlite3_step(insere);
            sqlite3_reset(insere);
        }
        sqlite3_finalize(insere);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BaseInsercaoApiC)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
