// Copy and delete of a whole statement: every row, new keys, nothing shared,
// all or nothing on cancel or failure; the delete question; vlme-cli commands.

#include "shell/Progresso.h"
#include "store/Banco.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QSet>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::store;
using teste::ConstrutorDeclaracao;
using teste::ContaLinhas;
using teste::ConteudoBanco;
using teste::ConteudoTabela;

namespace {

// Records what an operation shows; cancels at the `cancelaNa`-th unit.
class ProgressoGravado final : public shell::Progresso {
public:
    int cancelaNa = 0; // 0: never
    int aberturas = 0, fechamentos = 0, unidades = 0;
    QStringList passos;
    std::vector<int> valores;
    int minimo = -1, maximo = -1;
    std::vector<bool> permissoes;

    void abre() override { ++aberturas; }
    void fecha() override { ++fechamentos; }
    void passo(const QString &texto) override { passos << texto; }
    void faixa(int mi, int ma) override { minimo = mi, maximo = ma; }
    void valor(int atual) override { valores.push_back(atual); }
    void permiteCancelar(bool permite) override { permissoes.push_back(permite); }
    bool unidade() override
    {
        ++unidades;
        if (cancelaNa && unidades >= cancelaNa)
            cancelado_ = true;
        return !cancelado_;
    }
    bool cancelado() const override { return cancelado_; }

private:
    bool cancelado_ = false;
};

// Every table a statement has rows in, NF and DI included.
QStringList ConteudoCompleto(Banco &banco)
{
    QStringList tudo = ConteudoBanco(banco);
    for (const char *tabela : {"RECIBO", "ERRO", "IMPRESSAO"})
        tudo += ConteudoTabela(banco, QLatin1String(tabela));
    return tudo;
}

QStringList Linhas(Banco &banco, const QString &sql, const QVariantList &valores)
{
    QStringList linhas;
    QSqlQuery q = banco.executa(sql, valores);
    while (q.next())
        linhas << q.value(0).toString();
    return linhas;
}

// The rows of statement `n` without their keys: a component's invoice or
// declaration by its values, "sem" when it has none.
QStringList RetratoDeclaracao(Banco &banco, int n)
{
    QStringList r;
    r += Linhas(
        banco,
        QStringLiteral(
            "SELECT 'M|' || quote(NR_SQ_MODELOS) || '|' || quote(TX_DESCRICAO_MODELOS) || '|'"
            " || quote(COD_INTERNO_MODELOS) || '|' || quote(PRECO_VENDA_MODELOS)"
            " FROM MODELOS WHERE NR_VLM_MODELOS = ? ORDER BY NR_SQ_MODELOS"),
        {n});
    r += Linhas(
        banco,
        QStringLiteral(
            "SELECT 'N|' || quote(c.NR_SQ_NACIONAL) || '|' || quote(c.TX_DESCRICAO_NACIONAL)"
            " || '|' || quote(c.QTD_NACIONAL) || '|' || quote(c.VL_CUSTO_UNITARIO_NACIONAL)"
            " || '|' || quote(c.NCM_NACIONAL) || '|' || quote(c.UNIDADE_NACIONAL) || '|' ||"
            " iif(c.NR_SEQ_NF_NACIONAL = 0, 'sem', quote(f.NR_NF) || quote(f.SERIE_NF) ||"
            " quote(f.CNPJ_NF) || quote(f.DATA_EMISSAO_NF) || quote(f.NR_INS_ESTADUAL_NF))"
            " FROM COMPONENTES_NACIONAIS c LEFT JOIN NF f ON f.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL"
            " WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.NR_SQ_NACIONAL"),
        {n});
    r += Linhas(
        banco,
        QStringLiteral(
            "SELECT 'I|' || quote(c.NR_SQ_IMPORTADO) || '|' || quote(c.TX_DESCRICAO_IMPORTADO)"
            " || '|' || quote(c.QTD_IMPORTADO) || '|' || quote(c.VALOR_UNITARIO_IMPORTADO)"
            " || '|' || quote(c.ALIQUOTA_IMPORTADO) || '|' || quote(c.VALOR_II_IMPORTADO)"
            " || '|' || quote(c.IN_COM_SUSP_IMPORTADO) || quote(c.IN_DIRETO_IMPORTADO)"
            " || quote(c.IN_REDUCAO_II_IMPORTADO) || '|' || quote(c.NCM_IMPORTADO) || '|'"
            " || quote(c.UNIDADE_IMPORTADO) || '|' ||"
            " iif(c.NR_SEQ_DI_IMPORTADO = 0, 'sem', quote(d.NR_DI_DI) || quote(d.NR_ADICAO_DI)"
            " || quote(d.NR_ITEM_DI)) || '|' ||"
            " iif(c.NR_SEQ_NF_IMPORTADO = 0, 'sem', quote(f.NR_NF) || quote(f.SERIE_NF) ||"
            " quote(f.CNPJ_NF) || quote(f.DATA_EMISSAO_NF) || quote(f.NR_INS_ESTADUAL_NF))"
            " FROM COMPONENTES_IMPORTADOS c"
            " LEFT JOIN DI d ON d.NR_SQ_DI = c.NR_SEQ_DI_IMPORTADO"
            " LEFT JOIN NF f ON f.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO"
            " WHERE c.NR_VLM_IMPORTADO = ? ORDER BY c.NR_SQ_IMPORTADO"),
        {n});
    r += Linhas(banco,
                QStringLiteral("SELECT 'S|' || quote(N_IMPORTADO_SUBCOMP) || '|' ||"
                               " quote(N_NACIONAL_SUBCOMP) || '|' || quote(IN_BASE_CALCULO_SUBCOMP)"
                               " FROM SUBCOMP WHERE N_VLM_SUBCOMP = ?"
                               " ORDER BY N_NACIONAL_SUBCOMP, N_IMPORTADO_SUBCOMP"),
                {n});
    return r;
}

// The NF and DI keys the rows of statement `n` point to.
QSet<QString> ChavesDocumentos(Banco &banco, int n)
{
    QSet<QString> chaves;
    for (const QString &l :
         Linhas(banco,
                QStringLiteral("SELECT 'NF' || NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS"
                               " WHERE NR_VLM_NACIONAL = ? AND NR_SEQ_NF_NACIONAL <> 0"
                               " UNION ALL SELECT 'NF' || NR_SEQ_NF_IMPORTADO FROM"
                               " COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
                               " AND NR_SEQ_NF_IMPORTADO <> 0 UNION ALL SELECT 'DI' ||"
                               " NR_SEQ_DI_IMPORTADO FROM COMPONENTES_IMPORTADOS"
                               " WHERE NR_VLM_IMPORTADO = ? AND NR_SEQ_DI_IMPORTADO <> 0"),
                {n, n, n}))
        chaves.insert(l);
    return chaves;
}

QString Coluna(Banco &banco, const QString &coluna, int n)
{
    return banco
        .escalar(QStringLiteral("SELECT quote(%1) FROM VLME WHERE NR_VLM_VLM = ?").arg(coluna), {n})
        .toString();
}

class CopiaExclusao : public ::testing::Test {
protected:
    teste::BancoTeste bt;
    Banco &banco = bt.banco();
    teste::UsuarioRoteirizado usuario;
    ProgressoGravado progresso;

