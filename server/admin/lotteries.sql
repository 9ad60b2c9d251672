-- Lotteries and their draws: opening and closing, closing times and quotas.

CREATE FUNCTION admin.lot_existente(p_cod_lot varchar) RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM central.loterias WHERE cod_lot = upper(p_cod_lot)) THEN
        RAISE EXCEPTION 'La lotería % no existe', p_cod_lot USING ERRCODE = '22023';
    END IF;
    RETURN upper(p_cod_lot);
END
$$;

-- Takes a lottery off sale altogether (p_cerrada true) or puts it back.
CREATE FUNCTION admin.cerrar_loteria(p_cod_lot varchar, p_cerrada boolean) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
BEGIN
    UPDATE central.loterias SET cerrada = coalesce(p_cerrada, true) WHERE cod_lot = v_lot;
    PERFORM central.auditar(CASE WHEN coalesce(p_cerrada, true) THEN 'LOTERIA_CERRADA'
                                 ELSE 'LOTERIA_ABIERTA' END, NULL, NULL, v_lot);
END
$$;

-- Closes one day's draw of a lottery by hand (p_cerrado true), or opens it again.
CREATE FUNCTION admin.cerrar_sorteo(p_cod_lot varchar, p_fecha date, p_cerrado boolean)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta la fecha del sorteo' USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.sorteos (cod_lot, fecha, cerrado)
    VALUES (v_lot, p_fecha, coalesce(p_cerrado, true))
    ON CONFLICT (cod_lot, fecha) DO UPDATE SET cerrado = EXCLUDED.cerrado;
    PERFORM central.auditar(CASE WHEN coalesce(p_cerrado, true) THEN 'SORTEO_CERRADO'
                                 ELSE 'SORTEO_ABIERTO' END, NULL, NULL,
                            v_lot || ' ' || p_fecha);
END
$$;

-- The closing time of a lottery, or of one day's draw when a date is given.
CREATE FUNCTION admin.fijar_cierre(p_cod_lot varchar, p_hora time, p_fecha date DEFAULT NULL)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
BEGIN
    IF p_hora IS NULL THEN
        RAISE EXCEPTION 'Falta la hora de cierre' USING ERRCODE = '22023';
    END IF;
    IF p_fecha IS NULL THEN
        UPDATE central.loterias SET hora_cierre = p_hora WHERE cod_lot = v_lot;
    ELSE
        INSERT INTO central.sorteos (cod_lot, fecha, hora_cierre) VALUES (v_lot, p_fecha, p_hora)
        ON CONFLICT (cod_lot, fecha) DO UPDATE SET hora_cierre = EXCLUDED.hora_cierre;
    END IF;
    PERFORM central.auditar('CIERRE', NULL, NULL,
                            format('%s %s %s', v_lot, coalesce(p_fecha::text, 'siempre'),
                                   p_hora));
END
$$;

-- The quotas (Bs.F. per number and draw) for triples and terminales of a lottery, or of one
-- day's draw when a date is given.
CREATE FUNCTION admin.fijar_cupos(p_cod_lot varchar, p_triple numeric, p_terminal numeric,
                                  p_fecha date DEFAULT NULL) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
BEGIN
    IF p_triple IS NULL OR p_terminal IS NULL OR p_triple < 0 OR p_terminal < 0
       OR p_triple >= 1e9 OR p_terminal >= 1e9
       OR p_triple <> round(p_triple, 3) OR p_terminal <> round(p_terminal, 3) THEN
        RAISE EXCEPTION 'Los cupos son montos de 0 en adelante, con tres decimales a lo sumo'
            USING ERRCODE = '22023';
    END IF;
    IF p_fecha IS NULL THEN
        UPDATE central.loterias SET cupo_triple = p_triple, cupo_terminal = p_terminal
        WHERE cod_lot = v_lot;
    ELSE
        INSERT INTO central.sorteos (cod_lot, fecha, cupo_triple, cupo_terminal)
        VALUES (v_lot, p_fecha, p_triple, p_terminal)
        ON CONFLICT (cod_lot, fecha) DO UPDATE
            SET cupo_triple = EXCLUDED.cupo_triple, cupo_terminal = EXCLUDED.cupo_terminal;
    END IF;
    PERFORM central.auditar('CUPOS', NULL, NULL,
                            format('%s %s triple %s terminal %s', v_lot,
                                   coalesce(p_fecha::text, 'siempre'), p_triple, p_terminal));
END
$$;
