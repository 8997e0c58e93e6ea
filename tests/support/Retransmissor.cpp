#include "support/Retransmissor.h"

#include <QElapsedTimer>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

namespace vlme::teste {

Retransmissor::Retransmissor(const QString &url) {
    QUrl u(url);
    destino_ = quint16(u.port());
    escuta_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    if (::bind(escuta_, reinterpret_cast<sockaddr *>(&a), n) != 0 || ::listen(escuta_, 8) != 0 ||
        ::getsockname(escuta_, reinterpret_cast<sockaddr *>(&a), &n) != 0)
        ADD_FAILURE() << "retransmissor: porta local indisponível";
    u.setPort(ntohs(a.sin_port));
    url_ = u.toString(QUrl::FullyEncoded);
    thread_ = std::thread([this] { roda(); });
}

Retransmissor::~Retransmissor() {
    fim_ = true;
    thread_.join();
    ::close(escuta_);
}

void Retransmissor::retemEm(const QByteArray &marca, const QByteArray &depois) {
    marca_ = marca;
    depois_ = depois;
    perde_ = false;
    armado_ = true;
}

void Retransmissor::perdeRespostaDe(const QByteArray &marca, const QByteArray &depois) {
    retemEm(marca, depois);
    perde_ = true;
}

void Retransmissor::roda() {
    // Pairs of sockets: [2k] the program's, [2k + 1] the server's.
    std::vector<int> fds;
    QByteArray retidos;
    int retidoPara = -1;
    std::size_t retidoPar = 0;
    // The connection whose answers are lost, closed once the server has had
    // time to act on what it was sent.
    int surdo = -1;
    QElapsedTimer desde;
    const auto fechaPar = [&](std::size_t k) {
        for (std::size_t i : {k & ~std::size_t(1), k | 1})
            if (fds[i] >= 0) {
                ::shutdown(fds[i], SHUT_RDWR);
                ::close(fds[i]);
                fds[i] = -1;
            }
    };
    while (!fim_) {
        if (fechar_.exchange(false))
            for (std::size_t k = 0; k < fds.size(); k += 2)
                fechaPar(k);
        if (surdo >= 0 && desde.elapsed() > 300) {
            fechaPar(std::size_t(surdo));
            surdo = -1;
        }
        if (reteve_ && retomar_) {
            ::send(retidoPara, retidos.constData(), size_t(retidos.size()), MSG_NOSIGNAL);
            reteve_ = armado_ = retomar_ = false;
        }
        std::vector<pollfd> p{{escuta_, POLLIN, 0}};
        // Held: nothing read on that connection, so nothing answered and
        // nothing closed; the others go on.
        for (std::size_t k = 0; k < fds.size(); ++k)
            p.push_back({reteve_ && (k | 1) == (retidoPar | 1) ? -1 : fds[k], POLLIN, 0});
        if (::poll(p.data(), p.size(), 20) <= 0)
            continue;
        if (p[0].revents & POLLIN) {
            const int cliente = ::accept(escuta_, nullptr, nullptr);
            const int servidor = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(destino_);
            ::connect(servidor, reinterpret_cast<sockaddr *>(&a), sizeof a);
            fds.insert(fds.end(), {cliente, servidor});
        }
        for (std::size_t i = 1; i < p.size(); ++i) {
            if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const std::size_t k = i - 1, outro = k ^ 1;
            char dados[65536];
            const ssize_t lidos = ::recv(fds[k], dados, sizeof dados, 0);
            if (lidos <= 0) {
                // The other side reads the end, then closes in turn.
                ::shutdown(fds[outro], SHUT_RDWR);
                ::close(fds[k]);
                fds[k] = -1;
                continue;
            }
            const QByteArray trecho(dados, int(lidos));
            if (k % 2 == 0 && armado_ && !depois_.isEmpty() && trecho.contains(depois_))
                depois_.clear();
            else if (k % 2 == 0 && armado_ && depois_.isEmpty() && trecho.contains(marca_)) {
                // Once: a reconnection's bytes go through.
                armado_ = false;
                if (perde_) {
                    surdo = int(k);
                    desde.start();
                } else {
                    retidos = trecho;
                    retidoPara = fds[outro];
                    retidoPar = k;
                    reteve_ = true;
                    continue;
                }
            }
            // The answer lost on its way back.
            if (surdo >= 0 && std::size_t(surdo) == (k & ~std::size_t(1)) && k % 2 == 1)
                continue;
            ::send(fds[outro], dados, size_t(lidos), MSG_NOSIGNAL);
        }
    }
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

} // namespace vlme::teste
