// The history of one statement with 10 000 rows, among 45 000 rows of nine
// others, read as the history window and vlme-cli read it, beside a bare
// SELECT of the same rows as the floor.

#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Gravar.h"
#include "store/Historico.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    QString identidade;
    Base() {
        using namespace vlme::store;
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        Transacao t(banco);
        for (int d = 0; d < 10; ++d) {
            const int n = CriaVLM(banco);
            for (int i = 0; i < (d == 4 ? 10000 : 5000); ++i)
                RegistraHistorico(banco, n, i % 3 ? Evento::Gravada : Evento::Diagnostico,
                                  QStringLiteral("Componentes importados: alteração"));
            if (d == 4)
                identidade = LeEstado(banco, n)->identidade;
        }
        t.confirma();
    }
};

Base &base() {
    static Base b;
    return b;
}

void LeHistoricoDe10000(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(vlme::store::LeHistorico(base().banco, base().identidade));
}
BENCHMARK(LeHistoricoDe10000)->Unit(benchmark::kMillisecond);

void BaseSelectSimples(benchmark::State &estado) {
    for (auto _ : estado) {
        QSqlQuery q = base().banco.executa(
            QStringLiteral("SELECT NR_HISTORICO, TX_ID_HISTORICO, NR_VLM_HISTORICO,"
                           " TX_EVENTO_HISTORICO, TX_DETALHE_HISTORICO, NR_VERSAO_HISTORICO,"
                           " DT_HISTORICO, TX_USUARIO_HISTORICO, TX_MAQUINA_HISTORICO,"
                           " TX_PROGRAMA_HISTORICO, VL_CUSTO_TOTAL_HISTORICO,"
                           " VL_COEFICIENTE_HISTORICO FROM HISTORICO WHERE TX_ID_HISTORICO = ?"
                           " ORDER BY NR_HISTORICO DESC"),
            {base().identidade});
        qint64 n = 0;
        while (q.next())
            n += q.value(0).toLongLong() + q.value(4).toString().size();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BaseSelectSimples)->Unit(benchmark::kMillisecond);

} // namespace
