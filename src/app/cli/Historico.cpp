#include "cli/Comandos.h"

#include "cli/Json.h"
#include "printing/PaginaHistorico.h"
#include "store/Banco.h"
#include "store/Historico.h"

#include <QTextStream>

namespace vlme::cli {

namespace {

// The summary's figures, null when the row has none.
QJsonValue Figura(const store::RegistroHistorico &r, double valor) {
    return r.figuras ? Quantia(valor) : QJsonValue(QJsonValue::Null);
}

QJsonObject Objeto(const store::RegistroHistorico &r) {
    const store::Figuras f = r.figuras.value_or(store::Figuras{});
    return {{QStringLiteral("chave"), r.chave},
            {QStringLiteral("identidade"), r.identidade},
            {QStringLiteral("numero"), Numero(r.numero)},
            {QStringLiteral("evento"), store::CodigoEvento(r.evento)},
            {QStringLiteral("nomeEvento"), store::NomeEvento(r.evento)},
            {QStringLiteral("detalhe"), r.detalhe},
            {QStringLiteral("versao"), r.versao ? QJsonValue(*r.versao) : QJsonValue()},
            {QStringLiteral("quando"), r.quando.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("usuario"), r.usuario},
            {QStringLiteral("maquina"), r.maquina},
            {QStringLiteral("programa"), r.programa},
            {QStringLiteral("custoTotal"), Figura(r, f.custoTotal)},
            {QStringLiteral("coeficientePercentual"), Figura(r, f.coeficiente * 100)}};
}

// A text inside a tab-separated line: a file name may hold a tab or a line break.
QString Campo(QString texto) {
    for (QChar &c : texto)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return texto;
}

} // namespace

QString IdentidadeHistorico(Contexto &c) {
    const QString identidade = store::IdentidadeDoNumero(c.banco, c.declaracao);
    if (identidade.isEmpty())
        c.erro << store::ErroDeclaracaoInexistente(c.declaracao).mensagem() << '\n';
    return identidade;
}

// Tab-separated for the company's systems, newest first; the number is the
// statement's when the row was written.
Saida historico(Contexto &c) {
    const bool excluidas = c.argumentos.value(0) == QLatin1String("--excluidas");
    std::vector<store::RegistroHistorico> linhas;
    if (excluidas) {
        linhas = store::LeExcluidas(c.banco);
    } else {
        const QString identidade = IdentidadeHistorico(c);
        if (identidade.isEmpty())
            return Saida::UsoErrado;
        linhas = store::LeHistorico(c.banco, identidade);
        c.json.insert(QStringLiteral("numero"), Numero(c.declaracao));
        c.json.insert(QStringLiteral("identidade"), identidade);
    }
    c.saida << "NUMERO\tQUANDO\tEVENTO\tDETALHE\tVERSAO\tUSUARIO\tMAQUINA\tPROGRAMA\tCUSTO_TOTAL"
               "\tCOEFICIENTE\n";
    QJsonArray lista;
    for (const auto &r : linhas) {
        c.saida << r.numero;
        for (int coluna = 0; coluna < printing::ColunasHistorico; ++coluna)
            c.saida << '\t' << Campo(printing::TextoHistorico(r, coluna));
        c.saida << '\n';
        lista.append(Objeto(r));
    }
    c.json.insert(excluidas ? QStringLiteral("excluidas") : QStringLiteral("historico"), lista);
    return Saida::Sucesso;
}

} // namespace vlme::cli
