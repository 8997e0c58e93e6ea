#include "import/Registros.h"

#include "entry/Numeros.h"

namespace vlme::importacao {

namespace {

// Positions from 1, as the layouts count them.
QString corta(QStringView linha, int posicao, int largura) {
    return linha.mid(posicao - 1, largura).toString();
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
    RegistroTipo0 r;
    r.cnpj = corta(l, 2, 14);
    r.cpf = corta(l, 16, 11);
    r.ppb = corta(l, 27, 80);
    r.denProduto = corta(l, 107, 80);
    r.ncm = corta(l, 187, 8);
    r.unidade = corta(l, 195, 80);
    r.pesoBruto = corta(l, 275, 14);
    r.salarios = corta(l, 289, 15);
    r.encargos = corta(l, 304, 15);
    r.tipoVlme = corta(l, 319, 1);
    r.vlmAnterior = corta(l, 320, 10);
    r.nrProcesso = corta(l, 330, 17);
    r.versao = corta(l, 347, 4);
    r.constante = corta(l, 351, 1);
    r.tipoCoeficiente = corta(l, 352, 1);
    return r;
}

RegistroTipo1 CortaTipo1(QStringView l) {
    RegistroTipo1 r;
    r.sequencia = corta(l, 2, 4);
    r.descricao = corta(l, 6, 80);
    r.precoVenda = corta(l, 86, 15);
    r.codigoInterno = corta(l, 101, 15);
    return r;
}

RegistroTipo2 CortaTipo2(QStringView l) {
    RegistroTipo2 r;
    r.numeroNacional = corta(l, 2, 4);
    r.numeroNF = corta(l, 6, 10);
    r.serieNF = corta(l, 16, 5);
    r.cnpjFornecedor = corta(l, 21, 14);
    r.inscricaoEstadual = corta(l, 35, 15);
    r.dataEmissao = corta(l, 50, 8);
    r.especificacao = corta(l, 58, 80);
    r.unidade = corta(l, 138, 80);
    r.ncm = corta(l, 218, 8);
    r.quantidade = corta(l, 226, 15);
    r.valorUnitario = corta(l, 241, 15);
    return r;
}

RegistroImportado CortaImportado(QStringView l) {
    RegistroImportado r;
    r.tipo = l.isEmpty() ? QChar() : l.front();
    r.sequencia = corta(l, 2, 4);
    int d = 0; // type 3 stands 5 positions further right from position 6 on
    if (r.tipo == QLatin1Char('3')) {
        r.numeroNacional = corta(l, 6, 4);
        r.baseCalculo = corta(l, 10, 1);
        d = 5;
    }
    r.tipoDocumento = corta(l, 6 + d, 1);
    r.suspensao = corta(l, 7 + d, 1);
    r.numeroDI = corta(l, 8 + d, 10);
    r.adicaoDI = corta(l, 18 + d, 3);
    r.itemDI = corta(l, 21 + d, 2);
    r.numeroNF = corta(l, 23 + d, 10);
    r.serieNF = corta(l, 33 + d, 5);
    r.cnpjFornecedor = corta(l, 38 + d, 14);
    r.inscricaoEstadual = corta(l, 52 + d, 15);
    r.dataEmissao = corta(l, 67 + d, 8);
    r.especificacao = corta(l, 75 + d, 80);
    r.unidade = corta(l, 155 + d, 80);
    r.ncm = corta(l, 235 + d, 8);
    r.quantidade = corta(l, 243 + d, 15);
    r.reducao = corta(l, 258 + d, 1);
    r.valorUnitario = corta(l, 259 + d, 15);
    return r;
}

RegistroTipo9 CortaTipo9(QStringView l) {
    return {corta(l, 2, 8)};
}

QString ConverteDataImportacao(const QString &data) {
    return data.left(4) + QLatin1Char('/') + data.mid(4, 2) + QLatin1Char('/') + data.right(2);
}

double ValorImplicito(const QString &campo, int decimais) {
    return entry::ConverteValor(entry::InsereDecimais(campo, int(campo.size()), decimais));
}

} // namespace vlme::importacao
