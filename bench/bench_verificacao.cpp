// Pendency check and cost summary of a maximum-size statement, beside the
// time to read the same rows once with plain SELECTs.

#include "DeclaracaoMaxima.h"
#include "checking/Calculos.h"
#include "checking/Pendencias.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

vlme::bench::BancoMaximo &base() {
    return vlme::bench::BaseMaxima();
}

void VerificaPendencias(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(vlme::checking::VerificaPendencias(base().banco, base().numero));
}
BENCHMARK(VerificaPendencias)->Unit(benchmark::kMillisecond);

void CalculaResumo(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(vlme::checking::CalculaResumo(base().banco, base().numero));
}
BENCHMARK(CalculaResumo)->Unit(benchmark::kMillisecond);

// Baseline: every row of the three tables read once.
void BaseLeituraDasLinhas(benchmark::State &estado) {
    for (auto _ : estado) {
        double soma = 0;
        for (const char *sql :
             {"SELECT QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL FROM COMPONENTES_NACIONAIS"
              " WHERE NR_VLM_NACIONAL = ?",
              "SELECT QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO FROM COMPONENTES_IMPORTADOS"
              " WHERE NR_VLM_IMPORTADO = ?",
              "SELECT NR_SQ_MODELOS, PRECO_VENDA_MODELOS FROM MODELOS WHERE NR_VLM_MODELOS = ?"}) {
            QSqlQuery q = base().banco.executa(QString::fromLatin1(sql), {base().numero});
            while (q.next())
                soma += q.value(0).toDouble() * q.value(1).toDouble();
        }
        benchmark::DoNotOptimize(soma);
    }
}
BENCHMARK(BaseLeituraDasLinhas)->Unit(benchmark::kMillisecond);

} // namespace
