// The history window opened on a statement with 10 000 rows (read, filled,
// first paint, offscreen), beside reading the same rows alone.

#include "UsuarioMudo.h"

#include "store/Banco.h"
#include "store/Historico.h"
#include "ui/history/frmHistorico.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Numero = 3;
const QString Identidade = QStringLiteral("identidade-grande");

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    Base() {
        using namespace vlme::store;
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        std::vector<RegistroHistorico> linhas(10000);
        for (size_t i = 0; i < linhas.size(); ++i) {
            linhas[i].evento = i ? Evento::Gravada : Evento::Excluida;
            linhas[i].detalhe = QStringLiteral("Componentes importados: alteração");
            linhas[i].versao = qint64(linhas.size() - i);
            linhas[i].quando = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(-60 * i);
            linhas[i].usuario = QStringLiteral("ana");
            linhas[i].figuras = Figuras{100.0 + double(i % 7), 0.88};
        }
        Transacao t(banco);
        CopiaHistorico(banco, linhas, Identidade, Numero);
        t.confirma();
    }
};

Base &base() {
    static Base b;
    return b;
}

void AbreHistoricoDe10000(benchmark::State &estado) {
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Nao);
    for (auto _ : estado) {
        vlme::ui::frmHistorico janela(base().banco, usuario);
        janela.carrega(Numero);
        janela.show();
        QApplication::processEvents();
    }
}
BENCHMARK(AbreHistoricoDe10000)->Unit(benchmark::kMillisecond);

void BaseLeituraDasLinhas(benchmark::State &estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(vlme::store::LeHistorico(base().banco, Identidade));
}
BENCHMARK(BaseLeituraDasLinhas)->Unit(benchmark::kMillisecond);

} // namespace
