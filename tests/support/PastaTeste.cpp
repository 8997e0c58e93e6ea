#include "support/PastaTeste.h"

#include <gtest/gtest.h>

namespace vlme::teste {

PastaTeste::PastaTeste() {
    if (!dir_.isValid())
        ADD_FAILURE() << "não foi possível criar a pasta temporária";
}

BancoTeste::BancoTeste() {
    banco_.cria(caminhoBanco());
    banco_.abre(caminhoBanco());
}

} // namespace vlme::teste
