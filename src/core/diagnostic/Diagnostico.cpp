#include "diagnostic/Diagnostico.h"

#include "base/InterfaceUsuario.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Historico.h"
#include "store/Reservas.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTime>

namespace vlme::diagnostic {

using base::Botoes;
using base::Icone;

namespace {

const QString TextoConexao =
    QStringLiteral("Ocorreu um erro ao tentar conectar com o servidor. \r\n"
                   "Verifique sua conexão com a internet ou contacte o suporte técnico. Código : ");

std::optional<int> numero(const QString &campo) {
    const QString t = campo.trimmed();
    if (t.isEmpty())
        return 0;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return t.toInt();
}

// The part index at position 2, or -1 when it is not one of 0-4.
int quadro(const QString &linha) {
    const QChar c = linha.size() > 1 ? linha.at(1) : QChar();
    return c >= QLatin1Char('0') && c <= QLatin1Char('4') ? c.unicode() - '0' : -1;
}

void mensagem(base::InterfaceUsuario &usuario, const char *titulo, const QString &texto,
              Icone icone) {
    usuario.mensagem(QString::fromUtf8(titulo), texto, icone, Botoes::Ok);
}

// The answer as text: UTF-8 when it is valid UTF-8 throughout, else Latin-1
// (the server's own pages are). Empty with `motivo` set when it is not text.
QString decodifica(const QByteArray &corpo, QString &motivo) {
    for (const char c : corpo) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n') {
            motivo = QStringLiteral("conteúdo binário");
            return {};
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(corpo);
    return utf8.hasError() ? QString::fromLatin1(corpo) : texto;
}

bool existe(store::Banco &banco, const QString &sql, const QVariantList &valores) {
    return banco.escalar(sql, valores).isValid();
}

// Whether the components an error row names are the statement's; item 0
// names the part as a whole.
bool referenciaExiste(store::Banco &banco, int nrVlm, int parte, int item, int subitem) {
    const QString nacional = QStringLiteral("SELECT 1 FROM COMPONENTES_NACIONAIS"
                                            " WHERE NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?");
    const QString importado = QStringLiteral("SELECT 1 FROM COMPONENTES_IMPORTADOS"
                                             " WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?");
    if (item == 0 || parte < 2)
        return true;
    if (parte == 2)
        return existe(banco, nacional, {nrVlm, item});
    if (subitem == 0)
        return existe(banco, importado, {nrVlm, item});
    return existe(banco, nacional, {nrVlm, item}) && existe(banco, importado, {nrVlm, subitem});
}

QString referencia(int parte, int item, int subitem) {
    switch (parte) {
    case 2:
        return QStringLiteral("n%1").arg(item);
    case 3:
    case 4:
        return subitem != 0 ? QStringLiteral("n%1S%2").arg(item).arg(subitem)
                            : QStringLiteral("i%1").arg(item);
    default: // the statement as a whole
        return QStringLiteral("-");
    }
}

struct Parada {
    QChar tipo;
    QString texto;
};

} // namespace

QChar TipoLinha(const QString &linha) {
    return linha.isEmpty() ? QChar() : linha.at(0);
}

QString NomeQuadro(const QString &linha) {
    static const char *const nomes[] = {"", "DADOS GERAIS", "NACIONAIS", "IMPORTADOS",
                                        "SUBCOMPONENTES"};
    const int i = quadro(linha);
    return i < 0 ? QString() : QString::fromLatin1(nomes[i]);
}

std::optional<int> NumeroItem(const QString &linha) {
    return numero(linha.mid(5, 5));
}

std::optional<int> NumeroSubitem(const QString &linha) {
    return numero(linha.mid(10, 5));
}

QString TextoLinha(const QString &linha) {
    return linha.mid(15);
}

QByteArray CorpoPedido(qint64 nrTransmissao) {
    return QByteArrayLiteral("NR_TRANSMISSAO_VLM:") + QByteArray::number(nrTransmissao);
}

std::optional<qint64> TransmissaoParaPedido(store::Banco &banco, int nrVlm,
                                            base::InterfaceUsuario &usuario) {
    const QVariant t = banco.escalar(
        QStringLiteral("SELECT ifnull(NR_TRANSMISSAO_VLM, 0) FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!t.isValid())
        throw store::ErroDeclaracaoInexistente(nrVlm);
    if (t.toLongLong() > 0)
        return t.toLongLong();
    mensagem(usuario, "ATENÇÃO!", QStringLiteral("VLM-E ainda não transmitido"), Icone::Informacao);
    return std::nullopt;
}

void AvisaTempoEsgotado(base::InterfaceUsuario &usuario, int contador) {
    mensagem(usuario, "ERRO",
             QStringLiteral("Não foi possível conectar ao servidor.\r\nVerifique a configuração "
                            "internet ou contacte o suporte técnico. Códido : ") +
                 QString::number(contador),
             Icone::Critico);
}

Resultado TrataResposta(store::Banco &banco, const QString &pastaPrograma, int nrVlm,
                        const Resposta &resposta, base::InterfaceUsuario &usuario) {
    Resultado r;
    const auto ilegivel = [&](const QString &motivo) {
        mensagem(usuario, "ERRO",
                 QStringLiteral("A resposta do servidor não pôde ser lida (%1) e nada foi "
                                "gravado. Tente novamente mais tarde; se continuar, contacte o "
                                "suporte técnico.")
                     .arg(motivo),
                 Icone::Critico);
        return r;
    };
    switch (resposta.tipo) {
    case Resposta::Tipo::FalhaConexao:
        mensagem(usuario, "ERRO", TextoConexao + QStringLiteral("11"), Icone::Critico);
        return r;
    case Resposta::Tipo::TempoEsgotado:
        AvisaTempoEsgotado(usuario, LimiteTiques);
        return r;
    case Resposta::Tipo::GrandeDemais:
        return ilegivel(QStringLiteral("resposta grande demais"));
    case Resposta::Tipo::Recebida:
        break;
    }
    // A status the server sent tells an HTTP error better than its text; a
    // redirect is not followed, so it is no answer either.
    if (resposta.status >= 300) {
        mensagem(usuario, "ERRO", TextoConexao + QString::number(resposta.status), Icone::Critico);
        return r;
    }
    QString motivo;
    const QString texto = decodifica(resposta.corpo, motivo);
    if (!motivo.isEmpty())
        return ilegivel(motivo);
    if (texto.isEmpty()) {
        mensagem(usuario, "Atenção",
                 QStringLiteral("O servidor não retornou nenhuma informação válida. Tente "
                                "novamente mais tarde"),
                 Icone::Informacao);
        return r;
    }
    const QString maiusculo = texto.toUpper();
    qsizetype p = maiusculo.indexOf(QLatin1String("HTTP 4"));
    if (p < 0)
        p = maiusculo.indexOf(QLatin1String("HTTP 5"));
    if (p >= 0) {
        mensagem(usuario, "ERRO", TextoConexao + texto.mid(p + 5, 3), Icone::Critico);
        return r;
    }
    if (maiusculo.contains(QLatin1String("ERROR"))) {
        mensagem(usuario, "ERRO",
                 QStringLiteral("Ocorreu um erro inesperado no retorno do servidor. Contacte o "
                                "suporte técnico."),
                 Icone::Critico);
        return r;
    }
    QStringList linhas;
    for (QString linha : texto.split(QLatin1Char(';'))) {
        if (linha.size() > TamanhoMaximoLinha)
            return ilegivel(QStringLiteral("linha longa demais, sem separadores"));
        // A server that ends its rows with line breaks too is read alike.
        while (linha.startsWith(QLatin1Char('\r')) || linha.startsWith(QLatin1Char('\n')))
            linha.remove(0, 1);
        while (linha.endsWith(QLatin1Char('\r')) || linha.endsWith(QLatin1Char('\n')))
            linha.chop(1);
        if (!linha.trimmed().isEmpty())
            linhas << linha;
    }

    bool registrado = false;
    QString codigoRegistro;
    std::optional<Parada> parada;
    store::Reserva reserva(banco, nrVlm);
    store::Transacao transacao(banco);
    store::MarcaAlteracao(banco, nrVlm);
    bool substituidos = false;
    const auto substitui = [&] {
        if (!std::exchange(substituidos, true))
            banco.executa(QStringLiteral("DELETE FROM ERRO WHERE NR_VLM_ERRO = ?"), {nrVlm});
    };
    const auto gravaErro = [&](const QString &descricao, const QString &local,
                               const QString &registro, int tipo) {
        substitui();
        banco.executa(QStringLiteral("INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO,"
                                     " REGISTRO_ERRO, TIPO_ERRO) VALUES (?, ?, ?, ?, ?)"),
                      {nrVlm, descricao, local, registro, QString::number(tipo)});
    };
    for (const QString &linha : linhas) {
        const char tipo = TipoLinha(linha).toLatin1();
        const auto item = NumeroItem(linha);
        const auto subitem = NumeroSubitem(linha);
        const QChar subtipo = linha.size() > 1 ? linha.at(1) : QChar();
        if (tipo == '0' && subtipo == QLatin1Char('1')) {
            const QString codigo = linha.mid(5, 10).trimmed();
            const QString dados = TextoLinha(linha);
            const QDate data = QDate::fromString(dados.mid(80, 8), QStringLiteral("yyyyMMdd"));
            const QTime hora = QTime::fromString(dados.mid(88, 6), QStringLiteral("HHmmss"));
            bool ok = false;
            const qint64 valor = codigo.toLongLong(&ok);
            // The code is shown as "0000/00000": nine digits at most.
            if (!ok || valor <= 0 || valor > 999999999 || !data.isValid() || !hora.isValid())
                continue;
            substitui();
            banco.executa(QStringLiteral("UPDATE VLME SET CODIGO_VLM = ?, RAZAO_SOCIAL_VLM = ?,"
                                         " DT_REGISTRO_VLM = ? WHERE NR_VLM_VLM = ?"),
                          {QString::number(valor), dados.left(80).trimmed(),
                           QDateTime(data, hora).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           nrVlm});
            registrado = true;
            codigoRegistro = QString::number(valor);
        } else if (tipo == '0' && subtipo == QLatin1Char('3')) {
            if (!item || *item <= 0)
                continue;
            const QVariant di = banco.escalar(
                QStringLiteral("SELECT NR_SEQ_DI_IMPORTADO FROM COMPONENTES_IMPORTADOS"
                               " WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?"),
                {nrVlm, *item});
            if (di.isValid() && di.toInt() > 0)
                banco.executa(QStringLiteral("UPDATE DI SET DESCRICAO_DI = ? WHERE NR_SQ_DI = ?"),
                              {TextoLinha(linha), di.toInt()});
        } else if (tipo == '1' || tipo == '3') {
            const int parte = quadro(linha);
            if (parte < 0 || !item || !subitem ||
                !referenciaExiste(banco, nrVlm, parte, *item, *subitem))
                continue;
            gravaErro(TextoLinha(linha), NomeQuadro(linha), referencia(parte, *item, *subitem),
                      tipo - '0');
            (tipo == '1' ? r.erros : r.avisos) += 1;
        } else if (tipo >= '4' && tipo <= '7') {
            const QString codigo = item ? QString::number(*item) : linha.mid(5, 5).trimmed();
            parada = Parada{QLatin1Char(tipo),
                            TextoLinha(linha) + QStringLiteral(" Código : ") + codigo};
            if (tipo == '7') {
                gravaErro(TextoLinha(linha), QStringLiteral("-"), QStringLiteral("-"), 1);
                banco.executa(QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1"
                                             " WHERE NR_VLM_VLM = ?"),
                              {nrVlm});
                r.erros += 1;
            }
            break;
        }
    }
    // The pair (code, -1) is the delivery state: registered, or to be
    // transmitted again. A stop row leaves the earlier rows stored but not
    // their effects on the delivery, except a registration: a code beside a
    // positive transmission number would show the statement still editable.
    if (registrado || (r.erros > 0 && !parada))
        banco.executa(
            QStringLiteral("UPDATE VLME SET NR_TRANSMISSAO_VLM = -1 WHERE NR_VLM_VLM = ?"),
            {nrVlm});
    QString desfecho = registrado ? QStringLiteral("Registrada com o código ") + codigoRegistro
                                  : QStringLiteral("Não registrada");
    desfecho += QStringLiteral("; %1 erro(s), %2 aviso(s)").arg(r.erros).arg(r.avisos);
    if (parada)
        desfecho += QStringLiteral("; ") + parada->texto;
    store::RegistraHistorico(banco, nrVlm, store::Evento::Diagnostico, desfecho);
    transacao.confirma();
    r.registrado = registrado;
    if (r.erros > 0 && !parada)
        RemoveArquivosEntrega(banco, pastaPrograma, nrVlm);

    if (parada) {
        const bool informa = parada->tipo == QLatin1Char('5');
        mensagem(usuario, informa ? "ATENÇÃO" : "ERRO!", parada->texto,
                 informa ? Icone::Informacao : Icone::Critico);
        r.parou = true;
        r.desfecho = registrado     ? Desfecho::Registrado
                     : r.erros > 0  ? Desfecho::ComErros
                     : r.avisos > 0 ? Desfecho::ComAvisos
                                    : Desfecho::Mensagem;
    } else if (r.erros > 0) {
        r.desfecho = Desfecho::ComErros;
        r.listar = true;
    } else if (r.avisos > 0) {
        mensagem(usuario, "Sucesso", QStringLiteral("VLM-E registrado com AVISOS."),
                 Icone::Informacao);
        r.desfecho = registrado ? Desfecho::Registrado : Desfecho::ComAvisos;
        r.listar = true;
    } else if (registrado) {
        mensagem(
            usuario, "Sucesso",
            QStringLiteral("VLM-E registrado com sucesso. O Número definitivo já está disponível."),
            Icone::Informacao);
        r.desfecho = Desfecho::Registrado;
    } else {
        mensagem(usuario, "Atenção",
                 QStringLiteral(
                     "O servidor não pode atender a solicitação. Tente novamente mais tarde."),
                 Icone::Informacao);
        r.desfecho = Desfecho::SemDiagnostico;
    }
    return r;
}

Escolha EscolheDiagnostico(store::Banco &banco, int nrVlm) {
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT ifnull(NR_TRANSMISSAO_VLM, 0), ifnull(CODIGO_VLM, '') FROM VLME"
                       " WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(q))
        throw store::ErroDeclaracaoInexistente(nrVlm);
    if (q.value(0).toLongLong() != -1)
        return Escolha::Consulta;
    if (q.value(1).toString().isEmpty())
        return Escolha::Lista;
    const bool avisos = existe(
        banco,
        QStringLiteral("SELECT 1 FROM ERRO WHERE NR_VLM_ERRO = ? AND TIPO_ERRO = '3' LIMIT 1"),
        {nrVlm});
    return avisos ? Escolha::Lista : Escolha::SemErros;
}

void AvisaSemErros(base::InterfaceUsuario &usuario) {
    mensagem(usuario, "Diagnóstico",
             QStringLiteral("Este VLM-E não contém nenhum tipo de erro ou aviso."),
             Icone::Informacao);
}

int RemoveArquivosEntrega(store::Banco &banco, const QString &pastaPrograma, int nrVlm) {
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT ifnull(CNPJ_VLM, ''), ifnull(NR_ARQUIVO_VLM, 0) FROM VLME"
                       " WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(q))
        return 0;
    const qint64 arquivo = q.value(1).toLongLong();
    // Any other number would make a name of another length or with a sign.
    if (arquivo < 0 || arquivo > 9999)
        return 0;
    const QRegularExpression nome(
        QStringLiteral("^VLME%1\\.Z1.$").arg(arquivo, 4, 10, QLatin1Char('0')),
        QRegularExpression::CaseInsensitiveOption);
    const QDir pasta(shell::PastaArquivos(pastaPrograma, q.value(0).toString()));
    int removidos = 0;
    for (const QFileInfo &f :
         pasta.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks))
        if (nome.match(f.fileName()).hasMatch() && QFile::remove(f.filePath()))
            ++removidos;
    return removidos;
}

} // namespace vlme::diagnostic
