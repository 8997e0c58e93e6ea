// The delivery file byte for byte against tests/data/entrega (typed from the
// record layouts); the run and the delivery program's search.

#include "base/ErroVLME.h"
#include "delivery/Declaracao.h"
#include "delivery/Formatos.h"
#include "delivery/Transmissao.h"
#include "import/ErrosImportacao.h"
#include "import/Importacao.h"
#include "printing/Relatorios.h"
#include "shell/Pastas.h"
#include "store/Declaracoes.h"
#include "support/Teste.h"

using namespace vlme;
using namespace vlme::delivery;
using namespace vlme::teste;
using namespace vlme::store;
using C = ConstrutorDeclaracao;
using base::Resposta;

TEST(FormatosEntrega, FormataNumero) {
    for (const QStringList &c : Casos("formata_entrega.tsv"))
        EXPECT_EQ(FormataNumero(c[0].toDouble(), c[1].toInt(), c[2].toInt()), c[3]) << c.join(' ');
}

// The statement's own CRC is not written; a later save replaces the file
// whole; a failure leaves the earlier file and no stray one.
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

// Where the delivery program is looked for: names in any case.
TEST(Enviador_, LocalizadoPeloIniDaPastaDoSistema) {
    PastaTeste pasta;
    const QString sistema = pasta.caminho();
    const QString programa = pasta.arquivo("Enviador");
    QDir().mkpath(programa);
    EXPECT_FALSE(LocalizaEnviador(sistema)); // no ini
    GravaBytes(pasta.arquivo("Enviador/NUCLEO.DLL"), "");
    for (QStringList c : Casos("enviador_ini.tsv")) {
        GravaBytes(sistema + "/enviador.ini",
                   c[0].replace("{P}", programa).replace("|", "\r\n").toStdString());
        EXPECT_EQ(LocalizaEnviador(sistema), c[1] == "1") << c[0];
    }
    EXPECT_FALSE(LocalizaEnviador(pasta.arquivo("inexistente")));

    QFile::remove(sistema + "/enviador.ini");
    GravaBytes(sistema + "/ENVIADOR.INI", "[Enviador]\r\nPath=" + programa.toStdString());
    QFile::rename(pasta.arquivo("Enviador/NUCLEO.DLL"), pasta.arquivo("Enviador/nucleo.dll"));
    EXPECT_TRUE(LocalizaEnviador(sistema));
    qputenv("VLME_PASTA_SISTEMA", sistema.toUtf8()); // the default folder
    EXPECT_TRUE(LocalizaEnviador());
    qunsetenv("VLME_PASTA_SISTEMA");
}

