#include "delivery/Declaracao.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace vlme::delivery {

// ---- Registros ----

namespace {

// A fault of the program, not of the user's data; still told in their words.
ErroEntrega ErroInterno(const QString &causa) {
    return ErroEntrega(QStringLiteral("O arquivo de transmissão não pôde ser montado (%1). "
                                      "Nada foi gravado; procure o suporte técnico.")
                           .arg(causa));
}

} // namespace

Registro &Registros::Add(const Registro &registro, const QString &chave) {
    if (!chave.isEmpty()) {
        if (porChave_.contains(chave))
            throw ErroInterno(QStringLiteral("chave de registro repetida: %1").arg(chave));
        porChave_.insert(chave, qsizetype(itens_.size()));
    }
    itens_.push_back(registro);
    chaves_.push_back(chave);
    return itens_.back();
}

Registro &Registros::Item(qsizetype indice) {
    return const_cast<Registro &>(std::as_const(*this).Item(indice));
}

const Registro &Registros::Item(qsizetype indice) const {
    if (indice < 0 || size_t(indice) >= itens_.size())
        throw ErroInterno(QStringLiteral("índice de registro inexistente: %1").arg(indice));
    return itens_[size_t(indice)];
}

qsizetype Registros::indiceDa(const QString &chave) const {
    const auto it = porChave_.constFind(chave);
    if (it == porChave_.cend())
        throw ErroInterno(QStringLiteral("chave de registro inexistente: %1").arg(chave));
    return it.value();
}

Registro &Registros::Item(const QString &chave) {
    return itens_[size_t(indiceDa(chave))];
}

const Registro &Registros::Item(const QString &chave) const {
    return itens_[size_t(indiceDa(chave))];
}

void Registros::Remove(qsizetype indice) {
    if (indice < 0 || size_t(indice) >= itens_.size())
        throw ErroInterno(QStringLiteral("índice de registro inexistente: %1").arg(indice));
    itens_.erase(itens_.begin() + indice);
    chaves_.erase(chaves_.begin() + indice);
    // Keys after the removed one move down by one.
    porChave_.clear();
    for (size_t i = 0; i < chaves_.size(); ++i)
        if (!chaves_[i].isEmpty())
            porChave_.insert(chaves_[i], qsizetype(i));
}

void Registros::Remove(const QString &chave) {
    Remove(indiceDa(chave));
}

// ---- Enviador ----

namespace {

void AcrescentaLinha(QByteArray &saida, const QString &tipo, const QString &conteudo,
                     const QString &crc, qsizetype numeroLinha) {
    for (const QString *parte : {&tipo, &conteudo, &crc}) {
        // Written in place: appending a byte at a time took a fifth of the
        // generation.
        const qsizetype inicio = saida.size();
        saida.resize(inicio + parte->size());
        char *p = saida.data() + inicio;
        for (QChar c : *parte) {
            if (c.unicode() > 0xFF)
                throw ErroEntrega(
                    QStringLiteral("A linha %1 do arquivo de transmissão contém o caractere "
                                   "\"%2\", que não pode ser gravado no arquivo.")
                        .arg(numeroLinha)
                        .arg(c));
            *p++ = char(c.unicode());
        }
    }
    saida.append("\r\n", 2);
}

} // namespace

QByteArray Enviador::conteudoArquivo() const {
    QByteArray saida;
    qsizetype tamanho = Declaracao.Trailler.Tipo.size() + Declaracao.Trailler.Conteudo.size() +
                        Declaracao.Trailler.CRC.size() + 2;
    for (const Registro &r : Declaracao.Corpo)
        tamanho += r.Tipo.size() + r.Conteudo.size() + r.CRC.size() + 2;
    saida.reserve(tamanho);
    qsizetype linha = 0;
    for (const Registro &r : Declaracao.Corpo)
        AcrescentaLinha(saida, r.Tipo, r.Conteudo, r.CRC, ++linha);
    const TraillerDeclaracao &t = Declaracao.Trailler;
    AcrescentaLinha(saida, t.Tipo, t.Conteudo, t.CRC, ++linha);
    return saida;
}

void Enviador::Salvar(const QString &caminho, qint16 larguraLinha) const {
    if (larguraLinha != 0)
        throw ErroInterno(QStringLiteral("largura de linha não suportada: %1").arg(larguraLinha));
    const QByteArray bytes = conteudoArquivo();
    QSaveFile arquivo(caminho);
    const auto falhou = [&] {
        return ErroEntrega(QStringLiteral("Não foi possível gravar o arquivo de transmissão "
                                          "%1: %2")
                               .arg(QDir::toNativeSeparators(caminho), arquivo.errorString()));
    };
    if (!arquivo.open(QIODevice::WriteOnly))
        throw falhou();
    if (arquivo.write(bytes) != bytes.size()) {
        const ErroEntrega erro = falhou();
        arquivo.cancelWriting();
        throw erro;
    }
    if (!arquivo.commit())
        throw falhou();
}

// ---- The delivery program ----

namespace {

// The entry of `pasta` named `nome` in any letter case; empty when none.
QString EntradaSemCaixa(const QString &pasta, const QString &nome) {
    QDir dir(pasta);
    if (pasta.isEmpty() || !dir.exists())
        return {};
    if (QFileInfo(dir.filePath(nome)).isFile())
        return dir.filePath(nome);
    const QStringList entradas =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entrada : entradas)
        if (entrada.compare(nome, Qt::CaseInsensitive) == 0)
            return dir.filePath(entrada);
    return {};
}

} // namespace

QString PastaSistema() {
    const QString pasta = qEnvironmentVariable("VLME_PASTA_SISTEMA");
    if (!pasta.isEmpty())
        return pasta;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool LocalizaEnviador(const QString &pastaSistema) {
    const QString ini = EntradaSemCaixa(pastaSistema, QString::fromLatin1(NomeIniEnviador));
    if (ini.isEmpty())
        return false;
    QSettings config(ini, QSettings::IniFormat);
    QString caminho;
    const QStringList secoes = config.childGroups();
    for (const QString &secao : secoes) {
        if (secao.compare(QLatin1String(SecaoEnviador), Qt::CaseInsensitive) != 0)
            continue;
        config.beginGroup(secao);
        const QStringList chaves = config.childKeys();
        for (const QString &chave : chaves)
            if (chave.compare(QLatin1String(ChaveCaminhoEnviador), Qt::CaseInsensitive) == 0) {
                caminho = config.value(chave).toString();
                break;
            }
        config.endGroup();
        break;
    }
    if (caminho.trimmed().isEmpty())
        return false;
    return !EntradaSemCaixa(caminho, QString::fromLatin1(BibliotecaEnviador)).isEmpty();
}

bool LocalizaEnviador() {
    return LocalizaEnviador(PastaSistema());
}

bool ExisteArquivo(const QString &caminho) {
    return !caminho.isEmpty() && QFileInfo(caminho).isFile();
}

} // namespace vlme::delivery
