-- Sales points, their database logins and their sellers, as the central office sets them up.

-- Creates a sales point: the vendor and its own database login, member of vendura_puntos, which
-- may only call the procedures. The counter keeps the login and its password, encoded, as
-- "CuentaBD". Answers the login's name: "<database>_<vendor code>" unless one is given.
CREATE FUNCTION admin.crear_vendedor(p_cod_vendedor varchar, p_nombre varchar, p_clave text,
                                     p_cuenta name DEFAULT NULL) RETURNS name
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_cuenta name := coalesce(p_cuenta,
                              left(current_database(), 40) || '_' || lower(p_cod_vendedor));
BEGIN
    PERFORM central.exigir_supervisor();
    IF coalesce(p_cod_vendedor, '') !~ '^[A-Za-z0-9]{1,5}$' THEN
        RAISE EXCEPTION 'Código de vendedor inválido: de 1 a 5 letras o dígitos'
            USING ERRCODE = '22023';
    END IF;
    PERFORM central.exigir_clave_de_cuenta(p_clave);
    IF EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor) THEN
        RAISE EXCEPTION 'El vendedor % ya existe', p_cod_vendedor USING ERRCODE = '23505';
    END IF;
    PERFORM central.exigir_cuenta_nueva(v_cuenta);
    PERFORM central.texto_libre('El nombre', p_nombre);
    INSERT INTO central.vendedores (cod_vendedor, nombre) VALUES (p_cod_vendedor, p_nombre);
    EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L CONNECTION LIMIT %s IN ROLE vendura_puntos',
                   v_cuenta, p_clave, central.limite('conexiones'));
    -- defaults the login starts with; what a client may switch off is bounded again by the
    -- procedures' own lock timeout and by central.terminar_abusos
    EXECUTE format('ALTER ROLE %I SET lock_timeout = %L', v_cuenta, central.limite('bloqueo') || 's');
    EXECUTE format('ALTER ROLE %I SET statement_timeout = %L', v_cuenta,
                   central.limite('llamada') || 's');
    EXECUTE format('ALTER ROLE %I SET idle_in_transaction_session_timeout = %L', v_cuenta,
                   central.limite('transaccion') || 's');
    INSERT INTO central.cuentas (cuenta, cod_vendedor, clave_hash)
    VALUES (v_cuenta, p_cod_vendedor, central.crypt(p_clave, central.gen_salt('bf', 8)));
    PERFORM central.auditar('VENDEDOR_CREADO', p_cod_vendedor, NULL, 'cuenta ' || v_cuenta);
    RETURN v_cuenta;
END
$$;

-- Gives a sales point's login a new password (a counter replaced, a "CuentaBD" exposed).
CREATE FUNCTION admin.cambiar_clave_cuenta(p_cod_vendedor varchar, p_clave text) RETURNS name
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_cuenta name;
BEGIN
    PERFORM central.exigir_supervisor();
    SELECT c.cuenta INTO v_cuenta FROM central.cuentas c WHERE c.cod_vendedor = p_cod_vendedor;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no tiene cuenta', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    PERFORM central.exigir_clave_de_cuenta(p_clave);
    EXECUTE format('ALTER ROLE %I PASSWORD %L', v_cuenta, p_clave);
    -- the counters behind the pooler prove the new password too
    UPDATE central.cuentas SET clave_hash = central.crypt(p_clave, central.gen_salt('bf', 8))
    WHERE cuenta = v_cuenta;
    DELETE FROM central.sesiones WHERE cuenta = v_cuenta;
    PERFORM central.auditar('CUENTA_CLAVE', p_cod_vendedor, NULL, 'cuenta ' || v_cuenta);
    RETURN v_cuenta;
END
$$;

-- Creates a seller of a sales point with a password of its own (kept as a bcrypt hash).
CREATE FUNCTION admin.crear_usuario(p_cod_usuario varchar, p_cod_vendedor varchar,
                                    p_nombre varchar, p_clave text, p_permisos varchar DEFAULT '')
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF coalesce(p_cod_usuario, '') !~ '^[A-Za-z0-9]{1,5}$' THEN
        RAISE EXCEPTION 'Código de usuario inválido: de 1 a 5 letras o dígitos'
            USING ERRCODE = '22023';
    END IF;
    IF coalesce(p_clave, '') = '' OR length(p_clave) > 10 THEN
        RAISE EXCEPTION 'La clave del usuario debe tener de 1 a 10 caracteres'
            USING ERRCODE = '22023';
    END IF;
    IF NOT EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor) THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    IF EXISTS (SELECT FROM central.usuarios WHERE cod_usuario = p_cod_usuario) THEN
        RAISE EXCEPTION 'El usuario % ya existe', p_cod_usuario USING ERRCODE = '23505';
    END IF;
    PERFORM central.texto_libre('El nombre', p_nombre), central.texto_libre('Los permisos', p_permisos);
    INSERT INTO central.usuarios (cod_usuario, cod_vendedor, nombre, clave_hash, permisos)
    VALUES (p_cod_usuario, p_cod_vendedor, p_nombre,
            central.crypt(p_clave, central.gen_salt('bf', 10)), coalesce(p_permisos, ''));
    PERFORM central.auditar('USUARIO_CREADO', p_cod_vendedor, p_cod_usuario, p_nombre);
END
$$;
