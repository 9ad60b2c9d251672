-- The sales point's reports: prizes, sales, the final relation and what each rests on.

-- A day written "dd/mm/yyyy"; NULL for anything else (31/02/2026 included).
CREATE FUNCTION central.fecha_ddmmyyyy(p_texto varchar) RETURNS date
LANGUAGE plpgsql IMMUTABLE SET search_path = central, pg_temp AS $$
DECLARE
    t varchar := trim(coalesce(p_texto, ''));
BEGIN
    IF t !~ '^[0-9]{2}/[0-9]{2}/[0-9]{4}$' THEN
        RETURN NULL;
    END IF;
    RETURN make_date(substr(t, 7, 4)::int, substr(t, 4, 2)::int, substr(t, 1, 2)::int);
EXCEPTION WHEN datetime_field_overflow OR invalid_datetime_format THEN
    RETURN NULL;
END
$$;

-- The longest period a report covers, in days: a year and a day.
CREATE FUNCTION central.periodo_valido(p_desde date, p_hasta date) RETURNS boolean
LANGUAGE plpgsql IMMUTABLE SET search_path = central, pg_temp AS $$
BEGIN
    RETURN p_desde IS NOT NULL AND p_hasta IS NOT NULL AND p_hasta >= p_desde
           AND p_hasta - p_desde <= 366;
END
$$;

-- A sales point's commission on a lottery, in percent: its own for that lottery, else its
-- general one ('*'), else none.
CREATE FUNCTION central.porcentaje_comision(p_vendedor varchar, p_cod_lot varchar)
RETURNS numeric
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN coalesce(
        (SELECT c.porcentaje FROM central.comisiones c
         WHERE c.cod_vendedor = p_vendedor AND c.cod_lot = p_cod_lot),
        (SELECT c.porcentaje FROM central.comisiones c
         WHERE c.cod_vendedor = p_vendedor AND c.cod_lot = '*'),
        0);
END
$$;

