#include "store/GravarLote.h"

#include "base/Erros.h"
#include "store/Banco.h"
#include "store/Declaracoes.h"
#include "store/EscritaLote.h"
#include "store/GravarComum.h"
#include "store/GravarLinha.h"
#include "store/Motor.h"

namespace vlme::store {

GravacaoEmLote::GravacaoEmLote(Banco &banco) : banco_(banco) {
    if (!banco.emTransacao())
        throw ErroBanco(base::Mensagem("ERRO_LOTE_FORA_TRANSACAO"), {});
    escrita_ = banco.motor().escritaLote(banco);
}

GravacaoEmLote::~GravacaoEmLote() = default;

void GravacaoEmLote::conclui() {
    escrita_->envia();
}

std::optional<int> GravacaoEmLote::copiaImportados(int de, int para) {
    return escrita_->copiaImportados(de, para);
}

std::optional<int> GravacaoEmLote::copiaNacionais(int de, int para) {
    return escrita_->copiaNacionais(de, para);
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
    return escrita_->insere(linha);
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
        if (s.pendentesGuardados)
            conclui(); // the waiting subcomponents may still be kept
        gravar::AdotaPendentes(banco_, nrVlm, s.nacional);
        s.pendentes = s.pendentesGuardados = false;
    }
    return s.nacional++;
}

int GravacaoEmLote::incluiImportado(int nrVlm, const DadosImportado &dados, Documento documento,
                                    int chave, int nacionalDono) {
    Sequencias &s = sequencias(nrVlm);
    insere(gravar::NovoImportado(nrVlm, s.importado, dados, documento, chave));
    if (nacionalDono != 0) {
        insere(gravar::NovoSubcomp(nrVlm, nacionalDono, s.importado, dados.baseCalculo));
        if (nacionalDono < 0)
            s.pendentes = s.pendentesGuardados = true;
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
