// A statement imported from a text file and then written as a delivery file
// comes back field by field as it went in, but for the fields listed here
// that legitimately differ.

#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "import/Registros.h"
#include "shell/Progresso.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>

using namespace vlme;

namespace {

QStringList linhas(const QString &caminho)
{
    QFile f(caminho);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << caminho.toStdString();
    QStringList l = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString &linha : l)
        linha.remove(QLatin1Char('\n'));
    return l;
}

using Campos = std::map<QString, QString>;

Campos campos(const QString &linha)
{
    const QChar tipo = linha.at(0);
    if (tipo == QLatin1Char('0')) {
        const auto r = importacao::CortaTipo0(linha);
        return {{"cnpj", r.cnpj}, {"cpf", r.cpf}, {"ppb", r.ppb}, {"denProduto", r.denProduto},
                {"ncm", r.ncm}, {"unidade", r.unidade}, {"pesoBruto", r.pesoBruto},
                {"salarios", r.salarios}, {"encargos", r.encargos}, {"tipoVlme", r.tipoVlme},
                {"vlmAnterior", r.vlmAnterior}, {"nrProcesso", r.nrProcesso}, {"versao", r.versao},
                {"constante", r.constante}, {"tipoCoeficiente", r.tipoCoeficiente}};
    }
    if (tipo == QLatin1Char('1')) {
        const auto r = importacao::CortaTipo1(linha);
        return {{"sequencia", r.sequencia}, {"descricao", r.descricao},
                {"precoVenda", r.precoVenda}, {"codigoInterno", r.codigoInterno}};
    }
    if (tipo == QLatin1Char('2')) {
        const auto r = importacao::CortaTipo2(linha);
        return {{"numeroNacional", r.numeroNacional}, {"numeroNF", r.numeroNF}, {"serieNF", r.serieNF},
                {"cnpjFornecedor", r.cnpjFornecedor}, {"inscricaoEstadual", r.inscricaoEstadual},
                {"dataEmissao", r.dataEmissao}, {"especificacao", r.especificacao},
                {"unidade", r.unidade}, {"ncm", r.ncm}, {"quantidade", r.quantidade},
                {"valorUnitario", r.valorUnitario}};
    }
    if (tipo == QLatin1Char('3') || tipo == QLatin1Char('4')) {
        const auto r = importacao::CortaImportado(linha);
        return {{"sequencia", r.sequencia}, {"numeroNacional", r.numeroNacional},
                {"baseCalculo", r.baseCalculo}, {"tipoDocumento", r.tipoDocumento},
                {"suspensao", r.suspensao}, {"numeroDI", r.numeroDI}, {"adicaoDI", r.adicaoDI},
                {"itemDI", r.itemDI}, {"numeroNF", r.numeroNF}, {"serieNF", r.serieNF},
                {"cnpjFornecedor", r.cnpjFornecedor}, {"inscricaoEstadual", r.inscricaoEstadual},
                {"dataEmissao", r.dataEmissao}, {"especificacao", r.especificacao},
                {"unidade", r.unidade}, {"ncm", r.ncm}, {"quantidade", r.quantidade},
                {"reducao", r.reducao}, {"valorUnitario", r.valorUnitario}};
    }
    return {{"linha", linha}};
}

} // namespace

TEST(IdaEVolta, ImportarEGerarDevolveOsMesmosCampos)
{
    teste::BancoTeste b;
    shell::ProgressoMudo progresso;
    teste::UsuarioRoteirizado usuario;
    const QString entrada = QStringLiteral(VLME_DADOS_TESTE "/importacao/duas_declaracoes.txt");
    const auto resultado = importacao::ImportaArquivo(b.banco(), progresso, entrada);
    ASSERT_EQ(resultado.declaracoes.size(), 2u);

    // The first statement's lines of the import file, and its type 9.
    QStringList esperadas;
    for (const QString &linha : linhas(entrada)) {
        if (linha.startsWith(QLatin1Char('0')) && !esperadas.isEmpty())
            break;
        esperadas << linha;
    }

    delivery::Transmissao t(b.banco(), b.pasta(), usuario, progresso);
    const QString arquivo = t.GeraArquivoTransmissao(resultado.declaracoes[0], false);
    ASSERT_FALSE(arquivo.isEmpty());
    QStringList geradas = linhas(arquivo);
    ASSERT_FALSE(geradas.isEmpty());
    ASSERT_TRUE(geradas.last().startsWith(QLatin1Char('9')));
    geradas.removeLast();
    ASSERT_EQ(geradas.size(), esperadas.size());

    // What the import does not read, or reads in another form.
    const std::map<QChar, QStringList> podemDiferir = {
        // The program's version and constant are the writer's, not the file's.
        {QLatin1Char('0'), {"versao", "constante"}},
        // Sequences are given by the database (MAX + 1), not taken from the file.
        {QLatin1Char('1'), {"sequencia"}},
        {QLatin1Char('2'), {"numeroNacional"}},
        {QLatin1Char('3'), {"sequencia", "numeroNacional", "suspensao", "tipoDocumento", "baseCalculo", "reducao"}},
        {QLatin1Char('4'), {"sequencia", "suspensao", "tipoDocumento", "reducao"}},
    };
    for (int i = 0; i < esperadas.size(); ++i) {
        SCOPED_TRACE("linha " + std::to_string(i + 1));
        const QChar tipo = esperadas[i].at(0);
        ASSERT_EQ(geradas[i].at(0), tipo);
        const Campos antes = campos(esperadas[i]);
        const Campos depois = campos(geradas[i]);
        QStringList naoLidos = podemDiferir.count(tipo) ? podemDiferir.at(tipo) : QStringList();
        // A component's other document is not read: a DI row has no invoice
        // fields to keep, an invoice row no DI fields.
        if (tipo == QLatin1Char('3') || tipo == QLatin1Char('4')) {
            if (antes.at("tipoDocumento").toUpper() == QLatin1String("S"))
                naoLidos << "numeroNF" << "serieNF" << "cnpjFornecedor" << "inscricaoEstadual" << "dataEmissao";
            else
                naoLidos << "numeroDI" << "adicaoDI" << "itemDI";
        }
        for (const auto &[nome, valor] : antes) {
            if (naoLidos.contains(nome)) {
                // Flags may differ only in letter case.
                if (nome == "suspensao" || nome == "tipoDocumento" || nome == "baseCalculo" || nome == "reducao")
                    EXPECT_EQ(valor.toUpper(), depois.at(nome)) << nome.toStdString();
                continue;
            }
            EXPECT_EQ(valor, depois.at(nome)) << nome.toStdString();
        }
    }
}
