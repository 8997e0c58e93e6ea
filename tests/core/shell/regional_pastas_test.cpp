// The regional-settings question and its fix, and the paths built from the
// data folder.

#include "shell/ConfiguracoesRegionais.h"
#include "shell/Pastas.h"
#include "support/PastaTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

using namespace vlme;
using shell::ItemRegional;

namespace {

class RegionaisEmMemoria final : public shell::ConfiguracoesRegionais {
public:
    std::map<ItemRegional, QString> valores;
    int gravacoes = 0;
    QString le(ItemRegional item) const override { return valores.at(item); }
    void grava(ItemRegional item, const QString &valor) override
    {
        valores[item] = valor;
        ++gravacoes;
    }
};

RegionaisEmMemoria brasileiras()
{
    RegionaisEmMemoria r;
    r.valores = {{ItemRegional::SeparadorDecimal, ","},      {ItemRegional::SeparadorGrupo, "."},
                 {ItemRegional::SeparadorDecimalMoeda, ","}, {ItemRegional::SeparadorGrupoMoeda, "."},
                 {ItemRegional::SeparadorData, "/"},         {ItemRegional::FormatoDataCurta, "dd/MM/yyyy"}};
    return r;
}

} // namespace

TEST(ConfiguracoesRegionais, CorretasNaoPerguntamNada)
{
    RegionaisEmMemoria r = brasileiras();
    EXPECT_TRUE(shell::ConfiguracoesDiferentes(r).isEmpty());
    r.valores[ItemRegional::FormatoDataCurta] = "DD/MM/AAAA";
    // The date separator is read but never compared.
    r.valores[ItemRegional::SeparadorData] = "-";
    EXPECT_TRUE(shell::ConfiguracoesDiferentes(r).isEmpty());
}

TEST(ConfiguracoesRegionais, AmericanasListamTodasAsLinhasNaOrdem)
{
    RegionaisEmMemoria r;
    r.valores = {{ItemRegional::SeparadorDecimal, "."},      {ItemRegional::SeparadorGrupo, ","},
                 {ItemRegional::SeparadorDecimalMoeda, "."}, {ItemRegional::SeparadorGrupoMoeda, ","},
                 {ItemRegional::SeparadorData, "/"},         {ItemRegional::FormatoDataCurta, "M/d/yy"}};
    const QStringList linhas = shell::ConfiguracoesDiferentes(r);
    EXPECT_EQ(linhas, QStringList({
                          "- O separador de decimais NÚMEROS deve ser a ',' (vírgula).",
                          "- O separador de grupo de NÚMEROS ser o '.' (ponto).",
                          "- O separador de decimais de MOEDA deve ser a ',' (vírgula).",
                          "- O separador de grupo de MOEDA ser o '.' (ponto).",
                          "- O formato da data deve ser 'dd/MM/yyyy'.",
                      }));
}

TEST(ConfiguracoesRegionais, SoAData_SemY_ESimGravaAsSeis)
{
    RegionaisEmMemoria r = brasileiras();
    r.valores[ItemRegional::FormatoDataCurta] = "d/M/aaaa";
    r.valores[ItemRegional::SeparadorData] = "-";
    const QStringList linhas = shell::ConfiguracoesDiferentes(r);
    ASSERT_EQ(linhas, QStringList({"- O formato da data deve ser 'dd/MM/aaaa'."}));

    EXPECT_EQ(shell::PerguntaConfiguracoes(linhas),
              "As seguinte configurações regionais devem ser alteradas para que seu computador "
              "execute corretamente o VLM-E :\n"
              "\n"
              "- O formato da data deve ser 'dd/MM/aaaa'.\n"
              "\n"
              "Deseja alterar estas configurações ? \n"
              "Se você responder que sim, o programa irá alterar automaticamente as configurações. "
              "Se você responder que não, o programa será fechado.");

    shell::CorrigeConfiguracoes(r);
    EXPECT_EQ(r.gravacoes, 6);
    EXPECT_EQ(r.valores[ItemRegional::SeparadorDecimal], ",");
    EXPECT_EQ(r.valores[ItemRegional::SeparadorGrupo], ".");
    EXPECT_EQ(r.valores[ItemRegional::SeparadorDecimalMoeda], ",");
    EXPECT_EQ(r.valores[ItemRegional::SeparadorGrupoMoeda], ".");
    EXPECT_EQ(r.valores[ItemRegional::SeparadorData], "/");
    EXPECT_EQ(r.valores[ItemRegional::FormatoDataCurta], "dd/MM/aaaa");
    EXPECT_TRUE(shell::ConfiguracoesDiferentes(r).isEmpty());
}

