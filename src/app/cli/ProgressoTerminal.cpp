#include "cli/ProgressoTerminal.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace vlme::cli {

namespace {

std::atomic<bool> interrompido{false};
using Tratador = void (*)(int);
Tratador tratadorAnterior = SIG_DFL;

extern "C" void aoInterromper(int) {
    interrompido = true;
}

constexpr int LarguraBarra = 30;

} // namespace

ProgressoTerminal::ProgressoTerminal() : saida_(stderr), interativo_(isatty(fileno(stderr)) != 0) {}

ProgressoTerminal::ProgressoTerminal(QIODevice *saida, bool interativo)
    : saida_(saida), interativo_(interativo) {}

ProgressoTerminal::~ProgressoTerminal() {
    if (aberto_)
        fecha();
}

void ProgressoTerminal::abre() {
    cancelado_ = false;
    aberto_ = true;
    desenhado_ = -1;
    largura_ = 0;
    interrompido = false;
    if (!sinalInstalado_) {
        tratadorAnterior = std::signal(SIGINT, aoInterromper);
        sinalInstalado_ = true;
    }
}

void ProgressoTerminal::fecha() {
    if (sinalInstalado_) {
        std::signal(SIGINT, tratadorAnterior == SIG_ERR ? SIG_DFL : tratadorAnterior);
        sinalInstalado_ = false;
    }
    if (aberto_ && interativo_ && largura_ > 0) {
        // Leave the last state visible and the cursor on a fresh line.
        saida_ << '\n';
        saida_.flush();
    }
    aberto_ = false;
}

void ProgressoTerminal::passo(const QString &texto) {
    if (texto == passo_)
        return;
    passo_ = texto;
    desenhado_ = -1;
    if (!interativo_) {
        saida_ << texto << '\n';
        saida_.flush();
        return;
    }
    desenha();
}

void ProgressoTerminal::faixa(int minimo, int maximo) {
    minimo_ = minimo;
    maximo_ = maximo;
    desenha();
}

void ProgressoTerminal::valor(int atual) {
    atual_ = atual;
    desenha();
}

void ProgressoTerminal::permiteCancelar(bool permite) {
    permite_ = permite;
}

bool ProgressoTerminal::unidade() {
    // A few times a second is enough for the events; every row of a maximum
    // statement took a twentieth of a restore.
    if (QCoreApplication::instance() && (!eventos_.isValid() || eventos_.elapsed() >= 20)) {
        QCoreApplication::processEvents();
        eventos_.start();
    }
    if (permite_ && interrompido.exchange(false))
        cancelado_ = true;
    return !cancelado_;
}

bool ProgressoTerminal::cancelado() const {
    return cancelado_;
}

int ProgressoTerminal::percentual() const {
    if (maximo_ <= minimo_)
        return atual_ >= maximo_ ? 100 : 0;
    const long long feito = qBound<long long>(0, static_cast<long long>(atual_) - minimo_,
                                              static_cast<long long>(maximo_) - minimo_);
    return static_cast<int>(feito * 100 / (static_cast<long long>(maximo_) - minimo_));
}

void ProgressoTerminal::desenha() {
    if (!interativo_ || !aberto_)
        return;
    const int p = percentual();
    // Only a change the eye can see is drawn: a statement of 9999 rows would
    // otherwise write thousands of lines a second to the terminal.
    if (p == desenhado_)
        return;
    desenhado_ = p;
    const int cheios = p * LarguraBarra / 100;
    QString linha = passo_;
    if (!linha.isEmpty())
        linha += QLatin1Char(' ');
    linha += QLatin1Char('[') + QString(cheios, QLatin1Char('#')) +
             QString(LarguraBarra - cheios, QLatin1Char('.')) + QLatin1Char(']') +
             QStringLiteral(" %1%").arg(p, 3);
    const int antiga = largura_;
    largura_ = linha.size();
    if (antiga > largura_)
        linha += QString(antiga - largura_, QLatin1Char(' '));
    saida_ << '\r' << linha;
    saida_.flush();
}

} // namespace vlme::cli
