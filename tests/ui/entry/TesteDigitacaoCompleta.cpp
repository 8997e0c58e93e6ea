// A whole statement typed through the windows as a user does (general data,
// models, national components with their subcomponents, imported components
// by DI and by invoice) delivers the same file, byte for byte, as the same
// statement imported from a text file typed by hand.

#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "printing/Documento.h"
#include "printing/Relatorios.h"
#include "support/ServidorDiagnostico.h"
#include "ui/Janelas.h"
#include "ui/shell/RegraOcupado.h"

using namespace vlme;
using teste::QuandoAbrirem;

namespace {

// Fills the form that opens with `valores` and confirms it; `antes` runs on
// it first (a subcomponent typed inside a national component's form).
std::function<void(QWidget *)> confirma(QString valores,
                                        std::function<void(QWidget *)> antes = {}) {
    return [=](QWidget *janela) {
        teste::Preenche(janela, valores);
        if (antes)
            antes(janela);
        teste::Clica(janela, "cmdOk");
    };
}

void clicaEConfirma(QWidget *janela, const char *botao, std::function<void(QWidget *)> acao) {
    QuandoAbrirem({std::move(acao)});
    teste::Clica(janela, botao);
}

const QString Chip = teste::Digitado("Chip"), Celula = teste::Digitado("Celula"),
              Placa = teste::Digitado("Placa"), Bateria = teste::Digitado("Bateria"),
              Tela = teste::Digitado("Tela"), AltoFalante = teste::Digitado("AltoFalante");

class Digitacao : public teste::Janelas {};

TEST_F(Digitacao, DeclaracaoDigitadaEntregaOMesmoArquivoQueAImportada) {
    const auto importada = importacao::ImportaArquivo(
        programa.banco, progresso, teste::DadoTeste("importacao/digitada_nos_formularios.txt"));
    ASSERT_EQ(importada.declaracoes.size(), 1u) << importada.mensagem.toStdString();

    const auto f = abreCentral(store::CriaVLM(programa.banco));
    programa.declaracao.nova = true;
    ui::frmCentral &central = *f;
    teste::Preenche(&central, teste::Digitado("Geral"));
    for (const char *modelo : {"ModeloBasico", "ModeloAvancado"})
        clicaEConfirma(&central, "cmdIncluirModelo", confirma(teste::Digitado(modelo)));
    central.SSTab->setCurrentIndex(1);
    for (const auto &[nacional, sub] : {std::pair{Placa, Chip}, {Bateria, Celula}})
        clicaEConfirma(
            &central, "cmdIncluirNacional", confirma(nacional, [sub = sub](QWidget *formNacional) {
                clicaEConfirma(formNacional, "cmdIncluirImportadoNacional", confirma(sub));
            }));
    central.SSTab->setCurrentIndex(2);
    for (const QString &importado : {Tela, AltoFalante})
        clicaEConfirma(&central, "cmdIncluirImportado", confirma(importado));
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n').toStdString();
    const int digitada = central.numero();
    central.close();

    delivery::Transmissao entrega(programa.banco, programa.pasta, usuario, progresso);
    const std::string digitado = teste::LeBytes(entrega.GeraArquivoTransmissao(digitada, false));
    const std::string esperado =
        teste::LeBytes(entrega.GeraArquivoTransmissao(importada.declaracoes[0], false));
    EXPECT_GT(esperado.size(), 1000u);
    EXPECT_EQ(digitado, esperado);
}

// One statement the way a user takes it: created, typed, checked and fixed
// from the list, summed up, delivered and its receipt recorded, diagnosed as
// registered and locked, backed up, deleted, restored, its receipt and
// summary printed.
TEST_F(Digitacao, UmaDeclaracaoDoComecoAoFim) {
    using shell::Comando;
    using teste::PrimeiraDoSeletor;
    ui::mdiPrincipal principal(programa, usuario);
    principal.show();
    QuandoAbrirem({[](QWidget *w) { static_cast<ui::frmNovo *>(w)->cmdOk->click(); }});
    principal.executa(Comando::Novo);
    ui::frmCentral *f = principal.dadosGerais();
    ASSERT_NE(f, nullptr);
    const int n = f->numero();
    teste::Preenche(f, teste::Digitado("GeralCpfErrado"));
    clicaEConfirma(f, "cmdIncluirModelo", confirma(teste::Digitado("ModeloDoComecoAoFim")));
    f->SSTab->setCurrentIndex(1);
    clicaEConfirma(f, "cmdIncluirNacional", confirma(Placa, [](QWidget *nacional) {
                       clicaEConfirma(nacional, "cmdIncluirImportadoNacional", confirma(Chip));
                   }));
    f->SSTab->setCurrentIndex(2);
    clicaEConfirma(f, "cmdIncluirImportado", confirma(Tela));

    // The wrong CPF is the only pendency: Enter on it, fix it, check again.
    QuandoAbrirem({[](QWidget *w) {
        QTest::keyClick(static_cast<ui::frmPendencias *>(w)->lstPendencias, Qt::Key_Enter);
    }});
    principal.executa(Comando::Pendencias);
    EXPECT_EQ(f->SSTab->currentIndex(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->focusWidget() == f->mskCPF; }, 500));
    f->mskCPF->setText("52998224725");
    principal.executa(Comando::Pendencias);
    f->SSTab->setCurrentIndex(3);
    EXPECT_EQ(f->lblResumoCustoImportados->text(), "US$ 200,00"); // 4 x 12,5 + 1,5 x 99,999999

