#pragma once
// One diagnostic request at a time, asynchronous: the POST goes out and the
// answer arrives as an event of the caller's event loop (the main window's,
// or a local loop in vlme-cli). The caller's repeating 1000 ms timer calls
// `tique`; the 20th tick gives up. Each request ends in exactly one outcome,
// told through the user interface and then reported by `aoTerminar`.
// Does not own the connection, the network manager or the user interface.
// User-interface thread only.

#include "diagnostic/Diagnostico.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace vlme::diagnostic {

class Troca : public QObject {
    Q_OBJECT
  public:
    // `url`: the diagnostic address, path included.
    Troca(store::Banco &banco, const QString &pastaPrograma, const QString &url,
          base::InterfaceUsuario &usuario, QNetworkAccessManager &rede, QObject *pai = nullptr);
    ~Troca() override;

    // Sends the request for statement `nrVlm` and returns at once. False when
    // nothing was sent: not transmitted (told), or a request still waiting.
    bool inicia(int nrVlm);
    // One tick of the caller's timer.
    void tique();
    // 0 when idle, else the ticks since the request plus one.
    int contador() const { return contador_; }
    bool aguardando() const { return contador_ > 0; }
    // The statement of the last request.
    int numero() const { return nrVlm_; }

    // The wait is over, before anything is told (the caller drops its hourglass).
    std::function<void()> aoResponder;
    // The outcome, after it was stored and told.
    std::function<void(const Resultado &)> aoTerminar;

  private:
    void leDados();
    void terminou();
    // Ends the request in hand and handles `resposta`.
    void conclui(const Resposta &resposta);

    store::Banco &banco_;
    QString pasta_;
    QString url_;
    base::InterfaceUsuario &usuario_;
    QNetworkAccessManager &rede_;
    QPointer<QNetworkReply> resposta_;
    QByteArray corpo_;
    int contador_ = 0;
    int nrVlm_ = 0;
};

} // namespace vlme::diagnostic
