// The command routing: the busy rule, a close the user refuses, the two
// diagnostic entry points and the outcome message of recording for
// transmission. Which menu leads where is checked through the window.

#include "shell/Comandos.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace vlme;
using shell::Comando;

namespace {

class DestinoGravado final : public shell::DestinoComandos {
  public:
    bool aberta = false;
    bool fechaRecusado = false; // the user keeps the statement open
    QStringList chamadas;

    bool declaracaoAberta() const override { return aberta; }
    void fechaDeclaracao() override
    {
        chamadas << QStringLiteral("fechaDeclaracao");
        if (!fechaRecusado)
            aberta = false;
    }
    void abreSeletor(int operacao) override
    {
        chamadas << QStringLiteral("abreSeletor(%1)").arg(operacao);
    }
    void mostraNovo() override { chamadas << QStringLiteral("mostraNovo"); }
    void importaDeclaracao() override { chamadas << QStringLiteral("importaDeclaracao"); }
    void configuraImpressora() override { chamadas << QStringLiteral("configuraImpressora"); }
    void imprimeDeclaracao() override { chamadas << QStringLiteral("imprimeDeclaracao"); }
    void imprimeResumo() override { chamadas << QStringLiteral("imprimeResumo"); }
    void excluiDeclaracao() override { chamadas << QStringLiteral("excluiDeclaracao"); }
    void verificaPendencias() override { chamadas << QStringLiteral("verificaPendencias"); }
    void gravaParaTransmissao() override { chamadas << QStringLiteral("gravaParaTransmissao"); }
    void restauraCopia() override { chamadas << QStringLiteral("restauraCopia"); }
    void importaTabelaNCM() override { chamadas << QStringLiteral("importaTabelaNCM"); }
    void importaTabelaUnidades() override { chamadas << QStringLiteral("importaTabelaUnidades"); }
    void abreCalculadora() override { chamadas << QStringLiteral("abreCalculadora"); }
    void mostraConteudoAjuda() override { chamadas << QStringLiteral("mostraConteudoAjuda"); }
    void mostraIndiceAjuda() override { chamadas << QStringLiteral("mostraIndiceAjuda"); }
    void mostraSobre() override { chamadas << QStringLiteral("mostraSobre"); }
    void sai() override { chamadas << QStringLiteral("sai"); }
};

const Comando todos[] = {
    Comando::Novo,
    Comando::Abrir,
    Comando::Importar,
    Comando::Fechar,
    Comando::ConfigurarImpressora,
    Comando::ImprimirVLM,
    Comando::Resumo,
    Comando::Excluir,
    Comando::Diagnostico,
    Comando::Pendencias,
    Comando::GerarArquivoEnviador,
    Comando::Transmitir,
    Comando::GerarCopia,
    Comando::Restaurar,
    Comando::ImportarNCM,
    Comando::ImportarUnidades,
    Comando::Calculadora,
    Comando::Conteudo,
    Comando::Indice,
    Comando::Procurar,
    Comando::Sobre,
    Comando::Sair,
    Comando::ConsultarDiagnostico,
    Comando::ImprimirRecibo,
};

} // namespace

TEST(ComandosOcupado, SoOsComandosDaRegraEsperamPeloFimDaOperacao)
{
    // Those that start or end work on the statement or the database wait.
    const QSet<Comando> esperam = {
        Comando::Novo,
        Comando::Abrir,
        Comando::Importar,
        Comando::Fechar,
        Comando::ImprimirVLM,
        Comando::Resumo,
        Comando::Excluir,
        Comando::Diagnostico,
        Comando::Pendencias,
        Comando::GerarArquivoEnviador,
        Comando::Transmitir,
        Comando::GerarCopia,
        Comando::Restaurar,
        Comando::ImportarNCM,
        Comando::ImportarUnidades,
        Comando::Sair,
    };
    for (const Comando c : todos) {
        for (const bool aberta : {false, true}) {
            DestinoGravado d;
            d.aberta = aberta;
            const bool rodou = shell::ExecutaComando(c, d, true);
            const int n = static_cast<int>(c);
            if (esperam.contains(c)) {
                EXPECT_FALSE(rodou) << "comando " << n;
                EXPECT_TRUE(d.chamadas.isEmpty())
                    << "comando " << n << ": " << d.chamadas.join(',').toStdString();
                EXPECT_EQ(d.aberta, aberta) << "comando " << n;
            } else {
                EXPECT_TRUE(rodou) << "comando " << n;
            }
        }
    }
    // Help and the calculator answer even while the program works.
    DestinoGravado d;
    shell::ExecutaComando(Comando::Conteudo, d, true);
    shell::ExecutaComando(Comando::Calculadora, d, true);
    EXPECT_EQ(d.chamadas, QStringList({"mostraConteudoAjuda", "abreCalculadora"}));
}

