#include "printing/Relatorios.h"

#include "base/ErroVLME.h"
#include "checking/Calculos.h"
#include "checking/ListaDiagnostico.h"
#include "entry/Numeros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/Gravar.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace vlme::printing {

namespace {

// Digits in a mask ("####.##.##"); text of another length is left as it is.
QString Mascara(const QString &digitos, const char *mascara) {
    const QString m = QString::fromLatin1(mascara);
    if (digitos.size() != m.count(QLatin1Char('#')))
        return digitos;
    QString saida;
    int i = 0;
    for (QChar c : m)
        saida += c == QLatin1Char('#') ? digitos.at(i++) : c;
    return saida;
}

QString Numero(const QVariant &v, int largura, int decimais) {
    return entry::FormataNumero(v.toDouble(), largura, decimais);
}

QString SimNao(const QVariant &v) {
    return v.toInt() ? QStringLiteral("Sim") : QStringLiteral("Não");
}

// A stored date as day/month/year; the import leaves some as year first.
QString Data(const QString &gravada) {
    static const QRegularExpression anoPrimeiro(
        QStringLiteral("^(\\d{4})[-/](\\d{2})[-/](\\d{2})$"));
    const auto m = anoPrimeiro.match(gravada);
    return m.hasMatch()
               ? m.captured(3) + QLatin1Char('/') + m.captured(2) + QLatin1Char('/') + m.captured(1)
               : gravada;
}

QString Nota(const QVariant &numero, const QVariant &serie, const QVariant &cnpj,
             const QVariant &data) {
    if (numero.isNull())
        return {};
    QStringList partes{QStringLiteral("NF ") + numero.toString()};
    if (!serie.toString().isEmpty())
        partes << QStringLiteral("série ") + serie.toString();
    if (const QString s = store::CnpjSemMascara(cnpj.toString()); !s.isEmpty())
        partes << store::FormataCNPJ(s);
    if (!data.toString().isEmpty())
        partes << Data(data.toString());
    return partes.join(QStringLiteral(", "));
}

// A table just added that got no row gives way to `texto`.
void SeVazia(Documento &d, const QString &texto) {
    if (d.blocos.back().linhas.empty()) {
        d.blocos.pop_back();
        d.paragrafo(texto);
    }
}

void DadosGerais(Documento &d, store::Banco &banco, int nrVlm) {
    QSqlQuery q = banco.executa(
        QStringLiteral(
            "SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM, SUBSTITUTIVO_VLM,"
            " RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM, NCM_VLM, PESO_BRUTO_VLM,"
            " VL_SALARIOS_VLM, VL_ENCARGOS_VLM, DEN_PRODUTO_VLM, UNIDADE_VLM,"
            " NR_TRANSMISSAO_VLM, CODIGO_VLM, RAZAO_SOCIAL_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(q))
        throw store::ErroDeclaracaoInexistente(nrVlm);
    const auto v = [&](int i) { return q.value(i); };
    const int transmissao = v(14).toInt();
    const QString codigo = v(15).toString();
    std::vector<std::pair<QString, QString>> pares = {
        {QStringLiteral("Número da declaração"), QString::number(nrVlm)},
        {QStringLiteral("Tipo"), store::TipoDeclaracao(v(5).toInt(), v(4).toInt())},
        {QStringLiteral("Situação"), store::SituacaoEntrega(transmissao, codigo)},
        {QStringLiteral("Protocolo"), store::Protocolo(transmissao, codigo)},
    };
    if (!v(16).toString().isEmpty())
        pares.push_back({QStringLiteral("Razão social"), v(16).toString()});
    const QString cnpj = v(0).toString();
    pares.insert(
        pares.end(),
        {
            {QStringLiteral("CNPJ do estabelecimento"),
             cnpj.isEmpty() ? QString() : store::FormataCNPJ(cnpj)},
            {QStringLiteral("CPF do representante legal"), store::FormataCPF(v(1).toString())},
            {QStringLiteral("Processo produtivo básico (PPB)"), v(2).toString()},
            {QStringLiteral("Denominação do produto"), v(12).toString()},
            {QStringLiteral("NCM do produto"), Mascara(v(8).toString(), "####.##.##")},
            {QStringLiteral("Unidade"), v(13).toString()},
            {QStringLiteral("Peso bruto"), Numero(v(9), 15, 5)},
            {QStringLiteral("Salários"), Numero(v(10), 18, 2)},
            {QStringLiteral("Encargos sociais e trabalhistas"), Numero(v(11), 18, 2)},
            {QStringLiteral("Coeficiente"),
             v(3).toInt() ? QStringLiteral("Variável") : QStringLiteral("Fixo")},
        });
    if (v(4).toInt() || v(5).toInt())
        pares.push_back(
            {QStringLiteral("Declaração anterior"), Mascara(v(6).toString(), "####/#####-#")});
    if (!v(7).toString().isEmpty())
        pares.push_back({QStringLiteral("Número do processo"), v(7).toString()});
    d.secao(QStringLiteral("Dados gerais"));
    d.pares(pares);
}

void Modelos(Documento &d, store::Banco &banco, int nrVlm) {
    d.secao(QStringLiteral("Modelos"));
    Bloco &t = d.tabela({QStringLiteral("#Seq."), QStringLiteral("Especificação"),
                         QStringLiteral("Código interno"), QStringLiteral("#Preço de venda")},
                        {1, 8, 3, 3});
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                       " PRECO_VENDA_MODELOS FROM MODELOS WHERE NR_VLM_MODELOS = ?"
                       " ORDER BY NR_SQ_MODELOS"),
        {nrVlm});
    while (banco.proxima(q))
        t.linhas.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            Numero(q.value(3), 18, 2)});
    SeVazia(d, QStringLiteral("Nenhum modelo."));
}

