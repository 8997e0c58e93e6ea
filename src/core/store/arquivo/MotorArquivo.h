#pragma once
// The embedded file: SQLite in WAL mode, shared by every program on the data
// folder. A writer's turn is BEGIN IMMEDIATE (a deferred transaction that turns
// into a write cannot wait: SQLite answers busy at once); the text comparison
// and folding are functions registered on each connection, so that the file
// itself names nothing of ours and any SQLite tool reads it.

#include "store/Motor.h"

namespace vlme::store::arquivo {

class MotorArquivo final : public Motor {
  public:
    explicit MotorArquivo(const QString &caminho) : caminho_(caminho) {}
    void preparaConexao(Banco &banco) override;
    bool tentaEscrita(Banco &banco) override;
    QString inicioLeitura() const override;
    QStringList dialeto(const QStringList &comandos) const override { return comandos; }
    QStringList objetosProprios() const override { return {}; }
    std::unique_ptr<Reservas> reservas(Banco &banco) override;
    std::unique_ptr<EscritaLote> escritaLote(Banco &banco) override;
    std::unique_ptr<CopiaParaArquivo> copiaParaArquivo(Banco &banco,
                                                       const QString &arquivo) override;
    bool tabelasDeArquivo() const override { return true; }
    QString descricao() const override;
    QString usuario(Banco &banco) override;
    QString agora() const override;
    bool ocupado(const QString &codigoNativo) const override;

  private:
    QString caminho_;
};

} // namespace vlme::store::arquivo
