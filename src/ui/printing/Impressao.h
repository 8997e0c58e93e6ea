#pragma once
// Printing on the desktop: the program's printer (chosen once in the set-up,
// kept for every print), and the print preview from which a document goes to
// that printer or is saved as a PDF. User-interface thread only.

#include "printing/Documento.h"

class QPrinter;
class QWidget;

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::ui {

// The printer every print goes to; lives as long as the program.
QPrinter &ImpressoraPrograma();

// Chooses the printer and its paper for the prints that follow.
void ConfiguraImpressora(QWidget *pai);

// Shows `documento` in the print preview ("frmVisualizacao"), whose toolbar
// prints it on the program's printer or saves it as a PDF
// ("acaoSalvarPDF"). Failures are told through `usuario`.
void MostraDocumento(const printing::Documento &documento, base::InterfaceUsuario &usuario,
                     QWidget *pai);

} // namespace vlme::ui
