# The rows the lookups and the diagnostic list of data/casos/foco_ao_abrir.tsv show; ? is the statement.
INSERT INTO NCM_ITEM (CD_NCM_PRODUTO, DESCR_NCM_PRODUTO) VALUES ('85171231', 'Telefones')
INSERT INTO UNIDADE_MEDIDA (CD_UNID_MEDIDA, NM_MEDIDA) VALUES ('UN', 'Unidade')
INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO, LOCAL_ERRO, REGISTRO_ERRO, TIPO_ERRO) VALUES (?, 'CNPJ inválido', 'Ficha 2', 'Registro 3', '1')
