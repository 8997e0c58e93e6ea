#pragma once
// The import file of a statement of the largest size (9999 models, 9999
// national components, 9999 imported rows of which one in ten is a
// subcomponent), Latin-1 with CRLF, for the import benchmarks. Its rows vary
// as real files do: half the invoices with a state registration and half
// without, imported rows (subcomponents too) with a DI and with an invoice in
// turn, so that consecutive rows of a table fill different columns.

#include "DeclaracaoMaxima.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vlme::bench {

inline QByteArray texto(const QString &t, int largura) {
    return t.leftJustified(largura, QLatin1Char(' '), true).toLatin1();
}

inline QByteArray numero(qint64 n, int largura) {
    return QByteArray::number(n).rightJustified(largura, '0');
}

// The import file of a statement of the largest size.
inline QByteArray ArquivoMaximo() {
    QList<QByteArray> linhas;
    linhas << "0"
              "11222333000181"
              "52998224725" +
                  texto(QStringLiteral("PPB de teste"), 80) +
                  texto(QStringLiteral("Produto máximo"), 80) + "85171231" +
                  texto(QStringLiteral("UN"), 80) + numero(150000, 14) + numero(100000, 15) +
                  numero(50000, 15) + "N" + QByteArray(27, ' ') + "04001V";
    for (int i = 1; i <= LinhasMaximas; ++i)
        linhas << "1" + numero(i, 4) + texto(QStringLiteral("Modelo %1").arg(i), 80) +
                      numero(199990, 15) + texto(QStringLiteral("M%1").arg(i), 15);
    const auto inscricao = [](int i) {
        return texto(i % 2 ? QStringLiteral("123456789") : QString(), 15);
    };
    for (int i = 1; i <= LinhasMaximas; ++i)
        linhas << "2" + numero(i, 4) + numero(i, 10) + texto(QStringLiteral("1"), 5) +
                      "04539983000190" + inscricao(i) + "20230315" +
                      texto(QStringLiteral("Componente nacional %1").arg(i), 80) +
                      texto(QStringLiteral("UN"), 80) + "85171231" + numero(20000000, 15) +
                      numero(150250000, 15);
    // From the document kind to the description: a DI (no unit, no NCM) or an
    // invoice (unit and NCM), then quantity, reduction and unit value.
    const auto documento = [&](int i, const QString &descricao) {
        const QByteArray valores = numero(30000000, 15) + "N" + numero(10500000, 15);
        if (i % 2)
            return "SS2301234567"
                   "001"
                   "01"
                   "0000000000" +
                   QByteArray(34, ' ') + "00000000" + texto(descricao, 80) + QByteArray(80, ' ') +
                   "00000000" + valores;
        return "NS0000000000"
               "000"
               "00" +
               numero(100000 + i, 10) + texto(QStringLiteral("1"), 5) + "04539983000190" +
               inscricao(i / 2) + "20230315" + texto(descricao, 80) +
               texto(QStringLiteral("UN"), 80) + "85171231" + valores;
    };
    const int subcomponentes = LinhasMaximas / 10;
    for (int i = 1; i <= subcomponentes; ++i)
        linhas << "3" + numero(i, 4) + numero(i * 10, 4) + "N" +
                      documento(i, QStringLiteral("Subcomponente %1").arg(i));
    for (int i = subcomponentes + 1; i <= LinhasMaximas; ++i)
        linhas << "4" + numero(i, 4) +
                      documento(i, QStringLiteral("Componente importado %1").arg(i));
    linhas << "9" + numero(linhas.size() + 1, 8);
    QByteArray arquivo;
    for (const QByteArray &l : linhas)
        arquivo += l + "\r\n";
    return arquivo;
}

} // namespace vlme::bench
