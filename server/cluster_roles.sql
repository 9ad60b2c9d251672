-- The counter program's login role. It exists once per cluster; every central database grants it
-- EXECUTE on its procedures and nothing else.
DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_app') THEN
        CREATE ROLE vendura_app LOGIN PASSWORD 'kalvora-pv-1756';
    END IF;
END
$$;
