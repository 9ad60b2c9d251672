-- Who is calling: the sales point behind the connection's login, the check every procedure makes
-- before it reads or writes, and the audit trail.

-- The sales point's login of the live session whose token a pooled connection's transaction
-- carries in the setting vendura.sesion; NULL when it carries none, or one unknown or expired.
-- A token is random and only its hash is kept, so no counter names another's session.
CREATE FUNCTION central.cuenta_del_token() RETURNS name
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT s.cuenta FROM central.sesiones s
            WHERE s.token_hash = central.hash_token(current_setting('vendura.sesion', true))
              AND s.vence > central.ahora());
END
$$;

-- The login whose sales point this connection acts for: its own login, or on a pooled connection
-- (login vendura_pasarela, which every counter behind the pooler shares) its session's. A plain
-- SQL expression, which the asking statement takes in whole: on a connection of its own login
-- no function is entered at all.
CREATE FUNCTION central.cuenta_de_sesion() RETURNS name
LANGUAGE sql STABLE AS $$
    SELECT CASE WHEN session_user <> 'vendura_pasarela' THEN session_user
                ELSE central.cuenta_del_token() END
$$;

CREATE FUNCTION central.hash_token(p_token text) RETURNS bytea
LANGUAGE sql IMMUTABLE AS $$
    SELECT sha256(convert_to(coalesce(p_token, ''), 'UTF8'))
$$;

-- The login an audit row is written for: the sales point's the connection acts for, else the
-- connection's own (a refused pooled call names vendura_pasarela).
CREATE FUNCTION central.cuenta_auditada() RETURNS name
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN coalesce(central.cuenta_de_sesion(), session_user);
END
$$;

-- The login a pooled connection's call acts for (central.cuenta_de_llamada). Compiled booking
-- proves a session the same way (server/native/seller.c) and calls this for a refusal.
CREATE FUNCTION central.cuenta_de_llamada_compartida() RETURNS name
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_cuenta name := central.cuenta_del_token();
BEGIN
    IF v_cuenta IS NULL THEN
        PERFORM central.auditar_rechazo('SESION_RECHAZADA', NULL, NULL,
                                        'sesión desconocida o vencida');
        RAISE EXCEPTION 'Sesión desconocida o vencida' USING ERRCODE = '28000';
    END IF;
    IF NOT pg_try_advisory_xact_lock(hashtext('vendura.sesion'),
                                     hashtext(current_setting('vendura.sesion'))) THEN
        RAISE EXCEPTION 'La sesión está en uso por otra llamada' USING ERRCODE = '55P03';
    END IF;
    RETURN v_cuenta;
END
$$;

-- The login a call acts for: central.cuenta_de_sesion, but a pooled connection's call that
-- carries no live session is refused whole (SQLSTATE 28000, audited in a transaction of its
-- own): the counter opens a session again and sends the call once more. A session serves one
-- call at a time, so a sales point keeps no more of the pooler's server connections busy than
-- the sessions it may hold. Taken in whole by the asking statement, as central.cuenta_de_sesion.
-- Compiled booking states the same rule (server/native/seller.c).
CREATE FUNCTION central.cuenta_de_llamada() RETURNS name
LANGUAGE sql STABLE AS $$
    SELECT CASE WHEN session_user <> 'vendura_pasarela' THEN session_user
                ELSE central.cuenta_de_llamada_compartida() END
$$;

-- The vendor whose sales point owns the login of this connection; NULL for any other login.
CREATE FUNCTION central.vendedor_de_sesion() RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_cuenta name := central.cuenta_de_llamada();
BEGIN
    RETURN (SELECT c.cod_vendedor FROM central.cuentas c WHERE c.cuenta = v_cuenta);
END
$$;

