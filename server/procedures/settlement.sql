-- A sales point's account with the central office. Amounts are what the sales point owes the
-- central office (a negative amount is owed to the sales point):
--   play of a day      = sales - commission - prizes of the tickets of the day
--                        (central.cuenta_juego; prizes as stored) + the adjustments posted on
--                        it (central.ajustes: corrections of settled days, expired prizes)
--   movements of a day = type 1 + type 4 - type 0, of the movements the central office has
--                        confirmed, on the day they count (gastos.fecha_efecto)
--   deposits of a day  = the deposits the central office entered     (central.depositos)
--   loans at a day     = type 2 - type 3 - type 4, from the start, confirmed ones only
-- A settlement (central.liquidaciones) closes the account up to its date with the balances of
-- that day and keeps the statement of every day it closes (central.estados_liquidados); the
-- statement of a later day starts from the last settlement before it.

-- What a day's movements add to the play account, and to the loan balance.
CREATE FUNCTION central.efecto_movimiento(p_tipo char, p_monto numeric, p_prestamo boolean)
RETURNS numeric
LANGUAGE plpgsql IMMUTABLE SET search_path = central, pg_temp AS $$
BEGIN
    IF p_prestamo THEN
        RETURN CASE p_tipo WHEN '2' THEN p_monto WHEN '3' THEN -p_monto WHEN '4' THEN -p_monto
                           ELSE 0 END;
    END IF;
    RETURN CASE p_tipo WHEN '1' THEN p_monto WHEN '4' THEN p_monto WHEN '0' THEN -p_monto
                       ELSE 0 END;
END
$$;