void Nacionais(Documento &d, store::Banco &banco, int nrVlm) {
    d.secao(QStringLiteral("Componentes nacionais"));
    Bloco &t =
        d.tabela({QStringLiteral("#Seq."), QStringLiteral("Especificação"), QStringLiteral("NCM"),
                  QStringLiteral("Unid."), QStringLiteral("#Quantidade"),
                  QStringLiteral("#Custo unitário"), QStringLiteral("Nota fiscal")},
                 {1.1, 6, 2.3, 1.4, 3, 3, 5});
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT n.NR_SQ_NACIONAL, n.TX_DESCRICAO_NACIONAL, n.NCM_NACIONAL,"
                       " n.UNIDADE_NACIONAL, n.QTD_NACIONAL, n.VL_CUSTO_UNITARIO_NACIONAL, f.NR_NF,"
                       " f.SERIE_NF, f.CNPJ_NF, f.DATA_EMISSAO_NF FROM COMPONENTES_NACIONAIS n"
                       " LEFT JOIN NF f ON f.NR_SEQ_NF = n.NR_SEQ_NF_NACIONAL"
                       " WHERE n.NR_VLM_NACIONAL = ? ORDER BY n.NR_SQ_NACIONAL"),
        {nrVlm});
    while (banco.proxima(q))
        t.linhas.push_back({q.value(0).toString(), q.value(1).toString(),
                            Mascara(q.value(2).toString(), "####.##.##"), q.value(3).toString(),
                            Numero(q.value(4), 17, 7), Numero(q.value(5), 18, 6),
                            Nota(q.value(6), q.value(7), q.value(8), q.value(9))});
    SeVazia(d, QStringLiteral("Nenhum componente nacional."));
}