    // A statement with something in every table: two models, two national
    // components with invoices, an imported component with a DI and one with
    // an invoice, a subcomponent of each national component (one by DI, one
    // by invoice, in the calculation base), a receipt, a diagnostic row and a
    // print scratch row; registered.
    int completa(const QString &produto = QStringLiteral("Telefone celular"))
    {
        ConstrutorDeclaracao c(banco);
        c.geral([&](DadosGerais &d) {
            d.denProduto = produto;
            d.substitutivo = true;
            d.vlmAnterior = QStringLiteral("2001001231");
            d.nrProcesso = QStringLiteral("12345678901234567");
            d.salarios = 1500.25;
            d.encargos = 300.5;
            d.coeficiente = Coeficiente::Variavel;
        });
        c.modelo(QStringLiteral("Modelo A"), 999.9).modelo(QStringLiteral("Modelo B"), 1200.0);
        c.nacional(QStringLiteral("Placa"), 2, 50.0).nacional(QStringLiteral("Bateria"), 1, 80.0);
        c.importadoDI(QStringLiteral("Tela"), 1, 30.0, 16.0);
        c.importadoNF(QStringLiteral("Antena"), 3, 1.5);
        c.subcomponente(1, QStringLiteral("Chip"), 4, 2.5);
        DadosImportado sub =
            ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Conector"), 2, 3.0);
        sub.baseCalculo = true;
        DadosNF nf = ConstrutorDeclaracao::NFPadrao();
        nf.numero = QStringLiteral("0000000777");
        nf.inscricaoEstadual = QStringLiteral("123456789");
        c.subcomponenteNF(2, sub, nf);
        const int n = c.numero();
        banco.executa(QStringLiteral("UPDATE VLME SET PERC_REDUCAO_VLM = ?, NR_ARQUIVO_VLM = ?,"
                                     " NR_TRANSMISSAO_VLM = ?, CODIGO_VLM = ?, DT_REGISTRO_VLM = ?,"
                                     " RAZAO_SOCIAL_VLM = ? WHERE NR_VLM_VLM = ?"),
                      {12.5, 42, -1, QStringLiteral("200100123"),
                       QStringLiteral("2023-04-01 10:00:00"),
                       QStringLiteral("Fábrica de Telefones Ltda"), n});
        banco.executa(QStringLiteral("INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO,"
                                     " NR_TRANSMISSAO_RECIBO) VALUES (?, ?, ?)"),
                      {n, ConstrutorDeclaracao::Cnpj, 555});
        banco.executa(QStringLiteral("INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, TIPO_ERRO)"
                                     " VALUES (?, ?, ?)"),
                      {n, QStringLiteral("Aviso qualquer"), QStringLiteral("3")});
        banco.executa(QStringLiteral("INSERT INTO IMPRESSAO (NR_VLM_IMPRESSAO) VALUES (?)"), {n});
        return n;
    }
};

// ---- Copy ----

TEST_F(CopiaExclusao, CopiaTemTodasAsLinhasComChavesNovasENadaCompartilhado)
{
    const int origem = completa();
    const QStringList retratoOrigem = RetratoDeclaracao(banco, origem);
    const QStringList antes = ConteudoCompleto(banco);
    ASSERT_EQ(retratoOrigem.size(), 2 + 2 + 4 + 2);
    const int nfAntes = ContaLinhas(banco, QStringLiteral("NF"));
    const int diAntes = ContaLinhas(banco, QStringLiteral("DI"));

    const int copia = CopiaVLM(banco, origem, progresso, usuario);
    ASSERT_GT(copia, origem);
    EXPECT_TRUE(usuario.mensagens.empty());

    EXPECT_EQ(RetratoDeclaracao(banco, copia), retratoOrigem);
    // Two national invoices, the component's and the subcomponent's invoice;
    // the component's and the subcomponent's DI.
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), nfAntes + 4);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI")), diAntes + 2);
    const QSet<QString> chavesOrigem = ChavesDocumentos(banco, origem);
    const QSet<QString> chavesCopia = ChavesDocumentos(banco, copia);
    EXPECT_EQ(chavesOrigem.size(), 6);
    EXPECT_EQ(chavesCopia.size(), 6);
    EXPECT_FALSE(chavesOrigem.intersects(chavesCopia));

    // The import sequence is the row's own sequence in the copy.
    EXPECT_EQ(
        ContaLinhas(banco, QStringLiteral("COMPONENTES_NACIONAIS"),
                    QStringLiteral("NR_VLM_NACIONAL = ? AND NR_SQ_IMPORTACAO = NR_SQ_NACIONAL"),
                    {copia}),
        2);
    EXPECT_EQ(
        ContaLinhas(banco, QStringLiteral("COMPONENTES_IMPORTADOS"),
                    QStringLiteral("NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTACAO = NR_SQ_IMPORTADO"),
                    {copia}),
        4);

    // Changing or deleting the copy leaves the original as it was.
    banco.executa(
        QStringLiteral("UPDATE NF SET NR_NF = 'X' WHERE NR_SEQ_NF IN (SELECT"
                       " NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?)"),
        {copia});
    banco.executa(
        QStringLiteral(
            "UPDATE DI SET NR_DI_DI = 'X' WHERE NR_SQ_DI IN (SELECT"
            " NR_SEQ_DI_IMPORTADO FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?)"),
        {copia});
    ExcluiNacional(banco, copia, 1);
    AlteraModelo(banco, copia, 1, {QStringLiteral("Modelo Z"), 1.0, QStringLiteral("Z")});
    EXPECT_EQ(RetratoDeclaracao(banco, origem), retratoOrigem);
    ExcluiVLM(banco, copia, true, nullptr);
    EXPECT_EQ(ConteudoCompleto(banco), antes);
}

