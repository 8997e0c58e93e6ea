// The message catalog holds every key with its exact text, and the keyed
// collection behaves as the forms rely on.

#include "checking/Erros.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "core/entry/Casos.h"

#include <gtest/gtest.h>

using namespace vlme;

TEST(Catalogo, AmostraDeChavesComTextoExato) {
    for (const QStringList &c : teste::Casos("catalogo.tsv")) {
        const checking::Erro *e = checking::Catalogo().Item(c[0]);
        ASSERT_NE(e, nullptr) << c[0];
        EXPECT_EQ(e->Id + "|" + e->Descricao + "|" + e->Origem + e->Campo, c[0] + "|" + c[1] + "|");
    }
}

TEST(Erros, ChaveRepetidaFalhaEMantemAPrimeira) {
    checking::Erros erros;
    ASSERT_NE(erros.Add("ERRO_A", "primeiro"), nullptr);
    EXPECT_EQ(erros.Add("ERRO_A", "segundo"), nullptr);
    EXPECT_EQ(erros.Item("ERRO_A")->Descricao, "primeiro");
    // Another key may hold the same Id.
    ASSERT_NE(erros.Add("ERRO_A", "terceiro", "frmCentral", "mskCNPJ", "chave2"), nullptr);
    EXPECT_EQ(erros.Item("chave2")->Descricao + erros.Item("chave2")->Campo, "terceiromskCNPJ");
    EXPECT_EQ(erros.Item(2)->Descricao, "terceiro"); // counted from 1
}

TEST(Erros, AlertaComDetalhesVazios) {
    const checking::Erro *e = checking::Catalogo().Item("ERRO_QTD_INT");
    ASSERT_NE(e, nullptr);
    teste::UsuarioRoteirizado usuario;
    e->Alerta(usuario, true);
    e->Alerta(usuario, false);
    EXPECT_EQ(usuario.resumos(),
              QStringList({"!|Atenção!|Quantidade superior a 8 inteiros.\n - \n - ",
                           "!|Atenção!|Quantidade superior a 8 inteiros."}));
}
