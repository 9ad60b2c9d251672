-- Draw results as the counters see them.

-- xmodo "4": the lotteries the central office has configured (not taken off altogether), with
-- their codes and descriptions. Any other mode: return value 1 and no record.
CREATE PROCEDURE public.dsplot(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xestado varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT central.autoriza('DSPLOT') OR trim(coalesce(xmodo, '')) <> '4' THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT l.cod_lot AS "COD_LOT", l.desc_lot AS "desc_lot"
        FROM central.loterias l WHERE NOT l.cerrada ORDER BY l.orden, l.cod_lot;
END
$$;

-- The results of the draws of a day ("dd/mm/yyyy"), one record per lottery drawn, in the
-- order of the grid: desc_lot, Pri_triple, Termi, Seg_triple, Ter_triple, Triple_Especial,
-- desc_jugada, Digito, Par_A, Par_B, Fijo. The terminal and the digit are the last two and the
-- last digit of the first prize; "Par A" its first two digits, "Par B" its first and last,
-- "Fijo" its first digit. Return value 1 for another mode or a date that is none.
CREATE PROCEDURE public.verpremios(
    INOUT return_value integer,
    IN xmodo varchar,
    IN xfecha varchar,
    IN xcodigo_vend varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_texto varchar := trim(coalesce(xfecha, ''));
    v_fecha date;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('Verpremios', xcodigo_vend)
       OR NOT central.permitido('Verpremios', xcodigo_vend, NULL, 'F12') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF trim(coalesce(xmodo, '')) <> '0' OR v_texto !~ '^[0-9]{2}/[0-9]{2}/[0-9]{4}$' THEN
        return_value := 1;
        RETURN;
    END IF;
    BEGIN
        v_fecha := make_date(substr(v_texto, 7, 4)::int, substr(v_texto, 4, 2)::int,
                             substr(v_texto, 1, 2)::int);
    EXCEPTION WHEN datetime_field_overflow OR invalid_datetime_format THEN
        return_value := 1;
        RETURN;
    END;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT l.desc_lot AS "desc_lot", r.triple AS "Pri_triple",
               right(r.triple, 2) AS "Termi", r.segundo AS "Seg_triple",
               r.tercero AS "Ter_triple", r.especial AS "Triple_Especial",
               CASE WHEN r.especial IS NOT NULL THEN e.descripcion END AS "desc_jugada",
               right(r.triple, 1) AS "Digito", left(r.triple, 2) AS "Par_A",
               left(r.triple, 1) || right(r.triple, 1) AS "Par_B",
               left(r.triple, 1) AS "Fijo"
        FROM central.resultados r
        JOIN central.loterias l ON l.cod_lot = r.cod_lot
        LEFT JOIN central.jugadas_especiales e ON e.especial = l.especial
        WHERE r.fecha = v_fecha
        ORDER BY l.orden, l.cod_lot;
END
$$;
