#include "shell/Comandos.h"

#include "base/InterfaceUsuario.h"

#include <QDir>

namespace vlme::shell {

namespace {

using D = DestinoComandos;

void seletorAbrir(D &d) {
    d.abreSeletor(Operacao::Abrir);
}
void seletorExcluir(D &d) {
    d.abreSeletor(Operacao::Excluir);
}
void seletorGerar(D &d) {
    d.abreSeletor(Operacao::GerarArquivo);
}
void seletorTransmitir(D &d) {
    d.abreSeletor(Operacao::GravarTransmissao);
}
void seletorEntrega(D &d) {
    d.abreSeletor(Operacao::RegistrarEntrega);
}
void seletorDesfazer(D &d) {
    d.abreSeletor(Operacao::DesfazerEntrega);
}
void seletorBackup(D &d) {
    d.abreSeletor(Operacao::Backup);
}
void seletorImprimir(D &d) {
    d.abreSeletor(Operacao::Imprimir);
}
void seletorResumo(D &d) {
    d.abreSeletor(Operacao::ImprimirResumo);
}
void seletorRecibo(D &d) {
    d.abreSeletor(Operacao::ImprimirRecibo);
}
void seletorPendencias(D &d) {
    d.abreSeletor(Operacao::Pendencias);
}
void seletorDiagnostico(D &d) {
    d.abreSeletor(Operacao::Diagnostico);
}
void seletorConsulta(D &d) {
    d.abreSeletor(Operacao::ConsultarDiagnostico);
}
void novo(D &d) {
    d.mostraNovo();
}
void importa(D &d) {
    d.importaDeclaracao();
}
void fecha(D &d) {
    d.fechaDeclaracao();
}
void impressora(D &d) {
    d.configuraImpressora();
}
void imprime(D &d) {
    d.imprimeDeclaracao();
}
void resumo(D &d) {
    d.imprimeResumo();
}
void exclui(D &d) {
    d.excluiDeclaracao();
}
void pendencias(D &d) {
    d.verificaPendencias();
}
void transmite(D &d) {
    d.gravaParaTransmissao();
}
void restaura(D &d) {
    d.restauraCopia();
}
void tabelaNCM(D &d) {
    d.importaTabelaNCM();
}
void tabelaUnidades(D &d) {
    d.importaTabelaUnidades();
}
void calculadora(D &d) {
    d.abreCalculadora();
}
void banco(D &d) {
    d.configuraBanco();
}
void conteudo(D &d) {
    d.mostraConteudoAjuda();
}
void indice(D &d) {
    d.mostraIndiceAjuda();
}
void sobre(D &d) {
    d.mostraSobre();
}
void sai(D &d) {
    d.sai();
}
void copiaEquipe(D &d) {
    d.copiaParaEquipe();
}

// Besides the commands of the busy rule, closing the statement and the table
// imports also wait: run from inside another long operation they would save
// or write through the same connection while that operation's transaction is
// still open, and a cancel of the outer one would silently undo them.
const std::vector<RotaComando> tabela = {
    {Comando::Novo, "mnuNovo", true, ComAberta::FechaAntes, novo, nullptr},
    {Comando::Abrir, "mnuAbrir", true, ComAberta::FechaAntes, seletorAbrir, nullptr},
    {Comando::Importar, "MnuImportar", true, ComAberta::FechaAntes, importa, nullptr},
    {Comando::Fechar, "mnuFechar", true, ComAberta::Propria, nullptr, fecha},
    {Comando::ConfigurarImpressora, "mnuConfig", false, ComAberta::Igual, impressora, nullptr},
    {Comando::ImprimirVLM, "mnuImprimirVLM", true, ComAberta::Propria, seletorImprimir, imprime},
    {Comando::Resumo, "mnuResumo", true, ComAberta::Propria, seletorResumo, resumo},
    {Comando::ImprimirRecibo, "mnuRecibo", true, ComAberta::Igual, seletorRecibo, nullptr},
    {Comando::Excluir, "mnuExcluir", true, ComAberta::Propria, seletorExcluir, exclui},
    {Comando::Diagnostico, "mnuDiagnostico", true, ComAberta::FechaAntes, seletorDiagnostico,
     nullptr},
    {Comando::Pendencias, "mnuPendencias", true, ComAberta::Propria, seletorPendencias, pendencias},
    {Comando::GerarArquivoEnviador, "mnuGerarArquivoEnviador", true, ComAberta::FechaAntes,
     seletorGerar, nullptr},
    {Comando::Transmitir, "mnuTransmitir", true, ComAberta::Propria, seletorTransmitir, transmite},
    {Comando::RegistrarEntrega, "mnuRegistrarEntrega", true, ComAberta::FechaAntes, seletorEntrega,
     nullptr},
    {Comando::DesfazerEntrega, "mnuDesfazerEntrega", true, ComAberta::FechaAntes, seletorDesfazer,
     nullptr},
    {Comando::GerarCopia, "mnuGerar", true, ComAberta::FechaAntes, seletorBackup, nullptr},
    {Comando::Restaurar, "mnuRestaurar", true, ComAberta::FechaAntes, restaura, nullptr},
    {Comando::ImportarNCM, "MnuImportarNCM", true, ComAberta::Igual, tabelaNCM, nullptr},
    {Comando::ImportarUnidades, "MnuImportarUnM", true, ComAberta::Igual, tabelaUnidades, nullptr},
    {Comando::Calculadora, "mnuCalculadora", false, ComAberta::Igual, calculadora, nullptr},
    {Comando::BancoEquipe, "mnuBancoEquipe", true, ComAberta::Igual, banco, nullptr},
    // Closed first, so what is typed in it is saved and copied too.
    {Comando::CopiarParaEquipe, "mnuCopiarEquipe", true, ComAberta::FechaAntes, copiaEquipe,
     nullptr},
    {Comando::Conteudo, "mnuConteudo", false, ComAberta::Igual, conteudo, nullptr},
    {Comando::Indice, "mnuIndice", false, ComAberta::Igual, indice, nullptr},
    {Comando::Procurar, "mnuProcurar", false, ComAberta::Igual, nullptr, nullptr},
    {Comando::Sobre, "mnuSobre", false, ComAberta::Igual, sobre, nullptr},
    {Comando::Sair, "mnuSair", true, ComAberta::Igual, sai, nullptr},
    // Run by the diagnostic itself, which shows the hourglass while it waits.
    {Comando::ConsultarDiagnostico, "", false, ComAberta::Igual, seletorConsulta, nullptr},
};

} // namespace

const std::vector<RotaComando> &RotasComandos() {
    return tabela;
}

const RotaComando &RotaDe(Comando comando) {
    for (const auto &rota : tabela)
        if (rota.comando == comando)
            return rota;
    // Every enumerator has a row; reaching here is a programming error.
    Q_UNREACHABLE();
}

bool ExecutaComando(Comando comando, DestinoComandos &destino, bool ocupado) {
    const RotaComando &rota = RotaDe(comando);
    if (ocupado && rota.respeitaOcupado)
        return false;
    if (destino.declaracaoAberta()) {
        switch (rota.comAberta) {
        case ComAberta::Igual:
            break;
        case ComAberta::Propria:
            if (rota.naDeclaracao)
                rota.naDeclaracao(destino);
            return true;
        case ComAberta::FechaAntes:
            destino.fechaDeclaracao();
            // The user chose to keep it open.
            if (destino.declaracaoAberta())
                return true;
            break;
        }
    }
    if (rota.semDeclaracao)
        rota.semDeclaracao(destino);
    return true;
}

bool InformaGravacaoTransmissao(base::InterfaceUsuario &usuario, const QString &arquivo) {
    if (arquivo.isEmpty()) {
        usuario.mensagem(QStringLiteral("ATENÇÃO"),
                         QStringLiteral("O Arquivo não foi gerado para transmissão."),
                         base::Icone::Informacao, base::Botoes::Ok);
        return false;
    }
    usuario.mensagem(QStringLiteral("ATENÇÃO"),
                     QStringLiteral("O Arquivo foi gerado para transmissão em : \r\n") +
                         QDir::toNativeSeparators(arquivo),
                     base::Icone::Informacao, base::Botoes::Ok);
    return true;
}

QString TextoNaoDisponivel(const QString &operacao) {
    return QStringLiteral("A operação \"%1\" ainda não está disponível nesta versão do VLM-E.")
        .arg(operacao);
}

} // namespace vlme::shell
