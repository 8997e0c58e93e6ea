#pragma once
// The problems a statement import found in the file's fields: one entry per
// failed field check, the line each is shown as in the error list and in the
// error text file, and the writing of that file.
// Plain values; the writing runs on the user-interface thread.

#include <QString>

#include <vector>

namespace vlme::base {
class InterfaceUsuario;
} // namespace vlme::base

namespace vlme::importacao {

// Widths of the entry's texts, padded with blanks (and cut) to them.
inline constexpr int LarguraNomeRegistro = 35;
inline constexpr int LarguraCampo = 50;
inline constexpr int LarguraMensagem = 70;
// The table holds at most this many entries; past it nothing more is
// recorded and no further record is stored.
inline constexpr int LimiteErros = 10001;

struct ErroImportacao {
    QChar tipoRegistro;   // '0'..'4' or '9'
    int linha = 0;        // line of the file, from 1
    QString nomeRegistro; // LarguraNomeRegistro characters
    QString campo;        // the field's label in upper case, LarguraCampo characters
    QString mensagem;     // LarguraMensagem characters

    // Builds an entry the way the import records one: label upper-cased,
    // texts padded to their widths.
    static ErroImportacao Cria(QChar tipo, int linha, const QString &campo,
                               const QString &mensagem);
};

// "Linha 12 (reg. 1) - DESCRIÇÃO: Preenchimento Obrigatório.": the list's line.
QString LinhaListaErro(const ErroImportacao &erro);
// "Linha  12 (reg. 1) - " + label padded to 50 + ": " + message padded to 70,
// without the line end: the error file's line.
QString LinhaArquivoErro(const ErroImportacao &erro);

inline const QString TituloGravaErros =
    QStringLiteral("Geração de arquivo texto de erros da importação");
inline const QString TextoErrosGravados = QStringLiteral("Geração do arquivo texto bem sucedida. ");

struct FalhaGravacao {
    int codigo = 0; // QFileDevice::FileError
    QString descricao;
};

// Writes one line per entry, Latin-1, ended by CR LF, replacing the file
// whole (a reader never sees it half-written). Answers whether it was written;
// on failure `falha` says why.
bool EscreveErrosImportacao(const QString &caminho, const std::vector<ErroImportacao> &erros,
                            FalhaGravacao *falha = nullptr);

// EscreveErrosImportacao, then tells the user the outcome.
bool GravaErrosImportacao(base::InterfaceUsuario &usuario, const QString &caminho,
                          const std::vector<ErroImportacao> &erros);

} // namespace vlme::importacao
