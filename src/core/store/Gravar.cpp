#include "store/Gravar.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/GravarComum.h"

#include <QSqlQuery>

namespace vlme::store {

using gravar::Colunas;
using gravar::DataGravada;
using gravar::Texto;

namespace {

const QString OndeNacional = QStringLiteral("NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?");
const QString OndeImportado = QStringLiteral("NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?");

QString DescreveNacional(int nrVlm, int nrSq) {
    return base::Mensagem("TEXTO_REGISTRO_NACIONAL", nrSq, nrVlm);
}

QString DescreveImportado(int nrVlm, int nrSq) {
    return base::Mensagem("TEXTO_REGISTRO_IMPORTADO", nrSq, nrVlm);
}

// The five NF columns; `todas` writes the empty ones too (as '').
Colunas ColunasNF(const DadosNF &nf, bool todas) {
    const QString cnpj = CnpjSemMascara(nf.cnpj);
    const QString data = DataGravada(nf.dataEmissao);
    Colunas c;
    if (todas) {
        c.poe(QStringLiteral("NR_NF"), Texto(nf.numero));
        c.poe(QStringLiteral("SERIE_NF"), Texto(nf.serie));
        c.poe(QStringLiteral("CNPJ_NF"), Texto(cnpj));
        c.poe(QStringLiteral("DATA_EMISSAO_NF"), Texto(data));
        c.poe(QStringLiteral("NR_INS_ESTADUAL_NF"), Texto(nf.inscricaoEstadual));
    } else {
        c.seNaoVazio(QStringLiteral("NR_NF"), nf.numero);
        c.seNaoVazio(QStringLiteral("SERIE_NF"), nf.serie);
        c.seNaoVazio(QStringLiteral("CNPJ_NF"), cnpj);
        c.seNaoVazio(QStringLiteral("DATA_EMISSAO_NF"), data);
        c.seNaoVazio(QStringLiteral("NR_INS_ESTADUAL_NF"), nf.inscricaoEstadual);
    }
    return c;
}

bool NFVazia(const DadosNF &nf) {
    return nf.numero.isEmpty() && nf.serie.isEmpty() && CnpjSemMascara(nf.cnpj).isEmpty() &&
           nf.dataEmissao.trimmed().isEmpty() && nf.inscricaoEstadual.isEmpty();
}

Colunas ColunasDI(const DadosDI &di, bool todas) {
    Colunas c;
    if (todas) {
        c.poe(QStringLiteral("NR_DI_DI"), Texto(di.numero));
        c.poe(QStringLiteral("NR_ADICAO_DI"), Texto(di.adicao));
        c.poe(QStringLiteral("NR_ITEM_DI"), Texto(di.item));
    } else {
        c.seNaoVazio(QStringLiteral("NR_DI_DI"), di.numero);
        c.seNaoVazio(QStringLiteral("NR_ADICAO_DI"), di.adicao);
        c.seNaoVazio(QStringLiteral("NR_ITEM_DI"), di.item);
    }
    return c;
}

void PoeNacional(Colunas &c, const DadosNacional &d) {
    c.seNaoVazio(QStringLiteral("TX_DESCRICAO_NACIONAL"), d.descricao);
    c.seNaoVazio(QStringLiteral("VL_CUSTO_UNITARIO_NACIONAL"), d.custoUnitario);
    c.seNaoVazio(QStringLiteral("UNIDADE_NACIONAL"), d.unidade);
    c.seNaoVazio(QStringLiteral("NCM_NACIONAL"), d.ncm);
    c.seNaoVazio(QStringLiteral("QTD_NACIONAL"), d.quantidade);
}

void PoeNumerosImportado(Colunas &c, const DadosImportado &d) {
    c.seNaoVazio(QStringLiteral("QTD_IMPORTADO"), d.quantidade);
    c.seNaoVazio(QStringLiteral("VALOR_UNITARIO_IMPORTADO"), d.valorUnitario);
    c.seNaoVazio(QStringLiteral("ALIQUOTA_IMPORTADO"), d.aliquota);
    c.poe(QStringLiteral("VALOR_II_IMPORTADO"), gravar::ValorII(d));
}

void PoeOpcoesImportado(Colunas &c, const DadosImportado &d) {
    c.seMarcado(QStringLiteral("IN_COM_SUSP_IMPORTADO"), d.comSuspensao);
    c.seMarcado(QStringLiteral("IN_DIRETO_IMPORTADO"), d.direto);
    c.seMarcado(QStringLiteral("IN_REDUCAO_II_IMPORTADO"), d.reducaoII);
    c.seNaoVazio(QStringLiteral("UNIDADE_IMPORTADO"), d.unidade);
    c.seNaoVazio(QStringLiteral("NCM_IMPORTADO"), d.ncm);
}

struct Vinculos {
    int di = 0;
    int nf = 0;
};

Vinculos LeVinculos(Banco &banco, int nrVlm, int nrSqImportado) {
    QSqlQuery q = banco.executa(QStringLiteral("SELECT NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO"
                                               " FROM COMPONENTES_IMPORTADOS WHERE ") +
                                    OndeImportado,
                                {nrVlm, nrSqImportado});
    if (!banco.proxima(q))
        gravar::NaoEncontrado(DescreveImportado(nrVlm, nrSqImportado));
    return {q.value(0).toInt(), q.value(1).toInt()};
}

void ApagaNF(Banco &banco, int chave) {
    if (chave > 0)
        banco.executa(QStringLiteral("DELETE FROM NF WHERE NR_SEQ_NF = ?"), {chave});
}

void ApagaDI(Banco &banco, int chave) {
    if (chave > 0)
        banco.executa(QStringLiteral("DELETE FROM DI WHERE NR_SQ_DI = ?"), {chave});
}

} // namespace

QString CnpjSemMascara(const QString &cnpj) {
    QString s;
    s.reserve(14);
    for (QChar c : cnpj) {
        // ASCII only: QChar::toUpper would turn "ı" or "ſ" into a letter of the register.
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - u'a' + u'A');
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            s += c;
    }
    return s;
}

