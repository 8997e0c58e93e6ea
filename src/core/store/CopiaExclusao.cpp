#include "store/CopiaExclusao.h"

#include "base/Erros.h"
#include "base/InterfaceUsuario.h"
#include "base/Progresso.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/GravarLinha.h"
#include "store/GravarLote.h"
#include "store/Historico.h"

#include <QSqlQuery>

#include <limits>
#include <optional>
#include <type_traits>

namespace vlme::store {

namespace {

// Closes the progress window however the operation ends.
class FechaProgresso {
  public:
    explicit FechaProgresso(base::Progresso *progresso) : progresso_(progresso) {}
    ~FechaProgresso() {
        if (progresso_)
            progresso_->fecha();
    }
    FechaProgresso(const FechaProgresso &) = delete;
    FechaProgresso &operator=(const FechaProgresso &) = delete;

  private:
    base::Progresso *progresso_;
};

// One prepared INSERT ... SELECT per document kind, reused for every row.
class CopiadorDocumentos {
  public:
    explicit CopiadorDocumentos(Banco &banco)
        : banco_(banco),
          nf_(banco.prepara(QStringLiteral(
              "INSERT INTO NF (NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF)"
              " SELECT NR_NF, SERIE_NF, CNPJ_NF, DATA_EMISSAO_NF, NR_INS_ESTADUAL_NF"
              " FROM NF WHERE NR_SEQ_NF = ?"))),
          di_(banco.prepara(QStringLiteral(
              "INSERT INTO DI (NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI)"
              " SELECT NR_DI_DI, NR_ADICAO_DI, NR_ITEM_DI FROM DI WHERE NR_SQ_DI = ?"))) {}

    int nf(const QVariant &chave) { return copia(nf_, chave); }
    int di(const QVariant &chave) { return copia(di_, chave); }

  private:
    int copia(QSqlQuery &consulta, const QVariant &chave) {
        const int valor = chave.toInt();
        if (valor == 0)
            return 0;
        banco_.executa(consulta, {valor});
        if (consulta.numRowsAffected() <= 0)
            return 0;
        return consulta.lastInsertId().toInt();
    }

    Banco &banco_;
    QSqlQuery nf_;
    QSqlQuery di_;
};

// Moves the bar only when the percentage changes; asks about a cancel after
// every row.
class Avanco {
  public:
    Avanco(base::Progresso &progresso, int total) : progresso_(progresso), total_(total) {}

    bool unidade() {
        ++feitos_;
        const int percentual = total_ > 0 ? int(qint64(feitos_) * 100 / total_) : 100;
        if (percentual != ultimo_) {
            ultimo_ = percentual;
            progresso_.valor(feitos_);
        }
        return progresso_.unidade();
    }

