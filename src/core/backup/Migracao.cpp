#include "backup/Migracao.h"

#include "backup/CopiaSeguranca.h"
#include "backup/ProgressoCancelavel.h"
#include "base/ErroVLME.h"
#include "base/Progresso.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Esquema.h"
#include "store/Historico.h"
#include "store/LeituraDireta.h"
#include "store/Motor.h"
#include "store/Sha256.h"

#include <QDateTime>
#include <QDir>
#include <QSet>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <charconv>
#include <optional>

namespace vlme::backup {

namespace {

// A statement's rows for its digest, in a fixed order. Invoices and
// declarations come in by their values: the form may give a component a new
// invoice row without changing anything the user sees.
const char *const PartesDeclaracao[] = {
    "SELECT * FROM VLME WHERE NR_VLM_VLM = ?",
    "SELECT * FROM MODELOS WHERE NR_VLM_MODELOS = ? ORDER BY NR_SQ_MODELOS",
    "SELECT c.*, n.* FROM COMPONENTES_NACIONAIS c LEFT JOIN NF n"
    " ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.NR_SQ_NACIONAL",
    "SELECT c.*, n.*, d.* FROM COMPONENTES_IMPORTADOS c LEFT JOIN NF n"
    " ON n.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO LEFT JOIN DI d ON d.NR_SQ_DI = c.NR_SEQ_DI_IMPORTADO"
    " WHERE c.NR_VLM_IMPORTADO = ? ORDER BY c.NR_SQ_IMPORTADO",
    "SELECT * FROM SUBCOMP WHERE N_VLM_SUBCOMP = ? ORDER BY N_NACIONAL_SUBCOMP, "
    "N_IMPORTADO_SUBCOMP",
    "SELECT * FROM RECIBO WHERE NR_VLM_RECIBO = ? ORDER BY rowid",
    "SELECT * FROM ERRO WHERE NR_VLM_ERRO = ? ORDER BY rowid",
};

bool Chave(const QString &coluna) {
    return coluna.startsWith(QLatin1String("NR_SEQ_")) || coluna == QLatin1String("NR_SQ_DI");
}

// Passes on the cancel only: the bar and its texts are the migration's.
class SoCancelamento final : public base::ProgressoMudo {
  public:
    explicit SoCancelamento(base::Progresso &fora) : fora_(fora) {}
    bool unidade() override { return fora_.unidade(); }
    bool cancelado() const override { return fora_.cancelado(); }

