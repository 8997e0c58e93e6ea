// The bulk writer of the import against the operations the forms use: the
// same rows, column for column and type for type, and the same numbers.

#include "delivery/Transmissao.h"
#include "store/GravarLinha.h"
#include "store/GravarLote.h"
#include "support/Teste.h"

#include <QSqlQuery>

using namespace vlme;
using namespace vlme::store;
using C = teste::ConstrutorDeclaracao;

namespace {

// One include, by either writer: `lote` is null for the forms' operations.
using Passo = std::function<int(Banco &, GravacaoEmLote *, int nrVlm)>;

int Modelo(Banco &b, GravacaoEmLote *l, int n, const DadosModelo &d) {
    return l ? l->incluiModelo(n, d) : IncluiModelo(b, n, d);
}
int Nacional(Banco &b, GravacaoEmLote *l, int n, const DadosNF &nf, const DadosNacional &d) {
    return l ? l->incluiNacional(n, nf, d) : IncluiNacional(b, n, nf, d);
}
int ImportadoDI(Banco &b, GravacaoEmLote *l, int n, const DadosImportado &d, int dono) {
    return l ? l->incluiImportadoDI(n, C::DIPadrao(), d, dono)
             : IncluiImportadoDI(b, n, C::DIPadrao(), d, dono);
}
int ImportadoNF(Banco &b, GravacaoEmLote *l, int n, const DadosNF &nf, const DadosImportado &d,
                int dono) {
    return l ? l->incluiImportadoNF(n, nf, d, dono) : IncluiImportadoNF(b, n, nf, d, dono);
}

TEST(GravacaoEmLote, MesmasLinhasEMesmosNumerosQueAsOperacoesDosFormularios) {
    DadosNacional comNumero = C::NacionalPadrao("Placa", 2.5, 80.0);
    comNumero.numeroNoArquivo = 7;
    DadosImportado nf = C::ImportadoPadrao("Tela", 1.5, 99.999999, 16.0);
    nf.direto = false;
    nf.reducaoII = true;
    nf.baseCalculo = true;
    DadosImportado di = C::ImportadoPadrao("Chip", 4.0, 12.5);
    di.direto = true;
    const Passo passos[] = {
        [](Banco &b, GravacaoEmLote *l, int n) {
            return Modelo(b, l, n, {"Rádio", 199.9, "R1"});
        },
        [](Banco &b, GravacaoEmLote *l, int n) { return Modelo(b, l, n, {}); },
        // Adopts the subcomponent left waiting before the writer came.
        [&](Banco &b, GravacaoEmLote *l, int n) { return Nacional(b, l, n, {}, comNumero); },
        [](Banco &b, GravacaoEmLote *l, int n) { return Nacional(b, l, n, C::NFPadrao(), {}); },
        [&](Banco &b, GravacaoEmLote *l, int n) { return ImportadoDI(b, l, n, di, 0); },
        [&](Banco &b, GravacaoEmLote *l, int n) { return ImportadoDI(b, l, n, {}, 2); },
        [&](Banco &b, GravacaoEmLote *l, int n) { return ImportadoNF(b, l, n, {}, nf, 1); },
        [&](Banco &b, GravacaoEmLote *l, int n) {
            return ImportadoNF(b, l, n, C::NFPadrao(), {}, NacionalEmInclusao);
        },
        // Adopts the one just left waiting.
        [&](Banco &b, GravacaoEmLote *l, int n) { return Nacional(b, l, n, {}, {}); },
    };
    QStringList conteudo[2];
    std::vector<int> numeros[2];
    for (int emLote : {0, 1}) {
        teste::BancoTeste bt;
        Banco &banco = bt.banco();
        const int n = C(banco).geral().modelo("Antigo", 1.0).nacional().importadoNF();
        IncluiImportadoDI(banco, n, C::DIPadrao(), di, NacionalEmInclusao);
        Transacao t(banco);
        GravacaoEmLote lote(banco);
        for (const Passo &passo : passos)
            numeros[emLote].push_back(passo(banco, emLote ? &lote : nullptr, n));
        t.confirma();
        conteudo[emLote] = teste::ConteudoBanco(banco);
    }
    EXPECT_EQ(conteudo[1], conteudo[0]);
    EXPECT_EQ(numeros[1], numeros[0]);
}

// Rows of alternating shapes (invoices with and without a state registration
// or a series, components with a DI and with an invoice, subcomponents among
// them) keep their order on the test's database as on a file: the delivery
// file is the same, byte for byte.
TEST(GravacaoEmLote, FormasAlternadasDaoAEntregaDoArquivo) {
    teste::BancoTeste bt;
    teste::PastaTeste pasta;
    Banco arquivo;
    arquivo.cria(pasta.arquivo("VLM.MDB"));
    arquivo.abre(pasta.arquivo("VLM.MDB"));
    std::string entrega[2];
    for (int k : {0, 1}) {
        Banco &banco = k ? bt.banco() : arquivo;
        const int n = C(banco).geral().modelo("Rádio", 10.0);
        Transacao t(banco);
        GravacaoEmLote lote(banco);
        for (int i = 1; i <= 12; ++i) {
            DadosNF nf{QString::number(i), i % 4 ? "1" : "", C::CnpjFornecedor, "15/03/2023",
                       i % 2 ? "" : "12345678"};
            const DadosImportado d = C::ImportadoPadrao(QString("Importado %1").arg(i), i, 2.5);
            lote.incluiNacional(n, nf, C::NacionalPadrao(QString("Nacional %1").arg(i), i, 1.5));
            const int dono = i % 3 ? 0 : i;
            if (i % 2)
                lote.incluiImportadoDI(n, C::DIPadrao(), d, dono);
            else
                lote.incluiImportadoNF(n, nf, d, dono);
        }
        lote.conclui();
        t.confirma();
        teste::UsuarioRoteirizado usuario;
        teste::ProgressoRoteirizado progresso;
        delivery::Transmissao tr(banco, k ? bt.pasta() : pasta.caminho(), usuario, progresso);
        entrega[k] = teste::LeBytes(tr.GeraArquivoTransmissao(n, false));
    }
    EXPECT_NE(entrega[0].find("Importado 12"), std::string::npos);
    EXPECT_EQ(entrega[1], entrega[0]);
}

TEST(GravacaoEmLote, SoDentroDeUmaTransacao) {
    teste::BancoTeste bt;
    EXPECT_THROW(GravacaoEmLote{bt.banco()}, ErroBanco);
}

// A writer that sends whole rows (and the column numbers) relies on each
// table's columns being described all, in the schema's order, with their
// defaults (the server writes its cast after the value).
TEST(GravacaoEmLote, ColunasDescritasComoNoEsquema) {
    using namespace gravar;
    teste::BancoTeste bt;
    for (const Tabela *t : {&TabelaVLME::tabela, &TabelaModelos::tabela, &TabelaNacionais::tabela,
                            &TabelaImportados::tabela, &TabelaSubcomp::tabela, &TabelaNF::tabela,
                            &TabelaDI::tabela}) {
        QStringList descritas, esquema;
        for (std::size_t i = 0; i < t->colunas.size(); ++i)
            descritas << QString("%1 %2").arg(t->colunas[i], !t->padroes[i]   ? "-"
                                                             : *t->padroes[i] ? t->padroes[i]
                                                                              : "''");
        QSqlQuery q =
            bt.banco().executa("SELECT name, dflt_value FROM pragma_table_info(?)", {t->nome});
        while (q.next())
            esquema << q.value(0).toString() + ' ' +
                           (q.value(1).isNull() || q.value(1).toString().contains("nextval")
                                ? "-"
                                : q.value(1).toString().section("::", 0, 0));
        EXPECT_EQ(descritas, esquema) << t->nome;
    }
}

} // namespace
