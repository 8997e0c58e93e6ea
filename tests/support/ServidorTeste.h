#pragma once
// The team-database run of the tests: with VLME_TESTE_BACKEND=servidor every
// BancoTeste opens a schema of its own on the private test server that
// ./test starts (its URL in VLME_TESTE_URL), instead of a VLM.MDB.

#include <QString>

namespace vlme::teste {

bool NoServidor();
// The roles of the README's recipe (scripts/equipe.sql).
inline constexpr char PapelDono[] = "vlme_dono";
inline constexpr char PapelEscrivao[] = "ana";
inline constexpr char PapelServico[] = "vlme_servico";
// The URL of a new schema on the test server, for one database. The owner
// makes it and opens it first, as the recipe's first start does, and a
// clerk's role works on it; with `vazio`, the owner's URL of an empty one.
QString NovoEsquemaServidor(bool vazio = false);
QString ComPapel(const QString &url, const QString &papel);
// A private cluster of its own (scripts/servidor-teste.sh), for a test that
// stops it or needs SSL; removed at destruction. Its URL is the owner's.
class ServidorProprio {
  public:
    explicit ServidorProprio(bool ssl = false);
    ~ServidorProprio() { script("para"); }
    QString url() const { return url_; }
    // The certificate of the SSL server, which is also its own authority.
    QString certificado() const { return pasta_ + QStringLiteral("/dados/server.crt"); }
    void desliga() { script("desliga"); }
    void liga() { script("liga"); }
    // Stopped as an administrator would, and started again.
    void reinicia() {
        desliga();
        liga();
    }

  private:
    QString script(const char *acao, const QString &extra = {});
    QString pasta_, url_;
};

} // namespace vlme::teste
