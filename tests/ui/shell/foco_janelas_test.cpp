// Every window opens with the keyboard where a user acts first: on the list to
// choose from, in the field to type, or on the button that closes; and Tab
// goes through a form in the order of the screen, past the lookup buttons.

#include "import/ErrosImportacao.h"
#include "ui/Janelas.h"
#include "ui/import/FormErrImport.h"
#include "ui/shell/frmGauge.h"

#include <map>

using namespace vlme;
using C = teste::ConstrutorDeclaracao;

namespace {

using FocoJanelas = teste::Janelas;

// The control with the keyboard (its name, else a button's text) or, when
// `cadeia`, the Tab stops from it round to it again.
QString foco(QWidget *janela, bool cadeia) {
    QWidget *inicio = janela->focusWidget();
    QStringList nomes;
    for (QWidget *w = inicio; w && nomes.size() < 40;) {
        const auto *b = qobject_cast<const QAbstractButton *>(w);
        nomes << (b && w->objectName().isEmpty() ? b->text() : w->objectName());
        if (!cadeia)
            break;
        QTest::keyClick(w, Qt::Key_Tab);
        if ((w = janela->focusWidget()) == inicio)
            break;
    }
    return nomes.isEmpty() ? "(nenhum)" : nomes.join(' ');
}

// The same once the modal window `abrir` shows is active; then closed.
QString focoAoAbrir(bool cadeia, const std::function<void()> &abrir) {
    QString nome = "(nenhuma janela)";
    teste::QuandoAbrirem({[&](QWidget *w) {
        QApplication::setActiveWindow(w); // as the desktop does on showing it
        nome = foco(w, cadeia);
        w->close();
    }});
    abrir();
    return nome;
}

// The same for a window that is not modal, once `mostra` has shown it.
QString focoAoMostrar(QWidget &janela, const std::function<void()> &mostra) {
    mostra();
    if (!QTest::qWaitForWindowActive(&janela))
        return "(janela inativa)";
    const QString nome = foco(&janela, false);
    janela.hide();
    return nome;
}

} // namespace

TEST_F(FocoJanelas, CadaJanelaAbreOndeOUsuarioAgePrimeiroETabSegueATela) {
    C d(programa.banco);
    d.geral([](store::DadosGerais &g) {
         g.coeficiente = store::Coeficiente::Variavel;
         g.retificador = true;
     })
        .modelo("M", 1)
        .nacional("N", 1, 50)
        .subcomponente(1, "S", 1, 2);
    d.subcomponenteNF(1, C::ImportadoPadrao("SN", 1, 2), C::NFPadrao());
    d.importadoDI("DI").importadoNF("NF");
    const int n = d;
    for (const QStringList &sql : teste::Casos("foco_ao_abrir.sql"))
        programa.banco.executa(sql[0], QVariantList(sql[0].count('?'), n));
    const std::vector<importacao::ErroImportacao> erros = {
        importacao::ErroImportacao::Cria('1', 3, "Denominação", "Preenchimento obrigatório.")};
    ui::UsuarioJanela janelas;
    ui::frmAjuda ajuda;
    ui::frmGauge gauge(usuario);
    auto &banco = programa.banco;
    // Each window from its row's numbers `a`; `c`: the Tab chain is asked for.
    using Abre = std::function<QString(const QList<int> &a, bool c)>;
    const auto modal = [](const std::function<void(const QList<int> &)> &abrir) -> Abre {
        return [abrir](const QList<int> &a, bool c) { return focoAoAbrir(c, [&] { abrir(a); }); };
    };
    const std::map<QString, Abre> janela = {
        {"frmImportados",
         modal([&](auto a) { ui::frmImportados(banco, usuario, n, a[0], a[1], a[2]).exec(); })},
        {"frmNacionais",
         modal([&](auto a) { ui::frmNacionais(banco, usuario, n, a[0], a[1]).exec(); })},
        {"frmModelos",
         modal([&](auto a) { ui::frmModelos(banco, usuario, n, a[0], a[1]).exec(); })},
        {"frmCentral",
         [&](auto a, bool c) {
             banco.executa("UPDATE VLME SET NR_TRANSMISSAO_VLM = ?", {a[0]});
             return foco(abreCentral(n).get(), c);
         }},
        {"frmVLMs", modal([&](auto a) {
             ui::frmVLMs f(programa, usuario, progresso);
             f.setOperacaoVLM(a[0]);
             f.exec();
         })},
        {"frmNovo", modal([&](auto) { ui::frmNovo(programa, usuario).exec(); })},
        {"frmPendencias", modal([&](auto a) {
             ui::frmPendencias f;
             a[0] ? f.mostraDiagnostico(banco, n, usuario)
                  : f.mostraPendencias({{"ERRO_CPF_INVALIDO", "CPF inválido."}});
             f.exec();
         })},
        {"FormErrImport", modal([&](auto) {
             ui::FormErrImport(usuario, pasta.caminho(), "vlme.txt", erros).exec();
         })},
        {"frmAssistNCM", modal([&](auto) { ui::frmAssistNCM(banco, usuario).escolhe(); })},
        {"FrmAssistUnM", modal([&](auto) { ui::FrmAssistUnM(banco, usuario).escolhe(); })},
        {"frmSobre", modal([&](auto) { ui::frmSobre(programa).exec(); })},
        {"frmInformacoesSistema", modal([&](auto) { ui::frmInformacoesSistema(programa).exec(); })},
        {"confirmação", modal([&](auto) {
             janelas.mensagem("Excluir", "Deseja realmente excluir?", base::Icone::Pergunta,
                              base::Botoes::SimNaoPadraoNao);
         })},
        {"arquivo",
         modal([&](auto) { janelas.escolheArquivoAbrir("Restaurar", "*.*", pasta.caminho()); })},
        {"frmAjuda",
         [&](auto a, bool) {
             return focoAoMostrar(ajuda, [&] {
                 a[0] == 0   ? void(ajuda.mostraTopico(shell::ContextoAjuda::Modelo))
                 : a[0] == 1 ? ajuda.mostraConteudo()
                             : ajuda.mostraIndice();
             });
         }},
        {"frmGauge",
         [&](auto, bool) {
             return focoAoMostrar(gauge, [&] { static_cast<base::Progresso &>(gauge).abre(); });
         }},
    };
    for (const QStringList &c : teste::Casos("foco_ao_abrir.tsv")) {
        QList<int> numeros;
        for (const QString &x : c[1].split(' ', Qt::SkipEmptyParts))
            numeros << x.toInt();
        EXPECT_EQ(janela.at(c[0])(numeros, c[2].contains(' ')), c[2]) << c[0] << ' ' << c[1];
    }
    EXPECT_TRUE(usuario.mensagens.empty()) << usuario.textos().join('\n');
}
