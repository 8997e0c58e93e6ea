#include "shell/Calculadora.h"

#include <QProcess>
#include <QStandardPaths>

namespace vlme::shell {

QStringList CalculadorasConhecidas() {
    return {
#ifdef Q_OS_WIN
        QStringLiteral("calc"),
#endif
        QStringLiteral("gnome-calculator"),
        QStringLiteral("kcalc"),
        QStringLiteral("mate-calc"),
        QStringLiteral("galculator"),
        QStringLiteral("qalculate-gtk"),
        QStringLiteral("qalculate-qt"),
        QStringLiteral("speedcrunch"),
        QStringLiteral("xcalc"),
    };
}

QString EncontraCalculadora(const QStringList &nomes, const QStringList &caminhos) {
    for (const QString &nome : nomes) {
        const QString caminho = QStandardPaths::findExecutable(nome, caminhos);
        if (!caminho.isEmpty())
            return caminho;
    }
    return {};
}

bool AbreCalculadora(const QStringList &nomes, const QStringList &caminhos) {
    const QString programa = EncontraCalculadora(nomes, caminhos);
    return !programa.isEmpty() && QProcess::startDetached(programa, {});
}

} // namespace vlme::shell
