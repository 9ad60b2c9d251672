-- Every table, function and procedure of the central database belongs to vendura_dueno, a role
-- nobody logs in as: the procedures run with its rights, not a superuser's. Objects of the
-- extensions stay with them.
DO $$
DECLARE
    r record;
BEGIN
    EXECUTE 'ALTER SCHEMA central OWNER TO vendura_dueno';
    EXECUTE 'ALTER SCHEMA admin OWNER TO vendura_dueno';
    FOR r IN
        SELECT c.oid::regclass AS nombre, c.relkind FROM pg_class c
        JOIN pg_namespace n ON n.oid = c.relnamespace
        WHERE n.nspname = 'central' AND c.relkind IN ('r', 'v', 'S')
          AND NOT EXISTS (SELECT FROM pg_depend d
                          WHERE d.classid = 'pg_class'::regclass AND d.objid = c.oid
                            AND d.deptype IN ('e', 'a', 'i'))
    LOOP
        EXECUTE format('ALTER %s %s OWNER TO vendura_dueno',
                       CASE r.relkind WHEN 'r' THEN 'TABLE' WHEN 'v' THEN 'VIEW'
                                      ELSE 'SEQUENCE' END, r.nombre);
    END LOOP;
    FOR r IN
        SELECT p.oid::regprocedure AS nombre FROM pg_proc p
        JOIN pg_namespace n ON n.oid = p.pronamespace
        WHERE n.nspname IN ('central', 'admin', 'public')
          AND NOT EXISTS (SELECT FROM pg_depend d
                          WHERE d.classid = 'pg_proc'::regclass AND d.objid = p.oid
                            AND d.deptype = 'e')
    LOOP
        EXECUTE format('ALTER ROUTINE %s OWNER TO vendura_dueno', r.nombre);
    END LOOP;
    -- a lock a procedure waits for is given up after a few seconds whatever the caller set: one
    -- sales point's open transaction holds another's play that long at most
    FOR r IN
        SELECT p.oid::regprocedure AS nombre FROM pg_proc p
        JOIN pg_namespace n ON n.oid = p.pronamespace
        WHERE n.nspname = 'public' AND p.prokind = 'p'
    LOOP
        EXECUTE format('ALTER PROCEDURE %s SET lock_timeout = %L', r.nombre,
                       central.limite('bloqueo') || 's');
    END LOOP;
END
$$;

-- Sales points may call the procedures of schema public and do nothing else: no table, no
-- sequence, no function of schema central, no TEMP tables. The central office's role calls the
-- functions of schema admin.
REVOKE ALL ON SCHEMA central FROM PUBLIC;
REVOKE ALL ON ALL TABLES IN SCHEMA central FROM PUBLIC;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA central FROM PUBLIC;
REVOKE EXECUTE ON ALL FUNCTIONS IN SCHEMA central FROM PUBLIC;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
REVOKE EXECUTE ON ALL ROUTINES IN SCHEMA public FROM PUBLIC;
REVOKE ALL ON SCHEMA admin FROM PUBLIC;
REVOKE EXECUTE ON ALL ROUTINES IN SCHEMA admin FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO vendura_puntos;
GRANT EXECUTE ON ALL PROCEDURES IN SCHEMA public TO vendura_puntos;
GRANT USAGE ON SCHEMA admin TO vendura_oficina;
GRANT EXECUTE ON ALL ROUTINES IN SCHEMA admin TO vendura_oficina;
-- the owner calls the extensions' functions; the loopback login only what it writes
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA central TO vendura_dueno;
GRANT USAGE ON SCHEMA central TO vendura_autonomo;
GRANT EXECUTE ON FUNCTION central.autonomo_auditar(name, text, text, varchar, text),
                          central.autonomo_intento(name, text, varchar),
                          central.autonomo_resultado(name, text, varchar, bigint, boolean)
    TO vendura_autonomo;
-- A copy made from this database as a template gets the default database rights again, so
-- whoever copies it runs this statement on the copy too (tools/db, the tests).
SELECT central.proteger_base();
