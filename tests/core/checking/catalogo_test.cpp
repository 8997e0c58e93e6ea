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
    EXPECT_EQ(erros.Count(), 1);
    EXPECT_EQ(erros.Item("ERRO_A")->Descricao, "primeiro");
    // Another key may hold the same Id.
    checking::Erro *outro = erros.Add("ERRO_A", "terceiro", "frmCentral", "mskCNPJ", "chave2");
    ASSERT_NE(outro, nullptr);
    EXPECT_EQ(outro->Origem + "." + outro->Campo, "frmCentral.mskCNPJ");
    EXPECT_TRUE(erros.Remove("ERRO_A"));
    EXPECT_EQ(erros.Count(), 1);
    EXPECT_EQ(erros.Item("chave2")->Descricao, "terceiro");
    EXPECT_EQ(erros.Item(1)->Descricao, "terceiro");
    EXPECT_FALSE(erros.Remove(5));
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
