#include "checking/Pendencias.h"

#include "entry/Codigos.h"
#include "entry/FormularioDadosGerais.h"
#include "entry/Numeros.h"
#include "store/Banco.h"
#include "store/Gravar.h"

#include <QSqlQuery>

#include <cmath>

namespace vlme::checking {

namespace {

void adiciona(base::Erros &erros, const char *chave, const QString &origem = {},
              const QString &campo = {}) {
    const QString id = QString::fromLatin1(chave);
    erros.Add(id, base::Catalogo().Descricao(id), origem, campo);
}

// Length of the integer part as text, the way it would be written into a
// fixed-width field.
int digitosInteiros(double valor) {
    return QString::number(std::trunc(valor), 'f', 0).size();
}

QString rotulo(int tipoLinha) {
    switch (tipoLinha) {
    case LinhaNacional:
        return QStringLiteral("Componente Nacional");
    case LinhaSubcomponente:
        return QStringLiteral("SubComponente Importado");
    case LinhaImportado:
        return QStringLiteral("Componente Importado");
    }
    return {};
}

bool existe(store::Banco &banco, const char *sql, int nrVlm) {
    return banco.escalar(QString::fromLatin1(sql), {nrVlm}).isValid();
}

int maximo(store::Banco &banco, const char *sql, int nrVlm) {
    return banco.escalar(QString::fromLatin1(sql), {nrVlm}).toInt();
}

// Quantities and values too long for the delivery file, row by row.
void conferirTamanhos(store::Banco &banco, int nrVlm, const char *sql, const QString &prefixo,
                      int tipoLinha, std::vector<Pendencia> &lista) {
    QSqlQuery q = banco.executa(QString::fromLatin1(sql), {nrVlm});
    while (banco.proxima(q)) {
        const QString sequencia = q.value(0).toString();
        if (digitosInteiros(q.value(1).toDouble()) > 8)
            lista.push_back(
                {prefixo + QStringLiteral("_QTD_") + sequencia,
                 MontaDescricaoPendencia(base::Catalogo().Descricao(QStringLiteral("ERRO_QTD_INT")),
                                         sequencia, tipoLinha)});
        if (digitosInteiros(q.value(2).toDouble()) > 9)
            lista.push_back(
                {prefixo + QStringLiteral("_VLR_") + sequencia,
                 MontaDescricaoPendencia(base::Catalogo().Descricao(QStringLiteral("ERRO_VLR_INT")),
                                         sequencia, tipoLinha)});
    }
}

} // namespace

DadosGeraisVerificacao DadosDoFormulario(const entry::CamposDadosGerais &c) {
    DadosGeraisVerificacao d;
    d.doFormulario = true;
    d.cnpj = c.cnpj;
    d.cpf = c.cpf;
    d.ppb = c.ppb;
    d.produto = c.denProduto;
    d.ncm = c.ncm;
    d.unidade = c.unidade;
    d.vlmAnterior = c.vlmAnterior;
    d.pesoBruto = entry::ConverteValor(c.pesoBruto);
    d.salarios = entry::ConverteValor(c.salarios);
    d.encargos = entry::ConverteValor(c.encargos);
    d.coeficienteFixo = c.fixo;
    d.coeficienteVariavel = c.variavel;
    d.retificadorOuSubstitutivo = c.retificadorSim || c.substitutivoSim;
    return d;
}

DadosGeraisVerificacao LeDadosGerais(store::Banco &banco, int nrVlm) {
    DadosGeraisVerificacao d;
    QSqlQuery q = banco.executa(
        QStringLiteral("SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
                       " NR_VLM_ANTERIOR_VLM, PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM,"
                       " TIPO_COEFICIENTE_VLM, RETIFICADOR_VLM, SUBSTITUTIVO_VLM"
                       " FROM VLME WHERE NR_VLM_VLM = ?"),
        {nrVlm});
    if (!banco.proxima(q))
        return d;
    d.cnpj = q.value(0).toString();
    d.cpf = q.value(1).toString();
    d.ppb = q.value(2).toString();
    d.produto = q.value(3).toString();
    d.ncm = q.value(4).toString();
    d.unidade = q.value(5).toString();
    d.vlmAnterior = q.value(6).toString();
    d.pesoBruto = q.value(7).toDouble();
    if (!q.value(8).isNull())
        d.salarios = q.value(8).toDouble();
    if (!q.value(9).isNull())
        d.encargos = q.value(9).toDouble();
    d.coeficienteVariavel = q.value(10).toInt() == 1;
    d.coeficienteFixo = q.value(10).toInt() == 0;
    d.retificadorOuSubstitutivo = q.value(11).toInt() == 1 || q.value(12).toInt() == 1;
    return d;
}

base::Erros ValidaDadosGerais(const DadosGeraisVerificacao &d) {
    base::Erros erros;
    const QString central = QStringLiteral("frmCentral");
    if (d.cnpj.trimmed().isEmpty())
        adiciona(erros, "ERRO_CNPJ_AUSENTE", central, QStringLiteral("mskCNPJ"));
    else if (!entry::ValidaCNPJ(d.cnpj))
        adiciona(erros, "ERRO_CNPJ_INVALIDO", central, QStringLiteral("mskCNPJ"));

    if (d.cpf.trimmed().isEmpty())
        adiciona(erros, "ERRO_CPF_AUSENTE", central, QStringLiteral("mskCPF"));
    else if (!entry::ValidaCPF(d.cpf))
        adiciona(erros, "ERRO_CPF_INVALIDO", central, QStringLiteral("mskCPF"));

    if (d.ppb.trimmed().isEmpty())
        adiciona(erros, "ERRO_PPB_AUSENTE");
    else if (d.ppb.trimmed().size() < 5)
        adiciona(erros, "ERRO_PPB_INVALIDO");

    if (d.produto.trimmed().isEmpty())
        adiciona(erros, "ERRO_PRODUTO_AUSENTE");
    else if (d.produto.trimmed().size() < 3)
        adiciona(erros, "ERRO_PRODUTO_INVALIDO");

    if (d.ncm.trimmed().isEmpty())
        adiciona(erros, "ERRO_NCM_AUSENTE");
    else if (!entry::ValidaNCM(d.ncm))
        adiciona(erros, "ERRO_NCM_INVALIDO");

    // The message says "greater than zero": a negative weight is no weight.
    if (!(d.pesoBruto > 0))
        adiciona(erros, "ERRO_PESOBRUTO_ZERO");

    if (d.unidade.trimmed().isEmpty())
        adiciona(erros, "ERRO_UNIDADE_AUSENTE");

    if (d.doFormulario && d.coeficienteFixo) {
        if (d.salarios.value_or(0) > 0)
            adiciona(erros, "ERRO_SALARIOS_C_RED_FIX");
        if (d.encargos.value_or(0) > 0)
            adiciona(erros, "ERRO_ENCARGOS_C_RED_FIX");
    }
    if (d.coeficienteVariavel) {
        if (d.salarios && !(*d.salarios > 0))
            adiciona(erros, "ERRO_SALARIOS_ZERO");
        if (d.encargos && !(*d.encargos > 0))
            adiciona(erros, "ERRO_ENCARGOS_ZERO");
    }

    if (d.retificadorOuSubstitutivo) {
        if (d.vlmAnterior.isEmpty() || d.vlmAnterior == QLatin1String("0000000000"))
            adiciona(erros, "ERRO_VLMANTERIOR_AUSENTE");
        else if (d.vlmAnterior.size() < 9)
            adiciona(erros, "ERRO_VLMANTERIOR_INVALIDO");
    }
    return erros;
}

QString MontaDescricaoPendencia(const QString &mensagem, const QString &sequencia, int tipoLinha) {
    return rotulo(tipoLinha) + QStringLiteral(" : ") + sequencia + QStringLiteral(" - ") + mensagem;
}

std::vector<Pendencia> VerificaPendencias(store::Banco &banco, int nrVlm,
                                          const DadosGeraisVerificacao *formulario) {
    // Print rows left over go in a write of their own, and only when there
    // are any: a read cannot turn into a write that waits its turn.
    if (existe(banco, "SELECT 1 FROM IMPRESSAO WHERE NR_VLM_IMPRESSAO = ? LIMIT 1", nrVlm)) {
        store::Transacao t(banco);
        banco.executa(QStringLiteral("DELETE FROM IMPRESSAO WHERE NR_VLM_IMPRESSAO = ?"), {nrVlm});
        t.confirma();
    }
    // One saved state, never half of another program's save.
    store::Leitura leitura(banco);
    const DadosGeraisVerificacao dados = formulario ? *formulario : LeDadosGerais(banco, nrVlm);
    std::vector<Pendencia> lista;
    for (const auto &entrada : ValidaDadosGerais(dados))
        lista.push_back({entrada.erro->Id, entrada.erro->Descricao});

    auto doCatalogo = [&](const char *chave) {
        const QString id = QString::fromLatin1(chave);
        lista.push_back({id, base::Catalogo().Descricao(id)});
    };

    if (!existe(banco, "SELECT 1 FROM MODELOS WHERE NR_VLM_MODELOS = ? LIMIT 1", nrVlm))
        doCatalogo("ERRO_MODELOS");
    if (maximo(banco, "SELECT MAX(NR_SQ_MODELOS) FROM MODELOS WHERE NR_VLM_MODELOS = ?", nrVlm) >
        9999)
        doCatalogo("ERRO_MODELOS_SQ");
    if (existe(banco,
               "SELECT 1 FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?"
               " AND ifnull(NR_SEQ_NF_NACIONAL, 0) = 0 LIMIT 1",
               nrVlm))
        doCatalogo("ERRO_SEM_NF");

    conferirTamanhos(banco, nrVlm,
                     "SELECT NR_SQ_NACIONAL, QTD_NACIONAL, VL_CUSTO_UNITARIO_NACIONAL"
                     " FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ? ORDER BY rowid",
                     QStringLiteral("CN"), LinhaNacional, lista);
    // The forms keep the subcomponents within the component's cost; a statement
    // imported, restored or edited elsewhere may not.
    {
        QSqlQuery q = banco.executa(
            QStringLiteral("SELECT n.NR_SQ_NACIONAL, n.VL_CUSTO_UNITARIO_NACIONAL,"
                           " (SELECT SUM(i.QTD_IMPORTADO * i.VALOR_UNITARIO_IMPORTADO)"
                           " FROM SUBCOMP s JOIN COMPONENTES_IMPORTADOS i"
                           " ON i.NR_VLM_IMPORTADO = s.N_VLM_SUBCOMP"
                           " AND i.NR_SQ_IMPORTADO = s.N_IMPORTADO_SUBCOMP"
                           " WHERE s.N_VLM_SUBCOMP = n.NR_VLM_NACIONAL"
                           " AND s.N_NACIONAL_SUBCOMP = n.NR_SQ_NACIONAL)"
                           " FROM COMPONENTES_NACIONAIS n WHERE n.NR_VLM_NACIONAL = ?"
                           " ORDER BY n.rowid"),
            {nrVlm});
        while (banco.proxima(q)) {
            if (q.value(2).isNull() ||
                !store::CustoExcedido(q.value(2).toDouble(), q.value(1).toDouble()))
                continue;
            const QString sequencia = q.value(0).toString();
            lista.push_back({QStringLiteral("CN_SUB_") + sequencia,
                             MontaDescricaoPendencia(base::Catalogo().Descricao(QStringLiteral(
                                                         "ERRO_VALOR_NAC_MENOR_SUB")),
                                                     sequencia, LinhaNacional)});
        }
    }
    conferirTamanhos(
        banco, nrVlm,
        "SELECT s.N_IMPORTADO_SUBCOMP, i.QTD_IMPORTADO, i.VALOR_UNITARIO_IMPORTADO"
        " FROM SUBCOMP s JOIN COMPONENTES_IMPORTADOS i"
        "   ON i.NR_VLM_IMPORTADO = s.N_VLM_SUBCOMP AND i.NR_SQ_IMPORTADO = s.N_IMPORTADO_SUBCOMP"
        " WHERE s.N_VLM_SUBCOMP = ? ORDER BY s.rowid",
        QStringLiteral("SI"), LinhaSubcomponente, lista);
    conferirTamanhos(
        banco, nrVlm,
        "SELECT i.NR_SQ_IMPORTADO, i.QTD_IMPORTADO, i.VALOR_UNITARIO_IMPORTADO"
        " FROM COMPONENTES_IMPORTADOS i LEFT JOIN SUBCOMP s"
        "   ON s.N_VLM_SUBCOMP = i.NR_VLM_IMPORTADO AND s.N_IMPORTADO_SUBCOMP = i.NR_SQ_IMPORTADO"
        " WHERE i.NR_VLM_IMPORTADO = ? AND s.N_IMPORTADO_SUBCOMP IS NULL ORDER BY i.rowid",
        QStringLiteral("CI"), LinhaImportado, lista);

    if (maximo(banco,
               "SELECT MAX(NR_SQ_NACIONAL) FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?",
               nrVlm) > 9999)
        doCatalogo("ERRO_NACIONAIS_SQ");
    if (!existe(banco, "SELECT 1 FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ? LIMIT 1",
                nrVlm))
        doCatalogo("ERRO_IMPORTADOS");
    if (existe(banco,
               "SELECT 1 FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
               " AND ifnull(NR_SEQ_DI_IMPORTADO, 0) = 0 AND ifnull(NR_SEQ_NF_IMPORTADO, 0) = 0 "
               "LIMIT 1",
               nrVlm))
        doCatalogo("ERRO_SEM_DI_NF");
    if (existe(banco,
               "SELECT 1 FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?"
               " AND ifnull(NR_SEQ_DI_IMPORTADO, 0) <> 0 AND ifnull(NR_SEQ_NF_IMPORTADO, 0) <> 0 "
               "LIMIT 1",
               nrVlm))
        doCatalogo("ERRO_COM_DI_NF");
    if (maximo(banco,
               "SELECT MAX(NR_SQ_IMPORTADO) FROM COMPONENTES_IMPORTADOS WHERE NR_VLM_IMPORTADO = ?",
               nrVlm) > 9999)
        doCatalogo("ERRO_IMPORTADOS_SQ");
    return lista;
}

} // namespace vlme::checking