TEST_F(CopiaExclusao, CopiaEOriginalSemRecibosNemErrosQualquerQueSejaOEstadoDaOrigem)
{
    struct Caso {
        int nrTransmissao;
        const char *codigo;
    };
    for (const Caso c :
         {Caso{-1, "200100123"}, Caso{-1, ""}, Caso{98765, ""}, Caso{0, "200100999"}}) {
        SCOPED_TRACE(c.nrTransmissao);
        const int origem = completa();
        banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?, CODIGO_VLM = ?"
                                     " WHERE NR_VLM_VLM = ?"),
                      {c.nrTransmissao, QString::fromLatin1(c.codigo), origem});
        const int copia = CopiaVLM(banco, origem, progresso, usuario);
        ASSERT_GT(copia, 0);
        EXPECT_EQ(Coluna(banco, QStringLiteral("NR_TRANSMISSAO_VLM"), copia), "0");
        EXPECT_EQ(Coluna(banco, QStringLiteral("CODIGO_VLM"), copia), "''");
        EXPECT_EQ(Coluna(banco, QStringLiteral("DT_REGISTRO_VLM"), copia), "NULL");
        EXPECT_EQ(Coluna(banco, QStringLiteral("RAZAO_SOCIAL_VLM"), copia), "NULL");
        const auto lista = ListaDeclaracoes(banco);
        ASSERT_FALSE(lista.empty());
        EXPECT_EQ(lista.front().numero, copia);
        EXPECT_EQ(lista.front().situacao, "Original");
        EXPECT_EQ(lista.front().protocolo, "-");
        EXPECT_EQ(ContaLinhas(banco, QStringLiteral("RECIBO"), QStringLiteral("NR_VLM_RECIBO = ?"),
                              {copia}),
                  0);
        EXPECT_EQ(
            ContaLinhas(banco, QStringLiteral("ERRO"), QStringLiteral("NR_VLM_ERRO = ?"), {copia}),
            0);
        EXPECT_EQ(ContaLinhas(banco, QStringLiteral("RECIBO"), QStringLiteral("NR_VLM_RECIBO = ?"),
                              {origem}),
                  1);
    }
}