QDate LeDataNF(const QString &data) {
    const QString s = data.trimmed();
    for (const char *formato : {"dd/MM/yyyy", "ddMMyyyy", "yyyy/MM/dd", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(s, QLatin1String(formato));
        if (d.isValid())
            return d;
    }
    return {};
}

int CriaVLM(Banco &banco) {
    return banco.executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM) VALUES ('')"))
        .lastInsertId()
        .toInt();
}

void GravaVLME(Banco &banco, int nrVlm, const DadosGerais &d) {
    Colunas c;
    c.poe(QStringLiteral("CNPJ_VLM"), Texto(CnpjSemMascara(d.cnpj)));
    c.poe(QStringLiteral("CPF_VLM"), Texto(d.cpf));
    c.poe(QStringLiteral("PPB_VLM"), Texto(d.ppb));
    c.poe(QStringLiteral("DEN_PRODUTO_VLM"), Texto(d.denProduto));
    if (d.coeficiente)
        c.poe(QStringLiteral("TIPO_COEFICIENTE_VLM"), static_cast<int>(*d.coeficiente));
    c.seMarcado(QStringLiteral("SUBSTITUTIVO_VLM"), d.substitutivo);
    c.seMarcado(QStringLiteral("RETIFICADOR_VLM"), d.retificador);
    c.poe(QStringLiteral("NCM_VLM"), Texto(d.ncm));
    c.poe(QStringLiteral("PESO_BRUTO_VLM"), d.pesoBruto.value_or(0.0));
    c.poe(QStringLiteral("UNIDADE_VLM"), Texto(d.unidade));
    c.poe(QStringLiteral("VL_SALARIOS_VLM"), d.salarios.value_or(0.0));
    c.poe(QStringLiteral("VL_ENCARGOS_VLM"), d.encargos.value_or(0.0));
    c.poe(QStringLiteral("NR_VLM_ANTERIOR_VLM"), Texto(d.vlmAnterior));
    c.poe(QStringLiteral("NR_PROCESSO_VLM"), Texto(d.nrProcesso));
    if (gravar::Atualiza(banco, QStringLiteral("VLME"), c, QStringLiteral("NR_VLM_VLM = ?"),
                         {nrVlm}) == 0)
        gravar::NaoEncontrado(base::Mensagem("TEXTO_REGISTRO_VLME", nrVlm));
}

