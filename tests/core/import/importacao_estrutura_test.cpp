// Structural faults stop the run with their message; hostile input (huge
// lines, binary bytes, too many rows, text after the totals), a cancel, an
// unreadable file and a failing database store nothing.

#include "import/Importacao.h"
#include "store/Banco.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/PastaTeste.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vlme;
using namespace vlme::importacao;

namespace {

class EstruturaImportacao : public ::testing::Test {
  protected:
    teste::BancoTeste bt;
    store::Banco &banco = bt.banco();
    teste::PastaTeste pasta;
    teste::ProgressoTeste progresso;
    QList<QByteArray> l = teste::LinhasBoas();
    QStringList antes;

    void SetUp() override {
        teste::ConstrutorDeclaracao(banco)
            .geral()
            .modelo("Existente", 1.0)
            .nacional()
            .importadoDI();
        antes = teste::ConteudoBanco(banco);
    }

    ResultadoImportacao importa(const QByteArray &conteudo) {
        return ImportaArquivo(banco, progresso, teste::GravaArquivo(pasta, "e.txt", conteudo));
    }

    // The run stopped with `mensagem` and left the database as it was.
    void confereAbortada(const ResultadoImportacao &r, const QString &mensagem, bool bipe) {
        EXPECT_EQ(r.desfecho, Desfecho::Abortada);
        EXPECT_EQ(r.mensagem, mensagem);
        EXPECT_EQ(r.bipe, bipe);
        EXPECT_EQ(r.icone, shell::Icone::Critico);
        EXPECT_TRUE(r.declaracoes.empty());
        EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    }
};

// ---- The order and length of the records ----

TEST_F(EstruturaImportacao, UnicaLinhaQueNaoETotalizador) {
    confereAbortada(
        importa(teste::Junta({l[0]})),
        QStringLiteral(
            "Erro linha 1: Registros do Tipo 0, 1, 2, 3, 4 ausentes. Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, Tipo0Com351Caracteres) {
    confereAbortada(
        importa(teste::Junta({l[0].left(351), l[1], l[7], "900000004"})),
        QStringLiteral("Erro linha 1: o tamanho do registro tipo 0 deve ser de 352 caracteres."
                       " Tamanho lido = 351. Importação abortada. "),
        true);
}

TEST_F(EstruturaImportacao, Tipo2ComUmCaractereAMaisNaoBipa) {
    confereAbortada(
        importa(teste::Junta({l[0], l[1], l[3] + " ", l[7], "900000005"})),
        QStringLiteral("Erro linha 3: o tamanho do registro tipo 2 deve ser de 255 caracteres."
                       " Tamanho lido = 256. Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, TotalizadorComDezCaracteres) {
    auto linhas = l;
    linhas[11] = "9000000120";
    confereAbortada(
        importa(teste::Junta(linhas)),
        QStringLiteral("Erro linha 12: o tamanho do registro tipo 9 deve ser de 9 caracteres."
                       " Tamanho lido = 10. Importação abortada. "),
        true);
}

TEST_F(EstruturaImportacao, TipoDesconhecidoNoInicioBipa) {
    confereAbortada(
        importa(teste::Junta({"5" + l[0].mid(1), l[1], l[7], "900000004"})),
        QStringLiteral(
            "Erro linha 1: identificador de tipo de registro inválido. Importação abortada. "),
        true);
}

TEST_F(EstruturaImportacao, LinhaEmBrancoNoMeioNaoBipa) {
    confereAbortada(
        importa(teste::Junta({l[0], l[1], "", l[7], "900000005"})),
        QStringLiteral(
            "Erro linha 3: identificador de tipo de registro inválido. Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, SemTipo0) {
    confereAbortada(importa(teste::Junta({l[1], l[7], "900000003"})),
                    QStringLiteral("Erro linha 1 - Registro Tipo 0 ausente. Importação abortada."),
                    true);
}

TEST_F(EstruturaImportacao, Tipo1DepoisDoTipo4ComecaOutraDeclaracaoSemTipo0) {
    confereAbortada(importa(teste::Junta({l[0], l[1], l[7], l[2], "900000005"})),
                    QStringLiteral("Erro linha 4 - Registro Tipo 0 ausente. Importação abortada."),
                    true);
}

TEST_F(EstruturaImportacao, SemModelos) {
    confereAbortada(
        importa(teste::Junta({l[0], l[3], l[7], "900000004"})),
        QStringLiteral(
            "Erro linha 2 - Deve existir pelo menos um Registro Tipo 1. Importação abortada."),
        true);
}

TEST_F(EstruturaImportacao, ArquivoTerminaEmCadaTipo) {
    confereAbortada(
        importa(teste::Junta(l.mid(0, 3))),
        QStringLiteral(
            "Erro linha 3: Deve existir pelo menos um Registro Tipo 2. Importação abortada."),
        true);
    confereAbortada(
        importa(teste::Junta(l.mid(0, 5))),
        QStringLiteral(
            "Erro linha 5: Deve existir pelo menos um Registro Tipo 3. Importação abortada."),
        true);
    confereAbortada(
        importa(teste::Junta(l.mid(0, 7))),
        QStringLiteral(
            "Erro linha 7: Deve existir pelo menos um Registro Tipo 9. Importação abortada."),
        true);
    confereAbortada(
        importa(teste::Junta(l.mid(0, 8))),
        QStringLiteral(
            "Erro linha 8: Deve existir pelo menos um Registro Tipo 9. Importação abortada."),
        true);
    // The next statement's general data as the last line.
    confereAbortada(importa(teste::Junta(l.mid(0, 9))),
                    QStringLiteral("Erro linha 9: Registro Tipo 9 ausente. Importação abortada. "),
                    false);
}

TEST_F(EstruturaImportacao, ModelosSeguidosDoTotalizador) {
    confereAbortada(
        importa(teste::Junta({l[0], l[1], l[2], "900000004"})),
        QStringLiteral("Erro linha 4 - Deve existir pelo menos um Registro Tipo 3 ou Registro"
                       " Tipo 4. Importação abortada."),
        true);
}

TEST_F(EstruturaImportacao, SegundaDeclaracaoSemComponentes) {
    // The first statement's subcomponents do not count for the second.
    confereAbortada(
        importa(teste::Junta(l.mid(0, 10) + QList<QByteArray>{"900000011"})),
        QStringLiteral("Erro linha 11 - Deve existir pelo menos um Registro Tipo 3 ou Registro"
                       " Tipo 4. Importação abortada."),
        true);
}

TEST_F(EstruturaImportacao, TotalQueNaoConfere) {
    auto linhas = l;
    linhas[11] = "900000013";
    confereAbortada(
        importa(teste::Junta(linhas)),
        QStringLiteral("Erro linha 12: o somatório do número de registros (12) não confere com"
                       " o informado no registro tipo 9 (13). Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, TotalizadorComLetras) {
    auto linhas = l;
    linhas[11] = "9ABCDEFGH";
    confereAbortada(
        importa(teste::Junta(linhas)),
        QStringLiteral("Erro linha 12: o somatório do número de registros (12) não confere com"
                       " o informado no registro tipo 9 (0). Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, DadosDepoisDoTotalizador) {
    // Two files pasted together: the second would be lost without a word.
    confereAbortada(
        importa(teste::Junta(l + l)),
        QStringLiteral("Erro linha 13: há dados depois do Registro Tipo 9. Importação abortada."),
        false);
}

// ---- Hostile input ----

TEST_F(EstruturaImportacao, ArquivoVazio) {
    const ResultadoImportacao r = importa({});
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_EQ(r.mensagem,
              QStringLiteral("Ocorreu um erro, contacte o suporte técnico. 62 - Fim de"
                             " arquivo inesperado: o arquivo está vazio ou incompleto."));
    EXPECT_EQ(r.icone, shell::Icone::Critico);
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, ArquivoEmUtf8ComMarcaDeInicio) {
    confereAbortada(
        importa("\xEF\xBB\xBF" + teste::Junta(l)),
        QStringLiteral("Erro linha 1: o arquivo está codificado em UTF-8; o arquivo de"
                       " importação deve estar em Latin-1 (ISO-8859-1). Importação abortada."),
        false);
}

TEST_F(EstruturaImportacao, LinhaComprida) {
    const QByteArray comprida = l[0] + QByteArray(LimiteLinha, ' ');
    confereAbortada(
        importa(teste::Junta({l[0], comprida, l[7], "900000004"})),
        QStringLiteral("Erro linha 2: a linha tem mais de 1024 caracteres. O arquivo não está no"
                       " formato de importação do VLM-E. Importação abortada."),
        false);
    // 1024 characters is still a line; its length is then wrong for its type.
    confereAbortada(
        importa(teste::Junta({l[0], l[1].leftJustified(1024, ' '), l[7], "900000004"})),
        QStringLiteral("Erro linha 2: o tamanho do registro tipo 1 deve ser de 115 caracteres."
                       " Tamanho lido = 1024. Importação abortada. "),
        false);
}

TEST_F(EstruturaImportacao, LinhasDemais) {
    const QByteArray curtas = QByteArray("x\n").repeated(LimiteLinhas + 1);
    confereAbortada(
        importa(curtas),
        QStringLiteral(
            "Erro linha 1000001: o arquivo tem mais de 1000000 linhas. Importação abortada."),
        false);
    EXPECT_EQ(progresso.aberturas, 0);
}

long MemoriaResidenteKB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &linha : status.readAll().split('\n'))
        if (linha.startsWith("VmRSS:"))
            return linha.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

TEST_F(EstruturaImportacao, CinquentaMegabytesSemQuebraDeLinhaSaoRecusadosSemLerTudo) {
    const QString caminho = pasta.arquivo("enorme.txt");
    {
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray bloco = l[0].left(1) + QByteArray(1024 * 1024 - 1, '7');
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(f.write(bloco), bloco.size());
    }
    const long memoriaAntes = MemoriaResidenteKB();
    const ResultadoImportacao r = ImportaArquivo(banco, progresso, caminho);
    const long memoriaDepois = MemoriaResidenteKB();
    confereAbortada(
        r,
        QStringLiteral("Erro linha 1: a linha tem mais de 1024 caracteres. O arquivo não está no"
                       " formato de importação do VLM-E. Importação abortada."),
        false);
    if (memoriaAntes > 0 && memoriaDepois > 0) {
        EXPECT_LT(memoriaDepois - memoriaAntes, 8 * 1024)
            << "KB a mais: " << memoriaDepois - memoriaAntes;
    }
    EXPECT_EQ(progresso.aberturas, 0);
}

TEST_F(EstruturaImportacao, BytesAleatoriosNaoGravamNada) {
    QRandomGenerator gerador(20240229);
    for (int tentativa = 0; tentativa < 20; ++tentativa) {
        QByteArray lixo(4000 + tentativa * 997, '\0');
        for (char &c : lixo)
            c = char(gerador.bounded(256));
        const ResultadoImportacao r = importa(lixo);
        EXPECT_NE(r.desfecho, Desfecho::Sucesso);
        EXPECT_FALSE(r.mensagem.isEmpty() && r.erros.empty());
    }
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, RegistroValidoComBytesNulosEErrosDeTexto) {
    auto linhas = l;
    linhas[1][10] = '\0';
    const ResultadoImportacao r = importa(teste::Junta(linhas));
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo);
    ASSERT_EQ(r.erros.size(), 1u);
    EXPECT_EQ(
        LinhaListaErro(r.erros[0]),
        QStringLiteral("Linha 2 (reg. 1) - DESCRIÇÃO: Contém caracteres de controle ou binários."));
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, DezMilModelosNumaDeclaracao) {
    QList<QByteArray> linhas{l[0]};
    for (int i = 1; i <= 10000; ++i)
        linhas << teste::Troca(l[1], 6,
                               QStringLiteral("Modelo %1").arg(i, 5, 10, QLatin1Char('0')));
    linhas << l[7] << "900010003";
    confereAbortada(
        importa(teste::Junta(linhas)),
        QStringLiteral("Erro linha 10001: A quantidade máxima de Modelos por VLM-E é 9999."
                       " Importação abortada."),
        true);
}

TEST_F(EstruturaImportacao, DezMilImportadosSomandoSubcomponentesEComponentes) {
    // National 7 costs 150,25; 5000 subcomponents of 0,0001 x 12,5 fit in it.
    QList<QByteArray> linhas{l[0], l[1], l[3]};
    const QByteArray sub = teste::Troca(l[5], 248, "000000000001000");
    for (int i = 0; i < 5000; ++i)
        linhas << sub;
    for (int i = 0; i < 5000; ++i)
        linhas << l[7];
    linhas << "900010005";
    confereAbortada(
        importa(teste::Junta(linhas)),
        QStringLiteral("Erro linha 10003: A quantidade máxima de Componentes Importados por"
                       " VLM-E é 9999. Importação abortada."),
        true);
}

// ---- Cancel, unreadable file, failing database ----

TEST_F(EstruturaImportacao, CancelarNoMeioNaoGravaNada) {
    progresso.cancelaNaUnidade = 10;
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    EXPECT_EQ(r.desfecho, Desfecho::Cancelada);
    EXPECT_EQ(progresso.unidades, 10);
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    EXPECT_EQ(progresso.fechamentos, 1);

    teste::UsuarioRoteirizado usuario;
    teste::ProgressoTeste outro;
    outro.canceladoAntes = true;
    EXPECT_EQ(ImportaDeclaracao(banco, usuario, outro, teste::ArquivoDados("duas_declaracoes.txt"))
                  .desfecho,
              Desfecho::Cancelada);
    EXPECT_EQ(outro.unidades, 0);
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, ArquivoInexistenteOuPasta) {
    const QString inexistente = pasta.arquivo("nada.txt");
    ResultadoImportacao r = ImportaArquivo(banco, progresso, inexistente);
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_EQ(r.mensagem, "Caminho inválido (" + inexistente + ")");
    EXPECT_EQ(r.icone, shell::Icone::Exclamacao);

    r = ImportaArquivo(banco, progresso, pasta.caminho());
    EXPECT_EQ(r.mensagem, "Caminho inválido (" + pasta.caminho() + ")");
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, ArquivoSemPermissaoDeLeitura) {
    if (geteuid() == 0)
        GTEST_SKIP() << "o administrador lê qualquer arquivo";
    const QString caminho = teste::GravaArquivo(pasta, "fechado.txt", teste::Junta(l));
    QFile::setPermissions(caminho, QFile::WriteOwner);
    const ResultadoImportacao r = ImportaArquivo(banco, progresso, caminho);
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_EQ(r.mensagem, QStringLiteral("O disco está protegido contra gravação."));
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, FalhaDoBancoNoMeioDesfazTudo) {
    // The second statement's model cannot be written; the first statement is
    // already in the database by then.
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER recusa BEFORE INSERT ON MODELOS"
                                 " WHEN NEW.TX_DESCRICAO_MODELOS = 'Rádio portátil'"
                                 " BEGIN SELECT RAISE(ABORT, 'recusado pelo teste'); END"));
    teste::UsuarioRoteirizado usuario;
    const ResultadoImportacao r =
        ImportaDeclaracao(banco, usuario, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_TRUE(
        r.mensagem.startsWith(QStringLiteral("Ocorreu um erro, contacte o suporte técnico. ")))
        << r.mensagem;
    EXPECT_TRUE(r.mensagem.contains(QStringLiteral("recusado pelo teste"))) << r.mensagem;
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Critico);
    EXPECT_EQ(usuario.mensagens[0].titulo, QStringLiteral("Importação do VLME"));
}

TEST_F(EstruturaImportacao, AbortagemComBipeAvisaDepoisDoBipe) {
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    std::size_t mensagensNoBipe = 99;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso,
        teste::GravaArquivo(pasta, "a.txt", teste::Junta({l[1], l[7], "900000003"})), [&] {
            ++bipes;
            mensagensNoBipe = usuario.mensagens.size();
        });
    EXPECT_EQ(r.desfecho, Desfecho::Abortada);
    EXPECT_EQ(bipes, 1);
    EXPECT_EQ(mensagensNoBipe, 0u);
    ASSERT_EQ(usuario.mensagens.size(), 1u);
    EXPECT_EQ(usuario.mensagens[0].texto,
              QStringLiteral("Erro linha 1 - Registro Tipo 0 ausente. Importação abortada."));
    EXPECT_EQ(usuario.mensagens[0].icone, shell::Icone::Critico);
}

} // namespace
