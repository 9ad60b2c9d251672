-- Roles of the whole cluster. Each sales point logs in with a role of its own, made by
-- admin.crear_vendedor as a member of vendura_puntos; the central office's operators are members
-- of vendura_oficina. Neither group logs in. The password of vendura_autonomo is set by whoever
-- starts the cluster (tools/db) and kept in the user mapping of each central database.
DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_puntos') THEN
        CREATE ROLE vendura_puntos NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_oficina') THEN
        CREATE ROLE vendura_oficina NOLOGIN;
    END IF;
    -- owns every table, function and procedure of the central databases: nobody logs in as it,
    -- and it creates the sales points' logins
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_dueno') THEN
        CREATE ROLE vendura_dueno NOLOGIN CREATEROLE;
    END IF;
    -- the loopback login through which refusals and failed logins are written in a transaction of
    -- their own, out of the caller's reach (central.autonomo); it may call those functions only
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_autonomo') THEN
        CREATE ROLE vendura_autonomo LOGIN CONNECTION LIMIT 40;
    END IF;
    -- the login every counter behind the connection pooler shares: it may call what a sales
    -- point may call, and each call acts for the sales point of the session it carries
    -- (central.cuenta_de_sesion); its password is the pooler's, not a sales point's secret
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_pasarela') THEN
        CREATE ROLE vendura_pasarela LOGIN IN ROLE vendura_puntos;
    END IF;
    -- the connection pooler's own login: it asks for the password verifiers of the logins
    -- that come through it (pooler.credencial) and nothing else
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_pooler') THEN
        CREATE ROLE vendura_pooler LOGIN CONNECTION LIMIT 10;
    END IF;
    -- the one account every counter once shared
    IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'vendura_app') THEN
        ALTER ROLE vendura_app NOLOGIN PASSWORD NULL;
    END IF;
END
$$;
GRANT pg_signal_backend, pg_read_all_stats TO vendura_dueno;
-- the pooled login starts with the limits every sales point's own login has (central.limite)
ALTER ROLE vendura_pasarela SET lock_timeout = '3s';
ALTER ROLE vendura_pasarela SET statement_timeout = '30s';
ALTER ROLE vendura_pasarela SET idle_in_transaction_session_timeout = '30s';
