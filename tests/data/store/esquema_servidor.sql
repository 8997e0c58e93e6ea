-- A test's own schema on the server (%1 its name), with the SQLite functions
-- the tests' queries use to look at rows; one statement ends at ";" and a line end.
CREATE SCHEMA %1;
GRANT USAGE ON SCHEMA %1 TO vlme_equipe;
CREATE FUNCTION %1.quote(anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS
  $$SELECT CASE WHEN $1 IS NULL THEN 'NULL'
    WHEN pg_typeof($1) IN ('double precision'::regtype, 'real'::regtype)
      AND $1::text ~ '^-?[0-9]+$' THEN $1::text || '.0'
    WHEN pg_typeof($1) IN ('integer'::regtype, 'bigint'::regtype,
      'double precision'::regtype, 'real'::regtype) THEN $1::text
    ELSE quote_literal($1) END$$;
CREATE FUNCTION %1.junta(text, anyelement, text) RETURNS text LANGUAGE sql IMMUTABLE AS
  $$SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN $2::text
    ELSE $1 || $3 || $2::text END$$;
CREATE FUNCTION %1.junta(text, anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS
  $$SELECT %1.junta($1, $2, ',')$$;
CREATE AGGREGATE %1.group_concat(anyelement) (sfunc = %1.junta, stype = text);
CREATE AGGREGATE %1.group_concat(anyelement, text) (sfunc = %1.junta, stype = text);
CREATE FUNCTION %1.iif(boolean, anycompatible, anycompatible) RETURNS anycompatible
  LANGUAGE sql IMMUTABLE AS $$SELECT CASE WHEN $1 THEN $2 ELSE $3 END$$;
CREATE FUNCTION %1.round(double precision, integer) RETURNS double precision
  LANGUAGE sql IMMUTABLE AS $$SELECT round($1::numeric, $2)::double precision$$;
CREATE FUNCTION %1.pragma_table_info(text)
  RETURNS TABLE(name text, type text, dflt_value text) LANGUAGE sql STABLE AS
  $$SELECT upper(column_name::text), upper(data_type::text), column_default::text
    FROM information_schema.columns WHERE table_schema = '%1'
    AND table_name = lower($1) AND column_name <> 'rowid' ORDER BY ordinal_position$$
