-- The day's money movements of a sales point ("Gastos del dia").

-- The five kinds of movement, as the counter lists them; the digit in front is the kind.
CREATE FUNCTION central.tipo_gasto(p_descripcion varchar) RETURNS char
LANGUAGE plpgsql IMMUTABLE SET search_path = central, pg_temp AS $$
BEGIN
    RETURN CASE rtrim(coalesce(p_descripcion, ''))
        WHEN '0.- Pago Vendedor a Banca' THEN '0'
        WHEN '1.- Pago Banca a Vendedor' THEN '1'
        WHEN '2.- Prestamo' THEN '2'
        WHEN '3.- Pago Couta Prestamo' THEN '3'
        WHEN '4.- Couta diaria Presamo' THEN '4'
    END;
END
$$;

CREATE FUNCTION central.gastos_del_dia(p_vendedor varchar, p_fecha date)
RETURNS TABLE (fecha_gasto varchar, nrogasto varchar, vendedor varchar, descri_gasto varchar,
               monto_gasto numeric, observa_gasto varchar, tipo_descuento varchar,
               origen varchar, estado varchar)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT to_char(g.fecha, 'DD/MM/YYYY')::varchar, g.nrogasto, g.cod_vendedor,
               g.descripcion, g.monto, g.observacion, g.tipo_descuento::varchar,
               g.origen::varchar, g.estado::varchar
        FROM central.gastos g
        WHERE g.cod_vendedor = p_vendedor AND g.fecha = p_fecha
        ORDER BY g.registrado, g.id;
END
$$;

