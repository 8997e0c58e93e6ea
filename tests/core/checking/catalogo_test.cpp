// The message catalog holds every key with its exact text, and the keyed
// collection behaves as the forms rely on.

#include "checking/Erros.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <gtest/gtest.h>

using namespace vlme;

TEST(Catalogo, AmostraDeChavesComTextoExato) {
    const std::pair<const char *, const char *> amostra[] = {
        {"ERRO_CNPJ_AUSENTE", "O campo CNPJ do Estabelecimento é obrigatório."},
        {"ERRO_PPB_INVALIDO",
         "O tamanho do campo Processo Produtivo Básico não pode ser menor que 5 ( cinco )."},
        {"ERRO_PRODUTO_INVALIDO",
         "O tamanho do campo Denominação do Produto não pode ser menor que 3 ( três )."},
        {"ERRO_NCM_INVALIDO",
         "O tamanho do campo Código NCM/SH não pode ser menor que 8 ( oito ) e "
         "nem igual a '0000.00.00'."},
        {"ERRO_SALARIOS_C_RED_FIX",
         "Campo Salários e Ordenados deve ser zero p/ Coef.Redução Fixo."},
        {"ERRO_VLMANTERIOR_AUSENTE",
         "O campo VLM-E Anterior é obrigatório e diferente de zero para "
         "Retificador ou Substitutivo."},
        {"ERRO_PRECOVENDA_ZERO", "O campo Preço de Venda é obrigátório e maior que zero."},
        {"ERRO_DESCRICAOMODELO_EXISTENTE", "Modelo já cadastrado."},
        {"ERRO_NRINSESTADUAL_NAC_INVALIDO", "O campo Inscrição Estadual da Nota está inválida."},
        {"ERRO_NCM_NAC_INVALIDO", "O campo Código NCM não pode ser igual a '0000.00.00' e nem o "
                                  "tamanho ser menor que 8 ( oito )."},
        {"ERRO_NCM_IMP_INVALIDO",
         "O campo Código NCM não pode ser igual a '0000.00.00' e nem o ser "
         "tamanho menor do que 8 ( oito )."},
        {"ERRO_VALOR_SUB_MAIOR_NAC",
         "O custo dos subcomponentes deve ser menor que o do componente nacional."},
        {"ERRO_VALOR_NAC_MENOR_SUB",
         "O custo de um componente nacional deve ser maior que o dos seus subcomponentes."},
        {"ERRO_DI_ITEM_INVALIDO",
         "O campo Item está inválido. Deve ser maior que zero e menor ou igual a 80."},
        {"ERRO_SERIE_IMP_AUSENTE", "O campo Série da Nota é obrigatório."},
        {"ERRO_ALIQUOTA_IMP_INVALIDO", "Valor inválido no campo Alíquota."},
        {"ERRO_MODELOS", "É obrigatório informar pelo menos um Modelo/Tipo/Referência."},
        {"ERRO_NACIONAIS_SQ", "A quantidade máxima de Componentes Nacionais por VLM-E é 9999."},
        {"ERRO_SEM_DI_NF", "Existem componentes sem DI e NF simultaneamente."},
        {"ERRO_COM_DI_NF", "Existem componentes com DI e NF simultaneamente."},
        {"ERRO_SEM_NF", "Existem componentes sem NF."},
        {"ERRO_QTD_INT", "Quantidade superior a 8 inteiros."},
        {"ERRO_VLR_INT", "Valor Unitário superior a 9 inteiros."},
    };
    const checking::Erros &catalogo = checking::Catalogo();
    for (const auto &[chave, texto] : amostra) {
        const checking::Erro *e = catalogo.Item(QString::fromLatin1(chave));
        ASSERT_NE(e, nullptr) << chave;
        EXPECT_EQ(e->Id + "|" + e->Descricao + "|" + e->Origem + e->Campo,
                  QString(chave) + "|" + texto + "|");
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
