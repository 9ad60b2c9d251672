-- The central office's own logins and their roles.

-- Refuses the caller unless it is a supervisor of the office (or the cluster's superuser, who
-- installs it). Supervisors decide what binds the network's money and its sales points: payouts,
-- settlements, prize expiry, cancellation windows, permutation digits, quota shares, commissions,
-- the sales points themselves and their logins, and the office's own logins. Clerks enter
-- results, confirm or reject movements, record deposits and loans, send messages, look after
-- sellers and release tickets.
CREATE FUNCTION central.exigir_supervisor() RETURNS void
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM central.oficinistas o
                   WHERE o.cuenta = session_user AND o.rol = 'SUPERVISOR')
       AND NOT (SELECT r.rolsuper FROM pg_roles r WHERE r.rolname = session_user) THEN
        RAISE EXCEPTION 'Solo un supervisor de la oficina puede hacerlo' USING ERRCODE = '42501';
    END IF;
END
$$;

-- A login of the central office for one person, with its role (OFICINISTA or SUPERVISOR) and
-- password. Only a supervisor makes one. Audited.
CREATE FUNCTION admin.crear_oficinista(p_cuenta varchar, p_nombre varchar, p_rol varchar,
                                       p_clave text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_rol varchar := upper(trim(coalesce(p_rol, '')));
BEGIN
    PERFORM central.exigir_supervisor();
    IF coalesce(p_cuenta, '') !~ '^[a-z][a-z0-9_]{2,30}$' THEN
        RAISE EXCEPTION 'Cuenta inválida: de 3 a 31 minúsculas, dígitos o _, empezando por letra'
            USING ERRCODE = '22023';
    END IF;
    IF v_rol NOT IN ('OFICINISTA', 'SUPERVISOR') THEN
        RAISE EXCEPTION 'El rol es OFICINISTA o SUPERVISOR' USING ERRCODE = '22023';
    END IF;
    PERFORM central.exigir_clave_de_cuenta(p_clave);
    PERFORM central.exigir_cuenta_nueva(p_cuenta);
    PERFORM central.texto_libre('El nombre', p_nombre);
    INSERT INTO central.oficinistas (cuenta, nombre, rol) VALUES (p_cuenta, p_nombre, v_rol);
    EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L IN ROLE vendura_oficina', p_cuenta,
                   p_clave);
    PERFORM central.auditar('OFICINISTA_CREADO', NULL, NULL, p_cuenta || ' ' || v_rol);
END
$$;

-- The office's logins and their roles.
CREATE FUNCTION admin.oficinistas()
RETURNS TABLE (cuenta name, nombre varchar, rol varchar, creado timestamp)
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
    SELECT o.cuenta, o.nombre, o.rol, o.creado FROM central.oficinistas o ORDER BY o.cuenta
$$;