// Imported components of the product, then the subcomponents of national
// components, each with its DI or invoice.
void Importados(Documento &d, store::Banco &banco, int nrVlm) {
    const QStringList comuns{QStringLiteral("Especificação"),
                             QStringLiteral("NCM"),
                             QStringLiteral("Unid."),
                             QStringLiteral("#Quantidade"),
                             QStringLiteral("#Valor unitário"),
                             QStringLiteral("#Alíquota"),
                             QStringLiteral("#Valor II"),
                             QStringLiteral("Susp."),
                             QStringLiteral("DI ou nota fiscal")};
    std::vector<QStringList> componentes, subcomponentes;
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT i.NR_SQ_IMPORTADO, i.TX_DESCRICAO_IMPORTADO, i.NCM_IMPORTADO,"
                       " i.UNIDADE_IMPORTADO, i.QTD_IMPORTADO, i.VALOR_UNITARIO_IMPORTADO,"
                       " i.ALIQUOTA_IMPORTADO, i.VALOR_II_IMPORTADO, i.IN_COM_SUSP_IMPORTADO,"
                       " d.NR_DI_DI, d.NR_ADICAO_DI, d.NR_ITEM_DI, f.NR_NF, f.SERIE_NF, f.CNPJ_NF,"
                       " f.DATA_EMISSAO_NF, s.N_NACIONAL_SUBCOMP, s.IN_BASE_CALCULO_SUBCOMP"
                       " FROM COMPONENTES_IMPORTADOS i"
                       " LEFT JOIN SUBCOMP s ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO"
                       " AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
                       " LEFT JOIN DI d ON d.NR_SQ_DI = i.NR_SEQ_DI_IMPORTADO"
                       " LEFT JOIN NF f ON f.NR_SEQ_NF = i.NR_SEQ_NF_IMPORTADO"
                       " WHERE i.NR_VLM_IMPORTADO = ?"
                       " ORDER BY s.N_NACIONAL_SUBCOMP, i.NR_SQ_IMPORTADO"),
        {nrVlm});
    while (banco.proxima(q)) {
        QString documento;
        if (!q.value(9).isNull())
            documento = QStringLiteral("DI %1, adição %2, item %3")
                            .arg(Mascara(q.value(9).toString(), "##/#######-#"),
                                 q.value(10).toString(), q.value(11).toString());
        const QString nota = Nota(q.value(12), q.value(13), q.value(14), q.value(15));
        if (!nota.isEmpty())
            documento += (documento.isEmpty() ? QString() : QStringLiteral("; ")) + nota;
        const QStringList valores{q.value(1).toString(),
                                  Mascara(q.value(2).toString(), "####.##.##"),
                                  q.value(3).toString(),
                                  Numero(q.value(4), 17, 7),
                                  Numero(q.value(5), 18, 6),
                                  Numero(q.value(6), 6, 2),
                                  Numero(q.value(7), 18, 2),
                                  SimNao(q.value(8)),
                                  documento};
        if (q.value(16).isNull())
            componentes.push_back(QStringList{q.value(0).toString()} + valores);
        else
            subcomponentes.push_back(QStringList{q.value(16).toString(), q.value(0).toString()} +
                                     valores + QStringList{SimNao(q.value(17))});
    }
    d.secao(QStringLiteral("Componentes importados"));
    if (componentes.empty())
        d.paragrafo(QStringLiteral("Nenhum componente importado."));
    else
        d.tabela(QStringList{QStringLiteral("#Seq.")} + comuns,
                 {40, 193, 75, 40, 110, 105, 62, 95, 40, 240})
            .linhas = std::move(componentes);
    if (!subcomponentes.empty()) {
        d.secao(QStringLiteral("Subcomponentes importados de componentes nacionais"));
        d.tabela(QStringList{QStringLiteral("#Nac."), QStringLiteral("#Seq.")} + comuns +
                     QStringList{QStringLiteral("Base")},
                 {40, 40, 159, 75, 40, 110, 105, 64, 90, 40, 195, 42})
            .linhas = std::move(subcomponentes);
    }
}

} // namespace

QString IdentificaDeclaracao(int nrVlm) {
    return QStringLiteral("VLM-E nº %1").arg(nrVlm);
}

