#pragma once
// The user's regional settings that the program expects: "," decimals, "."
// groups, day/month/year dates. Kept in a per-user settings store whose
// defaults come from the system locale. The program's own number and date
// handling is Brazilian whatever they say; the check keeps other programs on
// the same computer (the delivery program) consistent with it.

#include <QString>
#include <QStringList>

namespace vlme::shell {

enum class ItemRegional {
    SeparadorDecimal,
    SeparadorGrupo,
    SeparadorDecimalMoeda,
    SeparadorGrupoMoeda,
    SeparadorData,
    FormatoDataCurta,
};

class ConfiguracoesRegionais {
  public:
    virtual ~ConfiguracoesRegionais() = default;
    virtual QString le(ItemRegional item) const = 0;
    virtual void grava(ItemRegional item, const QString &valor) = 0;
};

// Ini file in the user's configuration folder (or `arquivo` when given);
// values not yet written come from QLocale::system().
class ConfiguracoesRegionaisIni final : public ConfiguracoesRegionais {
  public:
    explicit ConfiguracoesRegionaisIni(const QString &arquivo = {});
    QString arquivo() const { return arquivo_; }
    QString le(ItemRegional item) const override;
    void grava(ItemRegional item, const QString &valor) override;

  private:
    QString arquivo_;
};

// The message lines of the settings that differ from what the program needs,
// in the order of the six settings.
QStringList ConfiguracoesDiferentes(const ConfiguracoesRegionais &config);
// The start-up question listing those lines.
QString PerguntaConfiguracoes(const QStringList &linhas);
// Writes all six settings.
void CorrigeConfiguracoes(ConfiguracoesRegionais &config);

} // namespace vlme::shell
