// The NCM and unit table import, file after file on one database: what the
// user is told and what the tables hold afterwards.

#include "import/Tabelas.h"
#include "support/Teste.h"

using namespace vlme;

TEST(Tabelas, ArquivosDigitadosUmAposOOutro) {
    teste::BancoTeste base;
    for (const QStringList &c : teste::Casos("tabelas.tsv")) {
        SCOPED_TRACE(c.at(0).toStdString() + " " + c.at(1).toStdString());
        teste::UsuarioRoteirizado usuario;
        const auto r = importacao::GeraTabela(base.banco(), usuario,
                                              teste::DadoTeste("tabelas/" + c.at(0)), c.at(1));
        EXPECT_EQ(usuario.resumos(), QStringList(QString(c.at(2)).replace("\\n", "\n")));
        EXPECT_EQ(r.sucesso, c.at(2).startsWith("-||Tabela de"));
        EXPECT_EQ(teste::Valores(base.banco(),
                                 "SELECT group_concat(CD_NCM_PRODUTO || '=' || rtrim("
                                 "DESCR_NCM_PRODUTO) || '/' || length(DESCR_NCM_PRODUTO) || '/' ||"
                                 " rtrim(NM_UNID_MED_EST), ';') FROM (SELECT * FROM NCM_ITEM"
                                 " ORDER BY 1) AS t"),
                  c.value(3).isEmpty() ? "NULL" : c.at(3));
        EXPECT_EQ(teste::Valores(base.banco(), "SELECT group_concat(CD_UNID_MEDIDA || '=' ||"
                                               " NM_MEDIDA, ';') FROM (SELECT * FROM"
                                               " UNIDADE_MEDIDA ORDER BY 1) AS t"),
                  c.value(4).isEmpty() ? "NULL" : c.at(4));
    }
}
