// Statement list on a database of 1000 statements, beside a bare SELECT of
// the same rows as the baseline.

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
        vlme::store::Transacao t(banco);
        QSqlQuery vlme = banco.prepara(QStringLiteral(
            "INSERT INTO VLME (CNPJ_VLM, DEN_PRODUTO_VLM, NR_TRANSMISSAO_VLM, CODIGO_VLM)"
            " VALUES (?, ?, ?, ?)"));
        QSqlQuery modelo = banco.prepara(QStringLiteral(
            "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS)"
            " VALUES (?, ?, ?)"));
        for (int i = 1; i <= 1000; ++i) {
            banco.executa(vlme,
                          {QStringLiteral("11222333000181"), QStringLiteral("Produto %1").arg(i),
                           i % 3 - 1, i % 3 == 0 ? QStringLiteral("200100001") : QString()});
            for (int m = 1; m <= 3; ++m)
                banco.executa(modelo, {i, m, QStringLiteral("Modelo %1").arg(m)});
        }
        t.confirma();
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
