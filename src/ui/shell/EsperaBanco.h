#pragma once
// The window's side of a write that waits for another program's (vlme-cli
// importing, say): after a moment a small window says so, with a Cancel
// button, while the main window keeps repainting. Installed on the program's
// connection for its life. UI thread only.

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace vlme::store {
class Banco;
}

namespace vlme::ui {

class EsperaBanco {
  public:
    EsperaBanco(store::Banco &banco, QWidget *pai);
    ~EsperaBanco();
    EsperaBanco(const EsperaBanco &) = delete;
    EsperaBanco &operator=(const EsperaBanco &) = delete;

  private:
    bool espera(qint64 esperados);

    store::Banco &banco_;
    QPointer<QWidget> pai_;
    QProgressDialog *janela_ = nullptr;
};

} // namespace vlme::ui
