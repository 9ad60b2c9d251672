-- The tickets of a day as the counter lists them, the plays of one ticket for its image, the
-- first print of a ticket that never came out of the printer, and the count of reprints. A
-- sales point sees its own tickets only: another's answer as if they did not exist. Each serves
-- the sellers who may open the tickets of the day (F2); a refusal is audited and answered as the
-- procedure's refusal of another sales point's vendor.

-- A ticket number as a seller types it: 1 to 10 digits, written with ten ("42" is
-- "0000000042"); NULL for anything else.
CREATE FUNCTION central.nro_ticket(p_texto varchar) RETURNS varchar
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    t varchar := trim(coalesce(p_texto, ''));
BEGIN
    RETURN CASE WHEN t ~ '^[0-9]{1,10}$' THEN lpad(t, 10, '0') END;
END
$$;

-- A date as the counter sends it, "dd/mm/yyyy" (or "dd/mm/yy"); NULL when it names no day.
CREATE FUNCTION central.fecha_dma(p_texto varchar) RETURNS date
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    partes text[] := regexp_match(trim(coalesce(p_texto, '')),
                                  '^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4}|[0-9]{2})$');
BEGIN
    IF partes IS NULL THEN
        RETURN NULL;
    END IF;
    RETURN make_date(CASE WHEN length(partes[3]) = 2 THEN 2000 ELSE 0 END + partes[3]::integer,
                     partes[2]::integer, partes[1]::integer);
EXCEPTION WHEN datetime_field_overflow OR invalid_datetime_format THEN
    RETURN NULL;
END
$$;

