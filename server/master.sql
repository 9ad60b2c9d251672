-- The name-resolving database "master": turns the server names that sales points are installed
-- with into addresses.
CREATE SCHEMA central;
CREATE TABLE central.nombres_servidor (
    nombre     varchar(20) PRIMARY KEY,
    direccion  varchar(20) NOT NULL
);

CREATE PROCEDURE public.obternerip(
    INOUT return_value integer,
    IN server varchar,
    INOUT dir_ipdevuelta varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    OPEN rs FOR SELECT WHERE false;
    SELECT n.direccion INTO dir_ipdevuelta
    FROM central.nombres_servidor n WHERE lower(n.nombre) = lower(trim(server));
    IF NOT FOUND THEN
        dir_ipdevuelta := '0';
        return_value := 1;
    ELSE
        return_value := 0;
    END IF;
END
$$;

REVOKE ALL ON SCHEMA central FROM PUBLIC;
REVOKE ALL ON ALL TABLES IN SCHEMA central FROM PUBLIC;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
REVOKE EXECUTE ON ALL ROUTINES IN SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO vendura_puntos;
GRANT EXECUTE ON ALL PROCEDURES IN SCHEMA public TO vendura_puntos;
SELECT format($$REVOKE TEMPORARY ON DATABASE %I FROM PUBLIC$$, current_database()) \gexec
