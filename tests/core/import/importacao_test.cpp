// The import against the hand-typed sound file and the rows worked out from it
// (duas_declaracoes_banco.txt). Whatever fails stores nothing.

#include "import/Importacao.h"
#include "import/LeitorLinhas.h"
#include "support/Teste.h"

#include <QRandomGenerator>

using namespace vlme;
using namespace vlme::importacao;
using namespace vlme::teste;
using Cod = LeitorLinhas::Codificacao;

namespace {

// The 12 lines of duas_declaracoes.txt without their CR LF: 0 1 1 2 2 3 3 4,
// then 0 1 4 of the second statement, then the totals.
QList<QByteArray> LinhasBoas() {
    QList<QByteArray> linhas =
        QByteArray::fromStdString(LeBytes(DadoTeste("importacao/duas_declaracoes.txt")))
            .split('\n');
    linhas.removeAll(QByteArray());
    for (QByteArray &l : linhas)
        l.chop(l.endsWith('\r') ? 1 : 0);
    return linhas;
}

QByteArray Junta(const QList<QByteArray> &linhas, const QByteArray &fim = "\r\n") {
    return linhas.join(fim) + fim;
}

// `texto` (Latin-1) written over the line from position `pos` (from 1).
QByteArray Troca(QByteArray linha, int pos, const QString &texto) {
    return linha.replace(pos - 1, texto.size(), texto.toLatin1());
}

QString GravaArquivo(const PastaTeste &pasta, const QString &nome, const QByteArray &conteudo) {
    GravaBytes(pasta.arquivo(nome), conteudo.toStdString());
    return pasta.arquivo(nome);
}

class ImportacaoTeste : public ComBanco {
  protected:
    PastaTeste pasta;
    ProgressoRoteirizado progresso;
    QList<QByteArray> l = LinhasBoas();
    QStringList antes;

    void SetUp() override {
        ConstrutorDeclaracao(banco).geral().modelo("Existente", 1.0).nacional().importadoDI();
        antes = ConteudoBanco(banco);
    }

