#include "shell/Inicializacao.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "checking/Calculos.h"
#include "shell/BancoEquipe.h"
#include "shell/FronteiraComando.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Esquema.h"
#include "store/Historico.h"
#include "store/servidor/UrlServidor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace vlme::shell {

namespace {

const QString TituloErro = QStringLiteral("ERRO");

void avisaErro(base::InterfaceUsuario &usuario, const QString &texto) {
    usuario.mensagem(TituloErro, texto, base::Icone::Critico, base::Botoes::Ok);
}

QString nativo(const QString &caminho) {
    return QDir::toNativeSeparators(caminho);
}

// Builds the template under a temporary name first: a crash never leaves a
// half-made VLME.MOD that every later start would copy.
bool criaModelo(const QString &modelo, base::InterfaceUsuario &usuario) {
    const QString temporario = modelo + QStringLiteral(".novo");
    QFile::remove(temporario);
    try {
        store::Banco banco;
        banco.cria(temporario);
    } catch (const store::ErroBanco &e) {
        QFile::remove(temporario);
        avisaErro(usuario, e.mensagem());
        return false;
    }
    if (!QFile::rename(temporario, modelo)) {
        QFile::remove(temporario);
        avisaErro(usuario,
                  QStringLiteral("Não foi possível criar o arquivo %1.").arg(nativo(modelo)));
        return false;
    }
    return true;
}

// A template made by the previous version names the text collation in its
// schema. It holds no rows, so it is made again from the schema code.
bool renovaModelo(const QString &modelo, base::InterfaceUsuario &usuario) {
    if (store::ExaminaArquivo(modelo) != store::TipoArquivo::Nosso)
        return true;
    try {
        store::Banco banco;
        banco.abreSomenteLeitura(modelo);
        if (!store::NomeiaColacao(banco))
            return true;
    } catch (const store::ErroBanco &e) {
        avisaErro(
            usuario,
            QStringLiteral("Erro no banco de dados %1:\n%2").arg(nativo(modelo), e.mensagem()));
        return false;
    }
    QFile::remove(modelo);
    return criaModelo(modelo, usuario);
}

} // namespace

void AbreServidor(const QString &url, store::Banco &banco, base::InterfaceUsuario &usuario,
                  QString *senha) {
    QString tentada = senha ? *senha : QString();
    for (int vez = 0;; ++vez) {
        try {
            banco.abreServidor(URLComSenha(url, tentada));
            if (senha)
                *senha = tentada;
            return;
        } catch (const store::ErroBanco &e) {
            if (!senha || e.codigoNativo() != QLatin1String("28P01"))
                throw;
            const QUrl u(url);
            const QString digitada = usuario.pedeTexto(
                base::Mensagem("TITULO_BANCO_EQUIPE"),
                base::Mensagem(vez == 0 && tentada.isEmpty() ? "PERGUNTA_SENHA_SERVIDOR"
                                                             : "PERGUNTA_SENHA_NAO_CONFERE",
                               u.userName().isEmpty() ? qEnvironmentVariable("USER") : u.userName(),
                               u.host()),
                true);
            if (digitada.isEmpty())
                throw;
            tentada = digitada;
        }
    }
}

void PreparaPrograma() {
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Versao));
    store::DefineCalculoFiguras([](store::Banco &banco, int numero) {
        const checking::Resumo r = checking::CalculaCustos(banco, numero);
        return store::Figuras{r.custoTotal, r.coeficiente};
    });
}

QString EscolheURLDiagnostico(const QString &opcao) {
    QString host = opcao;
    if (host.isEmpty())
        host = qEnvironmentVariable("VLME_URL_DIAGNOSTICO");
    if (host.isEmpty())
        host = QString::fromLatin1(HostDiagnosticoPadrao);
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host + QString::fromLatin1(CaminhoDiagnostico);
}

bool CopiaArquivoPadrao(const QString &de, const QString &para, QString *erro) {
    // QFile::copy writes to a temporary file and renames it: a failure (a full
    // disk) leaves no partial copy behind.
    QFile origem(de);
    if (origem.copy(para))
        return true;
    if (erro)
        *erro = origem.errorString();
    return false;
}

