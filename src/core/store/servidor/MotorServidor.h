#pragma once
// The team database: a PostgreSQL server, through Qt's QPSQL driver. The
// same tables and columns as the file, in its own dialect; writers take turns
// through a transaction-scoped advisory lock, as BEGIN IMMEDIATE does on the
// file; reservations are session advisory locks, gone with the connection.
// Every key is scoped to the connection's schema, so that two sets of
// statements in one database (the tests' schemas) never meet.

#include "store/Motor.h"
#include "store/servidor/UrlServidor.h"

#include <QSqlDatabase>
#include <QString>

namespace vlme::store::servidor {

// The connection details of `url` (postgresql://user@host:port/db?opts, the
// libpq conventions) put on `db`, with the time-outs that keep a silent
// network from freezing the program. The password, when not in the URL,
// comes from PGPASSWORD or ~/.pgpass, as libpq finds it.
void ConfiguraConexao(QSqlDatabase &db, const QString &url);
// Creates the function lists are sorted by (NomeOrdem).
QString ComandoOrdem();

// A server session as SQL names it, from pg_stat_activity's row `a`: its
// process number and when it started, which together no later session
// repeats. NULL for another role's session, whose start the server hides.
QString IdentidadeSessao(const QString &a);

class MotorServidor final : public Motor {
  public:
    explicit MotorServidor(const QString &url) : url_(url) {}
    void preparaConexao(Banco &banco) override;
    bool tentaEscrita(Banco &banco) override;
    QString inicioLeitura() const override;
    QStringList dialeto(const QStringList &comandos) const override;
    QStringList objetosProprios() const override;
    std::unique_ptr<Reservas> reservas(Banco &banco) override;
    std::unique_ptr<EscritaLote> escritaLote(Banco &banco) override;
    std::unique_ptr<CopiaParaArquivo> copiaParaArquivo(Banco &banco,
                                                       const QString &arquivo) override;
    bool tabelasDeArquivo() const override { return false; }
    QString descricao() const override;
    QString usuario(Banco &banco) override;
    QString agora() const override;
    bool ocupado(const QString &codigoNativo) const override;

    // The first half of every advisory key of this schema.
    int chave() const { return chave_; }
    // This connection's session and the one before the last reconnection,
    // as IdentidadeSessao names them.
    const QString &sessao() const { return sessao_; }
    const QString &sessaoAnterior() const { return anterior_; }

  private:
    QString url_;
    int chave_ = 0;
    QString sessao_, anterior_;
    QString usuario_;
};

} // namespace vlme::store::servidor
