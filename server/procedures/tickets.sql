-- Issuing tickets.

-- Turns a temporary ticket into an issued ticket. Return value:
--   0   issued (also when the same ticket was issued by an earlier call whose answer was lost:
--       the record set then carries the serial the ticket was issued with);
--   88  refused and void: the total the counter sent is not the total of the items the
--       server sold. The quota of the ticket is given back and the counter prints a
--       "TICKET INVALIDO" voucher;
--   6   the draw of a sold item has closed since it was sold: the ticket stays open as it is,
--       so the seller removes that lottery's plays and issues the rest;
--   1   the vendor has no such open temporary ticket;
--   80  the ticket was released with its quota (no play for the minutes the central office
--       allows, or by its hand): nothing of it was sold;
--   4   the call is malformed (serial, state, cancellation flag, or an amount that is not a
--       decimal of precision 9 in whole céntimos, as every amount of a play is);
--   5   nothing on the ticket was sold;
--   12  the user or the vendor may not sell now (inactive or suspended since the login);
--   -1  the vendor or the user is not of the connection's sales point.
-- "@xnroticket" is the number under which the terminal builds its next ticket: a new one after
-- 0 and 88, and after 1 for a ticket of this vendor that was abandoned; otherwise the number
-- sent, and the ticket stays open as it was; after 80 a new one. "@xfecha_ticket" and "@xhora_ticket" carry the
-- issue's date and time, or the server's now when nothing was issued. The record set of an issued
-- ticket carries its number, serial, amount and the days its prize is paid after its last draw
-- ("diascaduca", the central office's value for the sales point, kept with the ticket), which
-- the printed ticket shows.
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
    xfecha_ticket := to_char(v_momento, 'DD/MM/YYYY');
    xhora_ticket := to_char(v_momento, 'HH24:MI:SS');
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xgrabtick', xcodigo_vend, xcodigo_user) THEN
        return_value := -1;
        RETURN;
    END IF;

    SELECT * INTO v_temporal FROM central.tickets_temporales t
    WHERE t.nticket = v_numero AND t.cod_vendedor = xcodigo_vend
    FOR UPDATE;

    IF FOUND AND v_temporal.estado IN ('EMI', 'INV') THEN
        -- the same call again after a lost answer: the same answer, nothing changed
        return_value := v_temporal.codigo_cierre;
        xnroticket := v_temporal.siguiente;
        SELECT * INTO v_emitido FROM central.tickets t WHERE t.nroticket = v_numero;
    ELSIF NOT FOUND THEN
        return_value := 1;
    ELSIF v_temporal.estado = 'LIB' THEN
        -- released with its quota: nothing of it is sold, the terminal goes on under a new number
        return_value := 80;
        xnroticket := lpad(central.crear_ticket_temporal(xcodigo_vend)::text, 10, '0');
    ELSIF v_temporal.estado = 'ABA' THEN
        -- the terminal's ticket was left behind (another login of this sales point took a new
        -- number): it goes on under a new one
        return_value := 1;
        xnroticket := lpad(central.crear_ticket_temporal(xcodigo_vend)::text, 10, '0');
    ELSIF NOT central.usuario_activo(xcodigo_vend, xcodigo_user) THEN
        return_value := 12;
    ELSE
        SELECT coalesce(sum(i.monto_vendido), 0) INTO v_total
        FROM central.items_ticket i
        WHERE i.nticket = v_numero AND i.vigente AND i.monto_vendido > 0;

        IF trim(coalesce(xestado_ticket, '')) <> 'ACT' OR trim(coalesce(xanulado, '')) <> 'N'
           OR (CASE WHEN v_serial ~ '^[1-9][0-9]{0,9}$' THEN v_serial::numeric > 2000000001
                    ELSE true END)
           OR xmonto_ticket IS NULL OR xmonto_ticket < 0 OR xmonto_ticket >= 1000000
           OR xmonto_ticket <> round(xmonto_ticket, 2) THEN
            return_value := 4;
        ELSIF v_total = 0 AND xmonto_ticket = 0 THEN
            return_value := 5;
        ELSIF v_total <> xmonto_ticket THEN
            PERFORM central.liberar_items(ARRAY[v_numero]);
            return_value := 88;
            UPDATE central.tickets_temporales SET estado = 'INV' WHERE nticket = v_numero;
            PERFORM central.auditar('TICKET_INVALIDO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s: total enviado %s, vendido %s', v_numero,
                                           xmonto_ticket, v_total));
        ELSIF EXISTS (
                SELECT FROM central.items_ticket i
                WHERE i.nticket = v_numero AND i.vigente AND i.monto_vendido > 0
                  AND (i.fecha_sorteo <> v_momento::date
                       OR NOT central.loteria_abierta(i.cod_lot, v_momento))) THEN
            return_value := 6;
        ELSE
            return_value := 0;
            INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, hora,
                                         monto, vendido_en, dias_caduca)
            SELECT v_numero, xcodigo_vend, xcodigo_user, v_serial::bigint, v_momento::date,
                   date_trunc('second', v_momento)::time(0), v_total, v_momento, v.dias_caduca
            FROM central.vendedores v WHERE v.cod_vendedor = xcodigo_vend
            RETURNING * INTO v_emitido;
            UPDATE central.tickets_temporales SET estado = 'EMI' WHERE nticket = v_numero;
            PERFORM central.auditar('TICKET_EMITIDO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s serial %s monto %s', v_numero, v_serial,
                                           v_total));
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
        CLOSE rs;
        OPEN rs FOR SELECT v_emitido.nroticket AS nroticket, v_emitido.serial::text AS serial,
                           v_emitido.monto AS monto, v_emitido.dias_caduca AS diascaduca;
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
    IF NOT central.autoriza('xmarcaimpreso', xcodigo_vend) THEN
        return_value := 1;
        RETURN;
    END IF;
    UPDATE central.tickets SET impreso = true
    WHERE nroticket = trim(coalesce(xnroticket, '')) AND cod_vendedor = xcodigo_vend;
    return_value := CASE WHEN FOUND THEN 0 ELSE 1 END;
END
$$;
