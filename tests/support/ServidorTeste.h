#pragma once
// The team-database run of the tests: with VLME_TESTE_BACKEND=servidor every
// BancoTeste opens a schema of its own on the private test server that
// ./test starts (its URL in VLME_TESTE_URL), instead of a VLM.MDB.

#include <QString>

namespace vlme::teste {

bool NoServidor();
// The URL of a new, empty schema on the test server, for one database.
QString NovoEsquemaServidor();

} // namespace vlme::teste
