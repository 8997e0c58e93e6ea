#include "support/Arquivos.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace vlme::teste {

QString DadoTeste(const QString &relativo) {
    return QStringLiteral(VLME_DADOS_TESTE "/") + relativo;
}

std::string LeBytes(const QString &caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return "<sem arquivo>";
    return f.readAll().toStdString();
}

void GravaBytes(const QString &caminho, const std::string &bytes) {
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        ADD_FAILURE() << "não foi possível escrever " << caminho.toStdString();
}

void ComparaArquivo(const std::string &obtido, const std::string &esperado) {
    EXPECT_EQ(obtido.size(), esperado.size());
    const auto [o, e] =
        std::mismatch(obtido.begin(), obtido.end(), esperado.begin(), esperado.end());
    if (o == obtido.end() && e == esperado.end())
        return;
    const size_t i = size_t(o - obtido.begin());
    const auto linha = std::count(esperado.begin(), e, '\n') + 1;
    const size_t inicio = i == 0 ? std::string::npos : esperado.rfind('\n', i - 1);
    const size_t coluna = i - (inicio == std::string::npos ? 0 : inicio + 1) + 1;
    ADD_FAILURE() << "primeira diferença no byte " << i << " (linha " << linha << ", posição "
                  << coluna << ")\n obtido:   " << obtido.substr(i >= 20 ? i - 20 : 0, 60)
                  << "\n esperado: " << esperado.substr(i >= 20 ? i - 20 : 0, 60);
}

} // namespace vlme::teste
