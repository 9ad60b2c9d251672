-- The central office's rules for issued tickets.

-- Sets how many minutes after the sale a sales point may cancel its tickets (0: never; at most a
-- day). A ticket already sold is judged by the window in force when its cancellation is asked.
CREATE FUNCTION admin.fijar_minutos_anulacion(p_cod_vendedor varchar, p_minutos integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_antes integer;
BEGIN
    IF p_minutos IS NULL OR p_minutos NOT BETWEEN 0 AND 1440 THEN
        RAISE EXCEPTION 'Los minutos para anular deben ir de 0 a 1440' USING ERRCODE = '22023';
    END IF;
    SELECT v.minutos_anulacion INTO v_antes FROM central.vendedores v
    WHERE v.cod_vendedor = p_cod_vendedor FOR UPDATE;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET minutos_anulacion = p_minutos
    WHERE cod_vendedor = p_cod_vendedor;
    PERFORM central.auditar('TIEMPO_ANULACION', p_cod_vendedor, NULL,
                            format('de %s a %s minutos', v_antes, p_minutos));
END
$$;

-- Sets how many days after its last draw a prize of a sales point's tickets is paid (0 to 999).
-- A ticket keeps the value in force when it was issued, printed on it and applied at payment.
CREATE FUNCTION admin.fijar_dias_caducidad(p_cod_vendedor varchar, p_dias integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_antes integer;
BEGIN
    IF p_dias IS NULL OR p_dias NOT BETWEEN 0 AND 999 THEN
        RAISE EXCEPTION 'Los días para cobrar un premio van de 0 a 999' USING ERRCODE = '22023';
    END IF;
    SELECT v.dias_caduca INTO v_antes FROM central.vendedores v
    WHERE v.cod_vendedor = p_cod_vendedor FOR UPDATE;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET dias_caduca = p_dias WHERE cod_vendedor = p_cod_vendedor;
    PERFORM central.auditar('DIAS_CADUCIDAD', p_cod_vendedor, NULL,
                            format('de %s a %s días', v_antes, p_dias));
END
$$;
