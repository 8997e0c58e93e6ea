#pragma once
// The import file of a statement of the largest size (9999 models, 9999
// national components, 9999 imported rows of which one in ten is a
// subcomponent), Latin-1 with CRLF, for the import benchmarks.

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
    for (int i = 1; i <= LinhasMaximas; ++i)
        linhas << "2" + numero(i, 4) + numero(i, 10) + texto(QStringLiteral("1"), 5) +
                      "04539983000190" + texto(QStringLiteral("123456789"), 15) + "20230315" +
                      texto(QStringLiteral("Componente nacional %1").arg(i), 80) +
                      texto(QStringLiteral("UN"), 80) + "85171231" + numero(20000000, 15) +
                      numero(150250000, 15);
    const QByteArray documentoDI = "SS"
                                   "2301234567"
                                   "001"
                                   "01"
                                   "0000000000" +
                                   QByteArray(34, ' ') + "00000000";
    const QByteArray finalDI =
        QByteArray(80, ' ') + "00000000" + numero(30000000, 15) + "N" + numero(10500000, 15);
    const int subcomponentes = LinhasMaximas / 10;
    for (int i = 1; i <= subcomponentes; ++i)
        linhas << "3" + numero(i, 4) + numero(i * 10, 4) + "N" + documentoDI +
                      texto(QStringLiteral("Subcomponente %1").arg(i), 80) + finalDI;
    for (int i = subcomponentes + 1; i <= LinhasMaximas; ++i)
        linhas << "4" + numero(i, 4) + documentoDI +
                      texto(QStringLiteral("Componente importado %1").arg(i), 80) + finalDI;
    linhas << "9" + numero(linhas.size() + 1, 8);
    QByteArray arquivo;
    for (const QByteArray &l : linhas)
        arquivo += l + "\r\n";
    return arquivo;
}

} // namespace vlme::bench
