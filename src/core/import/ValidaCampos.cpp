#include "import/ValidaCampos.h"

#include "entry/Codigos.h"
#include "entry/Numeros.h"
#include "store/Gravar.h"

namespace vlme::importacao {

namespace {

const QString ObrigatorioSemPonto = QStringLiteral("Preenchimento Obrigatório");
const QString ObrigatorioMinusculo = QStringLiteral("Preenchimento obrigatório.");
const QString Invalido = QStringLiteral("Inválido.");
const QString InvalidoSemPonto = QStringLiteral("Inválido");
const QString MaiorQueZero = QStringLiteral("Deve ser maior que zero.");
const QString NaoInformado = QStringLiteral("Não deve ser informado.");
const QString NaoInformada = QStringLiteral("Não deve ser informada.");
const QString MenorQue80 = QStringLiteral("Deve ser menor que 80.");
// Ours: texts that cannot be stored as they came.
const QString TextoUtf8 =
    QStringLiteral("Texto em UTF-8: o arquivo deve estar em Latin-1 (ISO-8859-1).");
const QString TextoControle = QStringLiteral("Contém caracteres de controle ou binários.");
const QString ForaLatin1 =
    QStringLiteral("Caractere fora do Latin-1 (ISO-8859-1); troque-o por outro.");

bool digitos(const QString &v) {
    return entry::SoNumeros(v);
}

// In a file read as Latin-1, a UTF-8 sequence shows as a lead byte followed by
// its continuation bytes (0x80-0xBF). Portuguese written in Latin-1 does not
// put "Ã", "â", "ð"... before C1 controls or symbols like "§" and "º", so such
// a run means this text was written in UTF-8 in a file that is not.
bool pareceUtf8(const QString &v) {
    const qsizetype n = v.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = v.at(i).unicode();
        const int seguem = c >= 0xC2 && c <= 0xDF   ? 1
                           : c >= 0xE0 && c <= 0xEF ? 2
                           : c >= 0xF0 && c <= 0xF4 ? 3
                                                    : 0;
        if (seguem == 0 || i + seguem >= n)
            continue;
        bool completa = true;
        for (int k = 1; k <= seguem; ++k) {
            const char16_t d = v.at(i + k).unicode();
            completa = completa && d >= 0x80 && d <= 0xBF;
        }
        if (completa)
            return true;
    }
    return false;
}

// What the delivery file cannot carry.
QString confereTexto(const QString &v) {
    for (QChar ch : v) {
        const char16_t c = ch.unicode();
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return TextoControle;
        if (c > 0xFF)
            return ForaLatin1;
    }
    return pareceUtf8(v) ? TextoUtf8 : QString();
}

using G = Genero;
using R = Regra;
using namespace delivery;

constexpr CampoValidado campo(QStringView rotulo, Campo leiaute, G g, R regra) {
    return {rotulo, leiaute, g, regra, regra, regra};
}

constexpr CampoValidado comExtra(CampoValidado c, Extra e) {
    c.extra = e;
    return c;
}

constexpr CampoValidado comLetras(QStringView rotulo, Campo leiaute, const char *letras) {
    CampoValidado c = campo(rotulo, leiaute, G::Masculino, R::Letras);
    c.letras = letras;
    return c;
}

constexpr CampoValidado comMinimo(CampoValidado c, int minimo) {
    c.minimo = minimo;
    return c;
}

const CampoValidado Tipo0[] = {
    campo(u"CNPJ do Estabelecimento", tipo0::Cnpj, G::Masculino, R::Cnpj),
    campo(u"CPF Representante Legal", tipo0::Cpf, G::Masculino, R::Cpf),
    comMinimo(campo(u"Processo Produtivo Básico", tipo0::Ppb, G::Masculino, R::TextoObrigatorio),
              5),
    comMinimo(
        campo(u"Denominação do Produto", tipo0::Denominacao, G::Feminino, R::TextoObrigatorio), 3),
    campo(u"NCM da Mercadoria", tipo0::Ncm, G::Feminino, R::Ncm),
    campo(u"Unidade de Comercialização", tipo0::Unidade, G::Masculino, R::TextoObrigatorio),
    campo(u"Peso Bruto", tipo0::PesoBruto, G::Masculino, R::NumeroObrigatorio),
    campo(u"Salários e Ordenados", tipo0::Salarios, G::Masculino, R::Salario),
    campo(u"Encargos Sociais e Trabalhistas", tipo0::Encargos, G::Masculino, R::Salario),
    comLetras(u"Tipo do Coeficiente de Redução", tipo0::TipoCoeficiente, "FV"),
    comLetras(u"Tipo do VLME", tipo0::TipoVlme, "NRS"),
    campo(u"Número do VLME anterior", tipo0::VlmAnterior, G::Masculino, R::Anterior),
    campo(u"Número do processo", tipo0::NrProcesso, G::Masculino, R::Processo),
};

const CampoValidado Tipo1[] = {
    comExtra(campo(u"Descrição", tipo1::Descricao, G::Masculino, R::TextoObrigatorio),
             Extra::ModeloUnico),
    campo(u"Preço de Venda", tipo1::PrecoVenda, G::Masculino, R::NumeroPositivo),
    campo(u"Código Interno", tipo1::CodigoInterno, G::Masculino, R::TextoObrigatorio),
};

const CampoValidado Tipo2[] = {
    comExtra(
        campo(u"Número do Comp. Nacional", tipo2::Sequencia, G::Masculino, R::NumeroObrigatorio),
        Extra::NacionalUnico),
    campo(u"Número da NF", tipo2::NumeroNF, G::Masculino, R::NumeroObrigatorio),
    campo(u"Série da NF", tipo2::SerieNF, G::Masculino, R::TextoObrigatorio),
    campo(u"CNPJ do Fornecedor", tipo2::Cnpj, G::Masculino, R::Cnpj),
    campo(u"Inscrição Estadual", tipo2::InscricaoEstadual, G::Feminino, R::Inscricao),
    campo(u"Data de Emissão", tipo2::DataEmissao, G::Feminino, R::Data),
    campo(u"Especificação", tipo2::Descricao, G::Feminino, R::TextoObrigatorio),
    campo(u"Unidade Comercial", tipo2::Unidade, G::Feminino, R::TextoObrigatorio),
    campo(u"NCM da Mercadoria", tipo2::Ncm, G::Feminino, R::Ncm),
    campo(u"Quantidade", tipo2::Quantidade, G::Feminino, R::NumeroPositivo),
    campo(u"Valor Unitário", tipo2::ValorUnitario, G::Masculino, R::NumeroPositivo),
};

// With a DI / with an invoice / with an invalid document kind.
const CampoValidado Importado[] = {
    {u"Número do Comp. Nacional",
     tipo3::Nacional,
     G::Masculino,
     R::NumeroObrigatorio,
     R::NumeroObrigatorio,
     R::NumeroObrigatorio,
     Extra::NacionalCadastrado,
     "",
     0,
     {},
     true},
    {u"Indicador da base de cálculo",
     tipo3::BaseCalculo,
     G::Masculino,
     R::Letras,
     R::Letras,
     R::Letras,
     Extra::Nenhum,
     "SN",
     0,
     {},
     true},
    comLetras(u"Tipo de Documento Fiscal", importado::TipoDocumento, "SN"),
    comLetras(u"Indicador Suspensão de impostos", importado::Suspensao, "SN"),
    {u"Número da DI", importado::NumeroDI, G::Masculino, R::DI, R::OutroDocumento, R::Digitos},
    {u"Número da Adição da DI", importado::AdicaoDI, G::Masculino, R::NumeroObrigatorio,
     R::OutroDocumento, R::Digitos, Extra::Nenhum, "", 0, u"Número da Adicão da DI"},
    {u"Número do Item da Adição", importado::ItemDI, G::Masculino, R::Item, R::OutroDocumento,
     R::Digitos},
    {u"Número da NF", importado::NumeroNF, G::Masculino, R::OutroDocumento, R::NumeroObrigatorio,
     R::Digitos},
    {u"Série da NF", importado::SerieNF, G::Masculino, R::Vazio, R::TextoObrigatorio, R::Texto},
    {u"CNPJ do Fornecedor", importado::Cnpj, G::Masculino, R::CnpjOutroDocumento, R::Cnpj,
     R::CnpjForma},
    {u"Inscrição Estadual", importado::InscricaoEstadual, G::Feminino, R::Vazio, R::Inscricao,
     R::Nenhuma},
    {u"Data de Emissão da NF", importado::DataEmissao, G::Feminino, R::OutroDocumento, R::Data,
     R::DataOpcional},
    {u"Especificação", importado::Descricao, G::Feminino, R::Texto, R::TextoObrigatorio, R::Texto},
    {u"Unidade Comercial", importado::Unidade, G::Feminino, R::Vazio, R::TextoObrigatorio,
     R::Texto},
    {u"NCM do Componente", importado::Ncm, G::Feminino, R::OutroDocumento, R::Ncm, R::NcmOpcional},
    campo(u"Quantidade", importado::Quantidade, G::Feminino, R::NumeroPositivo),
    {u"Indicador do coeficiente de redução", importado::Reducao, G::Masculino, R::Letras, R::SoN,
     R::Letras, Extra::Nenhum, "SN"},
    comExtra(campo(u"Valor Unitário", importado::ValorUnitario, G::Masculino, R::NumeroPositivo),
             Extra::Custo),
};

} // namespace

