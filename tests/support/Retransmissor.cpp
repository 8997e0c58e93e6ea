#include "support/Retransmissor.h"

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

void Retransmissor::retemEm(const QByteArray &marca) {
    marca_ = marca;
    armado_ = true;
}

void Retransmissor::roda() {
    // Pairs of sockets: [2k] the program's, [2k + 1] the server's.
    std::vector<int> fds;
    QByteArray retidos;
    int retidoPara = -1;
    while (!fim_) {
        if (reteve_ && retomar_) {
            ::send(retidoPara, retidos.constData(), size_t(retidos.size()), MSG_NOSIGNAL);
            reteve_ = armado_ = retomar_ = false;
        }
        std::vector<pollfd> p{{escuta_, POLLIN, 0}};
        // Held: nothing read, so nothing answered and nothing closed.
        if (!reteve_)
            for (int fd : fds)
                p.push_back({fd, POLLIN, 0});
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
        for (std::size_t i = 1; i < p.size() && !reteve_; ++i) {
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
            if (k % 2 == 0 && armado_ && trecho.contains(marca_)) {
                retidos = trecho;
                retidoPara = fds[outro];
                reteve_ = true;
                break;
            }
            ::send(fds[outro], dados, size_t(lidos), MSG_NOSIGNAL);
        }
    }
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

} // namespace vlme::teste
