#pragma once
// A call to the server run on a thread of its own while the user-interface
// thread waits for it, so that a server that does not answer never freezes
// the window: past 0.4 s the wait is shown (Banco::defineEspera) and may be
// given up. Only one call at a time; the connection is used by one thread at
// a time, never by two at once. Owned by Banco, used from its thread.

#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vlme::store::servidor {

class Chamada {
  public:
    Chamada();
    ~Chamada();
    Chamada(const Chamada &) = delete;
    Chamada &operator=(const Chamada &) = delete;

    struct Resultado {
        bool ok = false;
        bool desistiu = false;   // the user gave the wait up
        bool abandonada = false; // left running: `ok` means nothing
    };
    // Runs `trabalho` on the worker until it ends. From 0.4 s on, `espera`
    // is told the milliseconds waited every few tens of them, and -1 at the
    // end; when it answers false, `desiste` is called once to cut the call
    // short. A call that still runs a moment later is abandoned when
    // `abandonavel` (it must own what it uses), else waited for.
    Resultado roda(std::function<bool()> trabalho, const std::function<bool(qint64)> &espera,
                   const std::function<void()> &desiste, bool abandonavel);

  private:
    void laco();
    // Waits up to `ms` for the call to end.
    bool terminou(int ms);

    std::mutex mutex_;
    std::condition_variable sinal_;
    std::function<bool()> trabalho_;
    bool temTrabalho_ = false, pronto_ = true, resultado_ = false, fim_ = false;
    std::thread thread_;
};

} // namespace vlme::store::servidor
