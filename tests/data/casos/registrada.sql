# What the forms never write, added to a statement (every mark bound to it):
# registered, with a receipt, a diagnostic and a print row.
UPDATE VLME SET PERC_REDUCAO_VLM = 12.5, NR_ARQUIVO_VLM = 42, NR_TRANSMISSAO_VLM = -1, CODIGO_VLM = '200100123', DT_REGISTRO_VLM = '2023-04-01 10:00:00', RAZAO_SOCIAL_VLM = 'Fábrica' WHERE NR_VLM_VLM = ?
INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO) VALUES (?, '1')
INSERT INTO ERRO (NR_VLM_ERRO, DESCRICAO_ERRO) VALUES (?, 'x')
INSERT INTO IMPRESSAO (NR_VLM_IMPRESSAO) VALUES (?)