-- The tickets of a sales point on a day ("dd/mm/yyyy"), in the order they were sold. xmodo "0".
-- Return value 0; 1 the date or the mode is not one; -1 the vendor is not the connection's.
-- "impreso" is "N" for a ticket the printer never gave out.
CREATE PROCEDURE public.dsptickets(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    IN xmodo varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := central.fecha_dma(xfecha);
BEGIN
    IF NOT central.autoriza('dsptickets', xcodigo_vend)
       OR NOT central.permitido('dsptickets', xcodigo_vend, NULL, 'F2.') THEN
        return_value := -1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    IF v_fecha IS NULL OR trim(coalesce(xmodo, '')) <> '0' THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT t.nroticket AS "nroticket", to_char(t.hora, 'HH24:MI:SS') AS "horaticket",
               t.monto AS "montoticket", t.anulado AS "anulado", t.cod_usuario AS "usuario",
               CASE WHEN t.impreso THEN 'S' ELSE 'N' END AS "impreso"
        FROM central.tickets t
        WHERE t.cod_vendedor = xcodigo_vend AND t.fecha = v_fecha
        ORDER BY t.hora, t.nroticket;
END
$$;

-- The sold plays of one ticket of the sales point on its day, one record per play in the order
-- they were sold, with the ticket's user, date, time and state ("statust" "ELI" cancelled).
-- A cancelled ticket keeps its plays. Return value 0 (no record: no such ticket of this sales
-- point that day); 1 the date or the mode is not one; -1 the vendor is not the connection's.
CREATE PROCEDURE public.xmuestraticket(
    INOUT return_value integer,
    IN xnroticket varchar,
    IN xcodigo_vend varchar,
    IN xfecha varchar,
    IN xmodo varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_numero varchar := central.nro_ticket(xnroticket);
    v_fecha date := central.fecha_dma(xfecha);
BEGIN
    IF NOT central.autoriza('xmuestraticket', xcodigo_vend)
       OR NOT central.permitido('xmuestraticket', xcodigo_vend, NULL, 'F2.') THEN
        return_value := -1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    IF v_fecha IS NULL OR trim(coalesce(xmodo, '')) <> '0' THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT t.nroticket AS "nroticket", t.cod_usuario AS "usuario",
               u.nombre AS "nombreusuario", to_char(t.fecha, 'DD/MM/YYYY') AS "fechaticket",
               to_char(t.hora, 'HH24:MI:SS') AS "Hora_venta", i.cod_lot AS "COD_LOT",
               l.desc_lot AS "desc_lot", i.tipo AS "Tipo_jugada", i.numero AS "Num_normal",
               CASE WHEN i.tipo = '2' THEN 0 ELSE i.monto_vendido END AS "Monto_Normal",
               CASE WHEN i.tipo = '2' THEN i.monto_vendido ELSE 0 END AS "Montoespecial",
               i.jugada AS "Jugada", i.especial AS "especial", t.estado AS "statust",
               CASE WHEN t.impreso THEN 'S' ELSE 'N' END AS "impreso",
               t.dias_caduca AS "diascaduca"
        FROM central.tickets t
        JOIN central.items_ticket i ON i.nticket = t.nroticket
        LEFT JOIN central.loterias l ON l.cod_lot = i.cod_lot
        LEFT JOIN central.usuarios u ON u.cod_usuario = t.cod_usuario
        WHERE t.nroticket = v_numero AND t.cod_vendedor = xcodigo_vend AND t.fecha = v_fecha
          AND i.monto_vendido > 0 AND (i.vigente OR i.anulado)
        ORDER BY i.num_item;
END
$$;

-- The whole of a ticket that the printer never gave out, for its first print: the plays as
-- xmuestraticket gives them plus the rows sold out ("status" 1, amount 0) and the serial. Only
-- the seller's own sales point, only an active ticket, and only once: the serial is what a prize
-- is paid against, so the call that hands it out marks it handed (a second request answers 2,
-- and the counter prints a copy) and is audited. Return value 0; 1 no such ticket of this sales
-- point; 2 it was printed, or its serial handed out, already; 3 it was cancelled; 12 the user or
-- the vendor may not sell now; -1 the vendor or the user is not the connection's.
CREATE PROCEDURE public.xticketoriginal(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xnroticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_numero varchar := central.nro_ticket(xnroticket);
    t central.tickets;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xticketoriginal', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('xticketoriginal', xcodigo_vend, xcodigo_user, 'F2.') THEN
        return_value := -1;
        RETURN;
    END IF;
    SELECT * INTO t FROM central.tickets
    WHERE nroticket = v_numero AND cod_vendedor = xcodigo_vend;
    IF NOT FOUND THEN
        return_value := 1;
    ELSIF t.impreso OR t.original_entregado IS NOT NULL THEN
        return_value := 2;
    ELSIF t.estado = 'ELI' THEN
        return_value := 3;
    ELSIF NOT central.usuario_activo(xcodigo_vend, xcodigo_user) THEN
        return_value := 12;
    ELSE
        return_value := 0;
        -- the serial is handed out once: a second request prints a copy
        UPDATE central.tickets SET original_entregado = central.ahora()
        WHERE nroticket = t.nroticket;
        PERFORM central.auditar('TICKET_ORIGINAL', xcodigo_vend, xcodigo_user,
                                format('ticket %s entregado para su primera impresión', v_numero));
        CLOSE rs;
        OPEN rs FOR
            SELECT t.nroticket AS "nroticket", t.serial::text AS "serial",
                   t.cod_usuario AS "usuario", u.nombre AS "nombreusuario",
                   to_char(t.fecha, 'DD/MM/YYYY') AS "fechaticket",
                   to_char(t.hora, 'HH24:MI:SS') AS "Hora_venta", i.cod_lot AS "COD_LOT",
                   l.desc_lot AS "desc_lot", i.tipo AS "Tipo_jugada", i.numero AS "Num_normal",
                   CASE WHEN i.tipo = '2' THEN 0 ELSE i.monto_vendido END AS "Monto_Normal",
                   CASE WHEN i.tipo = '2' THEN i.monto_vendido ELSE 0 END AS "Montoespecial",
                   i.jugada AS "Jugada", i.especial AS "especial", i.status AS "status",
                   t.estado AS "statust", 'N'::text AS "impreso",
                   t.dias_caduca AS "diascaduca"
            FROM central.items_ticket i
            LEFT JOIN central.loterias l ON l.cod_lot = i.cod_lot
            LEFT JOIN central.usuarios u ON u.cod_usuario = t.cod_usuario
            WHERE i.nticket = t.nroticket AND i.vigente
              AND (i.monto_vendido > 0 OR i.status = '1')
            ORDER BY i.num_item;
    END IF;
END
$$;

-- Counts a reprint of a ticket of the sales point (the image of the ticket list, without its
-- serial) and audits it. Return value 0; 1 no such ticket of this sales point; -1 the vendor or
-- the user is not the connection's.
CREATE PROCEDURE public.xreimpresion(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xnroticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_numero varchar := central.nro_ticket(xnroticket);
    v_veces integer;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xreimpresion', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('xreimpresion', xcodigo_vend, xcodigo_user, 'F2.') THEN
        return_value := -1;
        RETURN;
    END IF;
    UPDATE central.tickets SET reimpresiones = reimpresiones + 1
    WHERE nroticket = v_numero AND cod_vendedor = xcodigo_vend
    RETURNING reimpresiones INTO v_veces;
    IF NOT FOUND THEN
        return_value := 1;
        RETURN;
    END IF;
    return_value := 0;
    PERFORM central.auditar('TICKET_REIMPRESO', xcodigo_vend, xcodigo_user,
                            format('ticket %s, reimpresión %s', v_numero, v_veces));
END
$$;