    importacao::ResultadoImportacao importa(const QByteArray &conteudo) {
        return importacao::ImportaArquivo(banco, progresso, GravaArquivo(pasta, "a.txt", conteudo));
    }
};

struct CasoLeitor {
    const char *nome;
    QByteArray conteudo;
    Cod codificacao;
    QStringList textos;
    QList<qint64> tamanhos;
};

const QString cc = QStringLiteral("çç");

// clang-format off
const CasoLeitor CasosLeitor[] = {
    {"Vazio", "", Cod::Latin1, {}, {}},
    {"FinsMisturadosEUltimaSemFim", "a\r\nb\n\nc", Cod::Latin1, {"a", "b", "", "c"}, {1, 1, 0, 1}},
    {"Latin1", "\xE7\xE7\r\n", Cod::Latin1, {cc}, {2}},
    {"Utf8", "\xC3\xA7\xC3\xA7\r\nx\n", Cod::Utf8, {cc, "x"}, {2, 1}},
    {"Utf8ComMarca", "\xEF\xBB\xBF\xC3\xA7\xC3\xA7\n", Cod::Utf8, {cc}, {2}},
    {"Utf8InvalidoAdianteELatin1", "\xC3\xA7\n\xE7\n", Cod::Latin1, {"\u00C3\u00A7", "\u00E7"}, {2, 1}},
    {"SobrelongoNaoEUtf8", "\xC0\xAF\n", Cod::Latin1, {"\u00C0\u00AF"}, {2}},
    {"SequenciaCortadaNoFim", "a\xC3", Cod::Latin1, {"a\u00C3"}, {2}},
    {"LongaContadaNaoGuardada", QByteArray(3000, 'x') + "\r\ny", Cod::Latin1, {QString(1024, 'x'), "y"}, {3000, 1}},
    {"LongaUtf8", QByteArray("\xC3\xA7").repeated(2000) + "\n", Cod::Utf8, {QString(1024, u'ç')}, {2000}},
    // CR as the last byte of the 64 KiB buffer, LF as the first of the next.
    {"CRLFEntreBlocos", QByteArray(65535, 'a') + "\r\nb", Cod::Latin1, {QString(1024, 'a'), "b"}, {65535, 1}},
};
// clang-format on

TEST(LeitorLinhasTeste, LeCadaLinhaComSeuTamanho) {
    teste::PastaTeste pasta;
    for (const CasoLeitor &c : CasosLeitor) {
        LeitorLinhas leitor(GravaArquivo(pasta, "l.txt", c.conteudo));
        ASSERT_TRUE(leitor.abre()) << c.nome;
        const LeitorLinhas::Contagem contagem = leitor.conta();
        EXPECT_EQ(std::pair(contagem.linhas, contagem.codificacao),
                  std::pair(qint64(c.textos.size()), c.codificacao))
            << c.nome;
        QStringList textos;
        QList<qint64> tamanhos;
        for (LeitorLinhas::Linha linha; leitor.le(linha);) {
            textos << linha.texto;
            tamanhos << linha.tamanho;
        }
        EXPECT_EQ(std::pair(textos, tamanhos), std::pair(c.textos, c.tamanhos)) << c.nome;
    }
}

// "n:resto" split at its first two colons.
QStringList Partes(const QString &item) {
    const qsizetype a = item.indexOf(QLatin1Char(':')), b = item.indexOf(QLatin1Char(':'), a + 1);
    return {item.left(a), item.mid(a + 1, b - a - 1), item.mid(b + 1)};
}

// name, changes ("line:position:text"), errors ("line:FIELD:message")
class CamposImportacao : public ImportacaoTeste,
                         public ::testing::WithParamInterface<QStringList> {};

TEST_P(CamposImportacao, ListaOErroENaoGravaNada) {
    for (const QString &m : GetParam()[1].split('|')) {
        const QStringList p = Partes(m);
        QString texto = p[2];
        texto.replace(QLatin1String("\\x01"), QChar(1));
        l[p[0].toInt() - 1] = Troca(l[p[0].toInt() - 1], p[1].toInt(), texto);
    }
    const ResultadoImportacao r = importa(Junta(l));
    ASSERT_EQ(r.desfecho, Desfecho::ErrosCampo) << r.mensagem;
    QStringList esperados;
    for (const QString &e : GetParam()[2].split('|')) {
        const QStringList p = Partes(e);
        esperados << QStringLiteral("Linha %1 (reg. %2) - %3: %4")
                         .arg(p[0], QString(QLatin1Char(l[p[0].toInt() - 1].at(0))), p[1], p[2]);
    }
    EXPECT_EQ(Mapeia(r.erros, LinhaListaErro), esperados);
    EXPECT_TRUE(r.declaracoes.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

INSTANTIATE_TEST_SUITE_P(Campos, CamposImportacao,
                         ::testing::ValuesIn(teste::Casos("../importacao/casos_campos.txt")),
                         [](const auto &info) { return info.param[0].toStdString(); });

TEST_F(ImportacaoTeste, TabelaParaEm10001EntradasEAvisaAntesDaLista) {
    // 3400 models with three faults each: 10200 faults.
    QByteArray ruim = Troca(l[1], 6, QString(80, ' '));
    ruim = Troca(Troca(ruim, 86, QString(15, '0')), 101, QString(15, ' '));
    QList<QByteArray> linhas = QList<QByteArray>{l[0]} + QList<QByteArray>(3400, ruim);
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso,
        GravaArquivo(pasta, "a.txt", Junta(linhas << l[7] << "900003403")), [&] { ++bipes; });
    ASSERT_EQ(r.erros.size(), 10001u);
    // 3333 whole models (lines 2-3334), then two fields of line 3335.
    EXPECT_EQ(LinhaListaErro(r.erros.back()),
              "Linha 3335 (reg. 1) - PREÇO DE VENDA: Deve ser maior que zero.");
    const ErroImportacao &e = r.erros[1];
    EXPECT_EQ(e.nomeRegistro + "|" + e.campo + "|" + e.mensagem,
              "Informações Sobre os Modelos       |PREÇO DE VENDA" + QString(36, ' ') +
                  "|Deve ser maior que zero." + QString(46, ' '));
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
    EXPECT_EQ(usuario.resumos(), QStringList("!|Importação do VLME|" + TextoErrosDetectados));
    EXPECT_EQ(bipes, 0);
}

// The list's lines are pinned by the field cases, the written file by the window's tests.
TEST(ErrosImportacao, FalhaAoGravar) {
    teste::PastaTeste pasta;
    teste::UsuarioRoteirizado usuario;
    const QString impossivel = pasta.arquivo("nao/existe/erros.txt");
    EXPECT_FALSE(GravaErrosImportacao(
        usuario, impossivel, {ErroImportacao::Cria(QLatin1Char('1'), 3, "Código", "Vazio.")}));
    EXPECT_FALSE(QFile::exists(impossivel));
    EXPECT_TRUE(usuario.resumos().value(0).startsWith(
        "x|Geração de arquivo texto de erros da importação|Ocorreu um erro, contacte o suporte "
        "técnico. "))
        << usuario.resumos().value(0);
}

using L = QList<QByteArray>;

L modelos(const L &l, int n) {
    L r{l[0]};
    for (int i = 1; i <= n; ++i)
        r << Troca(l[1], 6, QStringLiteral("Modelo %1").arg(i, 5, 10, QLatin1Char('0')));
    return r << l[7] << QByteArray::number(900000000 + n + 3);
}

// National 7 costs 150,25; 5000 subcomponents of 0,0001 x 12,5 fit in it.
L importados(const L &l) {
    L r{l[0], l[1], l[3]};
    for (int i = 0; i < 5000; ++i)
        r << Troca(l[5], 248, "000000000001000");
    return r << L(5000, l[7]) << "900010005";
}

// The lines `linhas` names (data/casos/estrutura_importacao.tsv) out of `l`.
L Linhas(const L &l, const QString &linhas) {
    if (linhas.startsWith('{'))
        return linhas == "{importados}" ? importados(l)
               : linhas == "{modelos}"  ? modelos(l, 10000)
                                        : L(LimiteLinhas + 1, "x");
    L r;
    for (const QString &t : linhas.split(' ')) {
        const int i = t.section(QRegularExpression("[<>]"), 0, 0).toInt();
        if (t == "''")
            r << QByteArray();
        else if (t.size() > 2 && !t.contains(QRegularExpression("[<>]")))
            r << t.toLatin1();
        else
            r << (t.contains('<') ? l[i].left(t.section('<', 1).toInt())
                                  : l[i].leftJustified(t.section('>', 1).toInt(), ' '));
    }
    return r;
}

TEST_F(ImportacaoTeste, CadaFalhaEstruturalAbortaComSuaMensagem) {
    for (const QStringList &c : teste::Casos("estrutura_importacao.tsv")) {
        SCOPED_TRACE(c[0].toStdString());
        teste::UsuarioRoteirizado usuario;
        std::vector<std::size_t> mensagensNoBipe; // the beep goes before the message
        const ResultadoImportacao r = ImportaDeclaracao(
            banco, usuario, progresso, GravaArquivo(pasta, "a.txt", Junta(Linhas(l, c[1]))),
            [&] { mensagensNoBipe.push_back(usuario.mensagens.size()); });
        EXPECT_EQ(std::tuple(r.desfecho, r.mensagem, r.bipe, r.icone),
                  std::tuple(Desfecho::Abortada, c[2], c[3] == "1", base::Icone::Critico));
        EXPECT_EQ(teste::ConteudoBanco(banco), antes);
        EXPECT_EQ(mensagensNoBipe,
                  c[3] == "1" ? std::vector<std::size_t>{0} : std::vector<std::size_t>{});
        EXPECT_EQ(usuario.mensagens.back().texto, r.mensagem);
    }
}

TEST_F(ImportacaoTeste, BytesAleatoriosNaoGravamNada) {
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

TEST_F(ImportacaoTeste, CancelarNaContagemOuNoMeioNaoGravaNada) {
    teste::UsuarioRoteirizado usuario;
    // Unit 1 is the end of the count, inside the open dialog with its own step.
    for (int unidade : {1, 10}) {
        teste::ProgressoRoteirizado p(unidade);
        const auto r = ImportaDeclaracao(banco, usuario, p,
                                         teste::DadoTeste("importacao/duas_declaracoes.txt"));
        EXPECT_EQ(r.desfecho, Desfecho::Cancelada);
        EXPECT_EQ(std::tuple(p.unidades, p.passos.size(), p.aberturas, p.fechamentos),
                  std::tuple(unidade, unidade == 1 ? 1 : 10, 1, 1));
        EXPECT_EQ(p.passos.first(), "Contando as linhas do arquivo");
    }
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

TEST_F(ImportacaoTeste, FalhasDoArquivoOuDoBancoNaoGravamNada) {
    // A missing file is pinned by the vlme-cli tests; a folder is no file either.
    const ResultadoImportacao pastaLida = ImportaArquivo(banco, progresso, pasta.caminho());
    EXPECT_EQ(pastaLida.mensagem, "Caminho inválido (" + pasta.caminho() + ")");
    EXPECT_EQ(pastaLida.icone, base::Icone::Exclamacao);
    EXPECT_EQ(importa({}).mensagem, "Ocorreu um erro, contacte o suporte técnico. 62 - Fim de "
                                    "arquivo inesperado: o arquivo está vazio ou incompleto.");
    // The second statement's model cannot be written; the first is stored by then.
    banco.executa(QStringLiteral("CREATE TEMP TRIGGER recusa BEFORE INSERT ON MODELOS"
                                 " WHEN NEW.TX_DESCRICAO_MODELOS = 'Rádio portátil'"
                                 " BEGIN SELECT RAISE(ABORT, 'recusado pelo teste'); END"));
    teste::UsuarioRoteirizado usuario;
    const ResultadoImportacao r = ImportaDeclaracao(
        banco, usuario, progresso, teste::DadoTeste("importacao/duas_declaracoes.txt"));
    EXPECT_EQ(r.desfecho, Desfecho::Falha);
    EXPECT_TRUE(r.mensagem.startsWith("Ocorreu um erro, contacte o suporte técnico. ") &&
                r.mensagem.contains("recusado pelo teste"))
        << r.mensagem;
    EXPECT_EQ(usuario.mensagens.back().icone, base::Icone::Critico);
    EXPECT_EQ(teste::ConteudoBanco(banco), antes);
}

// An empty database, so that the new statements are 1 and 2.
class ImportacaoSucesso : public ImportacaoTeste {
  protected:
    void SetUp() override {}
    ResultadoImportacao importaEm(store::Banco &outro, const QByteArray &conteudo) {
        return ImportaArquivo(outro, progresso, GravaArquivo(pasta, "a.txt", conteudo));
    }
};

QStringList BancoEsperado() {
    return QString::fromStdString(
               teste::LeBytes(teste::DadoTeste("importacao/duas_declaracoes_banco.txt")))
        .split('\n', Qt::SkipEmptyParts);
}

TEST_F(ImportacaoSucesso, DuasDeclaracoesGravamCadaColunaEDizemAsContagens) {
    teste::UsuarioRoteirizado usuario;
    int bipes = 0;
    const ResultadoImportacao r =
        ImportaDeclaracao(banco, usuario, progresso,
                          teste::DadoTeste("importacao/duas_declaracoes.txt"), [&] { ++bipes; });
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    EXPECT_EQ(r.declaracoes, (std::vector<int>{1, 2}));
    EXPECT_EQ(teste::ConteudoBanco(banco), BancoEsperado());
    EXPECT_EQ(usuario.resumos().join('\n').toStdString(),
              teste::LeBytes(teste::DadoTeste("importacao/sucesso.txt")));
    EXPECT_EQ(bipes, 0);
    // The count's step and unit, then one per line; the totals line is not announced.
    EXPECT_EQ(std::tuple(progresso.aberturas, progresso.fechamentos, progresso.maximo,
                         progresso.valores.back(), progresso.unidades),
              std::tuple(1, 1, 12, 12, 13));
    ASSERT_EQ(progresso.passos.size(), 12);
    EXPECT_EQ(progresso.passos[0] + "|" + progresso.passos[1] + "|" + progresso.passos[11],
              "Contando as linhas do arquivo|Importando 1 de 11|Importando 11 de 11");
}

TEST_F(ImportacaoSucesso, VariantesDoArquivoGravamOMesmo) {
    // Line ends, a missing last one, blank lines at the end; UTF-8 with or
    // without its mark reads as the Latin-1 file does.
    const QByteArray utf8 = QString::fromLatin1(Junta(l)).toUtf8();
    for (const QByteArray &conteudo : {Junta(l, "\n"), Junta(l).chopped(2),
                                       Junta(l) + "\r\n   \r\n", utf8, "\xEF\xBB\xBF" + utf8}) {
        teste::BancoTeste outro;
        const ResultadoImportacao r = importaEm(outro.banco(), conteudo);
        ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
        EXPECT_EQ(teste::ConteudoBanco(outro.banco()), BancoEsperado());
    }
}

TEST_F(ImportacaoSucesso, DeclaracoesExistentesFicamIntactas) {
    teste::ConstrutorDeclaracao(banco).geral().modelo("Modelo Básico", 10.0).nacional();
    const QStringList antes = ConteudoTabela(banco, "MODELOS");
    const ResultadoImportacao r =
        ImportaArquivo(banco, progresso, teste::DadoTeste("importacao/duas_declaracoes.txt"));
    ASSERT_EQ(r.desfecho, Desfecho::Sucesso) << r.mensagem;
    // A model of another statement with the same description is no repeat.
    const QStringList modelos = ConteudoTabela(banco, "MODELOS");
    EXPECT_EQ(modelos.mid(0, antes.size()), antes);
    EXPECT_EQ(modelos.mid(antes.size()),
              (QStringList{"MODELOS:2|1|'Modelo Básico'|'MB-01'|1999.9",
                           "MODELOS:2|2|'Modelo Avançado'|'MA-02'|2500.0",
                           "MODELOS:3|1|'Rádio portátil'|'RP'|100.0"}));
}

TEST_F(ImportacaoSucesso, CasosLimiteEUmCaractereForaDoLatin1) {
    const ResultadoImportacao soTotal = importa("900000001\r\n");
    ASSERT_EQ(soTotal.desfecho, Desfecho::Sucesso) << soTotal.mensagem;
    EXPECT_EQ(soTotal.contadores.total(), 0);
    // Models followed by a type 4, no national component.
    const ResultadoImportacao semNacional = importa(Junta({l[8], l[9], l[10], "900000004"}));
    EXPECT_EQ(semNacional.contadores.registros, (std::array<int, 5>{1, 1, 0, 0, 1}));
    // Line 7 made a second subcomponent of national 7 (unit cost 150,25):
    // 4 x 12,5 + 2 x 50,125 = 150,25 exactly.
    teste::BancoTeste outro;
    l[6] = Troca(Troca(l[6], 6, "0007"), 264, "000000050125000");
    ASSERT_EQ(importaEm(outro.banco(), Junta(l)).desfecho, Desfecho::Sucesso);
    EXPECT_EQ(ConteudoTabela(outro.banco(), "SUBCOMP"),
              (QStringList{"SUBCOMP:1|1|1|1", "SUBCOMP:1|2|1|0"}));
    // A character Latin-1 has not could not go into the delivery file.
    QString texto = QString::fromLatin1(Junta(l));
    texto[texto.indexOf("Modelo B")] = QChar(0x20AC); // the euro sign
    const ResultadoImportacao r = importa(texto.toUtf8());
    ASSERT_EQ(r.erros.size(), 1u);
    EXPECT_EQ(LinhaListaErro(r.erros.front()),
              QString("Linha 2 (reg. 1) - DESCRIÇÃO: Caractere fora do Latin-1 (ISO-8859-1); "
                      "troque-o por outro."));
}

} // namespace
