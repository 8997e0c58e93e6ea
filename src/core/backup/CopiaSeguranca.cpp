#include "backup/CopiaSeguranca.h"

#include "backup/ProgressoCancelavel.h"
#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "shell/Pastas.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/CopiaExclusao.h"
#include "store/EscritaLote.h"
#include "store/GravarLinha.h"
#include "store/GravarLote.h"
#include "store/Historico.h"
#include "store/LeituraDireta.h"
#include "store/Motor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUuid>

#include <QRegularExpression>

#include <filesystem>
#include <limits>
#include <optional>

namespace vlme::backup {

namespace {

const QString TituloCopia = QStringLiteral("Cópia de Segurança");
const QString PrefixoRestauracao = QStringLiteral("Restauração de ");
constexpr int LimiteNomeProduto = 80;
constexpr int LimiteLinhas = 9999;

// The new file, beside the target so that the last step is a rename on one
// file system; removed with its journal unless it became the backup.
class ArquivoParcial {
  public:
    explicit ArquivoParcial(const QString &destino) {
        const QFileInfo info(destino);
        QTemporaryFile reserva(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                               QStringLiteral(".parcial-XXXXXX"));
        if (!reserva.open())
            throw base::ErroVLME(
                QStringLiteral("Não foi possível criar a cópia de segurança na pasta %1: %2. "
                               "Verifique se a pasta existe e permite gravação.")
                    .arg(QDir::toNativeSeparators(info.absolutePath()), reserva.errorString()));
        caminho = reserva.fileName();
        // The name is ours; the database is made anew under it.
    }
    ~ArquivoParcial() {
        if (caminho.isEmpty())
            return;
        for (const char *sufixo : {"", "-journal", "-wal", "-shm"})
            QFile::remove(caminho + QLatin1String(sufixo));
    }
    ArquivoParcial(const ArquivoParcial &) = delete;
    ArquivoParcial &operator=(const ArquivoParcial &) = delete;

