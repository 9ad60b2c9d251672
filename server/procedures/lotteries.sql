-- Lotteries on sale and the special-play tables.

-- The closing time of a lottery's draw on a date: the draw's own, else the lottery's.
CREATE FUNCTION central.cierre_sorteo(p_cod_lot varchar, p_fecha date) RETURNS time
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT coalesce(s.hora_cierre, l.hora_cierre)
            FROM central.loterias l
            LEFT JOIN central.sorteos s ON s.cod_lot = l.cod_lot AND s.fecha = p_fecha
            WHERE l.cod_lot = p_cod_lot);
END
$$;

-- Whether a lottery draws on a day of the week. Plain SQL, so that queries take it in whole.
CREATE FUNCTION central.juega_el_dia(l central.loterias, p_fecha date) RETURNS boolean
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE extract(isodow FROM p_fecha)::int
               WHEN 1 THEN l.dia_1 WHEN 2 THEN l.dia_2 WHEN 3 THEN l.dia_3 WHEN 4 THEN l.dia_4
               WHEN 5 THEN l.dia_5 WHEN 6 THEN l.dia_6 ELSE l.dia_7 END
$$;

-- The state of a lottery's draw on a day, at a moment of the server's clock:
--   'A' open: its day has not passed and its closing time has not come;
--   'C' closed: its closing time came, its day is over, the central office closed it, or the
--       lottery does not draw that day;
--   'R' with results;  'N' void (declared not held by the central office).
-- The states follow one another one way only: results and voids are kept for good, a closing by
-- hand cannot be undone, and a change of the lottery's closing time leaves a draw of that day
-- with the time it had (admin.fijar_cierre), so no draw ever opens again. Whether the lottery
-- itself is off sale (loterias.cerrada) is not the draw's state.
-- One row always. A plain SQL table function: the planner takes it into the calling query
-- (booking over arrays asks it for every item of a call), where a function call would be run
-- and planned apart each time; central.estado_sorteo gives the same as a value. The compiled
-- booking of a few items reads the same rule by key (server/native/sale_rules.c): a change
-- here is a change there, and the sale rules' test holds the two together.
CREATE FUNCTION central.estado_del_sorteo(p_cod_lot varchar, p_fecha date, p_momento timestamp)
RETURNS TABLE (estado char)
LANGUAGE sql STABLE AS $$
    SELECT (CASE
        WHEN EXISTS (SELECT FROM central.resultados r
                     WHERE r.cod_lot = p_cod_lot AND r.fecha = p_fecha) THEN 'R'
        WHEN s.anulado THEN 'N'
        WHEN l.cod_lot IS NULL OR coalesce(s.cerrado, false) OR p_fecha < p_momento::date
             OR NOT central.juega_el_dia(l, p_fecha)
             OR (p_fecha = p_momento::date
                 AND p_momento::time >= coalesce(s.hora_cierre, l.hora_cierre)) THEN 'C'
        ELSE 'A' END)::char
    FROM (VALUES (1)) d
    LEFT JOIN central.sorteos s ON s.cod_lot = p_cod_lot AND s.fecha = p_fecha
    LEFT JOIN central.loterias l ON l.cod_lot = p_cod_lot
$$;

CREATE FUNCTION central.estado_sorteo(p_cod_lot varchar, p_fecha date, p_momento timestamp)
RETURNS char
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT e.estado FROM central.estado_del_sorteo(p_cod_lot, p_fecha, p_momento) e);
END
$$;

-- Whether a lottery sells at a moment of the server's clock at one sales point (p_vendedor;
-- NULL asks for the whole network): it exists, the central office has not taken it off sale,
-- its draw of that day is open, and that sales point has not taken it off sale (activaloterias).
-- Also what kind of play it takes (loterias.juegaespecial). One row always; a plain SQL table
-- function for the reason of central.estado_del_sorteo, whose note on compiled booking holds
-- here too.
CREATE FUNCTION central.venta_loteria(p_cod_lot varchar, p_momento timestamp,
                                      p_vendedor varchar)
