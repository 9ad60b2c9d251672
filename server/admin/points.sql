-- Sales points and sellers after they were created: suspension, passwords, commissions and
-- messages.

-- 'A' active, 'S' suspended, 'I' inactive. A suspension takes effect on a counter already
-- logged in: every booking, issue and payment asks again.
CREATE FUNCTION admin.estado_vendedor(p_cod_vendedor varchar, p_estado varchar) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM central.exigir_supervisor();
    IF coalesce(p_estado, '') NOT IN ('A', 'S', 'I') THEN
        RAISE EXCEPTION 'Estado inválido: A, S o I' USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET estado = p_estado WHERE cod_vendedor = p_cod_vendedor;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    PERFORM central.auditar('VENDEDOR_ESTADO', p_cod_vendedor, NULL, p_estado);
    -- a sales point that may not sell holds no quota
    IF p_estado <> 'A' THEN
        PERFORM admin.liberar_tickets(p_cod_vendedor);
    END IF;
END
$$;

CREATE FUNCTION admin.estado_usuario(p_cod_usuario varchar, p_estado varchar) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_vendedor varchar;
BEGIN
    IF coalesce(p_estado, '') NOT IN ('A', 'S', 'I') THEN
        RAISE EXCEPTION 'Estado inválido: A, S o I' USING ERRCODE = '22023';
    END IF;
    UPDATE central.usuarios SET estado = p_estado WHERE cod_usuario = p_cod_usuario
    RETURNING cod_vendedor INTO v_vendedor;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El usuario % no existe', p_cod_usuario USING ERRCODE = '22023';
    END IF;
    PERFORM central.auditar('USUARIO_ESTADO', v_vendedor, p_cod_usuario, p_estado);
END
$$;

-- A seller's new password (forgotten, or handed to someone else). The failed logins of the
-- old one no longer lock the seller out.
CREATE FUNCTION admin.cambiar_clave_usuario(p_cod_usuario varchar, p_clave text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_vendedor varchar;
BEGIN
    IF coalesce(p_clave, '') = '' OR length(p_clave) > 10 THEN
        RAISE EXCEPTION 'La clave del usuario debe tener de 1 a 10 caracteres'
            USING ERRCODE = '22023';
    END IF;
    UPDATE central.usuarios SET clave_hash = central.crypt(p_clave, central.gen_salt('bf', 10))
    WHERE cod_usuario = p_cod_usuario
    RETURNING cod_vendedor INTO v_vendedor;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El usuario % no existe', p_cod_usuario USING ERRCODE = '22023';
    END IF;
    PERFORM central.auditar('USUARIO_CLAVE', v_vendedor, p_cod_usuario, 'clave restablecida');
END
$$;

-- A sales point's commission in percent, on one lottery or ('*') on every lottery without its
-- own.
CREATE FUNCTION admin.fijar_comision(p_cod_vendedor varchar, p_porcentaje numeric,
                                     p_cod_lot varchar DEFAULT '*') RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := upper(coalesce(p_cod_lot, '*'));
BEGIN
    PERFORM central.exigir_supervisor();
    IF NOT EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor) THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    IF v_lot <> '*' AND NOT EXISTS (SELECT FROM central.loterias WHERE cod_lot = v_lot) THEN
        RAISE EXCEPTION 'La lotería % no existe', v_lot USING ERRCODE = '22023';
    END IF;
    IF p_porcentaje IS NULL OR p_porcentaje NOT BETWEEN 0 AND 100
       OR p_porcentaje <> round(p_porcentaje, 2) THEN
        RAISE EXCEPTION 'La comisión va de 0 a 100 por ciento, con dos decimales a lo sumo'
            USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.comisiones (cod_vendedor, cod_lot, porcentaje)
    VALUES (p_cod_vendedor, v_lot, p_porcentaje)
    ON CONFLICT (cod_vendedor, cod_lot) DO UPDATE SET porcentaje = EXCLUDED.porcentaje;
    PERFORM central.auditar('COMISION', p_cod_vendedor, NULL,
                            format('%s%% en %s', p_porcentaje, v_lot));
END
$$;

