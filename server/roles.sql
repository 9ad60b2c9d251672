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
-- A copy made from this database as a template gets the default database rights again, so
-- whoever copies it runs this statement on the copy too (tools/db, the tests).
SELECT central.proteger_base();
