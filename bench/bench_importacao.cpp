// Statement text import of a maximum-size statement (9999 models, 9999
// national components, 9999 imported rows of which one in ten is a
// subcomponent: 29 999 lines), beside the bare INSERT of the same rows with
// prepared statements in one transaction. Each run starts on a fresh database.

#include "DeclaracaoMaxima.h"

#include "import/Importacao.h"
#include "shell/Progresso.h"
#include "store/Banco.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QByteArray texto(const QString &t, int largura) {
    return t.leftJustified(largura, QLatin1Char(' '), true).toLatin1();
}

QByteArray numero(qint64 n, int largura) {
    return QByteArray::number(n).rightJustified(largura, '0');
}

// The import file of a statement of the largest size.
QByteArray ArquivoMaximo() {
    using vlme::bench::LinhasMaximas;
    QList<QByteArray> linhas;
    linhas << "0"
              "11222333000181"
              "52998224725" +
                  texto(QStringLiteral("PPB de teste"), 80) +
                  texto(QStringLiteral("Produto máximo"), 80) + "85171231" +
                  texto(QStringLiteral("UN"), 80) + numero(150000, 14) + numero(100000, 15) +
                  numero(50000, 15) + "N" + QByteArray(27, ' ') + "04001V";
    for (int i = 1; i <= LinhasMaximas; ++i)
        linhas << "1" + numero(i, 4) + texto(QStringLiteral("Modelo %1").arg(i), 80) +
                      numero(199990, 15) + texto(QStringLiteral("M%1").arg(i), 15);
    for (int i = 1; i <= LinhasMaximas; ++i)
        linhas << "2" + numero(i, 4) + numero(i, 10) + texto(QStringLiteral("1"), 5) +
                      "04539983000190" + texto(QStringLiteral("123456789"), 15) + "20230315" +
                      texto(QStringLiteral("Componente nacional %1").arg(i), 80) +
                      texto(QStringLiteral("UN"), 80) + "85171231" + numero(20000000, 15) +
                      numero(150250000, 15);
    const QByteArray documentoDI = "SS"
                                   "2301234567"
                                   "001"
                                   "01"
                                   "0000000000" +
                                   QByteArray(34, ' ') + "00000000";
    const QByteArray finalDI =
        QByteArray(80, ' ') + "00000000" + numero(30000000, 15) + "N" + numero(10500000, 15);
    const int subcomponentes = LinhasMaximas / 10;
    for (int i = 1; i <= subcomponentes; ++i)
        linhas << "3" + numero(i, 4) + numero(i * 10, 4) + "N" + documentoDI +
                      texto(QStringLiteral("Subcomponente %1").arg(i), 80) + finalDI;
    for (int i = subcomponentes + 1; i <= LinhasMaximas; ++i)
        linhas << "4" + numero(i, 4) + documentoDI +
                      texto(QStringLiteral("Componente importado %1").arg(i), 80) + finalDI;
    linhas << "9" + numero(linhas.size() + 1, 8);
    QByteArray arquivo;
    for (const QByteArray &l : linhas)
        arquivo += l + "\r\n";
    return arquivo;
}

struct Base {
    QTemporaryDir dir;
    QString arquivo;
    QString arquivoComErro; // the CPF of the general data is zeros
    int rodada = 0;
    Base() {
        const QByteArray conteudo = ArquivoMaximo();
        arquivo = dir.filePath(QStringLiteral("maximo.txt"));
        arquivoComErro = dir.filePath(QStringLiteral("maximo_erro.txt"));
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(conteudo);
        QFile g(arquivoComErro);
        g.open(QIODevice::WriteOnly);
        g.write(QByteArray(conteudo).replace(15, 11, QByteArray(11, '0')));
    }
    std::unique_ptr<vlme::store::Banco> bancoNovo() {
        auto banco = std::make_unique<vlme::store::Banco>();
        const QString caminho = dir.filePath(QStringLiteral("VLM%1.MDB").arg(++rodada));
        banco->cria(caminho);
        banco->abre(caminho);
        return banco;
    }
};

Base &base() {
    static Base b;
    return b;
}

void ImportaDeclaracaoMaxima(benchmark::State &estado) {
    vlme::shell::ProgressoMudo progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = base().bancoNovo();
        estado.ResumeTiming();
        const auto r = vlme::importacao::ImportaArquivo(*banco, progresso, base().arquivo);
        if (r.desfecho != vlme::importacao::Desfecho::Sucesso)
            estado.SkipWithError(r.mensagem.toStdString().c_str());
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(ImportaDeclaracaoMaxima)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same reading and checking with nothing written: a fault in the first
// record keeps every row out.
void ConfereDeclaracaoMaximaSemGravar(benchmark::State &estado) {
    vlme::shell::ProgressoMudo progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = base().bancoNovo();
        estado.ResumeTiming();
        const auto r = vlme::importacao::ImportaArquivo(*banco, progresso, base().arquivoComErro);
        if (r.desfecho != vlme::importacao::Desfecho::ErrosCampo || r.erros.size() != 1)
            estado.SkipWithError("esperado um erro de campo");
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(ConfereDeclaracaoMaximaSemGravar)->Unit(benchmark::kMillisecond)->Iterations(3);

void BaseInsercaoPreparada(benchmark::State &estado) {
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = base().bancoNovo();
        estado.ResumeTiming();
        benchmark::DoNotOptimize(vlme::bench::CriaDeclaracaoMaxima(*banco));
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(BaseInsercaoPreparada)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

