// Every benchmark program runs under a QCoreApplication (the SQL driver
// needs one); the window benchmarks under a QApplication and the printing
// ones under a QGuiApplication (fonts), offscreen.

#ifdef VLME_BENCH_JANELA
#include <QApplication>
using Aplicacao = QApplication;
#elif defined(VLME_BENCH_GUI)
#include <QGuiApplication>
using Aplicacao = QGuiApplication;
#else
#include <QCoreApplication>
using Aplicacao = QCoreApplication;
#endif

#include <benchmark/benchmark.h>

int main(int argc, char **argv) {
#if defined(VLME_BENCH_JANELA) || defined(VLME_BENCH_GUI)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    Aplicacao app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
