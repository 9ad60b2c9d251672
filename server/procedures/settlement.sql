-- A sales point's account with the central office. Amounts are what the sales point owes the
-- central office (a negative amount is owed to the sales point):
--   play of a day      = sales - commission - prizes                 (central.cuenta_juego)
--   movements of a day = type 1 + type 4 - type 0                     (central.gastos)
--   deposits of a day  = the deposits the central office entered     (central.depositos)
--   loans at a day     = type 2 - type 3 - type 4, from the start
-- A settlement (central.liquidaciones) closes the account up to its date with the balances of
-- that day; the statement of a later day starts from the last settlement before it.

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

-- The account statement of a sales point on a day:
--   ultima     the last settlement before the day (NULL: never settled);
--   deuda      the play balance of that settlement plus, for every day after it and before
--              this one, play + movements - deposits;
--   cuenta, movimiento, deposito   the day's play, movements and deposits;
--   total      deuda + cuenta + movimiento - deposito (the balance of play);
--   saldo_prestamo  the loan balance of that settlement plus the loan movements after it, up
--              to and including the day;
--   total_general   total + saldo_prestamo.
CREATE FUNCTION central.estado_cuenta(p_vendedor varchar, p_fecha date,
                                      OUT ultima date, OUT deuda numeric, OUT cuenta numeric,
                                      OUT movimiento numeric, OUT deposito numeric,
                                      OUT total numeric, OUT saldo_prestamo numeric,
                                      OUT total_general numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_inicio date;
    v_prestamo numeric;
BEGIN
    SELECT l.fecha, l.saldo_jugada, l.saldo_prestamo INTO ultima, deuda, v_prestamo
    FROM central.liquidaciones l
    WHERE l.cod_vendedor = p_vendedor AND l.fecha < p_fecha
    ORDER BY l.fecha DESC LIMIT 1;
    deuda := coalesce(deuda, 0);
    v_prestamo := coalesce(v_prestamo, 0);
    -- never settled: from the sales point's first ticket or movement
    v_inicio := coalesce(ultima + 1,
                         least((SELECT min(t.fecha) FROM central.tickets t
                                WHERE t.cod_vendedor = p_vendedor),
                               (SELECT min(g.fecha) FROM central.gastos g
                                WHERE g.cod_vendedor = p_vendedor),
                               (SELECT min(d.fecha) FROM central.depositos d
                                WHERE d.cod_vendedor = p_vendedor),
                               p_fecha));

    deuda := deuda
        + coalesce((SELECT sum(c.venta - c.comision - c.premios)
                    FROM central.cuenta_juego(p_vendedor, v_inicio, p_fecha - 1) c), 0)
        + coalesce((SELECT sum(central.efecto_movimiento(g.tipo, g.monto, false))
                    FROM central.gastos g
                    WHERE g.cod_vendedor = p_vendedor
                      AND g.fecha BETWEEN v_inicio AND p_fecha - 1), 0)
        - coalesce((SELECT sum(d.monto) FROM central.depositos d
                    WHERE d.cod_vendedor = p_vendedor
                      AND d.fecha BETWEEN v_inicio AND p_fecha - 1), 0);
    cuenta := coalesce((SELECT sum(c.venta - c.comision - c.premios)
                        FROM central.cuenta_juego(p_vendedor, p_fecha, p_fecha) c), 0);
    movimiento := coalesce((SELECT sum(central.efecto_movimiento(g.tipo, g.monto, false))
                            FROM central.gastos g
                            WHERE g.cod_vendedor = p_vendedor AND g.fecha = p_fecha), 0);
    deposito := coalesce((SELECT sum(d.monto) FROM central.depositos d
                          WHERE d.cod_vendedor = p_vendedor AND d.fecha = p_fecha), 0);
    total := deuda + cuenta + movimiento - deposito;
    saldo_prestamo := v_prestamo
        + coalesce((SELECT sum(central.efecto_movimiento(g.tipo, g.monto, true))
                    FROM central.gastos g
                    WHERE g.cod_vendedor = p_vendedor
                      AND g.fecha BETWEEN v_inicio AND p_fecha), 0);
    total_general := total + saldo_prestamo;
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
-- "@xsaldoprestamo", "@xtotalgragral" as central.estado_cuenta says. Return value 0; 1 for
-- another sales point's vendor or a day that is none.
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
    e record;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    xfecha1 := '';
    xdeuda := 0; xcuenta := 0; xmovimiento := 0; xdeposito := 0; xtotal := 0;
    xsaldoprestamo := 0; xtotalgragral := 0;
    IF NOT central.autoriza('DSPLUP23', xcodven) THEN
        return_value := 1;
        RETURN;
    END IF;
    IF v_fecha IS NULL THEN
        return_value := 1;
        RETURN;
    END IF;
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
END
$$;
