#include "store/arquivo/ReservasArquivo.h"

#include "base/Erros.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlme::store::arquivo {

namespace {

// One line per field: program, user, machine, since (ISO 8601), process.
QByteArray Escreve(const Titular &t) {
    return (QStringList{t.programa, t.usuario, t.maquina, t.desde.toString(Qt::ISODate),
                        QString::number(t.processo)}
                .join(QLatin1Char('\n')) +
            QLatin1Char('\n'))
        .toUtf8();
}

std::optional<Titular> Le(int descritor) {
    char texto[1024];
    const ssize_t lidos = pread(descritor, texto, sizeof texto, 0);
    if (lidos <= 0)
        return std::nullopt;
    const QStringList campos = QString::fromUtf8(texto, int(lidos)).split(QLatin1Char('\n'));
    if (campos.size() < 5)
        return std::nullopt;
    return Titular{campos[0], campos[1], campos[2], QDateTime::fromString(campos[3], Qt::ISODate),
                   campos[4].toLongLong()};
}

} // namespace

ReservasArquivo::ReservasArquivo(const QString &pasta)
    : pasta_(QDir(pasta).filePath(QStringLiteral("Reservas"))) {}

ReservasArquivo::~ReservasArquivo() {
    for (const Tida &t : std::as_const(tidas_))
        close(t.descritor);
}

QString ReservasArquivo::arquivo(int numero) const {
    return QDir(pasta_).filePath(QStringLiteral("VLME%1").arg(numero, 10, 10, QLatin1Char('0')));
}

bool ReservasArquivo::reserva(int numero, const Titular &eu, std::optional<Titular> *outro) {
    if (auto it = tidas_.find(numero); it != tidas_.end()) {
        ++it->vezes;
        return true;
    }
    QDir().mkpath(pasta_);
    const QByteArray nome = QFile::encodeName(arquivo(numero));
    // Only a plain file of its own is written: a link planted under the name
    // (symbolic or hard), or anything else, is put aside, never truncated
    // through; what it points to stays as it was.
    int d = -1;
    for (int vez = 0; vez < 2 && d < 0; ++vez) {
        d = open(nome.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat info {};
        if (d >= 0 && fstat(d, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1)
            break;
        if (d >= 0)
            close(d);
        d = -1;
        unlink(nome.constData());
    }
    if (d < 0)
        throw base::ErroVLME(
            base::Mensagem("ERRO_RESERVA_PASTA", numero, QDir::toNativeSeparators(pasta_)));
    if (flock(d, LOCK_EX | LOCK_NB) != 0) {
        if (outro)
            *outro = Le(d);
        close(d);
        return false;
    }
    // The lock is what reserves; the text only names the holder, so a failure
    // to write it is let pass.
    const QByteArray texto = Escreve(eu);
    const bool escrito =
        ftruncate(d, 0) == 0 && pwrite(d, texto.constData(), size_t(texto.size()), 0) > 0;
    Q_UNUSED(escrito);
    tidas_.insert(numero, {d, 1});
    return true;
}

void ReservasArquivo::libera(int numero) {
    auto it = tidas_.find(numero);
    if (it == tidas_.end() || --it->vezes > 0)
        return;
    // Emptied first: whoever reads it after the unlock finds no stale holder.
    const bool esvaziado = ftruncate(it->descritor, 0) == 0;
    Q_UNUSED(esvaziado);
    close(it->descritor);
    tidas_.erase(it);
}

std::optional<Titular> ReservasArquivo::titular(int numero) {
    if (tidas_.contains(numero))
        return Le(tidas_.value(numero).descritor);
    const QByteArray nome = QFile::encodeName(arquivo(numero));
    const int d = open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (d < 0)
        return std::nullopt;
    std::optional<Titular> t;
    if (flock(d, LOCK_SH | LOCK_NB) != 0)
        t = Le(d).value_or(Titular{});
    else
        flock(d, LOCK_UN);
    close(d);
    return t;
}

} // namespace vlme::store::arquivo