    principal.executa(Comando::Transmitir);
    EXPECT_FALSE(programa.declaracao.aberta); // recorded: the statement is closed
    const QString arquivo = usuario.textos().last().section("\r\n", 1);
    EXPECT_TRUE(QFileInfo(arquivo).isFile()) << usuario.textos().join('|').toStdString();

    // The delivery program sends it; its receipt is recorded; the server registers it.
    QuandoAbrirem({[&](QWidget *seletor) {
        QuandoAbrirem({[](QWidget *w) {
            auto *recibo = static_cast<ui::frmEntrega *>(w);
            recibo->txtNumero->setText("7");
            recibo->mskRecepcao->setText("05/01/2024 10:15:00");
            recibo->cmdOk->click();
        }});
        PrimeiraDoSeletor(seletor);
    }});
    principal.executa(Comando::RegistrarEntrega);
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT NR_TRANSMISSAO_VLM FROM VLME"), "7");
    teste::ServidorDiagnostico servidor;
    servidor.responde("01   0000000123" +
                      QByteArray("FABRICA DE TELEFONES LTDA").leftJustified(80) +
                      "20240105101500;");
    programa.urlDiagnostico = shell::EscolheURLDiagnostico(servidor.host());
    principal.RecuperaDiagnostico(n);
    EXPECT_TRUE(QTest::qWaitFor([] { return !ui::Ocupado(); }, 5000));
    EXPECT_TRUE(usuario.textos().last().contains("registrado com sucesso"));
    QuandoAbrirem({PrimeiraDoSeletor});
    principal.executa(Comando::Abrir);
    ASSERT_NE(principal.dadosGerais(), nullptr);
    EXPECT_FALSE(principal.dadosGerais()->mskCNPJ->isEnabled());
    EXPECT_FALSE(principal.dadosGerais()->cmdIncluirModelo->isEnabled());
    principal.executa(Comando::Fechar);

    const QString copia = pasta.arquivo("telefone.BAK");
    usuario.escolhe(copia);
    QuandoAbrirem({PrimeiraDoSeletor});
    principal.executa(Comando::GerarCopia);
    ASSERT_TRUE(QFileInfo(copia).isFile()) << usuario.textos().join('|').toStdString();
    usuario.responde(base::Resposta::Sim);
    QuandoAbrirem({PrimeiraDoSeletor});
    principal.executa(Comando::Excluir);
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT count(*) FROM VLME"), "0");
    usuario.escolhe(copia);
    principal.executa(Comando::Restaurar);
    const QString restaurada = numeros();
    ASSERT_FALSE(restaurada.isEmpty()) << usuario.textos().join('|').toStdString();
    EXPECT_EQ(teste::Valores(programa.banco, "SELECT CODIGO_VLM FROM VLME"), "123");

    // The receipt came along in the backup, with the date typed from it.
    bool recebida = false;
    for (const auto &bloco : printing::ImprimeRecibo(programa.banco, restaurada.toInt()).blocos)
        for (const auto &linha : bloco.linhas)
            recebida |= linha == QStringList({"Recebida em", "05/01/2024 10:15:00"});
    EXPECT_TRUE(recebida);

    const QString pdf = pasta.arquivo("resumo.pdf");
    EXPECT_EQ(
        printing::GravaPDF(printing::ImprimeVLM(programa.banco, restaurada.toInt(), true), pdf), 1);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

} // namespace
