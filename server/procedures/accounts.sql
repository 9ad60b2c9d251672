-- Who is calling: the sales point behind the connection's login, the check every procedure makes
-- before it reads or writes, and the audit trail.

-- The vendor whose sales point owns the login of this connection; NULL for any other login.
CREATE FUNCTION central.vendedor_de_sesion() RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT c.cod_vendedor FROM central.cuentas c WHERE c.cuenta = session_user);
END
$$;

-- Appends one row to the audit trail, with the server's time and the connection's login.
CREATE FUNCTION central.auditar(p_accion varchar, p_vendedor text, p_usuario text,
                                p_detalle text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    INSERT INTO central.auditoria (momento, cuenta, cod_vendedor, cod_usuario, accion, detalle)
    VALUES (central.ahora(), session_user, left(p_vendedor, 20), left(p_usuario, 20), p_accion,
            left(p_detalle, 2000));
END
$$;

-- The check of a procedure that receives no vendor: the caller must be a sales point.
CREATE FUNCTION central.autoriza(p_procedimiento text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF central.vendedor_de_sesion() IS NOT NULL THEN
        RETURN true;
    END IF;
    PERFORM central.auditar('CUENTA_RECHAZADA', NULL, NULL,
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
    PERFORM central.auditar('CUENTA_RECHAZADA', p_vendedor, NULL,
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
    PERFORM central.auditar('CUENTA_RECHAZADA', p_vendedor, p_usuario,
                            p_procedimiento || ': el vendedor o el usuario no son de la cuenta');
    RETURN false;
END
$$;

-- Whether a seller may sell now: the user and the vendor are both active. Checked again at
-- every booking and issue, so a suspension takes effect on a terminal already logged in.
CREATE FUNCTION central.usuario_activo(p_vendedor text, p_usuario text) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN EXISTS (
        SELECT FROM central.usuarios u JOIN central.vendedores v USING (cod_vendedor)
        WHERE u.cod_usuario = p_usuario AND u.cod_vendedor = p_vendedor
          AND u.estado = 'A' AND v.estado = 'A');
END
$$;

-- The seller a procedure acts for when it receives no user code: the one who last logged in
-- through the connection's login (xVLDUSRT records it).
CREATE FUNCTION central.usuario_de_sesion() RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT c.usuario_sesion FROM central.cuentas c WHERE c.cuenta = session_user);
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
    PERFORM central.auditar('PERMISO_DENEGADO', p_vendedor, v_usuario,
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

-- Database rights are kept outside the database and a copy made from a template starts with the
-- defaults again: whoever creates a central database calls this on it.
CREATE FUNCTION central.proteger_base() RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
    EXECUTE format('REVOKE TEMPORARY ON DATABASE %I FROM PUBLIC', current_database());
END
$$;
