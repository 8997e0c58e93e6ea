#include "printing/PaginaHistorico.h"

#include "entry/Numeros.h"
#include "printing/Relatorios.h"

#include <cmath>

namespace vlme::printing {

namespace {

// Figures compare as they are shown: two decimals of dollars and of percent.
bool Difere(double a, double b) {
    return std::llround(a * 100) != std::llround(b * 100);
}

QString Seta(const std::optional<double> &antes, double agora) {
    if (!antes)
        return {};
    return agora > *antes ? QStringLiteral("▲ ") : QStringLiteral("▼ ");
}

} // namespace

QString TituloHistorico(int numero) {
    return QStringLiteral("Histórico da Declaração %1").arg(numero);
}

QStringList CabecalhosHistorico() {
    return {
        QStringLiteral("Quando"),   QStringLiteral("Evento"),       QStringLiteral("Detalhe"),
        QStringLiteral("#Versão"),  QStringLiteral("Usuário"),      QStringLiteral("Máquina"),
        QStringLiteral("Programa"), QStringLiteral("#Custo total"), QStringLiteral("#Coeficiente")};
}

std::vector<MudancaFiguras> MudancasFiguras(const std::vector<store::RegistroHistorico> &linhas) {
    std::vector<MudancaFiguras> mudancas(linhas.size());
    std::optional<store::Figuras> antes;
    for (size_t i = linhas.size(); i-- > 0;) {
        const auto &f = linhas[i].figuras;
        if (!f)
            continue;
        if (antes) {
            if (Difere(f->custoTotal, antes->custoTotal))
                mudancas[i].custoTotal = antes->custoTotal;
            // The coefficient is a fraction; compared as the percentage shown.
            if (Difere(f->coeficiente * 100, antes->coeficiente * 100))
                mudancas[i].coeficiente = antes->coeficiente;
        }
        antes = f;
    }
    return mudancas;
}

QString TextoCusto(double custo) {
    return QStringLiteral("US$ ") + entry::FormataNumero(custo);
}

QString TextoCoeficiente(double coeficiente) {
    return entry::FormataNumero(coeficiente * 100) + QLatin1Char('%');
}

QString TextoQuando(const QDateTime &quando) {
    return quando.isValid() ? quando.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                            : QString();
}

QString TextoHistorico(const store::RegistroHistorico &linha, int coluna,
                       const MudancaFiguras &mudanca) {
    switch (coluna) {
    case HistQuando:
        return TextoQuando(linha.quando);
    case HistEvento:
        return store::NomeEvento(linha.evento);
    case HistDetalhe:
        return linha.detalhe;
    case HistVersao:
        return linha.versao ? QString::number(*linha.versao) : QString();
    case HistUsuario:
        return linha.usuario;
    case HistMaquina:
        return linha.maquina;
    case HistPrograma:
        return linha.programa;
    case HistCustoTotal:
        return linha.figuras ? Seta(mudanca.custoTotal, linha.figuras->custoTotal) +
                                   TextoCusto(linha.figuras->custoTotal)
                             : QString();
    case HistCoeficiente:
        return linha.figuras ? Seta(mudanca.coeficiente, linha.figuras->coeficiente) +
                                   TextoCoeficiente(linha.figuras->coeficiente)
                             : QString();
    default:
        return {};
    }
}

Documento ImprimeHistorico(int numero, const std::vector<store::RegistroHistorico> &linhas,
                           std::optional<store::Evento> filtro) {
    Documento d;
    d.titulo = TituloHistorico(numero);
    d.identificacao = IdentificaDeclaracao(numero);
    d.paisagem = true;
    d.cabeca(d.titulo);
    if (filtro)
        d.paragrafo(QStringLiteral("Eventos: %1").arg(store::NomeEvento(*filtro)));
    // The marks compare with the row before in the whole history, as the
    // window shows them: a filtered page still says what changed.
    const auto mudancas = MudancasFiguras(linhas);
    std::vector<QStringList> celulas;
    for (size_t i = 0; i < linhas.size(); ++i) {
        if (filtro && linhas[i].evento != *filtro)
            continue;
        QStringList linha;
        for (int c = 0; c < ColunasHistorico; ++c)
            linha << TextoHistorico(linhas[i], c, mudancas[i]);
        celulas.push_back(linha);
    }
    if (celulas.empty())
        d.paragrafo(QStringLiteral("Nenhum evento registrado."));
    else
        d.tabela(CabecalhosHistorico(), {2.1, 2.6, 3.2, 0.9, 1.4, 1.4, 1.6, 1.8, 1.4}).linhas =
            std::move(celulas);
    return d;
}

} // namespace vlme::printing
