#pragma once
// What every test starts from: GoogleTest, the fixtures folder and its tables
// of cases, a data folder with its database, the statement builder, the
// scripted doubles and the program's executables.

#include "support/Arquivos.h"
#include "support/Casos.h"
#include "support/ConstrutorDeclaracao.h"
#include "support/Duplos.h"
#include "support/PastaTeste.h"
#include "support/Processos.h"
#include "support/UsuarioRoteirizado.h"

#include <gtest/gtest.h>
