#include "base/Erros.h"

#include "base/InterfaceUsuario.h"

namespace vlme::base {

QString Erro::TextoAlerta(bool detalhes) const {
    if (!detalhes)
        return Descricao;
    return Descricao + QStringLiteral("\n - ") + Origem + QStringLiteral("\n - ") + Campo;
}

void Erro::Alerta(base::InterfaceUsuario &usuario, bool detalhes) const {
    usuario.avisa(QStringLiteral("Atenção!"), TextoAlerta(detalhes), base::Icone::Exclamacao);
}

Erro *Erros::Add(const QString &id, const QString &descricao, const QString &origem,
                 const QString &campo, const QString &chave) {
    const QString k = chave.isEmpty() ? id : chave;
    if (indice_.count(k))
        return nullptr;
    auto erro = std::make_unique<Erro>();
    erro->Id = id;
    erro->Descricao = descricao;
    if (!origem.isEmpty())
        erro->Origem = origem;
    if (!campo.isEmpty())
        erro->Campo = campo;
    Erro *bruto = erro.get();
    indice_[k] = itens_.size();
    itens_.push_back({k, std::move(erro)});
    return bruto;
}

const Erro *Erros::Item(const QString &chave) const {
    auto it = indice_.find(chave);
    return it == indice_.end() ? nullptr : itens_[it->second].erro.get();
}

const Erro *Erros::Item(int indice) const {
    if (indice < 1 || indice > Count())
        return nullptr;
    return itens_[static_cast<std::size_t>(indice - 1)].erro.get();
}

bool Erros::Remove(const QString &chave) {
    auto it = indice_.find(chave);
    if (it == indice_.end())
        return false;
    itens_.erase(itens_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindexa();
    return true;
}

bool Erros::Remove(int indice) {
    if (indice < 1 || indice > Count())
        return false;
    itens_.erase(itens_.begin() + (indice - 1));
    reindexa();
    return true;
}

void Erros::reindexa() {
    indice_.clear();
    for (std::size_t i = 0; i < itens_.size(); ++i)
        indice_[itens_[i].chave] = i;
}

QString Erros::Descricao(const QString &chave) const {
    const Erro *e = Item(chave);
    return e ? e->Descricao : chave;
}

Erros CarregaCatalogo() {
    struct Entrada {
        const char *chave;
        const char *texto;
    };
    static const Entrada entradas[] = {
        {"ERRO_CNPJ_AUSENTE", "O campo CNPJ do Estabelecimento é obrigatório."},
        {"ERRO_CNPJ_INVALIDO", "O campo CNPJ do Estabelecimento está inválido."},
        {"ERRO_CPF_AUSENTE", "O campo CPF do representante é obrigatório."},
        {"ERRO_CPF_INVALIDO", "O campo CPF do representante está inválido."},
        {"ERRO_PPB_AUSENTE", "O campo Processo Produtivo Básico é obrigatório."},
        {"ERRO_PPB_INVALIDO",
         "O tamanho do campo Processo Produtivo Básico não pode ser menor que 5 ( cinco )."},
        {"ERRO_PRODUTO_AUSENTE", "O campo Denominação do Produto é obrigatório."},
        {"ERRO_PRODUTO_INVALIDO",
         "O tamanho do campo Denominação do Produto não pode ser menor que 3 ( três )."},
        {"ERRO_NCM_AUSENTE", "O campo Código NCM/SH é obrigatório."},
        {"ERRO_NCM_INVALIDO", "O tamanho do campo Código NCM/SH não pode ser menor que 8 ( oito ) "
                              "e nem igual a '0000.00.00'."},
        {"ERRO_PESOBRUTO_ZERO", "O campo Peso Bruto é obrigatório e maior que zero."},
        {"ERRO_PESOBRUTO_INVALIDO", "Valor inválido no campo Peso Bruto."},
        {"ERRO_UNIDADE_AUSENTE", "O campo Unidade é obrigatório."},
        {"ERRO_SALARIOS_ZERO", "O campo Salários e Ordenados é obrigatório e maior que zero."},
        {"ERRO_SALARIOS_INVALIDO", "Valor inválido no campo Salários e Ordenados."},
        {"ERRO_SALARIOS_C_RED_FIX",
         "Campo Salários e Ordenados deve ser zero p/ Coef.Redução Fixo."},
        {"ERRO_ENCARGOS_ZERO",
         "O campo Encargos Sociais e Trabalhistas é obrigatório e maior que zero."},
        {"ERRO_ENCARGOS_INVALIDO", "Valor inválido no campo Encargos Sociais e Trabalhistas."},
        {"ERRO_ENCARGOS_C_RED_FIX",
         "Campo Encargos Sociais e Trabalhistas deve ser zero p/ Coef.Redução Fixo."},
        {"ERRO_VLMANTERIOR_AUSENTE", "O campo VLM-E Anterior é obrigatório e diferente de zero "
                                     "para Retificador ou Substitutivo."},
        {"ERRO_VLMANTERIOR_INVALIDO", "O campo VLM-E Anterior está inválido."},
        {"ERRO_DESCRICAOMODELO_AUSENTE", "O campo Especificação é obrigatório."},
        {"ERRO_CODIGOINTERNO_AUSENTE", "O campo Código Interno é obrigatório."},
        {"ERRO_PRECOVENDA_ZERO", "O campo Preço de Venda é obrigátório e maior que zero."},
        {"ERRO_PRECOVENDA_INVALIDO", "Valor inválido no campo Preço de Venda."},
        {"ERRO_DESCRICAOMODELO_EXISTENTE", "Modelo já cadastrado."},
        {"ERRO_CNPJ_NAC_AUSENTE", "O campo CNPJ do fornecedor é obrigatório."},
        {"ERRO_CNPJ_NAC_INVALIDO", "O campo CNPJ do fornecedor está inválido."},
        {"ERRO_NOTA_NAC_AUSENTE", "O campo Nota Fiscal é obrigatório."},
        {"ERRO_NOTA_NAC_INVALIDO", "O campo Nota Fiscal está inválido."},
        {"ERRO_SERIE_NAC_AUSENTE", "O campo Série é obrigatório."},
        {"ERRO_DATAEMISSAO_NAC_INVALIDO", "O campo Data Emissão está inválido."},
        {"ERRO_NRINSESTADUAL_NAC_INVALIDO", "O campo Inscrição Estadual da Nota está inválida."},
        {"ERRO_NCM_NAC_INVALIDO", "O campo Código NCM não pode ser igual a '0000.00.00' e nem o "
                                  "tamanho ser menor que 8 ( oito )."},
        {"ERRO_DESCRICAO_NAC_AUSENTE", "O campo Especificação é obrigatório."},
        {"ERRO_UNIDADE_NAC_AUSENTE", "O campo Unidade é obrigatório."},
        {"ERRO_CUSTO_NAC_ZERO", "O campo Valor Unitário é obrigatório e maior que zero."},
        {"ERRO_CUSTO_NAC_INVALIDO", "Valor inválido no campo Valor Unitário."},
        {"ERRO_QTD_NAC_ZERO", "O campo Quantidade é obrigatório e maior que zero."},
        {"ERRO_QTD_NAC_INVALIDO", "Valor inválido no campo Quantidade."},
        {"ERRO_VALOR_SUB_MAIOR_NAC",
         "O custo dos subcomponentes deve ser menor que o do componente nacional."},
        {"ERRO_VALOR_NAC_MENOR_SUB",
         "O custo de um componente nacional deve ser maior que o dos seus subcomponentes."},
        {"ERRO_DI_IMP_AUSENTE", "O campo Número da DI é obrigatório."},
        {"ERRO_DI_IMP_INVALIDO", "O campo Número da DI está inválido."},
        {"ERRO_DI_ADICAO_AUSENTE", "O campo Adição é obrigatório."},
        {"ERRO_DI_ADICAO_INVALIDO", "O campo Adição está inválido."},
        {"ERRO_DI_ITEM_INVALIDO",
         "O campo Item está inválido. Deve ser maior que zero e menor ou igual a 80."},
        {"ERRO_CNPJ_IMP_AUSENTE", "O campo CNPJ do fornecedor é obrigatório."},
        {"ERRO_CNPJ_IMP_INVALIDO", "O campo CNPJ do fornecedor está inválido."},
        {"ERRO_NOTA_IMP_AUSENTE", "O campo Nota Fiscal é obrigatório."},
        {"ERRO_NOTA_IMP_INVALIDO", "O campo Nota Fiscal está inválido."},
        {"ERRO_SERIE_IMP_AUSENTE", "O campo Série da Nota é obrigatório."},
        {"ERRO_DATAEMISSAO_IMP_INVALIDO", "O campo Data Emissão está inválido."},
        {"ERRO_NRINSESTADUAL_IMP_INVALIDO", "O campo Inscrição Estadual da Nota está inválida."},
        {"ERRO_NCM_IMP_INVALIDO", "O campo Código NCM não pode ser igual a '0000.00.00' e nem o "
                                  "ser tamanho menor do que 8 ( oito )."},
        {"ERRO_DESCRICAO_IMP_AUSENTE", "O campo Especificação é obrigatório."},
        {"ERRO_UNIDADE_IMP_AUSENTE", "O campo Unidade é obrigatório."},
        {"ERRO_QTD_IMP_INVALIDO", "Valor inválido no campo Quantidade."},
        {"ERRO_QTD_IMP_ZERO", "O campo Quantidade é obrigatório e maior que zero."},
        {"ERRO_VALOR_IMP_INVALIDO", "Valor inválido no campo Valor Unitário."},
        {"ERRO_VALOR_IMP_ZERO", "O campo Valor Unitário é obrigatório e maior que zero."},
        {"ERRO_ALIQUOTA_IMP_INVALIDO", "Valor inválido no campo Alíquota."},
        {"ERRO_MODELOS", "É obrigatório informar pelo menos um Modelo/Tipo/Referência."},
        {"ERRO_MODELOS_SQ", "A quantidade máxima de Modelos por VLM-E é 9999."},
        {"ERRO_NACIONAIS_SQ", "A quantidade máxima de Componentes Nacionais por VLM-E é 9999."},
        {"ERRO_IMPORTADOS", "É obrigatório informar pelo menos um Componente Importado."},
        {"ERRO_IMPORTADOS_SQ", "A quantidade máxima de Componentes Importados por VLM-E é 9999."},
        {"ERRO_SEM_DI_NF", "Existem componentes sem DI e NF simultaneamente."},
        {"ERRO_COM_DI_NF", "Existem componentes com DI e NF simultaneamente."},
        {"ERRO_SEM_NF", "Existem componentes sem NF."},
        {"ERRO_QTD_INT", "Quantidade superior a 8 inteiros."},
        {"ERRO_VLR_INT", "Valor Unitário superior a 9 inteiros."},

        // The database and its files.
        {"ERRO_BANCO_DANIFICADO",
         "O arquivo do banco de dados está danificado e não pode ser lido. Restaure uma cópia de "
         "segurança do banco de dados; se não houver uma, procure o suporte técnico."},
        {"ERRO_BANCO_DISCO_CHEIO", "Não há espaço livre no disco para gravar o banco de dados. A "
                                   "operação foi desfeita; libere espaço no disco e repita-a."},
        {"ERRO_BANCO_SO_LEITURA",
         "O banco de dados só pode ser lido: não é permitido gravar nele. Verifique se o arquivo e "
         "a sua pasta permitem gravação e repita a operação."},
        {"ERRO_BANCO_DISCO",
         "Houve um erro de leitura ou gravação no disco do banco de dados. A operação foi "
         "desfeita; verifique o disco (ou a conexão com a pasta de rede) e repita-a."},
        {"ERRO_BANCO_EM_USO", "O banco de dados está em uso por outro programa. Feche o outro "
                              "programa e repita a operação."},
        {"ERRO_BANCO_NAO_ABRE", "Não foi possível abrir o arquivo do banco de dados. Verifique se "
                                "ele existe e se você tem permissão para usá-lo."},
        {"ERRO_BANCO", "Ocorreu um erro no banco de dados e a operação foi desfeita. Repita-a; se "
                       "o erro continuar, procure o suporte técnico."},
        {"ERRO_BANCO_FECHADO", "O banco de dados não está aberto."},
        {"ERRO_BANCO_DRIVER", "O driver SQLite do Qt não está disponível."},
        {"ERRO_BANCO_COLACAO", "Falha ao preparar a comparação de textos."},
        {"ERRO_BANCO_ABRIR", "Não foi possível abrir %1: %2"},
        {"ERRO_BANCO_CRIAR", "Não foi possível criar %1: %2"},
        {"ERRO_ARQUIVO_EXISTENTE", "O arquivo %1 já existe."},
        {"ERRO_ARQUIVO_INEXISTENTE", "O arquivo %1 não existe."},
        {"ERRO_ARQUIVO_VAZIO", "O arquivo %1 está vazio: não é um banco de dados do VLM-E."},
        {"ERRO_ARQUIVO_NAO_BANCO", "O arquivo %1 não é um banco de dados do VLM-E."},
        {"ERRO_ARQUIVO_OUTRO_PROGRAMA",
         "O arquivo %1 é um banco de dados de outro programa, não do VLM-E."},
        {"ERRO_DECLARACAO_INEXISTENTE", "A declaração %1 não existe."},
        {"ERRO_REGISTRO_NAO_ENCONTRADO", "Registro não encontrado: %1."},
        {"TEXTO_REGISTRO_VLME", "VLM-E %1"},
        {"TEXTO_REGISTRO_NACIONAL", "componente nacional %1 do VLM-E %2"},
        {"TEXTO_REGISTRO_IMPORTADO", "componente importado %1 do VLM-E %2"},
        {"TEXTO_REGISTRO_MODELO", "modelo %1 do VLM-E %2"},
        {"ERRO_LOTE_FORA_TRANSACAO", "Gravação em lote fora de uma transação."},
        {"TEXTO_BANCO_ABERTO", "Banco de dados: %1"},
        {"PERGUNTA_BANCO_LOCAL",
         "%1\n\nDeseja trabalhar agora no arquivo local %2, em vez do banco de dados da equipe %3? "
         "O que for gravado no arquivo local não chega à equipe."},
        {"TITULO_ARQUIVO_LOCAL",
         "Declaração do VLM-E - arquivo local (o banco da equipe não abriu)"},
        {"ERRO_SERVIDOR_DRIVER", "O driver PostgreSQL do Qt não está instalado neste computador."},
        {"ERRO_SERVIDOR_ABRIR", "Não foi possível abrir o banco de dados do servidor %1: %2"},
        {"ERRO_SERVIDOR_CONEXAO",
         "o servidor não respondeu. Verifique o endereço indicado (--banco, VLME_BANCO ou, no "
         "programa, Utilitários > Banco de dados da equipe), se o "
         "servidor está ligado e se a rede o alcança; ou trabalhe no arquivo local desta pasta."},
        {"ERRO_SERVIDOR_SENHA",
         "o servidor recusou o usuário \"%1\": a senha não foi dada ou não confere, ou esse "
         "usuário não existe no servidor. Confira o usuário no endereço (antes do @); a senha vem "
         "da variável PGPASSWORD ou do arquivo ~/.pgpass."},
        {"ERRO_SERVIDOR_PAPEL",
         "o servidor recusou o usuário \"%1\" no banco de dados \"%2\": esse usuário não existe, "
         "ou o servidor não o deixa entrar nesse banco a partir deste computador (pg_hba.conf). "
         "Confira no endereço o usuário (antes do @) e o banco (depois da última barra), ou peça "
         "ao "
         "administrador o seu próprio papel."},
        {"ERRO_SERVIDOR_BANCO_INEXISTENTE",
         "o servidor respondeu, mas não tem um banco de dados chamado \"%1\". Confira o nome do "
         "banco no endereço (depois da última barra)."},
        {"ERRO_SERVIDOR_RECUSOU",
         "o servidor respondeu, mas recusou a conexão agora (o motivo está no detalhe técnico). "
         "Tente de novo daqui a pouco; se continuar, mostre a mensagem ao administrador."},
        {"ERRO_SERVIDOR_SEM_CONNECT",
         "o usuário \"%1\" não tem o direito de entrar no banco de dados \"%2\" (CONNECT). Peça "
         "ao administrador que o ponha no grupo vlme_equipe, como no manual (Uso em equipe)."},
        {"ERRO_SERVIDOR_SEM_SSL",
         "o endereço pede uma conexão protegida (sslmode=%1), mas o servidor não oferece SSL. "
         "Peça ao administrador que ligue o SSL no servidor, como no manual (Uso em equipe)."},
        {"ERRO_SERVIDOR_CERTIFICADO",
         "o certificado do servidor não é de confiança: não foi assinado pela autoridade do "
         "arquivo indicado em sslrootcert (ou esse arquivo não existe), ou é de outro nome que "
         "não o do endereço. Confira com o administrador o arquivo da autoridade e o nome do "
         "servidor."},
        {"ERRO_URL_SEM_ESQUEMA",
         "\"%1\" não é um endereço do banco da equipe: falta o começo postgresql://. Use a forma "
         "postgresql://usuario@servidor:porta/banco, ou deixe o endereço vazio para usar o arquivo "
         "local."},
        {"ERRO_URL_ESQUEMA",
         "\"%1\" não é um endereço do banco da equipe: ele começa por %2 em vez de postgresql://. "
         "Use a forma postgresql://usuario@servidor:porta/banco."},
        {"ERRO_URL_ILEGIVEL",
         "\"%1\" não é um endereço do banco da equipe que se possa ler. Use a forma "
         "postgresql://usuario@servidor:porta/banco."},
        {"ERRO_URL_PARAMETRO",
         "O endereço do banco da equipe tem o parâmetro \"%1\", que o PostgreSQL não conhece. "
         "Confira a grafia (por exemplo sslmode, sslrootcert, connect_timeout)."},
        {"ERRO_URL_SSLMODE", "O endereço do banco da equipe pede sslmode=%1, que não existe. Use "
                             "disable, allow, prefer, require, verify-ca ou verify-full."},
        {"AVISO_SENHA_NA_URL",
         "Aviso: o endereço do banco da equipe traz uma senha, que os outros usuários deste "
         "computador podem ler na lista de processos. Ponha-a na variável PGPASSWORD ou no "
         "arquivo ~/.pgpass (permissão 0600) e tire-a do endereço."},
        {"ERRO_SERVIDOR_CRIAR",
         "o banco de dados está vazio, e o usuário \"%1\" não pode criar nele as tabelas do "
         "VLM-E (falta o direito CREATE no esquema %2). A primeira abertura é do dono do banco: "
         "peça ao administrador que a faça, como no manual (Uso em equipe)."},
        {"ERRO_SERVIDOR_ATUALIZAR",
         "o banco de dados precisa ser atualizado para esta versão do VLM-E, e o usuário \"%1\" "
         "não pode fazê-lo (falta o direito CREATE no esquema %2). A primeira abertura de uma "
         "versão nova é do dono do banco: peça ao administrador que a faça, como no manual (Uso "
         "em equipe)."},
        {"ERRO_SERVIDOR_DIREITO",
         "o usuário \"%1\" do servidor não tem o direito %2 %3. Peça ao administrador que o "
         "ponha no grupo vlme_equipe, com os direitos descritos no manual (Uso em equipe)."},
        {"TITULO_BANCO_EQUIPE", "Banco de dados da equipe"},
        {"TEXTO_BANCO_LOCAL", "Sem endereço, o programa usa o arquivo local VLM.MDB da sua pasta "
                              "de dados; não há servidor a testar."},
        {"TEXTO_BANCO_TESTE_OK",
         "Conexão bem-sucedida com o servidor %1 (PostgreSQL %2). Clique em OK para passar a "
         "trabalhar nele."},
        {"TEXTO_BANCO_FALHOU_TROCA", "O programa continua no banco de dados anterior."},
        {"ERRO_BANCO_SEM_BANCO",
         "Não foi possível voltar ao banco de dados anterior. O programa será encerrado."},
        {"PERGUNTA_SENHA_SERVIDOR", "Senha do usuário %1 no servidor %2:"},
        {"PERGUNTA_SENHA_NAO_CONFERE",
         "A senha não confere. Digite outra vez a senha do usuário %1 no servidor %2:"},
        {"ERRO_SERVIDOR_OUTRO_PROGRAMA",
         "o banco de dados é de outro programa, não do VLM-E. Indique um banco de dados vazio ou "
         "um do VLM-E."},
        {"ERRO_SERVIDOR_VERSAO_NOVA", "o banco de dados foi criado por uma versão mais nova do "
                                      "VLM-E. Atualize o programa neste computador."},
        {"ERRO_SERVIDOR_PERDIDO",
         "A conexão com o servidor do banco de dados foi perdida. A operação foi desfeita; "
         "verifique a rede e repita-a."},
        {"ERRO_SERVIDOR_TEMPO", "O servidor do banco de dados não respondeu a tempo. A operação "
                                "foi desfeita; repita-a daqui a pouco."},
        {"ERRO_SERVIDOR_PERMISSAO",
         "O usuário do servidor não tem permissão para esta operação no banco de dados. Peça ao "
         "administrador do servidor os direitos do grupo vlme_equipe, descritos no manual (Uso em "
         "equipe)."},

        // Waiting for another program's write.
        {"AVISO_ESPERA_GRAVACAO",
         "Aguardando outro programa terminar de gravar no banco de dados..."},
        {"ERRO_ESPERA_ESGOTADA", "Outro programa está gravando no banco de dados há mais de %1. "
                                 "Nada foi gravado; repita a operação daqui a pouco."},
        {"TEXTO_SEGUNDOS", "%1 segundos"},
        {"TEXTO_UM_SEGUNDO", "1 segundo"},
        {"ERRO_ESPERA_CANCELADA",
         "Operação cancelada enquanto esperava outro programa gravar: nada foi gravado."},

        // Reservations: %2 names the holder (TEXTO_RESERVADA_*).
        {"ERRO_RESERVADA", "A declaração %1 está reservada%2 e não pode ser alterada agora; ela "
                           "ainda pode ser consultada. Feche-a nesse programa, ou espere que ele "
                           "termine, e repita a operação."},
        {"ERRO_RESERVADA_GERAR",
         "A declaração %1 está reservada%2, que pode estar alterando-a; o arquivo de entrega só é "
         "gerado de uma declaração que ninguém está alterando. Feche-a nesse programa, ou espere "
         "que ele termine, e repita a operação."},
        {"TEXTO_RESERVADA_OUTRO", " por outro programa"},
        {"TEXTO_RESERVADA_POR", " pelo %1 do usuário %2 no computador %3 desde %4"},
        // A save refused: the statement changed after this program read it.
        // %2 names who changed it (TEXTO_ALTERADA_*).
        {"ERRO_DECLARACAO_ALTERADA",
         "A declaração %1 foi alterada%2 depois que este programa a leu. Nada foi gravado, "
         "para não desfazer essa alteração."},
        {"TEXTO_ALTERADA_OUTRO", " por outro programa"},
        {"TEXTO_ALTERADA_POR", " pelo %1 do usuário %2 no computador %3 em %4"},
        {"PERGUNTA_ALTERADA_NOVA",
         "%1\n\nDeseja guardar o que você digitou como uma nova declaração (uma cópia da "
         "declaração %2 com os seus valores)?\n\nSim: guarda como nova declaração.\n"
         "Não: lê de novo a declaração %2 como está gravada, descartando o que você digitou."},
        {"AVISO_ALTERADA_NOVA", "O que você digitou foi guardado na declaração %1, cópia da "
                                "declaração %2. A declaração %2 ficou como a outra pessoa a "
                                "gravou; compare as duas antes de continuar."},
        {"PERGUNTA_FECHAR_SEM_GRAVAR",
         "A declaração não foi gravada. Deseja fechá-la assim mesmo, perdendo o que foi digitado "
         "nos Dados Gerais desde a última gravação?"},
        // A statement opened while another program holds it.
        {"TITULO_CONSULTA", "VLM-E %1 - Somente consulta, em uso por %2"},
        {"TEXTO_CONSULTA", "Somente consulta: a declaração %1 está em uso%2. Nada do que for "
                           "mostrado aqui será gravado. Tecle F5 para ler de novo; se ela tiver "
                           "sido liberada, será aberta para alteração."},
        {"AVISO_SEM_USO", "A declaração %1 ficou %2 sem uso: foi gravada e fechada, "
                          "para que outros usuários possam alterá-la. Abra-a de novo para "
                          "continuar."},
        {"AVISO_SEM_USO_FECHADA", "A declaração %1 ficou %2 sem uso e foi fechada."},
        {"TEXTO_MINUTOS", "%1 minutos"},
        {"TEXTO_UM_MINUTO", "1 minuto"},
        // The team server gone and back.
        {"AVISO_ESPERA_SERVIDOR", "Aguardando a resposta do servidor do banco de dados..."},
        {"ERRO_SERVIDOR_OCUPADO", "O programa ainda espera a resposta do servidor do banco de "
                                  "dados a outra operação. Repita esta quando ela terminar."},
        {"ERRO_SERVIDOR_CANCELADA", "Operação cancelada enquanto esperava a resposta do servidor "
                                    "do banco de dados: nada foi gravado."},
        {"ERRO_SERVIDOR_RECONEXAO_CANCELADA",
         "Operação cancelada enquanto o programa tentava conectar-se de novo ao servidor do banco "
         "de dados: nada foi feito."},
        {"ERRO_SERVIDOR_PERDIDO_ANTES",
         "A conexão com o servidor do banco de dados foi perdida e ainda não voltou: nada foi "
         "feito. Verifique a rede e repita a operação daqui a pouco."},
        {"ERRO_SERVIDOR_INCERTO",
         "A conexão com o servidor do banco de dados foi perdida depois que o pedido de gravação "
         "foi enviado: não se sabe se a operação foi gravada. Antes de repeti-la, confira se ela "
         "já está no banco de dados (F5 na janela da declaração, ou vlme-cli listar)."},
        {"ERRO_RETOMANDO",
         "A conexão com o servidor do banco de dados foi perdida, e a sessão anterior deste "
         "programa no servidor ainda retém a declaração %1. O programa a retoma assim que o "
         "servidor encerrar aquela sessão; repita a operação daqui a pouco."},
        {"AVISO_CONEXAO_PERDIDA", "A conexão com o servidor do banco de dados foi perdida às %1; "
                                  "tentando de novo. Nada será gravado até ela voltar; o que "
                                  "for digitado continua na janela."},
        {"AVISO_CONEXAO_VOLTOU", "A conexão com o servidor voltou às %1 e a declaração está "
                                 "reservada de novo para você."},
        {"AVISO_IMPORTACAO_GRAVADA",
         "A conexão com o servidor do banco de dados foi perdida depois que o pedido de gravação "
         "foi enviado; conferido depois, a importação foi gravada: %1."},
        {"ERRO_IMPORTACAO_DESFEITA",
         "A conexão com o servidor do banco de dados foi perdida antes que a gravação terminasse; "
         "conferido depois, nada foi gravado. Repita a importação."},

        {"ERRO_RESERVA_PASTA", "Não foi possível reservar a declaração %1: a pasta %2 não permite "
                               "gravação. Verifique as permissões da pasta de dados."},

        // Copying and deleting a statement.
        {"TITULO_OPERACAO_CANCELADA", "Operação cancelada"},
        {"AVISO_OPERACAO_CANCELADA", "Operação cancelada pelo usuário."},
        {"TEXTO_COPIA_DE", "Cópia de "},
        {"PASSO_COPIA_VLME", "Copiando VLM-E"},
        {"PASSO_COPIA_IMPORTADOS", "Copiando Componentes Importados"},
        {"PASSO_COPIA_NACIONAIS", "Copiando Componentes Nacionais"},
        {"PASSO_COPIA_SUBCOMPONENTES", "Copiando Subcomponentes importados"},
        {"PASSO_COPIA_MODELOS", "Copiando Modelos"},
        {"PASSO_EXCLUSAO_PREPARA", "Preparando para excluir"},
        {"PASSO_EXCLUSAO_VLME", "Excluindo VLM-E"},
        {"PASSO_EXCLUSAO_FIM", "Finalizando exclusão"},
    };
    Erros catalogo;
    for (const auto &e : entradas)
        catalogo.Add(QString::fromLatin1(e.chave), QString::fromUtf8(e.texto));
    return catalogo;
}

const Erros &Catalogo() {
    static const Erros catalogo = CarregaCatalogo();
    return catalogo;
}

} // namespace vlme::base