    QString caminho;
};

struct PassoCopia {
    const char *texto; // null: the text stays
    int valor;
    const char *tabela;
    const char *onde;
    int parametros; // how many times the number is bound
};

// The statement's rows, each table with the rows that belong to it. Only its
// own ERRO rows go: the others are other statements' business.
const PassoCopia PassosCopia[] = {
    {"Processando", 10, "VLME", "NR_VLM_VLM = ?", 1},
    {"Processando Notas Fiscais", 20, "NF",
     "NR_SEQ_NF IN (SELECT NR_SEQ_NF_NACIONAL FROM main.COMPONENTES_NACIONAIS"
     " WHERE NR_VLM_NACIONAL = ? UNION SELECT NR_SEQ_NF_IMPORTADO"
     " FROM main.COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?)",
     2},
    {"Verificando DIs", 30, "DI",
     "NR_SQ_DI IN (SELECT NR_SEQ_DI_IMPORTADO FROM main.COMPONENTES_IMPORTADOS"
     " WHERE NR_VLM_IMPORTADO = ?)",
     1},
    {"Processando Recibos", 35, "RECIBO", "NR_VLM_RECIBO = ?", 1},
    {"Processando", 45, "COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO = ?", 1},
    {nullptr, 55, "COMPONENTES_NACIONAIS", "NR_VLM_NACIONAL = ?", 1},
    {nullptr, 60, "SUBCOMP", "N_VLM_SUBCOMP = ?", 1},
    {nullptr, 70, "MODELOS", "NR_VLM_MODELOS = ?", 1},
    {nullptr, 75, "ERRO", "NR_VLM_ERRO = ?", 1},
    // Its identity goes with it, and its history: restored, it is still the
    // same statement.
    {nullptr, 78, "CONTROLE", "NR_VLM_CONTROLE = ?", 1},
    {nullptr, 79, "HISTORICO",
     "TX_ID_HISTORICO = (SELECT TX_ID_CONTROLE FROM main.CONTROLE WHERE NR_VLM_CONTROLE = ?)", 1},
};

// Fills the new file `arquivo` with the statement's rows in one transaction;
// false when cancelled. How the rows get there is the database's own: the
// file attaches it, the server sends them through the program.
bool PreencheCopia(store::Banco &banco, const QString &arquivo, int numero,
                   base::Progresso &progresso) {
    const std::unique_ptr<store::CopiaParaArquivo> copia =
        banco.motor().copiaParaArquivo(banco, arquivo);
    for (const PassoCopia &passo : PassosCopia) {
        if (passo.texto)
            progresso.passo(QString::fromUtf8(passo.texto));
        copia->copia(QString::fromLatin1(passo.tabela), QString::fromUtf8(passo.onde),
                     QVariantList(passo.parametros, numero));
        progresso.valor(passo.valor);
        if (!progresso.unidade())
            return false;
    }
    copia->conclui();
    return true;
}

bool MesmoArquivoOuAnexo(const QString &destino, const QString &banco) {
    const QString alvo = QFileInfo(destino).absoluteFilePath();
    const QString proprio = QFileInfo(banco).canonicalFilePath();
    if (proprio.isEmpty())
        return false;
    // VLM.MDB itself and its -wal / -journal / -shm files, by their whole
    // names: a backup beside it (VLM.MDB.BAK) is another file.
    for (const char *sufixo : {"", "-wal", "-journal", "-shm"}) {
        const QString arquivo = proprio + QLatin1String(sufixo);
        if (alvo == arquivo || QFileInfo(alvo).canonicalFilePath() == arquivo)
            return true;
    }
    return false;
}

} // namespace

QString NomeCopia(const QString &nome) {
    QString destino = QString(nome).remove(QStringLiteral("*."));
    if (QFileInfo(destino).suffix().isEmpty())
        destino += QStringLiteral(".BAK");
    return destino;
}

bool GravaCopiaSeguranca(store::Banco &banco, int numero, const QString &destino,
                         base::Progresso &progresso) {
    const QString alvo = QString(destino).remove(QStringLiteral("*."));
    if (MesmoArquivoOuAnexo(alvo, banco.caminho()))
        throw base::ErroVLME(
            QStringLiteral("A cópia de segurança não pode ser gravada sobre o banco de dados "
                           "do programa (%1). Escolha outro nome de arquivo.")
                .arg(QDir::toNativeSeparators(alvo)));
    if (QFileInfo(alvo).isDir())
        throw base::ErroVLME(QStringLiteral("%1 é uma pasta. Escolha um nome de arquivo para "
                                            "a cópia de segurança.")
                                 .arg(QDir::toNativeSeparators(alvo)));
    if (!banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE NR_VLM_VLM = ?"), {numero})
             .isValid())
        throw store::ErroDeclaracaoInexistente(numero);

    ProgressoCancelavel guarda(progresso);
    progresso.faixa(0, 100);
    progresso.valor(0);
    progresso.passo(QStringLiteral("Preparando o arquivo"));
    ArquivoParcial parcial(alvo);
    QFile::remove(parcial.caminho);
    {
        store::Banco novo;
        novo.cria(parcial.caminho);
    }
    progresso.valor(5);
    if (!progresso.unidade())
        return false;
    if (!PreencheCopia(banco, parcial.caminho, numero, progresso))
        return false;
    progresso.passo(QStringLiteral("Compactando Cópia de Segurança"));
    progresso.valor(80);
    if (!progresso.unidade())
        return false;

    progresso.passo(QStringLiteral("Atualizando o sistema de arquivos"));
    // The history's row is committed only once the file is in place.
    store::Transacao transacao(banco);
    store::RegistraHistorico(banco, numero, store::Evento::CopiaSeguranca,
                             QFileInfo(alvo).fileName());
    std::error_code erro;
    std::filesystem::rename(QFile::encodeName(parcial.caminho).toStdString(),
                            QFile::encodeName(alvo).toStdString(), erro);
    if (erro)
        throw base::ErroVLME(
            QStringLiteral("Não foi possível gravar a cópia de segurança em %1. Verifique se a "
                           "pasta permite gravação e repita a operação.")
                .arg(QDir::toNativeSeparators(alvo)),
            QString::fromStdString(erro.message()));
    parcial.caminho.clear();
    transacao.confirma();
    progresso.valor(100);
    return true;
}

bool GeraCopiaSeguranca(store::Banco &banco, const QString &pastaPrograma, int numero,
                        base::InterfaceUsuario &usuario, base::Progresso &progresso) {
    const QVariant cnpj =
        banco.escalar(QStringLiteral("SELECT CNPJ_VLM FROM VLME WHERE NR_VLM_VLM = ?"), {numero});
    if (!cnpj.isValid())
        throw store::ErroDeclaracaoInexistente(numero);
    const QString destino = usuario.escolheArquivoSalvar(
        QStringLiteral("Gerar Cópia de Segurança"), QString::fromUtf8(FiltroCopia),
        shell::PastaArquivos(pastaPrograma, cnpj.toString()));
    if (destino.isEmpty())
        return false;
    if (!GravaCopiaSeguranca(banco, numero, NomeCopia(destino), progresso)) {
        usuario.mensagem(QStringLiteral("Cancelado!"), base::Mensagem("AVISO_OPERACAO_CANCELADA"),
                         base::Icone::Exclamacao, base::Botoes::Ok);
        return false;
    }
    usuario.mensagem(TituloCopia, QStringLiteral("A Cópia de Segurança foi gerada com sucesso!"),
                     base::Icone::Informacao, base::Botoes::Ok);
    return true;
}

namespace {

// The tables a restore reads.
const char *const TabelasLidas[] = {
    "VLME",   "MODELOS", "COMPONENTES_NACIONAIS", "COMPONENTES_IMPORTADOS", "SUBCOMP", "NF", "DI",
    "RECIBO", "ERRO"};

QString AssinaturaColunas(store::Banco &banco, const char *tabela) {
    return banco
        .escalar(QStringLiteral("SELECT group_concat(nome, ',') FROM (SELECT upper(name) ||"
                                " ':' || hidden AS nome FROM pragma_table_xinfo(?) ORDER BY 1)"),
                 {QString::fromLatin1(tabela)})
        .toString();
}

// The largest value a numeric column of a backup may hold: its field's
// integer digits where it is typed, else what a delivery file can carry.
double LimiteNumero(const QString &coluna, bool inteiro) {
    if (coluna.startsWith(QLatin1String("QTD_")))
        return 1e8;
    if (coluna == QLatin1String("VL_CUSTO_UNITARIO_NACIONAL") ||
        coluna == QLatin1String("VALOR_UNITARIO_IMPORTADO") ||
        coluna == QLatin1String("PRECO_VENDA_MODELOS"))
        return 1e9;
    if (coluna == QLatin1String("ALIQUOTA_IMPORTADO"))
        return 1e3;
    // Keys, sequences, flags and file numbers are 32-bit.
    if (inteiro && !coluna.startsWith(QLatin1String("NR_TRANSMISSAO_")))
        return 2147483648.0;
    return 1e15;
}

// Per table: the column that names the statement (empty: every row is read).
struct TabelaLida {
    const char *nome, *declaracao;
    int maximo; // rows of the statement; 0: not counted
};
const TabelaLida Limites[] = {
    {"VLME", "NR_VLM_VLM", 1},
    {"MODELOS", "NR_VLM_MODELOS", LimiteLinhas},
    {"COMPONENTES_NACIONAIS", "NR_VLM_NACIONAL", LimiteLinhas},
    {"COMPONENTES_IMPORTADOS", "NR_VLM_IMPORTADO", LimiteLinhas},
    // Each subcomponent is an imported row.
    {"SUBCOMP", "N_VLM_SUBCOMP", LimiteLinhas},
    {"ERRO", "NR_VLM_ERRO", 100000},
    {"RECIBO", "NR_VLM_RECIBO", 100},
    {"NF", nullptr, 0},
    {"DI", nullptr, 0},
};
// A text column without a declared length (dates, receipts, messages).
constexpr int LimiteTextoLivre = 2048;

// Whether every row of statement `m` the restore reads fits the program's
// columns: counts, text lengths, numbers within their digits, no blobs.
bool DentroDosLimites(store::Banco &copia, store::Banco &banco, qint64 m) {
    static const QRegularExpression tamanho(QStringLiteral("\\((\\d+)\\)"));
    for (const TabelaLida &t : Limites) {
        const QString tabela = QString::fromLatin1(t.nome);
        const QString onde = t.declaracao ? QLatin1String(t.declaracao) + QStringLiteral(" = ?")
                                          : QStringLiteral("1");
        const QVariantList parametro = t.declaracao ? QVariantList{m} : QVariantList{};
        if (t.maximo > 0 &&
            copia.escalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(tabela, onde),
                          parametro)
                    .toLongLong() > t.maximo)
            return false;
        QStringList fora;
        QSqlQuery q = banco.executa(
            QStringLiteral("SELECT name, upper(type) FROM pragma_table_info(?)"), {tabela});
        while (banco.proxima(q)) {
            const QString c = q.value(0).toString();
            const QString tipo = q.value(1).toString();
            // Compared as stored (`+` drops the column's affinity), a text or a
            // blob is greater than any number and a blob than any text: plain
            // comparisons, where typeof() and abs() took a quarter of a restore.
            const bool inteiro = tipo.startsWith(QLatin1String("INTEGER"));
            if (inteiro || tipo == QLatin1String("REAL"))
                fora << QStringLiteral("NOT (+%1 > -%2 AND +%1 < %2)")
                            .arg(c, QString::number(LimiteNumero(c, inteiro), 'f', 0));
            else {
                const auto r = tamanho.match(tipo);
                fora << QStringLiteral("+%1 >= x'' OR length(%1) > %2")
                            .arg(c,
                                 r.hasMatch() ? r.captured(1) : QString::number(LimiteTextoLivre));
            }
        }
        if (copia
                .escalar(QStringLiteral("SELECT 1 FROM %1 WHERE (%2) AND (%3) LIMIT 1")
                             .arg(tabela, onde, fora.join(QLatin1String(" OR "))),
                         parametro)
                .isValid())
            return false;
    }
    return true;
}

// The backup as the single file it is on disk, in a private copy: SQLite
// would otherwise read a -wal beside it and write a -shm next to the user's
// file. A WAL-mode header is turned back to the rollback journal's.
bool CopiaPrivada(const QString &caminho, QTemporaryFile &privada) {
    QFile origem(caminho);
    if (!origem.open(QIODevice::ReadOnly) || !privada.open())
        return false;
    QByteArray bloco;
    bool primeiro = true;
    while (!(bloco = origem.read(1 << 20)).isEmpty()) {
        if (primeiro && bloco.size() >= 20) {
            for (int i : {18, 19})
                if (bloco.at(i) == 2)
                    bloco[i] = 1;
            primeiro = false;
        }
        if (privada.write(bloco) != bloco.size())
            return false;
    }
    return origem.error() == QFileDevice::NoError && privada.flush();
}

// Opens `caminho` as a backup and checks its layout and bounds before any row
// is read; the number of its statement, or 0 when the file is not a backup
// of ours or does not fit.
int AbreCopia(store::Banco &copia, store::Banco &banco, const QString &caminho,
              QTemporaryFile &privada) {
    if (store::ExaminaArquivo(caminho) != store::TipoArquivo::Nosso ||
        MesmoArquivoOuAnexo(caminho, banco.caminho()))
        return 0;
    // The columns and sizes a backup is held to: the program's own file's, or
    // on the team server (whose tables carry more) a file made by the schema code.
    std::optional<QTemporaryDir> pastaModelo;
    store::Banco modelo;
    store::Banco *referencia = &banco;
    if (!banco.motor().tabelasDeArquivo()) {
        // In the system's memory file system where there is one: written with
        // a disk's flushes, this throwaway file took a tenth of a restore.
        const QFileInfo memoria(QStringLiteral("/dev/shm"));
        if (memoria.isDir() && memoria.isWritable())
            pastaModelo.emplace(memoria.filePath() + QStringLiteral("/vlme-modelo-XXXXXX"));
        if (!pastaModelo || !pastaModelo->isValid())
            pastaModelo.emplace();
        const QString arquivo = pastaModelo->filePath(QStringLiteral("modelo.MDB"));
        modelo.cria(arquivo);
        modelo.abreSomenteLeitura(arquivo);
        referencia = &modelo;
    }
    // Read first: a failure of the program's own database is not the file's.
    QStringList esperadas;
    for (const char *tabela : TabelasLidas)
        esperadas << AssinaturaColunas(*referencia, tabela);
    if (!CopiaPrivada(caminho, privada))
        return 0;
    try {
        copia.abreSomenteLeitura(privada.fileName());
        if (copia.escalar(QStringLiteral("PRAGMA quick_check")).toString() != QLatin1String("ok"))
            return 0;
        if (copia
                .escalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN"
                                        " ('trigger', 'view') OR (type = 'table' AND"
                                        " sql LIKE 'CREATE VIRTUAL%')"))
                .toInt() != 0)
            return 0;
        for (int i = 0; i < esperadas.size(); ++i)
            if (esperadas.at(i).isEmpty() ||
                AssinaturaColunas(copia, TabelasLidas[i]) != esperadas.at(i))
                return 0;
        if (copia.escalar(QStringLiteral("SELECT count(*) FROM VLME")).toInt() != 1)
            return 0;
        const qint64 m = copia.escalar(QStringLiteral("SELECT NR_VLM_VLM FROM VLME")).toLongLong();
        if (m <= 0 || m > std::numeric_limits<int>::max())
            return 0;
        return DentroDosLimites(copia, *referencia, m) ? static_cast<int>(m) : 0;
    } catch (const store::ErroBanco &) {
        return 0;
    }
}

