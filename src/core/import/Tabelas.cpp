#include "import/Tabelas.h"

#include "import/Importacao.h"
#include "import/LeitorLinhas.h"
#include "store/Banco.h"
#include "store/Esquema.h"

#include <QSqlQuery>

namespace vlme::importacao {

namespace {

const QString TextoParado =
    QStringLiteral("\n\nLinha %1 do arquivo. Nada foi gravado: a tabela ficou como estava.");

ResultadoTabela Falha(const QString &texto, base::Icone icone = base::Icone::Critico) {
    return {false, texto, icone, 0};
}

ResultadoTabela Parada(const QString &texto, qint64 linha) {
    return Falha(texto + TextoParado.arg(linha));
}

bool CabecalhoValido(const QString &linha) {
    if (!linha.startsWith(QLatin1String("00KTB/ZFM")))
        return false;
    return linha.size() < 10 || !QStringLiteral("123").contains(linha.at(9));
}

bool SoDigitos(QStringView texto) {
    for (QChar c : texto)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// One prepared UPDATE and INSERT per table, reused for every row.
class Gravador {
  public:
    Gravador(store::Banco &banco, bool ncm) : banco_(banco), ncm_(ncm) {
        if (ncm) {
            altera_ = banco.prepara(
                QStringLiteral("UPDATE NCM_ITEM SET DESCR_NCM_PRODUTO = ?, NM_UNID_MED_EST = ?"
                               " WHERE CD_NCM_PRODUTO = ?"));
            insere_ = banco.prepara(
                QStringLiteral("INSERT INTO NCM_ITEM (DESCR_NCM_PRODUTO, NM_UNID_MED_EST,"
                               " CD_NCM_PRODUTO) VALUES (?, ?, ?)"));
        } else {
            // Unit codes are letters: "un" is the row "UN", as the lookups see it.
            altera_ = banco.prepara(QStringLiteral("UPDATE UNIDADE_MEDIDA SET NM_MEDIDA = ?"
                                                   " WHERE CD_UNID_MEDIDA = ? COLLATE ") +
                                    QLatin1String(store::NomeColacao));
            insere_ = banco.prepara(QStringLiteral(
                "INSERT INTO UNIDADE_MEDIDA (NM_MEDIDA, CD_UNID_MEDIDA) VALUES (?, ?)"));
        }
    }

    void grava(const QString &linha) {
        // Short lines give what they hold, an empty text past their end.
        const auto campo = [&](qsizetype de, qsizetype largura = -1) {
            const QString t = linha.mid(de, largura);
            return t.isNull() ? QStringLiteral("") : t;
        };
        const QVariantList valores = ncm_ ? QVariantList{campo(10, 80), campo(90, 50), campo(2, 8)}
                                          : QVariantList{campo(4), campo(2, 2)};
        banco_.executa(altera_, valores);
        if (altera_.numRowsAffected() == 0)
            banco_.executa(insere_, valores);
    }

  private:
    store::Banco &banco_;
    bool ncm_;
    QSqlQuery altera_, insere_;
};

} // namespace

void GravaNCM(store::Banco &banco, const QString &linha) {
    Gravador(banco, true).grava(linha);
}

void GravaUnidade(store::Banco &banco, const QString &linha) {
    Gravador(banco, false).grava(linha);
}

ResultadoTabela ImportaTabela(store::Banco &banco, const QString &caminho,
                              const QString &codigoEsperado) {
    const bool ncm = codigoEsperado == QLatin1String(CodigoTabelaNCM);
    LeitorLinhas leitor(caminho, LimiteLinha);
    if (!leitor.abre())
        return Falha(QStringLiteral("Não foi possível abrir o arquivo: ") + leitor.textoErro());
    try {
        const LeitorLinhas::Contagem contagem = leitor.conta();
        if (contagem.linhas > LimiteLinhas)
            return Falha(QStringLiteral("O arquivo tem mais de %L1 linhas: não é uma tabela.")
                             .arg(LimiteLinhas));
        LeitorLinhas::Linha linha;
        if (!leitor.le(linha))
            return Falha(QStringLiteral("Erro no Header - Arquivo sem registros!"),
                         base::Icone::Nenhum);
        if (!CabecalhoValido(linha.texto))
            return Falha(QStringLiteral("Erro - Arquivo com formato errado!"));

        store::Transacao transacao(banco);
        Gravador gravador(banco, ncm);
        qint64 numero = 1;
        int gravadas = 0;
        const int larguraCodigo = ncm ? 8 : 2;
        while (leitor.le(linha)) {
            ++numero;
            if (linha.tamanho == 0)
                continue;
            const QString codigo = linha.texto.left(2);
            if (codigo != QLatin1String(CodigoTabelaNCM) &&
                codigo != QLatin1String(CodigoTabelaUnidade))
                return Parada(QStringLiteral("Registro inesperado!"), numero);
            if (codigo != codigoEsperado)
                return Parada(QStringLiteral("Tabela inesperada!"), numero);
            // A code cut short, or a unit name past the line limit, would be
            // stored wrong and found by no lookup.
            const QString chave = linha.texto.mid(2, larguraCodigo);
            if (chave.size() < larguraCodigo || chave.trimmed().isEmpty() ||
                (ncm && !SoDigitos(chave)) || linha.tamanho > LimiteLinha)
                return Parada(QStringLiteral("Registro com código incompleto ou inválido!"),
                              numero);
            gravador.grava(linha.texto);
            ++gravadas;
        }
        transacao.confirma();
        const QString nome =
            ncm ? QStringLiteral("NCM") : QStringLiteral("Unidade de medida comercial");
        return {true,
                QStringLiteral("Tabela de ") + nome + QStringLiteral(" importada com sucesso."),
                base::Icone::Nenhum, gravadas};
    } catch (const ErroLeitura &e) {
        return Falha(e.mensagem() + QStringLiteral(" ") + e.detalhe());
    }
}

void InformaTabela(base::InterfaceUsuario &usuario, const ResultadoTabela &resultado) {
    usuario.mensagem({}, resultado.texto, resultado.icone, base::Botoes::Ok);
}

ResultadoTabela GeraTabela(store::Banco &banco, base::InterfaceUsuario &usuario,
                           const QString &caminho, const QString &codigoEsperado) {
    const ResultadoTabela resultado = ImportaTabela(banco, caminho, codigoEsperado);
    InformaTabela(usuario, resultado);
    return resultado;
}

} // namespace vlme::importacao
