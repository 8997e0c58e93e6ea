#include "import/Importacao.h"

#include "base/Erros.h"
#include "base/Progresso.h"
#include "entry/Numeros.h"
#include "import/LeitorLinhas.h"
#include "import/Registros.h"
#include "import/ValidaCampos.h"
#include "store/Banco.h"
#include "store/Gravar.h"
#include "store/GravarLote.h"
#include "store/Historico.h"
#include "store/Importacoes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <optional>
#include <span>

namespace vlme::importacao {

namespace {

const QString Abortada = QStringLiteral("Importação abortada.");

bool digitos(const QString &v) {
    return entry::SoNumeros(v);
}

// The invoice of a national or imported record, as the store keeps it.
store::DadosNF NotaDoRegistro(const NotaEItem &r) {
    store::DadosNF nf;
    nf.numero = r.numeroNF;
    nf.serie = Apara(r.serieNF);
    nf.cnpj = r.cnpjFornecedor;
    nf.dataEmissao = ConverteDataImportacao(r.dataEmissao);
    nf.inscricaoEstadual = Apara(r.inscricaoEstadual);
    return nf;
}

// Leading digits as a number, as a count is read from the totals record.
qint64 valorInicial(const QString &v) {
    qint64 n = 0;
    qsizetype i = 0;
    while (i < v.size() && v.at(i) == QLatin1Char(' '))
        ++i;
    for (; i < v.size() && v.at(i).isDigit() && v.at(i).unicode() < 128; ++i)
        n = n * 10 + (v.at(i).unicode() - u'0');
    return n;
}

// ---- How a run ends early ----

struct Abortagem {
    QString mensagem;
    bool bipe = false;
};
struct Cancelamento {};
struct JaImportado {};
struct Falha {
    QString mensagem;
    base::Icone icone = base::Icone::Critico;
};

QString TextoJaImportado(const QString &arquivo, const std::vector<int> &declaracoes) {
    QStringList numeros;
    for (int numero : declaracoes)
        numeros << QString::number(numero);
    return QStringLiteral("O conteúdo do arquivo %1 já foi importado: %2 %3. Nada foi gravado.")
        .arg(QDir::toNativeSeparators(arquivo),
             numeros.size() == 1 ? QStringLiteral("declaração") : QStringLiteral("declarações"),
             numeros.join(QStringLiteral(", ")));
}

QString FalhaGeral(const QString &numero, const QString &descricao) {
    return QStringLiteral("Ocorreu um erro, contacte o suporte técnico. ") + numero +
           QStringLiteral(" - ") + descricao;
}

// ---- One run ----

class Execucao {
  public:
    Execucao(store::Banco &banco, base::Progresso &progresso, const QString &caminho, bool umaVez)
        : banco_(banco), progresso_(progresso), leitor_(caminho, LimiteLinha), umaVez_(umaVez) {
        r_.arquivo = caminho;
    }

    ResultadoImportacao roda();

  private:
    struct Nacional {
        int nrSq = 0;
        double custoUnitario = 0.0;
        double somaSubcomponentes = 0.0;
    };

    void abreArquivo();
    void contaLinhas();
    void leLinha();
    bool comeca(char c) const { return !linha_.isEmpty() && linha_.at(0) == QLatin1Char(c); }
    void confereTipo(bool aceitaNove, bool bipe);
    void confereTamanho(char tipo);
    [[noreturn]] void aborta(const QString &mensagem, bool bipe);
    [[noreturn]] void abortaQuantidade(const char *chave);
    QString erroLinha(const QString &separador) const;
    void confereResto();

    void LeDeclaracao();
    void LeRegistroTipo0();
    void LeRegistroTipo1();
    void LeRegistroTipo2();
    void LeRegistroImportado(); // types 3 and 4
    void LeRegistroTipo9();
    // Runs the checks of `campos` on the current line.
    void valida(std::span<const CampoValidado> campos, const Contexto &contexto = {});
    QString confereExtra(const CampoValidado &c, const QString &valor);

