#include "shell/ConfiguracoesRegionais.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

namespace vlme::shell {

namespace {

QString chave(ItemRegional item) {
    switch (item) {
    case ItemRegional::SeparadorDecimal:
        return QStringLiteral("Regional/SeparadorDecimal");
    case ItemRegional::SeparadorGrupo:
        return QStringLiteral("Regional/SeparadorGrupo");
    case ItemRegional::SeparadorDecimalMoeda:
        return QStringLiteral("Regional/SeparadorDecimalMoeda");
    case ItemRegional::SeparadorGrupoMoeda:
        return QStringLiteral("Regional/SeparadorGrupoMoeda");
    case ItemRegional::SeparadorData:
        return QStringLiteral("Regional/SeparadorData");
    case ItemRegional::FormatoDataCurta:
        return QStringLiteral("Regional/FormatoDataCurta");
    }
    return {};
}

QString padraoDoSistema(ItemRegional item) {
    const QLocale local = QLocale::system();
    switch (item) {
    case ItemRegional::SeparadorDecimal:
    case ItemRegional::SeparadorDecimalMoeda:
        return local.decimalPoint();
    case ItemRegional::SeparadorGrupo:
    case ItemRegional::SeparadorGrupoMoeda:
        return local.groupSeparator();
    case ItemRegional::SeparadorData: {
        for (QChar c : local.dateFormat(QLocale::ShortFormat))
            if (!c.isLetter())
                return QString(c);
        return QStringLiteral("/");
    }
    case ItemRegional::FormatoDataCurta:
        return local.dateFormat(QLocale::ShortFormat);
    }
    return {};
}

bool formatoComY(const ConfiguracoesRegionais &config) {
    return config.le(ItemRegional::FormatoDataCurta).toUpper().contains(QLatin1Char('Y'));
}

} // namespace

ConfiguracoesRegionaisIni::ConfiguracoesRegionaisIni(const QString &arquivo) : arquivo_(arquivo) {
    if (arquivo_.isEmpty())
        arquivo_ = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                       .filePath(QStringLiteral("regional.ini"));
}

QString ConfiguracoesRegionaisIni::le(ItemRegional item) const {
    QSettings s(arquivo_, QSettings::IniFormat);
    const QVariant valor = s.value(chave(item), padraoDoSistema(item));
    // A comma typed by hand into the file, unquoted, reads back as a list.
    if (valor.typeId() == QMetaType::QStringList)
        return valor.toStringList().join(QLatin1Char(','));
    return valor.toString();
}

void ConfiguracoesRegionaisIni::grava(ItemRegional item, const QString &valor) {
    QSettings s(arquivo_, QSettings::IniFormat);
    s.setValue(chave(item), valor);
    s.sync();
}

QStringList ConfiguracoesDiferentes(const ConfiguracoesRegionais &config) {
    QStringList linhas;
    if (config.le(ItemRegional::SeparadorDecimal) != QLatin1String(","))
        linhas << QStringLiteral("- O separador de decimais NÚMEROS deve ser a ',' (vírgula).");
    if (config.le(ItemRegional::SeparadorGrupo) != QLatin1String("."))
        linhas << QStringLiteral("- O separador de grupo de NÚMEROS ser o '.' (ponto).");
    if (config.le(ItemRegional::SeparadorDecimalMoeda) != QLatin1String(","))
        linhas << QStringLiteral("- O separador de decimais de MOEDA deve ser a ',' (vírgula).");
    if (config.le(ItemRegional::SeparadorGrupoMoeda) != QLatin1String("."))
        linhas << QStringLiteral("- O separador de grupo de MOEDA ser o '.' (ponto).");
    const QString formato = config.le(ItemRegional::FormatoDataCurta).toUpper();
    if (formatoComY(config)) {
        if (formato != QLatin1String("DD/MM/YYYY"))
            linhas << QStringLiteral("- O formato da data deve ser 'dd/MM/yyyy'.");
    } else if (formato != QLatin1String("DD/MM/AAAA")) {
        linhas << QStringLiteral("- O formato da data deve ser 'dd/MM/aaaa'.");
    }
    return linhas;
}

QString PerguntaConfiguracoes(const QStringList &linhas) {
    QString lista;
    for (const QString &linha : linhas)
        lista += QLatin1Char('\n') + linha;
    return QStringLiteral("As seguinte configurações regionais devem ser alteradas para que seu "
                          "computador execute corretamente o VLM-E :") +
           QLatin1Char('\n') + lista + QStringLiteral("\n\n") +
           QStringLiteral("Deseja alterar estas configurações ? ") + QLatin1Char('\n') +
           QStringLiteral("Se você responder que sim, o programa irá alterar automaticamente as "
                          "configurações. Se você responder que não, o programa será fechado.");
}

void CorrigeConfiguracoes(ConfiguracoesRegionais &config) {
    const bool comY = formatoComY(config);
    config.grava(ItemRegional::SeparadorDecimal, QStringLiteral(","));
    config.grava(ItemRegional::SeparadorGrupo, QStringLiteral("."));
    config.grava(ItemRegional::SeparadorDecimalMoeda, QStringLiteral(","));
    config.grava(ItemRegional::SeparadorGrupoMoeda, QStringLiteral("."));
    config.grava(ItemRegional::SeparadorData, QStringLiteral("/"));
    config.grava(ItemRegional::FormatoDataCurta,
                 comY ? QStringLiteral("dd/MM/yyyy") : QStringLiteral("dd/MM/aaaa"));
}

} // namespace vlme::shell