bool CriaPastaPrograma(const QString &pastaPrograma, base::InterfaceUsuario &usuario) {
    if (QDir().mkpath(pastaPrograma) && QFileInfo(pastaPrograma).isDir())
        return true;
    avisaErro(
        usuario,
        QStringLiteral("Não foi possível criar a pasta de dados %1.").arg(nativo(pastaPrograma)));
    return false;
}

bool AbreBancoPrograma(const QString &pastaPrograma, store::Banco &banco,
                       base::InterfaceUsuario &usuario, const CopiaArquivo &copia) {
    if (!CriaPastaPrograma(pastaPrograma, usuario))
        return false;
    const QDir pasta(pastaPrograma);
    const QString caminhoBanco = pasta.filePath(QString::fromLatin1(NomeBanco));
    const QString caminhoModelo = pasta.filePath(QString::fromLatin1(NomeModelo));
    if (!renovaModelo(caminhoModelo, usuario))
        return false;

    if (!QFileInfo::exists(caminhoBanco)) {
        if (!QFileInfo::exists(caminhoModelo) && !criaModelo(caminhoModelo, usuario))
            return false;
        const store::TipoArquivo tipoModelo = store::ExaminaArquivo(caminhoModelo);
        if (tipoModelo != store::TipoArquivo::Nosso) {
            avisaErro(usuario, store::MotivoRecusa(tipoModelo, caminhoModelo) +
                                   QStringLiteral("\nApague-o para que o VLM-E o refaça."));
            return false;
        }
        QString motivo;
        if (!copia(caminhoModelo, caminhoBanco, &motivo)) {
            QFile::remove(caminhoBanco);
            avisaErro(usuario, QStringLiteral("Não foi possível copiar %1 para %2:\n%3")
                                   .arg(nativo(caminhoModelo), nativo(caminhoBanco), motivo));
            return false;
        }
        QFile::setPermissions(caminhoBanco, QFile::ReadOwner | QFile::WriteOwner);
    }

    try {
        banco.abre(caminhoBanco);
    } catch (const store::ErroBanco &e) {
        avisaErro(usuario, e.mensagem());
        return false;
    }

    try {
        store::NormalizaCodigos(banco);
        bool atualizar = false;
        try {
            atualizar = store::PrecisaAtualizar(banco);
        } catch (const store::ErroBanco &e) {
            usuario.mensagem(QString(),
                             QStringLiteral("Erro Inesperado. Código : ") + e.codigoNativo(),
                             base::Icone::Nenhum, base::Botoes::Ok);
            banco.fecha();
            return false;
        }
        if (atualizar)
            store::AtualizaEsquema(banco);
        store::RetiraColacao(banco);
        store::CompletaEsquema(banco);
    } catch (const store::ErroBanco &e) {
        avisaErro(usuario, QStringLiteral("Erro no banco de dados %1:\n%2")
                               .arg(nativo(caminhoBanco), e.mensagem()));
        banco.fecha();
        return false;
    }
    return true;
}

bool AbreBancoEscolhido(const QString &pastaPrograma, const QString &url, store::Banco &banco,
                        base::InterfaceUsuario &usuario, bool ofereceLocal, QString *senha) {
    if (url.isEmpty())
        return AbreBancoPrograma(pastaPrograma, banco, usuario);
    try {
        AbreServidor(url, banco, usuario, senha);
        return true;
    } catch (const store::ErroBanco &e) {
        // Não by default: work kept in the local file never reaches the team.
        // The question comes before the server's own text.
        const QString arquivo =
            nativo(QDir(pastaPrograma).filePath(QString::fromLatin1(NomeBanco)));
        const QString pergunta = TextoComDetalhe(
            base::ErroVLME(base::Mensagem("PERGUNTA_BANCO_LOCAL", e.mensagem(), arquivo,
                                          store::servidor::URLVisivel(url)),
                           e.detalhe()));
        if (ofereceLocal && usuario.mensagem(QString(), pergunta, base::Icone::Pergunta,
                                             base::Botoes::SimNaoPadraoNao) == base::Resposta::Sim)
            return AbreBancoPrograma(pastaPrograma, banco, usuario);
        if (!ofereceLocal)
            avisaErro(usuario, TextoComDetalhe(e));
        return false;
    }
}

} // namespace vlme::shell