// The invoice or declaration read beside a row at `coluna` (the row's link,
// then the key it joins to, then T's columns after its key) copied through
// the bulk writer; its new key, or 0 when the link is 0 or names no row.
template <class T>
int RestauraDocumento(store::GravacaoEmLote &lote, const store::LeituraDireta &l, int coluna,
                      int colunas) {
    if (l.valor(coluna).toLongLong() == 0 || l.valor(coluna + 1).isNull())
        return 0;
    store::gravar::LinhaDe<T> linha;
    for (int i = 1; i <= colunas; ++i)
        linha.poeLido(typename T::Coluna(i), l.valor(coluna + 1 + i));
    return int(lote.insere(linha));
}

// Read beside each component, so that its documents take no query of their own.
const char ColunasDI[] = "d.NR_SQ_DI, d.NR_DI_DI, d.NR_ADICAO_DI, d.NR_ITEM_DI, d.DESCRICAO_DI";
const char ColunasNF[] = "n.NR_SEQ_NF, n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.DATA_EMISSAO_NF,"
                         " n.NR_INS_ESTADUAL_NF";

const char ColunasVLME[] =
    "DT_REGISTRO_VLM, CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM, PERC_REDUCAO_VLM,"
    " SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM, NCM_VLM,"
    " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, UNIDADE_VLM, NR_TRANSMISSAO_VLM,"
    " NR_ARQUIVO_VLM, CODIGO_VLM, RAZAO_SOCIAL_VLM, DEN_PRODUTO_VLM";