int GravaNF(Banco &banco, const DadosNF &nf) {
    return gravar::Insere(banco, QStringLiteral("NF"), ColunasNF(nf, false));
}

int GravaDI(Banco &banco, const DadosDI &di) {
    return gravar::Insere(banco, QStringLiteral("DI"), ColunasDI(di, false));
}

int GravaNacional(Banco &banco, int nrVlm, const DadosNacional &dados, int chaveNF) {
    const int nrSq = ProximoNacional(banco, nrVlm);
    Colunas c;
    c.poe(QStringLiteral("NR_VLM_NACIONAL"), nrVlm);
    c.poe(QStringLiteral("NR_SQ_NACIONAL"), nrSq);
    PoeNacional(c, dados);
    c.poe(QStringLiteral("NR_SEQ_NF_NACIONAL"), chaveNF);
    if (dados.numeroNoArquivo)
        c.poe(QStringLiteral("NR_SQ_IMPORTACAO"), *dados.numeroNoArquivo);
    gravar::Insere(banco, QStringLiteral("COMPONENTES_NACIONAIS"), c);
    return nrSq;
}

int IncluiNacional(Banco &banco, int nrVlm, const DadosNF &nf, const DadosNacional &dados) {
    Transacao t(banco);
    const int chave = GravaNF(banco, nf);
    const int nrSq = GravaNacional(banco, nrVlm, dados, chave);
    gravar::AdotaPendentes(banco, nrVlm, nrSq);
    t.confirma();
    return nrSq;
}

void AtualizaNacional(Banco &banco, int nrVlm, int nrSqNacional, const DadosNacional &dados) {
    Colunas c;
    PoeNacional(c, dados);
    if (gravar::Atualiza(banco, QStringLiteral("COMPONENTES_NACIONAIS"), c, OndeNacional,
                         {nrVlm, nrSqNacional}) == 0)
        gravar::NaoEncontrado(DescreveNacional(nrVlm, nrSqNacional));
}

void AlteraNacional(Banco &banco, int nrVlm, int nrSqNacional, const DadosNF &nf,
                    const DadosNacional &dados) {
    Transacao t(banco);
    const QVariant vinculo = banco.escalar(
        QStringLiteral("SELECT NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS WHERE ") +
            OndeNacional,
        {nrVlm, nrSqNacional});
    if (!vinculo.isValid())
        gravar::NaoEncontrado(DescreveNacional(nrVlm, nrSqNacional));
    const int chave = vinculo.toInt();
    const Colunas colunasNF = ColunasNF(nf, true);
    const bool gravada =
        chave > 0 && gravar::Atualiza(banco, QStringLiteral("NF"), colunasNF,
                                      QStringLiteral("NR_SEQ_NF = ?"), {chave}) > 0;
    // An invoice typed for a component without one (or whose row is gone)
    // would otherwise be dropped while the form reports success.
    if (!gravada && !NFVazia(nf)) {
        const int nova = gravar::Insere(banco, QStringLiteral("NF"), colunasNF);
        banco.executa(QStringLiteral("UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = ?"
                                     " WHERE ") +
                          OndeNacional,
                      {nova, nrVlm, nrSqNacional});
    }
    AtualizaNacional(banco, nrVlm, nrSqNacional, dados);
    t.confirma();
}

