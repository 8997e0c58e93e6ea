// The team database beside the file, in one run. The import of the maximum
// statement's text file into the server, beside the floor: the same rows sent
// by libpq's COPY in one transaction; the restore of that statement's backup
// and its move from a VLM.MDB (migrar), against the same floor. Copy, delete,
// delivery file, pendency
// check and summary of a maximum statement (a third of the imported rows
// subcomponents), and the statement picker's list of 10 000 statements, each
// on the server and on the file.
// The CPU column is the whole program's, the thread that waits on the server
// included; cpu_servidor_ms is the server process's.
// The server is the private test server (scripts/servidor-teste.sh com sets
// VLME_TESTE_URL); every database is a schema of its own, dropped at the end.

#include "ArquivoMaximo.h"
#include "DeclaracaoMaxima.h"
#include "ListaDeclaracoes.h"
#include "UsuarioMudo.h"

#include "backup/CopiaSeguranca.h"
#include "backup/Migracao.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "checking/Calculos.h"
#include "checking/Pendencias.h"
#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using vlme::store::Banco;

// A libpq connection; every failure throws with the server's text.
class Conexao {
  public:
    explicit Conexao(const QString &url) : c_(PQconnectdb(url.toUtf8().constData())) {
        if (PQstatus(c_) != CONNECTION_OK)
            falha("conexão");
    }
    ~Conexao() { PQfinish(c_); }
    int pid() const { return PQbackendPID(c_); }
    Conexao(const Conexao &) = delete;
    Conexao &operator=(const Conexao &) = delete;

    // Runs `sql` and returns its rows, each a list of texts.
    std::vector<QStringList> consulta(const QByteArray &sql) {
        PGresult *r = PQexec(c_, sql.constData());
        const auto estado = PQresultStatus(r);
        std::vector<QStringList> linhas;
        if (estado == PGRES_TUPLES_OK)
            for (int i = 0; i < PQntuples(r); ++i) {
                QStringList campos;
                for (int j = 0; j < PQnfields(r); ++j)
                    campos << QString::fromUtf8(PQgetvalue(r, i, j));
                linhas.push_back(campos);
            }
        PQclear(r);
        if (estado != PGRES_TUPLES_OK && estado != PGRES_COMMAND_OK)
            falha(sql);
        return linhas;
    }

    // The rows of `sql` (a COPY ... TO STDOUT) in COPY's text format.
    QByteArray copiaDe(const QByteArray &sql) {
        espera(sql, PGRES_COPY_OUT);
        QByteArray dados;
        char *bloco = nullptr;
        int n = 0;
        while ((n = PQgetCopyData(c_, &bloco, 0)) > 0) {
            dados.append(bloco, n);
            PQfreemem(bloco);
        }
        termina(sql);
        return dados;
    }

    // Sends `dados` by `sql` (a COPY ... FROM STDIN).
    void copiaPara(const QByteArray &sql, const QByteArray &dados) {
        espera(sql, PGRES_COPY_IN);
        if (PQputCopyData(c_, dados.constData(), int(dados.size())) != 1 ||
            PQputCopyEnd(c_, nullptr) != 1)
            falha(sql);
        termina(sql);
    }

  private:
    void espera(const QByteArray &sql, ExecStatusType esperado) {
        PGresult *r = PQexec(c_, sql.constData());
        const bool ok = PQresultStatus(r) == esperado;
        PQclear(r);
        if (!ok)
            falha(sql);
    }
    void termina(const QByteArray &sql) {
        bool ok = true;
        while (PGresult *r = PQgetResult(c_)) {
            ok = ok && PQresultStatus(r) == PGRES_COMMAND_OK;
            PQclear(r);
        }
        if (!ok)
            falha(sql);
    }
    [[noreturn]] void falha(const QByteArray &sql) {
        throw std::runtime_error(sql.toStdString() + ": " + PQerrorMessage(c_));
    }

    PGconn *c_;
};

// The CPU time of the server process behind a connection in the timed parts
// of a benchmark: with the program's own (the CPU column), what the work
// costs on a machine shared with other load, where the wall time varies.
class CpuServidor {
  public:
    // Watches the server process of `banco`; nothing on a file.
    void segue(Banco &banco) {
        pid_ =
            banco.servidor() ? banco.escalar(QStringLiteral("SELECT pg_backend_pid()")).toInt() : 0;
    }
    void segue(int pid) { pid_ = pid; }
    void comeca() { inicio_ = le(); }
    void para() { total_ += le() - inicio_; }
    void informa(benchmark::State &estado) const {
        if (pid_)
            estado.counters["cpu_servidor_ms"] = total_ / double(estado.iterations());
    }