  private:
    base::Progresso &progresso_;
    int total_;
    int feitos_ = 0;
    int ultimo_ = 0;
};

// An invoice's columns in TabelaNF's order, read beside a component (NF
// joined as n).
const QString ColunasNF = QStringLiteral(
    "n.NR_SEQ_NF, n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.DATA_EMISSAO_NF, n.NR_INS_ESTADUAL_NF");

// Copies the document of table T read at column `chave` of `l` (its key, as
// joined: null when the component's link names no row), its other columns
// following in T's order; returns the new key, or 0 when there is none to
// copy, as CopiadorDocumentos does.
template <class T> int CopiaDocumento(GravacaoEmLote &lote, const QSqlQuery &l, int chave) {
    if (l.value(chave).isNull() || l.value(chave).toInt() == 0)
        return 0;
    gravar::LinhaDe<T> linha;
    // Columns 1..3 of DI (number, addition, item: not the description, which
    // a copy leaves to its default), 1..5 of NF.
    const int colunas = std::is_same_v<T, gravar::TabelaDI> ? 3 : 5;
    for (int i = 1; i <= colunas; ++i)
        linha.poeLido(typename T::Coluna(i), l.value(chave + i));
    return int(lote.insere(linha));
}

constexpr int LimiteNomeProduto = 80;

} // namespace

QString NomeDeCopia(const QString &nomeProduto) {
    const QString prefixo = base::Mensagem("TEXTO_COPIA_DE");
    return prefixo + nomeProduto.left(LimiteNomeProduto - prefixo.size());
}

namespace {

// The copy inside one transaction; nullopt when the user cancelled, with
// everything rolled back.
std::optional<int> copia(Banco &banco, int origem, base::Progresso &progresso) {
    // Declared before the queries, so their cursors are gone by the time a
    // cancel rolls back.
    Transacao transacao(banco);

    QString nomeProduto;
    {
        QSqlQuery q = banco.executa(
            QStringLiteral("SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?"), {origem});
        if (!banco.proxima(q))
            throw ErroDeclaracaoInexistente(origem);
        nomeProduto = q.value(0).toString();
    }
    const int total =
        banco
            .escalar(QStringLiteral(
                         "SELECT (SELECT count(*) FROM COMPONENTES_IMPORTADOS WHERE "
                         "NR_VLM_IMPORTADO = ?)"
                         " + (SELECT count(*) FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?)"
                         " + (SELECT count(*) FROM SUBCOMP WHERE N_VLM_SUBCOMP = ?)"
                         " + (SELECT count(*) FROM MODELOS WHERE NR_VLM_MODELOS = ?)"),
                     {origem, origem, origem, origem})
            .toInt();
    progresso.faixa(0, total);
    progresso.valor(0);

    progresso.passo(base::Mensagem("PASSO_COPIA_VLME"));
    // Transmission, registration date and company name are left to their
    // defaults: the copy has never been delivered.
    QSqlQuery novaLinha = banco.executa(
        QStringLiteral(
            "INSERT INTO VLME (CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM, PERC_REDUCAO_VLM,"
            " SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM, NCM_VLM,"
            " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, UNIDADE_VLM, NR_ARQUIVO_VLM,"
            " DEN_PRODUTO_VLM, CODIGO_VLM)"
            " SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, TIPO_COEFICIENTE_VLM, PERC_REDUCAO_VLM,"
            " SUBSTITUTIVO_VLM, RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM, NCM_VLM,"
            " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, UNIDADE_VLM, NR_ARQUIVO_VLM, ?, ?"
            " FROM VLME WHERE NR_VLM_VLM = ?"),
        {NomeDeCopia(nomeProduto), QStringLiteral(""), origem});
    const int novo = novaLinha.lastInsertId().toInt();
    CriaControle(banco, novo);

    // Sequences are kept, so the links between the copied rows stay valid.
    // Each component's invoice or declaration is copied into a new row of its
    // own. A database that copies them itself (the server) is spared sending
    // every row there and back; otherwise they go through the bulk writer,
    // each document read beside its component. A unit is counted for each row.
    GravacaoEmLote lote(banco);
    Avanco avanco(progresso, total);
    const auto conta = [&](int linhas) {
        for (int i = linhas; i > 0; --i)
            if (!avanco.unidade())
                return false;
        return true;
    };

    progresso.passo(base::Mensagem("PASSO_COPIA_IMPORTADOS"));
    if (const std::optional<int> n = lote.copiaImportados(origem, novo)) {
        if (!conta(*n))
            return std::nullopt;
    } else {
        using I = gravar::TabelaImportados;
        QSqlQuery l = banco.executa(
            QStringLiteral(
                "SELECT c.NR_SQ_IMPORTADO, c.TX_DESCRICAO_IMPORTADO, c.QTD_IMPORTADO,"
                " c.VALOR_UNITARIO_IMPORTADO, c.ALIQUOTA_IMPORTADO, c.VALOR_II_IMPORTADO,"
                " c.IN_COM_SUSP_IMPORTADO, c.IN_DIRETO_IMPORTADO, c.IN_REDUCAO_II_IMPORTADO,"
                " c.NCM_IMPORTADO, c.UNIDADE_IMPORTADO,"
                " d.NR_SQ_DI, d.NR_DI_DI, d.NR_ADICAO_DI, d.NR_ITEM_DI, ") +
                ColunasNF +
                QStringLiteral(" FROM COMPONENTES_IMPORTADOS c"
                               " LEFT JOIN DI d ON d.NR_SQ_DI = c.NR_SEQ_DI_IMPORTADO"
                               " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_IMPORTADO"
                               " WHERE c.NR_VLM_IMPORTADO = ? ORDER BY c.NR_SQ_IMPORTADO"),
            {origem});
        while (banco.proxima(l)) {
            gravar::LinhaDe<I> linha;
            linha.poe(I::NrVlm, novo);
            const I::Coluna lidas[] = {I::NrSq,          I::Descricao, I::Quantidade,
                                       I::ValorUnitario, I::Aliquota,  I::ValorII,
                                       I::ComSuspensao,  I::Direto,    I::ReducaoII,
                                       I::Ncm,           I::Unidade};
            for (int i = 0; i < int(std::size(lidas)); ++i)
                linha.poeLido(lidas[i], l.value(i));
            linha.poeLido(I::NumeroNoArquivo, l.value(0));
            linha.poe(I::ChaveDI, CopiaDocumento<gravar::TabelaDI>(lote, l, 11));
            linha.poe(I::ChaveNF, CopiaDocumento<gravar::TabelaNF>(lote, l, 15));
            lote.insere(linha);
            if (!avanco.unidade())
                return std::nullopt;
        }
    }

    progresso.passo(base::Mensagem("PASSO_COPIA_NACIONAIS"));
    if (const std::optional<int> n = lote.copiaNacionais(origem, novo)) {
        if (!conta(*n))
            return std::nullopt;
    } else {
        using N = gravar::TabelaNacionais;
        QSqlQuery l = banco.executa(
            QStringLiteral("SELECT c.NR_SQ_NACIONAL, c.TX_DESCRICAO_NACIONAL, c.QTD_NACIONAL,"
                           " c.VL_CUSTO_UNITARIO_NACIONAL, c.NCM_NACIONAL, c.UNIDADE_NACIONAL, ") +
                ColunasNF +
                QStringLiteral(" FROM COMPONENTES_NACIONAIS c"
                               " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL"
                               " WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.NR_SQ_NACIONAL"),
            {origem});
        while (banco.proxima(l)) {
            gravar::LinhaDe<N> linha;
            linha.poe(N::NrVlm, novo);
            const N::Coluna lidas[] = {N::NrSq,          N::Descricao, N::Quantidade,
                                       N::CustoUnitario, N::Ncm,       N::Unidade};
            for (int i = 0; i < int(std::size(lidas)); ++i)
                linha.poeLido(lidas[i], l.value(i));
            linha.poeLido(N::NumeroNoArquivo, l.value(0));
            linha.poe(N::ChaveNF, CopiaDocumento<gravar::TabelaNF>(lote, l, 6));
            lote.insere(linha);
            if (!avanco.unidade())
                return std::nullopt;
        }
    }

    // Links and models need no new keys: copied where they are.
    const auto copiaInteira = [&](const char *passo, const QString &sql) {
        progresso.passo(base::Mensagem(passo));
        return conta(banco.executa(sql, {novo, origem}).numRowsAffected());
    };
    if (!copiaInteira("PASSO_COPIA_SUBCOMPONENTES",
                      QStringLiteral("INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_IMPORTADO_SUBCOMP,"
                                     " N_NACIONAL_SUBCOMP, IN_BASE_CALCULO_SUBCOMP)"
                                     " SELECT ?, N_IMPORTADO_SUBCOMP, N_NACIONAL_SUBCOMP,"
                                     " IN_BASE_CALCULO_SUBCOMP FROM SUBCOMP WHERE N_VLM_SUBCOMP = ?"
                                     " ORDER BY N_NACIONAL_SUBCOMP, N_IMPORTADO_SUBCOMP")) ||
        !copiaInteira("PASSO_COPIA_MODELOS",
                      QStringLiteral("INSERT INTO MODELOS (NR_VLM_MODELOS, NR_SQ_MODELOS,"
                                     " TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                                     " PRECO_VENDA_MODELOS) SELECT ?, NR_SQ_MODELOS,"
                                     " TX_DESCRICAO_MODELOS, COD_INTERNO_MODELOS,"
                                     " PRECO_VENDA_MODELOS FROM MODELOS WHERE NR_VLM_MODELOS = ?"
                                     " ORDER BY NR_SQ_MODELOS")))
        return std::nullopt;

