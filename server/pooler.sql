-- How the connection pooler (pgbouncer) learns a login's password verifier: it asks this
-- function as vendura_pooler, which may do nothing else. Only the logins of sales points, of
-- the pooled counters and of the central office are answered; never a superuser's.
CREATE SCHEMA IF NOT EXISTS pooler;
REVOKE ALL ON SCHEMA pooler FROM PUBLIC;

CREATE OR REPLACE FUNCTION pooler.credencial(p_login text, OUT usename name, OUT passwd text)
RETURNS record
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS $$
    SELECT a.rolname, a.rolpassword FROM pg_authid a
    WHERE a.rolname = p_login AND a.rolcanlogin AND NOT a.rolsuper
      AND (pg_has_role(a.oid, 'vendura_puntos', 'MEMBER')
           OR pg_has_role(a.oid, 'vendura_oficina', 'MEMBER'))
$$;
REVOKE ALL ON FUNCTION pooler.credencial(text) FROM PUBLIC;
GRANT USAGE ON SCHEMA pooler TO vendura_pooler;
GRANT EXECUTE ON FUNCTION pooler.credencial(text) TO vendura_pooler;