  private:
    // User and system time so far, in ms (fields 14 and 15 of /proc/PID/stat).
    double le() const {
        if (!pid_)
            return 0;
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid_));
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray texto = f.readAll();
        const QList<QByteArray> campos = texto.mid(texto.lastIndexOf(')') + 2).split(' ');
        if (campos.size() < 13)
            return 0;
        return (campos.at(11).toDouble() + campos.at(12).toDouble()) * 1000.0 /
               double(sysconf(_SC_CLK_TCK));
    }
    int pid_ = 0;
    double inicio_ = 0;
    double total_ = 0;
};

// The schemas this run makes on the test server, dropped when the program ends.
class Esquemas {
  public:
    static Esquemas &todos() {
        static Esquemas e;
        return e;
    }
    ~Esquemas() {
        try {
            Conexao c(base_);
            c.consulta("SET client_min_messages = warning");
            for (const QString &nome : std::as_const(nomes_))
                c.consulta("DROP SCHEMA " + nome.toLatin1() + " CASCADE");
        } catch (const std::exception &e) {
            std::fprintf(stderr, "bench_servidor: esquemas não apagados: %s\n", e.what());
        }
    }
    // The URL of a new, empty schema.
    QString novo() {
        const QString nome = QStringLiteral("bench_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(nomes_.size() + 1);
        Conexao(base_).consulta("CREATE SCHEMA " + nome.toLatin1());
        nomes_ << nome;
        // Encoded as libpq reads a URL: the option's own '=' and spaces too.
        return base_ + QStringLiteral("?options=") +
               QString::fromLatin1(
                   QUrl::toPercentEncoding(QStringLiteral("-c search_path=") + nome));
    }

  private:
    Esquemas() : base_(qEnvironmentVariable("VLME_TESTE_URL")) {}
    QString base_;
    QStringList nomes_;
};

// One database: a schema of the test server or a VLM.MDB; the folder takes
// the delivery files either way.
struct Ambiente {
    QTemporaryDir dir;
    Banco banco;
    explicit Ambiente(bool servidor) {
        if (servidor) {
            banco.abreServidor(Esquemas::todos().novo());
            return;
        }
        const QString caminho = dir.filePath(QStringLiteral("VLM.MDB"));
        banco.cria(caminho);
        banco.abre(caminho);
    }
};

// A maximum statement, a third of its imported rows subcomponents, so that
// the delivery file has records of every type.
struct Maxima : Ambiente {
    int numero;
    explicit Maxima(bool servidor)
        : Ambiente(servidor), numero(vlme::bench::CriaDeclaracaoMaxima(banco, 3).numero) {}
};

Maxima &maxima(bool servidor) {
    if (servidor) {
        static Maxima s(true);
        return s;
    }
    static Maxima a(false);
    return a;
}

// The statement picker's database: 10 000 statements.
struct Lista : Ambiente {
    explicit Lista(bool servidor) : Ambiente(servidor) {
        vlme::bench::CriaDeclaracoesLista(banco, 10000);
    }
};

Lista &lista(bool servidor) {
    if (servidor) {
        static Lista s(true);
        return s;
    }
    static Lista a(false);
    return a;
}

// The maximum statement's text file, and the rows its import writes, per
// table in COPY's text format, read back from a first import.
struct Importacao {
    QTemporaryDir dir;
    QString arquivo = dir.filePath(QStringLiteral("maximo.txt"));
    struct Tabela {
        QByteArray copia; // COPY t (columns) FROM STDIN
        QByteArray dados;
    };
    std::vector<Tabela> tabelas;
    long linhas = 0;