TEST_F(CopiaExclusao, CopiaLevaOsDadosGeraisEPoeCopiaDeNoNome)
{
    const int origem = completa();
    const int copia = CopiaVLM(banco, origem, progresso, usuario);
    ASSERT_GT(copia, 0);
    EXPECT_EQ(Coluna(banco, QStringLiteral("DEN_PRODUTO_VLM"), copia),
              "'Cópia de Telefone celular'");
    const struct {
        const char *coluna, *valor;
    } esperados[] = {
        {"CNPJ_VLM", "'11222333000181'"},
        {"CPF_VLM", "'52998224725'"},
        {"PPB_VLM", "'PPB de telefones celulares'"},
        {"TIPO_COEFICIENTE_VLM", "1"},
        {"PERC_REDUCAO_VLM", "12.5"},
        {"SUBSTITUTIVO_VLM", "1"},
        {"RETIFICADOR_VLM", "0"},
        {"NR_VLM_ANTERIOR_VLM", "'2001001231'"},
        {"NR_PROCESSO_VLM", "'12345678901234567'"},
        {"NCM_VLM", "'85171231'"},
        {"PESO_BRUTO_VLM", "0.15"},
        {"VL_SALARIOS_VLM", "1500.25"},
        {"VL_ENCARGOS_VLM", "300.5"},
        {"UNIDADE_VLM", "'UN'"},
        {"NR_ARQUIVO_VLM", "42"},
    };
    for (const auto &e : esperados) {
        SCOPED_TRACE(e.coluna);
        EXPECT_EQ(Coluna(banco, QLatin1String(e.coluna), copia), QString::fromUtf8(e.valor));
    }
}