namespace {

class ArquivoEntrega : public ComBanco {
  protected:
    // Generates without the delivery question and compares with the expected file.
    void confere(int numero, const char *esperado) {
        delivery::Transmissao t(banco, base.pasta(), usuario, progresso);
        const QString caminho = t.GeraArquivoTransmissao(numero, false);
        EXPECT_FALSE(caminho.isEmpty()) << usuario.textos().join(" | ");
        ComparaArquivo(LeBytes(caminho), LeBytes(DadoTeste(QStringLiteral("entrega/") + esperado)));
    }

    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
};

DadosImportado Importado(const QString &descricao, double qtd, double valor, bool susp,
                         bool reducao, const QString &unidade = "UN", const QString &ncm = C::Ncm) {
    DadosImportado d = C::ImportadoPadrao(descricao, qtd, valor);
    d.comSuspensao = susp;
    d.reducaoII = reducao;
    d.unidade = unidade;
    d.ncm = ncm;
    return d;
}

// Every record type; NF rows in both stored forms and missing, one dated
// 29/02/1900 (every fourth year leaps); rounding half away from zero; zero and negative zero.
TEST_F(ArquivoEntrega, DeclaracaoCompleta) {
    ConstrutorDeclaracao c(banco);
    c.geral([](DadosGerais &d) {
        d.ppb = "Processo Produtivo Básico nº 123";
        d.denProduto = "Telefone celular com câmera";
        d.unidade = "UNIDADE";
        d.pesoBruto = 10;
        d.salarios = 1234.5;
        d.encargos = 0;
        d.coeficiente = Coeficiente::Variavel;
        d.retificador = true;
        d.vlmAnterior = "2023000012";
        d.nrProcesso = "12345678901234567";
    });
    c.modelo(DadosModelo{"Modelo básico", 1234.5, "AB-12ÇÃ"});
    c.modelo(DadosModelo{"Modelo sem código", std::nullopt, QString()});
    DadosNacional n1 = C::NacionalPadrao("Placa-mãe", 1.5, 2.25);
    n1.unidade = "PEÇA";
    n1.ncm = "85340000";
    c.nacional(n1, {"123", "A1", C::CnpjFornecedor, "15/03/2023", "ISENTO"});
    DadosNacional n2 = C::NacionalPadrao("Especificação máxima " + QString(59, 'X'),
                                         99999999.9999999, 999999999.999999);
    n2.unidade.clear();
    n2.ncm.clear();
    c.nacional(n2, {"1", {}, {}, {}, {}});
    c.nacional(C::NacionalPadrao("Componente nacional 3", 0, 0.0000005),
               {"0000000001", {}, C::CnpjFornecedor, "01/02/2024", {}});
    DadosImportado s1 = Importado("Chip de memória", 4, 2.5, true, false);
    s1.baseCalculo = true;
    c.subcomponente(1, s1, DadosDI{"2301234567", "001", "7"});
    c.subcomponenteNF(1, Importado("Conector", 10, 0.75, false, true),
                      {"123", "B", C::CnpjFornecedor, "29/02/1900", "ISENTO"});
    c.importadoDI(Importado(QString(), 0.5, 1.0000005, true, false, "KG", "01012100"),
                  DadosDI{"0000000001", "12", "123"});
    c.importadoNF(Importado("Tela de cristal líquido", 1, 30, false, true), {"45", {}, {}, {}, {}});
    // What the forms never write but stored rows may hold: national 2 without
    // its invoice row, national 3's invoice in the old masked/undelimited
    // forms and a negative-zero quantity.
    banco.executa(
        "UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = 0 WHERE NR_SQ_NACIONAL = 2");
    banco.executa("UPDATE COMPONENTES_NACIONAIS SET QTD_NACIONAL = ? WHERE NR_SQ_NACIONAL = 3",
                  {-0.0});
    banco.executa("UPDATE NF SET CNPJ_NF = '04.539.983/0001-90', DATA_EMISSAO_NF = '01022024'"
                  " WHERE NR_NF = '0000000001'");

    confere(c, "declaracao_completa.txt");
    EXPECT_TRUE(usuario.mensagens.empty());
}

// Empty fields; the largest values every width allows, texts filling their fields (with
// the first and last letters of Latin-1 beyond ASCII), a substitute statement.
TEST_F(ArquivoEntrega, VaziaEValoresMaximosDasLarguras) {
    // Just created: texts and documents are spaces, numbers and dates zeros.
    confere(ConstrutorDeclaracao(banco), "declaracao_vazia.txt");
    ConstrutorDeclaracao c(banco);
    c.geral([&](DadosGerais &d) {
        d.ppb = "À" + QString(78, 'p') + "ÿ";
        d.denProduto = QString(80, 'P');
        d.ncm = "99999999";
        d.unidade = QString(80, 'u');
        d.pesoBruto = 999999999.99999;
        d.salarios = d.encargos = 9999999999999.99;
        d.substitutivo = true;
        d.vlmAnterior = "9999999999";
        d.nrProcesso = "99999999999999999";
    });
    c.modelo(DadosModelo{QString(80, 'm'), 9999999999999.99, "123456789012345"});
    c.importadoDI(Importado(QString(80, 'i'), 99999999.9999999, 999999999.999999, true, true,
                            QString(80, 'k'), "99999999"),
                  DadosDI{"9999999999", "999", "99"});
    // Trailing spaces beyond the field still fit: they are what padding writes anyway.
    banco.executa("UPDATE MODELOS SET COD_INTERNO_MODELOS = COD_INTERNO_MODELOS || '   '");
    confere(c, "valores_maximos.txt");
}

class Geracao : public ComBanco {
  protected:
    void SetUp() override {
        QDir(base.pasta()).mkpath("sistema");
        transmissao.pastaSistema = sistema;
        transmissao.mostraPendencias = [this](int, const std::vector<checking::Pendencia> &p) {
            for (const auto &x : p)
                pendencias << x.texto;
        };
    }
    QString arquivoDe(int numero) { return shell::CaminhoArquivos(base.pasta(), numero); }
    // One the pendency check passes: one model, one imported component.
    int completa() {
        return ConstrutorDeclaracao(banco).geral().modelo("Modelo A", 100).importadoDI();
    }
    QString gera(int n, bool pergunta = false, int cancelaNa = 0) {
        ProgressoRoteirizado p(cancelaNa);
        delivery::Transmissao t(banco, base.pasta(), usuario, p);
        return t.GeraArquivoTransmissao(n, pergunta);
    }

