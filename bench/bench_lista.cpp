// Statement list on a database of 1000 statements, beside a bare SELECT of
// the same rows as the baseline.

#include "ListaDeclaracoes.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    Base() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        vlme::bench::CriaDeclaracoesLista(banco, 1000);
    }
};

Base &base() {
    static Base b;
    return b;
}

void ListaDeclaracoes(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(vlme::store::ListaDeclaracoes(base().banco));
}
BENCHMARK(ListaDeclaracoes)->Unit(benchmark::kMillisecond);

void BaseSelectSimples(benchmark::State &estado) {
    for (auto _ : estado) {
        QSqlQuery q = base().banco.executa(QStringLiteral(
            "SELECT NR_VLM_VLM, CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM"
            " FROM VLME ORDER BY NR_VLM_VLM DESC"));
        int n = 0;
        while (q.next())
            n += q.value(0).toInt();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BaseSelectSimples)->Unit(benchmark::kMillisecond);

} // namespace
