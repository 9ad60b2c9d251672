-- "Monitor On Line": what was sold of each number of a lottery's draw, kept as plays are booked
-- and given back, and read by the counters through procedures.

-- Where an amount sold of a played number ("123", "45*", "7**") counts in the accumulation: two-
-- and three-digit straight plays, one-digit straight plays, special plays (tipo '2').
CREATE FUNCTION central.partes_acumuladas(p_numero varchar, p_tipo char, p_monto numeric)
RETURNS TABLE (normal numeric, digito numeric, especial numeric)
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN p_tipo IS DISTINCT FROM '2' AND p_numero !~ '^[0-9]\*\*$'
                THEN p_monto ELSE 0 END,
           CASE WHEN p_tipo IS DISTINCT FROM '2' AND p_numero ~ '^[0-9]\*\*$'
                THEN p_monto ELSE 0 END,
           CASE WHEN p_tipo = '2' THEN p_monto ELSE 0 END
$$;

-- What each sales point sold of each number of each lottery's draw: the live sold items of its
-- tickets, open or issued, summed as booking and every give-back leave them. Numbers without
-- their marks: "7", "45", "123". Read for one sales point, lottery and day by key.
CREATE VIEW central.acumulados AS
    SELECT i.cod_lot, i.fecha_sorteo AS fecha, i.cod_vendedor,
           rtrim(i.numero, '*')::varchar AS numero,
           sum(c.normal)::numeric(14, 3) AS monto_normal,
           sum(c.digito)::numeric(14, 3) AS monto_digito,
           sum(c.especial)::numeric(14, 3) AS monto_especial
    FROM central.items_ticket i
    CROSS JOIN LATERAL central.partes_acumuladas(i.numero, i.tipo, i.monto_vendido) c
    WHERE i.vigente AND i.monto_vendido > 0
    GROUP BY i.cod_lot, i.fecha_sorteo, i.cod_vendedor, rtrim(i.numero, '*');

-- What special plays hold of each number of a draw, network-wide: a few items among the day's,
-- found by their own index.
CREATE FUNCTION central.especiales_del_sorteo(p_cod_lot varchar, p_fecha date)
RETURNS TABLE (numero varchar, monto numeric)
LANGUAGE sql STABLE AS $$
    SELECT i.numero, sum(i.monto_vendido)
    FROM central.items_ticket i
    WHERE i.cod_lot = p_cod_lot AND i.fecha_sorteo = p_fecha AND i.tipo = '2' AND i.vigente
      AND i.monto_vendido > 0
    GROUP BY i.numero
$$;

-- The accumulation of a lottery's draw on a day, per number: the calling sales point's own
-- ("DETALLADO"), or the whole network's totals ("GENERAL"), which name no sales point.
CREATE FUNCTION central.acumulados_de(p_modo varchar, p_cod_lot varchar, p_vendedor varchar,
                                      p_fecha date)
RETURNS TABLE (cod_lot varchar, fecha varchar, cod_vendedor varchar, numero varchar,
               monto_normal numeric, monto_digito numeric, monto_especial numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_modo = 'DETALLADO' THEN
        RETURN QUERY
            SELECT a.cod_lot, to_char(a.fecha, 'DD/MM/YYYY')::varchar, a.cod_vendedor, a.numero,
                   a.monto_normal, a.monto_digito, a.monto_especial
            FROM central.acumulados a
            WHERE a.cod_lot = p_cod_lot AND a.fecha = p_fecha AND a.cod_vendedor = p_vendedor
              AND a.monto_normal + a.monto_digito + a.monto_especial > 0
            ORDER BY a.numero;
    ELSE
        -- the network's totals are the numbers' sold quota: what special plays hold of a
        -- number, and the rest as straight plays
        RETURN QUERY
            SELECT p_cod_lot, to_char(p_fecha, 'DD/MM/YYYY')::varchar, NULL::varchar,
                   rtrim(v.numero, '*')::varchar, c.normal::numeric(14, 3),
                   c.digito::numeric(14, 3), coalesce(e.monto, 0)::numeric(14, 3)
            FROM central.ventas_numero v
            LEFT JOIN central.especiales_del_sorteo(p_cod_lot, p_fecha) e ON e.numero = v.numero
            CROSS JOIN LATERAL central.partes_acumuladas(v.numero, NULL,
                                                         v.vendido - coalesce(e.monto, 0)) c
            WHERE v.cod_lot = p_cod_lot AND v.fecha = p_fecha AND v.vendido > 0
            ORDER BY 4;
    END IF;
END
$$;

-- The monitor's listing: "@xmodo" "GENERAL" or "DETALLADO", the lottery code, the calling
-- vendor, the day "dd/mm/yyyy". Records: COD_LOT, FECHA_ACUMULAS, CODVENDEDOR (null in the
-- general view), Numero_normal, Monto_Normal, Monto_Digito, Montoespecial, ordered by number.
-- Return value 0; 1 for another sales point's vendor, an unknown mode or a day that is none.
CREATE PROCEDURE public.dspacumu(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xcod_lot varchar,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_modo varchar := upper(trim(coalesce(xmodo, '')));
    v_fecha date := central.fecha_ddmmyyyy(xfecha);
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('DSPACUMU', xcodigo_vend)
       OR NOT central.permitido('DSPACUMU', xcodigo_vend, NULL, 'F7.', 'M.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF v_modo NOT IN ('GENERAL', 'DETALLADO') OR v_fecha IS NULL THEN
        return_value := 1;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT a.cod_lot AS "COD_LOT", a.fecha AS "FECHA_ACUMULAS",
               a.cod_vendedor AS "CODVENDEDOR", a.numero AS "Numero_normal",
               a.monto_normal AS "Monto_Normal", a.monto_digito AS "Monto_Digito",
               a.monto_especial AS "Montoespecial"
        FROM central.acumulados_de(v_modo, upper(trim(coalesce(xcod_lot, ''))), xcodigo_vend,
                                   v_fecha) a;
END
$$;

-- What the calling sales point sold of one number ("7", "45", "123") of a lottery's draw on a day
-- as two- and three-digit straight plays (monto_normal, as the monitor's single number sums it),
-- in the record's field SUMAT (null when nothing was sold). Return value as dspacumu.
CREATE PROCEDURE public.sumacumu(
    INOUT return_value integer,
    IN xcod_lot varchar,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    IN xnumero varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := central.fecha_ddmmyyyy(xfecha);
    v_total numeric;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('SUMACUMU', xcodigo_vend)
       OR NOT central.permitido('SUMACUMU', xcodigo_vend, NULL, 'F7.', 'M.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF v_fecha IS NULL THEN
        return_value := 1;
        RETURN;
    END IF;
    SELECT sum(a.monto_normal) INTO v_total
    FROM central.acumulados a
    WHERE a.cod_lot = upper(trim(coalesce(xcod_lot, ''))) AND a.fecha = v_fecha
      AND a.cod_vendedor = xcodigo_vend AND a.numero = trim(coalesce(xnumero, ''));
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR SELECT v_total AS "SUMAT";
END
$$;