    QString sistema = QDir(base.pasta()).filePath("sistema");
    UsuarioRoteirizado usuario;
    ProgressoRoteirizado progresso;
    delivery::Transmissao transmissao{banco, base.pasta(), usuario, progresso};
    QStringList pendencias;
};

const QString ForaDoLeiaute =
    QString::fromStdString(LeBytes(DadoTeste("entrega/fora_do_leiaute.txt")))
        .trimmed()
        .replace('\n', "\r\n");
const QString Cabecalho = ForaDoLeiaute.section("\r\n", 0, 0) + "\r\n";

TEST_F(Geracao, ProgressoPassoAPassoComUmaUnidadePorRegistro) {
    ConstrutorDeclaracao c(banco);
    c.geral().modelo("M1", 1).modelo("M2", 2).nacional().subcomponente(1, "S", 1, 1);
    c.importadoDI().importadoNF();
    ASSERT_FALSE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    // 1 + 2 models + 1 national + 1 subcomponent + 2 imported; a unit before
    // every record, the trailer too. The steps are pinned by the vlme-cli tests.
    EXPECT_EQ(std::tuple(progresso.minimo, progresso.maximo, progresso.unidades,
                         progresso.aberturas - progresso.fechamentos, progresso.permissoes.back()),
              std::tuple(0, 7, 8, 0, true));
    EXPECT_EQ(progresso.valores, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(LeBytes(arquivoDe(c)).ends_with("\r\n900000008\r\n"));
}

// An earlier file of the statement stays as it was, whatever stops the run:
// a cancel (at a model, or at the very last unit) or a field that does not fit.
TEST_F(Geracao, InterrompidaNaoDeixaArquivoNemTocaOAnterior) {
    const int n = ConstrutorDeclaracao(banco).geral().modelo("M1", 1).modelo("M2", 2);
    EXPECT_TRUE(gera(n, true, 3).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
    EXPECT_EQ(usuario.resumos(),
              QStringList("!|Operação cancelada!|Operação cancelada pelo usuário."));
    GravaBytes(arquivoDe(n), "anterior\r\n");
    EXPECT_TRUE(gera(n, false, 4).isEmpty());

    usuario.mensagens.clear();
    banco.executa("UPDATE MODELOS SET TX_DESCRICAO_MODELOS = ? WHERE NR_SQ_MODELOS = 1",
                  {QString(81, 'd')});
    EXPECT_TRUE(gera(n, true).isEmpty());
    EXPECT_EQ(usuario.resumos(),
              QStringList(Cabecalho + "\r\nRegistro 1 (modelo 1), campo \"Descrição\": o texto "
                                      "tem 81 caracteres e o campo comporta 80."));
    EXPECT_EQ(LeBytes(arquivoDe(n)), "anterior\r\n");
    EXPECT_EQ(QDir(base.pasta() + "/Arquivos").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// Every problem of the statement in one message; nothing written.
TEST_F(Geracao, DadosForaDoLeiauteListadosJuntos) {
    ConstrutorDeclaracao c(banco);
    c.geral([](store::DadosGerais &d) {
        d.unidade = "5 €";
        d.salarios = 10000000000000.0; // 14 integer digits, 13 fit
        d.retificador = d.substitutivo = true;
    });
    c.modelo("M", 1).nacional().importadoDI();
    for (const QStringList &sql : Casos("fora_do_leiaute.sql"))
        banco.executa(QString(sql[0]).replace("\\n", "\n"));

    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(c, false).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(c)));
    EXPECT_EQ(usuario.resumos(), QStringList(ForaDoLeiaute));

    // A subcomponent whose national component is gone would be a subcomponent of nothing.
    const int s =
        ConstrutorDeclaracao(banco).geral().modelo("M", 1).nacional().subcomponente(1, "S", 1, 1);
    banco.executa("DELETE FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?", {s});
    usuario.mensagens.clear();
    EXPECT_TRUE(transmissao.GeraArquivoTransmissao(s, false).isEmpty());
    EXPECT_TRUE(usuario.textos().value(0).endsWith(
        "\r\nRegistro 3 (subcomponente importado 1), campo \"Componente nacional\": o componente "
        "nacional 1, a que pertence, não existe."))
        << usuario.textos().value(0);
}

TEST_F(Geracao, PerguntaDeEntregaConformeOEnviador) {
    const int n = completa();
    const auto gera = [&](Resposta r) {
        usuario.mensagens.clear();
        usuario.responde(r);
        EXPECT_EQ(transmissao.GeraArquivoTransmissao(n, true), arquivoDe(n));
        return usuario.resumos();
    };
    QDir(base.pasta()).mkpath("enviador");
    GravaBytes(sistema + "/enviador.ini",
               "[Enviador]\r\nPath=" + base.pasta().toStdString() + "/enviador\r\n");
    GravaBytes(base.pasta() + "/enviador/NUCLEO.DLL", "");
    const QString pergunta =
        "?|Transmitir|O demonstrativo foi gerado com sucesso. Deseja entregá-lo "
        "via internet agora ?|SimNao";
    EXPECT_EQ(gera(Resposta::Nao), QStringList(pergunta));
    EXPECT_EQ(gera(Resposta::Sim), QStringList(pergunta)); // then generated again, verified
    EXPECT_EQ(progresso.aberturas, 3);
    // Yes on a statement the check refuses: not delivered.
    banco.executa("UPDATE VLME SET PPB_VLM = 'ab' WHERE NR_VLM_VLM = ?", {n});
    EXPECT_EQ(gera(Resposta::Sim),
              QStringList({pergunta, "-|ATENÇÃO|O demonstrativo não foi transmitido."}));
    EXPECT_EQ(pendencias.size(), 1);
}

TEST_F(Geracao, SoSemPendenciasENuncaJaTransmitido) {
    const int semModelo = ConstrutorDeclaracao(banco).geral().importadoDI();
    const int n = completa();
    EXPECT_THROW(transmissao.GeraArquivoTransmissao(999, false), base::ErroVLME);
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(999));
    EXPECT_FALSE(transmissao.GeraArquivoVerificado(semModelo));
    EXPECT_EQ(progresso.aberturas, 0);
    EXPECT_TRUE(transmissao.GeraArquivoVerificado(n));
    EXPECT_EQ(transmissao.ultimoArquivo(), arquivoDe(n));
    EXPECT_FALSE(QFile::exists(arquivoDe(semModelo)));
    EXPECT_TRUE(usuario.mensagens.empty()); // no delivery question, no success message
    QFile::remove(arquivoDe(n));

    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = 57");
    // The pendencies come before the refusal.
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(semModelo).isEmpty());
    EXPECT_EQ(pendencias.size(), 2);
    EXPECT_TRUE(usuario.mensagens.empty());
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_EQ(usuario.textos(), QStringList("VLM-E já transmitido. \r\nObtenha diagnóstico."));
    banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100001'");
    EXPECT_TRUE(transmissao.GeraArquivoSelecionado(n).isEmpty());
    EXPECT_FALSE(QFile::exists(arquivoDe(n)));
}

TEST_F(Geracao, ConsultasDeSituacao) {
    const int n = ConstrutorDeclaracao(banco);
    const auto situacao = [&](int nr) {
        QString s;
        for (auto *consulta :
             {NaoTransmitido, Transmitido, TransmissaoMarcada, Registrado, TemAvisos})
            s += consulta(banco, nr) ? '1' : '0';
        return s;
    };
    for (const QStringList &c : Casos("consultas_situacao.tsv")) {
        banco.executa(c[0]);
        EXPECT_EQ(situacao(n), c[1]) << c[0];
    }
    EXPECT_EQ(situacao(999), "00000");
}

// A statement whose establishment and national supplier have CNPJs with
// letters, typed in lower case in the import file: stored raised, passed by
// the pendency check, listed, printed, given its folder and delivered as they
// are. A wrong check digit, or a letter among them, is the field's error.
TEST_F(Geracao, CnpjAlfanumericoImportadoEEntregue) {
    const QString arquivo = DadoTeste("importacao/cnpj_alfanumerico.txt");
    const importacao::ResultadoImportacao r = importacao::ImportaArquivo(banco, progresso, arquivo);
    ASSERT_EQ(r.desfecho, importacao::Desfecho::Sucesso) << r.mensagem;
    const int n = r.declaracoes.at(0);
    EXPECT_EQ(Valores(banco, "SELECT CNPJ_VLM FROM VLME") + "|" +
                  Valores(banco, "SELECT group_concat(CNPJ_NF, ' ') FROM NF"),
              "12ABC34501DE35|A1B2C3D4000193 11222333000181");
    EXPECT_TRUE(transmissao.GeraArquivoVerificado(n)) << pendencias.join('\n');
    ComparaArquivo(LeBytes(transmissao.ultimoArquivo()),
                   LeBytes(DadoTeste("entrega/cnpj_alfanumerico.txt")));
    EXPECT_EQ(ListaDeclaracoes(banco).at(0).cnpj, "12.ABC.345/01DE-35");
    QStringList impresso;
    for (const printing::Bloco &b : printing::ImprimeVLM(banco, n, false).blocos)
        for (const QStringList &linha : b.linhas)
            impresso << linha;
    EXPECT_TRUE(impresso.contains("12.ABC.345/01DE-35")) << impresso.join('|');
    EXPECT_TRUE(impresso.join('|').contains("A1.B2C.3D4/0001-93")) << impresso.join('|');
    EXPECT_EQ(shell::PastaArquivos(base.pasta(), "12ABC34501DE35"),
              QDir(base.pasta()).filePath("Arquivos/12ABC34501DE"));

    const QStringList antes = ConteudoBanco(banco);
    QByteArray copia = QByteArray::fromStdString(LeBytes(arquivo));
    copia.replace("12abc34501de35", "12abc34501de36").replace("a1b2c3d4000193", "a1b2c3d40001a3");
    GravaBytes(QDir(base.pasta()).filePath("errado.txt"), copia.toStdString());
    const importacao::ResultadoImportacao errado =
        importacao::ImportaArquivo(banco, progresso, QDir(base.pasta()).filePath("errado.txt"));
    EXPECT_EQ(Mapeia(errado.erros, importacao::LinhaListaErro),
              QStringList({"Linha 1 (reg. 0) - CNPJ DO ESTABELECIMENTO: Inválido.",
                           "Linha 3 (reg. 2) - CNPJ DO FORNECEDOR: Inválido."}));
    EXPECT_EQ(ConteudoBanco(banco), antes);
}

} // namespace
