#include "store/GravarLote.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/GravarComum.h"

#include <sqlite3.h>

#include <array>
#include <span>

namespace vlme::store {

namespace {

// Every column the including operations may write, per table; a row's set of
// columns is a mask over these.
struct Tabela {
    const char *nome;
    std::span<const char *const> colunas;
};

const char *const ColunasNF[] = {"NR_NF", "SERIE_NF", "CNPJ_NF", "DATA_EMISSAO_NF",
                                 "NR_INS_ESTADUAL_NF"};
const char *const ColunasDI[] = {"NR_DI_DI", "NR_ADICAO_DI", "NR_ITEM_DI"};
const char *const ColunasModelo[] = {"NR_VLM_MODELOS", "NR_SQ_MODELOS", "TX_DESCRICAO_MODELOS",
                                     "PRECO_VENDA_MODELOS", "COD_INTERNO_MODELOS"};
const char *const ColunasNacional[] = {
    "NR_VLM_NACIONAL",  "NR_SQ_NACIONAL", "TX_DESCRICAO_NACIONAL", "VL_CUSTO_UNITARIO_NACIONAL",
    "UNIDADE_NACIONAL", "NCM_NACIONAL",   "QTD_NACIONAL",          "NR_SEQ_NF_NACIONAL",
    "NR_SQ_IMPORTACAO"};
const char *const ColunasImportado[] = {"NR_VLM_IMPORTADO",         "NR_SQ_IMPORTADO",
                                        "TX_DESCRICAO_IMPORTADO",   "QTD_IMPORTADO",
                                        "VALOR_UNITARIO_IMPORTADO", "ALIQUOTA_IMPORTADO",
                                        "VALOR_II_IMPORTADO",       "NR_SEQ_DI_IMPORTADO",
                                        "NR_SEQ_NF_IMPORTADO",      "IN_COM_SUSP_IMPORTADO",
                                        "IN_DIRETO_IMPORTADO",      "IN_REDUCAO_II_IMPORTADO",
                                        "UNIDADE_IMPORTADO",        "NCM_IMPORTADO"};
const char *const ColunasSubcomp[] = {"N_VLM_SUBCOMP", "N_NACIONAL_SUBCOMP", "N_IMPORTADO_SUBCOMP",
                                      "IN_BASE_CALCULO_SUBCOMP"};

enum { NF, DI, Modelos, Nacionais, Importados, Subcomp };
const Tabela Tabelas[] = {
    {"NF", ColunasNF},
    {"DI", ColunasDI},
    {"MODELOS", ColunasModelo},
    {"COMPONENTES_NACIONAIS", ColunasNacional},
    {"COMPONENTES_IMPORTADOS", ColunasImportado},
    {"SUBCOMP", ColunasSubcomp},
};

QByteArray TextoInsere(const Tabela &t, quint32 mascara) {
    QByteArray sql = QByteArray("INSERT INTO ") + t.nome;
    if (mascara == 0)
        return sql + " DEFAULT VALUES";
    QByteArray nomes, marcas;
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
        if (!(mascara & (1u << i)))
            continue;
        if (!nomes.isEmpty()) {
            nomes += ", ";
            marcas += ", ";
        }
        nomes += t.colunas[i];
        marcas += '?';
    }
    return sql + " (" + nomes + ") VALUES (" + marcas + ')';
}

} // namespace

class GravacaoEmLote::Linha {
  public:
    void poe(int coluna, int valor) { poe(coluna, Valor{Tipo::Inteiro, valor, 0.0, {}}); }
    void poe(int coluna, double valor) { poe(coluna, Valor{Tipo::Real, 0, valor, {}}); }
    // As gravar::Colunas writes them: texts and numbers only when not empty,
    // options only when one of the pair is chosen.
    void seNaoVazio(int coluna, const QString &texto) {
        if (!texto.isEmpty())
            poe(coluna, Valor{Tipo::Texto, 0, 0.0, texto});
    }
    void seNaoVazio(int coluna, const std::optional<double> &numero) {
        if (numero)
            poe(coluna, *numero);
    }
    void seMarcado(int coluna, const std::optional<bool> &opcao) {
        if (opcao)
            poe(coluna, *opcao ? 1 : 0);
    }

    quint32 mascara() const { return mascara_; }
    // Binds the values in column order, as numbered in TextoInsere.
    void vincula(sqlite3_stmt *comando) const {
        int n = 0;
        for (std::size_t i = 0; i < valores_.size(); ++i) {
            if (!(mascara_ & (1u << i)))
                continue;
            const Valor &v = valores_[i];
            ++n;
            switch (v.tipo) {
            case Tipo::Inteiro:
                sqlite3_bind_int(comando, n, v.inteiro);
                break;
            case Tipo::Real:
                sqlite3_bind_double(comando, n, v.real);
                break;
            case Tipo::Texto:
                sqlite3_bind_text16(comando, n, v.texto.utf16(), int(v.texto.size() * 2),
                                    SQLITE_STATIC);
                break;
            }
        }
    }

  private:
    enum class Tipo { Inteiro, Real, Texto };
    struct Valor {
        Tipo tipo = Tipo::Inteiro;
        int inteiro = 0;
        double real = 0.0;
        QString texto;
    };
    void poe(int coluna, Valor valor) {
        valores_[std::size_t(coluna)] = std::move(valor);
        mascara_ |= 1u << coluna;
    }

