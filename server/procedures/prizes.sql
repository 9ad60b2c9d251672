-- What a ticket wins, and paying it.

-- What a draw pays on: each winning number with what one unit sold on it pays (0 when the
-- payout table has nothing for that kind of win), straight plays apart from special plays
-- (per variant). A number wins once, the best way: the first prize before the second and the
-- third. No rows while the draw has no results.
CREATE FUNCTION central.pagos_sorteo(p_cod_lot varchar, p_fecha date)
RETURNS TABLE (numero varchar, especial boolean, variante varchar, multiplicador numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp ROWS 6 AS $$
BEGIN
    RETURN QUERY
        WITH ganadores AS (
            SELECT DISTINCT ON (w.numero, w.especial) w.numero, w.especial, w.clase
            FROM central.resultados r
            CROSS JOIN LATERAL (VALUES
                (1, r.triple, false, 'TRIPLE'), (2, r.segundo, false, 'SEGUNDO'),
                (3, r.tercero, false, 'TERCERO'),
                (4, right(r.triple, 2) || '*', false, 'TERMINAL'),
                (5, right(r.triple, 1) || '**', false, 'DIGITO'),
                (6, r.especial, true, 'ESPECIAL')) w(orden, numero, especial, clase)
            WHERE r.cod_lot = p_cod_lot AND r.fecha = p_fecha AND w.numero IS NOT NULL
            ORDER BY w.numero, w.especial, w.orden)
        SELECT g.numero::varchar, g.especial, coalesce(t.variante, '')::varchar,
               coalesce(t.multiplicador, 0)
        FROM ganadores g
        LEFT JOIN central.tabla_pagos t ON t.cod_lot = p_cod_lot AND t.tipo = g.clase;
END
$$;

-- What one unit sold of an item pays: the multiplier of the payout table for the item's win
-- on its draw (central.pagos_sorteo), 0 when it does not win, NULL while the draw has no
-- results. A special play (kind "2") wins on the special number, per its variant.
CREATE FUNCTION central.multiplicador_item(p_cod_lot varchar, p_fecha date, p_numero varchar,
                                           p_tipo char, p_variante varchar) RETURNS numeric
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM central.resultados r
                   WHERE r.cod_lot = p_cod_lot AND r.fecha = p_fecha) THEN
        RETURN NULL;
    END IF;
    RETURN coalesce((SELECT p.multiplicador FROM central.pagos_sorteo(p_cod_lot, p_fecha) p
                     WHERE p.numero = p_numero AND p.especial = (p_tipo = '2')
                       AND (NOT p.especial OR p.variante = coalesce(trim(p_variante), ''))),
                    0);
END
$$;