-- dspgastos: the movements of the calling sales point on "@xfecha" ("dd/mm/yyyy"), in the
-- columns fecha_gasto, nrogasto, vendedor, descri_gasto, monto_gasto, observa_gasto,
-- tipo_descuento, origen ('P' entered at the counter, 'B' by the central office), estado ('P'
-- waiting for the central office, 'C' confirmed, 'R' rejected). The counter reads no return
-- value; it is 0, or 1 (no records) for another sales point's vendor, a seller without the
-- movements' permission (F7 and "R.-") or a day that is none.
CREATE PROCEDURE public.dspgastos(
    INOUT return_value integer,
    IN xfecha varchar,
    IN xcodigo_vend varchar,
    IN tipo_descuento varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := central.fecha_ddmmyyyy(xfecha);
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('dspgastos', xcodigo_vend)
       OR NOT central.permitido('dspgastos', xcodigo_vend, NULL, 'F7.', 'R.-')
       OR v_fecha IS NULL THEN
        return_value := 1;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR SELECT * FROM central.gastos_del_dia(xcodigo_vend, v_fecha);
END
$$;

-- ACTGastos: adds ("@xmodo" "0"), modifies ("1") or deletes ("2") a movement of the calling
-- sales point, found by its document number. What the counter records is a declaration: it
-- counts in the account once the central office confirms it. A new movement is dated the
-- server's today; a modification keeps the movement's date and changes its kind, amount and
-- observation; a deletion names the day the movement was listed on. Texts with control
-- characters are refused with an error. Return value:
--   0   done (and audited);
--   1   the vendor is not the connection's sales point, or the seller lacks the movements'
--       permission (F7 and "R.-");
--   2   malformed: mode, document number (1 to 10 characters), kind (one of the five), amount
--       (above 0 and below 10,000,000, two decimals at most), day, observation (200);
--   3   adding: the sales point already has a movement with that document number (its kind,
--       amount and the seconds since it was recorded come with it);
--   4   modifying or deleting: no such movement of the sales point (on that day), or one the
--       central office entered;
--   5   the movement's day is settled already;
--   6   modifying or deleting: the central office has confirmed or rejected the movement;
--   12  the sales point is not active.
CREATE PROCEDURE public.actgastos(
    INOUT return_value integer,
    IN xmodo varchar,
    IN nrogasto varchar,
    IN descri_gasto varchar,
    IN monto_gasto varchar,
    IN fecha_gasto varchar,
    IN vendedor varchar,
    IN observa_gasto varchar,
    IN tipo_descuento varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_modo varchar := trim(coalesce(xmodo, ''));
    v_numero varchar := trim(coalesce(actgastos.nrogasto, ''));
    v_descripcion varchar := rtrim(coalesce(descri_gasto, ''));
    v_tipo char := central.tipo_gasto(descri_gasto);
    v_texto varchar := trim(coalesce(monto_gasto, ''));
    v_monto numeric;
    v_fecha date := central.fecha_ddmmyyyy(fecha_gasto);
    v_observa varchar := coalesce(observa_gasto, '');
    v_hoy date := central.ahora()::date;
    v_cerrado date;
    g central.gastos;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('ACTGastos', vendedor)
       OR NOT central.permitido('ACTGastos', vendedor, NULL, 'F7.', 'R.-') THEN
        return_value := 1;
        RETURN;
    END IF;
    PERFORM central.texto_libre('El número de documento', actgastos.nrogasto),
            central.texto_libre('El tipo de movimiento', descri_gasto),
            central.texto_libre('La observación', observa_gasto);
    -- a settlement of this sales point waits for the change, or the change for it
    PERFORM 1 FROM central.vendedores v WHERE v.cod_vendedor = vendedor FOR KEY SHARE;
    IF NOT EXISTS (SELECT FROM central.vendedores v
                   WHERE v.cod_vendedor = vendedor AND v.estado = 'A') THEN
        return_value := 12;
        RETURN;
    END IF;
    IF v_texto ~ '^[0-9]{1,7}(\.[0-9]{0,2})?$' THEN
        v_monto := v_texto::numeric;
    END IF;
    IF v_modo NOT IN ('0', '1', '2') OR v_numero = '' OR length(v_numero) > 10
       OR length(v_observa) > 200
       OR (v_modo IN ('0', '1') AND (v_tipo IS NULL OR v_monto IS NULL OR v_monto <= 0))
       OR (v_modo = '2' AND v_fecha IS NULL) THEN
        return_value := 2;
        RETURN;
    END IF;
    v_cerrado := central.ultima_liquidacion(vendedor);

    SELECT * INTO g FROM central.gastos x
    WHERE x.cod_vendedor = vendedor AND x.nrogasto = v_numero
    FOR UPDATE;
    IF v_modo = '0' THEN
        IF FOUND THEN
            return_value := 3;
            -- what the number holds and how long ago it was recorded: a counter that repeats an
            -- addition whose answer was lost knows its own
            CLOSE rs;
            OPEN rs FOR SELECT g.descripcion AS "descri_gasto", g.monto AS "monto_gasto",
                               floor(extract(epoch FROM central.ahora() - g.registrado))::integer
                                   AS "registrado_hace";
        ELSIF v_hoy <= v_cerrado THEN
            return_value := 5;
        ELSE
            INSERT INTO central.gastos (cod_vendedor, nrogasto, tipo, descripcion, monto, fecha,
                                        observacion)
            VALUES (vendedor, v_numero, v_tipo, v_descripcion, v_monto, v_hoy, v_observa);
            return_value := 0;
            PERFORM central.auditar('GASTO_INCLUIDO', vendedor, NULL,
                                    format('%s: %s %s el %s', v_numero, v_descripcion, v_monto,
                                           v_hoy));
        END IF;
        RETURN;
    END IF;
    IF NOT FOUND OR g.origen <> 'P' OR (v_modo = '2' AND g.fecha <> v_fecha) THEN
        return_value := 4;
    ELSIF g.fecha <= v_cerrado THEN
        return_value := 5;
    ELSIF g.estado <> 'P' THEN
        return_value := 6;
    ELSIF v_modo = '1' THEN
        UPDATE central.gastos
        SET tipo = v_tipo, descripcion = v_descripcion, monto = v_monto, observacion = v_observa
        WHERE id = g.id;
        return_value := 0;
        PERFORM central.auditar('GASTO_MODIFICADO', vendedor, NULL,
                                format('%s del %s: %s %s (antes %s %s)', v_numero, g.fecha,
                                       v_descripcion, v_monto, g.descripcion, g.monto));
    ELSE
        DELETE FROM central.gastos WHERE id = g.id;
        return_value := 0;
        PERFORM central.auditar('GASTO_ELIMINADO', vendedor, NULL,
                                format('%s del %s: %s %s', v_numero, g.fecha, g.descripcion,
                                       g.monto));
    END IF;
END
$$;
