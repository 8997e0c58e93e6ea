// The import of the maximum statement in the window program, with the
// progress window shown (offscreen), beside the same import as vlme-cli runs
// it (progress written to a terminal that is not interactive). The window may
// cost at most 1.3 times the vlme-cli figure.

#include "ArquivoMaximo.h"
#include "UsuarioMudo.h"

#include "cli/ProgressoTerminal.h"
#include "import/Importacao.h"
#include "store/Banco.h"
#include "ui/import/FormErrImport.h"
#include "ui/shell/frmGauge.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

struct Base {
    QTemporaryDir dir;
    QString arquivo = dir.filePath(QStringLiteral("maximo.txt"));
    int rodada = 0;
    Base() {
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(vlme::bench::ArquivoMaximo());
    }
};

Base &base() {
    static Base b;
    return b;
}

void Mede(benchmark::State &estado,
          const std::function<bool(vlme::store::Banco &, const QString &)> &importa) {
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = std::make_unique<vlme::store::Banco>();
        const QString caminho =
            base().dir.filePath(QStringLiteral("VLM%1.MDB").arg(++base().rodada));
        banco->cria(caminho);
        banco->abre(caminho);
        estado.ResumeTiming();
        if (!importa(*banco, base().arquivo))
            estado.SkipWithError("a importação falhou");
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}

void ImportaNaJanela(benchmark::State &estado) {
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Ok);
    vlme::ui::frmGauge gauge(usuario);
    Mede(estado, [&](vlme::store::Banco &banco, const QString &arquivo) {
        return vlme::ui::ExecutaImportacao(banco, usuario, gauge, base().dir.path(), arquivo,
                                           nullptr)
                   .desfecho == vlme::importacao::Desfecho::Sucesso;
    });
}
BENCHMARK(ImportaNaJanela)->Unit(benchmark::kMillisecond)->Iterations(3);

void ImportaComoVlmeCli(benchmark::State &estado) {
    QBuffer terminal;
    terminal.open(QIODevice::WriteOnly);
    Mede(estado, [&](vlme::store::Banco &banco, const QString &arquivo) {
        vlme::cli::ProgressoTerminal progresso(&terminal, false);
        return vlme::importacao::ImportaArquivo(banco, progresso, arquivo).desfecho ==
               vlme::importacao::Desfecho::Sucesso;
    });
}
BENCHMARK(ImportaComoVlmeCli)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
