// The records of the delivery file, read from the database field by field and
// placed where TamanhosRegistro.h (which the import reads by) puts them.
// Each field is checked against its width and kind; what does not fit
// is reported (and a placeholder of the right width written, so the run goes
// on and every problem of the statement is listed at once).

#include "base/Progresso.h"
#include "delivery/Formatos.h"
#include "delivery/Transmissao.h"
#include "store/Banco.h"
#include "store/Gravar.h"

#include <QSqlQuery>

namespace vlme::delivery {

namespace {

QString Codigo(char32_t c) {
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

bool Vazio(const QVariant &v) {
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

// One record being written, field after field.
class Linha {
  public:
    Linha(QString registro, int tamanho, QStringList &problemas)
        : registro_(std::move(registro)), problemas_(problemas) {
        texto_.reserve(tamanho);
    }

    void constante(const QString &valor) { texto_ += valor; }

    // Texto(n): the text and spaces up to n.
    void texto(const char *campo, const QVariant &v, Campo c) {
        const int largura = em(c);
        QString s = v.isNull() ? QString() : v.toString();
        if (const QString erro = CaracteresRecusados(s); !erro.isEmpty())
            return recusa(campo, erro, largura, ' ');
        if (s.size() > largura) {
            // Spaces past the field are what padding would have written anyway.
            qsizetype fim = s.size();
            while (fim > largura && s.at(fim - 1) == QLatin1Char(' '))
                --fim;
            if (fim > largura)
                return recusa(campo,
                              QStringLiteral("o texto tem %1 caracteres e o campo comporta %2.")
                                  .arg(s.size())
                                  .arg(largura),
                              largura, ' ');
            s.truncate(largura);
        }
        texto_ += CompletaBrancos(s, largura);
    }

    // Número(n, d) of a stored number; empty counts as 0.
    void numero(const char *campo, const QVariant &v, Campo c, int decimais) {
        const int largura = em(c);
        double valor = 0;
        if (!Vazio(v)) {
            bool ok = false;
            valor = v.toDouble(&ok);
            if (!ok || v.typeId() == QMetaType::QString)
                return recusa(
                    campo, QStringLiteral("o conteúdo \"%1\" não é um número.").arg(v.toString()),
                    largura, '0');
        }
        const QString s = FormataNumero(valor, largura, decimais);
        if (s.isEmpty())
            return recusa(campo, QStringLiteral("o valor não é um número finito."), largura, '0');
        if (s.startsWith(QLatin1Char('-')))
            return recusa(campo,
                          QStringLiteral("o valor %1 é negativo; o arquivo só comporta valores "
                                         "positivos.")
                              .arg(Legivel(s, decimais)),
                          largura, '0');
        if (s.size() > largura)
            return recusa(campo,
                          QStringLiteral("o valor %1 não cabe nos %2 dígitos do campo (%3 "
                                         "inteiros e %4 decimais).")
                              .arg(Legivel(s, decimais))
                              .arg(largura)
                              .arg(largura - decimais)
                              .arg(decimais),
                          largura, '0');
        texto_ += s;
    }

    // Número(n, 0) of a code stored as text (NCM, DI, invoice number).
    void digitos(const char *campo, const QVariant &v, Campo c) {
        const int largura = em(c);
        const QString s = v.isNull() ? QString() : v.toString().trimmed();
        for (QChar c : s)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return recusa(campo, QStringLiteral("o conteúdo \"%1\" não é um número.").arg(s),
                              largura, '0');
        qsizetype inicio = 0;
        while (inicio < s.size() && s.at(inicio) == QLatin1Char('0'))
            ++inicio;
        const QString significativos = s.mid(inicio);
        if (significativos.size() > largura)
            return recusa(campo,
                          QStringLiteral("o número %1 tem mais dígitos do que os %2 do campo.")
                              .arg(s)
                              .arg(largura),
                          largura, '0');
        texto_ += QString(largura - significativos.size(), QLatin1Char('0')) + significativos;
    }

    // CNPJ or CPF without a stored mask's separators, spaces when missing. A
    // CNPJ may carry letters (registers issued since July 2026), written in
    // upper case; a CPF is digits only.
    void documento(const char *campo, const QVariant &v, Campo c, const char *nome) {
        const int largura = em(c);
        const bool letras = qstrcmp(nome, "CNPJ") == 0;
        const QString s = v.isNull() ? QString() : v.toString().trimmed();
        for (QChar c : s) {
            const char l = c.toLatin1();
            const bool letra = (l >= 'a' && l <= 'z') || (l >= 'A' && l <= 'Z');
            if (!c.isDigit() && !(letras && letra) && c != QLatin1Char('.') &&
                c != QLatin1Char('/') && c != QLatin1Char('-') && c != QLatin1Char(' '))
                return recusa(campo,
                              QStringLiteral("\"%1\" não é um %2.").arg(s, QLatin1String(nome)),
                              largura, ' ');
        }
        const QString semMascara = store::CnpjSemMascara(s);
        if (semMascara.size() > largura)
            return recusa(
                campo,
                QStringLiteral("o %1 %2 tem mais de %3 %4.")
                    .arg(QLatin1String(nome), s)
                    .arg(largura)
                    .arg(letras ? QStringLiteral("caracteres") : QStringLiteral("dígitos")),
                largura, ' ');
        texto_ += CompletaBrancos(semMascara, largura);
    }

    // Data: yyyyMMdd, zeros when missing.
    void data(const char *campo, const QVariant &v, Campo c) {
        em(c);
        const QString s = v.isNull() ? QString() : v.toString();
        const QString amd = FormataData(s);
        if (amd.isEmpty())
            return recusa(campo, QStringLiteral("a data \"%1\" não é válida.").arg(s), c.largura,
                          '0');
        texto_ += amd;
    }

    // Indicador: S for 1, N for 0 or nothing.
    void indicador(const char *campo, const QVariant &v, Campo c) {
        em(c);
        const int valor = Flag(v);
        if (valor < 0)
            return recusa(
                campo,
                QStringLiteral("o indicador vale \"%1\"; só 0 e 1 são aceitos.").arg(v.toString()),
                1, 'N');
        texto_ += IndicadorSN(valor);
    }

    // A problem of the record as a whole, not of one field.
    void problema(const char *campo, const QString &erro, Campo c) {
        recusa(campo, erro, em(c), ' ');
    }

    const QString &texto() const { return texto_; }
    const QString &registro() const { return registro_; }

    // 0 or 1; missing counts as 0; -1 for anything else.
    static int Flag(const QVariant &v) {
        if (Vazio(v))
            return 0;
        bool ok = false;
        const int valor = v.toInt(&ok);
        return ok && (valor == 0 || valor == 1) && v.toDouble() == valor ? valor : -1;
    }

  private:
    // Every field starts where the layout puts it, or the record is a fault.
    int em(Campo c) const {
        if (texto_.size() + 1 != c.posicao)
            throw std::logic_error("campo fora da posição do leiaute");
        return c.largura;
    }

    void recusa(const char *campo, const QString &erro, int largura, char enchimento) {
        problemas_ << QStringLiteral("%1, campo \"%2\": %3")
                          .arg(registro_, QString::fromUtf8(campo), erro);
        texto_ += QString(largura, QLatin1Char(enchimento));
    }

    // Control characters would break the line; anything past Latin-1 has no
    // byte in the file.
    static QString CaracteresRecusados(const QString &s) {
        for (qsizetype i = 0; i < s.size(); ++i) {
            const QChar c = s.at(i);
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
                return QStringLiteral("o texto contém um caractere de controle (%1).")
                    .arg(Codigo(u));
            if (u > 0xFF) {
                char32_t ponto = u;
                QString visto(c);
                if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
                    ponto = QChar::surrogateToUcs4(c, s.at(i + 1));
                    visto += s.at(i + 1);
                }
                return QStringLiteral("o caractere \"%1\" (%2) não existe no conjunto de "
                                      "caracteres do arquivo (ISO-8859-1); troque-o por outro.")
                    .arg(visto, Codigo(ponto));
            }
        }
        return {};
    }

    // A formatted digit string shown back in Brazilian notation.
    static QString Legivel(QString s, int decimais) {
        const bool negativo = s.startsWith(QLatin1Char('-'));
        if (negativo)
            s.remove(0, 1);
        if (decimais > 0) {
            if (s.size() <= decimais)
                s.prepend(QString(decimais - s.size() + 1, QLatin1Char('0')));
            s.insert(s.size() - decimais, QLatin1Char(','));
        }
        while (s.size() > 1 && s.at(0) == QLatin1Char('0') && s.at(1) != QLatin1Char(','))
            s.remove(0, 1);
        return negativo ? QLatin1Char('-') + s : s;
    }

    QString registro_;
    QString texto_;
    QStringList &problemas_;
};

// The imported component's fields from IN_DIRETO_IMPORTADO onwards, shared by
// records 3 and 4; `q` holds them from column `c`.
void CamposImportado(Linha &l, const QSqlQuery &q, int c, int d) {
    using namespace importado;
    const auto em = [d](Campo campo) { return Campo{campo.posicao + d, campo.largura}; };
    l.indicador("Importação direta (S = DI, N = nota fiscal)", q.value(c + 0), em(TipoDocumento));
    l.indicador("Com suspensão do II", q.value(c + 1), em(Suspensao));
    l.digitos("Número da DI", q.value(c + 2), em(NumeroDI));
    l.digitos("Número da adição", q.value(c + 3), em(AdicaoDI));
    l.digitos("Número do item", q.value(c + 4).toString().trimmed().right(ItemDI.largura),
              em(ItemDI));
    l.digitos("Número da nota fiscal", q.value(c + 5), em(NumeroNF));
    l.texto("Série da nota fiscal", q.value(c + 6), em(SerieNF));
    l.documento("CNPJ da nota fiscal", q.value(c + 7), em(Cnpj), "CNPJ");
    l.texto("Inscrição estadual", q.value(c + 8), em(InscricaoEstadual));
    l.data("Data de emissão da nota fiscal", q.value(c + 9), em(DataEmissao));
    l.texto("Descrição", q.value(c + 10), em(Descricao));
    l.texto("Unidade", q.value(c + 11), em(Unidade));
    l.digitos("NCM", q.value(c + 12), em(Ncm));
    l.numero("Quantidade", q.value(c + 13), em(Quantidade), 7);
    l.indicador("Redução do II", q.value(c + 14), em(Reducao));
    l.numero("Valor unitário", q.value(c + 15), em(ValorUnitario), 6);
}

// The imported row's own columns and its document: the DI when it is a
// direct import, else the invoice; the other one's fields stay empty.
const QString ColunasImportado = QStringLiteral(
    "i.IN_DIRETO_IMPORTADO, i.IN_COM_SUSP_IMPORTADO, d.NR_DI_DI, d.NR_ADICAO_DI, d.NR_ITEM_DI,"
    " n.NR_NF, n.SERIE_NF, n.CNPJ_NF, n.NR_INS_ESTADUAL_NF, n.DATA_EMISSAO_NF,"
    " i.TX_DESCRICAO_IMPORTADO, i.UNIDADE_IMPORTADO, i.NCM_IMPORTADO, i.QTD_IMPORTADO,"
    " i.IN_REDUCAO_II_IMPORTADO, i.VALOR_UNITARIO_IMPORTADO");
const QString DocumentosImportado =
    QStringLiteral(" LEFT JOIN DI d ON coalesce(i.IN_DIRETO_IMPORTADO, 0) = 1"
                   "  AND d.NR_SQ_DI = i.NR_SEQ_DI_IMPORTADO"
                   " LEFT JOIN NF n ON coalesce(i.IN_DIRETO_IMPORTADO, 0) <> 1"
                   "  AND n.NR_SEQ_NF = i.NR_SEQ_NF_IMPORTADO");

const QString DeModelos = QStringLiteral(" FROM MODELOS WHERE NR_VLM_MODELOS = ?");
const QString DeNacionais =
    QStringLiteral(" FROM COMPONENTES_NACIONAIS c WHERE c.NR_VLM_NACIONAL = ?");
const QString DeSubcomponentes = QStringLiteral(" FROM SUBCOMP s WHERE s.N_VLM_SUBCOMP = ?");
const QString DeImportados = QStringLiteral(
    " FROM COMPONENTES_IMPORTADOS i LEFT JOIN SUBCOMP s"
    "  ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
    " WHERE i.NR_VLM_IMPORTADO = ? AND s.N_IMPORTADO_SUBCOMP IS NULL");

int Conta(store::Banco &banco, const QString &de, int nrVlm) {
    return banco.escalar(QStringLiteral("SELECT count(*)") + de, {nrVlm}).toInt();
}

// Adds one finished record to the body.
void Acrescenta(Declaracao &d, const Linha &l, int tamanho) {
    // Every field writes its full width, refused or not; anything else is a
    // fault here, and a file of shifted fields must never leave.
    if (l.texto().size() != tamanho)
        throw ErroEntrega(QStringLiteral("O arquivo de transmissão não pôde ser montado: o %1 "
                                         "saiu com %2 caracteres em vez de %3. Nada foi gravado; "
                                         "procure o suporte técnico.")
                              .arg(l.registro())
                              .arg(l.texto().size())
                              .arg(tamanho));
    d.Corpo.Add(Registro{l.texto().left(1), l.texto().mid(1), {}});
}

} // namespace

std::optional<Declaracao> MontaDeclaracao(store::Banco &banco, int nrVlm,
                                          base::Progresso &progresso, QStringList &problemas) {
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    QSqlQuery geral = banco.executa(
        QStringLiteral("SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
                       " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, SUBSTITUTIVO_VLM,"
                       " RETIFICADOR_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM,"
                       " TIPO_COEFICIENTE_VLM FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(geral))
        throw store::ErroDeclaracaoInexistente(nrVlm);

    progresso.passo(QStringLiteral("Calculando tamanho"));
    const int modelos = Conta(banco, DeModelos, nrVlm);
    const int nacionais = Conta(banco, DeNacionais, nrVlm);
    const int subcomponentes = Conta(banco, DeSubcomponentes, nrVlm);
    const int importados = Conta(banco, DeImportados, nrVlm);
    const int total = 1 + modelos + nacionais + importados + subcomponentes;
    progresso.faixa(0, total);

    Declaracao d;
    d.Corpo.reserva(total);
    int feitos = 0;
    const auto proximo = [&] { return progresso.unidade(); };
    const auto avanca = [&] { progresso.valor(++feitos); };

    // ---- 0: general data ----
    if (!proximo())
        return std::nullopt;
    {
        Linha l(QStringLiteral("Registro 0 (dados gerais)"), TamanhoRegistro0, problemas);
        l.constante(QStringLiteral("0"));
        l.documento("CNPJ", geral.value(0), tipo0::Cnpj, "CNPJ");
        l.documento("CPF", geral.value(1), tipo0::Cpf, "CPF");
        l.texto("PPB", geral.value(2), tipo0::Ppb);
        l.texto("Denominação do produto", geral.value(3), tipo0::Denominacao);
        l.digitos("NCM", geral.value(4), tipo0::Ncm);
        l.texto("Unidade", geral.value(5), tipo0::Unidade);
        l.numero("Peso bruto", geral.value(6), tipo0::PesoBruto, 5);
        l.numero("Salários", geral.value(7), tipo0::Salarios, 2);
        l.numero("Encargos", geral.value(8), tipo0::Encargos, 2);
        const int substitutivo = Linha::Flag(geral.value(9));
        const int retificador = Linha::Flag(geral.value(10));
        if (substitutivo == 1 && retificador == 0)
            l.constante(QStringLiteral("S"));
        else if (retificador == 1 && substitutivo == 0)
            l.constante(QStringLiteral("R"));
        else if (retificador == 0 && substitutivo == 0)
            l.constante(QStringLiteral("N"));
        else
            l.problema("Retificador / Substitutivo",
                       QStringLiteral("a declaração está marcada como retificadora e também como "
                                      "substitutiva; ela só pode ser uma das duas."),
                       tipo0::TipoVlme);
        l.texto("Número do VLM-E anterior", geral.value(11), tipo0::VlmAnterior);
        l.texto("Número do processo", geral.value(12), tipo0::NrProcesso);
        l.constante(QStringLiteral("0400"));
        l.constante(QStringLiteral("1"));
        l.constante(geral.value(13).toInt() == 0 ? QStringLiteral("F") : QStringLiteral("V"));
        Acrescenta(d, l, TamanhoRegistro0);
        avanca();
    }

    // ---- 1: models ----
    progresso.passo(QStringLiteral("Gerando Modelos"));
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT NR_SQ_MODELOS, TX_DESCRICAO_MODELOS, PRECO_VENDA_MODELOS,"
                       " COD_INTERNO_MODELOS") +
            DeModelos + QStringLiteral(" ORDER BY rowid"),
        {nrVlm});
    while (banco.proxima(q)) {
        if (!proximo())
            return std::nullopt;
        Linha l(QStringLiteral("Registro 1 (modelo %1)").arg(q.value(0).toString()),
                TamanhoRegistro1, problemas);
        l.constante(QStringLiteral("1"));
        l.numero("Número do modelo", q.value(0), tipo1::Sequencia, 0);
        l.texto("Descrição", q.value(1), tipo1::Descricao);
        l.numero("Preço de venda", q.value(2), tipo1::PrecoVenda, 2);
        l.texto("Código interno", q.value(3), tipo1::CodigoInterno);
        Acrescenta(d, l, TamanhoRegistro1);
        avanca();
    }

    // ---- 2: national components with their invoices ----
    progresso.passo(QStringLiteral("Gerando Componentes Nacionais"));
    q = banco.executa(
        QStringLiteral("SELECT c.NR_SQ_NACIONAL, n.NR_NF, n.SERIE_NF, n.CNPJ_NF,"
                       " n.NR_INS_ESTADUAL_NF, n.DATA_EMISSAO_NF, c.TX_DESCRICAO_NACIONAL,"
                       " c.UNIDADE_NACIONAL, c.NCM_NACIONAL, c.QTD_NACIONAL,"
                       " c.VL_CUSTO_UNITARIO_NACIONAL"
                       " FROM COMPONENTES_NACIONAIS c"
                       " LEFT JOIN NF n ON n.NR_SEQ_NF = c.NR_SEQ_NF_NACIONAL"
                       " WHERE c.NR_VLM_NACIONAL = ? ORDER BY c.rowid"),
        {nrVlm});
    while (banco.proxima(q)) {
        if (!proximo())
            return std::nullopt;
        Linha l(QStringLiteral("Registro 2 (componente nacional %1)").arg(q.value(0).toString()),
                TamanhoRegistro2, problemas);
        l.constante(QStringLiteral("2"));
        l.numero("Número do componente", q.value(0), tipo2::Sequencia, 0);
        l.texto("Número da nota fiscal", q.value(1), tipo2::NumeroNF);
        l.texto("Série da nota fiscal", q.value(2), tipo2::SerieNF);
        l.documento("CNPJ da nota fiscal", q.value(3), tipo2::Cnpj, "CNPJ");
        l.texto("Inscrição estadual", q.value(4), tipo2::InscricaoEstadual);
        l.data("Data de emissão da nota fiscal", q.value(5), tipo2::DataEmissao);
        l.texto("Descrição", q.value(6), tipo2::Descricao);
        l.texto("Unidade", q.value(7), tipo2::Unidade);
        l.digitos("NCM", q.value(8), tipo2::Ncm);
        l.numero("Quantidade", q.value(9), tipo2::Quantidade, 7);
        l.numero("Custo unitário", q.value(10), tipo2::ValorUnitario, 6);
        Acrescenta(d, l, TamanhoRegistro2);
        avanca();
    }

    // ---- 3: imported subcomponents of national components ----
    progresso.passo(QStringLiteral("Gerando Subcomponentes Importados"));
    q = banco.executa(
        QStringLiteral("SELECT s.N_IMPORTADO_SUBCOMP, c.NR_SQ_NACIONAL, s.N_NACIONAL_SUBCOMP,"
                       " s.IN_BASE_CALCULO_SUBCOMP, i.NR_SQ_IMPORTADO, ") +
            ColunasImportado +
            QStringLiteral(
                " FROM SUBCOMP s"
                " LEFT JOIN COMPONENTES_NACIONAIS c ON c.NR_VLM_NACIONAL = s.N_VLM_SUBCOMP"
                "  AND c.NR_SQ_NACIONAL = s.N_NACIONAL_SUBCOMP"
                " LEFT JOIN COMPONENTES_IMPORTADOS i ON i.NR_VLM_IMPORTADO = s.N_VLM_SUBCOMP"
                "  AND i.NR_SQ_IMPORTADO = s.N_IMPORTADO_SUBCOMP") +
            DocumentosImportado + QStringLiteral(" WHERE s.N_VLM_SUBCOMP = ? ORDER BY s.rowid"),
        {nrVlm});
    while (banco.proxima(q)) {
        if (!proximo())
            return std::nullopt;
        Linha l(
            QStringLiteral("Registro 3 (subcomponente importado %1)").arg(q.value(0).toString()),
            TamanhoRegistro3, problemas);
        l.constante(QStringLiteral("3"));
        l.numero("Número do subcomponente", q.value(0), importado::Sequencia, 0);
        // A link to a row that is gone would hand the authority a
        // subcomponent of nothing.
        if (q.value(1).isNull())
            l.problema("Componente nacional",
                       QStringLiteral("o componente nacional %1, a que pertence, não existe.")
                           .arg(q.value(2).toString()),
                       tipo3::Nacional);
        else
            l.numero("Componente nacional", q.value(1), tipo3::Nacional, 0);
        l.indicador("Base de cálculo", q.value(3), tipo3::BaseCalculo);
        if (q.value(4).isNull()) {
            l.problema(
                "Componente importado",
                QStringLiteral("o componente importado %1 não existe.").arg(q.value(0).toString()),
                Campo{tipo3::BaseCalculo.fim(), TamanhoRegistro3 - tipo3::BaseCalculo.fim() + 1});
        } else {
            CamposImportado(l, q, 5, tipo3::Deslocamento);
        }
        Acrescenta(d, l, TamanhoRegistro3);
        avanca();
    }

    // ---- 4: imported components of the product ----
    progresso.passo(QStringLiteral("Gerando Componentes Importados"));
    q = banco.executa(QStringLiteral("SELECT i.NR_SQ_IMPORTADO, ") + ColunasImportado +
                          QStringLiteral(" FROM COMPONENTES_IMPORTADOS i LEFT JOIN SUBCOMP s"
                                         "  ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO"
                                         "  AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO") +
                          DocumentosImportado +
                          QStringLiteral(" WHERE i.NR_VLM_IMPORTADO = ?"
                                         " AND s.N_IMPORTADO_SUBCOMP IS NULL ORDER BY i.rowid"),
                      {nrVlm});
    while (banco.proxima(q)) {
        if (!proximo())
            return std::nullopt;
        Linha l(QStringLiteral("Registro 4 (componente importado %1)").arg(q.value(0).toString()),
                TamanhoRegistro4, problemas);
        l.constante(QStringLiteral("4"));
        l.numero("Número do componente", q.value(0), importado::Sequencia, 0);
        CamposImportado(l, q, 1, 0);
        Acrescenta(d, l, TamanhoRegistro4);
        avanca();
    }

    // ---- 9: totals ----
    progresso.passo(QStringLiteral("Finalizando arquivo"));
    if (!proximo())
        return std::nullopt;
    d.Trailler.Tipo = QStringLiteral("9");
    // The totals come from the counts; rows that went missing (or appeared)
    // while reading would make a file that contradicts its own trailer.
    if (d.Corpo.Count() != total)
        throw ErroEntrega(QStringLiteral("O arquivo de transmissão não foi gerado: foram lidos %1 "
                                         "registros da declaração, mas ela tem %2. Gere o arquivo "
                                         "novamente.")
                              .arg(d.Corpo.Count())
                              .arg(total));
    d.Trailler.Conteudo = FormataNumero(double(total + 1), 8, 0);
    if (d.Trailler.Conteudo.size() != TamanhoRegistro9 - 1)
        throw ErroEntrega(QStringLiteral("A declaração tem registros demais para o arquivo de "
                                         "transmissão."));
    return d;
}

} // namespace vlme::delivery
