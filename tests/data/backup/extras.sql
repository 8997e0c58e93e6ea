-- Added to the statement the builder made (every mark bound to it): both
-- national components on one invoice, a long product name, a receipt, two
-- diagnostic rows (the first moved away and back after the second was written), and
-- another statement with a diagnostic row of its own.
UPDATE COMPONENTES_NACIONAIS SET NR_SEQ_NF_NACIONAL = (SELECT min(NR_SEQ_NF_NACIONAL)
  FROM COMPONENTES_NACIONAIS WHERE NR_VLM_NACIONAL = ?) WHERE NR_VLM_NACIONAL = ?;
UPDATE VLME SET DEN_PRODUTO_VLM = 'PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP0123456789', RAZAO_SOCIAL_VLM = 'Fábrica',
  DT_REGISTRO_VLM = '2023-04-01' WHERE NR_VLM_VLM = ?;
INSERT INTO RECIBO (NR_VLM_RECIBO, CNPJ_RECIBO, SELO_RECIBO) VALUES (?, '1', 'selo');
INSERT INTO ERRO VALUES (?, 'd', 'l', 'r', 'E');
INSERT INTO ERRO VALUES (?, 'd2', 'l', 'r', 'A');
UPDATE ERRO SET NR_VLM_ERRO = -1 WHERE DESCRICAO_ERRO = 'd' AND NR_VLM_ERRO = ?;
UPDATE ERRO SET NR_VLM_ERRO = ? WHERE NR_VLM_ERRO = -1;
INSERT INTO VLME (CODIGO_VLM) VALUES ('');
INSERT INTO ERRO SELECT max(NR_VLM_VLM), 'outra', 'l', 'r', 'E' FROM VLME
