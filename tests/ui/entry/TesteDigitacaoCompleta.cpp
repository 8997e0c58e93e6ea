// A whole statement typed through the windows as a user does (general data,
// models, national components with their subcomponents, imported components
// by DI and by invoice) delivers the same file, byte for byte, as the same
// statement imported from a text file typed by hand.

#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "store/Gravar.h"
#include "support/Arquivos.h"
#include "ui/Janelas.h"
#include "ui/entry/CampoMascarado.h"
#include "ui/entry/frmCentral.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace vlme;
using teste::QuandoAbrirem;

namespace {

// "field=text;option;..." typed into a window, options clicked by name.
void preenche(QWidget *janela, const QString &valores) {
    for (const QString &v : valores.split(';', Qt::SkipEmptyParts)) {
        if (auto *o = janela->findChild<QRadioButton *>(v)) {
            o->click();
            continue;
        }
        auto *campo = janela->findChild<ui::CampoMascarado *>(v.section('=', 0, 0));
        ASSERT_NE(campo, nullptr) << v.toStdString();
        campo->setText(v.section('=', 1));
    }
}

// Fills the form that opens with `valores` and confirms it; `antes` runs on
// it first (a subcomponent typed inside a national component's form).
std::function<void(QWidget *)> confirma(QString valores,
                                        std::function<void(QWidget *)> antes = {}) {
    return [=](QWidget *janela) {
        preenche(janela, valores);
        if (antes)
            antes(janela);
        janela->findChild<QPushButton *>("cmdOk")->click();
    };
}

void clicaEConfirma(QWidget *janela, const char *botao, std::function<void(QWidget *)> acao) {
    QuandoAbrirem({std::move(acao)});
    janela->findChild<QPushButton *>(botao)->click();
}

const QString Chip = "optDiretoSim;mskNrDI=2301234567;mskNrAdicao=001;mskNrItem=01;"
                     "txtDescricao=Chip controlador;mskQTD=4;mskValorUnitario=12,5;mskAliquota=0;"
                     "optComSuspSim;optReducaoNao;optBaseCalculoSim";
const QString Celula = "optDiretoNao;mskNR=0000000789;mskSerie=2;mskDataEmissao=05112023;"
                       "mskCNPJ=11222333000181;mskNCM=85076000;txtUnidade=UN;txtDescricao=Célula;"
                       "mskQTD=2;mskValorUnitario=30;mskAliquota=0;optComSuspNao;optReducaoNao;"
                       "optBaseCalculoNao";
const QString Placa = "mskNR=0000000123;mskSerie=1;mskDataEmissao=15032023;"
                      "mskCNPJ=04539983000190;mskNrInsEstadual=12.345.678-9;"
                      "txtDescricao=Placa de circuito impresso;mskNCM=85340000;TxtUnidade=UN;"
                      "mskQTD=2,5;mskCustoUnitario=150,25";
const QString Bateria = "mskNR=0000000456;mskSerie=A;mskDataEmissao=29022024;"
                        "mskCNPJ=04539983000190;txtDescricao=Bateria de lítio;mskNCM=85076000;"
                        "TxtUnidade=PC;mskQTD=1;mskCustoUnitario=80";
const QString Tela = "optDiretoSim;mskNrDI=2301234567;mskNrAdicao=002;mskNrItem=80;"
                     "txtDescricao=Tela de cristal líquido;mskQTD=1,5;mskValorUnitario=99,999999;"
                     "mskAliquota=0;optComSuspNao;optReducaoSim";
const QString AltoFalante = "optDiretoNao;mskNR=0000000042;mskSerie=U;mskDataEmissao=31012022;"
                            "mskCNPJ=11222333000181;mskNrInsEstadual=123.456.789-00;"
                            "mskNCM=85182100;txtUnidade=UN;txtDescricao=Alto-falante;mskQTD=3;"
                            "mskValorUnitario=7,25;mskAliquota=0;optComSuspSim;optReducaoNao";

class Digitacao : public teste::Janelas {};

TEST_F(Digitacao, DeclaracaoDigitadaEntregaOMesmoArquivoQueAImportada) {
    const auto importada = importacao::ImportaArquivo(
        programa.banco, progresso, teste::DadoTeste("importacao/digitada_nos_formularios.txt"));
    ASSERT_EQ(importada.declaracoes.size(), 1u) << importada.mensagem.toStdString();

    programa.declaracao = {store::CriaVLM(programa.banco), true, true, false};
    ui::frmCentral central(programa, usuario);
    central.carrega();
    central.show();
    preenche(&central,
             "mskCNPJ=11222333000181;mskCPF=52998224725;"
             "txtPPB=PPB de telefones celulares;txtDenProduto=Telefone celular com câmera;"
             "mskNCM=85171231;txtUnidade=UN;mskPesoBruto=1,5;optFixo;"
             "optRetificadorNao;optSubstitutivoNao");
    for (const char *modelo : {"txtDescricaoModelo=Modelo Básico;mskCodigoInterno=MB-01;"
                               "mskPrecoVenda=1999,9",
                               "txtDescricaoModelo=Modelo Avançado;mskCodigoInterno=MA-02;"
                               "mskPrecoVenda=2500"})
        clicaEConfirma(&central, "cmdIncluirModelo", confirma(modelo));
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

} // namespace
