// Copy and delete of a statement of the largest size (9999 models, 9999
// national and 9999 imported rows, a tenth of the imported ones subcomponents,
// every component with its invoice or declaration), beside a baseline: the
// same number of rows written by one prepared INSERT per table in one
// transaction, which is about as fast as the database can take them.

#include "DeclaracaoMaxima.h"
#include "UsuarioMudo.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Counts units like a progress window that repaints now and then.
class ProgressoContador final : public vlme::base::Progresso {
  public:
    void abre() override {}
    void fecha() override {}
    void passo(const QString &) override {}
    void faixa(int, int) override {}
    void valor(int) override { ++valores; }
    void permiteCancelar(bool) override {}
    bool unidade() override { return ++unidades > 0; }
    bool cancelado() const override { return false; }
    long unidades = 0;
    long valores = 0;
};

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    int origem = 0;
    long linhasCopia = 0; // rows a copy writes, documents included

    Base() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        const auto declaracao = vlme::bench::CriaDeclaracaoMaxima(banco);
        origem = declaracao.numero;
        linhasCopia = declaracao.linhas;
    }
};

Base &base() {
    static Base b;
    return b;
}

void CopiaVLM(benchmark::State &estado) {
    Base &b = base();
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Sim);
    ProgressoContador progresso;
    for (auto _ : estado) {
        const int copia = vlme::store::CopiaVLM(b.banco, b.origem, progresso, usuario);
        estado.PauseTiming();
        if (copia == 0)
            estado.SkipWithError("cópia cancelada");
        vlme::store::ExcluiVLM(b.banco, copia, true, nullptr);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(b.linhasCopia);
    estado.counters["unidades/copia"] = double(progresso.unidades) / double(estado.iterations());
    estado.counters["barra/copia"] = double(progresso.valores) / double(estado.iterations());
}
BENCHMARK(CopiaVLM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void ExcluiVLM(benchmark::State &estado) {
    Base &b = base();
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Sim);
    ProgressoContador progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        const int copia = vlme::store::CopiaVLM(b.banco, b.origem, progresso, usuario);
        estado.ResumeTiming();
        vlme::store::ExcluiVLM(b.banco, copia, false, &progresso);
    }
}
BENCHMARK(ExcluiVLM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The floor: as many rows written with one prepared INSERT in one
// transaction, rolled back outside the timing.
void BaseInsercaoPreparada(benchmark::State &estado) {
    Base &b = base();
    for (auto _ : estado) {
        auto t = std::make_unique<vlme::store::Transacao>(b.banco);
        QSqlQuery insere = b.banco.prepara(QStringLiteral(
            "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS,"
            " COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
        for (long i = 1; i <= b.linhasCopia; ++i)
            b.banco.executa(insere, {-1, int(i), QStringLiteral("Modelo %1").arg(i),
                                     QStringLiteral("COD%1").arg(i), 999.9});
        estado.PauseTiming();
        insere = QSqlQuery();
        t.reset();
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(b.linhasCopia);
}
BENCHMARK(BaseInsercaoPreparada)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
