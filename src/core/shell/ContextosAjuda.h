#pragma once
// Help topic numbers of the program's windows. A window carries its number
// (property "contextoAjuda") and asks the help window for it; the help pages
// list the numbers they answer.

namespace vlme::shell::ContextoAjuda {

inline constexpr int Principal = 10;
inline constexpr int Sobre = 11;
inline constexpr int GravarTransmissao = 15; // picker, recording for transmission
inline constexpr int Abrir = 17;             // picker, open
inline constexpr int Backup = 21;
inline constexpr int Restaurar = 22;
inline constexpr int Novo = 31;   // new statement, empty or from an earlier one
inline constexpr int Copiar = 32; // picker, copy
inline constexpr int Imprimir = 34;
inline constexpr int Diagnostico = 35;
inline constexpr int ImportarDeclaracao = 40;
inline constexpr int ErrosImportacao = 41;
inline constexpr int ImportarTabelas = 42;
inline constexpr int Progresso = 50;
inline constexpr int BancoEquipe = 51; // team database dialog
inline constexpr int Excluir = 65;
inline constexpr int Pendencias = 66;
inline constexpr int GerarArquivo = 67;
inline constexpr int RegistrarEntrega = 68; // picker and receipt dialog
inline constexpr int DadosGerais = 73;      // general-data window, first tab
inline constexpr int Modelo = 74;           // model form
inline constexpr int AssistenteNCM = 75;
inline constexpr int AssistenteUnidade = 76;
inline constexpr int ResumoDemonstrativo = 86;
inline constexpr int ComponentesNacionais = 96;
inline constexpr int ComponenteNacional = 97; // national component form
inline constexpr int ComponentesImportados = 121;
inline constexpr int ComponenteImportado = 122; // imported component form

} // namespace vlme::shell::ContextoAjuda