-- The winning items of an issued ticket with what each pays (amount sold times multiplier,
-- in cents); items of draws without results come with a NULL prize. A cancelled ticket has no
-- winning items.
CREATE FUNCTION central.items_premiados(p_nroticket varchar)
RETURNS TABLE (num_item integer, cod_lot varchar, fecha_sorteo date, numero varchar,
               monto numeric, multiplicador numeric, premio numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT i.num_item, i.cod_lot, i.fecha_sorteo, i.numero, i.monto_vendido, m.mult,
               round(i.monto_vendido * m.mult, 2)
        FROM central.tickets t
        JOIN central.items_ticket i ON i.nticket = t.nroticket
        CROSS JOIN LATERAL (SELECT central.multiplicador_item(i.cod_lot, i.fecha_sorteo,
                                                              i.numero, i.tipo,
                                                              i.variante) AS mult) m
        WHERE t.nroticket = p_nroticket AND t.anulado = 'N' AND t.estado = 'ACT'
          AND i.vigente AND i.monto_vendido > 0
        ORDER BY i.num_item;
END
$$;

-- The prize of an issued ticket and how many of its sold items still wait for their draw's
-- results. A ticket is paid in full once, so nothing is payable while an item waits.
CREATE FUNCTION central.premio_ticket(p_nroticket varchar, OUT premio numeric,
                                      OUT pendientes integer)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT coalesce(sum(p.premio), 0), count(*) FILTER (WHERE p.premio IS NULL)
    INTO premio, pendientes
    FROM central.items_premiados(p_nroticket) p;
END
$$;

-- Checks ("@xmodo" other than "1") or pays ("1") the prize of a ticket of the connection's
-- sales point, found by its number and serial. Return value:
--   0   check: the ticket wins and may be paid; pay: paid now;
--   9   the ticket was cancelled (never wins);
--   55  check: the prize was paid already; 6: the same found by a payment call;
--   8   no ticket of this sales point with this number and serial;
--   7   the prize expired: more than "diascaduca" days (3 when the sales point has none) have
--       passed since the ticket's last draw;
--   3   the ticket does not win, or one of its draws has no results yet;
--   12  the seller or the sales point may not work now.
-- The record set (fechaticket, horaticket, anulado, estadoticket, montopremio, and the server's
-- date and time in fechapago, horapago) comes with every code of a ticket that was found. The
-- payment takes the ticket's row lock, as a cancellation does, so two counters paying at once
-- pay once and a payment racing a cancellation ends in one of the two. "@codcli" is the
-- customer's identity number, kept with the payment; the check call does not send it.
CREATE PROCEDURE public.pagaticketnew(
    INOUT return_value integer,
    IN xserial varchar,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xmodo varchar,
    IN nticket varchar,
    IN codcli varchar DEFAULT NULL,
    INOUT rs refcursor DEFAULT NULL)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_pagar boolean := trim(coalesce(xmodo, '')) = '1';
    v_numero varchar := trim(coalesce(nticket, ''));
    v_serial varchar := trim(coalesce(xserial, ''));
    v_cliente varchar := left(nullif(upper(trim(coalesce(codcli, ''))), ''), 20);
    v_ahora timestamp := central.ahora();
    v_hoy date := v_ahora::date;
    t central.tickets;
    v_premio numeric := 0;
    v_pendientes integer;
    v_sorteo date;
    v_dias integer;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('PAGATICKETnew', xcodigo_vend, xcodigo_user) THEN
        return_value := 8;
        RETURN;
    END IF;
    IF NOT central.usuario_activo(xcodigo_vend, xcodigo_user) THEN
        return_value := 12;
        RETURN;
    END IF;
    -- the printed number has ten digits; a seller may leave the leading zeros out
    IF v_numero ~ '^[0-9]{1,10}$' AND v_serial ~ '^[0-9]{1,10}$' THEN
        v_numero := lpad(v_numero, 10, '0');
        IF v_pagar THEN
            -- the lock a cancellation takes too: a ticket is never both paid and cancelled
            t := central.ticket_bloqueado(v_numero);
        ELSE
            SELECT * INTO t FROM central.tickets WHERE nroticket = v_numero;
        END IF;
    END IF;
    IF t.nroticket IS NULL OR t.cod_vendedor <> xcodigo_vend
       OR t.serial <> v_serial::bigint THEN
        return_value := 8;
        IF v_pagar THEN
            PERFORM central.auditar('PAGO_RECHAZADO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s serial %s: no existe', left(v_numero, 20),
                                           left(v_serial, 30)));
        END IF;
        RETURN;
    END IF;

    IF t.anulado = 'S' OR t.estado = 'ELI' THEN
        return_value := 9;
    ELSE
        IF v_pagar THEN
            -- a correction of these results waits for the payment, or the payment for it
            PERFORM 1 FROM central.resultados r
            WHERE (r.cod_lot, r.fecha) IN (SELECT i.cod_lot, i.fecha_sorteo
                                           FROM central.items_ticket i
                                           WHERE i.nticket = t.nroticket)
            ORDER BY r.cod_lot, r.fecha
            FOR SHARE;
        END IF;
        SELECT p.premio, p.pendientes INTO v_premio, v_pendientes
        FROM central.premio_ticket(t.nroticket) p;
        SELECT max(i.fecha_sorteo) INTO v_sorteo FROM central.items_ticket i
        WHERE i.nticket = t.nroticket AND i.vigente AND i.monto_vendido > 0;
        SELECT coalesce(p.diascaduca, 3) INTO v_dias
        FROM (SELECT 1) one
        LEFT JOIN central.parametros_terminal p ON p.cod_vendedor = t.cod_vendedor;
        IF EXISTS (SELECT FROM central.pagos p WHERE p.nroticket = t.nroticket) THEN
            return_value := CASE WHEN v_pagar THEN 6 ELSE 55 END;
            SELECT p.monto INTO v_premio FROM central.pagos p WHERE p.nroticket = t.nroticket;
        ELSIF v_pendientes > 0 OR v_premio = 0 THEN
            return_value := 3;
            v_premio := 0;
        ELSIF v_hoy > v_sorteo + v_dias THEN
            return_value := 7;
        ELSE
            return_value := 0;
        END IF;
    END IF;
    IF return_value = 9 THEN
        v_premio := 0;
    END IF;

    IF v_pagar THEN
        IF return_value = 0 THEN
            INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, cedula,
                                       pagado)
            VALUES (t.nroticket, xcodigo_vend, xcodigo_user, v_premio, v_cliente,
                    v_ahora);
            PERFORM central.auditar('PREMIO_PAGADO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s serial %s premio %s cliente %s',
                                           t.nroticket, t.serial, v_premio,
                                           coalesce(v_cliente, '-')));
        ELSE
            PERFORM central.auditar('PAGO_RECHAZADO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s: codigo %s', t.nroticket, return_value));
        END IF;
    END IF;

    CLOSE rs;
    OPEN rs FOR
        SELECT to_char(t.fecha, 'DD/MM/YYYY') AS fechaticket,
               to_char(t.hora, 'HH24:MI:SS') AS horaticket,
               t.anulado::varchar AS anulado, t.estado::varchar AS estadoticket,
               round(v_premio, 2) AS montopremio,
               to_char(v_ahora, 'DD/MM/YYYY') AS fechapago,
               to_char(v_ahora, 'HH24:MI:SS') AS horapago;
END
$$;