int GravaImportado(Banco &banco, int nrVlm, const DadosImportado &dados, Documento documento,
                   int chave, int nacionalDono) {
    Transacao t(banco);
    const int nrSq = ProximoImportado(banco, nrVlm);
    Colunas c;
    c.poe(QStringLiteral("NR_VLM_IMPORTADO"), nrVlm);
    c.poe(QStringLiteral("NR_SQ_IMPORTADO"), nrSq);
    c.seNaoVazio(QStringLiteral("TX_DESCRICAO_IMPORTADO"), dados.descricao);
    PoeNumerosImportado(c, dados);
    c.poe(documento == Documento::DI ? QStringLiteral("NR_SEQ_DI_IMPORTADO")
                                     : QStringLiteral("NR_SEQ_NF_IMPORTADO"),
          chave);
    PoeOpcoesImportado(c, dados);
    gravar::Insere(banco, QStringLiteral("COMPONENTES_IMPORTADOS"), c);
    if (nacionalDono != 0) {
        banco.executa(
            QStringLiteral("INSERT INTO SUBCOMP (N_VLM_SUBCOMP, N_NACIONAL_SUBCOMP,"
                           " N_IMPORTADO_SUBCOMP, IN_BASE_CALCULO_SUBCOMP)"
                           " VALUES (?, ?, ?, ?)"),
            {nrVlm, nacionalDono > 0 ? nacionalDono : 0, nrSq, dados.baseCalculo ? 1 : 0});
    }
    t.confirma();
    return nrSq;
}

int IncluiImportadoDI(Banco &banco, int nrVlm, const DadosDI &di, const DadosImportado &dados,
                      int nacionalDono) {
    Transacao t(banco);
    const int chave = GravaDI(banco, di);
    const int nrSq = GravaImportado(banco, nrVlm, dados, Documento::DI, chave, nacionalDono);
    t.confirma();
    return nrSq;
}

int IncluiImportadoNF(Banco &banco, int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                      int nacionalDono) {
    Transacao t(banco);
    const int chave = GravaNF(banco, nf);
    const int nrSq = GravaImportado(banco, nrVlm, dados, Documento::NF, chave, nacionalDono);
    t.confirma();
    return nrSq;
}

void AtualizaImportado(Banco &banco, int nrVlm, int nrSqImportado, const DadosImportado &dados,
                       Documento documento, int chave, int nacionalDono) {
    Transacao t(banco);
    const Vinculos atual = LeVinculos(banco, nrVlm, nrSqImportado);
    Colunas c;
    c.poe(QStringLiteral("TX_DESCRICAO_IMPORTADO"),
          dados.descricao.isEmpty() ? QStringLiteral(" ") : dados.descricao);
    PoeNumerosImportado(c, dados);
    // Link 0 is "none": there is nothing to delete for it.
    if (documento == Documento::DI) {
        ApagaNF(banco, atual.nf);
        if (atual.di != chave)
            ApagaDI(banco, atual.di);
        c.poe(QStringLiteral("NR_SEQ_DI_IMPORTADO"), chave);
        c.poe(QStringLiteral("NR_SEQ_NF_IMPORTADO"), 0);
        // An invoice's unit left under a DI makes a delivery file the
        // import refuses: a DI row stores none, as an imported one.
        if (dados.unidade.isEmpty())
            c.poe(QStringLiteral("UNIDADE_IMPORTADO"), QVariant(QMetaType(QMetaType::QString)));
    } else {
        ApagaDI(banco, atual.di);
        if (atual.nf != chave)
            ApagaNF(banco, atual.nf);
        c.poe(QStringLiteral("NR_SEQ_NF_IMPORTADO"), chave);
        c.poe(QStringLiteral("NR_SEQ_DI_IMPORTADO"), 0);
    }
    PoeOpcoesImportado(c, dados);
    gravar::Atualiza(banco, QStringLiteral("COMPONENTES_IMPORTADOS"), c, OndeImportado,
                     {nrVlm, nrSqImportado});
    if (nacionalDono != 0)
        banco.executa(QStringLiteral("UPDATE SUBCOMP SET IN_BASE_CALCULO_SUBCOMP = ?"
                                     " WHERE N_VLM_SUBCOMP = ? AND N_IMPORTADO_SUBCOMP = ?"),
                      {dados.baseCalculo ? 1 : 0, nrVlm, nrSqImportado});
    t.confirma();
}

