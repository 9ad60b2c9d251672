-- Login and session procedures. Every procedure of the central database has the same shape:
-- INOUT return_value integer first, then the parameters in the order the program sends them,
-- then INOUT rs refcursor, which the procedure always opens (empty when it has no rows).

-- Validates a seller of the connection's sales point. Return value 55: no such user at this
-- sales point (a user of another one is refused and audited); 11 / 12: the user or the vendor
-- is inactive / suspended; 0 with no record: a wrong password. A password is checked only after
-- the attempt was recorded in a transaction of its own (central.reservar_intento), one attempt
-- of a seller at a time: five wrong or unfinished attempts within fifteen minutes lock the
-- seller out, and the password is then not checked until the window has passed (the answer is
-- that of a wrong password); a success clears the count. Failures and refusals are audited in a
-- transaction of their own, so no rollback of the caller undoes them. A success makes the
-- seller the one the login acts for in the procedures that receive no user code.
CREATE PROCEDURE public.xvldusrt(
    INOUT return_value integer,
    INOUT xmodo varchar,
    IN xusuario varchar,
    IN xclave varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    u central.usuarios;
    v central.vendedores;
    propio varchar := central.vendedor_de_sesion();
    v_intento bigint;
    v_bien boolean;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    SELECT * INTO u FROM central.usuarios WHERE cod_usuario = xusuario;
    IF NOT FOUND OR propio IS NULL OR u.cod_vendedor <> propio THEN
        return_value := 55;
        IF FOUND THEN
            PERFORM central.auditar_rechazo('CUENTA_RECHAZADA', u.cod_vendedor, xusuario,
                                            'xVLDUSRT: el usuario no es de la cuenta');
        ELSE
            PERFORM central.auditar_rechazo('INGRESO_FALLIDO', propio, xusuario,
                                            'usuario no existe');
        END IF;
        RETURN;
    END IF;
    SELECT * INTO v FROM central.vendedores WHERE cod_vendedor = u.cod_vendedor;
    xmodo := v.nombre;
    IF u.estado = 'I' OR v.estado = 'I' THEN
        return_value := 11;
    ELSIF u.estado = 'S' OR v.estado = 'S' THEN
        return_value := 12;
    ELSE
        return_value := 0;
    END IF;
    IF return_value <> 0 THEN
        PERFORM central.auditar_rechazo('INGRESO_FALLIDO', propio, xusuario,
                                        CASE return_value WHEN 11 THEN 'inactivo'
                                                          ELSE 'suspendido' END);
        RETURN;
    END IF;

    v_intento := central.reservar_intento(propio, u.cod_usuario);
    IF v_intento IS NULL THEN
        RETURN;
    END IF;
    v_bien := u.clave_hash IS NOT DISTINCT FROM crypt(coalesce(xclave, ''), u.clave_hash);
    PERFORM central.resolver_intento(propio, u.cod_usuario, v_intento, v_bien);
    IF NOT v_bien THEN
        RETURN;
    END IF;
    PERFORM central.auditar('INGRESO', propio, xusuario, NULL);
    -- the procedures that receive no user code act for this seller from now on
    UPDATE central.cuentas SET usuario_sesion = u.cod_usuario, sesion_desde = central.ahora()
    WHERE cuenta = central.cuenta_de_sesion();
    CLOSE rs;
    OPEN rs FOR SELECT * FROM central.parametros_usuario p WHERE p.cod_usuario = u.cod_usuario;
END
$$;

-- Hands the terminal of a vendor the number under which it builds its next ticket. Whatever
-- the terminal still had open is abandoned and its quota given back. -1: not this sales point.
CREATE PROCEDURE public.nregresaticket(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('nregresaticket', xcodigo_vend) THEN
        return_value := -1;
        RETURN;
    END IF;
    return_value := central.nuevo_ticket_temporal(xcodigo_vend);
END
$$;

-- The server's business date and time.
CREATE PROCEDURE public.retornafecha(
    INOUT return_value integer,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    -- a cursor runs at FETCH time with the caller's rights: hand it values, not function calls
    fecha text := to_char(central.ahora(), 'YYYY-MM-DD HH24:MI:SS');
BEGIN
    IF NOT central.autoriza('Retornafecha') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR SELECT fecha AS fecha;
END
$$;

-- Opens a session for a counter that reaches the server through the connection pooler, where
-- every counter shares the login vendura_pasarela: the sales point's login and password, checked
-- against the hash kept of it, give a random token that the counter sets in every transaction it
-- sends after (vendura.sesion) for the hours the central office allows. A sales point holds as
-- many sessions at once as it may hold connections: one more ends its oldest. 0 and xtoken: the
-- session is open. 1: an unknown login or a wrong password, or five wrong passwords within
-- fifteen minutes (the password is then not checked), audited in a transaction of their own.
CREATE PROCEDURE public.xabresesion(
    INOUT return_value integer,
    IN xcuenta varchar,
    IN xclave varchar,
    INOUT xtoken varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    c central.cuentas;
    v_intento bigint;
    v_bien boolean;
    v_ahora timestamp := central.ahora();
BEGIN
    OPEN rs FOR SELECT WHERE false;
    return_value := 1;
    xtoken := NULL;
    -- one session opened at a time for a sales point, so none holds more than it may
    SELECT * INTO c FROM central.cuentas
    WHERE cuenta = left(coalesce(xcuenta, ''), 63)
    FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM central.auditar_rechazo('SESION_RECHAZADA', NULL, NULL,
                                        'cuenta desconocida: ' || left(coalesce(xcuenta, ''), 63));
        RETURN;
    END IF;
    v_intento := central.reservar_intento(c.cod_vendedor, '@' || c.cod_vendedor);
    IF v_intento IS NULL THEN
        RETURN;
    END IF;
    v_bien := c.clave_hash IS NOT NULL
              AND c.clave_hash = crypt(coalesce(xclave, ''), c.clave_hash);
    PERFORM central.resolver_intento(c.cod_vendedor, '@' || c.cod_vendedor, v_intento, v_bien);
    IF NOT v_bien THEN
        RETURN;
    END IF;

    DELETE FROM central.sesiones s
    WHERE s.cuenta = c.cuenta
      AND (s.vence <= v_ahora
           OR s.token_hash IN (SELECT x.token_hash FROM central.sesiones x
                               WHERE x.cuenta = c.cuenta
                               ORDER BY x.orden DESC
                               OFFSET central.limite('conexiones') - 1));
    xtoken := encode(central.gen_random_bytes(32), 'hex');
    INSERT INTO central.sesiones (token_hash, cuenta, abierta, vence)
    VALUES (central.hash_token(xtoken), c.cuenta, v_ahora,
            v_ahora + make_interval(hours => central.limite('sesion_horas')));
    INSERT INTO central.auditoria (momento, cuenta, cod_vendedor, accion)
    VALUES (v_ahora, c.cuenta, c.cod_vendedor, 'SESION_ABIERTA');
    return_value := 0;
END
$$;

-- Ends the session the transaction carries: a counter closing its connection to the pooler.
CREATE PROCEDURE public.xcierrasesion(
    INOUT return_value integer,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    OPEN rs FOR SELECT WHERE false;
    DELETE FROM central.sesiones s
    WHERE s.token_hash = central.hash_token(current_setting('vendura.sesion', true));
    return_value := 0;
END
$$;