TEST_F(CopiaExclusao, NomeDoProdutoDaCopiaNuncaPassaDe80Caracteres)
{
    const QString bloco = QStringLiteral("Çabcdefghi"); // 10 characters
    struct Caso {
        QString nome, esperado;
    };
    const Caso casos[] = {
        {bloco.repeated(8), QStringLiteral("Cópia de ") + bloco.repeated(7) + QStringLiteral("Ç")},
        {bloco.repeated(7) + QStringLiteral("Ç"),
         QStringLiteral("Cópia de ") + bloco.repeated(7) + QStringLiteral("Ç")},
        {QStringLiteral("Rádio"), QStringLiteral("Cópia de Rádio")},
        {QString(), QStringLiteral("Cópia de ")},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome.toStdString());
        const int origem = CriaVLM(banco);
        banco.executa(QStringLiteral("UPDATE VLME SET DEN_PRODUTO_VLM = ? WHERE NR_VLM_VLM = ?"),
                      {c.nome, origem});
        const int copia = CopiaVLM(banco, origem, progresso, usuario);
        const QString nome =
            banco
                .escalar(QStringLiteral("SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
                         {copia})
                .toString();
        EXPECT_EQ(nome, c.esperado);
        EXPECT_LE(nome.size(), 80);
    }
}

TEST_F(CopiaExclusao, ImportadoSemDIContinuaSemDIEComNotaGanhaNotaIgual)
{
    ConstrutorDeclaracao c(banco);
    c.geral();
    DadosNF nf = ConstrutorDeclaracao::NFPadrao();
    nf.numero = QStringLiteral("0000004321");
    nf.serie = QStringLiteral("U");
    nf.inscricaoEstadual = QStringLiteral("04.123.456-7");
    c.importadoNF(ConstrutorDeclaracao::ImportadoPadrao(QStringLiteral("Antena"), 1, 2.0), nf);
    const int diAntes = ContaLinhas(banco, QStringLiteral("DI"));

    const int copia = CopiaVLM(banco, c.numero(), progresso, usuario);

    QSqlQuery q = banco.executa(
        QStringLiteral(
            "SELECT c.NR_SEQ_DI_IMPORTADO, c.NR_SEQ_NF_IMPORTADO, f.NR_NF, f.SERIE_NF,"
            " f.CNPJ_NF, f.DATA_EMISSAO_NF, f.NR_INS_ESTADUAL_NF"
            " FROM COMPONENTES_IMPORTADOS c JOIN NF f ON f.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO"
            " WHERE c.NR_VLM_IMPORTADO = ?"),
        {copia});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
    EXPECT_EQ(q.value(1).toInt(), 2); // the second invoice row of the database
    EXPECT_EQ(q.value(2).toString(), "0000004321");
    EXPECT_EQ(q.value(3).toString(), "U");
    EXPECT_EQ(q.value(4).toString(), "04539983000190");
    EXPECT_EQ(q.value(5).toString(), "15/03/2023");
    EXPECT_EQ(q.value(6).toString(), "04.123.456-7");
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI")), diAntes);
}

