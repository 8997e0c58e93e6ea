#include "shell/Pastas.h"

#include "store/Gravar.h"

#include <QDir>
#include <QStandardPaths>

namespace vlme::shell {

QString EscolhePastaPrograma(const QString &opcao) {
    QString pasta = opcao;
    if (pasta.isEmpty())
        pasta = qEnvironmentVariable("VLME_PASTA");
    if (pasta.isEmpty())
        pasta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(pasta).absolutePath();
}

QString EscolheBanco(const QString &opcao, const QString &lembrado) {
    if (!opcao.isEmpty())
        return opcao;
    const QString ambiente = qEnvironmentVariable("VLME_BANCO");
    return ambiente.isEmpty() ? lembrado : ambiente;
}

QString CaminhoArquivos(const QString &pastaPrograma, int nrVlm) {
    QDir pasta(pastaPrograma);
    pasta.mkpath(QString::fromLatin1(NomePastaArquivos));
    return pasta.filePath(QString::fromLatin1(NomePastaArquivos) + QStringLiteral("/VLME") +
                          QStringLiteral("%1").arg(nrVlm, 10, 10, QLatin1Char('0')));
}

QString PastaArquivos(const QString &pastaPrograma, const QString &cnpj) {
    const QString relativa = QString::fromLatin1(NomePastaArquivos) + QLatin1Char('/') +
                             store::CnpjSemMascara(cnpj).left(12);
    QDir pasta(pastaPrograma);
    pasta.mkpath(relativa);
    return QDir::cleanPath(pasta.filePath(relativa));
}

} // namespace vlme::shell
