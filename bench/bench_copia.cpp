// Copy and delete of a statement of the largest size (9999 models, 9999
// national and 9999 imported rows, a tenth of the imported ones subcomponents,
// every component with its invoice or declaration), beside a baseline: the
// same number of rows written by one prepared INSERT per table in one
// transaction, which is about as fast as the database can take them.

#include "shell/InterfaceUsuario.h"
#include "shell/Progresso.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Maximo = 9999;

class UsuarioMudo final : public vlme::shell::InterfaceUsuario {
public:
    vlme::shell::Resposta mensagem(const QString &, const QString &, vlme::shell::Icone,
                                   vlme::shell::Botoes) override
    {
        return vlme::shell::Resposta::Sim;
    }
    QString escolheArquivoAbrir(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString escolheArquivoSalvar(const QString &, const QString &, const QString &) override
    {
        return {};
    }
};

// Counts units like a progress window that repaints now and then.
class ProgressoContador final : public vlme::shell::Progresso {
public:
    void abre() override {}
    void fecha() override {}
    void passo(const QString &) override {}
    void faixa(int, int) override {}
    void valor(int) override { ++valores; }
    void permiteCancelar(bool) override {}
    bool unidade() override { return ++unidades > 0; }
    bool cancelado() const override { return false; }
    long unidades = 0;
    long valores = 0;
};

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    int origem = 0;
    long linhasCopia = 0; // rows a copy writes, documents included

    Base()
    {
        using vlme::store::Transacao;
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        Transacao t(banco);
        origem =
            banco
                .executa(QStringLiteral(
                    "INSERT INTO VLME (CNPJ_VLM, CPF_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
                    " CODIGO_VLM) VALUES ('11222333000181', '52998224725', 'Produto', '85171231',"
                    " 'UN', '')"))
                .lastInsertId()
                .toInt();
        QSqlQuery modelo = banco.prepara(QStringLiteral(
            "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS,"
            " COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
        QSqlQuery nf = banco.prepara(QStringLiteral(
            "INSERT INTO NF (NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF)"
            " VALUES (?, '1', '04539983000190', '15/03/2023', '123456789')"));
        QSqlQuery di = banco.prepara(QStringLiteral(
            "INSERT INTO DI (NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI) VALUES ('2301234567', ?, '01')"));
        QSqlQuery nacional = banco.prepara(QStringLiteral(
            "INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL, "
            "TX_DESCRICAO_NACIONAL,"
            " QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL, NR_SEQ_NF_NACIONAL, NCM_NACIONAL,"
            " UNIDADE_NACIONAL) VALUES (?, ?, ?, 2, 150.5, ?, '85171231', 'UN')"));
        QSqlQuery importado = banco.prepara(QStringLiteral(
            "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO,"
            " TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO, ALIQUOTA_IMPORTADO,"
            " VALOR_II_IMPORTADO, NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
            " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO)"
            " VALUES (?, ?, ?, 3, 10.25, 16, 4.92, ?, ?, 1, ?, 0, '85171231', 'UN')"));
        QSqlQuery sub = banco.prepara(QStringLiteral(
            "INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP,"
            " IN_BASE_CALCULO_SUBCOMP) VALUES (?, ?, ?, 0)"));
        for (int i = 1; i <= Maximo; ++i) {
            banco.executa(modelo, {origem, i, QStringLiteral("Modelo %1").arg(i),
                                   QStringLiteral("COD%1").arg(i), 999.9});
            banco.executa(nf, {QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'))});
            banco.executa(nacional, {origem, i, QStringLiteral("Nacional %1").arg(i),
                                     nf.lastInsertId().toInt()});
            int chaveDI = 0, chaveNF = 0;
            if (i % 2) {
                banco.executa(di, {QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0'))});
                chaveDI = di.lastInsertId().toInt();
            } else {
                banco.executa(nf, {QStringLiteral("%1").arg(Maximo + i, 10, 10, QLatin1Char('0'))});
                chaveNF = nf.lastInsertId().toInt();
            }
            banco.executa(importado, {origem, i, QStringLiteral("Importado %1").arg(i), chaveDI,
                                      chaveNF, chaveDI ? 1 : 0});
            if (i % 10 == 0)
                banco.executa(sub, {origem, i, i});
        }
        t.confirma();
        // 3 x 9999 rows, 999 links, 9999 + 9999 documents.
        linhasCopia = 3L * Maximo + Maximo / 10 + 2L * Maximo;
    }
};

Base &base()
{
    static Base b;
    return b;
}

void CopiaVLM(benchmark::State &estado)
{
    Base &b = base();
    UsuarioMudo usuario;
    ProgressoContador progresso;
    for (auto _ : estado) {
        const int copia = vlme::store::CopiaVLM(b.banco, b.origem, progresso, usuario);
        estado.PauseTiming();
        if (copia == 0)
            estado.SkipWithError("cópia cancelada");
        vlme::store::ExcluiVLM(b.banco, copia, true, nullptr);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(b.linhasCopia);
    estado.counters["unidades/copia"] = double(progresso.unidades) / double(estado.iterations());
    estado.counters["barra/copia"] = double(progresso.valores) / double(estado.iterations());
}
BENCHMARK(CopiaVLM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void ExcluiVLM(benchmark::State &estado)
{
    Base &b = base();
    UsuarioMudo usuario;
    ProgressoContador progresso;
    for (auto _ : estado) {
        estado.PauseTiming();
        const int copia = vlme::store::CopiaVLM(b.banco, b.origem, progresso, usuario);
        estado.ResumeTiming();
        vlme::store::ExcluiVLM(b.banco, copia, false, &progresso);
    }
}
BENCHMARK(ExcluiVLM)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The floor: as many rows written with one prepared INSERT in one
// transaction, rolled back outside the timing.
void BaseInsercaoPreparada(benchmark::State &estado)
{
    Base &b = base();
    for (auto _ : estado) {
        auto t = std::make_unique<vlme::store::Transacao>(b.banco);
        QSqlQuery insere = b.banco.prepara(QStringLiteral(
            "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS,"
            " COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
        for (long i = 1; i <= b.linhasCopia; ++i)
            b.banco.executa(insere, {-1, int(i), QStringLiteral("Modelo %1").arg(i),
                                     QStringLiteral("COD%1").arg(i), 999.9});
        estado.PauseTiming();
        insere = QSqlQuery();
        t.reset();
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(b.linhasCopia);
}
BENCHMARK(BaseInsercaoPreparada)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
