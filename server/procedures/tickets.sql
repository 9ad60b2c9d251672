-- Issuing tickets.

-- Turns a temporary ticket into an issued ticket. Return value:
--   0   issued (also when the same ticket was issued by an earlier call whose answer was lost:
--       the record set then carries the serial the ticket was issued with);
--   88  refused and void: the total the counter sent is not the total of the items the
--       server sold, or a sold item's draw has closed since it was sold. The quota of the
--       ticket is given back and the counter prints a "TICKET INVALIDO" voucher;
--   1   the vendor has no such open temporary ticket;
--   4   the call is malformed (serial, state, cancellation flag, amount or user);
--   5   nothing on the ticket was sold;
--   -1  no such vendor.
-- Whatever the answer, "@xnroticket" is the number under which the terminal builds its next
-- ticket. When a ticket is refused with 4 or 5, its items move to that number, so the ticket
-- the counter still shows stays whole.
CREATE PROCEDURE public.xgrabtick(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xseriald varchar,
    INOUT xfecha_ticket varchar,
    INOUT xhora_ticket varchar,
    IN xestado_ticket varchar,
    IN xmonto_ticket numeric,
    IN xanulado varchar,
    IN xnroticktmp varchar,
    INOUT xnroticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_momento timestamp := central.ahora();
    v_numero varchar := trim(coalesce(xnroticktmp, ''));
    v_serial varchar := trim(coalesce(xseriald, ''));
    v_temporal central.tickets_temporales;
    v_emitido central.tickets;
    v_total numeric;
    v_siguiente varchar;
BEGIN
    xnroticket := v_numero;
    IF NOT EXISTS (SELECT FROM central.vendedores v WHERE v.cod_vendedor = xcodigo_vend) THEN
        return_value := -1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;

    SELECT * INTO v_temporal FROM central.tickets_temporales t
    WHERE t.nticket = v_numero AND t.cod_vendedor = xcodigo_vend
    FOR UPDATE;

    IF FOUND AND v_temporal.estado IN ('EMI', 'INV', 'REN') THEN
        -- the same call again after a lost answer: the same answer, nothing changed
        return_value := v_temporal.codigo_cierre;
        xnroticket := v_temporal.siguiente;
        SELECT * INTO v_emitido FROM central.tickets t WHERE t.nroticket = v_numero;
    ELSIF NOT FOUND OR v_temporal.estado <> 'ABI' THEN
        return_value := 1;
        xnroticket := lpad(central.nuevo_ticket_temporal(xcodigo_vend)::text, 10, '0');
    ELSE
        SELECT coalesce(sum(i.monto_vendido), 0) INTO v_total
        FROM central.items_ticket i
        WHERE i.nticket = v_numero AND i.vigente AND i.monto_vendido > 0;

        IF trim(coalesce(xestado_ticket, '')) <> 'ACT' OR trim(coalesce(xanulado, '')) <> 'N'
           OR (CASE WHEN v_serial ~ '^[1-9][0-9]{0,9}$' THEN v_serial::numeric > 2000000001
                    ELSE true END)
           OR xmonto_ticket IS NULL OR xmonto_ticket < 0
           OR NOT EXISTS (SELECT FROM central.usuarios u
                          WHERE u.cod_usuario = xcodigo_user AND u.cod_vendedor = xcodigo_vend)
           OR (v_total = 0 AND xmonto_ticket = 0) THEN
            -- not issued; the ticket moves, whole, to the terminal's next number
            return_value := CASE WHEN v_total = 0 AND xmonto_ticket = 0 THEN 5 ELSE 4 END;
            v_siguiente := lpad(nextval('central.nro_ticket_tmp')::text, 10, '0');
            INSERT INTO central.tickets_temporales (nticket, cod_vendedor)
            VALUES (v_siguiente, xcodigo_vend);
            UPDATE central.items_ticket SET nticket = v_siguiente WHERE nticket = v_numero;
            UPDATE central.tickets_temporales
            SET estado = 'REN', siguiente = v_siguiente, codigo_cierre = return_value
            WHERE nticket = v_numero;
            xnroticket := v_siguiente;
        ELSIF v_total <> xmonto_ticket OR EXISTS (
                SELECT FROM central.items_ticket i
                WHERE i.nticket = v_numero AND i.vigente AND i.monto_vendido > 0
                  AND (i.fecha_sorteo <> v_momento::date
                       OR NOT central.loteria_abierta(i.cod_lot, v_momento))) THEN
            PERFORM central.liberar_items(ARRAY[v_numero]);
            return_value := 88;
            UPDATE central.tickets_temporales SET estado = 'INV' WHERE nticket = v_numero;
        ELSE
            return_value := 0;
            INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, hora,
                                         monto)
            VALUES (v_numero, xcodigo_vend, xcodigo_user, v_serial::bigint, v_momento::date,
                    v_momento::time(0), v_total)
            RETURNING * INTO v_emitido;
            UPDATE central.tickets_temporales SET estado = 'EMI' WHERE nticket = v_numero;
        END IF;
        IF return_value IN (0, 88) THEN
            v_siguiente := lpad(central.nuevo_ticket_temporal(xcodigo_vend)::text, 10, '0');
            UPDATE central.tickets_temporales
            SET siguiente = v_siguiente, codigo_cierre = return_value
            WHERE nticket = v_numero;
            xnroticket := v_siguiente;
        END IF;
    END IF;

    IF v_emitido.nroticket IS NOT NULL THEN
        xfecha_ticket := to_char(v_emitido.fecha, 'DD/MM/YYYY');
        xhora_ticket := to_char(v_emitido.hora, 'HH24:MI:SS');
        OPEN rs FOR SELECT v_emitido.nroticket AS nroticket, v_emitido.serial::text AS serial,
                           v_emitido.monto AS monto;
    ELSE
        OPEN rs FOR SELECT WHERE false;
    END IF;
END
$$;

-- Records that an issued ticket came out of the printer. Return value 0, or 1 when the vendor
-- has no such ticket.
CREATE PROCEDURE public.xmarcaimpreso(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xnroticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    OPEN rs FOR SELECT WHERE false;
    UPDATE central.tickets SET impreso = true
    WHERE nroticket = trim(coalesce(xnroticket, '')) AND cod_vendedor = xcodigo_vend;
    return_value := CASE WHEN FOUND THEN 0 ELSE 1 END;
END
$$;
