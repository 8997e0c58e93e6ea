#include "import/Importacao.h"

#include "checking/Erros.h"
#include "entry/Codigos.h"
#include "entry/Numeros.h"
#include "import/Registros.h"
#include "shell/Progresso.h"
#include "store/Banco.h"
#include "store/Gravar.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace vlme::importacao {

namespace {

// ---- Messages of the field checks ----

const QString Obrigatorio = QStringLiteral("Preenchimento Obrigatório.");
const QString ObrigatorioSemPonto = QStringLiteral("Preenchimento Obrigatório");
const QString ObrigatorioMinusculo = QStringLiteral("Preenchimento obrigatório.");
const QString Invalido = QStringLiteral("Inválido.");
const QString InvalidoSemPonto = QStringLiteral("Inválido");
const QString Invalida = QStringLiteral("Inválida.");
const QString MaiorQueZero = QStringLiteral("Deve ser maior que zero.");
const QString NaoInformado = QStringLiteral("Não deve ser informado.");
const QString NaoInformada = QStringLiteral("Não deve ser informada.");
const QString ModeloCadastrado = QStringLiteral("Modelo já Cadastrado.");
const QString DeveSerUnico = QStringLiteral("Deve ser único.");
const QString NaoCadastrado = QStringLiteral("Deve estar previamente cadastrado");
const QString MenorQue80 = QStringLiteral("Deve ser menor que 80.");
const QString CustoSubcomponentes =
    QStringLiteral("Custo dos Subcomponentes deve ser menor que do Comp. Nacional.");
// Ours: texts that cannot be stored as they came.
const QString TextoUtf8 =
    QStringLiteral("Texto em UTF-8: o arquivo deve estar em Latin-1 (ISO-8859-1).");
const QString TextoControle = QStringLiteral("Contém caracteres de controle ou binários.");

const QString Abortada = QStringLiteral("Importação abortada.");

// ---- Field predicates ----

bool digitos(const QString &v) {
    return entry::SoNumeros(v);
}

// The field is a run of "0" of its full width.
bool zeros(const QString &v) {
    if (v.isEmpty())
        return false;
    for (QChar c : v)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

// Blanks are spaces, as the files pad with them.
QString apara(const QString &v) {
    qsizetype fim = v.size();
    while (fim > 0 && v.at(fim - 1) == QLatin1Char(' '))
        --fim;
    qsizetype inicio = 0;
    while (inicio < fim && v.at(inicio) == QLatin1Char(' '))
        ++inicio;
    return v.mid(inicio, fim - inicio);
}

bool branco(const QString &v) {
    return apara(v).isEmpty();
}

bool simOuNao(const QString &v) {
    return v.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 ||
           v.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0;
}

bool letra(const QString &v, char c) {
    return v.size() == 1 && v.at(0).toUpper() == QLatin1Char(c);
}

// Read as Latin-1, a UTF-8 sequence shows as a lead byte followed by its
// continuation bytes (0x80-0xBF). Portuguese written in Latin-1 does not put
// "Ã", "â", "ð"... before C1 controls or symbols like "§" and "º", so such a
// run means the text was written in UTF-8.
bool pareceUtf8(const QString &v) {
    const qsizetype n = v.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = v.at(i).unicode();
        int seguem = 0;
        if (c >= 0xC2 && c <= 0xDF)
            seguem = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            seguem = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            seguem = 3;
        if (seguem == 0 || i + seguem >= n)
            continue;
        bool completa = true;
        for (int k = 1; k <= seguem; ++k) {
            const char16_t d = v.at(i + k).unicode();
            completa = completa && d >= 0x80 && d <= 0xBF;
        }
        if (completa)
            return true;
    }
    return false;
}

bool temControle(const QString &v) {
    for (QChar ch : v) {
        const char16_t c = ch.unicode();
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return true;
    }
    return false;
}

// The last case of every text field that is stored.
QString confereTexto(const QString &v) {
    if (pareceUtf8(v))
        return TextoUtf8;
    if (temControle(v))
        return TextoControle;
    return {};
}

// A field of the other document kind: zeros pass, blanks are invalid,
// anything else should not be there.
QString doOutroDocumento(const QString &v, const QString &naoInformar) {
    if (zeros(v))
        return {};
    if (branco(v))
        return Invalido;
    return naoInformar;
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
struct Falha {
    QString mensagem;
    shell::Icone icone = shell::Icone::Critico;
};

QString FalhaGeral(const QString &numero, const QString &descricao) {
    return QStringLiteral("Ocorreu um erro, contacte o suporte técnico. ") + numero +
           QStringLiteral(" - ") + descricao;
}

// ---- Reading lines of bounded length ----

class LeitorLinhas {
  public:
    enum class Situacao { Linha, Fim, Longa };

    explicit LeitorLinhas(const QString &caminho) : arquivo_(caminho) {}

    void abre() {
        arquivo_.close();
        const QFileInfo info(arquivo_.fileName());
        if (!info.exists() || info.isDir())
            throw Falha{QStringLiteral("Caminho inválido (") + arquivo_.fileName() +
                            QLatin1Char(')'),
                        shell::Icone::Exclamacao};
        if (!arquivo_.open(QIODevice::ReadOnly)) {
            if (arquivo_.error() == QFileDevice::PermissionsError || !info.isReadable())
                throw Falha{QStringLiteral("O disco está protegido contra gravação."),
                            shell::Icone::Exclamacao};
            throw Falha{FalhaGeral(QString::number(arquivo_.error()), arquivo_.errorString())};
        }
    }

    bool fim() const { return arquivo_.atEnd(); }

    // One line without its CR LF or LF, one byte one character. A line
    // longer than LimiteLinha is not kept: only its first bytes are read.
    Situacao le(QString &linha) {
        if (arquivo_.atEnd())
            return Situacao::Fim;
        QByteArray b = arquivo_.readLine(LimiteLinha + 3);
        if (b.isEmpty() && arquivo_.error() != QFileDevice::NoError)
            throw Falha{FalhaGeral(QString::number(arquivo_.error()), arquivo_.errorString())};
        if (b.endsWith('\n')) {
            b.chop(1);
            if (b.endsWith('\r'))
                b.chop(1);
        } else if (!arquivo_.atEnd()) {
            return Situacao::Longa;
        } else if (b.endsWith('\r')) {
            b.chop(1);
        }
        if (b.size() > LimiteLinha)
            return Situacao::Longa;
        linha = QString::fromLatin1(b);
        return Situacao::Linha;
    }

  private:
    QFile arquivo_;
};

QString MensagemLinhaLonga(int linha) {
    return QStringLiteral("Erro linha %1: a linha tem mais de %2 caracteres. O arquivo não está"
                          " no formato de importação do VLM-E. ")
               .arg(linha)
               .arg(LimiteLinha) +
           Abortada;
}

// ---- One run ----

class Execucao {
  public:
    Execucao(store::Banco &banco, shell::Progresso &progresso, const QString &caminho)
        : banco_(banco), progresso_(progresso), leitor_(caminho) {
        r_.arquivo = caminho;
    }

    ResultadoImportacao roda();

  private:
    struct Nacional {
        int nrSq = 0;
        double custoUnitario = 0.0;
        double somaSubcomponentes = 0.0;
    };

    int contaLinhas();
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
    void ValidaRegistroTipo0(const RegistroTipo0 &r);
    void ValidaRegistroTipo1(const RegistroTipo1 &r);
    void ValidaRegistroTipo2(const RegistroTipo2 &r);
    void ValidaRegistroImportado(const RegistroImportado &r);

    // Records the field's message when there is one; answers whether the
    // record's checks go on.
    bool campo(QChar tipo, const QString &rotulo, const QString &mensagem);
    void RegistraErroImportacao(QChar tipo, const QString &rotulo, const QString &mensagem);
    bool cabeErro() const { return r_.erros.size() < std::size_t(LimiteErros); }
    // Rows are written only while the file is still clean: once a field has
    // failed the run ends in a rollback, so writing more would be wasted.
    bool grava() const { return r_.erros.empty(); }

    store::Banco &banco_;
    shell::Progresso &progresso_;
    LeitorLinhas leitor_;
    ResultadoImportacao r_;

    QString linha_;
    int numeroLinha_ = 0;
    int totalLinhas_ = 0;
    bool sadio_ = true;

    // The statement being read.
    int nrVlm_ = -1;
    bool viuTipo3_ = false;
    int modelos_ = 0, nacionais_ = 0, importados_ = 0;
    QSet<QString> descricoesModelos_;         // case-folded, as the database compares them
    QHash<int, Nacional> nacionaisDoArquivo_; // by the file's own number
};

int Execucao::contaLinhas() {
    leitor_.abre();
    int n = 0;
    QString linha;
    for (;;) {
        const auto s = leitor_.le(linha);
        if (s == LeitorLinhas::Situacao::Fim)
            break;
        ++n;
        if (s == LeitorLinhas::Situacao::Longa)
            throw Abortagem{MensagemLinhaLonga(n)};
        if (n > LimiteLinhas)
            throw Abortagem{QStringLiteral("Erro linha %1: o arquivo tem mais de %2 linhas. ")
                                .arg(n)
                                .arg(LimiteLinhas) +
                            Abortada};
        if (n == 1 && linha.startsWith(QStringLiteral("\u00EF\u00BB\u00BF")))
            throw Abortagem{QStringLiteral("Erro linha 1: o arquivo está codificado em UTF-8; o"
                                           " arquivo de importação deve estar em Latin-1"
                                           " (ISO-8859-1). ") +
                            Abortada};
    }
    return n;
}

void Execucao::leLinha() {
    const auto s = leitor_.le(linha_);
    if (s == LeitorLinhas::Situacao::Fim)
        throw Falha{FalhaGeral(QStringLiteral("62"),
                               QStringLiteral("Fim de arquivo inesperado: o arquivo está vazio"
                                              " ou incompleto."))};
    ++numeroLinha_;
    if (s == LeitorLinhas::Situacao::Longa) // the file grew since it was counted
        throw Abortagem{MensagemLinhaLonga(numeroLinha_)};
    r_.contadores.linhas = numeroLinha_;
    progresso_.valor(numeroLinha_);
    if (!comeca('9'))
        progresso_.passo(
            QStringLiteral("Importando %1 de %2").arg(numeroLinha_).arg(totalLinhas_ - 1));
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
    aborta(erroLinha(QStringLiteral(": ")) + checking::Catalogo().Descricao(QLatin1String(chave)) +
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
    if (linha_.size() != exigido)
        aborta(erroLinha(QStringLiteral(": o tamanho do registro tipo ")) + QLatin1Char(tipo) +
                   QStringLiteral(" deve ser de ") + QString::number(exigido) +
                   QStringLiteral(" caracteres. Tamanho lido = ") + QString::number(linha_.size()) +
                   QStringLiteral(". ") + Abortada + QLatin1Char(' '),
               tipo == '0' || tipo == '9');
}

ResultadoImportacao Execucao::roda() {
    bool progressoAberto = false;
    try {
        store::Transacao transacao(banco_);
        totalLinhas_ = contaLinhas();
        leitor_.abre();

        progresso_.abre();
        progressoAberto = true;
        progresso_.faixa(0, totalLinhas_);
        progresso_.valor(0);
        progresso_.permiteCancelar(true);
        if (progresso_.cancelado())
            throw Cancelamento{};

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
            transacao.confirma();
            r_.desfecho = Desfecho::Sucesso;
        } else {
            r_.desfecho = Desfecho::ErrosCampo;
        }
    } catch (const Abortagem &a) {
        r_.desfecho = Desfecho::Abortada;
        r_.mensagem = a.mensagem;
        r_.bipe = a.bipe;
        r_.icone = shell::Icone::Critico;
    } catch (const Cancelamento &) {
        r_.desfecho = Desfecho::Cancelada;
    } catch (const Falha &f) {
        r_.desfecho = Desfecho::Falha;
        r_.mensagem = f.mensagem;
        r_.icone = f.icone;
    } catch (const store::ErroBanco &e) {
        r_.desfecho = Desfecho::Falha;
        r_.mensagem = FalhaGeral(
            e.codigoNativo().isEmpty() ? QStringLiteral("0") : e.codigoNativo(),
            e.detalhe().isEmpty() ? e.mensagem()
                                  : e.mensagem() + QStringLiteral(" (") + e.detalhe() + ')');
        r_.icone = shell::Icone::Critico;
    }
    if (progressoAberto)
        progresso_.fecha();
    if (r_.desfecho != Desfecho::Sucesso)
        r_.declaracoes.clear();
    return std::move(r_);
}

// A second file pasted after the totals record would be silently dropped.
void Execucao::confereResto() {
    QString linha;
    int n = numeroLinha_;
    while (!leitor_.fim()) {
        const auto s = leitor_.le(linha);
        ++n;
        if (s == LeitorLinhas::Situacao::Longa || !linha.trimmed().isEmpty())
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

// ---- Type 0 ----

void Execucao::ValidaRegistroTipo0(const RegistroTipo0 &r) {
    const QChar t = QLatin1Char('0');
    QString m;

    m = zeros(r.cnpj)                                      ? Obrigatorio
        : (!digitos(r.cnpj) || !entry::ValidaCNPJ(r.cnpj)) ? Invalido
                                                           : QString();
    if (!campo(t, QStringLiteral("CNPJ do Estabelecimento"), m))
        return;

    m = zeros(r.cpf)                                    ? ObrigatorioSemPonto
        : (!digitos(r.cpf) || !entry::ValidaCPF(r.cpf)) ? InvalidoSemPonto
                                                        : QString();
    if (!campo(t, QStringLiteral("CPF Representante Legal"), m))
        return;

    const QString ppb = apara(r.ppb);
    m = ppb.isEmpty() ? Obrigatorio : ppb.size() < 5 ? Invalido : confereTexto(ppb);
    if (!campo(t, QStringLiteral("Processo Produtivo Básico"), m))
        return;

    const QString den = apara(r.denProduto);
    m = den.isEmpty() ? Obrigatorio : den.size() < 3 ? Invalida : confereTexto(den);
    if (!campo(t, QStringLiteral("Denominação do Produto"), m))
        return;

    m = (!digitos(r.ncm) || r.ncm.size() != 8) ? Invalida : zeros(r.ncm) ? Obrigatorio : QString();
    if (!campo(t, QStringLiteral("NCM da Mercadoria"), m))
        return;

    const QString unidade = apara(r.unidade);
    m = unidade.isEmpty() ? Obrigatorio : confereTexto(unidade);
    if (!campo(t, QStringLiteral("Unidade de Comercialização"), m))
        return;

    m = !digitos(r.pesoBruto) ? Invalido : zeros(r.pesoBruto) ? Obrigatorio : QString();
    if (!campo(t, QStringLiteral("Peso Bruto"), m))
        return;

    // A variable coefficient is computed from wages and charges.
    const bool variavel = letra(r.tipoCoeficiente, 'V');
    const auto salario = [&](const QString &v) {
        return !digitos(v) ? Invalido : (variavel && zeros(v)) ? MaiorQueZero : QString();
    };
    if (!campo(t, QStringLiteral("Salários e Ordenados"), salario(r.salarios)))
        return;
    if (!campo(t, QStringLiteral("Encargos Sociais e Trabalhistas"), salario(r.encargos)))
        return;

    m = (letra(r.tipoCoeficiente, 'F') || variavel) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Tipo do Coeficiente de Redução"), m))
        return;

    const bool normal = letra(r.tipoVlme, 'N');
    const bool retificador = letra(r.tipoVlme, 'R');
    const bool substitutivo = letra(r.tipoVlme, 'S');
    m = (normal || retificador || substitutivo) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Tipo do VLME"), m))
        return;

    const bool semAnterior = branco(r.vlmAnterior);
    m = (!semAnterior && !digitos(r.vlmAnterior))        ? Invalido
        : ((retificador || substitutivo) && semAnterior) ? ObrigatorioMinusculo
        : (normal && !semAnterior)                       ? NaoInformado
                                                         : QString();
    if (!campo(t, QStringLiteral("Número do VLME anterior"), m))
        return;

    const bool semProcesso = branco(r.nrProcesso);
    m = (!semProcesso && !digitos(r.nrProcesso)) ? Invalido
        : (!retificador && !semProcesso)         ? NaoInformado
                                                 : QString();
    campo(t, QStringLiteral("Número do processo"), m);
}

void Execucao::LeRegistroTipo0() {
    // A new statement starts: what the checks compare with is its own.
    nrVlm_ = -1;
    viuTipo3_ = false;
    modelos_ = nacionais_ = importados_ = 0;
    descricoesModelos_.clear();
    nacionaisDoArquivo_.clear();

    sadio_ = true;
    const RegistroTipo0 r = CortaTipo0(linha_);
    ValidaRegistroTipo0(r);
    if (!sadio_ || !cabeErro())
        return;
    if (grava()) {
        store::DadosGerais d;
        d.cnpj = r.cnpj;
        d.cpf = r.cpf;
        d.ppb = apara(r.ppb);
        d.denProduto = apara(r.denProduto);
        d.ncm = r.ncm;
        d.unidade = apara(r.unidade);
        d.pesoBruto = ValorImplicito(r.pesoBruto, 5);
        d.salarios = ValorImplicito(r.salarios, 2);
        d.encargos = ValorImplicito(r.encargos, 2);
        d.coeficiente =
            letra(r.tipoCoeficiente, 'F') ? store::Coeficiente::Fixo : store::Coeficiente::Variavel;
        d.retificador = letra(r.tipoVlme, 'R');
        d.substitutivo = letra(r.tipoVlme, 'S');
        d.vlmAnterior = branco(r.vlmAnterior) ? QString() : r.vlmAnterior;
        d.nrProcesso = branco(r.nrProcesso) ? QString() : r.nrProcesso;
        // The row the statement picker creates, then its general data.
        nrVlm_ = store::CriaVLM(banco_);
        store::GravaVLME(banco_, nrVlm_, d);
        r_.declaracoes.push_back(nrVlm_);
    }
    ++r_.contadores.registros[0];
}

// ---- Type 1 ----

void Execucao::ValidaRegistroTipo1(const RegistroTipo1 &r) {
    const QChar t = QLatin1Char('1');
    const QString descricao = apara(r.descricao);
    QString m = descricao.isEmpty()                                     ? Obrigatorio
                : descricoesModelos_.contains(descricao.toCaseFolded()) ? ModeloCadastrado
                                                                        : confereTexto(descricao);
    if (!campo(t, QStringLiteral("Descrição"), m))
        return;

    m = !digitos(r.precoVenda) ? Invalido : zeros(r.precoVenda) ? MaiorQueZero : QString();
    if (!campo(t, QStringLiteral("Preço de Venda"), m))
        return;

    const QString codigo = apara(r.codigoInterno);
    m = codigo.isEmpty() ? Obrigatorio : confereTexto(codigo);
    campo(t, QStringLiteral("Código Interno"), m);
}

void Execucao::LeRegistroTipo1() {
    if (++modelos_ > 9999)
        abortaQuantidade("ERRO_MODELOS_SQ");
    sadio_ = true;
    const RegistroTipo1 r = CortaTipo1(linha_);
    ValidaRegistroTipo1(r);
    if (!sadio_ || !cabeErro())
        return;
    const QString descricao = apara(r.descricao);
    descricoesModelos_.insert(descricao.toCaseFolded());
    if (grava()) {
        store::DadosModelo d;
        d.descricao = descricao;
        d.precoVenda = ValorImplicito(r.precoVenda, 2);
        d.codigoInterno = apara(r.codigoInterno);
        store::IncluiModelo(banco_, nrVlm_, d);
    }
    ++r_.contadores.registros[1];
}

// ---- Type 2 ----

void Execucao::ValidaRegistroTipo2(const RegistroTipo2 &r) {
    const QChar t = QLatin1Char('2');
    QString m;

    m = !digitos(r.numeroNacional)                               ? Invalido
        : zeros(r.numeroNacional)                                ? Obrigatorio
        : nacionaisDoArquivo_.contains(r.numeroNacional.toInt()) ? DeveSerUnico
                                                                 : QString();
    if (!campo(t, QStringLiteral("Número do Comp. Nacional"), m))
        return;

    m = !digitos(r.numeroNF) ? Invalido : zeros(r.numeroNF) ? Obrigatorio : QString();
    if (!campo(t, QStringLiteral("Número da NF"), m))
        return;

    const QString serie = apara(r.serieNF);
    m = serie.isEmpty() ? Obrigatorio : confereTexto(serie);
    if (!campo(t, QStringLiteral("Série da NF"), m))
        return;

    m = zeros(r.cnpjFornecedor)                                                ? Obrigatorio
        : (!digitos(r.cnpjFornecedor) || !entry::ValidaCNPJ(r.cnpjFornecedor)) ? Invalido
                                                                               : QString();
    if (!campo(t, QStringLiteral("CNPJ do Fornecedor"), m))
        return;

    m = entry::CaracteresValidos(apara(r.inscricaoEstadual)) ? QString() : Invalida;
    if (!campo(t, QStringLiteral("Inscrição Estadual"), m))
        return;

    m = !digitos(r.dataEmissao)                ? Invalida
        : zeros(r.dataEmissao)                 ? Obrigatorio
        : !entry::ValidaDataAMD(r.dataEmissao) ? Invalida
                                               : QString();
    if (!campo(t, QStringLiteral("Data de Emissão"), m))
        return;

    const QString especificacao = apara(r.especificacao);
    m = especificacao.isEmpty() ? Obrigatorio : confereTexto(especificacao);
    if (!campo(t, QStringLiteral("Especificação"), m))
        return;

    const QString unidade = apara(r.unidade);
    m = unidade.isEmpty() ? Obrigatorio : confereTexto(unidade);
    if (!campo(t, QStringLiteral("Unidade Comercial"), m))
        return;

    m = (!digitos(r.ncm) || r.ncm.size() != 8) ? Invalida : zeros(r.ncm) ? Obrigatorio : QString();
    if (!campo(t, QStringLiteral("NCM da Mercadoria"), m))
        return;

    m = !digitos(r.quantidade) ? Invalida : zeros(r.quantidade) ? MaiorQueZero : QString();
    if (!campo(t, QStringLiteral("Quantidade"), m))
        return;

    m = !digitos(r.valorUnitario) ? Invalido : zeros(r.valorUnitario) ? MaiorQueZero : QString();
    campo(t, QStringLiteral("Valor Unitário"), m);
}

void Execucao::LeRegistroTipo2() {
    if (++nacionais_ > 9999)
        abortaQuantidade("ERRO_NACIONAIS_SQ");
    sadio_ = true;
    const RegistroTipo2 r = CortaTipo2(linha_);
    ValidaRegistroTipo2(r);
    if (!sadio_ || !cabeErro())
        return;
    Nacional n;
    n.custoUnitario = ValorImplicito(r.valorUnitario, 6);
    if (grava()) {
        store::DadosNF nf;
        nf.numero = r.numeroNF;
        nf.serie = apara(r.serieNF);
        nf.cnpj = r.cnpjFornecedor;
        nf.dataEmissao = ConverteDataImportacao(r.dataEmissao);
        nf.inscricaoEstadual = apara(r.inscricaoEstadual);
        store::DadosNacional d;
        d.descricao = apara(r.especificacao);
        d.quantidade = ValorImplicito(r.quantidade, 7);
        d.custoUnitario = n.custoUnitario;
        d.unidade = apara(r.unidade);
        d.ncm = r.ncm;
        d.numeroNoArquivo = r.numeroNacional.toInt();
        n.nrSq = store::IncluiNacional(banco_, nrVlm_, nf, d);
    }
    nacionaisDoArquivo_.insert(r.numeroNacional.toInt(), n);
    ++r_.contadores.registros[2];
}

// ---- Types 3 and 4 ----

void Execucao::ValidaRegistroImportado(const RegistroImportado &r) {
    const QChar t = r.tipo;
    const bool subcomponente = t == QLatin1Char('3');
    const bool di = letra(r.tipoDocumento, 'S');
    const bool nf = letra(r.tipoDocumento, 'N');
    QString m;

    bool nacionalValido = false;
    if (subcomponente) {
        m = !digitos(r.numeroNacional)                                ? Invalido
            : zeros(r.numeroNacional)                                 ? Obrigatorio
            : !nacionaisDoArquivo_.contains(r.numeroNacional.toInt()) ? NaoCadastrado
                                                                      : QString();
        nacionalValido = m.isEmpty();
        if (!campo(t, QStringLiteral("Número do Comp. Nacional"), m))
            return;
        m = simOuNao(r.baseCalculo) ? QString() : Invalido;
        if (!campo(t, QStringLiteral("Indicador da base de cálculo"), m))
            return;
    }

    m = simOuNao(r.tipoDocumento) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Tipo de Documento Fiscal"), m))
        return;

    m = simOuNao(r.suspensao) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Indicador Suspensão de impostos"), m))
        return;

    // Fields of the DI: required with a DI, zeros with an invoice.
    if (di)
        m = !digitos(r.numeroDI)                                   ? Invalido
            : (!zeros(r.numeroDI) && !entry::ValidaDI(r.numeroDI)) ? Invalido
            : zeros(r.numeroDI)                                    ? Obrigatorio
                                                                   : QString();
    else if (nf)
        m = doOutroDocumento(r.numeroDI, NaoInformado);
    else
        m = digitos(r.numeroDI) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Número da DI"), m))
        return;

    QString rotulo = QStringLiteral("Número da Adição da DI");
    if (di) {
        m = !digitos(r.adicaoDI) ? Invalido : zeros(r.adicaoDI) ? Obrigatorio : QString();
        if (m == Obrigatorio)
            rotulo = QStringLiteral("Número da Adicão da DI");
    } else if (nf) {
        m = doOutroDocumento(r.adicaoDI, NaoInformado);
    } else {
        m = digitos(r.adicaoDI) ? QString() : Invalido;
    }
    if (!campo(t, rotulo, m))
        return;

    if (di)
        m = !digitos(r.itemDI)      ? Invalido
            : zeros(r.itemDI)       ? Obrigatorio
            : r.itemDI.toInt() > 80 ? MenorQue80
                                    : QString();
    else if (nf)
        m = doOutroDocumento(r.itemDI, NaoInformado);
    else
        m = digitos(r.itemDI) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Número do Item da Adição"), m))
        return;

    // Fields of the invoice: required with an invoice, zeros or blanks with a DI.
    if (nf)
        m = !digitos(r.numeroNF) ? Invalido : zeros(r.numeroNF) ? Obrigatorio : QString();
    else if (di)
        m = doOutroDocumento(r.numeroNF, NaoInformado);
    else
        m = digitos(r.numeroNF) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("Número da NF"), m))
        return;

    const QString serie = apara(r.serieNF);
    m = (nf && serie.isEmpty())    ? Obrigatorio
        : (di && !serie.isEmpty()) ? NaoInformado
                                   : confereTexto(serie);
    if (!campo(t, QStringLiteral("Série da NF"), m))
        return;

    if (nf)
        m = zeros(r.cnpjFornecedor)                                                ? Obrigatorio
            : (!digitos(r.cnpjFornecedor) || !entry::ValidaCNPJ(r.cnpjFornecedor)) ? Invalido
                                                                                   : QString();
    else if (di)
        m = (zeros(r.cnpjFornecedor) || branco(r.cnpjFornecedor)) ? QString() : NaoInformado;
    else
        m = digitos(r.cnpjFornecedor) ? QString() : Invalido;
    if (!campo(t, QStringLiteral("CNPJ do Fornecedor"), m))
        return;

    const QString inscricao = apara(r.inscricaoEstadual);
    m = (nf && !entry::CaracteresValidos(inscricao)) ? Invalida
        : (di && !inscricao.isEmpty())               ? NaoInformada
                                                     : QString();
    if (!campo(t, QStringLiteral("Inscrição Estadual"), m))
        return;

    if (nf)
        m = !digitos(r.dataEmissao)                ? Invalida
            : zeros(r.dataEmissao)                 ? Obrigatorio
            : !entry::ValidaDataAMD(r.dataEmissao) ? Invalida
                                                   : QString();
    else if (di)
        m = zeros(r.dataEmissao) ? QString() : branco(r.dataEmissao) ? Invalida : NaoInformada;
    else
        m = (!zeros(r.dataEmissao) && !entry::ValidaDataAMD(r.dataEmissao)) ? Invalida : QString();
    if (!campo(t, QStringLiteral("Data de Emissão da NF"), m))
        return;

    const QString especificacao = apara(r.especificacao);
    m = (nf && especificacao.isEmpty()) ? Obrigatorio : confereTexto(especificacao);
    if (!campo(t, QStringLiteral("Especificação"), m))
        return;

    const QString unidade = apara(r.unidade);
    m = (nf && unidade.isEmpty())    ? Obrigatorio
        : (di && !unidade.isEmpty()) ? NaoInformada
                                     : confereTexto(unidade);
    if (!campo(t, QStringLiteral("Unidade Comercial"), m))
        return;

    if (di)
        m = zeros(r.ncm) ? QString() : branco(r.ncm) ? Invalida : NaoInformada;
    else if (nf)
        m = (!digitos(r.ncm) || r.ncm.size() != 8) ? Invalida
            : zeros(r.ncm)                         ? Obrigatorio
                                                   : QString();
    else
        m = (!digitos(r.ncm) || r.ncm.size() != 8) ? Invalida : QString();
    if (!campo(t, QStringLiteral("NCM do Componente"), m))
        return;

    m = !digitos(r.quantidade) ? Invalida : zeros(r.quantidade) ? MaiorQueZero : QString();
    if (!campo(t, QStringLiteral("Quantidade"), m))
        return;

    m = !simOuNao(r.reducao) ? Invalido : (nf && !letra(r.reducao, 'N')) ? Invalido : QString();
    if (!campo(t, QStringLiteral("Indicador do coeficiente de redução"), m))
        return;

    m = !digitos(r.valorUnitario) ? Invalido : zeros(r.valorUnitario) ? MaiorQueZero : QString();
    if (m.isEmpty() && subcomponente && nacionalValido && digitos(r.quantidade)) {
        const Nacional &n = nacionaisDoArquivo_[r.numeroNacional.toInt()];
        const double soma = n.somaSubcomponentes +
                            ValorImplicito(r.quantidade, 7) * ValorImplicito(r.valorUnitario, 6);
        if (soma > n.custoUnitario)
            m = CustoSubcomponentes;
    }
    campo(t, QStringLiteral("Valor Unitário"), m);
}

void Execucao::LeRegistroImportado() {
    if (++importados_ > 9999)
        abortaQuantidade("ERRO_IMPORTADOS_SQ");
    sadio_ = true;
    const RegistroImportado r = CortaImportado(linha_);
    ValidaRegistroImportado(r);
    if (!sadio_ || !cabeErro())
        return;
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
        const QString especificacao = apara(r.especificacao);
        d.descricao = especificacao.isEmpty() ? QStringLiteral(" ") : especificacao;
        d.quantidade = quantidade;
        d.valorUnitario = valorUnitario;
        d.comSuspensao = !letra(r.suspensao, 'N');
        d.direto = !letra(r.tipoDocumento, 'N');
        d.reducaoII = !letra(r.reducao, 'N');
        d.unidade = apara(r.unidade);
        d.ncm = r.ncm;
        d.baseCalculo = subcomponente && !letra(r.baseCalculo, 'N');
        if (*d.direto) {
            store::DadosDI di{r.numeroDI, r.adicaoDI, r.itemDI};
            store::IncluiImportadoDI(banco_, nrVlm_, di, d, dono);
        } else {
            store::DadosNF nf;
            nf.numero = r.numeroNF;
            nf.serie = apara(r.serieNF);
            nf.cnpj = r.cnpjFornecedor;
            nf.dataEmissao = ConverteDataImportacao(r.dataEmissao);
            nf.inscricaoEstadual = apara(r.inscricaoEstadual);
            store::IncluiImportadoNF(banco_, nrVlm_, nf, d, dono);
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
                               Invalida);
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

ResultadoImportacao ImportaArquivo(store::Banco &banco, shell::Progresso &progresso,
                                   const QString &caminho) {
    return Execucao(banco, progresso, caminho).roda();
}

ResultadoImportacao ImportaDeclaracao(store::Banco &banco, shell::InterfaceUsuario &usuario,
                                      shell::Progresso &progresso, const QString &caminho,
                                      const std::function<void()> &bipe) {
    ResultadoImportacao r = ImportaArquivo(banco, progresso, caminho);
    switch (r.desfecho) {
    case Desfecho::Sucesso:
        usuario.mensagem(TituloImportacao, TextoSucesso(r.contadores), shell::Icone::Informacao,
                         shell::Botoes::Ok);
        break;
    case Desfecho::ErrosCampo:
        usuario.mensagem(TituloImportacao, TextoErrosDetectados, shell::Icone::Exclamacao,
                         shell::Botoes::Ok);
        break;
    case Desfecho::Abortada:
    case Desfecho::Falha:
        if (r.bipe && bipe)
            bipe();
        usuario.mensagem(TituloImportacao, r.mensagem, r.icone, shell::Botoes::Ok);
        break;
    case Desfecho::Cancelada:
        break;
    }
    return r;
}

} // namespace vlme::importacao
