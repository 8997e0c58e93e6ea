// The statement of maximum size printed to PDF (built, laid out, written),
// beside the time to build the same document without writing it.

#include "DeclaracaoMaxima.h"
#include "printing/Relatorios.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

vlme::bench::BancoMaximo &base() {
    return vlme::bench::BaseMaxima();
}

void DemonstrativoEmPDF(benchmark::State &estado) {
    int paginas = 0;
    for (auto _ : estado)
        paginas =
            vlme::printing::GravaPDF(vlme::printing::ImprimeVLM(base().banco, base().numero, false),
                                     base().dir.filePath(QStringLiteral("demonstrativo.pdf")));
    estado.counters["paginas"] = paginas;
}
BENCHMARK(DemonstrativoEmPDF)->Unit(benchmark::kMillisecond)->Iterations(1);

// Baseline: the document read from the database and formatted, not laid out.
void BaseMontaDocumento(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(
            vlme::printing::ImprimeVLM(base().banco, base().numero, false).blocos.size());
}
BENCHMARK(BaseMontaDocumento)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
