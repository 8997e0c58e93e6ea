#include "import/LeitorLinhas.h"

#include "store/Sha256.h"

#include <cstring>

namespace vlme::importacao {

namespace {

constexpr qint64 Bloco = 64 * 1024;
constexpr qint64 LinhasPorConsulta = 4096;

bool continuacao(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// UTF-8 validity across buffer boundaries: the continuation bytes still owed
// and the range the next one must fall in (no overlong forms, no surrogates,
// nothing past U+10FFFF).
struct ValidadorUtf8 {
    int faltam = 0;
    unsigned char minimo = 0x80, maximo = 0xBF;
    bool valido = true;
    bool naoAscii = false;

    void byte(unsigned char b) {
        if (faltam > 0) {
            if (b < minimo || b > maximo) {
                valido = false;
                return;
            }
            minimo = 0x80;
            maximo = 0xBF;
            --faltam;
            return;
        }
        if (b < 0x80)
            return;
        naoAscii = true;
        if (b >= 0xC2 && b <= 0xDF)
            faltam = 1;
        else if (b >= 0xE0 && b <= 0xEF) {
            faltam = 2;
            minimo = b == 0xE0 ? 0xA0 : 0x80;
            maximo = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            faltam = 3;
            minimo = b == 0xF0 ? 0x90 : 0x80;
            maximo = b == 0xF4 ? 0x8F : 0xBF;
        } else
            valido = false;
    }
};

} // namespace

LeitorLinhas::LeitorLinhas(const QString &caminho, int limite)
    : arquivo_(caminho), limite_(limite) {}

bool LeitorLinhas::abre() {
    arquivo_.close();
    buffer_.clear();
    pos_ = 0;
    inicio_ = true;
    return arquivo_.open(QIODevice::ReadOnly);
}

bool LeitorLinhas::enche() {
    buffer_ = arquivo_.read(Bloco);
    pos_ = 0;
    if (buffer_.isEmpty() && arquivo_.error() != QFileDevice::NoError)
        throw ErroLeitura(arquivo_.error(), arquivo_.errorString());
    return !buffer_.isEmpty();
}

bool LeitorLinhas::fim() {
    return pos_ >= buffer_.size() && !enche();
}

LeitorLinhas::Contagem LeitorLinhas::conta(const std::function<bool(qint64)> &continua) {
    Contagem c;
    if (!arquivo_.seek(0))
        throw ErroLeitura(arquivo_.error(), arquivo_.errorString());
    buffer_.clear();
    pos_ = 0;
    ValidadorUtf8 utf8;
    store::Sha256 resumo;
    char ultimo = '\n';
    qint64 proximaConsulta = LinhasPorConsulta;
    while (enche()) {
        resumo.addData(buffer_);
        for (const char b : std::as_const(buffer_)) {
            if (b == '\n' && ++c.linhas >= proximaConsulta) {
                proximaConsulta += LinhasPorConsulta;
                if (continua && !continua(c.linhas)) {
                    c.interrompida = true;
                    return c;
                }
            }
            if (utf8.valido)
                utf8.byte(static_cast<unsigned char>(b));
        }
        ultimo = buffer_.back();
    }
    if (ultimo != '\n')
        ++c.linhas;
    if (continua && !continua(c.linhas)) {
        c.interrompida = true;
        return c;
    }
    c.sha256 = resumo.result().toHex();
    c.codificacao =
        utf8.valido && utf8.faltam == 0 && utf8.naoAscii ? Codificacao::Utf8 : Codificacao::Latin1;
    codificacao_ = c.codificacao;
    if (!arquivo_.seek(0))
        throw ErroLeitura(arquivo_.error(), arquivo_.errorString());
    buffer_.clear();
    pos_ = 0;
    inicio_ = true;
    return c;
}

bool LeitorLinhas::le(Linha &linha) {
    if (fim())
        return false;
    const bool utf8 = codificacao_ == Codificacao::Utf8;
    // A character takes up to 4 bytes in UTF-8: enough bytes for `limite`
    // characters are kept, the rest only counted.
    const qsizetype guardar = utf8 ? qsizetype(limite_) * 4 : limite_;
    QByteArray bytes;
    qint64 caracteres = 0;
    char anterior = 0;
    bool fimDeLinha = false;
    do {
        const qsizetype n = buffer_.size();
        qsizetype i = pos_;
        const void *nl = std::memchr(buffer_.constData() + i, '\n', std::size_t(n - i));
        i = nl ? static_cast<const char *>(nl) - buffer_.constData() : n;
        const qsizetype trecho = i - pos_;
        if (bytes.size() < guardar)
            bytes.append(buffer_.constData() + pos_, qMin(trecho, guardar - bytes.size()));
        if (!utf8)
            caracteres += trecho;
        else
            for (qsizetype k = pos_; k < i; ++k)
                if (!continuacao(static_cast<unsigned char>(buffer_.at(k))))
                    ++caracteres;
        if (trecho > 0)
            anterior = buffer_.at(i - 1);
        fimDeLinha = i < n;
        pos_ = fimDeLinha ? i + 1 : n;
    } while (!fimDeLinha && !fim());
    if (anterior == '\r') {
        --caracteres;
        if (bytes.endsWith('\r'))
            bytes.chop(1);
    }
    if (inicio_ && utf8 && bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        --caracteres;
    }
    inicio_ = false;
    linha.tamanho = caracteres;
    linha.texto = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    if (linha.texto.size() > limite_)
        linha.texto.truncate(limite_);
    return true;
}

} // namespace vlme::importacao
