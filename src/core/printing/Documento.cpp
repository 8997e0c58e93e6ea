#include "printing/Documento.h"

#include "base/ErroVLME.h"

#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <functional>
#include <numeric>

namespace vlme::printing {

namespace {

constexpr double Dpi = 96.0;
constexpr double Margem = 3.0;      // inside a table cell
constexpr double EspacoFaixa = 8.0; // between the header or footer and the text

// The device every document is measured on: 96 dpi, so the pages depend on
// neither the printer's resolution nor the screen's.
QPaintDevice *DispositivoMedida() {
    static QImage imagem = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int pontosPorMetro = qRound(Dpi / 0.0254);
        i.setDotsPerMeterX(pontosPorMetro);
        i.setDotsPerMeterY(pontosPorMetro);
        return i;
    }();
    return &imagem;
}

QFont Fonte(int pixels, bool negrito = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    // Without ligatures: a PDF's "fi" must read back as two letters when
    // searched or copied; Latin text loses nothing, and layout is quicker.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

struct Fontes {
    QFont texto = Fonte(11), negrito = Fonte(11, true), titulo = Fonte(17, true),
          subtitulo = Fonte(13, true), faixa = Fonte(10);
    QFontMetricsF mTexto{texto, DispositivoMedida()}, mNegrito{negrito, DispositivoMedida()},
        mTitulo{titulo, DispositivoMedida()}, mSubtitulo{subtitulo, DispositivoMedida()},
        mFaixa{faixa, DispositivoMedida()};
};

constexpr int Quebra = Qt::TextWordWrap;

// Lays the blocks out page after page; with a painter it also draws them.
// Two runs (count, then draw) share the measured row heights.
class Paginador {
  public:
    Paginador(const Documento &d, const Fontes &f, QSizeF corpo) : d_(d), f_(f), corpo_(corpo) {}

    // Answers the number of pages; `pintor` draws page `i` at
    // `origem(i)`; `novaPagina` is called before every page but the first.
    template <class NovaPagina> int percorre(QPainter *pintor, NovaPagina novaPagina) {
        pintor_ = pintor;
        novaPagina_ = novaPagina;
        pagina_ = 0;
        y_ = 0;
        alturas_.resize(d_.blocos.size());
        for (size_t b = 0; b < d_.blocos.size(); ++b)
            bloco(d_.blocos[b], alturas_[b],
                  b + 1 < d_.blocos.size() ? &d_.blocos[b + 1] : nullptr);
        return pagina_ + 1;
    }

  private:
    void quebra() {
        ++pagina_;
        y_ = 0;
        if (pintor_)
            novaPagina_();
    }
    // Room for `altura` on this page, else a new one (unless at its top).
    void cabe(double altura) {
        if (y_ > 0 && y_ + altura > corpo_.height())
            quebra();
    }
    void texto(const QString &t, const QFont &fonte, const QFontMetricsF &m, double antes,
               double depois) {
        const QRectF r = m.boundingRect(QRectF(0, 0, corpo_.width(), 1e6), Quebra, t);
        cabe(antes + r.height() + depois);
        if (y_ > 0)
            y_ += antes;
        if (pintor_) {
            pintor_->setFont(fonte);
            pintor_->drawText(QRectF(0, y_, corpo_.width(), r.height()), Quebra, t);
        }
        y_ += r.height() + depois;
    }

    std::vector<double> colunas(const Bloco &b) const {
        const double total = std::accumulate(b.larguras.begin(), b.larguras.end(), 0.0);
        std::vector<double> w;
        for (double l : b.larguras)
            w.push_back(corpo_.width() * l / total);
        return w;
    }
    static double alturaLinha(const QStringList &valores, const std::vector<double> &w,
                              const QFontMetricsF &m) {
        double altura = m.height();
        for (qsizetype c = 0; c < valores.size() && c < qsizetype(w.size()); ++c) {
            const double livre = w[c] - 2 * Margem;
            if (m.horizontalAdvance(valores.at(c)) > livre)
                altura = std::max(
                    altura,
                    m.boundingRect(QRectF(0, 0, livre, 1e6), Quebra, valores.at(c)).height());
        }
        return altura + 2 * Margem;
    }
    void linha(const QStringList &valores, const Bloco &b, const std::vector<double> &w,
               double altura, bool cabecalho, bool grade) {
        if (!pintor_)
            return;
        double x = 0;
        if (cabecalho)
            pintor_->fillRect(QRectF(0, y_, corpo_.width(), altura), QColor(228, 228, 228));
        pintor_->setFont(cabecalho ? f_.negrito : f_.texto);
        for (qsizetype c = 0; c < valores.size() && c < qsizetype(w.size()); ++c) {
            const QRectF celula(x, y_, w[c], altura);
            if (grade)
                pintor_->drawRect(celula);
            if (!grade && c == 1)
                pintor_->setFont(f_.negrito);
            const bool numero = c < qsizetype(b.numericas.size()) && b.numericas[c];
            pintor_->drawText(celula.adjusted(Margem, Margem, -Margem, -Margem),
                              Quebra | (numero ? Qt::AlignRight : Qt::AlignLeft), valores.at(c));
            x += w[c];
        }
    }
    void tabela(const Bloco &b, std::vector<double> &alturas, bool grade) {
        const std::vector<double> w = colunas(b);
        QStringList cabecalhos;
        for (const QString &c : b.cabecalhos)
            cabecalhos << (c.startsWith(QLatin1Char('#')) ? c.mid(1) : c);
        const double alturaCabecalho =
            cabecalhos.isEmpty() ? 0 : alturaLinha(cabecalhos, w, f_.mNegrito);
        if (alturas.size() != b.linhas.size()) {
            alturas.clear();
            for (const QStringList &l : b.linhas)
                alturas.push_back(alturaLinha(l, w, f_.mTexto));
        }
        // Label/value pairs stay together when they fit on a page.
        if (!grade) {
            const double total = std::accumulate(alturas.begin(), alturas.end(), 0.0);
            if (total <= corpo_.height())
                cabe(total);
        }
        bool comCabecalho = false;
        for (size_t i = 0; i < b.linhas.size(); ++i) {
            // A row never splits: it goes whole to the next page, under the
            // header again.
            if (y_ > 0 &&
                y_ + alturas[i] + (comCabecalho ? 0 : alturaCabecalho) > corpo_.height()) {
                quebra();
                comCabecalho = false;
            }
            if (!comCabecalho && alturaCabecalho > 0) {
                linha(cabecalhos, b, w, alturaCabecalho, true, grade);
                y_ += alturaCabecalho;
            }
            comCabecalho = true;
            linha(b.linhas[i], b, w, alturas[i], false, grade);
            y_ += alturas[i];
        }
        y_ += f_.mTexto.height() / 2;
    }
    // Height of a block of pairs: its rows never wrap to fit a page.
    double alturaPares(const Bloco &b) const {
        const std::vector<double> w = colunas(b);
        double total = 0;
        for (const QStringList &l : b.linhas)
            total += alturaLinha(l, w, f_.mTexto);
        return total;
    }
    void bloco(const Bloco &b, std::vector<double> &alturas, const Bloco *seguinte) {
        switch (b.tipo) {
        case Bloco::Tipo::Titulo:
            texto(b.texto, f_.titulo, f_.mTitulo, 0, f_.mTexto.height() / 2);
            break;
        case Bloco::Tipo::Subtitulo: {
            // Kept with the pairs that follow it, or with two lines of a table.
            const double titulo = f_.mTexto.height() + f_.mSubtitulo.height() + 4;
            const double pares =
                seguinte && seguinte->tipo == Bloco::Tipo::Pares ? alturaPares(*seguinte) : 0;
            cabe(titulo +
                 (pares > 0 && titulo + pares <= corpo_.height() ? pares : 4 * f_.mTexto.height()));
            texto(b.texto, f_.subtitulo, f_.mSubtitulo, f_.mTexto.height(), 4);
            break;
        }
        case Bloco::Tipo::Paragrafo:
            if (pintor_)
                pintor_->setFont(f_.texto);
            texto(b.texto, f_.texto, f_.mTexto, 0, f_.mTexto.height() / 2);
            break;
        case Bloco::Tipo::Pares:
            tabela(b, alturas, false);
            break;
        case Bloco::Tipo::Tabela:
            tabela(b, alturas, true);
            break;
        }
    }

    const Documento &d_;
    const Fontes &f_;
    QSizeF corpo_;
    QPainter *pintor_ = nullptr;
    std::function<void()> novaPagina_;
    int pagina_ = 0;
    double y_ = 0;
    std::vector<std::vector<double>> alturas_;
};

} // namespace

void Documento::textual(Bloco::Tipo tipo, const QString &texto) {
    Bloco b;
    b.tipo = tipo;
    b.texto = texto;
    blocos.push_back(std::move(b));
}

void Documento::pares(const std::vector<std::pair<QString, QString>> &pares) {
    Bloco b;
    b.tipo = Bloco::Tipo::Pares;
    b.larguras = {2, 3};
    for (const auto &[rotulo, valor] : pares)
        b.linhas.push_back({rotulo, valor});
    blocos.push_back(std::move(b));
}

Bloco &Documento::tabela(const QStringList &cabecalhos, const std::vector<double> &larguras) {
    Bloco b;
    b.tipo = Bloco::Tipo::Tabela;
    b.cabecalhos = cabecalhos;
    b.larguras = larguras;
    for (const QString &c : cabecalhos)
        b.numericas.push_back(c.startsWith(QLatin1Char('#')));
    blocos.push_back(std::move(b));
    return blocos.back();
}

int Desenha(const Documento &documento, QPagedPaintDevice &dispositivo) {
    const Fontes fontes;
    const double escalaX = dispositivo.logicalDpiX() / Dpi;
    const double escalaY = dispositivo.logicalDpiY() / Dpi;
    const QSizeF pagina(dispositivo.width() / escalaX, dispositivo.height() / escalaY);
    const double faixa = fontes.mFaixa.height() + EspacoFaixa;
    const QRectF corpo(0, faixa, pagina.width(), pagina.height() - 2 * faixa);

    Paginador paginador(documento, fontes, corpo.size());
    const int paginas = paginador.percorre(nullptr, [] {});

    QPainter pintor(&dispositivo);
    if (!pintor.isActive())
        throw base::ErroVLME(QStringLiteral("Não foi possível começar a impressão."));
    pintor.scale(escalaX, escalaY);
    const QString impresso =
        QStringLiteral("Impresso em ") +
        QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    int atual = 0;
    QPen pena(Qt::black);
    pena.setWidthF(0.5);
    const auto faixas = [&] {
        pintor.save();
        pintor.resetTransform();
        pintor.scale(escalaX, escalaY);
        pintor.setPen(pena);
        pintor.setFont(fontes.faixa);
        const double h = fontes.mFaixa.height();
        const QRectF cima(0, 0, pagina.width(), h);
        pintor.drawText(cima, Qt::AlignLeft | Qt::AlignVCenter, documento.titulo);
        pintor.drawText(cima, Qt::AlignRight | Qt::AlignVCenter, documento.identificacao);
        pintor.drawLine(QPointF(0, h + EspacoFaixa / 3),
                        QPointF(pagina.width(), h + EspacoFaixa / 3));
        const QRectF baixo(0, pagina.height() - h, pagina.width(), h);
        pintor.drawLine(QPointF(0, baixo.top() - EspacoFaixa / 3),
                        QPointF(pagina.width(), baixo.top() - EspacoFaixa / 3));
        pintor.drawText(baixo, Qt::AlignLeft | Qt::AlignVCenter, impresso);
        pintor.drawText(baixo, Qt::AlignRight | Qt::AlignVCenter,
                        QStringLiteral("Página %1 de %2").arg(++atual).arg(paginas));
        pintor.restore();
    };
    pintor.setPen(pena);
    pintor.translate(corpo.topLeft());
    faixas();
    paginador.percorre(&pintor, [&] {
        if (!dispositivo.newPage())
            throw base::ErroVLME(
                QStringLiteral("Não foi possível passar à página %1.").arg(atual + 1));
        faixas();
    });
    return paginas;
}

int GravaPDF(const Documento &documento, const QString &caminho) {
    QSaveFile arquivo(caminho);
    const auto falha = [&] {
        return base::ErroVLME(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                                  .arg(QDir::toNativeSeparators(caminho), arquivo.errorString()));
    };
    if (!arquivo.open(QIODevice::WriteOnly))
        throw falha();
    int paginas = 0;
    {
        QPdfWriter pdf(&arquivo);
        pdf.setTitle(documento.titulo + QStringLiteral(" - ") + documento.identificacao);
        pdf.setCreator(QStringLiteral("VLM-E"));
        pdf.setResolution(300);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        documento.paisagem ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
        paginas = Desenha(documento, pdf);
    }
    if (!arquivo.commit())
        throw falha();
    return paginas;
}

} // namespace vlme::printing
