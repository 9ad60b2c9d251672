-- Roles of the whole cluster. Each sales point logs in with a role of its own, made by
-- admin.crear_vendedor as a member of vendura_puntos; the central office's operators are members
-- of vendura_oficina. Neither group logs in.
DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_puntos') THEN
        CREATE ROLE vendura_puntos NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_oficina') THEN
        CREATE ROLE vendura_oficina NOLOGIN;
    END IF;
    -- the one account every counter once shared
    IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_app') THEN
        ALTER ROLE vendura_app NOLOGIN PASSWORD NULL;
    END IF;
END
$$;
