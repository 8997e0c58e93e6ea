#include "store/servidor/Chamada.h"

#include <QElapsedTimer>

#include <chrono>

namespace vlme::store::servidor {

namespace {

// Shorter waits pass unseen.
constexpr qint64 MostraDepois = 400;
// How long a call given up may take to end before it is left to itself.
constexpr qint64 Abandona = 800;

} // namespace

Chamada::Chamada() : thread_([this] { laco(); }) {}

Chamada::~Chamada() {
    {
        std::lock_guard trava(mutex_);
        fim_ = true;
    }
    sinal_.notify_all();
    thread_.join();
}

void Chamada::laco() {
    std::unique_lock trava(mutex_);
    for (;;) {
        sinal_.wait(trava, [this] { return fim_ || temTrabalho_; });
        if (!temTrabalho_)
            return;
        std::function<bool()> trabalho = std::move(trabalho_);
        temTrabalho_ = false;
        trava.unlock();
        const bool ok = trabalho();
        trava.lock();
        resultado_ = ok;
        pronto_ = true;
        sinal_.notify_all();
    }
}

bool Chamada::terminou(int ms) {
    std::unique_lock trava(mutex_);
    return sinal_.wait_for(trava, std::chrono::milliseconds(ms), [this] { return pronto_; });
}

Chamada::Resultado Chamada::roda(std::function<bool()> trabalho,
                                 const std::function<bool(qint64)> &espera,
                                 const std::function<void()> &desiste, bool abandonavel) {
    QElapsedTimer relogio;
    relogio.start();
    bool mostrou = false;
    Resultado r;
    // Until the call ends, or is left to itself (false).
    const auto aguarda = [&](bool anterior) {
        QElapsedTimer desde;
        for (;;) {
            const qint64 falta =
                mostrou ? 20 : std::max<qint64>(1, MostraDepois - relogio.elapsed());
            if (terminou(int(falta)))
                return true;
            if (r.desistiu) {
                if ((anterior || abandonavel) && desde.elapsed() >= Abandona)
                    return false;
            } else if (espera && relogio.elapsed() >= MostraDepois) {
                mostrou = true;
                if (!espera(relogio.elapsed())) {
                    r.desistiu = true;
                    desde.start();
                    if (!anterior && desiste)
                        desiste();
                }
            }
        }
    };
    // One left to itself before holds the connection until it ends; given
    // up meanwhile, the new one is not even begun.
    if (aguarda(true) && !r.desistiu) {
        {
            std::lock_guard trava(mutex_);
            trabalho_ = std::move(trabalho);
            temTrabalho_ = true;
            pronto_ = false;
        }
        sinal_.notify_all();
        r.abandonada = !aguarda(false);
        if (!r.abandonada) {
            std::lock_guard trava(mutex_);
            r.ok = resultado_;
        }
    } else {
        r.abandonada = true;
    }
    if (mostrou && espera)
        espera(-1);
    return r;
}

} // namespace vlme::store::servidor