    // Records the field's message when there is one; answers whether the
    // record's checks go on.
    bool campo(QChar tipo, const QString &rotulo, const QString &mensagem);
    void RegistraErroImportacao(QChar tipo, const QString &rotulo, const QString &mensagem);
    bool cabeErro() const { return r_.erros.size() < std::size_t(LimiteErros); }
    // Rows are written only while the file is still clean: once a field has
    // failed the run ends in a rollback, so writing more would be wasted.
    bool grava() const { return r_.erros.empty(); }

    store::Banco &banco_;
    std::optional<store::GravacaoEmLote> lote_; // inside the run's transaction
    base::Progresso &progresso_;
    LeitorLinhas leitor_;
    const bool umaVez_;
    QByteArray sha256_; // of the content, from the count
    // On the server, the statements this content had made before the run:
    // a COMMIT left without an answer is found out against them.
    std::vector<int> antes_;
    ResultadoImportacao r_;
    void confereDesfecho(const store::ErroDesfechoIncerto &e);

    QString linha_;
    qint64 tamanhoLinha_ = 0; // true length, the part past LimiteLinha not kept
    int numeroLinha_ = 0;
    int totalLinhas_ = 0;
    QString ultimaLinha_; // of the step text, written once
    bool sadio_ = true;

    // The statement being read.
    int nrVlm_ = -1;
    bool viuTipo3_ = false;
    bool nacionalValido_ = false; // the type 3 being checked names a known component
    int modelos_ = 0, nacionais_ = 0, importados_ = 0;
    QSet<QString> descricoesModelos_;         // case-folded, as the database compares them
    QHash<int, Nacional> nacionaisDoArquivo_; // by the file's own number
};

void Execucao::abreArquivo() {
    const QFileInfo info(r_.arquivo);
    if (!info.exists() || info.isDir())
        throw Falha{QStringLiteral("Caminho inválido (") + r_.arquivo + QLatin1Char(')'),
                    base::Icone::Exclamacao};
    if (!leitor_.abre()) {
        if (leitor_.erro() == QFileDevice::PermissionsError || !info.isReadable())
            throw Falha{QStringLiteral("O disco está protegido contra gravação."),
                        base::Icone::Exclamacao};
        throw Falha{FalhaGeral(QString::number(leitor_.erro()), leitor_.textoErro())};
    }
}

// Inside the progress, so that a long count can be cancelled.
void Execucao::contaLinhas() {
    progresso_.passo(QStringLiteral("Contando as linhas do arquivo"));
    bool demais = false;
    const LeitorLinhas::Contagem c = leitor_.conta([&](qint64 linhas) {
        demais = linhas > LimiteLinhas;
        return !demais && progresso_.unidade();
    });
    if (demais)
        throw Abortagem{QStringLiteral("Erro linha %1: o arquivo tem mais de %2 linhas. ")
                            .arg(LimiteLinhas + 1)
                            .arg(LimiteLinhas) +
                        Abortada};
    if (c.interrompida)
        throw Cancelamento{};
    totalLinhas_ = int(c.linhas);
    sha256_ = c.sha256;
}

void Execucao::leLinha() {
    LeitorLinhas::Linha l;
    if (!leitor_.le(l))
        throw Falha{FalhaGeral(QStringLiteral("62"),
                               QStringLiteral("Fim de arquivo inesperado: o arquivo está vazio"
                                              " ou incompleto."))};
    linha_ = std::move(l.texto);
    tamanhoLinha_ = l.tamanho;
    ++numeroLinha_;
    r_.contadores.linhas = numeroLinha_;
    progresso_.valor(numeroLinha_);
    if (!comeca('9'))
        progresso_.passo(QStringLiteral("Importando ") + QString::number(numeroLinha_) +
                         QStringLiteral(" de ") + ultimaLinha_);
    if (!progresso_.unidade())
        throw Cancelamento{};
}

QString Execucao::erroLinha(const QString &separador) const {
    return QStringLiteral("Erro linha ") + QString::number(numeroLinha_) + separador;
}

void Execucao::aborta(const QString &mensagem, bool bipe) {
    throw Abortagem{mensagem, bipe};
}

void Execucao::abortaQuantidade(const char *chave) {
    aborta(erroLinha(QStringLiteral(": ")) + base::Catalogo().Descricao(QLatin1String(chave)) +
               QLatin1Char(' ') + Abortada,
           true);
}

void Execucao::confereTipo(bool aceitaNove, bool bipe) {
    const bool valido = comeca('0') || comeca('1') || comeca('2') || comeca('3') || comeca('4') ||
                        (aceitaNove && comeca('9'));
    if (!valido)
        aborta(erroLinha(QStringLiteral(": identificador de tipo de registro inválido. ")) +
                   Abortada + QLatin1Char(' '),
               bipe);
}

void Execucao::confereTamanho(char tipo) {
    const int exigido = TamanhoRegistro(QLatin1Char(tipo));
    if (tamanhoLinha_ != exigido)
        aborta(erroLinha(QStringLiteral(": o tamanho do registro tipo ")) + QLatin1Char(tipo) +
                   QStringLiteral(" deve ser de ") + QString::number(exigido) +
                   QStringLiteral(" caracteres. Tamanho lido = ") + QString::number(tamanhoLinha_) +
                   QStringLiteral(". ") + Abortada + QLatin1Char(' '),
               tipo == '0' || tipo == '9');
}

ResultadoImportacao Execucao::roda() {
    bool progressoAberto = false;
    try {
        store::Transacao transacao(banco_);
        lote_.emplace(banco_);
        abreArquivo();

        progresso_.abre();
        progressoAberto = true;
        progresso_.faixa(0, 0);
        progresso_.permiteCancelar(true);
        if (progresso_.cancelado())
            throw Cancelamento{};
        contaLinhas();
        // What this content made before, for --uma-vez and for finding out,
        // should the commit's answer be lost, whether it was stored.
        antes_ = store::DeclaracoesImportadas(banco_, sha256_);
        if (umaVez_) {
            r_.anteriores = antes_;
            if (!r_.anteriores.empty())
                throw JaImportado{};
        }
        ultimaLinha_ = QString::number(totalLinhas_ - 1);
        progresso_.faixa(0, totalLinhas_);
        progresso_.valor(0);

        leLinha();
        bool algumaDeclaracao = false;
        while (!leitor_.fim() && !comeca('9')) {
            algumaDeclaracao = true;
            LeDeclaracao();
        }
        if (comeca('9')) {
            LeRegistroTipo9();
            confereResto();
        } else if (!algumaDeclaracao) {
            aborta(erroLinha(QStringLiteral(": Registros do Tipo 0, 1, 2, 3, 4 ausentes. ")) +
                       Abortada + QLatin1Char(' '),
                   false);
        } else {
            aborta(erroLinha(QStringLiteral(": Registro Tipo 9 ausente. ")) + Abortada +
                       QLatin1Char(' '),
                   false);
        }

        if (r_.erros.empty()) {
            lote_->conclui();
            lote_.reset();
            store::RegistraImportacao(banco_, sha256_, r_.arquivo, r_.declaracoes);
            const QString origem =
                QStringLiteral("Importada do arquivo %1 (SHA-256 %2)")
                    .arg(QFileInfo(r_.arquivo).fileName(), QString::fromLatin1(sha256_));
            for (int numero : r_.declaracoes)
                store::RegistraHistorico(banco_, numero, store::Evento::Criada, origem, true);
            transacao.confirma();
            r_.desfecho = Desfecho::Sucesso;
        } else {
            r_.desfecho = Desfecho::ErrosCampo;
        }
    } catch (const Abortagem &a) {
        r_.desfecho = Desfecho::Abortada;
        r_.mensagem = a.mensagem;
        r_.bipe = a.bipe;
        r_.icone = base::Icone::Critico;
    } catch (const Cancelamento &) {
        r_.desfecho = Desfecho::Cancelada;
    } catch (const JaImportado &) {
        r_.desfecho = Desfecho::JaImportado;
        r_.mensagem = TextoJaImportado(r_.arquivo, r_.anteriores);
        r_.icone = base::Icone::Exclamacao;
    } catch (const Falha &f) {
        r_.desfecho = Desfecho::Falha;
        r_.mensagem = f.mensagem;
        r_.icone = f.icone;
    } catch (const ErroLeitura &e) {
        r_.desfecho = Desfecho::Falha;
        r_.mensagem = FalhaGeral(QString::number(e.codigo), e.detalhe());
        r_.icone = base::Icone::Critico;
    } catch (const store::ErroDesfechoIncerto &e) {
        confereDesfecho(e);
    } catch (const store::ErroBanco &e) {
        r_.desfecho = Desfecho::Falha;
        // Another program writing is no case for support: its message already
        // says that nothing was stored and to try again.
        // Nor is the server: its message says what happened, its own text
        // only the detail.
        r_.mensagem =
            e.ocupado() ? e.mensagem()
            : e.codigoNativo().size() == 5
                ? e.mensagem() + (e.detalhe().isEmpty()
                                      ? QString()
                                      : QStringLiteral("\n\nDetalhe técnico: ") + e.detalhe())
                : FalhaGeral(e.codigoNativo().isEmpty() ? QStringLiteral("0") : e.codigoNativo(),
                             e.detalhe().isEmpty()
                                 ? e.mensagem()
                                 : e.mensagem() + QStringLiteral(" (") + e.detalhe() + ')');
        r_.icone = e.ocupado() ? base::Icone::Exclamacao : base::Icone::Critico;
    }
    if (progressoAberto)
        progresso_.fecha();
    if (r_.desfecho != Desfecho::Sucesso)
        r_.declaracoes.clear();
    return std::move(r_);
}

void Execucao::confereDesfecho(const store::ErroDesfechoIncerto &e) {
    const std::optional<std::vector<int>> feitas =
        store::ConfereImportacao(banco_, sha256_, antes_, banco_.sessao());
    if (feitas && !feitas->empty()) {
        r_.desfecho = Desfecho::Sucesso;
        r_.declaracoes = *feitas;
        QStringList numeros;
        for (int n : *feitas)
            numeros << QString::number(n);
        r_.aviso = base::Mensagem("AVISO_IMPORTACAO_GRAVADA", numeros.join(QStringLiteral(", ")));
        return;
    }
    r_.desfecho = Desfecho::Falha;
    r_.icone = base::Icone::Critico;
    r_.incerto = !feitas;
    r_.mensagem = feitas ? base::Mensagem("ERRO_IMPORTACAO_DESFEITA") : e.mensagem();
}

// A second file pasted after the totals record would be silently dropped.
void Execucao::confereResto() {
    LeitorLinhas::Linha linha;
    int n = numeroLinha_;
    while (leitor_.le(linha)) {
        ++n;
        if (linha.tamanho > linha.texto.size() || !linha.texto.trimmed().isEmpty())
            aborta(QStringLiteral("Erro linha %1: há dados depois do Registro Tipo 9. ").arg(n) +
                       Abortada,
                   false);
    }
}

void Execucao::LeDeclaracao() {
    confereTipo(false, true);
    if (!comeca('0'))
        aborta(erroLinha(QStringLiteral(" - Registro Tipo 0 ausente. ")) + Abortada, true);
    confereTamanho('0');
    LeRegistroTipo0();
    leLinha();

    confereTipo(true, false);
    if (!comeca('1'))
        aborta(erroLinha(QStringLiteral(" - Deve existir pelo menos um Registro Tipo 1. ")) +
                   Abortada,
               true);

    while (comeca('1')) {
        confereTamanho('1');
        LeRegistroTipo1();
        if (leitor_.fim())
            aborta(erroLinha(QStringLiteral(": Deve existir pelo menos um Registro Tipo 2. ")) +
                       Abortada,
                   true);
        leLinha();
    }
    confereTipo(true, false);

    while (comeca('2')) {
        confereTamanho('2');
        LeRegistroTipo2();
        if (leitor_.fim())
            aborta(erroLinha(QStringLiteral(": Deve existir pelo menos um Registro Tipo 3. ")) +
                       Abortada,
                   true);
        leLinha();
    }
    confereTipo(true, false);

    const QString semNove =
        QStringLiteral(": Deve existir pelo menos um Registro Tipo 9. ") + Abortada;
    while (comeca('3')) {
        confereTamanho('3');
        viuTipo3_ = true;
        LeRegistroImportado();
        if (leitor_.fim())
            aborta(erroLinha(semNove), true);
        leLinha();
    }
    confereTipo(true, false);

    if (!viuTipo3_ && !comeca('4'))
        aborta(erroLinha(QStringLiteral(
                   " - Deve existir pelo menos um Registro Tipo 3 ou Registro Tipo 4. ")) +
                   Abortada,
               true);

    while (comeca('4')) {
        confereTamanho('4');
        LeRegistroImportado();
        if (leitor_.fim())
            aborta(erroLinha(semNove), true);
        leLinha();
        confereTipo(true, false);
    }
}

bool Execucao::campo(QChar tipo, const QString &rotulo, const QString &mensagem) {
    if (!mensagem.isEmpty())
        RegistraErroImportacao(tipo, rotulo, mensagem);
    return cabeErro();
}

void Execucao::RegistraErroImportacao(QChar tipo, const QString &rotulo, const QString &mensagem) {
    if (cabeErro())
        r_.erros.push_back(ErroImportacao::Cria(tipo, numeroLinha_, rotulo, mensagem));
    sadio_ = false;
}

void Execucao::valida(std::span<const CampoValidado> campos, const Contexto &contexto) {
    const QChar tipo = linha_.at(0);
    const bool tipo3 = tipo == QLatin1Char('3');
    const QString documento = linha_.mid(delivery::importado::TipoDocumento.posicao - 1 +
                                             (tipo3 ? delivery::tipo3::Deslocamento : 0),
                                         1);
    const bool di = Letra(documento, 'S'), nf = Letra(documento, 'N');
    nacionalValido_ = false;
    for (const CampoValidado &c : campos) {
        if (c.soTipo3 && !tipo3)
            continue;
        const int deslocamento = tipo3 && !c.soTipo3 ? delivery::tipo3::Deslocamento : 0;
        // The field read in place, without a copy per field: no check keeps it.
        const QStringView trecho =
            QStringView(linha_).mid(c.leiaute.posicao - 1 + deslocamento, c.leiaute.largura);
        const QString valor = QString::fromRawData(trecho.data(), trecho.size());
        QString m = Avalia(c, di ? c.seDI : nf ? c.seNF : c.outro, valor, contexto);
        if (m.isEmpty())
            m = confereExtra(c, valor);
        if (m.isEmpty()) {
            if (!cabeErro())
                return;
            continue;
        }
        const QStringView rotulo =
            m == MsgObrigatorio && !c.rotuloObrigatorio.isEmpty() ? c.rotuloObrigatorio : c.rotulo;
        if (!campo(tipo, rotulo.toString(), m))
            return;
    }
}

// The checks against what the import has read so far.
QString Execucao::confereExtra(const CampoValidado &c, const QString &valor) {
    switch (c.extra) {
    case Extra::Nenhum:
        return {};
    case Extra::ModeloUnico:
        return descricoesModelos_.contains(Apara(valor).toCaseFolded()) ? MsgModeloCadastrado
                                                                        : QString();
    case Extra::NacionalUnico:
        return nacionaisDoArquivo_.contains(valor.toInt()) ? MsgDeveSerUnico : QString();
    case Extra::NacionalCadastrado:
        nacionalValido_ = nacionaisDoArquivo_.contains(valor.toInt());
        return nacionalValido_ ? QString() : MsgNaoCadastrado;
    case Extra::Custo: {
        const RegistroImportado r = CortaImportado(linha_);
        if (r.tipo != QLatin1Char('3') || !nacionalValido_ || !digitos(r.quantidade))
            return {};
        const Nacional &n = nacionaisDoArquivo_[r.numeroNacional.toInt()];
        const double soma = n.somaSubcomponentes +
                            ValorImplicito(r.quantidade, 7) * ValorImplicito(r.valorUnitario, 6);
        return store::CustoExcedido(soma, n.custoUnitario) ? MsgCustoSubcomponentes : QString();
    }
    }
    return {};
}

// ---- Type 0 ----

void Execucao::LeRegistroTipo0() {
    // A new statement starts: what the checks compare with is its own.
    nrVlm_ = -1;
    viuTipo3_ = false;
    modelos_ = nacionais_ = importados_ = 0;
    descricoesModelos_.clear();
    nacionaisDoArquivo_.clear();

    sadio_ = true;
    const RegistroTipo0 r = CortaTipo0(linha_);
    Contexto contexto;
    contexto.variavel = Letra(r.tipoCoeficiente, 'V');
    for (char t : {'N', 'R', 'S'})
        if (Letra(r.tipoVlme, t))
            contexto.tipoVlme = t;
    valida(CamposTipo0(), contexto);
    if (!sadio_ || !cabeErro())
        return;
    if (grava()) {
        store::DadosGerais d;
        d.cnpj = r.cnpj;
        d.cpf = r.cpf;
        d.ppb = Apara(r.ppb);
        d.denProduto = Apara(r.denProduto);
        d.ncm = r.ncm;
        d.unidade = Apara(r.unidade);
        d.pesoBruto = ValorImplicito(r.pesoBruto, 5);
        d.salarios = ValorImplicito(r.salarios, 2);
        d.encargos = ValorImplicito(r.encargos, 2);
        d.coeficiente =
            Letra(r.tipoCoeficiente, 'F') ? store::Coeficiente::Fixo : store::Coeficiente::Variavel;
        d.retificador = Letra(r.tipoVlme, 'R');
        d.substitutivo = Letra(r.tipoVlme, 'S');
        d.vlmAnterior = Apara(r.vlmAnterior).isEmpty() ? QString() : r.vlmAnterior;
        d.nrProcesso = Apara(r.nrProcesso).isEmpty() ? QString() : r.nrProcesso;
        // The row the statement picker creates, then its general data.
        nrVlm_ = store::CriaVLM(banco_);
        store::GravaVLME(banco_, nrVlm_, d);
        r_.declaracoes.push_back(nrVlm_);
    }
    ++r_.contadores.registros[0];
}

// ---- Type 1 ----

void Execucao::LeRegistroTipo1() {
    if (++modelos_ > 9999)
        abortaQuantidade("ERRO_MODELOS_SQ");
    sadio_ = true;
    valida(CamposTipo1());
    if (!sadio_ || !cabeErro())
        return;
    const RegistroTipo1 r = CortaTipo1(linha_);
    const QString descricao = Apara(r.descricao);
    descricoesModelos_.insert(descricao.toCaseFolded());
    if (grava()) {
        store::DadosModelo d;
        d.descricao = descricao;
        d.precoVenda = ValorImplicito(r.precoVenda, 2);
        d.codigoInterno = Apara(r.codigoInterno);
        lote_->incluiModelo(nrVlm_, d);
    }
    ++r_.contadores.registros[1];
}

// ---- Type 2 ----

void Execucao::LeRegistroTipo2() {
    if (++nacionais_ > 9999)
        abortaQuantidade("ERRO_NACIONAIS_SQ");
    sadio_ = true;
    valida(CamposTipo2());
    if (!sadio_ || !cabeErro())
        return;
    const RegistroTipo2 r = CortaTipo2(linha_);
    Nacional n;
    n.custoUnitario = ValorImplicito(r.valorUnitario, 6);
    if (grava()) {
        const store::DadosNF nf = NotaDoRegistro(r);
        store::DadosNacional d;
        d.descricao = Apara(r.especificacao);
        d.quantidade = ValorImplicito(r.quantidade, 7);
        d.custoUnitario = n.custoUnitario;
        d.unidade = Apara(r.unidade);
        d.ncm = r.ncm;
        d.numeroNoArquivo = r.numeroNacional.toInt();
        n.nrSq = lote_->incluiNacional(nrVlm_, nf, d);
    }
    nacionaisDoArquivo_.insert(r.numeroNacional.toInt(), n);
    ++r_.contadores.registros[2];
}

// ---- Types 3 and 4 ----

void Execucao::LeRegistroImportado() {
    if (++importados_ > 9999)
        abortaQuantidade("ERRO_IMPORTADOS_SQ");
    sadio_ = true;
    valida(CamposImportado());
    if (!sadio_ || !cabeErro())
        return;
    const RegistroImportado r = CortaImportado(linha_);
    const bool subcomponente = r.tipo == QLatin1Char('3');
    const double quantidade = ValorImplicito(r.quantidade, 7);
    const double valorUnitario = ValorImplicito(r.valorUnitario, 6);
    int dono = 0;
    if (subcomponente) {
        Nacional &n = nacionaisDoArquivo_[r.numeroNacional.toInt()];
        n.somaSubcomponentes += quantidade * valorUnitario;
        dono = n.nrSq;
    }
    if (grava()) {
        store::DadosImportado d;
        const QString especificacao = Apara(r.especificacao);
        d.descricao = especificacao.isEmpty() ? QStringLiteral(" ") : especificacao;
        d.quantidade = quantidade;
        d.valorUnitario = valorUnitario;
        d.comSuspensao = !Letra(r.suspensao, 'N');
        d.direto = !Letra(r.tipoDocumento, 'N');
        d.reducaoII = !Letra(r.reducao, 'N');
        d.unidade = Apara(r.unidade);
        d.ncm = r.ncm;
        d.baseCalculo = subcomponente && !Letra(r.baseCalculo, 'N');
        if (*d.direto) {
            store::DadosDI di{r.numeroDI, r.adicaoDI, r.itemDI};
            lote_->incluiImportadoDI(nrVlm_, di, d, dono);
        } else {
            lote_->incluiImportadoNF(nrVlm_, NotaDoRegistro(r), d, dono);
        }
    }
    ++r_.contadores.registros[r.tipo == QLatin1Char('3') ? 3 : 4];
}

// ---- Type 9 ----

void Execucao::LeRegistroTipo9() {
    confereTamanho('9');
    sadio_ = true;
    const RegistroTipo9 r = CortaTipo9(linha_);
    if (!digitos(r.quantidade))
        RegistraErroImportacao(QLatin1Char('9'), QStringLiteral("Quantidade de Registros"),
                               MsgInvalida);
    const qint64 informado = valorInicial(r.quantidade);
    if (informado != numeroLinha_)
        aborta(erroLinha(QStringLiteral(": o somatório do número de registros (")) +
                   QString::number(numeroLinha_) +
                   QStringLiteral(") não confere com o informado no registro tipo 9 (") +
                   QString::number(informado) + QStringLiteral("). ") + Abortada + QLatin1Char(' '),
               false);
}

} // namespace

int Contadores::total() const {
    int t = 0;
    for (int n : registros)
        t += n;
    return t;
}

QString TextoSucesso(const Contadores &c) {
    QString texto = QString(5, QLatin1Char(' ')) +
                    QStringLiteral("Importação Efetuada com Sucesso") +
                    QString(35, QLatin1Char(' ')) + QStringLiteral("\r\n\r\n");
    texto += QStringLiteral("Número Total de Registros Importados: ") + QString::number(c.total()) +
             QStringLiteral("\r\n");
    for (int tipo = 0; tipo < 5; ++tipo)
        texto += QStringLiteral("Número de Registros Tipo %1 Importados: ").arg(tipo) +
                 QString::number(c.registros[tipo]) + QStringLiteral("\r\n");
    return texto;
}

ResultadoImportacao ImportaArquivo(store::Banco &banco, base::Progresso &progresso,
                                   const QString &caminho, bool umaVez) {
    return Execucao(banco, progresso, caminho, umaVez).roda();
}

ResultadoImportacao ImportaDeclaracao(store::Banco &banco, base::InterfaceUsuario &usuario,
                                      base::Progresso &progresso, const QString &caminho,
                                      const std::function<void()> &bipe) {
    ResultadoImportacao r = ImportaArquivo(banco, progresso, caminho);
    switch (r.desfecho) {
    case Desfecho::Sucesso:
        usuario.mensagem(TituloImportacao,
                         (r.aviso.isEmpty() ? QString() : r.aviso + QStringLiteral("\r\n\r\n")) +
                             TextoSucesso(r.contadores),
                         base::Icone::Informacao, base::Botoes::Ok);
        break;
    case Desfecho::ErrosCampo:
        usuario.mensagem(TituloImportacao, TextoErrosDetectados, base::Icone::Exclamacao,
                         base::Botoes::Ok);
        break;
    case Desfecho::Abortada:
    case Desfecho::Falha:
    case Desfecho::JaImportado:
        if (r.bipe && bipe)
            bipe();
        usuario.mensagem(TituloImportacao, r.mensagem, r.icone, base::Botoes::Ok);
        break;
    case Desfecho::Cancelada:
        break;
    }
    return r;
}

} // namespace vlme::importacao
