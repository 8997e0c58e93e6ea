#include "ui/shell/frmSplash.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace vlme::ui {

namespace {

// A label drawn twice, the shadow one pixel down and right of the text.
QLabel *rotulo(QWidget *pai, const QString &nome, const QString &texto, const QFont &fonte,
               const QString &cor, const QRect &area) {
    auto *r = new QLabel(texto, pai);
    r->setObjectName(nome);
    r->setFont(fonte);
    r->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(cor));
    r->setAlignment(Qt::AlignCenter);
    r->setGeometry(area);
    return r;
}

} // namespace

frmSplash::frmSplash(const QString &versao, QWidget *pai)
    : QWidget(pai, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("VLM-E"));
    setFixedSize(520, 300);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#frmSplash { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                                 " stop:0 #12406b, stop:1 #0a2440); border: 1px solid #061627; }"));

    QFont titulo = font();
    titulo.setPointSize(40);
    titulo.setBold(true);
    rotulo(this, QStringLiteral("lblTituloSombra"), QStringLiteral("VLM-E"), titulo,
           QStringLiteral("#03101d"), QRect(3, 43, 520, 70));
    rotulo(this, QStringLiteral("lblTitulo"), QStringLiteral("VLM-E"), titulo,
           QStringLiteral("#ffffff"), QRect(0, 40, 520, 70));

    QFont descricao = font();
    descricao.setPointSize(11);
    auto *lblDescricao =
        rotulo(this, QStringLiteral("lblDescricao"),
               QStringLiteral("Declaração do Coeficiente de Redução\ndo Imposto de Importação"),
               descricao, QStringLiteral("#d6e4f2"), QRect(20, 120, 480, 50));
    lblDescricao->setWordWrap(true);

    QFont fonteVersao = font();
    fonteVersao.setPointSize(14);
    fonteVersao.setBold(true);
    const QString textoVersao = QStringLiteral("Versão ") + versao;
    lblSombra = rotulo(this, QStringLiteral("lblSombra"), textoVersao, fonteVersao,
                       QStringLiteral("#03101d"), QRect(2, 192, 520, 30));
    lblVersao = rotulo(this, QStringLiteral("lblVersao"), textoVersao, fonteVersao,
                       QStringLiteral("#f2c14e"), QRect(0, 190, 520, 30));

    QFont fonteDev = font();
    fonteDev.setPointSize(10);
    lblDesenvolvimentoSombra =
        rotulo(this, QStringLiteral("lblDesenvolvimentoSombra"), QStringLiteral("Desenvolvimento"),
               fonteDev, QStringLiteral("#03101d"), QRect(1, 241, 520, 24));
    lblDesenvolvimento =
        rotulo(this, QStringLiteral("lblDesenvolvimento"), QStringLiteral("Desenvolvimento"),
               fonteDev, QStringLiteral("#ff8080"), QRect(0, 240, 520, 24));
    // Only development builds show these.
    lblDesenvolvimento->hide();
    lblDesenvolvimentoSombra->hide();

    objTempo = new QTimer(this);
    objTempo->setObjectName(QStringLiteral("objTempo"));
    objTempo->setInterval(2000);
    objTempo->setSingleShot(true);
    connect(objTempo, &QTimer::timeout, this, &QWidget::close);
    objTempo->start();
    CentraForm(this);
}

void frmSplash::closeEvent(QCloseEvent *evento) {
    objTempo->stop();
    QWidget::closeEvent(evento);
    if (!avisou_) {
        avisou_ = true;
        Q_EMIT fechado();
    }
}

void CentraForm(QWidget *janela) {
    QScreen *tela = janela->screen() ? janela->screen() : QGuiApplication::primaryScreen();
    if (!tela)
        return;
    const QRect area = tela->availableGeometry();
    const QSize tamanho = janela->frameSize().isValid() ? janela->frameSize() : janela->size();
    janela->move(area.x() + (area.width() - tamanho.width()) / 2,
                 area.y() + (area.height() - tamanho.height()) / 2);
}

} // namespace vlme::ui