Documento ImprimeVLM(store::Banco &banco, int nrVlm, bool resumo) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    if (!store::ExisteDeclaracao(banco, nrVlm))
        throw store::ErroDeclaracaoInexistente(nrVlm);
    Documento d;
    d.titulo = resumo ? TituloResumo : TituloDemonstrativo;
    d.identificacao = IdentificaDeclaracao(nrVlm);
    d.cabeca(d.titulo);
    if (!resumo) {
        // The component tables need the width of a landscape page.
        d.paisagem = true;
        DadosGerais(d, banco, nrVlm);
        Modelos(d, banco, nrVlm);
        Nacionais(d, banco, nrVlm);
        Importados(d, banco, nrVlm);
    }
    if (!resumo)
        d.secao(QStringLiteral("Resumo"));
    d.pares(checking::LinhasResumo(banco, nrVlm));
    return d;
}

QString TextoSemRecibo(int nrVlm) {
    return QStringLiteral("A declaração %1 não tem recibo de entrega.\n\nTransmita-a com o "
                          "programa Enviador e registre a entrega (Declaração > Registrar "
                          "Entrega) com o recibo que ele der.")
        .arg(nrVlm);
}

Documento ImprimeRecibo(store::Banco &banco, int nrVlm) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    if (!store::ExisteDeclaracao(banco, nrVlm))
        throw store::ErroDeclaracaoInexistente(nrVlm);
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT CNPJ_RECIBO, NR_TRANSMISSAO_RECIBO, DATA_GERACAO_RECIBO,"
                       " HORA_GERACAO_RECIBO, DATA_RECEPCAO_RECIBO, HORA_RECEPCAO_RECIBO,"
                       " LOCAL_RECIBO, REMESSA_RECIBO, GATEWAY_RECIBO, SELO_RECIBO,"
                       " NR_CONTROLE_RECIBO, TOTAIS_RECIBO FROM RECIBO WHERE NR_VLM_RECIBO = ?"
                       " ORDER BY rowid"),
        {nrVlm});
    Documento d;
    d.titulo = TituloRecibo;
    d.identificacao = IdentificaDeclaracao(nrVlm);
    d.cabeca(TituloRecibo);
    int recibos = 0;
    while (banco.proxima(q)) {
        const auto t = [&](int i) { return q.value(i).toString(); };
        const QString cnpj = t(0);
        if (recibos++)
            d.secao(QStringLiteral("Recibo %1").arg(recibos));
        d.pares({
            {QStringLiteral("Declaração"), QString::number(nrVlm)},
            {QStringLiteral("CNPJ"), cnpj.isEmpty() ? QString() : store::FormataCNPJ(cnpj)},
            {QStringLiteral("Número da transmissão"), t(1)},
            {QStringLiteral("Gerada em"), checking::DataHoraRecibo(t(2), t(3))},
            {QStringLiteral("Recebida em"), checking::DataHoraRecibo(t(4), t(5))},
            {QStringLiteral("Local"), t(6)},
            {QStringLiteral("Remessa"), t(7)},
            {QStringLiteral("Gateway"), t(8)},
            {QStringLiteral("Selo"), t(9)},
            {QStringLiteral("Número de controle"), t(10)},
            {QStringLiteral("Totais"), t(11)},
        });
    }
    if (!recibos)
        throw base::ErroVLME(TextoSemRecibo(nrVlm));
    return d;
}

Documento ImprimeLista(const QString &titulo, const QString &identificacao,
                       const QStringList &cabecalhos, const std::vector<double> &larguras,
                       const std::vector<QStringList> &linhas) {
    Documento d;
    d.titulo = titulo;
    d.identificacao = identificacao;
    d.cabeca(titulo);
    d.paragrafo(identificacao);
    if (linhas.empty())
        d.paragrafo(QStringLiteral("A lista está vazia."));
    else
        d.tabela(cabecalhos, larguras).linhas = linhas;
    return d;
}

} // namespace vlme::printing
