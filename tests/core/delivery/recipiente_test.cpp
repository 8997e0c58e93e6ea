// The field formats, the statement writer, and the test for the delivery
// program.

#include "delivery/Declaracao.h"
#include "delivery/Formatos.h"
#include "support/PastaTeste.h"

#include "support/Arquivos.h"

#include "core/entry/Casos.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vlme;
using namespace vlme::delivery;
using namespace vlme::teste;

TEST(FormatosEntrega, FormataNumero) {
    for (const QStringList &c : Casos("formata_entrega.tsv"))
        EXPECT_EQ(FormataNumero(c[0].toDouble(), c[1].toInt(), c[2].toInt()), c[3]) << c.join(' ');
    EXPECT_TRUE(FormataNumero(std::numeric_limits<double>::infinity(), 15, 2).isEmpty());
    EXPECT_TRUE(FormataNumero(std::nan(""), 15, 2).isEmpty());
}

// Each line is type, content and CRC in Latin-1; the statement's own CRC is
// not written; a later save replaces the file whole; a failure leaves the
// earlier file and no stray one.
TEST(Salvar, TipoConteudoECRCPorLinhaEmLatin1) {
    PastaTeste pasta;
    const QString arquivo = pasta.arquivo("VLME0000000001");
    Enviador e;
    e.Declaracao.Corpo.Add({"1", "Ação ÿ", {}});
    e.Declaracao.Corpo.Add({"2", QString(300, 'x'), "CRC"});
    e.Declaracao.CRC = "não é gravado";
    e.Declaracao.Trailler = {"T", "00000003", "9"};
    e.Salvar(arquivo, 0);
    EXPECT_EQ(LeBytes(arquivo),
              "1A\xE7\xE3o \xFF\r\n2" + std::string(300, 'x') + "CRC\r\n900000003T\r\n");

    Enviador menor;
    menor.Declaracao.Trailler = {{}, "00000001", "9"};
    menor.Salvar(arquivo, 0);
    EXPECT_EQ(LeBytes(arquivo), "900000001\r\n");

    Enviador ruim;
    ruim.Declaracao.Corpo.Add({"1", "ok", {}});
    ruim.Declaracao.Corpo.Add({"1", "€", {}});
    EXPECT_THROW(ruim.Salvar(arquivo, 0), ErroEntrega);
    EXPECT_ANY_THROW(menor.Salvar(arquivo, 80));
    EXPECT_THROW(menor.Salvar(arquivo + "/sub/VLME", 0), ErroEntrega); // its parent is a file
    EXPECT_EQ(LeBytes(arquivo), "900000001\r\n");
    EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"VLME0000000001"});
}

// Where the delivery program is looked for: enviador.ini in the system
// folder, section [Enviador], key Path, a folder holding NUCLEO.DLL; names
// in any case, with or without a final slash.
TEST(Enviador_, LocalizadoPeloIniDaPastaDoSistema) {
    PastaTeste pasta;
    const QString sistema = pasta.caminho();
    const std::string programa = pasta.arquivo("Enviador").toStdString();
    QDir().mkpath(pasta.arquivo("Enviador"));
    EXPECT_FALSE(LocalizaEnviador(sistema)); // no ini
    GravaBytes(pasta.arquivo("Enviador/NUCLEO.DLL"), "");
    const struct {
        std::string ini;
        bool achou;
    } casos[] = {
        {"[Enviador]\r\nOutro=x\r\n", false},
        {"[Enviador]\r\nPath=\r\n", false},
        {"[Outro]\r\nPath=" + programa + "\r\n", false},
        {"[Enviador]\r\nPath=" + sistema.toStdString() + "/nada\r\n", false},
        {"[Enviador]\r\nPath=" + programa + "\r\n", true},
        {"[Enviador]\r\nPath=" + programa + "/\r\n", true},
    };
    for (const auto &c : casos) {
        GravaBytes(sistema + "/enviador.ini", c.ini);
        EXPECT_EQ(LocalizaEnviador(sistema), c.achou) << c.ini;
    }
    EXPECT_FALSE(LocalizaEnviador(pasta.arquivo("inexistente")));

    QFile::remove(sistema + "/enviador.ini");
    GravaBytes(sistema + "/ENVIADOR.INI", "[ENVIADOR]\r\npath=" + programa + "\r\n");
    QFile::rename(pasta.arquivo("Enviador/NUCLEO.DLL"), pasta.arquivo("Enviador/nucleo.dll"));
    EXPECT_TRUE(LocalizaEnviador(sistema));
    qputenv("VLME_PASTA_SISTEMA", sistema.toUtf8()); // the default folder
    EXPECT_TRUE(LocalizaEnviador());
    qunsetenv("VLME_PASTA_SISTEMA");
}
