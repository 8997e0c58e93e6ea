#include "entry/FormularioDadosGerais.h"

#include "base/InterfaceUsuario.h"
#include "entry/Numeros.h"
#include "shell/Programa.h"
#include "store/Controle.h"
#include "store/CopiaExclusao.h"
#include "store/Declaracoes.h"

#include <QSqlQuery>

namespace vlme::entry {

namespace {

constexpr int LarguraPeso = 15, DecimaisPeso = 5;
constexpr int LarguraCusto = 18, DecimaisCusto = 2;

QString comoTexto(const QVariant &v, int largura, int decimais) {
    return v.isNull() ? QString() : FormataNumero(v.toDouble(), largura, decimais);
}

std::optional<bool> opcao(bool sim, bool nao) {
    if (sim)
        return true;
    if (nao)
        return false;
    return std::nullopt;
}

// A typed field; an empty one is no value.
std::optional<double> valor(const QString &texto) {
    if (texto.trimmed().isEmpty())
        return std::nullopt;
    return ConverteValor(texto);
}

} // namespace

const QString PerguntaCoeficienteFixo =
    QStringLiteral("Para uso de Coeficiente de Redução Fixo, os valores \r'Salários e "
                   "Ordenados' e 'Encargos Sociais e Trabalhistas'\rnão devem estar "
                   "preenchidos.\r\rConfirma operação?");

store::DadosGerais CamposDadosGerais::paraGravacao() const {
    store::DadosGerais d;
    d.cnpj = cnpj;
    d.cpf = cpf;
    d.ppb = ppb;
    d.denProduto = denProduto;
    d.ncm = ncm;
    d.unidade = unidade;
    d.pesoBruto = valor(pesoBruto);
    d.salarios = valor(salarios);
    d.encargos = valor(encargos);
    if (fixo)
        d.coeficiente = store::Coeficiente::Fixo;
    else if (variavel)
        d.coeficiente = store::Coeficiente::Variavel;
    d.retificador = opcao(retificadorSim, retificadorNao);
    d.substitutivo = opcao(substitutivoSim, substitutivoNao);
    d.vlmAnterior = vlmAnterior;
    d.nrProcesso = nrProcesso;
    return d;
}

EstadoTipoDeclaracao SetaRetificador(CamposDadosGerais &c) {
    EstadoTipoDeclaracao e;
    e.retificador = c.substitutivoNao;
    e.substitutivo = c.retificadorNao;
    e.vlmAnterior = c.retificadorSim || c.substitutivoSim;
    e.nrProcesso = c.retificadorSim && e.retificador;
    if (!e.vlmAnterior)
        c.vlmAnterior.clear();
    if (!e.nrProcesso)
        c.nrProcesso.clear();
    return e;
}

std::optional<Aviso> ConfereVlmAnterior(const QString &digitos) {
    const QString s = digitos.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (s.size() < 9)
        return Aviso{QStringLiteral("Número de Registro VLM-E  - Tamanho Invalido"),
                     base::Icone::Critico};
    if (s.size() != 10)
        return std::nullopt;
    static constexpr int pesos[9] = {2, 9, 8, 7, 6, 5, 4, 3, 2};
    int soma = 0;
    for (int i = 0; i < 9; ++i)
        soma += pesos[i] * s[i].digitValue();
    const int resto = soma % 11;
    const int dv = resto < 2 ? 0 : 11 - resto;
    if (dv != s[9].digitValue())
        return Aviso{QStringLiteral("Número de Registro VLM-E com DV Inválido"),
                     base::Icone::Exclamacao};
    return std::nullopt;
}

int GuardaComoNova(store::Banco &banco, int origem,
                   const std::optional<store::DadosGerais> &digitados, base::Progresso &progresso,
                   base::InterfaceUsuario &usuario) {
    store::Transacao t(banco);
    const int nova = store::CopiaVLM(banco, origem, progresso, usuario);
    if (nova == 0)
        return 0;
    if (digitados) {
        store::DadosGerais d = *digitados;
        d.denProduto = store::NomeDeCopia(d.denProduto);
        store::GravaVLME(banco, nova, d);
    }
    t.confirma();
    return nova;
}

FormularioDadosGerais::FormularioDadosGerais(store::Banco &banco, shell::DeclaracaoAberta &aberta)
    : banco_(banco), aberta_(aberta) {}

int FormularioDadosGerais::numero() const {
    return aberta_.numero;
}

void FormularioDadosGerais::carrega() {
    QSqlQuery q = banco_.executa(
        QStringLiteral("SELECT CNPJ_VLM, CPF_VLM, PPB_VLM, DEN_PRODUTO_VLM, NCM_VLM, UNIDADE_VLM,"
                       " PESO_BRUTO_VLM, VL_SALARIOS_VLM, VL_ENCARGOS_VLM, TIPO_COEFICIENTE_VLM,"
                       " RETIFICADOR_VLM, SUBSTITUTIVO_VLM, NR_VLM_ANTERIOR_VLM, NR_PROCESSO_VLM,"
                       " NR_TRANSMISSAO_VLM, CODIGO_VLM, (SELECT NR_VERSAO_CONTROLE FROM"
                       " CONTROLE WHERE NR_VLM_CONTROLE = NR_VLM_VLM)"
                       " FROM VLME WHERE NR_VLM_VLM = ?"),
        {aberta_.numero});
    if (!banco_.proxima(q))
        throw store::ErroDeclaracaoInexistente(aberta_.numero);
    CamposDadosGerais &c = campos_;
    c = {};
    c.cnpj = q.value(0).toString();
    c.cpf = q.value(1).toString();
    c.ppb = q.value(2).toString();
    c.denProduto = q.value(3).toString();
    c.ncm = q.value(4).toString();
    c.unidade = q.value(5).toString();
    c.pesoBruto = comoTexto(q.value(6), LarguraPeso, DecimaisPeso);
    c.salarios = comoTexto(q.value(7), LarguraCusto, DecimaisCusto);
    c.encargos = comoTexto(q.value(8), LarguraCusto, DecimaisCusto);
    c.fixo = q.value(9).toInt() == 0;
    c.variavel = !c.fixo;
    c.retificadorSim = q.value(10).toInt() == 1;
    c.retificadorNao = !c.retificadorSim;
    c.substitutivoSim = q.value(11).toInt() == 1;
    c.substitutivoNao = !c.substitutivoSim;
    c.vlmAnterior = q.value(12).toString();
    c.nrProcesso = q.value(13).toString();
    entregue_ = q.value(14).toInt() > 0 || !q.value(15).toString().isEmpty();
    // Held for change: every save checks that nobody changed it since this
    // read (the version comes with the fields, in one query).
    if (aberta_.reserva && !aberta_.consulta)
        aberta_.reserva->lembraVersao(q.value(16).toLongLong());
    gravados_ = campos_;
}

void FormularioDadosGerais::marcaAlterada() {
    aberta_.alterada = true;
}

bool FormularioDadosGerais::fixoPedeConfirmacao() const {
    return ConverteValor(campos_.salarios) != 0 || ConverteValor(campos_.encargos) != 0;
}

void FormularioDadosGerais::escolheFixo() {
    campos_.fixo = true;
    campos_.variavel = false;
    campos_.salarios = campos_.encargos = QStringLiteral("0,00");
    marcaAlterada();
}

bool FormularioDadosGerais::travada() const {
    return entregue_ || aberta_.consulta;
}

BotoesLista FormularioDadosGerais::botoes(bool temLinha) const {
    const bool livre = !travada();
    return {livre, livre && temLinha, livre && temLinha, temLinha, temLinha};
}

void FormularioDadosGerais::grava() {
    if (travada() || campos_ == gravados_)
        return;
    store::Alteracao alteracao(banco_, aberta_.numero, QStringLiteral("Dados gerais"));
    store::GravaVLME(banco_, aberta_.numero, campos_.paraGravacao());
    alteracao.confirma();
    gravados_ = campos_;
}

void FormularioDadosGerais::saiDaPrimeiraAba() {
    grava();
    aberta_.nova = false;
}

void FormularioDadosGerais::fecha() {
    const shell::DeclaracaoAberta fechada = aberta_;
    if (store::ExisteDeclaracao(banco_, fechada.numero)) {
        if (fechada.nova && !fechada.alterada)
            store::ExcluiVLM(banco_, fechada.numero, true, nullptr);
        else
            grava();
    }
    aberta_ = {};
}

} // namespace vlme::entry
