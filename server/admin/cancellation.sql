-- How long after the sale a sales point may cancel a ticket.
ALTER TABLE central.parametros_terminal ADD COLUMN IF NOT EXISTS minutos_anulacion integer
    CHECK (minutos_anulacion BETWEEN 0 AND 1440);

-- Sets a sales point's cancellation window, in minutes after the sale (0: no cancellation).
CREATE FUNCTION admin.fijar_ventana_anulacion(p_cod_vendedor varchar, p_minutos integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor) THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    IF p_minutos IS NULL OR p_minutos NOT BETWEEN 0 AND 1440 THEN
        RAISE EXCEPTION 'La ventana de anulación va de 0 a 1440 minutos'
            USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.parametros_terminal (cod_vendedor, minutos_anulacion)
    VALUES (p_cod_vendedor, p_minutos)
    ON CONFLICT (cod_vendedor) DO UPDATE SET minutos_anulacion = EXCLUDED.minutos_anulacion;
    PERFORM central.auditar('VENTANA_ANULACION', p_cod_vendedor, NULL, p_minutos || ' minutos');
END
$$;
