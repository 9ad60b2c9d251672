-- What the office's desk lists: its sales points with their settings, and the day's sales.

-- Every sales point with what the central office set for it: state, login, prize expiry in
-- days, cancellation window in minutes, share of each number's quota, commission on every
-- lottery, its sellers, and the last day settled.
CREATE FUNCTION admin.puntos()
RETURNS TABLE (cod_vendedor varchar, nombre varchar, estado char, cuenta name,
               dias_caduca integer, minutos_anulacion integer, cupo_porcentaje numeric,
               comision numeric, usuarios bigint, liquidado date)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT v.cod_vendedor, v.nombre, v.estado, c.cuenta, v.dias_caduca, v.minutos_anulacion,
               v.cupo_porcentaje,
               (SELECT k.porcentaje FROM central.comisiones k
                WHERE k.cod_vendedor = v.cod_vendedor AND k.cod_lot = '*'),
               (SELECT count(*) FROM central.usuarios u WHERE u.cod_vendedor = v.cod_vendedor),
               central.ultima_liquidacion(v.cod_vendedor)
        FROM central.vendedores v
        LEFT JOIN central.cuentas c ON c.cod_vendedor = v.cod_vendedor
        ORDER BY v.cod_vendedor;
END
$$;

-- The sellers of a sales point, with their state.
CREATE FUNCTION admin.usuarios(p_cod_vendedor varchar)
RETURNS TABLE (cod_usuario varchar, nombre varchar, estado char)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    RETURN QUERY
        SELECT u.cod_usuario, u.nombre, u.estado FROM central.usuarios u
        WHERE u.cod_vendedor = p_cod_vendedor
        ORDER BY u.cod_usuario;
END
$$;

-- The network's sales of a day, as its issued tickets that count show them: per lottery
-- (kind 'L', key its code) and per hour of issue (kind 'H', key the hour 0 to 23). Read from
-- what the issues keep as they happen (central.juego_dia, central.venta_hora): a few hundred
-- rows however busy the day.
CREATE FUNCTION admin.ventas_del_dia(p_fecha date)
RETURNS TABLE (clase char, clave varchar, monto numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta el día' USING ERRCODE = '22023';
    END IF;
    RETURN QUERY
        SELECT 'L'::char, l.cod_lot, coalesce(s.venta, 0)
        FROM central.loterias l
        LEFT JOIN (SELECT d.cod_lot, sum(d.venta) AS venta FROM central.juego_dia d
                   WHERE d.fecha = p_fecha GROUP BY d.cod_lot) s ON s.cod_lot = l.cod_lot
        WHERE s.venta <> 0 OR NOT l.cerrada
        ORDER BY l.orden, l.cod_lot;
    RETURN QUERY
        SELECT 'H'::char, h::varchar, coalesce(s.venta, 0)
        FROM generate_series(0, 23) h
        LEFT JOIN (SELECT v.hora, sum(v.venta) AS venta FROM central.venta_hora v
                   WHERE v.fecha = p_fecha GROUP BY v.hora) s ON s.hora = h
        ORDER BY h;
END
$$;

-- The statement of every sales point on a day, the one admin.estado_cuenta gives each (prizes
-- that expired unpaid posted first, then the figures and what pending movements would add), with
-- the last day it is settled up to, for the office settling a day.
CREATE FUNCTION admin.estados_del_dia(p_fecha date)
RETURNS TABLE (cod_vendedor varchar, nombre varchar, liquidado date, ultima date, deuda numeric,
               cuenta numeric, movimiento numeric, deposito numeric, total numeric,
               saldo_prestamo numeric, total_general numeric, por_confirmar numeric)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta el día' USING ERRCODE = '22023';
    END IF;
    PERFORM central.asentar_caducados_red();
    RETURN QUERY
        SELECT v.cod_vendedor, v.nombre, central.ultima_liquidacion(v.cod_vendedor), e.ultima,
               e.deuda, e.cuenta, e.movimiento, e.deposito,
               e.total, e.saldo_prestamo, e.total_general,
               central.por_confirmar(v.cod_vendedor, p_fecha)
        FROM central.vendedores v
        CROSS JOIN LATERAL central.estado_cuenta(v.cod_vendedor, p_fecha) e
        ORDER BY v.cod_vendedor;
END
$$;