    lote.conclui();

    RegistraHistorico(banco, novo, Evento::Criada,
                      QStringLiteral("Cópia da declaração %1").arg(origem), true);
    transacao.confirma();
    return novo;
}

} // namespace

int CopiaNF(Banco &banco, int chave) {
    return CopiadorDocumentos(banco).nf(chave);
}

int CopiaDI(Banco &banco, int chave) {
    return CopiadorDocumentos(banco).di(chave);
}

int CopiaVLM(Banco &banco, int origem, base::Progresso &progresso,
             base::InterfaceUsuario &usuario) {
    std::optional<int> novo;
    {
        FechaProgresso guarda(&progresso);
        progresso.abre();
        progresso.permiteCancelar(true);
        novo = copia(banco, origem, progresso);
    }
    if (novo)
        return *novo;
    usuario.mensagem(base::Mensagem("TITULO_OPERACAO_CANCELADA"),
                     base::Mensagem("AVISO_OPERACAO_CANCELADA"), base::Icone::Exclamacao,
                     base::Botoes::Ok);
    return 0;
}

void ExcluiVLM(Banco &banco, int n, bool silencioso, base::Progresso *progresso) {
    base::Progresso *p = silencioso ? nullptr : progresso;
    FechaProgresso guarda(p);
    if (p) {
        p->abre();
        p->passo(base::Mensagem("PASSO_EXCLUSAO_PREPARA"));
        p->permiteCancelar(false);
        p->faixa(0, 100);
        p->valor(0);
        p->unidade();
        p->passo(base::Mensagem("PASSO_EXCLUSAO_VLME"));
    }

    struct Passo {
        const char *sql;
        int valor;         // 0: the bar stays
        const char *texto; // catalog key shown after the statement; null: none
    };
    // Invoices and declarations first, while the rows that point to them are
    // still there; the statement's own row last.
    static const Passo passos[] = {
        {"DELETE FROM DI WHERE NR_SQ_DI IN (SELECT NR_SEQ_DI_IMPORTADO"
         " FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?)",
         20, nullptr},
        {"DELETE FROM NF WHERE NR_SEQ_NF IN (SELECT NR_SEQ_NF_IMPORTADO"
         " FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?)",
         30, nullptr},
        {"DELETE FROM NF WHERE NR_SEQ_NF IN (SELECT NR_SEQ_NF_NACIONAL"
         " FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?)",
         50, nullptr},
        {"DELETE FROM SUBCOMP WHERE N_VLM_SUBCOMP = ?", 60, nullptr},
        {"DELETE FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?", 70, nullptr},
        {"DELETE FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?", 80, nullptr},
        {"DELETE FROM MODELOS WHERE NR_VLM_MODELOS = ?", 0, "PASSO_EXCLUSAO_FIM"},
        {"DELETE FROM RECIBO WHERE NR_VLM_RECIBO = ?", 90, nullptr},
        {"DELETE FROM ERRO WHERE NR_VLM_ERRO = ?", 95, nullptr},
        // Scratch rows of the printed reports belong to the statement too.
        {"DELETE FROM IMPRESSAO WHERE NR_VLM_IMPRESSAO = ?", 0, nullptr},
        {"DELETE FROM CONTROLE WHERE NR_VLM_CONTROLE = ?", 0, nullptr},
        {"DELETE FROM VLME WHERE NR_VLM_VLM = ?", 100, nullptr},
    };

    Transacao transacao(banco);
    // A window that shows the statement as it read it must not delete
    // another program's newer version unseen.
    MarcaAlteracao(banco, n);
    // The history stays, the deletion last, with the name the statement had.
    RegistraHistorico(
        banco, n, Evento::Excluida,
        banco.escalar(QStringLiteral("SELECT DEN_PRODUTO_VLM FROM VLME WHERE NR_VLM_VLM = ?"), {n})
            .toString());
    for (const Passo &passo : passos) {
        banco.executa(QString::fromUtf8(passo.sql), {n});
        if (!p)
            continue;
        if (passo.valor)
            p->valor(passo.valor);
        if (passo.texto)
            p->passo(base::Mensagem(passo.texto));
        p->unidade(); // cannot be cancelled: only lets the window repaint
    }
    transacao.confirma();
}

} // namespace vlme::store
