#include "store/Gravar.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Controle.h"
#include "store/Declaracoes.h"
#include "store/GravarComum.h"
#include "store/Historico.h"

#include <QSqlQuery>

namespace vlme::store {

using gravar::Vazios;

namespace {

const QString OndeNacional = QStringLiteral("NR_VLM_NACIONAL = ? AND NR_SQ_NACIONAL = ?");
const QString OndeImportado = QStringLiteral("NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTADO = ?");

QString DescreveNacional(int nrVlm, int nrSq) {
    return base::Mensagem("TEXTO_REGISTRO_NACIONAL", nrSq, nrVlm);
}

QString DescreveImportado(int nrVlm, int nrSq) {
    return base::Mensagem("TEXTO_REGISTRO_IMPORTADO", nrSq, nrVlm);
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

int CriaVLM(Banco &banco, bool pedida) {
    Transacao t(banco);
    const int numero = banco.executa(QStringLiteral("INSERT INTO VLME (CODIGO_VLM) VALUES ('')"))
                           .lastInsertId()
                           .toInt();
    CriaControle(banco, numero);
    if (pedida)
        RegistraHistorico(banco, numero, Evento::Criada, QStringLiteral("Nova declaração"));
    t.confirma();
    return numero;
}

void GravaVLME(Banco &banco, int nrVlm, const DadosGerais &d) {
    if (gravar::Atualiza(banco, gravar::LinhaVLME(d), QStringLiteral("NR_VLM_VLM = ?"), {nrVlm}) ==
        0)
        gravar::NaoEncontrado(base::Mensagem("TEXTO_REGISTRO_VLME", nrVlm));
}

int GravaNF(Banco &banco, const DadosNF &nf) {
    return gravar::Insere(banco, gravar::LinhaNF(nf, Vazios::Omite));
}

int GravaDI(Banco &banco, const DadosDI &di) {
    return gravar::Insere(banco, gravar::LinhaDI(di, Vazios::Omite));
}

int GravaNacional(Banco &banco, int nrVlm, const DadosNacional &dados, int chaveNF) {
    const int nrSq = ProximoNacional(banco, nrVlm);
    gravar::Insere(banco, gravar::NovoNacional(nrVlm, nrSq, dados, chaveNF));
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
    if (gravar::Atualiza(banco, gravar::LinhaNacional(dados), OndeNacional,
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
    const auto linhaNF = gravar::LinhaNF(nf, Vazios::Grava);
    const bool gravada =
        chave > 0 && gravar::Atualiza(banco, linhaNF, QStringLiteral("NR_SEQ_NF = ?"), {chave}) > 0;
    // An invoice typed for a component without one (or whose row is gone)
    // would otherwise be dropped while the form reports success.
    const bool digitada = gravar::LinhaNF(nf, Vazios::Omite).mascara() != 0;
    if (!gravada && digitada) {
        const int nova = gravar::Insere(banco, linhaNF);
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
    gravar::Insere(banco, gravar::NovoImportado(nrVlm, nrSq, dados, documento, chave));
    if (nacionalDono != 0)
        gravar::Insere(banco, gravar::NovoSubcomp(nrVlm, nacionalDono, nrSq, dados.baseCalculo));
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
    // Link 0 is "none": there is nothing to delete for it.
    if (documento == Documento::DI) {
        ApagaNF(banco, atual.nf);
        if (atual.di != chave)
            ApagaDI(banco, atual.di);
    } else {
        ApagaDI(banco, atual.di);
        if (atual.nf != chave)
            ApagaNF(banco, atual.nf);
    }
    gravar::Atualiza(banco, gravar::ImportadoAlterado(dados, documento, chave), OndeImportado,
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
    const auto linha = gravar::LinhaDI(di, Vazios::Grava);
    if (chave <= 0 || gravar::Atualiza(banco, linha, QStringLiteral("NR_SQ_DI = ?"), {chave}) == 0)
        chave = gravar::Insere(banco, linha);
    AtualizaImportado(banco, nrVlm, nrSqImportado, dados, Documento::DI, chave, nacionalDono);
    t.confirma();
}

void AlteraImportadoNF(Banco &banco, int nrVlm, int nrSqImportado, const DadosNF &nf,
                       const DadosImportado &dados, int nacionalDono) {
    Transacao t(banco);
    int chave = LeVinculos(banco, nrVlm, nrSqImportado).nf;
    const auto linha = gravar::LinhaNF(nf, Vazios::Grava);
    if (chave <= 0 || gravar::Atualiza(banco, linha, QStringLiteral("NR_SEQ_NF = ?"), {chave}) == 0)
        chave = gravar::Insere(banco, linha);
    AtualizaImportado(banco, nrVlm, nrSqImportado, dados, Documento::NF, chave, nacionalDono);
    t.confirma();
}

int IncluiModelo(Banco &banco, int nrVlm, const DadosModelo &dados) {
    const int nrSq = ProximoModelo(banco, nrVlm);
    gravar::Insere(banco, gravar::NovoModelo(nrVlm, nrSq, dados));
    return nrSq;
}

int AlteraModelo(Banco &banco, int nrVlm, int nrSqModelo, const DadosModelo &dados) {
    if (gravar::Atualiza(banco, gravar::LinhaModelo(dados),
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