-- Appends one row to the audit trail, with the server's time and the connection's login.
CREATE FUNCTION central.auditar(p_accion varchar, p_vendedor text, p_usuario text,
                                p_detalle text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    INSERT INTO central.auditoria (momento, cuenta, cod_vendedor, cod_usuario, accion, detalle)
    VALUES (central.ahora(), central.cuenta_auditada(), left(p_vendedor, 20),
            left(p_usuario, 20), p_accion, left(p_detalle, 2000));
END
$$;

-- What must be written whatever the caller does afterwards (refusals and failed logins, which a
-- client could otherwise undo by rolling its transaction back) goes through the loopback login
-- vendura_autonomo (foreign server "autonomo", central.preparar_autonomo): a transaction of its
-- own, committed before the caller goes on. The functions it runs take the caller's login.

-- An audit row written for the caller's login in a transaction of its own.
CREATE FUNCTION central.autonomo_auditar(p_cuenta name, p_vendedor text, p_usuario text,
                                         p_accion varchar, p_detalle text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    INSERT INTO central.auditoria (momento, cuenta, cod_vendedor, cod_usuario, accion, detalle)
    VALUES (central.ahora(), p_cuenta, left(p_vendedor, 20), left(p_usuario, 20), p_accion,
            left(p_detalle, 2000));
END
$$;

-- Appends a refusal to the audit trail so that it stays, whatever the caller does afterwards.
CREATE FUNCTION central.auditar_rechazo(p_accion varchar, p_vendedor text, p_usuario text,
                                        p_detalle text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM 1 FROM central.dblink('autonomo',
        format('SELECT central.autonomo_auditar(%L, %L, %L, %L, %L)', central.cuenta_auditada(),
               left(p_vendedor, 20), left(p_usuario, 20), p_accion, left(p_detalle, 2000)))
        AS t(nada text);
END
$$;

-- Whether a seller may try a password now, in a transaction of its own: attempts of one seller
-- are taken one at a time (an advisory lock of this transaction, never one the caller holds), and
-- five that failed or are still pending within fifteen minutes of the server's clock, since the
-- last success, lock the seller out: the attempt is then refused and audited. Otherwise the
-- attempt is recorded as pending and its number answered.
CREATE FUNCTION central.autonomo_intento(p_cuenta name, p_vendedor text, p_usuario varchar)
RETURNS TABLE (intento bigint, bloqueado boolean)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_ahora timestamp := central.ahora();
    v_fallidos integer;
BEGIN
    PERFORM pg_advisory_xact_lock(hashtext('vendura.ingreso'), hashtext(p_usuario));
    SELECT count(*) INTO v_fallidos FROM central.intentos_ingreso i
    WHERE i.cod_usuario = p_usuario AND i.resultado <> 'O'
      AND i.momento > v_ahora - interval '15 minutes'
      AND i.id > coalesce((SELECT max(o.id) FROM central.intentos_ingreso o
                           WHERE o.cod_usuario = p_usuario AND o.resultado = 'O'), 0);
    IF v_fallidos >= 5 THEN
        PERFORM central.autonomo_auditar(p_cuenta, p_vendedor, p_usuario, 'INGRESO_BLOQUEADO',
                                         'cinco claves erradas en quince minutos');
        RETURN QUERY SELECT NULL::bigint, true;
        RETURN;
    END IF;
    RETURN QUERY
        INSERT INTO central.intentos_ingreso (cod_usuario, momento) VALUES (p_usuario, v_ahora)
        RETURNING id, false;
END
$$;

-- How an attempt ended: a success clears the count, a failure stays in it and is audited.
CREATE FUNCTION central.autonomo_resultado(p_cuenta name, p_vendedor text, p_usuario varchar,
                                           p_intento bigint, p_bien boolean) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    UPDATE central.intentos_ingreso SET resultado = CASE WHEN p_bien THEN 'O' ELSE 'F' END
    WHERE id = p_intento AND cod_usuario = p_usuario AND resultado = 'P';
    IF NOT p_bien THEN
        PERFORM central.autonomo_auditar(p_cuenta, p_vendedor, p_usuario, 'INGRESO_FALLIDO',
                                         'clave errada');
    END IF;
END
$$;

-- The caller's side of a login attempt: the attempt's number, NULL when the seller is locked out.
CREATE FUNCTION central.reservar_intento(p_vendedor text, p_usuario varchar) RETURNS bigint
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_intento bigint;
BEGIN
    SELECT t.intento INTO v_intento
    FROM central.dblink('autonomo',
        format('SELECT * FROM central.autonomo_intento(%L, %L, %L)', central.cuenta_auditada(),
               p_vendedor, p_usuario)) AS t(intento bigint, bloqueado boolean);
    RETURN v_intento;
END
$$;

CREATE FUNCTION central.resolver_intento(p_vendedor text, p_usuario varchar, p_intento bigint,
                                         p_bien boolean) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM 1 FROM central.dblink('autonomo',
        format('SELECT central.autonomo_resultado(%L, %L, %L, %s, %L)', central.cuenta_auditada(),
               p_vendedor, p_usuario, p_intento, p_bien)) AS t(nada text);
END
$$;

-- The loopback server the autonomous writes go through, pointed at this database; with a
-- password, the mapping that lets the owner of the procedures log in as vendura_autonomo.
-- With the addresses of a primary and its standby (same port), it goes to whichever of them
-- takes writes, so that a refusal met by a report on the standby is written on the primary.
-- Run by whoever creates or copies a central database (tools/db, central.proteger_base).
CREATE FUNCTION central.preparar_autonomo(p_clave text, p_hosts text DEFAULT NULL) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_foreign_server WHERE srvname = 'autonomo') THEN
        EXECUTE format('CREATE SERVER autonomo FOREIGN DATA WRAPPER dblink_fdw '
                       'OPTIONS (host %L, port %L, dbname %L)', '127.0.0.1',
                       current_setting('port'), current_database());
    ELSE
        EXECUTE format('ALTER SERVER autonomo OPTIONS (SET port %L, SET dbname %L)',
                       current_setting('port'), current_database());
    END IF;
    IF p_hosts IS NOT NULL THEN
        EXECUTE format('ALTER SERVER autonomo OPTIONS (SET host %L)', p_hosts);
        IF NOT EXISTS (SELECT FROM pg_foreign_server f, unnest(f.srvoptions) o
                       WHERE f.srvname = 'autonomo' AND o LIKE 'target_session_attrs=%') THEN
            EXECUTE 'ALTER SERVER autonomo OPTIONS (ADD target_session_attrs ''read-write'')';
        END IF;
    END IF;
    EXECUTE 'GRANT USAGE ON FOREIGN SERVER autonomo TO vendura_dueno';
    IF p_clave IS NOT NULL THEN
        EXECUTE 'DROP USER MAPPING IF EXISTS FOR vendura_dueno SERVER autonomo';
        EXECUTE format('CREATE USER MAPPING FOR vendura_dueno SERVER autonomo '
                       'OPTIONS (user %L, password %L)', 'vendura_autonomo', p_clave);
    END IF;
END
$$;

-- The same for many rows of one action at once, in the order given (a month's expired prizes
-- posted in one go).
CREATE FUNCTION central.auditar_varios(p_accion varchar, p_vendedor text, p_usuario text,
                                       p_detalles text[]) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    INSERT INTO central.auditoria (momento, cuenta, cod_vendedor, cod_usuario, accion, detalle)
    SELECT central.ahora(), central.cuenta_auditada(), left(p_vendedor, 20), left(p_usuario, 20),
           p_accion, left(x.detalle, 2000)
    FROM unnest(p_detalles) WITH ORDINALITY AS x(detalle, k)
    ORDER BY x.k;
END
$$;

-- The check of a procedure that receives no vendor: the caller must be a sales point.
CREATE FUNCTION central.autoriza(p_procedimiento text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF central.vendedor_de_sesion() IS NOT NULL THEN
        RETURN true;
    END IF;
    PERFORM central.auditar_rechazo('CUENTA_RECHAZADA', NULL, NULL,
                            p_procedimiento || ': la cuenta no es de un punto de venta');
    RETURN false;
END
$$;

-- The check of a procedure that receives a vendor code: it must be the vendor of the
-- connection's login. A refusal is audited; the procedure then answers its refusal and writes
-- nothing else.
CREATE FUNCTION central.autoriza(p_procedimiento text, p_vendedor text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    propio varchar := central.vendedor_de_sesion();
BEGIN
    IF propio IS NOT NULL AND p_vendedor = propio THEN
        RETURN true;
    END IF;
    PERFORM central.auditar_rechazo('CUENTA_RECHAZADA', p_vendedor, NULL,
                            p_procedimiento || ': el vendedor no es el de la cuenta');
    RETURN false;
END
$$;

-- The same for a procedure that also receives a user code: the user must belong to that vendor.
CREATE FUNCTION central.autoriza(p_procedimiento text, p_vendedor text, p_usuario text)
RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    propio varchar := central.vendedor_de_sesion();
BEGIN
    IF propio IS NOT NULL AND p_vendedor = propio AND EXISTS (
            SELECT FROM central.usuarios u
            WHERE u.cod_usuario = p_usuario AND u.cod_vendedor = propio) THEN
        RETURN true;
    END IF;
    PERFORM central.auditar_rechazo('CUENTA_RECHAZADA', p_vendedor, p_usuario,
                            p_procedimiento || ': el vendedor o el usuario no son de la cuenta');
    RETURN false;
END
$$;

-- Whether a seller with these states of the user and of the vendor may sell: both active. Plain
-- SQL, so that a query takes it in whole. Compiled booking states the same rule
-- (server/native/seller.c).
CREATE FUNCTION central.puede_vender(p_estado_usuario char, p_estado_vendedor char)
RETURNS boolean
LANGUAGE sql IMMUTABLE AS $$
    SELECT coalesce(p_estado_usuario = 'A' AND p_estado_vendedor = 'A', false)
$$;

-- Whether a seller may sell now (central.puede_vender). Checked again at every booking and
-- issue, so a suspension takes effect on a terminal already logged in.
CREATE FUNCTION central.usuario_activo(p_vendedor text, p_usuario text) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN EXISTS (
        SELECT FROM central.usuarios u JOIN central.vendedores v USING (cod_vendedor)
        WHERE u.cod_usuario = p_usuario AND u.cod_vendedor = p_vendedor
          AND central.puede_vender(u.estado, v.estado));
END
$$;

-- The seller a procedure acts for when it receives no user code: the one who last logged in
-- through the connection's login (xVLDUSRT records it).
CREATE FUNCTION central.usuario_de_sesion() RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT c.usuario_sesion FROM central.cuentas c WHERE c.cuenta = central.cuenta_de_sesion());
END
$$;

-- Whether a seller holds a permission code (the first three characters of a button's caption,
-- as the counter's screens check it): anywhere in the seller's permissions, in any letter case.
-- The procedures of guarded keys and menu entries ask this after central.autoriza, with the user
-- code they were sent, or else the seller logged in on the login; a refusal is audited and the
-- procedure answers its refusal code.
CREATE FUNCTION central.permitido(p_procedimiento text, p_vendedor text, p_usuario text,
                                  VARIADIC p_codigos text[]) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_usuario varchar := coalesce(p_usuario, central.usuario_de_sesion());
    v_permisos text;
    v_falta text;
BEGIN
    SELECT upper(coalesce(u.permisos, '')) INTO v_permisos FROM central.usuarios u
    WHERE u.cod_usuario = v_usuario AND u.cod_vendedor = p_vendedor;
    SELECT c INTO v_falta FROM unnest(p_codigos) c
    WHERE v_permisos IS NULL OR strpos(v_permisos, upper(left(c, 3))) = 0
    LIMIT 1;
    IF v_falta IS NULL THEN
        RETURN true;
    END IF;
    PERFORM central.auditar_rechazo('PERMISO_DENEGADO', p_vendedor, v_usuario,
                            format('%s: sin el permiso %s', p_procedimiento, v_falta));
    RETURN false;
END
$$;

-- A text a procedure stores or prints: control characters (below 32, and 127) are refused with
-- an error that names the field, so nothing of the call is written.
CREATE FUNCTION central.texto_libre(p_campo text, p_valor text) RETURNS text
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    IF p_valor ~ '[\x01-\x1f\x7f]' THEN
        RAISE EXCEPTION '% contiene caracteres de control', p_campo USING ERRCODE = '22023';
    END IF;
    RETURN p_valor;
END
$$;

-- A login's password, as every procedure that gives one takes it: eight characters at least.
CREATE FUNCTION central.exigir_clave_de_cuenta(p_clave text) RETURNS void
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    IF length(coalesce(p_clave, '')) < 8 THEN
        RAISE EXCEPTION 'La clave de la cuenta debe tener al menos 8 caracteres'
            USING ERRCODE = '22023';
    END IF;
END
$$;

-- A login about to be made is one the server does not have yet: logins belong to the cluster,
-- not to this database.
CREATE FUNCTION central.exigir_cuenta_nueva(p_cuenta name) RETURNS void
LANGUAGE plpgsql STABLE AS $$
BEGIN
    IF EXISTS (SELECT FROM pg_roles WHERE rolname = p_cuenta) THEN
        RAISE EXCEPTION 'La cuenta % ya existe en el servidor', p_cuenta USING ERRCODE = '42710';
    END IF;
END
$$;

-- Database rights are kept outside the database and a copy made from a template starts with the
-- defaults again: whoever creates a central database calls this on it.
CREATE FUNCTION central.proteger_base() RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
    EXECUTE format('REVOKE TEMPORARY ON DATABASE %I FROM PUBLIC', current_database());
    PERFORM central.preparar_autonomo(NULL);
END
$$;