    Importacao() {
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(vlme::bench::ArquivoMaximo());
        f.close();
        const QString url = Esquemas::todos().novo();
        {
            Banco banco;
            banco.abreServidor(url);
            vlme::base::ProgressoMudo progresso;
            const auto r = vlme::importacao::ImportaArquivo(banco, progresso, arquivo);
            if (r.desfecho != vlme::importacao::Desfecho::Sucesso)
                throw std::runtime_error(r.mensagem.toStdString());
        }
        Conexao c(url);
        const auto nomes = c.consulta("SELECT table_name FROM information_schema.tables"
                                      " WHERE table_schema = current_schema()"
                                      " AND table_type = 'BASE TABLE'"
                                      " AND table_name <> 'vlme_identidade' ORDER BY 1");
        for (const QStringList &nome : nomes) {
            const QByteArray tabela = nome.at(0).toLatin1();
            // The columns a row is written with: not the ones the server computes.
            QByteArrayList colunas;
            for (const QStringList &coluna :
                 c.consulta("SELECT column_name FROM information_schema.columns"
                            " WHERE table_schema = current_schema() AND table_name = '" +
                            tabela +
                            "' AND column_name <> 'rowid' AND is_generated = 'NEVER'"
                            " ORDER BY ordinal_position"))
                colunas << coluna.at(0).toLatin1();
            const QByteArray lista = colunas.join(", ");
            const QByteArray dados =
                c.copiaDe("COPY (SELECT " + lista + " FROM " + tabela + ") TO STDOUT");
            if (dados.isEmpty())
                continue;
            tabelas.push_back({"COPY " + tabela + " (" + lista + ") FROM STDIN", dados});
            linhas += dados.count('\n');
        }
    }
};

Importacao &importacao() {
    static Importacao i;
    return i;
}

void ImportaDeclaracaoMaxima(benchmark::State &estado) {
    Importacao &imp = importacao();
    vlme::base::ProgressoMudo progresso;
    CpuServidor cpu;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = std::make_unique<Banco>();
        banco->abreServidor(Esquemas::todos().novo());
        cpu.segue(*banco);
        cpu.comeca();
        estado.ResumeTiming();
        const auto r = vlme::importacao::ImportaArquivo(*banco, progresso, imp.arquivo);
        if (r.desfecho != vlme::importacao::Desfecho::Sucesso)
            estado.SkipWithError(r.mensagem.toStdString().c_str());
        estado.PauseTiming();
        cpu.para();
        banco.reset();
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(imp.linhas);
    cpu.informa(estado);
}

// The floor: the rows of the same import sent by libpq's COPY, table after
// table, into a fresh schema in one transaction.
void BaseCopyLibpq(benchmark::State &estado) {
    Importacao &imp = importacao();
    CpuServidor cpu;
    for (auto _ : estado) {
        estado.PauseTiming();
        const QString url = Esquemas::todos().novo();
        Banco().abreServidor(url); // our tables and indexes
        auto c = std::make_unique<Conexao>(url);
        cpu.segue(c->pid());
        cpu.comeca();
        estado.ResumeTiming();
        c->consulta("BEGIN");
        for (const Importacao::Tabela &t : imp.tabelas)
            c->copiaPara(t.copia, t.dados);
        c->consulta("COMMIT");
        estado.PauseTiming();
        cpu.para();
        c.reset();
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(imp.linhas);
    cpu.informa(estado);
}

// The imported maximum statement in a VLM.MDB, and its backup file.
struct ImportadaNoArquivo : Ambiente {
    QString copia = dir.filePath(QStringLiteral("maximo.BAK"));
    ImportadaNoArquivo() : Ambiente(false) {
        vlme::base::ProgressoMudo progresso;
        const auto r = vlme::importacao::ImportaArquivo(banco, progresso, importacao().arquivo);
        if (r.desfecho != vlme::importacao::Desfecho::Sucesso ||
            !vlme::backup::GravaCopiaSeguranca(banco, 1, copia, progresso))
            throw std::runtime_error("sem a declaração importada");
    }
};

ImportadaNoArquivo &importadaNoArquivo() {
    static ImportadaNoArquivo i;
    return i;
}

// Runs `passo` on a database of its own each time: a new schema of the server
// or a new VLM.MDB.
template <typename Passo> void EmBancoNovo(benchmark::State &estado, bool servidor, Passo passo) {
    CpuServidor cpu;
    for (auto _ : estado) {
        estado.PauseTiming();
        auto ambiente = std::make_unique<Ambiente>(servidor);
        cpu.segue(ambiente->banco);
        cpu.comeca();
        estado.ResumeTiming();
        if (!passo(ambiente->banco))
            estado.SkipWithError("a operação falhou");
        estado.PauseTiming();
        cpu.para();
        ambiente.reset();
        estado.ResumeTiming();
    }
    cpu.informa(estado);
}

void RestauraCopiaSeguranca(benchmark::State &estado, bool servidor) {
    const QString copia = importadaNoArquivo().copia;
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Sim);
    vlme::base::ProgressoMudo progresso;
    EmBancoNovo(estado, servidor, [&](Banco &banco) {
        return vlme::backup::RestauraCopiaSeguranca(banco, copia, progresso, usuario) > 0;
    });
}

void Migra(benchmark::State &estado, bool servidor) {
    Banco &local = importadaNoArquivo().banco;
    vlme::base::ProgressoMudo progresso;
    EmBancoNovo(estado, servidor, [&](Banco &banco) {
        return vlme::backup::Migra(local, banco, progresso).migradas.size() == 1;
    });
}

void CopiaVLM(benchmark::State &estado, bool servidor) {
    Maxima &m = maxima(servidor);
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Sim);
    vlme::base::ProgressoMudo progresso;
    CpuServidor cpu;
    cpu.segue(m.banco);
    cpu.comeca();
    for (auto _ : estado) {
        const int copia = vlme::store::CopiaVLM(m.banco, m.numero, progresso, usuario);
        estado.PauseTiming();
        cpu.para();
        if (copia == 0)
            estado.SkipWithError("cópia cancelada");
        vlme::store::ExcluiVLM(m.banco, copia, true, nullptr);
        cpu.comeca();
        estado.ResumeTiming();
    }
    cpu.informa(estado);
}