constexpr int NumeroColunasVLME = 20;

// The rows of one table of statement `m` in the backup, each added to the
// program's database as `poe` makes it; false when cancelled. Read straight
// from SQLite: through QSqlQuery the reading cost more than the writing.
template <class Poe>
bool RestauraLinhas(store::Banco &copia, base::Progresso &progresso, int &feitos,
                    const QString &selecao, int m, Poe poe) {
    store::LeituraDireta le(copia, selecao.toUtf8(), {m});
    while (le.proxima()) {
        poe(le);
        progresso.valor(++feitos);
        if (!progresso.unidade())
            return false;
    }
    return true;
}

// Through the bulk writer: the columns read go to `colunas` in turn, `completa`
// sets the rest.
template <class T, class Completa>
bool RestauraNoLote(store::Banco &copia, store::GravacaoEmLote &lote, base::Progresso &progresso,
                    int &feitos, const QString &selecao, int m,
                    std::initializer_list<typename T::Coluna> colunas, Completa completa) {
    return RestauraLinhas(copia, progresso, feitos, selecao, m, [&](store::LeituraDireta &l) {
        store::gravar::LinhaDe<T> linha;
        int i = 0;
        for (const typename T::Coluna c : colunas)
            linha.poeLido(c, l.valor(i++));
        completa(linha, l);
        lote.insere(linha);
    });
}

} // namespace

