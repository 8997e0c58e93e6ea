#pragma once
// The program's executables run as the company's systems run them: vlme-cli
// to its end, the window program (offscreen) in the background.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace vlme::store {
class Banco;
}

namespace vlme::teste {

// The database the programs started on `pasta` work on: its VLM.MDB, or on
// the server run a schema of its own (given to them as --banco). Opens it in
// `banco`, creating it first when `cria`.
void AbreBancoDaPasta(store::Banco &banco, const QString &pasta, bool cria = false);

struct Execucao {
    int status = -1;
    QString saida, erro;
    bool morta = false;
    qint64 ms = 0;
};

// vlme-cli with VLME_PASTA at `pasta`, so a run that ignores --pasta cannot
// touch the user's own data folder. Killed after `matarEm` ms (never when < 0).
Execucao Roda(const QString &pasta, const QStringList &argumentos, qint64 matarEm = -1);
// The same started, for several to run at once; Termina waits for it, the
// test's events running meanwhile (a stand-in server in the test answers).
std::unique_ptr<QProcess> Inicia(const QString &pasta, const QStringList &argumentos);
Execucao Termina(QProcess &processo, qint64 matarEm = -1);
// The text of a PDF file as pdftotext lays it out; page `pagina` only when > 0.
QString TextoPDF(const QString &pdf, int pagina = 0);
// What the stock sqlite3 tool answers to `sql` on `arquivo`, errors included.
QString Sqlite3(const QString &arquivo, const QString &sql);

// Runs each command of a transcript under tests/data with Roda, `antes` put
// before its arguments, and expects its exact status and output. After
// comments, "$ arguments" ('' an empty one, "\ " a space inside one),
// "= status", then "> " lines of output and "! " lines of errors, a last
// "! ..." leaving the rest of them out; {PASTA} is `pasta` and {DADOS} the
// tests' data folder.
void Confere(const QString &pasta, const QString &transcricao, const QStringList &antes = {});

// The window program on `pasta`, offscreen, with regional settings that ask
// nothing, holding statement `abrir` open once started; killed (SIGKILL) at
// destruction unless it ended before.
class ProgramaJanela {
  public:
    // On `banco` when given, else as the test run's database goes.
    ProgramaJanela(const QString &pasta, int abrir, const QString &banco = {});
    ~ProgramaJanela();
    // Waits until statement `numero` is reserved by it; false after `ms`.
    bool esperaReserva(int numero, int ms = 30000);
    void mata();

  private:
    QString pasta_, banco_;
    std::unique_ptr<QProcess> processo_;
};

} // namespace vlme::teste