-- The account's figures of each day of a period that has any: play (with its adjustments),
-- movements, deposits and what the loan balance moved.
CREATE FUNCTION central.cuenta_dias(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (fecha date, juego numeric, movimiento numeric, deposito numeric,
               prestamo numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT x.fecha, sum(x.juego), sum(x.movimiento), sum(x.deposito), sum(x.prestamo)
        FROM (SELECT c.fecha, c.venta - c.comision - c.premios AS juego, 0 AS movimiento,
                     0 AS deposito, 0 AS prestamo
              FROM central.cuenta_juego(p_vendedor, p_desde, p_hasta) c
              UNION ALL
              SELECT a.fecha, a.monto, 0, 0, 0 FROM central.ajustes a
              WHERE a.cod_vendedor = p_vendedor AND a.fecha BETWEEN p_desde AND p_hasta
              UNION ALL
              SELECT g.fecha_efecto, 0, central.efecto_movimiento(g.tipo, g.monto, false), 0,
                     central.efecto_movimiento(g.tipo, g.monto, true)
              FROM central.gastos g
              WHERE g.cod_vendedor = p_vendedor AND g.estado = 'C'
                AND g.fecha_efecto BETWEEN p_desde AND p_hasta
              UNION ALL
              SELECT d.fecha, 0, 0, d.monto, 0 FROM central.depositos d
              WHERE d.cod_vendedor = p_vendedor AND d.fecha BETWEEN p_desde AND p_hasta) x
        GROUP BY x.fecha;
END
$$;

-- The first day of a sales point's account: its first ticket, movement, deposit or adjustment.
CREATE FUNCTION central.inicio_cuenta(p_vendedor varchar) RETURNS date
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN least((SELECT min(t.fecha) FROM central.tickets t WHERE t.cod_vendedor = p_vendedor),
                 (SELECT min(g.fecha_efecto) FROM central.gastos g
                  WHERE g.cod_vendedor = p_vendedor AND g.estado = 'C'),
                 (SELECT min(d.fecha) FROM central.depositos d WHERE d.cod_vendedor = p_vendedor),
                 (SELECT min(a.fecha) FROM central.ajustes a WHERE a.cod_vendedor = p_vendedor));
END
$$;

-- The account statement of a sales point on each day of a period (at most the days from its
-- last settlement before the period's start), as the statement of one day gives it:
--   ultima     the last settlement before the day (NULL: never settled);
--   deuda      the play balance of that settlement plus, for every day after it and before
--              this one, play + movements - deposits;
--   cuenta, movimiento, deposito   the day's play, movements and deposits;
--   total      deuda + cuenta + movimiento - deposito (the balance of play);
--   saldo_prestamo  the loan balance of that settlement plus the loan movements after it, up
--              to and including the day;
--   total_general   total + saldo_prestamo.
-- Days already settled are answered as they were kept when their settlement was made.
CREATE FUNCTION central.estados_cuenta(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (fecha date, ultima date, deuda numeric, cuenta numeric, movimiento numeric,
               deposito numeric, total numeric, saldo_prestamo numeric, total_general numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_ultima date;
    v_jugada numeric := 0;
    v_prestamo numeric := 0;
    v_inicio date;
BEGIN
    SELECT l.fecha, l.saldo_jugada, l.saldo_prestamo INTO v_ultima, v_jugada, v_prestamo
    FROM central.liquidaciones l
    WHERE l.cod_vendedor = p_vendedor AND l.fecha < p_desde
    ORDER BY l.fecha DESC LIMIT 1;
    v_jugada := coalesce(v_jugada, 0);
    v_prestamo := coalesce(v_prestamo, 0);
    v_inicio := least(coalesce(v_ultima + 1, central.inicio_cuenta(p_vendedor), p_desde), p_desde);
    RETURN QUERY
        WITH dias AS (
            SELECT d::date AS fecha, coalesce(c.juego, 0) AS juego,
                   coalesce(c.movimiento, 0) AS movimiento, coalesce(c.deposito, 0) AS deposito,
                   coalesce(c.prestamo, 0) AS prestamo
            FROM generate_series(v_inicio, p_hasta, interval '1 day') d
            LEFT JOIN central.cuenta_dias(p_vendedor, v_inicio, p_hasta) c ON c.fecha = d::date),
        corrido AS (
            SELECT x.*,
                   v_jugada + coalesce(sum(x.juego + x.movimiento - x.deposito)
                                       OVER (ORDER BY x.fecha ROWS BETWEEN UNBOUNDED PRECEDING
                                                                       AND 1 PRECEDING), 0)
                       AS deuda,
                   v_prestamo + sum(x.prestamo) OVER (ORDER BY x.fecha) AS prestamo_al_dia
            FROM dias x)
        SELECT c.fecha, coalesce(e.ultima, CASE WHEN e.fecha IS NULL THEN v_ultima END),
               coalesce(e.deuda, c.deuda), coalesce(e.cuenta, c.juego),
               coalesce(e.movimiento, c.movimiento), coalesce(e.deposito, c.deposito),
               coalesce(e.total, c.deuda + c.juego + c.movimiento - c.deposito),
               coalesce(e.saldo_prestamo, c.prestamo_al_dia),
               coalesce(e.total_general,
                        c.deuda + c.juego + c.movimiento - c.deposito + c.prestamo_al_dia)
        FROM corrido c
        LEFT JOIN central.estados_liquidados e
               ON e.cod_vendedor = p_vendedor AND e.fecha = c.fecha
        WHERE c.fecha >= p_desde
        ORDER BY c.fecha;
END
$$;

-- The account statement of a sales point on one day (central.estados_cuenta).
CREATE FUNCTION central.estado_cuenta(p_vendedor varchar, p_fecha date,
                                      OUT ultima date, OUT deuda numeric, OUT cuenta numeric,
                                      OUT movimiento numeric, OUT deposito numeric,
                                      OUT total numeric, OUT saldo_prestamo numeric,
                                      OUT total_general numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT e.ultima, e.deuda, e.cuenta, e.movimiento, e.deposito, e.total, e.saldo_prestamo,
           e.total_general
    INTO ultima, deuda, cuenta, movimiento, deposito, total, saldo_prestamo, total_general
    FROM central.estados_cuenta(p_vendedor, p_fecha, p_fecha) e;
END
$$;

-- What the movements of a sales point recorded up to a day and not yet confirmed nor rejected
-- would move its general balance (play and loans) if the central office confirmed them.
CREATE FUNCTION central.por_confirmar(p_vendedor varchar, p_fecha date) RETURNS numeric
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN coalesce((SELECT sum(central.efecto_movimiento(g.tipo, g.monto, false)
                                + central.efecto_movimiento(g.tipo, g.monto, true))
                     FROM central.gastos g
                     WHERE g.cod_vendedor = p_vendedor AND g.estado = 'P'
                       AND g.fecha <= p_fecha), 0);
END
$$;

-- The last day settled for a sales point (NULL: never).
CREATE FUNCTION central.ultima_liquidacion(p_vendedor varchar) RETURNS date
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT max(l.fecha) FROM central.liquidaciones l WHERE l.cod_vendedor = p_vendedor);
END
$$;

-- DSPLUP23: the calling sales point's account statement on "@xfecmov" ("dd/mm/yyyy"), in the
-- output parameters: "@xfecha1" the last settled date before it ("dd/mm/yyyy", empty when
-- never settled), "@xdeuda", "@xcuenta", "@xmovimiento", "@xdeposito", "@xtotal",
-- "@xsaldoprestamo", "@xtotalgragral" as central.estado_cuenta says, and one record whose
-- "porconfirmar" is what the movements still waiting for the central office's confirmation
-- would move the general balance. Prizes that expired unpaid are posted first. Return value 0;
-- 1 for another sales point's vendor, a seller without the statement's permission (F7 and
-- "D.-") or a day that is none.
CREATE PROCEDURE public.dsplup23(
    INOUT return_value integer,
    IN xfecmov varchar,
    IN xcodven varchar,
    INOUT xfecha1 varchar,
    INOUT xdeuda numeric,
    INOUT xcuenta numeric,
    INOUT xmovimiento numeric,
    INOUT xdeposito numeric,
    INOUT xtotal numeric,
    INOUT xsaldoprestamo numeric,
    INOUT xtotalgragral numeric,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := central.fecha_ddmmyyyy(xfecmov);
    v_pendiente numeric;
    e record;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    xfecha1 := '';
    xdeuda := 0; xcuenta := 0; xmovimiento := 0; xdeposito := 0; xtotal := 0;
    xsaldoprestamo := 0; xtotalgragral := 0;
    IF NOT central.autoriza('DSPLUP23', xcodven)
       OR NOT central.permitido('DSPLUP23', xcodven, NULL, 'F7.', 'D.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF v_fecha IS NULL THEN
        return_value := 1;
        RETURN;
    END IF;
    PERFORM central.asentar_caducados(xcodven);
    SELECT * INTO e FROM central.estado_cuenta(xcodven, v_fecha);
    xfecha1 := coalesce(to_char(e.ultima, 'DD/MM/YYYY'), '');
    xdeuda := e.deuda;
    xcuenta := e.cuenta;
    xmovimiento := e.movimiento;
    xdeposito := e.deposito;
    xtotal := e.total;
    xsaldoprestamo := e.saldo_prestamo;
    xtotalgragral := e.total_general;
    return_value := 0;
    v_pendiente := central.por_confirmar(xcodven, v_fecha);
    CLOSE rs;
    OPEN rs FOR SELECT v_pendiente AS "porconfirmar";
END
$$;