QVariantList LinhaVLME(store::Banco &copia, int m) {
    QVariantList linha;
    QSqlQuery q = copia.executa(
        QStringLiteral("SELECT %1 FROM VLME WHERE NR_VLM_VLM = ?").arg(ColunasVLME), {m});
    if (!copia.proxima(q))
        throw store::ErroDeclaracaoInexistente(m);
    for (int i = 0; i < NumeroColunasVLME; ++i)
        linha << q.value(i);
    return linha;
}

namespace {

QString IdentidadeNaCopia(store::Banco &copia, int m) {
    // Backups made before the record carry none; a file is untrusted.
    if (!copia
             .escalar(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table'"
                                     " AND name = 'CONTROLE'"))
             .isValid())
        return {};
    const QUuid id = QUuid::fromString(
        copia
            .escalar(
                QStringLiteral("SELECT TX_ID_CONTROLE FROM CONTROLE WHERE NR_VLM_CONTROLE = ?"),
                {m})
            .toString());
    return id.isNull() ? QString() : id.toString(QUuid::WithoutBraces);
}

// The history a backup carries, each text cut to its column: the file is
// untrusted. Backups made before the history carry none.
std::vector<store::RegistroHistorico> HistoricoNaCopia(store::Banco &copia,
                                                       const QString &identidade) {
    if (identidade.isEmpty() ||
        !copia
             .escalar(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table'"
                                     " AND name = 'HISTORICO'"))
             .isValid())
        return {};
    std::vector<store::RegistroHistorico> linhas = store::LeHistorico(copia, identidade);
    for (store::RegistroHistorico &h : linhas) {
        h.detalhe.truncate(500);
        h.usuario.truncate(80);
        h.maquina.truncate(255);
        h.programa.truncate(40);
    }
    return linhas;
}

} // namespace

