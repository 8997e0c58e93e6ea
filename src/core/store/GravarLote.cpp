#include "store/GravarLote.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/GravarComum.h"
#include "store/GravarLinha.h"
#include "store/servidor/CopiaServidor.h"

#include <sqlite3.h>

namespace vlme::store {

namespace {

// Binds the row's set columns in column order, as TextoInsere numbers them.
void Vincula(sqlite3_stmt *comando, const gravar::Linha &linha) {
    int n = 0;
    for (std::size_t i = 0; i < linha.tabela().colunas.size(); ++i) {
        if (!linha.temColuna(int(i)))
            continue;
        ++n;
        const gravar::Valor &v = linha.valor(int(i));
        if (const int *inteiro = std::get_if<int>(&v)) {
            sqlite3_bind_int(comando, n, *inteiro);
        } else if (const double *real = std::get_if<double>(&v)) {
            sqlite3_bind_double(comando, n, *real);
        } else if (const QString *texto = std::get_if<QString>(&v)) {
            // A null pointer would bind NULL; an empty text is ''.
            static const char16_t vazio[] = u"";
            const void *dados =
                texto->isEmpty() ? static_cast<const void *>(vazio) : texto->utf16();
            sqlite3_bind_text16(comando, n, dados, int(texto->size() * 2), SQLITE_STATIC);
        } else {
            sqlite3_bind_null(comando, n);
        }
    }
}

} // namespace

GravacaoEmLote::GravacaoEmLote(Banco &banco) : banco_(banco) {
    if (!banco.emTransacao())
        throw ErroBanco(base::Mensagem("ERRO_LOTE_FORA_TRANSACAO"), {});
    if (banco.servidor())
        copia_ = std::make_unique<servidor::CopiaServidor>(banco);
}

GravacaoEmLote::~GravacaoEmLote() = default;

void GravacaoEmLote::conclui() {
    if (copia_)
        copia_->envia();
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

qint64 GravacaoEmLote::insere(const gravar::Linha &linha) {
    if (copia_)
        return copia_->insere(linha);
    sqlite3_stmt *&comando = comandos_[{&linha.tabela(), linha.mascara()}];
    if (!comando)
        comando = banco_.direta(gravar::TextoInsere(linha));
    Vincula(comando, linha);
    return banco_.passo(comando);
}

int GravacaoEmLote::incluiModelo(int nrVlm, const DadosModelo &dados) {
    Sequencias &s = sequencias(nrVlm);
    insere(gravar::NovoModelo(nrVlm, s.modelo, dados));
    return s.modelo++;
}

int GravacaoEmLote::incluiNacional(int nrVlm, const DadosNF &nf, const DadosNacional &dados) {
    Sequencias &s = sequencias(nrVlm);
    const int chave = int(insere(gravar::LinhaNF(nf, gravar::Vazios::Omite)));
    insere(gravar::NovoNacional(nrVlm, s.nacional, dados, chave));
    if (s.pendentes) {
        conclui(); // the waiting subcomponents may still be kept
        gravar::AdotaPendentes(banco_, nrVlm, s.nacional);
        s.pendentes = false;
    }
    return s.nacional++;
}

int GravacaoEmLote::incluiImportado(int nrVlm, const DadosImportado &dados, Documento documento,
                                    int chave, int nacionalDono) {
    Sequencias &s = sequencias(nrVlm);
    insere(gravar::NovoImportado(nrVlm, s.importado, dados, documento, chave));
    if (nacionalDono != 0) {
        insere(gravar::NovoSubcomp(nrVlm, nacionalDono, s.importado, dados.baseCalculo));
        s.pendentes = s.pendentes || nacionalDono < 0;
    }
    return s.importado++;
}

int GravacaoEmLote::incluiImportadoDI(int nrVlm, const DadosDI &di, const DadosImportado &dados,
                                      int nacionalDono) {
    const int chave = int(insere(gravar::LinhaDI(di, gravar::Vazios::Omite)));
    return incluiImportado(nrVlm, dados, Documento::DI, chave, nacionalDono);
}

int GravacaoEmLote::incluiImportadoNF(int nrVlm, const DadosNF &nf, const DadosImportado &dados,
                                      int nacionalDono) {
    const int chave = int(insere(gravar::LinhaNF(nf, gravar::Vazios::Omite)));
    return incluiImportado(nrVlm, dados, Documento::NF, chave, nacionalDono);
}

} // namespace vlme::store