TEST_F(CopiaExclusao, CopiaNFECopiaDIDuplicamALinhaOuDevolvemZero)
{
    const int nf =
        GravaNF(banco, {QStringLiteral("12"), QStringLiteral("A"), QStringLiteral("04539983000190"),
                        QStringLiteral("01/02/2023"), QStringLiteral("99")});
    const int di =
        GravaDI(banco, {QStringLiteral("2301234567"), QStringLiteral("002"), QStringLiteral("03")});
    banco.executa(QStringLiteral("UPDATE DI SET DESCRICAO_DI = 'do servidor' WHERE NR_SQ_DI = ?"),
                  {di});

    const int novaNF = CopiaNF(banco, nf);
    const int novoDI = CopiaDI(banco, di);
    EXPECT_EQ(novaNF, nf + 1);
    EXPECT_EQ(novoDI, di + 1);
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("NF")),
              QStringList({"NF:1|'12'|'A'|'04539983000190'|'01/02/2023'|'99'",
                           "NF:2|'12'|'A'|'04539983000190'|'01/02/2023'|'99'"}));
    // The server's description belongs to the delivered statement, not to a copy.
    EXPECT_EQ(ConteudoTabela(banco, QStringLiteral("DI")),
              QStringList({"DI:1|'2301234567'|'002'|'03'|'do servidor'",
                           "DI:2|'2301234567'|'002'|'03'|NULL"}));

    EXPECT_EQ(CopiaNF(banco, 0), 0);
    EXPECT_EQ(CopiaDI(banco, 0), 0);
    // A link to a row that is gone gives no document rather than a link to nothing.
    EXPECT_EQ(CopiaNF(banco, 999), 0);
    EXPECT_EQ(CopiaDI(banco, 999), 0);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("NF")), 2);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("DI")), 2);
}

TEST_F(CopiaExclusao, CopiaMostraCadaPassoEPerguntaPeloCancelamentoACadaLinha)
{
    const int origem = completa();
    CopiaVLM(banco, origem, progresso, usuario);
    EXPECT_EQ(progresso.passos,
              QStringList({"Copiando VLM-E", "Copiando Componentes Importados",
                           "Copiando Componentes Nacionais", "Copiando Subcomponentes importados",
                           "Copiando Modelos"}));
    // 4 imported + 2 national + 2 links + 2 models.
    EXPECT_EQ(progresso.unidades, 10);
    EXPECT_EQ(progresso.minimo, 0);
    EXPECT_EQ(progresso.maximo, 10);
    ASSERT_FALSE(progresso.valores.empty());
    EXPECT_EQ(progresso.valores.back(), 10);
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{true});
    EXPECT_EQ(progresso.aberturas, 1);
    EXPECT_EQ(progresso.fechamentos, 1);
}

TEST_F(CopiaExclusao, CancelarNoMeioDaCopiaDeixaOBancoComoEstava)
{
    const int origem = completa();
    const QStringList antes = ConteudoCompleto(banco);
    progresso.cancelaNa = 6; // among the national components

    EXPECT_EQ(CopiaVLM(banco, origem, progresso, usuario), 0);

    EXPECT_EQ(ConteudoCompleto(banco), antes);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].titulo, "Operação cancelada");
    EXPECT_EQ(usuario.mensagens[0].texto, "Operação cancelada pelo usuário.");
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Exclamacao);
    EXPECT_EQ(usuario.mensagens[0].botoes, shell::Botoes::Ok);
    EXPECT_EQ(progresso.unidades, 6);
    EXPECT_EQ(progresso.fechamentos, 1);

    // Nothing is left half open: the next copy goes through.
    ProgressoGravado outro;
    const int copia = CopiaVLM(banco, origem, outro, usuario);
    EXPECT_GT(copia, origem);
    EXPECT_EQ(RetratoDeclaracao(banco, copia), RetratoDeclaracao(banco, origem));
}

TEST_F(CopiaExclusao, FalhaNoMeioDaCopiaDeixaOBancoComoEstava)
{
    const int origem = completa();
    const QStringList antes = ConteudoCompleto(banco);
    banco.executa(QStringLiteral(
        "CREATE TEMP TRIGGER falha BEFORE INSERT ON MODELOS"
        " WHEN NEW.NR_SQ_MODELOS = 2 BEGIN SELECT RAISE(ABORT, 'falha simulada'); END"));

    EXPECT_THROW(CopiaVLM(banco, origem, progresso, usuario), ErroBanco);

    EXPECT_EQ(ConteudoCompleto(banco), antes);
    EXPECT_EQ(progresso.fechamentos, 1);
    EXPECT_TRUE(usuario.mensagens.empty());
    banco.executa(QStringLiteral("DROP TRIGGER falha"));
    EXPECT_GT(CopiaVLM(banco, origem, progresso, usuario), origem);
}

