// Delivery file of a statement of maximum size (9999 models, 9999 national
// components with their invoices, 9999 imported rows of which a third are
// subcomponents), beside writing the same number of bytes to a file as the
// baseline.

#include "delivery/Transmissao.h"
#include "shell/InterfaceUsuario.h"
#include "shell/Progresso.h"
#include "store/Banco.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Maximo = 9999;

class UsuarioMudo final : public vlme::shell::InterfaceUsuario {
public:
    vlme::shell::Resposta mensagem(const QString &, const QString &, vlme::shell::Icone,
                                   vlme::shell::Botoes) override
    {
        return vlme::shell::Resposta::Nao;
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

struct Base {
    QTemporaryDir dir;
    vlme::store::Banco banco;
    int numero = 0;
    qint64 bytes = 0;

    Base()
    {
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
        vlme::store::Transacao t(banco);
        numero = banco
                     .executa(QStringLiteral(
                                  "INSERT INTO VLME (CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM,"
                                  " NCM_VLM, UNIDADE_VLM, PESO_BRUTO_VLM, CODIGO_VLM)"
                                  " VALUES (?, ?, ?, ?, ?, ?, ?, '')"),
                              {QStringLiteral("11222333000181"), QStringLiteral("52998224725"),
                               QStringLiteral("Processo produtivo básico"),
                               QStringLiteral("Telefone celular"), QStringLiteral("85171231"),
                               QStringLiteral("UN"), 0.15})
                     .lastInsertId()
                     .toInt();
        QSqlQuery modelo = banco.prepara(QStringLiteral(
            "INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS, TX_DESCRICAO_MODELOS,"
            " COD_INTERNO_MODELOS, PRECO_VENDA_MODELOS) VALUES (?, ?, ?, ?, ?)"));
        QSqlQuery nf = banco.prepara(QStringLiteral(
            "INSERT INTO NF (NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF)"
            " VALUES (?, '1', '04539983000190', '15/03/2023', 'ISENTO')"));
        QSqlQuery di = banco.prepara(QStringLiteral(
            "INSERT INTO DI (NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI) VALUES ('2301234567', ?, ?)"));
        QSqlQuery nacional = banco.prepara(QStringLiteral(
            "INSERT INTO COMPONENTES_NACIONAIS (NR_VLM_NACIONAL, NR_SQ_NACIONAL,"
            " TX_DESCRICAO_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL,"
            " NR_SEQ_NF_NACIONAL, NCM_NACIONAL, UNIDADE_NACIONAL)"
            " VALUES (?, ?, ?, ?, ?, ?, '85340000', 'PEÇA')"));
        QSqlQuery importado = banco.prepara(QStringLiteral(
            "INSERT INTO COMPONENTES_IMPORTADOS (NR_VLM_IMPORTADO, NR_SQ_IMPORTADO,"
            " TX_DESCRICAO_IMPORTADO, QTD_IMPORTADO, VALOR_UNITARIO_IMPORTADO,"
            " NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO, IN_COM_SUSP_IMPORTADO,"
            " IN_DIRETO_IMPORTADO, IN_REDUCAO_II_IMPORTADO, NCM_IMPORTADO, UNIDADE_IMPORTADO)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, 0, '85171231', 'UN')"));
        QSqlQuery subcomp = banco.prepara(QStringLiteral(
            "INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP,"
            " IN_BASE_CALCULO_SUBCOMP) VALUES (?, ?, ?, 0)"));

        for (int i = 1; i <= Maximo; ++i) {
            banco.executa(modelo, {numero, i, QStringLiteral("Modelo de referência %1").arg(i),
                                   QStringLiteral("COD%1").arg(i), 1234.5 + i});
            banco.executa(nf, {QString::number(i)});
            const int chaveNF = nf.lastInsertId().toInt();
            banco.executa(nacional, {numero, i, QStringLiteral("Placa-mãe %1").arg(i), 1.5 * i,
                                     2.25 + i, chaveNF});
            const bool direto = i % 2 == 1;
            int chaveDI = 0, chaveNFImportado = 0;
            if (direto) {
                banco.executa(di, {QStringLiteral("%1").arg(i % 999, 3, 10, QLatin1Char('0')),
                                   QStringLiteral("%1").arg(i % 99, 2, 10, QLatin1Char('0'))});
                chaveDI = di.lastInsertId().toInt();
            } else {
                banco.executa(nf, {QString::number(100000 + i)});
                chaveNFImportado = nf.lastInsertId().toInt();
            }
            banco.executa(importado, {numero, i, QStringLiteral("Componente importado %1").arg(i),
                                      0.5 * i, 1.0000005 * i, chaveDI, chaveNFImportado,
                                      direto ? 1 : 0});
            if (i % 3 == 0)
                banco.executa(subcomp, {numero, i, i});
        }
        t.confirma();
    }
};

Base &base()
{
    static Base b;
    return b;
}

void GeraArquivoTransmissao(benchmark::State &estado)
{
    UsuarioMudo usuario;
    vlme::shell::ProgressoMudo progresso;
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
void BaseGravaMesmosBytes(benchmark::State &estado)
{
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
void BaseGravaMesmosBytesSeguro(benchmark::State &estado)
{
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

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
