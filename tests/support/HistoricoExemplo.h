#pragma once
// A deleted statement's history, written through the store's own copy: five
// rows of known times, people and figures, so what shows them can be checked
// to the character. The total cost rises at the second row, the coefficient
// (88% to 90%) at the fourth. Answers the rows newest first, as read.

#include "store/Banco.h"
#include "store/Historico.h"

namespace vlme::teste {

inline constexpr int NumeroExcluida = 7;

inline std::vector<store::RegistroHistorico> HistoricoExemplo(store::Banco &banco) {
    using store::Evento;
    struct Linha {
        Evento evento;
        const char *detalhe;
        int versao; // 0: none
        const char *quando, *usuario, *maquina, *programa;
        double custo, coeficiente; // custo < 0: no figures
    };
    const Linha linhas[] = {
        {Evento::Criada, "Importada de noite.txt", 1, "2026-11-30T12:00:00Z", "ana", "fiscal01",
         "vlme-cli 1.0", 30, 0.88},
        {Evento::Gravada, "Dados gerais", 2, "2026-12-01T13:30:00Z", "ana", "fiscal01", "VLM-E 1.0",
         1234.5, 0.88},
        {Evento::Gerada, "VLME0000000007", 0, "2026-12-02T14:00:05Z", "bruno", "fiscal02",
         "VLM-E 1.0", -1, 0},
        {Evento::Gravada, "Componentes importados", 3, "2026-12-03T15:00:00Z", "bruno", "fiscal02",
         "VLM-E 1.0", 1234.5, 0.9},
        {Evento::Excluida, "Telefone celular", 0, "2026-12-04T16:45:10Z", "carla", "fiscal03",
         "vlme-cli 1.0", -1, 0},
    };
    std::vector<store::RegistroHistorico> registros;
    for (const Linha &l : linhas) {
        store::RegistroHistorico r;
        r.evento = l.evento;
        r.detalhe = QString::fromUtf8(l.detalhe);
        if (l.versao)
            r.versao = l.versao;
        r.quando = QDateTime::fromString(QString::fromLatin1(l.quando), Qt::ISODate);
        r.usuario = QString::fromLatin1(l.usuario);
        r.maquina = QString::fromLatin1(l.maquina);
        r.programa = QString::fromLatin1(l.programa);
        if (l.custo >= 0)
            r.figuras = store::Figuras{l.custo, l.coeficiente};
        registros.insert(registros.begin(), r);
    }
    store::Transacao transacao(banco);
    store::CopiaHistorico(banco, registros, QStringLiteral("5b1c0d4e-0000-4000-8000-000000000007"),
                          NumeroExcluida);
    transacao.confirma();
    return registros;
}

} // namespace vlme::teste