-- The winning items of a sales point's tickets issued in a period (ticket date), with the prize
-- stored for each when its draw's results were entered (central.premios, which keeps what is
-- shown of the ticket and the item).
CREATE FUNCTION central.items_ganadores(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (nroticket varchar, fecha date, hora time, cod_usuario varchar, pagado boolean,
               num_item integer, cod_lot varchar, tipo char, numero varchar, jugada varchar,
               variante varchar, premio numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT p.nroticket, p.fecha, p.hora::time, p.cod_usuario,
               EXISTS (SELECT FROM central.pagos x WHERE x.nroticket = p.nroticket),
               p.num_item, p.cod_lot, p.tipo, p.numero, p.jugada, p.variante::varchar, p.premio
        FROM central.premios p
        WHERE p.cod_vendedor = p_vendedor AND p.fecha BETWEEN p_desde AND p_hasta;
END
$$;

-- The settlement of a sales point's play, per day (ticket date), lottery and kind of play:
-- sales of the tickets not cancelled, the commission on them (the sales point's percentage for
-- the lottery, rounded to the cent for each day, lottery and kind), and the prizes those tickets
-- won, as central.juego_dia keeps them. Days, lotteries and kinds without sales nor prizes have
-- no row.
CREATE FUNCTION central.cuenta_juego(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (fecha date, cod_lot varchar, tipo char, venta numeric, comision numeric,
               premios numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT d.fecha, d.cod_lot, d.tipo, d.venta,
               round(d.venta * central.porcentaje_comision(p_vendedor, d.cod_lot) / 100, 2),
               d.premios
        FROM central.juego_dia d
        WHERE d.cod_vendedor = p_vendedor AND d.fecha BETWEEN p_desde AND p_hasta
          AND (d.venta <> 0 OR d.premios <> 0);
END
$$;

-- The prize report's tickets: one row per winning ticket of the period, with its prize (the
-- sum of its winning plays) and whether it was paid.
CREATE FUNCTION central.rpt_premiados(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (nroticket varchar, horaticket varchar, usuario varchar, montopremio numeric,
               pagado varchar)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT g.nroticket, to_char(g.hora, 'HH24:MI:SS')::varchar, g.cod_usuario, sum(g.premio),
               CASE WHEN bool_or(g.pagado) THEN 'S' ELSE 'N' END::varchar
        FROM central.items_ganadores(p_vendedor, p_desde, p_hasta) g
        GROUP BY g.nroticket, g.fecha, g.hora, g.cod_usuario
        ORDER BY g.fecha, g.hora, g.nroticket;
END
$$;

-- The prize report's plays: one row per winning play, in the order of the tickets.
CREATE FUNCTION central.rpt_premiados_detalle(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (nroticket varchar, tipo_jugada varchar, num_normal varchar, letras varchar,
               desc_loteria varchar, montopremio numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT g.nroticket, g.tipo::varchar, g.numero,
               CASE WHEN g.tipo = '2' THEN coalesce(d.desc_jugada, g.variante) ELSE '' END::varchar,
               l.desc_lot, g.premio
        FROM central.items_ganadores(p_vendedor, p_desde, p_hasta) g
        JOIN central.loterias l ON l.cod_lot = g.cod_lot
        LEFT JOIN central.jugadas_especiales_detalle d
               ON d.especial = l.especial AND d.jugada = g.variante
        ORDER BY g.fecha, g.hora, g.nroticket, g.num_item;
END
$$;

-- RPTTICKPREMIADOS and RPTTICKPREMIADOSdetalle: the winning tickets (and plays) of the calling
-- sales point issued from "@xfecha" to "@xfechad" ("dd/mm/yyyy"). Return value 0; 1 for
-- another sales point's vendor; 2 for a day that is none, a period that ends before it starts
-- or spans more than a year. Fields as the counter's prize report reads them.
CREATE PROCEDURE public.rpttickpremiados(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    IN xfechad varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_desde date := central.fecha_ddmmyyyy(xfecha);
    v_hasta date := central.fecha_ddmmyyyy(xfechad);
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('RPTTICKPREMIADOS', xcodigo_vend)
       OR NOT central.permitido('RPTTICKPREMIADOS', xcodigo_vend, NULL, 'F7.', 'B.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF NOT central.periodo_valido(v_desde, v_hasta) THEN
        return_value := 2;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT p.nroticket AS "nroticket", p.horaticket AS "horaticket", p.usuario AS "usuario",
               p.montopremio AS "montopremio", p.pagado AS "Pagado"
        FROM central.rpt_premiados(xcodigo_vend, v_desde, v_hasta) p;
END
$$;

CREATE PROCEDURE public.rpttickpremiadosdetalle(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    IN xfechad varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_desde date := central.fecha_ddmmyyyy(xfecha);
    v_hasta date := central.fecha_ddmmyyyy(xfechad);
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('RPTTICKPREMIADOSdetalle', xcodigo_vend)
       OR NOT central.permitido('RPTTICKPREMIADOSdetalle', xcodigo_vend, NULL, 'F7.', 'B.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF NOT central.periodo_valido(v_desde, v_hasta) THEN
        return_value := 2;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT d.nroticket AS "nroticket", d.tipo_jugada AS "Tipo_jugada",
               d.num_normal AS "Num_normal", d.letras AS "LETRAS",
               d.desc_loteria AS "desc_loteria", d.montopremio AS "montopremio"
        FROM central.rpt_premiados_detalle(xcodigo_vend, v_desde, v_hasta) d;
END
$$;

-- The cancelled tickets of a seller in a period, for the sales report.
CREATE FUNCTION central.rpt_anulados(p_vendedor varchar, p_usuario varchar, p_desde date,
                                     p_hasta date)
RETURNS TABLE (nroticket varchar, horaticket varchar, montoticket numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT t.nroticket, to_char(t.hora, 'HH24:MI:SS')::varchar, t.monto
        FROM central.tickets t
        WHERE t.cod_vendedor = p_vendedor AND t.cod_usuario = p_usuario
          AND t.fecha BETWEEN p_desde AND p_hasta AND (t.anulado = 'S' OR t.estado = 'ELI')
        ORDER BY t.fecha, t.hora, t.nroticket;
END
$$;

-- RPTVVENDURA: what the calling seller sold at this sales point from "@xfechadesde" to
-- "@xfechahasta" (tickets not cancelled) in "@montoventa", and the seller's cancelled tickets
-- of the period as records (nroticket, horaticket, montoticket). Return value 0; 1 for a vendor
-- or seller not of this sales point; 2 for a bad period.
CREATE PROCEDURE public.rptvvendura(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xcodigo_user varchar,
    IN xcodigo_vend varchar,
    IN xfechadesde varchar,
    IN xfechahasta varchar,
    INOUT montoventa numeric,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_desde date := central.fecha_ddmmyyyy(xfechadesde);
    v_hasta date := central.fecha_ddmmyyyy(xfechahasta);
    v_usuario varchar := trim(coalesce(xcodigo_user, ''));
    v_vendedor varchar := trim(coalesce(xcodigo_vend, ''));
BEGIN
    OPEN rs FOR SELECT WHERE false;
    montoventa := 0;
    IF NOT central.autoriza('RPTVVENDURA', v_vendedor, v_usuario)
       OR NOT central.permitido('RPTVVENDURA', v_vendedor, v_usuario, 'F7.', 'A.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF NOT central.periodo_valido(v_desde, v_hasta) THEN
        return_value := 2;
        RETURN;
    END IF;
    SELECT sum(t.monto - t.reembolsado) INTO montoventa
    FROM central.tickets t
    WHERE t.cod_vendedor = v_vendedor AND t.cod_usuario = v_usuario
      AND t.fecha BETWEEN v_desde AND v_hasta AND t.anulado = 'N' AND t.estado = 'ACT';
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT a.nroticket AS "nroticket", a.horaticket AS "horaticket",
               a.montoticket AS "montoticket"
        FROM central.rpt_anulados(v_vendedor, v_usuario, v_desde, v_hasta) a;
END
$$;

-- The final relation's rows: per day ("1") or per lottery and kind of play ("5").
CREATE FUNCTION central.rpt_relacion(p_modo varchar, p_vendedor varchar, p_desde date,
                                     p_hasta date)
RETURNS TABLE (fecha varchar, cod_lot varchar, tipo_jugada varchar, total_venta numeric,
               comision numeric, premios numeric, subtotal numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_modo = '5' THEN
        RETURN QUERY
            SELECT NULL::varchar, c.cod_lot, c.tipo::varchar, sum(c.venta), sum(c.comision),
                   sum(c.premios), sum(c.venta - c.comision - c.premios)
            FROM central.cuenta_juego(p_vendedor, p_desde, p_hasta) c
            LEFT JOIN central.loterias l ON l.cod_lot = c.cod_lot
            GROUP BY c.cod_lot, c.tipo, l.orden
            ORDER BY l.orden, c.cod_lot, c.tipo;
    ELSE
        RETURN QUERY
            SELECT to_char(c.fecha, 'DD/MM/YYYY')::varchar, NULL::varchar, NULL::varchar,
                   sum(c.venta), sum(c.comision), sum(c.premios),
                   sum(c.venta - c.comision - c.premios)
            FROM central.cuenta_juego(p_vendedor, p_desde, p_hasta) c
            GROUP BY c.fecha
            ORDER BY c.fecha;
    END IF;
END
$$;

-- RPTRFINAL: the final relation of the calling sales point from "@xfechadesde" to
-- "@xfechahasta": "@xmodo" "5" one record per lottery and kind of play (COD_LOT, Tipo_jugada),
-- any other mode one per day (fecha), each with total_venta, comision, premios and subtotal
-- (sales less commission less prizes). Return value 0; 1 for another sales point's vendor; 2
-- for a bad period.
CREATE PROCEDURE public.rptrfinal(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xcodigo_vend varchar,
    IN xfechadesde varchar,
    IN xfechahasta varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_desde date := central.fecha_ddmmyyyy(xfechadesde);
    v_hasta date := central.fecha_ddmmyyyy(xfechahasta);
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('RPTRFINAL', xcodigo_vend)
       OR NOT central.permitido('RPTRFINAL', xcodigo_vend, NULL, 'F7.', 'C.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF NOT central.periodo_valido(v_desde, v_hasta) THEN
        return_value := 2;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT r.fecha AS "fecha", r.cod_lot AS "COD_LOT", r.tipo_jugada AS "Tipo_jugada",
               r.total_venta AS "total_venta", r.comision AS "comision",
               r.premios AS "premios", r.subtotal AS "subtotal"
        FROM central.rpt_relacion(trim(coalesce(xmodo, '')), xcodigo_vend, v_desde, v_hasta) r;
END
$$;
