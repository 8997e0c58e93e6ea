// Imported and then generated, a statement comes back as the file that went
// in, but for what the generation writes anew; read as Latin-1 or as UTF-8,
// the same file gives the same delivery bytes.

#include "delivery/Transmissao.h"
#include "import/Importacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <gtest/gtest.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

// The delivery files of every statement of `conteudo`, imported into a fresh
// database; `r` says how the import went.
QList<QByteArray> ImportaEGera(const QByteArray &conteudo, ResultadoImportacao *r = nullptr) {
    teste::PastaTeste pasta;
    teste::BancoTeste b;
    shell::ProgressoMudo progresso;
    teste::UsuarioRoteirizado usuario;
    ResultadoImportacao proprio;
    ResultadoImportacao &resultado = r ? *r : proprio;
    resultado = ImportaArquivo(b.banco(), progresso, teste::GravaArquivo(pasta, "e.txt", conteudo));
    EXPECT_TRUE(r || resultado.desfecho == Desfecho::Sucesso) << resultado.mensagem.toStdString();
    delivery::Transmissao t(b.banco(), b.pasta(), usuario, progresso);
    QList<QByteArray> arquivos;
    for (int n : resultado.declaracoes) {
        QFile f(t.GeraArquivoTransmissao(n, false));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << n;
        arquivos << f.readAll();
    }
    return arquivos;
}

// Written anew by the generation: the constants of type 0, national numbers
// (the database's, not the file's), the zero CNPJ of a DI-based component
// (blanks); flags come back in upper case.
struct Mascara {
    int linha, pos, largura;
};
const Mascara Mascaras[] = {{1, 347, 5}, {4, 2, 4}, {5, 2, 4}, {6, 6, 4}, {7, 6, 4}, {8, 38, 14}};

QByteArray Mascarado(QByteArray linha, int numero) {
    for (const Mascara &m : Mascaras)
        if (m.linha == numero)
            linha.replace(m.pos - 1, m.largura, QByteArray(m.largura, '#'));
    return linha.toUpper();
}

TEST(IdaEVolta, GeradoDevolveOArquivoImportado) {
    const QList<QByteArray> l = teste::LinhasBoas();
    auto de1900 = l; // 29/02/1900 passes the field rules, so generation carries it
    de1900[3] = teste::Troca(l[3], 50, "19000229");
    de1900[6] = teste::Troca(l[6], 72, "19000229");
    for (const QList<QByteArray> &linhas : {l, de1900}) {
        const QList<QByteArray> arquivos = ImportaEGera(teste::Junta(linhas));
        ASSERT_EQ(arquivos.size(), 2);
        QList<QByteArray> gerados = arquivos[0].split('\n') + arquivos[1].split('\n');
        gerados.removeAll(QByteArray());
        QList<QByteArray> esperados = linhas.mid(0, 8);
        esperados << "900000009" << linhas.mid(8, 3) << "900000004";
        ASSERT_EQ(gerados.size(), esperados.size());
        for (int i = 0; i < esperados.size(); ++i) {
            const int numero = i < 9 ? i + 1 : i;
            const QByteArray g = gerados[i].endsWith('\r') ? gerados[i].chopped(1) : gerados[i];
            EXPECT_EQ(Mascarado(g, numero), Mascarado(esperados[i], numero)) << "linha " << i + 1;
        }
    }
}

TEST(IdaEVolta, Utf8GeraOMesmoArquivoQueLatin1) {
    const QByteArray latin1 = teste::Junta(teste::LinhasBoas());
    const QByteArray utf8 = QString::fromLatin1(latin1).toUtf8();
    ASSERT_GT(utf8.size(), latin1.size()); // it has accented letters
    const QList<QByteArray> esperado = ImportaEGera(latin1);
    ASSERT_EQ(esperado.size(), 2);
    EXPECT_EQ(ImportaEGera(utf8), esperado);
    EXPECT_EQ(ImportaEGera("\xEF\xBB\xBF" + utf8), esperado);
    // A character Latin-1 has not could not go into the delivery file.
    ResultadoImportacao r;
    QString texto = QString::fromLatin1(latin1);
    texto[latin1.indexOf("Modelo B")] = QChar(0x20AC); // the euro sign
    EXPECT_TRUE(ImportaEGera(texto.toUtf8(), &r).isEmpty());
    ASSERT_EQ(r.erros.size(), 1u);
    EXPECT_EQ(LinhaListaErro(r.erros[0]), QStringLiteral("Linha 2 (reg. 1) - DESCRIÇÃO: Caractere "
                                                         "fora do Latin-1 (ISO-8859-1); troque-o "
                                                         "por outro."));
}

} // namespace
