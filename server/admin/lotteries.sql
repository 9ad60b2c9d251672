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

-- The state of a draw now, as central.estado_sorteo gives it, for a lottery that exists.
CREATE FUNCTION admin.estado_sorteo(p_cod_lot varchar, p_fecha date) RETURNS char
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta la fecha del sorteo' USING ERRCODE = '22023';
    END IF;
    RETURN central.estado_sorteo(admin.lot_existente(p_cod_lot), p_fecha, central.ahora());
END
$$;

-- The refusal of a change that would bring back a draw that is no longer open.
CREATE FUNCTION admin.sorteo_no_abierto(p_cod_lot varchar, p_fecha date, p_estado char)
RETURNS void
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RAISE EXCEPTION 'El sorteo % del % está %: un sorteo no se abre de nuevo', upper(p_cod_lot),
                    p_fecha, CASE p_estado WHEN 'R' THEN 'con resultados'
                                           WHEN 'N' THEN 'anulado' ELSE 'cerrado' END
        USING ERRCODE = '55000';
END
$$;

-- Closes one day's draw of a lottery by hand (p_cerrado true); a draw already closed stays as it
-- is. Asked to open it (p_cerrado false), it refuses a draw that is not open: a draw never opens
-- again once closed, resulted or void.
CREATE FUNCTION admin.cerrar_sorteo(p_cod_lot varchar, p_fecha date, p_cerrado boolean)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_estado char := admin.estado_sorteo(p_cod_lot, p_fecha);
    v_lot varchar := upper(p_cod_lot);
BEGIN
    IF NOT coalesce(p_cerrado, true) THEN
        IF v_estado <> 'A' THEN
            PERFORM admin.sorteo_no_abierto(v_lot, p_fecha, v_estado);
        END IF;
        RETURN;
    END IF;
    IF v_estado <> 'A' THEN
        RETURN;
    END IF;
    INSERT INTO central.sorteos (cod_lot, fecha, cerrado, cerrado_en)
    VALUES (v_lot, p_fecha, true, central.ahora())
    ON CONFLICT (cod_lot, fecha) DO UPDATE SET cerrado = true, cerrado_en = EXCLUDED.cerrado_en;
    PERFORM central.auditar('SORTEO_CERRADO', NULL, NULL, v_lot || ' ' || p_fecha);
END
$$;

-- Declares a closed draw without results void (not held): every play sold on it on an issued
-- ticket is refunded as a cancellation would (marked cancelled, its quota given back, the
-- ticket's refunded amount kept), so it counts neither as a sale nor for a prize. Answers the
-- amount refunded. Audited, the draw and each ticket.
CREATE FUNCTION admin.anular_sorteo(p_cod_lot varchar, p_fecha date) RETURNS numeric
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_estado char := admin.estado_sorteo(p_cod_lot, p_fecha);
    v_lot varchar := upper(p_cod_lot);
    v_total numeric := 0;
    t record;
BEGIN
    IF v_estado = 'A' THEN
        RAISE EXCEPTION 'El sorteo % del % está abierto: ciérrelo antes de anularlo', v_lot,
                        p_fecha USING ERRCODE = '55000';
    ELSIF v_estado = 'R' THEN
        RAISE EXCEPTION 'El sorteo % del % tiene resultados: no se anula', v_lot, p_fecha
            USING ERRCODE = '55000';
    ELSIF v_estado = 'N' THEN
        RAISE EXCEPTION 'El sorteo % del % ya está anulado', v_lot, p_fecha
            USING ERRCODE = '55000';
    END IF;
    INSERT INTO central.sorteos (cod_lot, fecha, cerrado, cerrado_en, anulado, anulado_en)
    VALUES (v_lot, p_fecha, true, central.ahora(), true, central.ahora())
    ON CONFLICT (cod_lot, fecha) DO UPDATE
        SET cerrado = true, cerrado_en = coalesce(sorteos.cerrado_en, EXCLUDED.cerrado_en),
            anulado = true, anulado_en = EXCLUDED.anulado_en;
    FOR t IN
        SELECT k.nroticket, k.cod_vendedor, k.cod_usuario,
               array_agg(i.num_item ORDER BY i.num_item) AS items, sum(i.monto_vendido) AS monto
        FROM (SELECT x.nroticket, x.cod_vendedor, x.cod_usuario FROM central.tickets x
              WHERE x.estado = 'ACT' AND EXISTS (
                  SELECT FROM central.items_ticket y
                  WHERE y.nticket = x.nroticket AND y.cod_lot = v_lot AND y.fecha_sorteo = p_fecha)
              ORDER BY x.nroticket FOR UPDATE) k
        JOIN central.items_ticket i ON i.nticket = k.nroticket
        WHERE i.cod_lot = v_lot AND i.fecha_sorteo = p_fecha AND i.vigente
          AND i.monto_vendido > 0
        GROUP BY k.nroticket, k.cod_vendedor, k.cod_usuario
        ORDER BY k.nroticket
    LOOP
        UPDATE central.items_ticket SET anulado = true
        WHERE nticket = t.nroticket AND num_item = ANY (t.items);
        PERFORM central.liberar_items(ARRAY[t.nroticket], t.items);
        UPDATE central.tickets SET reembolsado = reembolsado + t.monto
        WHERE nroticket = t.nroticket;
        v_total := v_total + t.monto;
        PERFORM central.auditar('JUGADAS_REEMBOLSADAS', t.cod_vendedor, t.cod_usuario,
                                format('ticket %s: %s de %s %s (sorteo anulado)', t.nroticket,
                                       t.monto, v_lot, p_fecha));
    END LOOP;
    PERFORM central.auditar('SORTEO_ANULADO', NULL, NULL,
                            format('%s %s: %s reembolsado', v_lot, p_fecha, v_total));
    RETURN v_total;
END
$$;

-- The closing time of a lottery, or of one day's draw when a date is given. A draw that is no
-- longer open keeps its closing time (refused with a date); without a date the new time applies
-- from the next draw on: today's draw keeps the time it had.
CREATE FUNCTION admin.fijar_cierre(p_cod_lot varchar, p_hora time, p_fecha date DEFAULT NULL)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
    v_hoy date := central.ahora()::date;
    v_estado char;
BEGIN
    IF p_hora IS NULL THEN
        RAISE EXCEPTION 'Falta la hora de cierre' USING ERRCODE = '22023';
    END IF;
    IF p_fecha IS NULL THEN
        INSERT INTO central.sorteos (cod_lot, fecha, hora_cierre)
        SELECT v_lot, v_hoy, l.hora_cierre FROM central.loterias l WHERE l.cod_lot = v_lot
        ON CONFLICT (cod_lot, fecha) DO UPDATE
            SET hora_cierre = coalesce(sorteos.hora_cierre, EXCLUDED.hora_cierre);
        UPDATE central.loterias SET hora_cierre = p_hora WHERE cod_lot = v_lot;
    ELSE
        v_estado := central.estado_sorteo(v_lot, p_fecha, central.ahora());
        IF v_estado <> 'A' THEN
            PERFORM admin.sorteo_no_abierto(v_lot, p_fecha, v_estado);
        END IF;
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