QString Apara(const QString &v) {
    qsizetype fim = v.size();
    while (fim > 0 && v.at(fim - 1) == QLatin1Char(' '))
        --fim;
    qsizetype inicio = 0;
    while (inicio < fim && v.at(inicio) == QLatin1Char(' '))
        ++inicio;
    return v.mid(inicio, fim - inicio);
}

bool Zeros(const QString &v) {
    if (v.isEmpty())
        return false;
    for (QChar c : v)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

bool Letra(const QString &v, char c) {
    return v.size() == 1 && v.at(0).toUpper() == QLatin1Char(c);
}

QString Avalia(const CampoValidado &c, Regra regra, const QString &v, const Contexto &x) {
    const bool fem = c.genero == Genero::Feminino;
    const QString &invalido = fem ? MsgInvalida : Invalido;
    const QString &naoInformar = fem ? NaoInformada : NaoInformado;
    const auto branco = [&] { return Apara(v).isEmpty(); };
    switch (regra) {
    case R::Nenhuma:
        return {};
    case R::Texto:
        return confereTexto(Apara(v));
    case R::TextoObrigatorio: {
        const QString t = Apara(v);
        return t.isEmpty() ? MsgObrigatorio : t.size() < c.minimo ? invalido : confereTexto(t);
    }
    case R::Vazio:
        return branco() ? QString() : naoInformar;
    case R::Digitos:
        return digitos(v) ? QString() : invalido;
    case R::NumeroObrigatorio:
        return !digitos(v) ? invalido : Zeros(v) ? MsgObrigatorio : QString();
    case R::NumeroPositivo:
        return !digitos(v) ? invalido : Zeros(v) ? MaiorQueZero : QString();
    case R::Item:
        return !digitos(v)      ? invalido
               : Zeros(v)       ? MsgObrigatorio
               : v.toInt() > 80 ? MenorQue80
                                : QString();
    case R::Cnpj:
        return Zeros(v)                                       ? MsgObrigatorio
               : !entry::ValidaCNPJ(store::CnpjSemMascara(v)) ? invalido
                                                              : QString();
    case R::CnpjForma:
        return entry::FormaCNPJ(store::CnpjSemMascara(v)) ? QString() : invalido;
    case R::Cpf:
        return Zeros(v)                                ? ObrigatorioSemPonto
               : (!digitos(v) || !entry::ValidaCPF(v)) ? InvalidoSemPonto
                                                       : QString();
    case R::Ncm:
    case R::NcmOpcional:
        return (!digitos(v) || v.size() != 8)  ? invalido
               : (regra == R::Ncm && Zeros(v)) ? MsgObrigatorio
                                               : QString();
    case R::Data:
        return !digitos(v)                ? invalido
               : Zeros(v)                 ? MsgObrigatorio
               : !entry::ValidaDataAMD(v) ? invalido
                                          : QString();
    case R::DataOpcional:
        return (!Zeros(v) && !entry::ValidaDataAMD(v)) ? invalido : QString();
    case R::DI:
        return !digitos(v)                          ? invalido
               : (!Zeros(v) && !entry::ValidaDI(v)) ? invalido
               : Zeros(v)                           ? MsgObrigatorio
                                                    : QString();
    case R::Inscricao:
        return entry::CaracteresValidos(Apara(v)) ? QString() : invalido;
    case R::Letras:
        for (const char *l = c.letras; *l; ++l)
            if (Letra(v, *l))
                return {};
        return invalido;
    case R::SoN:
        return Letra(v, 'N') ? QString() : invalido;
    case R::OutroDocumento:
        return Zeros(v) ? QString() : branco() ? invalido : naoInformar;
    case R::CnpjOutroDocumento:
        return (Zeros(v) || branco()) ? QString() : naoInformar;
    case R::Salario:
        return !digitos(v) ? invalido : (x.variavel && Zeros(v)) ? MaiorQueZero : QString();
    case R::Anterior: {
        const bool sem = branco();
        return (!sem && !digitos(v))                               ? invalido
               : ((x.tipoVlme == 'R' || x.tipoVlme == 'S') && sem) ? ObrigatorioMinusculo
               : (x.tipoVlme == 'N' && !sem)                       ? naoInformar
                                                                   : QString();
    }
    case R::Processo: {
        const bool sem = branco();
        return (!sem && !digitos(v))         ? invalido
               : (x.tipoVlme != 'R' && !sem) ? naoInformar
                                             : QString();
    }
    }
    return {};
}

std::span<const CampoValidado> CamposTipo0() {
    return Tipo0;
}
std::span<const CampoValidado> CamposTipo1() {
    return Tipo1;
}
std::span<const CampoValidado> CamposTipo2() {
    return Tipo2;
}
std::span<const CampoValidado> CamposImportado() {
    return Importado;
}

} // namespace vlme::importacao