  private:
    base::Progresso &fora_;
};

// Adds to `servidor` the rows of `tabela` in `local` whose code (the first
// column) it lacks; how many.
int IncluiCodigos(store::Banco &local, store::Banco &servidor, const QString &tabela,
                  const QString &colunas) {
    const QString codigo = colunas.section(QLatin1Char(','), 0, 0).trimmed();
    QSet<QString> presentes;
    {
        QSqlQuery q = servidor.executa(QStringLiteral("SELECT %1 FROM %2").arg(codigo, tabela));
        while (servidor.proxima(q))
            presentes.insert(q.value(0).toString());
    }
    const int n = int(colunas.count(QLatin1Char(',')) + 1);
    QSqlQuery insere =
        servidor.prepara(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                             .arg(tabela, colunas, QStringLiteral(", ?").repeated(n - 1)));
    QSqlQuery le =
        local.executa(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(colunas, tabela));
    int incluidos = 0;
    while (local.proxima(le)) {
        if (presentes.contains(le.value(0).toString()))
            continue;
        presentes.insert(le.value(0).toString());
        QVariantList valores;
        for (int i = 0; i < n; ++i)
            valores << le.value(i);
        servidor.executa(insere, valores);
        ++incluidos;
    }
    return incluidos;
}

// Statement `n`'s identity in the file; one is given to a statement another
// tool added without it.
QString IdentidadeLocal(store::Banco &local, int n) {
    if (const auto estado = store::LeEstado(local, n))
        return estado->identidade;
    store::Transacao t(local);
    const QString identidade = store::CriaControle(local, n);
    t.confirma();
    return identidade;
}

// Where statement `n` of the file (`identidade`, content `assinatura`) stands
// on the server, filed in `r`; false when it was never copied.
bool Classifica(store::Banco &servidor, const QString &origem, int n, const QString &identidade,
                const QString &assinatura, ResultadoMigracao &r) {
    QSqlQuery q = servidor.executa(
        QStringLiteral("SELECT m.NR_VLM_NOVO, m.TX_SHA256_MIGRACAO, v.NR_VLM_VLM"
                       " FROM MIGRACAO_VLME m LEFT JOIN VLME v ON v.NR_VLM_VLM = m.NR_VLM_NOVO"
                       " WHERE m.TX_ID_DECLARACAO = ?"),
        {identidade});
    if (servidor.proxima(q)) {
        const Movida m{n, q.value(0).toInt()};
        if (q.value(2).isNull())
            r.excluidas << m;
        else
            (q.value(1).toString() == assinatura ? r.jaMigradas : r.alteradas) << m;
        return true;
    }
    q.finish();
    // Moved by an earlier version, which knew the file and the number only: the
    // same content is the same statement, and the record learns its identity;
    // other content under that number may be another statement of a
    // hand-copied file, and is reported, never copied over.
    QSqlQuery antiga = servidor.executa(
        QStringLiteral("SELECT m.NR_VLM_NOVO, m.TX_SHA256_MIGRACAO, v.NR_VLM_VLM"
                       " FROM MIGRACAO_VLME m LEFT JOIN VLME v ON v.NR_VLM_VLM = m.NR_VLM_NOVO"
                       " WHERE m.ID_BANCO_ORIGEM = ? AND m.NR_VLM_ORIGEM = ?"
                       " AND m.TX_ID_DECLARACAO IS NULL"),
        {origem, n});
    if (!servidor.proxima(antiga))
        return false;
    const Movida m{n, antiga.value(0).toInt()};
    if (antiga.value(2).isNull()) {
        r.excluidas << m;
    } else if (antiga.value(1).toString() == assinatura) {
        antiga.finish();
        store::Transacao t(servidor);
        servidor.executa(QStringLiteral("UPDATE MIGRACAO_VLME SET TX_ID_DECLARACAO = ?"
                                        " WHERE ID_BANCO_ORIGEM = ? AND NR_VLM_ORIGEM = ?"
                                        " AND TX_ID_DECLARACAO IS NULL"),
                         {identidade, origem, n});
        t.confirma();
        r.jaMigradas << m;
    } else {
        r.alteradas << m;
    }
    return true;
}

// The file's record of the imports that made statement `n` goes with it, so
// an import told to run once refuses the same content on the server.
void MoveImportacoes(store::Banco &local, store::Banco &servidor, int n, int novo) {
    QSqlQuery le = local.executa(
        QStringLiteral("SELECT TX_SHA256_IMPORTACAO, TX_ARQUIVO_IMPORTACAO, DT_IMPORTACAO"
                       " FROM IMPORTACAO WHERE NR_VLM_IMPORTACAO = ? ORDER BY rowid"),
        {n});
    while (local.proxima(le))
        servidor.executa(
            QStringLiteral("INSERT INTO IMPORTACAO (TX_SHA256_IMPORTACAO, NR_VLM_IMPORTACAO,"
                           " TX_ARQUIVO_IMPORTACAO, DT_IMPORTACAO) VALUES (?, ?, ?, ?)"),
            {le.value(0), novo, le.value(1), le.value(2)});
}

// Each statement moved by a run says in the file's history where it went,
// also when the run stops half-way. After the server's commits: the file
// cannot share their transaction.
struct Saidas {
    store::Banco &local, &servidor;
    const QList<Movida> &movidas;
    bool feito = false;

