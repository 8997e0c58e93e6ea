# Stored values the record layout cannot hold (with the general data set in the test;
# \n is a line break).
# A CNPJ takes letters A to Z (raised when lower case) but no other; a CPF none.
UPDATE VLME SET CNPJ_VLM = '12.ÁBC.345/01DE-35', CPF_VLM = '529982247A5'
UPDATE MODELOS SET PRECO_VENDA_MODELOS = -1.5
UPDATE COMPONENTES_NACIONAIS SET TX_DESCRICAO_NACIONAL = 'linha 1\n'
UPDATE COMPONENTES_IMPORTADOS SET NCM_IMPORTADO = '8517.12', IN_COM_SUSP_IMPORTADO = 2
UPDATE DI SET NR_DI_DI = '12345678901'
UPDATE NF SET DATA_EMISSAO_NF = '31/02/2023'
