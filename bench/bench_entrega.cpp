// Delivery file of a statement of maximum size (9999 models, 9999 national
// components with their invoices, 9999 imported rows of which a third are
// subcomponents), beside the floor: every row it reads, read through the
// SQLite C API, each value formatted into a fixed-width Latin-1 field and the
// bytes written through QSaveFile.

#include "DeclaracaoMaxima.h"
#include "UsuarioMudo.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "delivery/Transmissao.h"
#include "store/Banco.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

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

// The floor: the columns the file holds, read through the C API with the same
// joins (each component beside its invoice or declaration and its product
// link), each value formatted into its fixed-width Latin-1 field (numbers
// with their decimals, texts padded), one line per row, and the bytes written
// through QSaveFile (temporary file, then renamed).
void BaseLeFormataGrava(benchmark::State &estado) {
    struct Consulta {
        std::string sql;
        std::vector<int> larguras; // one per column
    };
    const std::vector<int> importado = {4, 1, 1, 10, 3, 2, 10, 5, 14, 15, 8, 80, 80, 8, 15, 1, 15};
    std::vector<int> subcomponente = importado;
    subcomponente.insert(subcomponente.begin() + 1, {4, 1});
    const char *const colunasImportado =
        " i.IN_DIRETO_IMPORTADO, i.IN_COM_SUSP_IMPORTADO, d.NR_DI_DI, d.NR_ADICAO_DI,"
        " d.NR_ITEM_DI, n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.NR_INS_ESTADUAL_NF,"
        " n.DATA_EMISSAO_NF, i.TX_DESCRICAO_IMPORTADO, i.UNIDADE_IMPORTADO, i.NCM_IMPORTADO,"
        " i.QTD_IMPORTADO, i.IN_REDUCAO_II_IMPORTADO, i.VALOR_UNITARIO_IMPORTADO"
        " FROM COMPONENTES_IMPORTADOS i LEFT JOIN SUBCOMP s ON s.N_VLM_SUBCOMP ="
        " i.NR_VLM_IMPORTADO AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
        " LEFT JOIN NF n ON n.NR_SEQ_NF = i.NR_SEQ_NF_IMPORTADO"
        " LEFT JOIN DI d ON d.NR_SQ_DI = i.NR_SEQ_DI_IMPORTADO WHERE i.NR_VLM_IMPORTADO = ?1";
    const std::vector<Consulta> consultas = {
        {"SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
         " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, SUBSTITUTIVO_VLM FROM VLME"
         " WHERE NR_VLM_VLM = ?1",
         {14, 11, 80, 80, 8, 80, 14, 15, 15, 1}},
        {"SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, PRECO_VENDA_MODELOS, COD_INTERNO_MODELOS"
         " FROM MODELOS WHERE NR_VLM_MODELOS = ?1 ORDER BY rowid",
         {4, 80, 15, 15}},
        {"SELECT c.NR_SQ_NACIONAL, n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.NR_INS_ESTADUAL_NF,"
         " n.DATA_EMISSAO_NF, c.TX_DESCRICAO_NACIONAL, c.UNIDADE_NACIONAL, c.NCM_NACIONAL,"
         " c.QTD_NACIONAL, c.VL_CUSTO_UNITARIO_NACIONAL FROM COMPONENTES_NACIONAIS c"
         " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL WHERE c.NR_VLM_NACIONAL = ?1"
         " ORDER BY c.rowid",
         {4, 10, 5, 14, 15, 8, 80, 80, 8, 15, 15}},
        {std::string("SELECT i.NR_SQ_IMPORTADO, s.N_NACIONAL_SUBCOMP,"
                     " s.IN_BASE_CALCULO_SUBCOMP,") +
             colunasImportado + " AND s.N_IMPORTADO_SUBCOMP IS NOT NULL ORDER BY i.rowid",
         subcomponente},
        {std::string("SELECT i.NR_SQ_IMPORTADO,") + colunasImportado +
             " AND s.N_IMPORTADO_SUBCOMP IS NULL ORDER BY i.rowid",
         importado},
    };
    sqlite3 *db = nullptr;
    sqlite3_open_v2(base().banco.caminho().toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    const QString caminho = base().dir.filePath(QStringLiteral("base.txt"));
    qint64 bytes = 0;
    for (auto _ : estado) {
        QByteArray saida;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const Consulta &c : consultas) {
            sqlite3_stmt *le = nullptr;
            sqlite3_prepare_v2(db, c.sql.c_str(), -1, &le, nullptr);
            sqlite3_bind_int(le, 1, base().numero);
            while (sqlite3_step(le) == SQLITE_ROW) {
                saida += '1';
                for (int i = 0; i < int(c.larguras.size()); ++i) {
                    const int largura = c.larguras[std::size_t(i)];
                    char campo[64];
                    switch (sqlite3_column_type(le, i)) {
                    case SQLITE_TEXT: {
                        const auto *t = static_cast<const char16_t *>(sqlite3_column_text16(le, i));
                        saida += QString::fromUtf16(t, sqlite3_column_bytes16(le, i) / 2)
                                     .leftJustified(largura, u' ', true)
                                     .toLatin1();
                        break;
                    }
                    case SQLITE_NULL:
                        saida += QByteArray(largura, ' ');
                        break;
                    default:
                        std::snprintf(campo, sizeof campo, "%0*.*f", largura, largura > 4 ? 4 : 0,
                                      sqlite3_column_double(le, i));
                        saida.append(campo, largura);
                    }
                }
                saida += "\r\n";
            }
            sqlite3_finalize(le);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        QSaveFile f(caminho);
        if (!f.open(QIODevice::WriteOnly))
            estado.SkipWithError("não abriu o arquivo");
        f.write(saida);
        f.commit();
        bytes = saida.size();
    }
    sqlite3_close(db);
    estado.counters["bytes"] = double(bytes);
}
BENCHMARK(BaseLeFormataGrava)->Unit(benchmark::kMillisecond);

} // namespace