    void registra() {
        feito = true;
        if (movidas.isEmpty())
            return;
        store::Transacao t(local);
        for (const Movida &m : movidas)
            store::RegistraHistorico(
                local, m.antigo, store::Evento::Migrada,
                QStringLiteral("%1, como declaração %2").arg(servidor.descricao()).arg(m.novo));
        t.confirma();
    }
    ~Saidas() {
        if (!feito)
            try {
                registra();
            } catch (const base::ErroVLME &) {
                // What failed first is what the user is told.
            }
    }
};
// A number as the digest writes it: QString::number(v, 'g', 17), the text the
// digests stored by earlier runs were made of. The standard library's is many
// times faster and agrees with it but for -0 and for a value exactly halfway
// at the 17th digit, which Qt rounds up: those go to Qt.
void EscreveReal(QByteArray &saida, double v) {
    char texto[40];
    if (v == 0) {
        saida += '0';
        return;
    }
    // The 18th significant digit, the last of the scientific form with 17 decimals.
    const auto cientifico =
        std::to_chars(texto, texto + sizeof texto, v, std::chars_format::scientific, 17);
    const char *expoente = std::find(texto, cientifico.ptr, 'e');
    if (expoente > texto && expoente[-1] == '5') {
        saida += QByteArray::number(v, 'g', 17);
        return;
    }
    const auto r = std::to_chars(texto, texto + sizeof texto, v, std::chars_format::general, 17);
    saida.append(texto, r.ptr - texto);
}

// The digest of statement `n` read straight from a file of ours (a
// maximum statement's digest took as long as copying it through QSqlQuery);
// nothing where a value would read otherwise through Qt (a blob, text that
// is not UTF-8), for the slow way to digest as ever.
std::optional<QString> AssinaturaDireta(store::Banco &banco, int n) {
    store::Sha256 hash;
    QByteArray bloco;
    for (const char *parte : PartesDeclaracao) {
        store::LeituraDireta q(banco, QByteArray(parte), {n});
        std::vector<bool> chaves; // by column, read once
        while (q.proxima()) {
            if (chaves.empty())
                for (int i = 0; i < q.colunas(); ++i)
                    chaves.push_back(Chave(QString::fromUtf8(q.nome(i)).toUpper()));
            for (int i = 0; i < int(chaves.size()); ++i) {
                if (chaves[std::size_t(i)])
                    continue;
                switch (q.tipo(i)) {
                case store::LeituraDireta::Tipo::Nulo:
                    bloco += '\x01';
                    break;
                case store::LeituraDireta::Tipo::Inteiro: {
                    char texto[24];
                    bloco.append(texto,
                                 std::to_chars(texto, texto + sizeof texto, q.inteiro(i)).ptr -
                                     texto);
                    break;
                }
                case store::LeituraDireta::Tipo::Real:
                    EscreveReal(bloco, q.real(i));
                    break;
                case store::LeituraDireta::Tipo::Texto:
                    if (!q.texto(i).isValidUtf8())
                        return std::nullopt;
                    bloco += q.texto(i);
                    break;
                case store::LeituraDireta::Tipo::Binario:
                    return std::nullopt;
                }
                bloco += '\x1f';
            }
            bloco += '\x1e';
            if (bloco.size() >= (1 << 16)) {
                hash.addData(bloco);
                bloco.clear();
            }
        }
        bloco += '\x1d';
    }
    hash.addData(bloco);
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString AssinaturaDeclaracao(store::Banco &banco, int n) {
    if (banco.motor().tabelasDeArquivo())
        if (const std::optional<QString> assinatura = AssinaturaDireta(banco, n))
            return *assinatura;
    store::Sha256 hash;
    for (const char *parte : PartesDeclaracao) {
        QSqlQuery q = banco.executa(QString::fromLatin1(parte), {n});
        QList<bool> chaves; // by column, read once
        while (banco.proxima(q)) {
            if (chaves.isEmpty()) {
                const QSqlRecord r = q.record();
                for (int i = 0; i < r.count(); ++i)
                    chaves << Chave(r.fieldName(i).toUpper());
            }
            QString linha;
            for (int i = 0; i < chaves.size(); ++i) {
                if (chaves.at(i))
                    continue;
                const QVariant v = q.value(i);
                // Null apart from an empty text; a number whole, to the last bit.
                linha += v.isNull()                        ? QStringLiteral("\x01")
                         : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                           : v.toString();
                linha += QLatin1Char('\x1f');
            }
            hash.addData(linha.toUtf8().append('\x1e'));
        }
        hash.addData(QByteArrayView("\x1d"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

ResultadoMigracao Migra(store::Banco &local, store::Banco &servidor, base::Progresso &progresso) {
    if (!local.motor().tabelasDeArquivo() || servidor.motor().tabelasDeArquivo())
        throw base::ErroVLME(QStringLiteral(
            "A cópia para o banco da equipe lê o VLM.MDB da pasta de dados e grava no servidor "
            "PostgreSQL da equipe. Informe o endereço do servidor (postgresql://...)."));
    store::CompletaEsquema(local);
    const QString origem = store::IdentidadeBanco(local);

    QList<int> numeros;
    {
        QSqlQuery q =
            local.executa(QStringLiteral("SELECT NR_VLM_VLM FROM VLME ORDER BY NR_VLM_VLM"));
        while (local.proxima(q))
            numeros << q.value(0).toInt();
    }
    ResultadoMigracao r;
    ProgressoCancelavel guarda(progresso);
    progresso.faixa(0, int(numeros.size()) + 1);
    SoCancelamento cancelamento(progresso);
    Saidas saidas{local, servidor, r.migradas};
    for (int i = 0; i < numeros.size(); ++i) {
        const int n = numeros.at(i);
        progresso.passo(QStringLiteral("Copiando a declaração %1 (%2 de %3)")
                            .arg(n)
                            .arg(i + 1)
                            .arg(numeros.size()));
        progresso.valor(i);
        if (!progresso.unidade()) {
            r.cancelada = true;
            break;
        }
        const QString identidade = IdentidadeLocal(local, n);
        // The rows copied are the rows of the digest.
        store::Leitura leitura(local);
        const QString assinatura = AssinaturaDeclaracao(local, n);
        // Looked at before taking the write turn: a second run writes nothing.
        if (Classifica(servidor, origem, n, identidade, assinatura, r))
            continue;
        store::Transacao transacao(servidor);
        // Another run may have copied it while this one waited its turn.
        if (Classifica(servidor, origem, n, identidade, assinatura, r))
            continue;
        QVariantList linha = LinhaVLME(local, n);
        linha[17] = linha.at(17).toString(); // never null, as in the program's own rows
        const std::optional<int> novo =
            AdicionaDeclaracao(local, servidor, n, linha,
                               QStringLiteral("Trazida pelo migrar do arquivo %1 (declaração %2)")
                                   .arg(QDir::toNativeSeparators(local.caminho()))
                                   .arg(n),
                               cancelamento);
        if (!novo) {
            r.cancelada = true;
            break;
        }
        MoveImportacoes(local, servidor, n, *novo);
        servidor.executa(
            QStringLiteral("INSERT INTO MIGRACAO_VLME (ID_BANCO_ORIGEM, NR_VLM_ORIGEM,"
                           " NR_VLM_NOVO, TX_SHA256_MIGRACAO, DT_MIGRACAO, TX_ID_DECLARACAO)"
                           " VALUES (?, ?, ?, ?, ?, ?)"),
            {origem, n, *novo, assinatura, QDateTime::currentDateTime().toString(Qt::ISODate),
             identidade});
        transacao.confirma();
        r.migradas << Movida{n, *novo};
    }
    if (r.cancelada) {
        saidas.registra();
        return r;
    }

    progresso.passo(QStringLiteral("Copiando as tabelas NCM e de unidades de medida"));
    progresso.valor(int(numeros.size()));
    if (!progresso.unidade()) {
        r.cancelada = true;
        saidas.registra();
        return r;
    }
    {
        store::Leitura leitura(local);
        store::Transacao transacao(servidor);
        r.ncmIncluidos = IncluiCodigos(local, servidor, QStringLiteral("NCM_ITEM"),
                                       QStringLiteral("CD_NCM_PRODUTO, DESCR_NCM_PRODUTO,"
                                                      " NM_UNID_MED_EST"));
        r.unidadesIncluidas = IncluiCodigos(local, servidor, QStringLiteral("UNIDADE_MEDIDA"),
                                            QStringLiteral("CD_UNID_MEDIDA, NM_MEDIDA"));
        transacao.confirma();
    }
    saidas.registra();
    progresso.valor(int(numeros.size()) + 1);
    return r;
}

QString TextoMigracao(const ResultadoMigracao &r) {
    QString texto;
    for (const Movida &m : r.migradas)
        texto += QStringLiteral("%1 -> %2\n").arg(m.antigo).arg(m.novo);
    for (const Movida &m : r.alteradas)
        texto += QStringLiteral("A declaração %1 foi alterada depois de copiada para o servidor "
                                "(declaração %2 no servidor); não foi copiada de novo.\n")
                     .arg(m.antigo)
                     .arg(m.novo);
    for (const Movida &m : r.excluidas)
        texto += QStringLiteral("A declaração %1 foi excluída no servidor depois de copiada "
                                "(era a declaração %2 no servidor); não foi copiada de novo.\n")
                     .arg(m.antigo)
                     .arg(m.novo);
    const auto declaracoes = [](qsizetype n) {
        return n == 1 ? QStringLiteral("1 declaração") : QStringLiteral("%1 declarações").arg(n);
    };
    if (!r.jaMigradas.isEmpty())
        texto += QStringLiteral("Já estavam no servidor, sem alteração: %1.\n")
                     .arg(declaracoes(r.jaMigradas.size()));
    if (r.cancelada)
        texto += QStringLiteral("Cópia interrompida: as declarações acima já estão no servidor; "
                                "repita a operação para copiar as demais.\n");
    else
        texto += QStringLiteral("Códigos incluídos no servidor: %1 da tabela NCM, %2 da tabela de "
                                "unidades de medida.\n")
                     .arg(r.ncmIncluidos)
                     .arg(r.unidadesIncluidas);
    return texto;
}

} // namespace vlme::backup
