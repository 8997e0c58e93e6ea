// Structural faults stop the run with their message; hostile input (huge
// lines, binary bytes, too many rows, text after the totals), a cancel, an
// unreadable file and a failing database store nothing.

#include "import/Importacao.h"
#include "support/UsuarioRoteirizado.h"

#include "ArquivosImportacao.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>

using namespace vlme;
using namespace vlme::importacao;

namespace {

using L = QList<QByteArray>;

struct Caso {
    const char *nome;
    std::function<L(L)> linhas; // from the 12 lines of the sound file
    const char *mensagem;
    bool bipe;
};

L modelos(const L &l, int n) {
    L r{l[0]};
    for (int i = 1; i <= n; ++i)
        r << teste::Troca(l[1], 6, QStringLiteral("Modelo %1").arg(i, 5, 10, QLatin1Char('0')));
    return r << l[7] << QByteArray::number(900000000 + n + 3);
}

// National 7 costs 150,25; 5000 subcomponents of 0,0001 x 12,5 fit in it.
L importados(const L &l) {
    L r{l[0], l[1], l[3]};
    for (int i = 0; i < 5000; ++i)
        r << teste::Troca(l[5], 248, "000000000001000");
    return r << L(5000, l[7]) << "900010005";
}

// clang-format off
const Caso Casos[] = {
    {"UnicaLinhaQueNaoETotalizador", [](L l) { return L{l[0]}; }, "Erro linha 1: Registros do Tipo 0, 1, 2, 3, 4 ausentes. Importação abortada. ", false},
    {"Tipo0Com351", [](L l) { return L{l[0].left(351), l[1], l[7], "900000004"}; }, "Erro linha 1: o tamanho do registro tipo 0 deve ser de 352 caracteres. Tamanho lido = 351. Importação abortada. ", true},
    {"Tipo2ComUmAMais", [](L l) { return L{l[0], l[1], l[3] + " ", l[7], "900000005"}; }, "Erro linha 3: o tamanho do registro tipo 2 deve ser de 255 caracteres. Tamanho lido = 256. Importação abortada. ", false},
    {"Linha1024", [](L l) { return L{l[0], l[1].leftJustified(1024, ' '), l[7], "900000004"}; }, "Erro linha 2: o tamanho do registro tipo 1 deve ser de 115 caracteres. Tamanho lido = 1024. Importação abortada. ", false},
    {"LinhaAlemDoLimite", [](L l) { return L{l[0], l[1] + QByteArray(5000, ' '), l[7], "900000004"}; }, "Erro linha 2: o tamanho do registro tipo 1 deve ser de 115 caracteres. Tamanho lido = 5115. Importação abortada. ", false},
    {"TotalizadorComDez", [](L l) { l[11] = "9000000120"; return l; }, "Erro linha 12: o tamanho do registro tipo 9 deve ser de 9 caracteres. Tamanho lido = 10. Importação abortada. ", true},
    {"TipoDesconhecidoNoInicio", [](L l) { return L{"5" + l[0].mid(1), l[1], l[7], "900000004"}; }, "Erro linha 1: identificador de tipo de registro inválido. Importação abortada. ", true},
    {"LinhaEmBrancoNoMeio", [](L l) { return L{l[0], l[1], "", l[7], "900000005"}; }, "Erro linha 3: identificador de tipo de registro inválido. Importação abortada. ", false},
    {"SemTipo0", [](L l) { return L{l[1], l[7], "900000003"}; }, "Erro linha 1 - Registro Tipo 0 ausente. Importação abortada.", true},
    {"Tipo1DepoisDoTipo4", [](L l) { return L{l[0], l[1], l[7], l[2], "900000005"}; }, "Erro linha 4 - Registro Tipo 0 ausente. Importação abortada.", true},
    {"SemModelos", [](L l) { return L{l[0], l[3], l[7], "900000004"}; }, "Erro linha 2 - Deve existir pelo menos um Registro Tipo 1. Importação abortada.", true},
    {"TerminaNoTipo1", [](L l) { return l.mid(0, 3); }, "Erro linha 3: Deve existir pelo menos um Registro Tipo 2. Importação abortada.", true},
    {"TerminaNoTipo2", [](L l) { return l.mid(0, 5); }, "Erro linha 5: Deve existir pelo menos um Registro Tipo 3. Importação abortada.", true},
    {"TerminaNoTipo3", [](L l) { return l.mid(0, 7); }, "Erro linha 7: Deve existir pelo menos um Registro Tipo 9. Importação abortada.", true},
    {"TerminaNoTipo4", [](L l) { return l.mid(0, 8); }, "Erro linha 8: Deve existir pelo menos um Registro Tipo 9. Importação abortada.", true},
    {"TerminaNoTipo0", [](L l) { return l.mid(0, 9); }, "Erro linha 9: Registro Tipo 9 ausente. Importação abortada. ", false},
    {"ModelosSeguidosDoTotalizador", [](L l) { return L{l[0], l[1], l[2], "900000004"}; }, "Erro linha 4 - Deve existir pelo menos um Registro Tipo 3 ou Registro Tipo 4. Importação abortada.", true},
    // The first statement's subcomponents do not count for the second.
    {"SegundaSemComponentes", [](L l) { return l.mid(0, 10) << "900000011"; }, "Erro linha 11 - Deve existir pelo menos um Registro Tipo 3 ou Registro Tipo 4. Importação abortada.", true},
    {"TotalQueNaoConfere", [](L l) { l[11] = "900000013"; return l; }, "Erro linha 12: o somatório do número de registros (12) não confere com o informado no registro tipo 9 (13). Importação abortada. ", false},
    {"TotalizadorComLetras", [](L l) { l[11] = "9ABCDEFGH"; return l; }, "Erro linha 12: o somatório do número de registros (12) não confere com o informado no registro tipo 9 (0). Importação abortada. ", false},
    // Two files pasted together: the second would be lost without a word.
    {"DadosDepoisDoTotalizador", [](L l) { return l + l; }, "Erro linha 13: há dados depois do Registro Tipo 9. Importação abortada.", false},
    {"DezMilImportados", importados, "Erro linha 10003: A quantidade máxima de Componentes Importados por VLM-E é 9999. Importação abortada.", true},
    {"LinhasDemais", [](L) { return L(LimiteLinhas + 1, "x"); }, "Erro linha 1000001: o arquivo tem mais de 1000000 linhas. Importação abortada.", false},
    {"DezMilModelos", [](L l) { return modelos(l, 10000); }, "Erro linha 10001: A quantidade máxima de Modelos por VLM-E é 9999. Importação abortada.", true},
};
// clang-format on

class EstruturaImportacao : public teste::ImportacaoTeste {
  protected:
    void confereAbortada(const ResultadoImportacao &r, const QString &mensagem, bool bipe) {
        EXPECT_EQ(r.desfecho, Desfecho::Abortada);
        EXPECT_EQ(r.mensagem, mensagem);
        EXPECT_EQ(r.bipe, bipe);
        EXPECT_EQ(r.icone, shell::Icone::Critico);
        EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    }
};

TEST_F(EstruturaImportacao, CadaFalhaEstruturalAbortaComSuaMensagem) {
    for (const Caso &c : Casos) {
        SCOPED_TRACE(c.nome);
        teste::UsuarioRoteirizado usuario;
        std::vector<std::size_t> mensagensNoBipe; // the beep goes before the message
        const ResultadoImportacao r =
            ImportaDeclaracao(banco, usuario, progresso,
                              teste::GravaArquivo(pasta, "a.txt", teste::Junta(c.linhas(l))),
                              [&] { mensagensNoBipe.push_back(usuario.mensagens.size()); });
        confereAbortada(r, QString::fromUtf8(c.mensagem), c.bipe);
        EXPECT_EQ(mensagensNoBipe,
                  c.bipe ? std::vector<std::size_t>{0} : std::vector<std::size_t>{});
        EXPECT_EQ(usuario.mensagens.back().texto, r.mensagem);
    }
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

TEST_F(EstruturaImportacao, CancelarNaContagemOuNoMeioNaoGravaNada) {
    teste::UsuarioRoteirizado usuario;
    // Unit 1 is the end of the count, inside the open dialog with its own step.
    for (int unidade : {1, 10}) {
        teste::ProgressoRoteirizado p(unidade);
        const auto r =
            ImportaDeclaracao(banco, usuario, p, teste::ArquivoDados("duas_declaracoes.txt"));
        EXPECT_EQ(r.desfecho, Desfecho::Cancelada);
        EXPECT_EQ(std::tuple(p.unidades, p.passos.size(), p.aberturas, p.fechamentos),
                  std::tuple(unidade, unidade == 1 ? 1 : 10, 1, 1));
        EXPECT_EQ(p.passos.first(), "Contando as linhas do arquivo");
    }
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(EstruturaImportacao, FalhasDoArquivoOuDoBancoNaoGravamNada) {
    // A missing file is pinned by the vlme-cli tests; a folder is no file either.
    const ResultadoImportacao pastaLida = ImportaArquivo(banco, progresso, pasta.caminho());
    EXPECT_EQ(pastaLida.mensagem, "Caminho inválido (" + pasta.caminho() + ")");
    EXPECT_EQ(pastaLida.icone, shell::Icone::Exclamacao);
    EXPECT_EQ(importa({}).mensagem, "Ocorreu um erro, contacte o suporte técnico. 62 - Fim de "
                                    "arquivo inesperado: o arquivo está vazio ou incompleto.");
    // The second statement's model cannot be written; the first is stored by then.
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER recusa BEFORE INSERT ON MODELOS"
                                 " WHEN NEW.TX_DESCRICAO_MODELOS = 'Rádio portátil'"
                                 " BEGIN SELECT RAISE(ABORT, 'recusado pelo teste'); END"));
    teste::UsuarioRoteirizado usuario;
    const ResultadoImportacao r =
        ImportaDeclaracao(banco, usuario, progresso, teste::ArquivoDados("duas_declaracoes.txt"));
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_TRUE(r.mensagem.startsWith("Ocorreu um erro, contacte o suporte técnico. ") &&
                r.mensagem.contains("recusado pelo teste"))
        << r.mensagem;
    EXPECT_EQ(usuario.mensagens.back().icone, shell::Icone::Critico);
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

} // namespace
