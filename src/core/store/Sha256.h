#pragma once
// SHA-256 by OpenSSL's libcrypto, which uses the processor's SHA instructions
// (Qt's own took a quarter of a maximum import). Any thread; one per digest.

#include <QByteArray>
#include <QByteArrayView>

#include <openssl/evp.h>

#include <memory>
#include <new>

namespace vlme::store {

class Sha256 {
  public:
    Sha256() : ctx_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
        if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1)
            throw std::bad_alloc();
    }
    void addData(QByteArrayView dados) {
        EVP_DigestUpdate(ctx_.get(), dados.data(), std::size_t(dados.size()));
    }
    // The 32 bytes of the digest; the object is spent.
    QByteArray result() {
        unsigned char resumo[EVP_MAX_MD_SIZE];
        unsigned int tamanho = 0;
        EVP_DigestFinal_ex(ctx_.get(), resumo, &tamanho);
        return QByteArray(reinterpret_cast<const char *>(resumo), int(tamanho));
    }

  private:
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX *)> ctx_;
};

} // namespace vlme::store
