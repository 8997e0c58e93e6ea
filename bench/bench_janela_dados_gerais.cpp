// Opening a statement of maximum size in its window (fields, the three
// lists, first paint, offscreen), beside the plain query of the same rows.

#include "DeclaracaoMaxima.h"
#include "UsuarioMudo.h"

#include "shell/Programa.h"
#include "ui/entry/frmCentral.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Base {
    QTemporaryDir dir;
    vlme::shell::Programa programa;
    int numero = 0;
    Base() {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        programa.banco.cria(caminho);
        programa.banco.abre(caminho);
        numero = vlme::bench::CriaDeclaracaoMaxima(programa.banco).numero;
    }
};

Base &base() {
    static Base b;
    return b;
}

void AbreDeclaracaoMaxima(benchmark::State &estado) {
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Nao);
    for (auto _ : estado) {
        base().programa.declaracao = {base().numero, true, false, false};
        // Destroyed without closing: closing would save, which is not opening.
        auto janela = std::make_unique<vlme::ui::frmCentral>(base().programa, usuario);
        janela->carrega();
        janela->resize(1024, 700);
        janela->show();
        QApplication::processEvents();
        for (int aba : {1, 2, 0}) { // each list shown once
            janela->SSTab->setCurrentIndex(aba);
            QApplication::processEvents();
        }
    }
}
BENCHMARK(AbreDeclaracaoMaxima)->Unit(benchmark::kMillisecond);

void BaseConsultaDasListas(benchmark::State &estado) {
    vlme::store::Banco &banco = base().programa.banco;
    for (auto _ : estado) {
        long n = 0;
        for (const char *sql :
             {"SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
              " PRECO_VENDA_MODELOS FROM MODELOS WHERE NR_VLM_MODELOS = ?",
              "SELECT NR_SQ_NACIONAL, TX_DESCRICAO_NACIONAL, QTD_NACIONAL,"
              " VL_CUSTO_UNITARIO_NACIONAL FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?",
              "SELECT NR_SQ_IMPORTADO, TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO,"
              " VALOR_UNITARIO_IMPORTADO, VALOR_II_IMPORTADO FROM COMPONENTES_IMPORTADOS"
              " WHERE NR_VLM_IMPORTADO = ?"}) {
            QSqlQuery q = banco.executa(QString::fromLatin1(sql), {base().numero});
            q.setForwardOnly(true);
            while (banco.proxima(q))
                n += q.value(0).toInt() + q.value(1).toString().size();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BaseConsultaDasListas)->Unit(benchmark::kMillisecond);

} // namespace
