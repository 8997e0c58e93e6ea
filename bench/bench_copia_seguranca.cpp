// Backup and restore of a statement of the largest size, and a 10 000-row NCM
// table, beside baselines measured in the same run: SQLite's own VACUUM INTO
// of the whole database (the engine copying the same rows to a new file), and
// the table's rows written by one prepared INSERT in one transaction.

#include "DeclaracaoMaxima.h"
#include "UsuarioMudo.h"
#include "backup/CopiaSeguranca.h"
#include "base/Progresso.h"
#include "import/Tabelas.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int LinhasNCM = 10000;

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    int origem = 0;
    QString copia = dir.filePath(QStringLiteral("maxima.BAK"));
    QString tabela = dir.filePath(QStringLiteral("ncm.txt"));

    Base() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        origem = vlme::bench::CriaDeclaracaoMaxima(banco).numero;
        QFile f(tabela);
        f.open(QIODevice::WriteOnly);
        f.write("00KTB/ZFM0 TABELA NCM\r\n");
        for (int i = 0; i < LinhasNCM; ++i)
            f.write(QStringLiteral("02%1%2%3\r\n")
                        .arg(10000000 + i * 7)
                        .arg(QStringLiteral("Descrição do código %1, d'água").arg(i), -80)
                        .arg(QStringLiteral("QUILOGRAMA LÍQUIDO"), -50)
                        .toLatin1());
    }
};

Base &base() {
    static Base b;
    return b;
}

void GravaCopiaSeguranca(benchmark::State &estado) {
    Base &b = base();
    vlme::base::ProgressoMudo progresso;
    for (auto _ : estado)
        if (!vlme::backup::GravaCopiaSeguranca(b.banco, b.origem, b.copia, progresso))
            estado.SkipWithError("cancelada");
}
BENCHMARK(GravaCopiaSeguranca)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void RestauraCopiaSeguranca(benchmark::State &estado) {
    Base &b = base();
    vlme::base::ProgressoMudo progresso;
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Ok);
    if (!QFile::exists(b.copia))
        vlme::backup::GravaCopiaSeguranca(b.banco, b.origem, b.copia, progresso);
    for (auto _ : estado) {
        const int novo = vlme::backup::RestauraCopiaSeguranca(b.banco, b.copia, progresso, usuario);
        estado.PauseTiming();
        if (novo == 0)
            estado.SkipWithError("recusada");
        vlme::store::ExcluiVLM(b.banco, novo, true, nullptr);
        estado.ResumeTiming();
    }
}
BENCHMARK(RestauraCopiaSeguranca)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BaseVacuumInto(benchmark::State &estado) {
    Base &b = base();
    const QString destino = b.dir.filePath(QStringLiteral("vacuum.db"));
    for (auto _ : estado) {
        QFile::remove(destino);
        b.banco.executa(QStringLiteral("VACUUM INTO ?"), {destino});
    }
}
BENCHMARK(BaseVacuumInto)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void ImportaTabelaNCM(benchmark::State &estado) {
    Base &b = base();
    for (auto _ : estado) {
        const auto r = vlme::importacao::ImportaTabela(
            b.banco, b.tabela, QString::fromLatin1(vlme::importacao::CodigoTabelaNCM));
        if (!r.sucesso || r.linhas != LinhasNCM)
            estado.SkipWithError("recusada");
    }
}
BENCHMARK(ImportaTabelaNCM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The floor for the table: its rows by one prepared INSERT in one
// transaction, rolled back outside the timing.
void BaseInsercaoNCM(benchmark::State &estado) {
    Base &b = base();
    for (auto _ : estado) {
        auto t = std::make_unique<vlme::store::Transacao>(b.banco);
        QSqlQuery insere = b.banco.prepara(
            QStringLiteral("INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO,"
                           " NM_UNID_MED_EST) VALUES (?, ?, ?)"));
        for (int i = 0; i < LinhasNCM; ++i)
            b.banco.executa(insere, {QString::number(20000000 + i),
                                     QStringLiteral("Descrição do código %1").arg(i),
                                     QStringLiteral("QUILOGRAMA LÍQUIDO")});
        estado.PauseTiming();
        insere = QSqlQuery();
        t.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(BaseInsercaoNCM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