void AlteraImportadoDI(Banco &banco, int nrVlm, int nrSqImportado, const DadosDI &di,
                       const DadosImportado &dados, int nacionalDono) {
    Transacao t(banco);
    int chave = LeVinculos(banco, nrVlm, nrSqImportado).di;
    const Colunas colunas = ColunasDI(di, true);
    if (chave <= 0 || gravar::Atualiza(banco, QStringLiteral("DI"), colunas,
                                       QStringLiteral("NR_SQ_DI = ?"), {chave}) == 0)
        chave = gravar::Insere(banco, QStringLiteral("DI"), colunas);
    AtualizaImportado(banco, nrVlm, nrSqImportado, dados, Documento::DI, chave, nacionalDono);
    t.confirma();
}

void AlteraImportadoNF(Banco &banco, int nrVlm, int nrSqImportado, const DadosNF &nf,
                       const DadosImportado &dados, int nacionalDono) {
    Transacao t(banco);
    int chave = LeVinculos(banco, nrVlm, nrSqImportado).nf;
    const Colunas colunas = ColunasNF(nf, true);
    if (chave <= 0 || gravar::Atualiza(banco, QStringLiteral("NF"), colunas,
                                       QStringLiteral("NR_SEQ_NF = ?"), {chave}) == 0)
        chave = gravar::Insere(banco, QStringLiteral("NF"), colunas);
    AtualizaImportado(banco, nrVlm, nrSqImportado, dados, Documento::NF, chave, nacionalDono);
    t.confirma();
}

int IncluiModelo(Banco &banco, int nrVlm, const DadosModelo &dados) {
    const int nrSq = ProximoModelo(banco, nrVlm);
    Colunas c;
    c.poe(QStringLiteral("NR_VLM_MODELOS"), nrVlm);
    c.poe(QStringLiteral("NR_SQ_MODELOS"), nrSq);
    c.seNaoVazio(QStringLiteral("TX_DESCRICAO_MODELOS"), dados.descricao);
    c.seNaoVazio(QStringLiteral("PRECO_VENDA_MODELOS"), dados.precoVenda);
    c.seNaoVazio(QStringLiteral("COD_INTERNO_MODELOS"), dados.codigoInterno);
    gravar::Insere(banco, QStringLiteral("MODELOS"), c);
    return nrSq;
}

int AlteraModelo(Banco &banco, int nrVlm, int nrSqModelo, const DadosModelo &dados) {
    Colunas c;
    c.seNaoVazio(QStringLiteral("TX_DESCRICAO_MODELOS"), dados.descricao);
    c.seNaoVazio(QStringLiteral("PRECO_VENDA_MODELOS"), dados.precoVenda);
    c.seNaoVazio(QStringLiteral("COD_INTERNO_MODELOS"), dados.codigoInterno);
    if (gravar::Atualiza(banco, QStringLiteral("MODELOS"), c,
                         QStringLiteral("NR_VLM_MODELOS = ? AND NR_SQ_MODELOS = ?"),
                         {nrVlm, nrSqModelo}) == 0)
        gravar::NaoEncontrado(base::Mensagem("TEXTO_REGISTRO_MODELO", nrSqModelo, nrVlm));
    return nrSqModelo;
}