    std::array<Valor, 16> valores_;
    quint32 mascara_ = 0;
};

GravacaoEmLote::GravacaoEmLote(Banco &banco) : banco_(banco) {
    if (!banco.emTransacao())
        throw ErroBanco(base::Mensagem("ERRO_LOTE_FORA_TRANSACAO"), {});
}

GravacaoEmLote::Sequencias &GravacaoEmLote::sequencias(int nrVlm) {
    auto it = sequencias_.find(nrVlm);
    if (it == sequencias_.end()) {
        Sequencias s;
        s.modelo = ProximoModelo(banco_, nrVlm);
        s.nacional = ProximoNacional(banco_, nrVlm);
        s.importado = ProximoImportado(banco_, nrVlm);
        it = sequencias_.insert(nrVlm, s);
    }
    return *it;
}

qint64 GravacaoEmLote::insere(int tabela, const Linha &linha) {
    const quint64 chave = (quint64(tabela) << 32) | linha.mascara();
    sqlite3_stmt *&comando = comandos_[chave];
    if (!comando)
        comando = banco_.direta(TextoInsere(Tabelas[tabela], linha.mascara()));
    linha.vincula(comando);
    return banco_.passo(comando);
}

int GravacaoEmLote::gravaNF(const DadosNF &nf) {
    Linha l;
    l.seNaoVazio(0, nf.numero);
    l.seNaoVazio(1, nf.serie);
    l.seNaoVazio(2, CnpjSemMascara(nf.cnpj));
    l.seNaoVazio(3, gravar::DataGravada(nf.dataEmissao));
    l.seNaoVazio(4, nf.inscricaoEstadual);
    return int(insere(NF, l));
}

int GravacaoEmLote::incluiModelo(int nrVlm, const DadosModelo &dados) {
    Sequencias &s = sequencias(nrVlm);
    Linha l;
    l.poe(0, nrVlm);
    l.poe(1, s.modelo);
    l.seNaoVazio(2, dados.descricao);
    l.seNaoVazio(3, dados.precoVenda);
    l.seNaoVazio(4, dados.codigoInterno);
    insere(Modelos, l);
    return s.modelo++;
}

int GravacaoEmLote::incluiNacional(int nrVlm, const DadosNF &nf, const DadosNacional &dados) {
    Sequencias &s = sequencias(nrVlm);
    const int chave = gravaNF(nf);
    Linha l;
    l.poe(0, nrVlm);
    l.poe(1, s.nacional);
    l.seNaoVazio(2, dados.descricao);
    l.seNaoVazio(3, dados.custoUnitario);
    l.seNaoVazio(4, dados.unidade);
    l.seNaoVazio(5, dados.ncm);
    l.seNaoVazio(6, dados.quantidade);
    l.poe(7, chave);
    if (dados.numeroNoArquivo)
        l.poe(8, *dados.numeroNoArquivo);
    insere(Nacionais, l);
    if (s.pendentes) {
        gravar::AdotaPendentes(banco_, nrVlm, s.nacional);
        s.pendentes = false;
    }
    return s.nacional++;
}

int GravacaoEmLote::incluiImportado(int nrVlm, const DadosImportado &dados, bool direto, int chave,
                                    int nacionalDono) {
    Sequencias &s = sequencias(nrVlm);
    Linha l;
    l.poe(0, nrVlm);
    l.poe(1, s.importado);
    l.seNaoVazio(2, dados.descricao);
    l.seNaoVazio(3, dados.quantidade);
    l.seNaoVazio(4, dados.valorUnitario);
    l.seNaoVazio(5, dados.aliquota);
    l.poe(6, gravar::ValorII(dados));
    l.poe(direto ? 7 : 8, chave);
    l.seMarcado(9, dados.comSuspensao);
    l.seMarcado(10, dados.direto);
    l.seMarcado(11, dados.reducaoII);
    l.seNaoVazio(12, dados.unidade);
    l.seNaoVazio(13, dados.ncm);
    insere(Importados, l);
    if (nacionalDono != 0) {
        Linha sub;
        sub.poe(0, nrVlm);
        sub.poe(1, nacionalDono > 0 ? nacionalDono : 0);
        sub.poe(2, s.importado);
        sub.poe(3, dados.baseCalculo ? 1 : 0);
        insere(Subcomp, sub);
        s.pendentes = s.pendentes || nacionalDono < 0;
    }
    return s.importado++;
}

int GravacaoEmLote::incluiImportadoDI(int nrVlm, const DadosDI &di, const DadosImportado &dados,
                                      int nacionalDono) {
    Linha l;
    l.seNaoVazio(0, di.numero);
    l.seNaoVazio(1, di.adicao);
    l.seNaoVazio(2, di.item);
    const int chave = int(insere(DI, l));
    return incluiImportado(nrVlm, dados, true, chave, nacionalDono);
}

int GravacaoEmLote::incluiImportadoNF(int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                                      int nacionalDono) {
    const int chave = gravaNF(nf);
    return incluiImportado(nrVlm, dados, false, chave, nacionalDono);
}

} // namespace vlme::store