TEST(ConfiguracoesRegionais, ArquivoIniGuardaOQueFoiCorrigido)
{
    teste::PastaTeste pasta;
    const QString arquivo = pasta.arquivo("regional.ini");
    {
        shell::ConfiguracoesRegionaisIni ini(arquivo);
        ini.grava(ItemRegional::FormatoDataCurta, "MM-dd-yyyy");
        shell::CorrigeConfiguracoes(ini);
    }
    shell::ConfiguracoesRegionaisIni relida(arquivo);
    EXPECT_EQ(relida.le(ItemRegional::SeparadorDecimal), ",");
    EXPECT_TRUE(shell::ConfiguracoesDiferentes(relida).isEmpty());
    EXPECT_EQ(relida.le(ItemRegional::FormatoDataCurta), "dd/MM/yyyy");
}

TEST(Pastas, CaminhoArquivosDeUmaDeclaracao)
{
    teste::PastaTeste pasta;
    const QString caminho = shell::CaminhoArquivos(pasta.caminho(), 37);
    EXPECT_TRUE(caminho.endsWith(QLatin1String("Arquivos/VLME0000000037"))) << caminho;
    EXPECT_TRUE(QFileInfo(pasta.arquivo("Arquivos")).isDir());
    EXPECT_TRUE(shell::CaminhoArquivos(pasta.caminho(), 2147483647).endsWith(QLatin1String("VLME2147483647")));
}

TEST(Pastas, PastaArquivosUsaOs12PrimeirosDigitosESoDentroDeArquivos)
{
    teste::PastaTeste pasta;
    const QString base = QDir(pasta.caminho()).filePath("Arquivos");
    EXPECT_EQ(shell::PastaArquivos(pasta.caminho(), "11222333000181"), base + "/112223330001");
    EXPECT_TRUE(QFileInfo(base + "/112223330001").isDir());
    // A CNPJ stored with its mask gives the same folder.
    EXPECT_EQ(shell::PastaArquivos(pasta.caminho(), "11.222.333/0001-81"), base + "/112223330001");
    // Nothing in the text can lead outside Arquivos/.
    const QString estranho = shell::PastaArquivos(pasta.caminho(), "../../etc/12");
    EXPECT_EQ(estranho, base + "/12");
}

TEST(Pastas, EscolhaDaPastaDoPrograma)
{
    qputenv("VLME_PASTA", "/tmp/vlme-variavel");
    EXPECT_EQ(shell::EscolhePastaPrograma("/tmp/vlme-opcao"), "/tmp/vlme-opcao");
    EXPECT_EQ(shell::EscolhePastaPrograma(QString()), "/tmp/vlme-variavel");
    qunsetenv("VLME_PASTA");
    EXPECT_FALSE(shell::EscolhePastaPrograma(QString()).isEmpty());
}

TEST(ConfiguracoesRegionais, VirgulaEscritaAMaoNoArquivo)
{
    teste::PastaTeste pasta;
    QFile f(pasta.arquivo("regional.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Regional]\nSeparadorDecimal=,\nSeparadorGrupo=.\n");
    f.close();
    shell::ConfiguracoesRegionaisIni ini(pasta.arquivo("regional.ini"));
    EXPECT_EQ(ini.le(ItemRegional::SeparadorDecimal), ",");
    EXPECT_EQ(ini.le(ItemRegional::SeparadorGrupo), ".");
}