std::optional<int> AdicionaDeclaracao(store::Banco &copia, store::Banco &banco, int m,
                                      const QVariantList &linhaVLME, const QString &origem,
                                      base::Progresso &progresso) {
    store::Transacao transacao(banco);
    const int total =
        copia
            .escalar(QStringLiteral(
                         "SELECT (SELECT count(*) FROM COMPONENTES_IMPORTADOS WHERE"
                         " NR_VLM_IMPORTADO = ?) + (SELECT count(*) FROM COMPONENTES_NACIONAIS"
                         " WHERE NR_VLM_NACIONAL = ?) + (SELECT count(*) FROM SUBCOMP WHERE"
                         " N_VLM_SUBCOMP = ?) + (SELECT count(*) FROM MODELOS WHERE"
                         " NR_VLM_MODELOS = ?) + (SELECT count(*) FROM ERRO WHERE"
                         " NR_VLM_ERRO = ?) + (SELECT count(*) FROM RECIBO WHERE"
                         " NR_VLM_RECIBO = ?)"),
                     QVariantList(6, m))
            .toInt();
    progresso.faixa(0, total);
    progresso.valor(0);

    progresso.passo(QStringLiteral("Restaurando VLM-E"));
    QStringList marcas;
    for (int i = 0; i < NumeroColunasVLME; ++i)
        marcas << QStringLiteral("?");
    const int novo = banco
                         .executa(QStringLiteral("INSERT INTO VLME (%1) VALUES (%2)")
                                      .arg(QLatin1String(ColunasVLME), marcas.join(u',')),
                                  linhaVLME)
                         .lastInsertId()
                         .toInt();
    const QString identidadeCopia = IdentidadeNaCopia(copia, m);
    const QString identidade = store::CriaControle(banco, novo, identidadeCopia);

    // The statement's rows go through the bulk writer (on the server, one
    // COPY per table); the few error and receipt rows one by one.
    store::GravacaoEmLote lote(banco);
    int feitos = 0;
    using I = store::gravar::TabelaImportados;
    using N = store::gravar::TabelaNacionais;
    using S = store::gravar::TabelaSubcomp;
    using Mo = store::gravar::TabelaModelos;
    using store::gravar::TabelaDI;
    using store::gravar::TabelaNF;

    progresso.passo(QStringLiteral("Restaurando Componentes Importados"));
    if (!RestauraNoLote<I>(
            copia, lote, progresso, feitos,
            QStringLiteral(
                "SELECT c.NR_SQ_IMPORTADO, c.TX_DESCRICAO_IMPORTADO, c.QTD_IMPORTADO,"
                " c.VALOR_UNITARIO_IMPORTADO, c.ALIQUOTA_IMPORTADO, c.VALOR_II_IMPORTADO,"
                " c.IN_COM_SUSP_IMPORTADO, c.IN_DIRETO_IMPORTADO, c.IN_REDUCAO_II_IMPORTADO,"
                " c.NCM_IMPORTADO, c.UNIDADE_IMPORTADO, c.NR_SEQ_DI_IMPORTADO, %1,"
                " c.NR_SEQ_NF_IMPORTADO, %2 FROM COMPONENTES_IMPORTADOS c"
                " LEFT JOIN DI d ON d.NR_SQ_DI = c.NR_SEQ_DI_IMPORTADO"
                " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO"
                " WHERE c.NR_VLM_IMPORTADO = ? ORDER BY c.NR_SQ_IMPORTADO")
                .arg(QLatin1String(ColunasDI), QLatin1String(ColunasNF)),
            m,
            {I::NrSq, I::Descricao, I::Quantidade, I::ValorUnitario, I::Aliquota, I::ValorII,
             I::ComSuspensao, I::Direto, I::ReducaoII, I::Ncm, I::Unidade},
            [&](store::gravar::LinhaDe<I> &linha, store::LeituraDireta &l) {
                linha.poe(I::NrVlm, novo);
                linha.poe(I::ChaveDI, RestauraDocumento<TabelaDI>(lote, l, 11, 4));
                linha.poe(I::ChaveNF, RestauraDocumento<TabelaNF>(lote, l, 17, 5));
                linha.poeLido(I::NumeroNoArquivo, l.valor(0));
            }))
        return std::nullopt;

    progresso.passo(QStringLiteral("Restaurando Componentes Nacionais"));
    if (!RestauraNoLote<N>(
            copia, lote, progresso, feitos,
            QStringLiteral("SELECT c.NR_SQ_NACIONAL, c.TX_DESCRICAO_NACIONAL, c.QTD_NACIONAL,"
                           " c.VL_CUSTO_UNITARIO_NACIONAL, c.NCM_NACIONAL, c.UNIDADE_NACIONAL,"
                           " c.NR_SEQ_NF_NACIONAL, %1 FROM COMPONENTES_NACIONAIS c"
                           " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL"
                           " WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.NR_SQ_NACIONAL")
                .arg(QLatin1String(ColunasNF)),
            m, {N::NrSq, N::Descricao, N::Quantidade, N::CustoUnitario, N::Ncm, N::Unidade},
            [&](store::gravar::LinhaDe<N> &linha, store::LeituraDireta &l) {
                linha.poe(N::NrVlm, novo);
                linha.poe(N::ChaveNF, RestauraDocumento<TabelaNF>(lote, l, 6, 5));
                linha.poeLido(N::NumeroNoArquivo, l.valor(0));
            }))
        return std::nullopt;

    progresso.passo(QStringLiteral("Restaurando Subcomponentes importados"));
    if (!RestauraNoLote<S>(
            copia, lote, progresso, feitos,
            QStringLiteral("SELECT N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP, IN_BASE_CALCULO_SUBCOMP"
                           " FROM SUBCOMP WHERE N_VLM_SUBCOMP = ?"
                           " ORDER BY N_NACIONAL_SUBCOMP, N_IMPORTADO_SUBCOMP"),
            m, {S::Importado, S::Nacional, S::BaseCalculo},
            [&](store::gravar::LinhaDe<S> &linha, store::LeituraDireta &) {
                linha.poe(S::NrVlm, novo);
            }))
        return std::nullopt;

    progresso.passo(QStringLiteral("Restaurando Modelos"));
    if (!RestauraNoLote<Mo>(
            copia, lote, progresso, feitos,
            QStringLiteral("SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                           " PRECO_VENDA_MODELOS FROM MODELOS WHERE NR_VLM_MODELOS = ?"
                           " ORDER BY NR_SQ_MODELOS"),
            m, {Mo::NrSq, Mo::Descricao, Mo::CodigoInterno, Mo::PrecoVenda},
            [&](store::gravar::LinhaDe<Mo> &linha, store::LeituraDireta &) {
                linha.poe(Mo::NrVlm, novo);
            }))
        return std::nullopt;
    lote.conclui();

    struct Simples {
        const char *texto, *selecao, *insercao;
        int colunas;
    };
    static const Simples simples[] = {
        // Only the rows of the backed-up statement, whatever else the file holds.
        {"Restaurando Tabela de Erros",
         "SELECT DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO, TIPO_ERRO FROM ERRO"
         " WHERE NR_VLM_ERRO = ? ORDER BY rowid",
         "INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO, TIPO_ERRO)"
         " VALUES (?, ?, ?, ?, ?)",
         4},
        {"Restaurando Recibos",
         "SELECT CNPJ_RECIBO, NR_TRANSMISSAO_RECIBO, DATA_GERACAO_RECIBO, HORA_GERACAO_RECIBO,"
         " DATA_RECEPCAO_RECIBO, HORA_RECEPCAO_RECIBO, LOCAL_RECIBO, REMESSA_RECIBO,"
         " GATEWAY_RECIBO, SELO_RECIBO, NR_CONTROLE_RECIBO, TOTAIS_RECIBO FROM RECIBO"
         " WHERE NR_VLM_RECIBO = ? ORDER BY rowid",
         "INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO, NR_TRANSMISSAO_RECIBO,"
         " DATA_GERACAO_RECIBO, HORA_GERACAO_RECIBO, DATA_RECEPCAO_RECIBO, HORA_RECEPCAO_RECIBO,"
         " LOCAL_RECIBO, REMESSA_RECIBO, GATEWAY_RECIBO, SELO_RECIBO, NR_CONTROLE_RECIBO,"
         " TOTAIS_RECIBO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         12},
    };
    for (const Simples &s : simples) {
        progresso.passo(QString::fromUtf8(s.texto));
        QSqlQuery grava = banco.prepara(QString::fromUtf8(s.insercao));
        if (!RestauraLinhas(copia, progresso, feitos, QString::fromUtf8(s.selecao), m,
                            [&](store::LeituraDireta &l) {
                                QVariantList v{novo};
                                for (int i = 0; i < s.colunas; ++i)
                                    v << l.valor(i);
                                banco.executa(grava, v);
                            }))
            return std::nullopt;
    }
    store::CopiaHistorico(banco, HistoricoNaCopia(copia, identidadeCopia), identidade, novo);
    store::RegistraHistorico(banco, novo, store::Evento::Criada, origem, true);
    progresso.valor(total);
    transacao.confirma();
    return novo;
}

int RestauraCopiaSeguranca(store::Banco &banco, const QString &caminho, base::Progresso &progresso,
                           base::InterfaceUsuario &usuario) {
    QTemporaryFile privada(QDir::tempPath() + QStringLiteral("/vlme-restauracao-XXXXXX"));
    store::Banco copia;
    const int m = AbreCopia(copia, banco, caminho, privada);
    if (m == 0) {
        usuario.mensagem(QString::fromUtf8(TituloFormatoInvalido),
                         QString::fromUtf8(TextoFormatoInvalido), base::Icone::Critico,
                         base::Botoes::Ok);
        return 0;
    }

    QVariantList linha = LinhaVLME(copia, m);
    const qint64 transmissao = linha.at(15).toLongLong();
    const QString codigo = linha.at(17).toString();
    linha[17] = codigo; // never null, as in the program's own rows
    QString prefixo = PrefixoRestauracao;
    if (transmissao > 0 || !codigo.isEmpty()) {
        // A delivered statement exists once.
        prefixo.clear();
        const QVariant existe =
            transmissao > 0
                ? banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE NR_TRANSMISSAO_VLM = ?"),
                                {transmissao})
                : banco.escalar(QStringLiteral("SELECT 1 FROM VLME WHERE CODIGO_VLM = ?"),
                                {codigo});
        if (existe.isValid()) {
            usuario.mensagem(QStringLiteral("ATENÇÃO!!!"),
                             QStringLiteral("Já existe este VLM-E. A restauração não irá "
                                            "prosseguir."),
                             base::Icone::Exclamacao, base::Botoes::Ok);
            return 0;
        }
    }
    linha[19] = prefixo + linha.at(19).toString().left(LimiteNomeProduto - prefixo.size());

    std::optional<int> novo;
    try {
        ProgressoCancelavel guarda(progresso);
        novo = AdicionaDeclaracao(copia, banco, m, linha,
                                  QStringLiteral("Restaurada da cópia de segurança %1")
                                      .arg(QFileInfo(caminho).fileName()),
                                  progresso);
    } catch (const store::ErroBanco &e) {
        // Values the program's tables refuse (a sequence twice) come from a
        // file that is not one of our backups; everything is rolled back.
        if (!e.recusaLinha())
            throw;
        usuario.mensagem(QString::fromUtf8(TituloFormatoInvalido),
                         QString::fromUtf8(TextoFormatoInvalido), base::Icone::Critico,
                         base::Botoes::Ok);
        return 0;
    }
    if (!novo) {
        usuario.mensagem(base::Mensagem("TITULO_OPERACAO_CANCELADA"),
                         base::Mensagem("AVISO_OPERACAO_CANCELADA"), base::Icone::Exclamacao,
                         base::Botoes::Ok);
        return 0;
    }
    usuario.mensagem(
        TituloCopia,
        QStringLiteral("A Restauração da Cópia de Segurança foi efetuada com sucesso!"),
        base::Icone::Informacao, base::Botoes::Ok);
    return *novo;
}

} // namespace vlme::backup
