#pragma once
// A printed document of the program: headings, label/value pairs and tables,
// laid out on the pages of any paged device (printer, preview, PDF) with the
// same header and footer on every page: the document's title, what it
// belongs to, and "Página i de n". Tables break between rows, never inside
// one, and repeat their header on every page.
// Layout is measured at a fixed 96 dpi whatever the device, so a document has
// the same pages on paper, in the preview and in the PDF. It is our own
// rather than QTextDocument's: a statement of maximum size holds 30 thousand
// table rows, which QTextDocument takes minutes to lay out.
// User-interface thread (or vlme-cli's main thread) only.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPagedPaintDevice;

namespace vlme::printing {

struct Bloco {
    enum class Tipo { Titulo, Subtitulo, Paragrafo, Pares, Tabela };
    Tipo tipo = Tipo::Paragrafo;
    QString texto; // Titulo, Subtitulo, Paragrafo
    // Tabela: the header, each column's share of the width, which columns are
    // numbers (right-aligned). Pares: two columns, label and value.
    QStringList cabecalhos;
    std::vector<double> larguras;
    std::vector<bool> numericas;
    std::vector<QStringList> linhas;
};

struct Documento {
    QString titulo;        // header, left: "Demonstrativo da VLM-E"
    QString identificacao; // header, right: "VLM-E nº 12", a file name
    bool paisagem = false; // landscape pages
    std::vector<Bloco> blocos;

    void cabeca(const QString &texto) { textual(Bloco::Tipo::Titulo, texto); }
    void secao(const QString &texto) { textual(Bloco::Tipo::Subtitulo, texto); }
    void paragrafo(const QString &texto) { textual(Bloco::Tipo::Paragrafo, texto); }
    void pares(const std::vector<std::pair<QString, QString>> &pares);
    // A column whose header starts with '#' is numeric; the '#' is not shown.
    Bloco &tabela(const QStringList &cabecalhos, const std::vector<double> &larguras);

  private:
    void textual(Bloco::Tipo tipo, const QString &texto);
};

// Paints every page on `dispositivo`, which is on its first page; answers the
// number of pages.
int Desenha(const Documento &documento, QPagedPaintDevice &dispositivo);

// Writes the document as an A4 PDF at `caminho`, replacing the file whole (a
// reader never sees half of it). Answers the number of pages; throws
// base::ErroVLME when the file cannot be written.
int GravaPDF(const Documento &documento, const QString &caminho);

} // namespace vlme::printing