void ExcluiModelo(Banco &banco, int nrVlm, int nrSqModelo) {
    banco.executa(
        QStringLiteral("DELETE FROM MODELOS WHERE NR_VLM_MODELOS = ? AND NR_SQ_MODELOS = ?"),
        {nrVlm, nrSqModelo});
}

bool ModeloCadastrado(Banco &banco, int nrVlm, const QString &descricao, int excetoSq) {
    return banco
        .escalar(QStringLiteral("SELECT 1 FROM MODELOS WHERE NR_VLM_MODELOS = ?"
                                " AND TX_DESCRICAO_MODELOS = ? COLLATE VLME_TEXTO"
                                " AND NR_SQ_MODELOS <> ? LIMIT 1"),
                 {nrVlm, descricao, excetoSq})
        .isValid();
}

void ExcluiImportado(Banco &banco, int nrVlm, int nrSqImportado) {
    Transacao t(banco);
    Vinculos vinculos;
    {
        QSqlQuery q = banco.executa(QStringLiteral("SELECT NR_SEQ_DI_IMPORTADO, NR_SEQ_NF_IMPORTADO"
                                                   " FROM COMPONENTES_IMPORTADOS WHERE ") +
                                        OndeImportado,
                                    {nrVlm, nrSqImportado});
        if (banco.proxima(q))
            vinculos = {q.value(0).toInt(), q.value(1).toInt()};
    }
    ApagaDI(banco, vinculos.di);
    ApagaNF(banco, vinculos.nf);
    banco.executa(QStringLiteral("DELETE FROM SUBCOMP"
                                 " WHERE N_IMPORTADO_SUBCOMP = ? AND N_VLM_SUBCOMP = ?"),
                  {nrSqImportado, nrVlm});
    banco.executa(QStringLiteral("DELETE FROM COMPONENTES_IMPORTADOS WHERE ") + OndeImportado,
                  {nrVlm, nrSqImportado});
    t.confirma();
}

namespace {

// Deletes the subcomponents linked to national `nrSqNacional` (0: those waiting
// for a component being included) and their links.
void ExcluiSubcomponentes(Banco &banco, int nrVlm, int nrSqNacional) {
    std::vector<int> importados;
    {
        QSqlQuery q = banco.executa(QStringLiteral("SELECT N_IMPORTADO_SUBCOMP FROM SUBCOMP"
                                                   " WHERE N_NACIONAL_SUBCOMP = ?"
                                                   " AND N_VLM_SUBCOMP = ?"),
                                    {nrSqNacional, nrVlm});
        while (banco.proxima(q))
            importados.push_back(q.value(0).toInt());
    }
    for (int nrSq : importados)
        ExcluiImportado(banco, nrVlm, nrSq);
    banco.executa(QStringLiteral("DELETE FROM SUBCOMP"
                                 " WHERE N_NACIONAL_SUBCOMP = ? AND N_VLM_SUBCOMP = ?"),
                  {nrSqNacional, nrVlm});
}

} // namespace

void ExcluiNacional(Banco &banco, int nrVlm, int nrSqNacional) {
    Transacao t(banco);
    ExcluiSubcomponentes(banco, nrVlm, nrSqNacional);
    const QVariant nf = banco.escalar(
        QStringLiteral("SELECT NR_SEQ_NF_NACIONAL FROM COMPONENTES_NACIONAIS WHERE ") +
            OndeNacional,
        {nrVlm, nrSqNacional});
    if (nf.isValid())
        ApagaNF(banco, nf.toInt());
    banco.executa(QStringLiteral("DELETE FROM COMPONENTES_NACIONAIS WHERE ") + OndeNacional,
                  {nrVlm, nrSqNacional});
    t.confirma();
}

void ExcluiSubcomponentesPendentes(Banco &banco, int nrVlm) {
    Transacao t(banco);
    ExcluiSubcomponentes(banco, nrVlm, 0);
    t.confirma();
}

} // namespace vlme::store