void ExcluiVLM(benchmark::State &estado, bool servidor) {
    Maxima &m = maxima(servidor);
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Sim);
    vlme::base::ProgressoMudo progresso;
    CpuServidor cpu;
    cpu.segue(m.banco);
    for (auto _ : estado) {
        estado.PauseTiming();
        const int copia = vlme::store::CopiaVLM(m.banco, m.numero, progresso, usuario);
        cpu.comeca();
        estado.ResumeTiming();
        vlme::store::ExcluiVLM(m.banco, copia, false, &progresso);
        estado.PauseTiming();
        cpu.para();
        estado.ResumeTiming();
    }
    cpu.informa(estado);
}

// Runs `passo` for every iteration, the server's CPU time beside it.
template <typename Passo> void Mede(benchmark::State &estado, Banco &banco, Passo passo) {
    CpuServidor cpu;
    cpu.segue(banco);
    cpu.comeca();
    for (auto _ : estado)
        passo();
    cpu.para();
    cpu.informa(estado);
}

void GeraArquivoTransmissao(benchmark::State &estado, bool servidor) {
    Maxima &m = maxima(servidor);
    vlme::bench::UsuarioMudo usuario(vlme::base::Resposta::Nao);
    vlme::base::ProgressoMudo progresso;
    vlme::delivery::Transmissao transmissao(m.banco, m.dir.path(), usuario, progresso);
    Mede(estado, m.banco,
         [&] { benchmark::DoNotOptimize(transmissao.GeraArquivoTransmissao(m.numero, false)); });
}

void VerificaPendencias(benchmark::State &estado, bool servidor) {
    Maxima &m = maxima(servidor);
    Mede(estado, m.banco,
         [&] { benchmark::DoNotOptimize(vlme::checking::VerificaPendencias(m.banco, m.numero)); });
}

void CalculaResumo(benchmark::State &estado, bool servidor) {
    Maxima &m = maxima(servidor);
    Mede(estado, m.banco,
         [&] { benchmark::DoNotOptimize(vlme::checking::CalculaResumo(m.banco, m.numero)); });
}

void ListaDeclaracoes(benchmark::State &estado, bool servidor) {
    Banco &banco = lista(servidor).banco;
    std::size_t itens = 0;
    Mede(estado, banco, [&] { itens = vlme::store::ListaDeclaracoes(banco).size(); });
    estado.counters["declaracoes"] = double(itens);
}

// Without the test server there is nothing to measure; a plain run of every
// bench_* goes on.
[[maybe_unused]] const bool registrados = [] {
    if (qEnvironmentVariableIsEmpty("VLME_TESTE_URL")) {
        std::printf("bench_servidor: VLME_TESTE_URL não está definida; rode"
                    " scripts/servidor-teste.sh com build/bench/bench_servidor\n");
        std::exit(0);
    }
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("ImportaDeclaracaoMaxima/servidor", ImportaDeclaracaoMaxima)
        ->Unit(kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("BaseCopyLibpq", BaseCopyLibpq)
        ->Unit(kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(5);
    using Medida = void (*)(benchmark::State &, bool);
    // Enough runs of the short ones for the server's CPU time, counted in ticks.
    const struct {
        const char *nome;
        Medida medida;
        int vezes;
    } medidas[] = {
        {"RestauraCopiaSeguranca", RestauraCopiaSeguranca, 5},
        {"GeraArquivoTransmissao", GeraArquivoTransmissao, 5},
        {"VerificaPendencias", VerificaPendencias, 10},
        {"CalculaResumo", CalculaResumo, 20},
        {"ListaDeclaracoes", ListaDeclaracoes, 10},
        // Last: the rows they delete stay on the server until it vacuums them.
        {"CopiaVLM", CopiaVLM, 5},
        {"ExcluiVLM", ExcluiVLM, 5},
    };
    benchmark::RegisterBenchmark("Migra/servidor", Migra, true)
        ->Unit(kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(5);
    for (const auto &m : medidas)
        for (const bool servidor : {false, true})
            benchmark::RegisterBenchmark(
                (std::string(m.nome) + (servidor ? "/servidor" : "/arquivo")).c_str(), m.medida,
                servidor)
                ->Unit(kMillisecond)
                ->UseRealTime()
                ->MeasureProcessCPUTime()
                ->Iterations(m.vezes);
    return true;
}();

} // namespace
