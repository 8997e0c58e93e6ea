#pragma once
// Files in tests: the fixtures folder, reading bytes, and comparing a whole
// file with the expected bytes, saying where they first differ.

#include <QString>

#include <string>

namespace vlme::teste {

// A file under tests/data.
QString DadoTeste(const QString &relativo);
// The whole file; "<sem arquivo>" when it cannot be read.
std::string LeBytes(const QString &caminho);
void GravaBytes(const QString &caminho, const std::string &bytes);
// Length and bytes; on a difference, the line and column of the first one.
void ComparaArquivo(const std::string &obtido, const std::string &esperado);

} // namespace vlme::teste