TEST_F(CopiaExclusao, CopiaDeDeclaracaoInexistenteFalhaSemGravar)
{
    const int origem = completa();
    const QStringList antes = ConteudoCompleto(banco);
    EXPECT_THROW(CopiaVLM(banco, origem + 1, progresso, usuario), ErroDeclaracaoInexistente);
    EXPECT_EQ(ConteudoCompleto(banco), antes);
}

// ---- Delete ----

TEST_F(CopiaExclusao, ExcluirRemoveTodasAsLinhasDaDeclaracaoENadaDeOutra)
{
    const int outra = completa(QStringLiteral("Outro produto"));
    const QStringList soAOutra = ConteudoCompleto(banco);
    const int n = completa();
    ASSERT_GT(ContaLinhas(banco, QStringLiteral("NF")), 3);

    ExcluiVLM(banco, n, false, &progresso);

    EXPECT_EQ(ConteudoCompleto(banco), soAOutra);
    EXPECT_EQ(RetratoDeclaracao(banco, outra).size(), 10);
}

TEST_F(CopiaExclusao, ExcluirDeclaracaoSemComponentes)
{
    const int vazia = CriaVLM(banco);
    const int cheia = completa();
    const QStringList antes = ConteudoCompleto(banco);
    const int outraVazia = CriaVLM(banco);

    ExcluiVLM(banco, outraVazia, false, &progresso);
    EXPECT_EQ(ConteudoCompleto(banco), antes);
    ExcluiVLM(banco, vazia, true, nullptr);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("VLME")), 1);
    EXPECT_EQ(banco.escalar(QStringLiteral("SELECT NR_VLM_VLM FROM VLME")).toInt(), cheia);
}

TEST_F(CopiaExclusao, ExcluirMostraOsPassosSemCancelarESilenciosoNaoMostraNada)
{
    const int n = completa();
    ExcluiVLM(banco, n, false, &progresso);
    EXPECT_EQ(progresso.passos,
              QStringList({"Preparando para excluir", "Excluindo VLM-E", "Finalizando exclusão"}));
    EXPECT_EQ(progresso.valores, (std::vector<int>{0, 20, 30, 50, 60, 70, 80, 90, 95, 100}));
    EXPECT_EQ(progresso.permissoes, std::vector<bool>{false});
    EXPECT_EQ(progresso.minimo, 0);
    EXPECT_EQ(progresso.maximo, 100);
    EXPECT_EQ(progresso.aberturas, 1);
    EXPECT_EQ(progresso.fechamentos, 1);

    ProgressoGravado silencioso;
    const int m = completa();
    ExcluiVLM(banco, m, true, &silencioso);
    EXPECT_EQ(ContaLinhas(banco, QStringLiteral("VLME")), 0);
    EXPECT_EQ(silencioso.aberturas + silencioso.fechamentos + silencioso.unidades, 0);
    EXPECT_TRUE(silencioso.passos.isEmpty());
    EXPECT_TRUE(silencioso.valores.empty());
}

TEST_F(CopiaExclusao, FalhaNaExclusaoNaoTiraNada)
{
    const int n = completa();
    const QStringList antes = ConteudoCompleto(banco);
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER falha BEFORE DELETE ON VLME"
                                 " BEGIN SELECT RAISE(ABORT, 'falha simulada'); END"));
    EXPECT_THROW(ExcluiVLM(banco, n, false, &progresso), ErroBanco);
    EXPECT_EQ(ConteudoCompleto(banco), antes);
    EXPECT_EQ(progresso.fechamentos, 1);
}

TEST_F(CopiaExclusao, NovaDeclaracaoVaziaSoTemOCodigoVazio)
{
    const int a = CriaVLM(banco);
    const int b = CriaVLM(banco);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(Coluna(banco, QStringLiteral("CODIGO_VLM"), b), "''");
    EXPECT_EQ(Coluna(banco, QStringLiteral("NR_TRANSMISSAO_VLM"), b), "0");
    EXPECT_EQ(Coluna(banco, QStringLiteral("DEN_PRODUTO_VLM"), b), "NULL");
    // Numbers are never reused, even after the newest is deleted.
    ExcluiVLM(banco, b, true, nullptr);
    EXPECT_EQ(CriaVLM(banco), 3);
}

} // namespace
