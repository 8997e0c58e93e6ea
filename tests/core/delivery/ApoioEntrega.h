#pragma once
// Shared by the delivery-file tests: a progress double that records what it
// is told and cancels when the script says, and small helpers to write the
// expected files by hand.

#include "shell/Progresso.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vlme::teste {

class ProgressoRoteirizado final : public shell::Progresso {
public:
    // Cancels at the `cancelaNa`-th call of unidade() (1 = the first); 0 never.
    explicit ProgressoRoteirizado(int cancelaNa = 0) : cancelaNa_(cancelaNa) {}

    void abre() override { ++aberturas; aberto = true; }
    void fecha() override { aberto = false; }
    void passo(const QString &texto) override { passos << texto; }
    void faixa(int minimo, int maximo) override { this->minimo = minimo; this->maximo = maximo; }
    void valor(int atual) override { valores.push_back(atual); }
    void permiteCancelar(bool p) override { permite = p; }
    bool unidade() override
    {
        ++unidades;
        if (cancelaNa_ != 0 && unidades == cancelaNa_)
            cancelado_ = true;
        return !cancelado_;
    }
    bool cancelado() const override { return cancelado_; }

    int aberturas = 0;
    bool aberto = false;
    bool permite = false;
    QStringList passos;
    int minimo = -1, maximo = -1;
    std::vector<int> valores;
    int unidades = 0;

private:
    int cancelaNa_;
    bool cancelado_ = false;
};

// A text field of the expected file: `bytes` (already Latin-1) and spaces up
// to `largura`.
inline std::string Campo(const std::string &bytes, size_t largura)
{
    EXPECT_LE(bytes.size(), largura) << "campo esperado maior que a largura: " << bytes;
    return bytes + std::string(largura > bytes.size() ? largura - bytes.size() : 0, ' ');
}
inline std::string Brancos(size_t n) { return std::string(n, ' '); }
inline std::string Zeros(size_t n) { return std::string(n, '0'); }

// The lines joined with CR LF after each one, as the file must hold them;
// each line's length is checked against the layout first, so a slip in
// typing the expected text shows as such.
inline std::string ArquivoEsperado(const std::vector<std::pair<std::string, size_t>> &linhas)
{
    std::string tudo;
    for (const auto &[linha, tamanho] : linhas) {
        EXPECT_EQ(linha.size(), tamanho) << "linha esperada mal digitada: " << linha;
        tudo += linha + "\r\n";
    }
    return tudo;
}

inline std::string LeBytes(const QString &caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return "<sem arquivo>";
    const QByteArray b = f.readAll();
    return std::string(b.constData(), size_t(b.size()));
}

// Compares whole files and, when they differ, says where.
inline void ComparaArquivo(const std::string &obtido, const std::string &esperado)
{
    EXPECT_EQ(obtido.size(), esperado.size());
    size_t i = 0;
    while (i < obtido.size() && i < esperado.size() && obtido[i] == esperado[i])
        ++i;
    if (i < obtido.size() || i < esperado.size()) {
        const size_t linha = size_t(std::count(esperado.begin(), esperado.begin() + long(std::min(i, esperado.size())), '\n')) + 1;
        const size_t inicio = esperado.rfind('\n', i == 0 ? 0 : i - 1);
        const size_t coluna = i - (inicio == std::string::npos ? 0 : inicio + 1) + 1;
        ADD_FAILURE() << "primeira diferença no byte " << i << " (linha " << linha << ", posição "
                      << coluna << ")\n obtido:   "
                      << obtido.substr(i >= 20 ? i - 20 : 0, 60) << "\n esperado: "
                      << esperado.substr(i >= 20 ? i - 20 : 0, 60);
    }
}

} // namespace vlme::teste
