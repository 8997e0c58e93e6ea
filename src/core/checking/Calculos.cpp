#include "checking/Calculos.h"

#include "entry/Numeros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"

#include <QSqlQuery>

#include <charconv>
#include <cmath>
#include <string>

namespace vlme::checking {

namespace {

double soma(store::Banco &banco, const char *sql, int nrVlm) {
    // total() is 0.0 over no rows and skips empty values.
    return banco.escalar(QString::fromLatin1(sql), {nrVlm}).toDouble();
}

} // namespace

double ArredondaPar(double valor, int casas) {
    if (!std::isfinite(valor))
        return valor;
    const entry::DigitosDecimais d = entry::ArredondaDecimal(valor, casas, entry::Meio::Par);
    const std::string texto = d.inteiro + '.' + d.fracao;
    double resultado = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), resultado);
    return d.negativo ? -resultado : resultado;
}

double CalculaCustoNacionais(store::Banco &banco, int nrVlm) {
    const double nacionais =
        soma(banco,
             "SELECT total(QTD_NACIONAL * VL_CUSTO_UNITARIO_NACIONAL) FROM COMPONENTES_NACIONAIS"
             " WHERE NR_VLM_NACIONAL = ?",
             nrVlm);
    const double subcomponentes = soma(
        banco,
        "SELECT total(i.QTD_IMPORTADO * i.VALOR_UNITARIO_IMPORTADO)"
        " FROM COMPONENTES_IMPORTADOS i JOIN SUBCOMP s"
        "   ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
        " WHERE i.NR_VLM_IMPORTADO = ?",
        nrVlm);
    return nacionais - subcomponentes;
}

double CalculaCustoImportados(store::Banco &banco, int nrVlm) {
    return soma(banco,
                "SELECT total(QTD_IMPORTADO * VALOR_UNITARIO_IMPORTADO) FROM COMPONENTES_IMPORTADOS"
                " WHERE NR_VLM_IMPORTADO = ?",
                nrVlm);
}

double CalculaCustoMaoDeObra(store::Banco &banco, int nrVlm) {
    return soma(banco,
                "SELECT total(ifnull(VL_SALARIOS_VLM, 0) + ifnull(VL_ENCARGOS_VLM, 0)) FROM VLME"
                " WHERE NR_VLM_VLM = ?",
                nrVlm);
}

double CalculaValorII(store::Banco &banco, int nrVlm) {
    const double suspensos = soma(banco,
                                  "SELECT total(VALOR_II_IMPORTADO) FROM COMPONENTES_IMPORTADOS"
                                  " WHERE NR_VLM_IMPORTADO = ? AND IN_COM_SUSP_IMPORTADO = 1",
                                  nrVlm);
    const double foraDaBase = soma(
        banco,
        "SELECT total(i.VALOR_II_IMPORTADO)"
        " FROM COMPONENTES_IMPORTADOS i JOIN SUBCOMP s"
        "   ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
        " WHERE i.NR_VLM_IMPORTADO = ? AND s.IN_BASE_CALCULO_SUBCOMP = 0"
        "   AND i.IN_COM_SUSP_IMPORTADO = 1",
        nrVlm);
    return suspensos - foraDaBase;
}

namespace {

int TipoCoeficiente(store::Banco &banco, int nrVlm) {
    return banco
        .escalar(QStringLiteral("SELECT ifnull(TIPO_COEFICIENTE_VLM, 0) FROM VLME"
                                " WHERE NR_VLM_VLM = ?"),
                 {nrVlm})
        .toInt();
}

// The coefficient from the costs of national components, imported ones and
// labour; a fixed one does not depend on them.
double Coeficiente(int tipo, double n, double i, double m) {
    if (tipo == 0)
        return ArredondaPar(88.0 / 100.0, 4);
    const double total = n + i + m;
    if (!(total > 0))
        return 0;
    return ArredondaPar((n + m) / total, 4);
}

} // namespace

double CalculaCoeficiente(store::Banco &banco, int nrVlm) {
    const int tipo = TipoCoeficiente(banco, nrVlm);
    if (tipo == 0)
        return Coeficiente(tipo, 0, 0, 0);
    return Coeficiente(tipo, CalculaCustoNacionais(banco, nrVlm),
                       CalculaCustoImportados(banco, nrVlm), CalculaCustoMaoDeObra(banco, nrVlm));
}

double CalculaValorIIReducao(store::Banco &banco, int nrVlm) {
    const double t = CalculaValorII(banco, nrVlm);
    const double k = CalculaCoeficiente(banco, nrVlm);
    return t - t * k;
}

Resumo CalculaCustos(store::Banco &banco, int nrVlm) {
    store::Leitura leitura(banco);
    Resumo r;
    // Each sum read once: on the server every query is a round trip.
    r.custoNacionais = CalculaCustoNacionais(banco, nrVlm);
    r.custoImportados = CalculaCustoImportados(banco, nrVlm);
    r.custoMaoDeObra = CalculaCustoMaoDeObra(banco, nrVlm);
    r.custoTotal = r.custoNacionais + r.custoImportados + r.custoMaoDeObra;
    r.coeficiente = Coeficiente(TipoCoeficiente(banco, nrVlm), r.custoNacionais, r.custoImportados,
                                r.custoMaoDeObra);
    return r;
}

Resumo CalculaResumo(store::Banco &banco, int nrVlm) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    Resumo r = CalculaCustos(banco, nrVlm);
    r.valorII = CalculaValorII(banco, nrVlm);
    r.valorIIReducao = r.valorII - r.valorII * r.coeficiente;
    return r;
}

QStringList LegendasResumo() {
    return {QStringLiteral("CNPJ Estabelecimento"),
            QStringLiteral("CPF Representante Legal"),
            QStringLiteral("Denominação do Produto"),
            QStringLiteral("Custo Componentes Nacionais"),
            QStringLiteral("Custo Componentes Importados"),
            QStringLiteral("Custo Mão-de-obra"),
            QStringLiteral("Total"),
            QStringLiteral("Valor Total II  sem Redução"),
            QStringLiteral("Coeficiente de Redução do II"),
            QStringLiteral("Valor Total II com Redução")};
}

std::vector<std::pair<QString, QString>> LinhasResumo(store::Banco &banco, int nrVlm) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT CNPJ_VLM, CPF_VLM, DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    QString cnpj, cpf, produto;
    if (banco.proxima(q)) {
        cnpj = q.value(0).toString();
        cpf = q.value(1).toString();
        produto = q.value(2).toString();
    }
    const Resumo r = CalculaResumo(banco, nrVlm);
    auto dolar = [](double v) { return QStringLiteral("US$ ") + entry::FormataNumero(v); };
    const QStringList valores = {cnpj.isEmpty() ? QString() : store::FormataCNPJ(cnpj),
                                 store::FormataCPF(cpf),
                                 produto,
                                 dolar(r.custoNacionais),
                                 dolar(r.custoImportados),
                                 dolar(r.custoMaoDeObra),
                                 dolar(r.custoTotal),
                                 dolar(r.valorII),
                                 entry::FormataNumero(r.coeficiente * 100) + QLatin1Char('%'),
                                 dolar(r.valorIIReducao)};
    const QStringList legendas = LegendasResumo();
    std::vector<std::pair<QString, QString>> linhas;
    for (int i = 0; i < legendas.size(); ++i)
        linhas.emplace_back(legendas[i], valores[i]);
    return linhas;
}

} // namespace vlme::checking