TEST(ComandosFechaAntes, QuandoOUsuarioMantemADeclaracaoOComandoPara)
{
    const Comando fechamAntes[] = {Comando::Novo,
                                   Comando::Abrir,
                                   Comando::Importar,
                                   Comando::Diagnostico,
                                   Comando::GerarArquivoEnviador,
                                   Comando::GerarCopia,
                                   Comando::Restaurar};
    for (const Comando c : fechamAntes) {
        DestinoGravado d;
        d.aberta = true;
        d.fechaRecusado = true;
        EXPECT_TRUE(shell::ExecutaComando(c, d, false));
        EXPECT_EQ(d.chamadas, QStringList{"fechaDeclaracao"}) << static_cast<int>(c);
        EXPECT_TRUE(d.aberta);
    }
}

TEST(ComandosFechaAntes, DepoisDeFecharSegueComoSemDeclaracao)
{
    DestinoGravado d;
    d.aberta = true;
    shell::ExecutaComando(Comando::Restaurar, d, false);
    EXPECT_EQ(d.chamadas, QStringList({"fechaDeclaracao", "restauraCopia"}));
    EXPECT_FALSE(d.aberta);
    // Now closed, the same command goes straight on.
    d.chamadas.clear();
    shell::ExecutaComando(Comando::Novo, d, false);
    EXPECT_EQ(d.chamadas, QStringList{"mostraNovo"});
}

TEST(ComandosDiagnostico, EntradasDoDiagnosticoVaoAoSeletorMesmoOcupado)
{
    // The diagnostic shows the hourglass while it waits and still reaches these.
    for (const bool aberta : {false, true}) {
        DestinoGravado d;
        d.aberta = aberta;
        EXPECT_TRUE(shell::ExecutaComando(Comando::ConsultarDiagnostico, d, true));
        EXPECT_TRUE(shell::ExecutaComando(Comando::ImprimirRecibo, d, true));
        EXPECT_EQ(d.chamadas, QStringList({"abreSeletor(16)", "abreSeletor(11)"}));
    }
}

TEST(ComandosTabela, CadaComandoTemUmaLinhaEMenusSemRepeticao)
{
    QSet<QString> menus;
    int semMenu = 0;
    for (const Comando c : todos) {
        const shell::RotaComando &r = shell::RotaDe(c);
        EXPECT_EQ(r.comando, c);
        const QString menu = QString::fromLatin1(r.menu);
        if (menu.isEmpty()) {
            ++semMenu;
            continue;
        }
        EXPECT_FALSE(menus.contains(menu)) << menu.toStdString();
        menus.insert(menu);
    }
    EXPECT_EQ(semMenu, 2);
    EXPECT_EQ(menus.size(), 22);
    EXPECT_EQ(shell::RotasComandos().size(), std::size(todos));
}

TEST(GravacaoTransmissao, ArquivoGravadoDizOndeEstaENadaGravadoDizQueNao)
{
    teste::UsuarioRoteirizado usuario;
    EXPECT_TRUE(shell::InformaGravacaoTransmissao(
        usuario, QStringLiteral("/dados/Arquivos/VLME0000000037.Z1")));
    EXPECT_FALSE(shell::InformaGravacaoTransmissao(usuario, QString()));
    ASSERT_EQ(usuario.mensagens.size(), 2u);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("ATENÇÃO"));
    EXPECT_EQ(
        usuario.mensagens[0].texto,
        QStringLiteral(
            "O Arquivo foi gerado para transmissão em : \r\n/dados/Arquivos/VLME0000000037.Z1"));
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Informacao);
    EXPECT_EQ(usuario.mensagens[1].titulo, QStringLiteral("ATENÇÃO"));
    EXPECT_EQ(usuario.mensagens[1].texto,
              QStringLiteral("O Arquivo não foi gerado para transmissão."));
    EXPECT_EQ(usuario.mensagens[1].icone, shell::Icone::Informacao);
    EXPECT_EQ(usuario.mensagens[1].botoes, shell::Botoes::Ok);
}
