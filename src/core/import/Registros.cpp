#include "import/Registros.h"

#include "entry/Numeros.h"

namespace vlme::importacao {

namespace {

QString corta(QStringView linha, delivery::Campo c, int deslocamento = 0) {
    return linha.mid(c.posicao - 1 + deslocamento, c.largura).toString();
}

} // namespace

int TamanhoRegistro(QChar tipo) {
    switch (tipo.unicode()) {
    case u'0':
        return TamanhoTipo0;
    case u'1':
        return TamanhoTipo1;
    case u'2':
        return TamanhoTipo2;
    case u'3':
        return TamanhoTipo3;
    case u'4':
        return TamanhoTipo4;
    case u'9':
        return TamanhoTipo9;
    default:
        return 0;
    }
}

QString NomeRegistro(QChar tipo) {
    switch (tipo.unicode()) {
    case u'0':
        return QStringLiteral("Informações Gerais de um VLME");
    case u'1':
        return QStringLiteral("Informações Sobre os Modelos");
    case u'2':
        return QStringLiteral("Informações Sobre Componentes Nacionais");
    case u'3':
        return QStringLiteral("Informações Sobre Subcomponentes Importados");
    case u'4':
        return QStringLiteral("Informações Sobre Componentes Importados");
    case u'9':
        return QStringLiteral("Totalizador do Arquivo");
    default:
        return {};
    }
}

RegistroTipo0 CortaTipo0(QStringView l) {
    using namespace delivery::tipo0;
    RegistroTipo0 r;
    r.cnpj = corta(l, Cnpj);
    r.cpf = corta(l, Cpf);
    r.ppb = corta(l, Ppb);
    r.denProduto = corta(l, Denominacao);
    r.ncm = corta(l, Ncm);
    r.unidade = corta(l, Unidade);
    r.pesoBruto = corta(l, PesoBruto);
    r.salarios = corta(l, Salarios);
    r.encargos = corta(l, Encargos);
    r.tipoVlme = corta(l, TipoVlme);
    r.vlmAnterior = corta(l, VlmAnterior);
    r.nrProcesso = corta(l, NrProcesso);
    r.versao = corta(l, Versao);
    r.constante = corta(l, Constante);
    r.tipoCoeficiente = corta(l, TipoCoeficiente);
    return r;
}

RegistroTipo1 CortaTipo1(QStringView l) {
    using namespace delivery::tipo1;
    return {corta(l, Sequencia), corta(l, Descricao), corta(l, PrecoVenda),
            corta(l, CodigoInterno)};
}

RegistroTipo2 CortaTipo2(QStringView l) {
    using namespace delivery::tipo2;
    RegistroTipo2 r;
    r.numeroNacional = corta(l, Sequencia);
    r.numeroNF = corta(l, NumeroNF);
    r.serieNF = corta(l, SerieNF);
    r.cnpjFornecedor = corta(l, Cnpj);
    r.inscricaoEstadual = corta(l, InscricaoEstadual);
    r.dataEmissao = corta(l, DataEmissao);
    r.especificacao = corta(l, Descricao);
    r.unidade = corta(l, Unidade);
    r.ncm = corta(l, Ncm);
    r.quantidade = corta(l, Quantidade);
    r.valorUnitario = corta(l, ValorUnitario);
    return r;
}

RegistroImportado CortaImportado(QStringView l) {
    using namespace delivery::importado;
    RegistroImportado r;
    r.tipo = l.isEmpty() ? QChar() : l.front();
    r.sequencia = corta(l, Sequencia);
    int d = 0;
    if (r.tipo == QLatin1Char('3')) {
        r.numeroNacional = corta(l, delivery::tipo3::Nacional);
        r.baseCalculo = corta(l, delivery::tipo3::BaseCalculo);
        d = delivery::tipo3::Deslocamento;
    }
    r.tipoDocumento = corta(l, TipoDocumento, d);
    r.suspensao = corta(l, Suspensao, d);
    r.numeroDI = corta(l, NumeroDI, d);
    r.adicaoDI = corta(l, AdicaoDI, d);
    r.itemDI = corta(l, ItemDI, d);
    r.numeroNF = corta(l, NumeroNF, d);
    r.serieNF = corta(l, SerieNF, d);
    r.cnpjFornecedor = corta(l, Cnpj, d);
    r.inscricaoEstadual = corta(l, InscricaoEstadual, d);
    r.dataEmissao = corta(l, DataEmissao, d);
    r.especificacao = corta(l, Descricao, d);
    r.unidade = corta(l, Unidade, d);
    r.ncm = corta(l, Ncm, d);
    r.quantidade = corta(l, Quantidade, d);
    r.reducao = corta(l, Reducao, d);
    r.valorUnitario = corta(l, ValorUnitario, d);
    return r;
}

RegistroTipo9 CortaTipo9(QStringView l) {
    return {corta(l, delivery::tipo9::Quantidade)};
}

QString ConverteDataImportacao(const QString &data) {
    return data.left(4) + QLatin1Char('/') + data.mid(4, 2) + QLatin1Char('/') + data.right(2);
}

double ValorImplicito(const QString &campo, int decimais) {
    // Digits only, the common case, without the text round trip: a whole
    // number below 2^53 over an exact power of ten gives the correctly
    // rounded quotient, the very double the text conversion reads.
    static constexpr double Potencias[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (!campo.isEmpty() && campo.size() <= 15 && decimais > 0 && decimais <= 15) {
        qint64 n = 0;
        bool digitos = true;
        for (const QChar c : campo) {
            digitos = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (!digitos)
                break;
            n = n * 10 + (c.unicode() - u'0');
        }
        // Too short a field for its decimals is read whole, as InsereDecimais does.
        if (digitos)
            return campo.size() > decimais ? double(n) / Potencias[decimais] : double(n);
    }
    return entry::ConverteValor(entry::InsereDecimais(campo, int(campo.size()), decimais));
}

} // namespace vlme::importacao
