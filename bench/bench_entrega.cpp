// Delivery file of a statement of maximum size (9999 models, 9999 national
// components with their invoices, 9999 imported rows of which a third are
// subcomponents), beside writing the same number of bytes to a file as the
// baseline.

#include "DeclaracaoMaxima.h"
#include "UsuarioMudo.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "delivery/Transmissao.h"
#include "store/Banco.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    int numero = 0;
    qint64 bytes = 0;

    Base() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        // A third of the imported rows are subcomponents: records of type 3 too.
        numero = vlme::bench::CriaDeclaracaoMaxima(banco, 3).numero;
    }
};

Base &base() {
    static Base b;
    return b;
}

void GeraArquivoTransmissao(benchmark::State &estado) {
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Nao);
    vlme::base::ProgressoMudo progresso;
    vlme::delivery::Transmissao transmissao(base().banco, base().dir.path(), usuario, progresso);
    QString caminho;
    for (auto _ : estado) {
        caminho = transmissao.GeraArquivoTransmissao(base().numero, false);
        benchmark::DoNotOptimize(caminho);
    }
    base().bytes = QFileInfo(caminho).size();
    estado.counters["bytes"] = double(base().bytes);
}
BENCHMARK(GeraArquivoTransmissao)->Unit(benchmark::kMillisecond);

// Writing as many bytes in one go, the least any generation must take.
void BaseGravaMesmosBytes(benchmark::State &estado) {
    const QByteArray bytes(base().bytes > 0 ? base().bytes : 8'000'000, 'x');
    const QString caminho = base().dir.filePath(QStringLiteral("base.txt"));
    for (auto _ : estado) {
        QFile f(caminho);
        if (!f.open(QIODevice::WriteOnly))
            estado.SkipWithError("não abriu o arquivo");
        f.write(bytes);
        f.close();
    }
    estado.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BaseGravaMesmosBytes)->Unit(benchmark::kMillisecond);

// The same through QSaveFile (temporary file, then renamed), as the
// generation writes.
void BaseGravaMesmosBytesSeguro(benchmark::State &estado) {
    const QByteArray bytes(base().bytes > 0 ? base().bytes : 8'000'000, 'x');
    const QString caminho = base().dir.filePath(QStringLiteral("base-seguro.txt"));
    for (auto _ : estado) {
        QSaveFile f(caminho);
        if (!f.open(QIODevice::WriteOnly))
            estado.SkipWithError("não abriu o arquivo");
        f.write(bytes);
        f.commit();
    }
    estado.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BaseGravaMesmosBytesSeguro)->Unit(benchmark::kMillisecond);

} // namespace
