#include "ui/shell/Main.h"

#include "base/Erros.h"
#include "shell/BancoEquipe.h"
#include "shell/ConfiguracoesRegionais.h"
#include "shell/CopiaUnica.h"
#include "shell/Inicializacao.h"
#include "shell/Pastas.h"
#include "shell/Programa.h"
#include "ui/shell/EsperaBanco.h"
#include "ui/shell/EstiloVLME.h"
#include "ui/shell/UsuarioJanela.h"
#include "ui/shell/frmSplash.h"
#include "ui/shell/mdiPrincipal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Resources of a static library are registered by hand, at global scope.
static void registraIcone() {
    Q_INIT_RESOURCE(icone);
}

namespace vlme::ui {

bool InstalaTraducoesQt(QCoreApplication &app) {
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool instalado = false;
    const auto instala = [&](const auto &carrega) {
        auto *tradutor = new QTranslator(&app);
        if (carrega(*tradutor) && QCoreApplication::installTranslator(tradutor))
            instalado = true;
        else
            delete tradutor;
    };
    // The Brazilian catalog is the complete one; another Portuguese of the
    // user's goes on top, and what it lacks still comes from the first.
    instala([&](QTranslator &t) { return t.load(QStringLiteral("qt_pt_BR"), pasta); });
    const QLocale usuario;
    if (usuario.language() == QLocale::Portuguese && usuario.territory() != QLocale::Brazil)
        instala([&](QTranslator &t) {
            return t.load(usuario, QStringLiteral("qt"), QStringLiteral("_"), pasta);
        });
    return instalado;
}

int Main(int argc, char *argv[]) {
    // The usage needs no screen: asked for on a terminal without one, it is
    // still printed instead of the program stopping for want of a display.
    const bool semTela = qEnvironmentVariableIsEmpty("DISPLAY") &&
                         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    for (int i = 1; i < argc && semTela; ++i)
        if (qstrcmp(argv[i], "-h") == 0 || qstrcmp(argv[i], "--help") == 0 ||
            qstrcmp(argv[i], "--help-all") == 0)
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VLME"));
    QApplication::setApplicationName(QStringLiteral("VLME"));
    // No display name: the window system would append it to every title,
    // cutting the short titles of the messages ("Pendências — VLM-E").
    shell::PreparaPrograma();
    InstalaTraducoesQt(app);
    InstalaEstilo();
    // Dates, sizes and file kinds in the standard dialogs speak Brazilian
    // Portuguese too, whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    registraIcone();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icone/vlme.png")));

    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral("VLM-E"));
    opcoes.addHelpOption();
    const QCommandLineOption opcaoPasta(QStringLiteral("pasta"),
                                        QStringLiteral("Pasta de dados do programa."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption opcaoUrl(QStringLiteral("url-diagnostico"),
                                      QStringLiteral("Endereço do servidor de diagnóstico."),
                                      QStringLiteral("URL"));
    const QCommandLineOption opcaoBanco(
        QStringLiteral("banco"), QStringLiteral("Banco de dados da equipe (postgresql://...)."),
        QStringLiteral("URL"));
    // For tests and automation: a statement held open from the start.
    const QCommandLineOption opcaoAbrir(QStringLiteral("abrir"),
                                        QStringLiteral("Abre a declaração N ao iniciar."),
                                        QStringLiteral("N"));
    opcoes.addOption(opcaoPasta);
    opcoes.addOption(opcaoUrl);
    opcoes.addOption(opcaoAbrir);
    opcoes.addOption(opcaoBanco);
    opcoes.process(app);

    UsuarioJanela usuario;
    shell::Programa programa;
    programa.pasta = shell::EscolhePastaPrograma(opcoes.value(opcaoPasta));
    if (!shell::CriaPastaPrograma(programa.pasta, usuario))
        return 3;

    shell::CopiaUnica copiaUnica(programa.pasta);
    if (!copiaUnica.obtem()) {
        usuario.mensagem(QStringLiteral("ERRO"), shell::MensagemOutraCopia, base::Icone::Exclamacao,
                         base::Botoes::Ok);
        return 1;
    }

    base::Catalogo();
    programa.versao = QString::fromLatin1(shell::Versao);
    programa.urlDiagnostico = shell::EscolheURLDiagnostico(opcoes.value(opcaoUrl));

    shell::ConfiguracoesRegionaisIni regionais;
    const QStringList diferentes = shell::ConfiguracoesDiferentes(regionais);
    if (!diferentes.isEmpty()) {
        if (usuario.mensagem(QString(), shell::PerguntaConfiguracoes(diferentes),
                             base::Icone::Pergunta, base::Botoes::SimNao) != base::Resposta::Sim)
            return 0;
        shell::CorrigeConfiguracoes(regionais);
    }

    // Between the splash and the main window no window is open.
    app.setQuitOnLastWindowClosed(false);
    frmSplash splash(programa.versao);
    mdiPrincipal principal(programa, usuario);
    EsperaBanco espera(programa.banco, &principal);
    usuario.definePai(&principal);
    QObject::connect(&splash, &frmSplash::fechado, &app, [&] {
        usuario.definePai(nullptr);
        const QString url =
            shell::EscolheBanco(opcoes.value(opcaoBanco), shell::BancoLembrado().url());
        if (!shell::AbreBancoEscolhido(programa.pasta, url, programa.banco, usuario, true,
                                       &programa.senhaBanco)) {
            QApplication::exit(3);
            return;
        }
        if (programa.banco.servidor())
            programa.urlBanco = url;
        usuario.definePai(&principal);
        principal.mostraBanco(!url.isEmpty());
        principal.show();
        app.setQuitOnLastWindowClosed(true);
        if (const int abrir = opcoes.value(opcaoAbrir).toInt(); abrir > 0)
            principal.abre(abrir);
    });
    splash.show();
    return app.exec();
}

} // namespace vlme::ui
