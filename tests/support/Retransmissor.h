#pragma once
// A TCP relay on 127.0.0.1 between a program and the test server, that can
// stop forwarding while keeping both sides open (the network that silently
// stops answering, or a server stopped while a call is on its way), lose the
// server's answer to a call it forwarded, or close every connection.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

namespace vlme::teste {

class Retransmissor {
  public:
    // To the server of `url`; `url()` names the same database through the relay.
    explicit Retransmissor(const QString &url);
    ~Retransmissor();
    Retransmissor(const Retransmissor &) = delete;
    Retransmissor &operator=(const Retransmissor &) = delete;
    QString url() const { return url_; }
    // Stops forwarding that connection, both ways, at the first bytes from
    // the program that hold `marca`: those are withheld, it stays open, the
    // other connections (a reconnection) go on.
    // With `depois`, only once bytes holding `depois` have passed first.
    void retemEm(const QByteArray &marca, const QByteArray &depois = {});
    // Forwards the first bytes holding `marca` (after `depois`, as above),
    // then drops the server's answer and closes that connection.
    void perdeRespostaDe(const QByteArray &marca, const QByteArray &depois = {});
    // Closes every connection it carries now, both sides.
    void fecha() { fechar_ = true; }
    bool reteve() const { return reteve_; }
    // Forwards again, the withheld bytes first.
    void retoma() { retomar_ = true; }

  private:
    void roda();
    int escuta_ = -1;
    quint16 destino_ = 0;
    QString url_;
    QByteArray marca_, depois_;
    std::atomic<bool> armado_{false}, reteve_{false}, retomar_{false}, fim_{false};
    std::atomic<bool> perde_{false}, fechar_{false};
    std::thread thread_;
};

} // namespace vlme::teste
