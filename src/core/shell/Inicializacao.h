#pragma once
// Getting the statement database ready at start-up, shared by the desktop
// program and vlme-cli: the template made from the schema code, a missing
// VLM.MDB copied from it, the file opened exclusively, null codes cleaned and
// an earlier layout upgraded. Every failure is told to the user, naming the
// file and the cause; nothing of the user's is overwritten.

#include <QString>

#include <functional>

namespace vlme::store {
class Banco;
}

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base
namespace vlme::shell {

inline constexpr char Versao[] = "5.0";
inline constexpr char CaminhoDiagnostico[] = "/scripts/fisco/vlme/diagnostico_vlme.asp";
// The diagnostic host when neither --url-diagnostico nor VLME_URL_DIAGNOSTICO
// gives one. The company sets the authority's real host through either.
inline constexpr char HostDiagnosticoPadrao[] = "http://localhost";

// What both programs set once before any work: their version, and the
// summary's figures that the statements' history records after a change.
void PreparaPrograma();

// Host from the option, else VLME_URL_DIAGNOSTICO, else the default; plus the path.
QString EscolheURLDiagnostico(const QString &opcao);

// Copies a file; false with the reason in `erro`. Replaced in tests.
using CopiaArquivo = std::function<bool(const QString &de, const QString &para, QString *erro)>;
bool CopiaArquivoPadrao(const QString &de, const QString &para, QString *erro);

// Makes sure the data folder exists (the lock and the database live there);
// false when it cannot be made, the user told which folder.
bool CriaPastaPrograma(const QString &pastaPrograma, base::InterfaceUsuario &usuario);

// Opens (creating or upgrading when needed) VLM.MDB in `pastaPrograma` into
// `banco`. False when the program cannot go on; the user has been told why.
bool AbreBancoPrograma(const QString &pastaPrograma, store::Banco &banco,
                       base::InterfaceUsuario &usuario,
                       const CopiaArquivo &copia = CopiaArquivoPadrao);

// Opens the team server named by `url`. With `senha` (the session's
// password, in memory only), a server that wants a password which the URL,
// PGPASSWORD and ~/.pgpass do not give has it asked of the user, until it
// works or the user gives up; the one that worked is kept there. Throws the
// last ErroBanco otherwise.
void AbreServidor(const QString &url, store::Banco &banco, base::InterfaceUsuario &usuario,
                  QString *senha);

// The database chosen at start-up: the team server named by `url`, or the
// file of AbreBancoPrograma when `url` is empty. When the server cannot be
// reached and `ofereceLocal`, the user may choose the local file instead.
// `senha` as for AbreServidor.
bool AbreBancoEscolhido(const QString &pastaPrograma, const QString &url, store::Banco &banco,
                        base::InterfaceUsuario &usuario, bool ofereceLocal,
                        QString *senha = nullptr);

} // namespace vlme::shell