RETURNS TABLE (existe boolean, abierta boolean, juegaespecial char)
LANGUAGE sql STABLE AS $$
    SELECT l.cod_lot IS NOT NULL,
           NOT coalesce(l.cerrada, true) AND e.estado = 'A'
               AND NOT EXISTS (SELECT FROM central.loterias_inactivas i
                               WHERE i.cod_vendedor = p_vendedor AND i.cod_lot = p_cod_lot),
           l.juegaespecial
    FROM (VALUES (1)) d
    LEFT JOIN central.loterias l ON l.cod_lot = p_cod_lot
    CROSS JOIN central.estado_del_sorteo(p_cod_lot, p_momento::date, p_momento) e
$$;

-- Whether a lottery sells at a moment at one sales point, or network-wide without one (issuing,
-- cancelling).
CREATE FUNCTION central.loteria_abierta(p_cod_lot varchar, p_momento timestamp,
                                        p_vendedor varchar DEFAULT NULL) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT v.abierta FROM central.venta_loteria(p_cod_lot, p_momento, p_vendedor) v);
END
$$;

-- xmodo 'X': every lottery, with its state now; xmodo '4': the lotteries selling now. Both
-- as the calling sales point sees them: a lottery it deactivated is not open there.
-- xestado 'A' leaves out the lotteries the central office has closed.
CREATE PROCEDURE public.xdsplot(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xestado varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    momento timestamp := central.ahora();
    vendedor varchar := central.vendedor_de_sesion();
    solo_abiertas boolean := trim(coalesce(xmodo, '')) = '4';
    solo_activas boolean := upper(trim(coalesce(xestado, ''))) = 'A';
BEGIN
    IF NOT central.autoriza('xdsplot') OR trim(coalesce(xmodo, '')) NOT IN ('X', '4') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT l.cod_lot AS "COD_LOT", l.desc_lot AS "desc_lot",
               l.juegaespecial AS "Juegaespecial", l.especial AS "especial",
               CASE WHEN a.abierta THEN 'S' ELSE 'N' END AS "abierta",
               to_char(central.cierre_sorteo(l.cod_lot, momento::date), 'HH24:MI') AS "hora_cierre",
               l.dia_1 AS "DIA_1", l.dia_2 AS "DIA_2", l.dia_3 AS "DIA_3", l.dia_4 AS "DIA_4",
               l.dia_5 AS "DIA_5", l.dia_6 AS "DIA_6", l.dia_7 AS "DIA_7"
        FROM central.loterias l
        CROSS JOIN LATERAL (
            SELECT central.loteria_abierta(l.cod_lot, momento, vendedor) AS abierta) a
        WHERE (NOT solo_activas OR NOT l.cerrada)
          AND (NOT solo_abiertas OR a.abierta)
        ORDER BY l.orden, l.cod_lot;
END
$$;

-- The special plays assigned to the calling sales point, and their variants. A special with
-- no variant is left out: there would be nothing to sell.
CREATE PROCEDURE public.dspjugadase(
    INOUT return_value integer,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    vendedor varchar := central.vendedor_de_sesion();
BEGIN
    IF NOT central.autoriza('dspjugadase') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT e.especial AS "especial", e.descripcion AS "descripcion"
        FROM central.jugadas_especiales e
        JOIN central.especiales_vendedor a ON a.especial = e.especial AND a.cod_vendedor = vendedor
        WHERE EXISTS (SELECT FROM central.jugadas_especiales_detalle d
                      WHERE d.especial = e.especial)
        ORDER BY e.especial;
END
$$;

CREATE PROCEDURE public.dspjugadeta(
    INOUT return_value integer,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    vendedor varchar := central.vendedor_de_sesion();
BEGIN
    IF NOT central.autoriza('dspjugadeta') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT d.especial AS "especial", d.jugada AS "Jugada", d.desc_jugada AS "desc_jugada"
        FROM central.jugadas_especiales_detalle d
        JOIN central.especiales_vendedor a ON a.especial = d.especial AND a.cod_vendedor = vendedor
        ORDER BY d.especial, d.jugada;
END
$$;
