-- The name of the restored statement, and how many of its national and imported
-- components carry their own sequence as import sequence.
SELECT DEN_PRODUTO_VLM,
       (SELECT count(*) FROM COMPONENTES_NACIONAIS
         WHERE NR_VLM_NACIONAL = ? AND NR_SQ_IMPORTACAO = NR_SQ_NACIONAL),
       (SELECT count(*) FROM COMPONENTES_IMPORTADOS
         WHERE NR_VLM_IMPORTADO = ? AND NR_SQ_IMPORTACAO = NR_SQ_IMPORTADO)
  FROM VLME WHERE NR_VLM_VLM = ?
