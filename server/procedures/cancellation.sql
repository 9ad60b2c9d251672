-- Cancelling issued tickets.

-- An issued ticket locked for a change of its state (SELECT ... FROM central.tickets WHERE
-- nroticket = ... FOR UPDATE). Cancellation and prize payment both take their ticket through
-- here, so whichever comes second waits for the first to commit and then sees what it did.
-- All fields are null when there is no such ticket.
CREATE FUNCTION central.ticket_bloqueado(p_nroticket varchar) RETURNS central.tickets
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    t central.tickets;
BEGIN
    SELECT * INTO t FROM central.tickets WHERE nroticket = p_nroticket FOR UPDATE;
    RETURN t;
END
$$;

-- Whether an active ticket may still be cancelled at a moment of the server's clock: strictly
-- within its sales point's cancellation window after the moment of the sale (a window of N
-- minutes allows less than N minutes; 0 never), while the draw of every play sold on it is still
-- open, and never once a prize was paid on it.
CREATE FUNCTION central.ticket_anulable(p_ticket central.tickets, p_momento timestamp)
RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN p_momento < coalesce(p_ticket.vendido_en, p_ticket.fecha + p_ticket.hora)
                       + make_interval(mins => (
               SELECT v.minutos_anulacion FROM central.vendedores v
               WHERE v.cod_vendedor = p_ticket.cod_vendedor))
       AND NOT EXISTS (
               SELECT FROM central.items_ticket i
               WHERE i.nticket = p_ticket.nroticket AND i.vigente AND i.monto_vendido > 0
                 AND (i.fecha_sorteo <> p_momento::date
                      OR NOT central.loteria_abierta(i.cod_lot, p_momento)))
       AND NOT EXISTS (SELECT FROM central.pagos p WHERE p.nroticket = p_ticket.nroticket);
END
$$;

-- Query ("@xmodo" "0") or cancel ("1") a ticket of the sales point. Return value:
--   0   query: the ticket's date, time, state and amount (no record: no such ticket);
--       cancel: the ticket is cancelled, its quota given back;
--   11  the ticket was sold by another sales point, the vendor or the user is not the
--       connection's, or the seller may not cancel tickets (F3 permission; audited);
--   12  the cancellation window has passed, or the draw of one of its plays has closed;
--   13  cancel: the ticket was cancelled already (its details come with it, with who cancelled
--       it, "anulado_por", and the seconds since, "anulado_hace");
--   50  query: the ticket was cancelled already (its details come with it);
--   1   cancel: no such ticket;  4  the mode is neither "0" nor "1";
--   14  cancel: the user or the vendor may not operate now (inactive or suspended).
-- Two counters cancelling the same ticket at once: the second waits on the ticket's lock and
-- answers 13.
CREATE PROCEDURE public.anulaticket(
    INOUT return_value integer,
    IN nro_ticket varchar,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xmodo varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_momento timestamp := central.ahora();
    v_numero varchar := central.nro_ticket(nro_ticket);
    v_modo varchar := trim(coalesce(xmodo, ''));
    t central.tickets;
    v_fecha text;
    v_hora text;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('ANULATICKET', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('ANULATICKET', xcodigo_vend, xcodigo_user, 'F3.') THEN
        return_value := 11;
        RETURN;
    END IF;
    IF v_modo NOT IN ('0', '1') THEN
        return_value := 4;
        RETURN;
    END IF;

    IF v_modo = '1' THEN
        t := central.ticket_bloqueado(v_numero);
    ELSE
        SELECT * INTO t FROM central.tickets WHERE nroticket = v_numero;
    END IF;
    IF t.nroticket IS NULL THEN
        return_value := CASE v_modo WHEN '0' THEN 0 ELSE 1 END;
        RETURN;
    END IF;
    IF t.cod_vendedor <> xcodigo_vend THEN
        return_value := 11;
        PERFORM central.auditar_rechazo('ANULACION_RECHAZADA', xcodigo_vend, xcodigo_user,
                                format('ticket %s de otro punto de venta', v_numero));
        RETURN;
    END IF;

    v_fecha := to_char(t.fecha, 'DD/MM/YYYY');
    v_hora := to_char(t.hora, 'HH24:MI:SS');
    IF t.estado = 'ELI' THEN
        return_value := CASE v_modo WHEN '0' THEN 50 ELSE 13 END;
        -- who cancelled it and how long ago: a counter that repeats a cancellation whose answer
        -- was lost knows its own
        CLOSE rs;
        OPEN rs FOR SELECT v_fecha AS "fechaticket", v_hora AS "horaticket",
                           t.estado AS "estadoticket", t.monto AS "montoticket",
                           t.anulado_por AS "anulado_por",
                           floor(extract(epoch FROM v_momento - t.anulado_en))::integer
                               AS "anulado_hace";
        RETURN;
    END IF;
    IF NOT central.ticket_anulable(t, v_momento) THEN
        return_value := 12;
        IF v_modo = '1' THEN
            PERFORM central.auditar_rechazo('ANULACION_RECHAZADA', xcodigo_vend, xcodigo_user,
                                    format('ticket %s fuera de tiempo o con sorteo cerrado',
                                           v_numero));
        END IF;
        RETURN;
    END IF;
    IF v_modo = '0' THEN
        return_value := 0;
        CLOSE rs;
        OPEN rs FOR SELECT v_fecha AS "fechaticket", v_hora AS "horaticket",
                           t.estado AS "estadoticket", t.monto AS "montoticket";
        RETURN;
    END IF;
    IF NOT central.usuario_activo(xcodigo_vend, xcodigo_user) THEN
        return_value := 14;
        RETURN;
    END IF;

    UPDATE central.items_ticket SET anulado = true WHERE nticket = v_numero AND vigente;
    DELETE FROM central.premios WHERE nroticket = v_numero;
    PERFORM central.liberar_items(ARRAY[v_numero]);
    UPDATE central.tickets
    SET estado = 'ELI', anulado = 'S', anulado_en = v_momento, anulado_por = xcodigo_user
    WHERE nroticket = v_numero;
    PERFORM central.auditar('TICKET_ANULADO', xcodigo_vend, xcodigo_user,
                            format('ticket %s serial %s monto %s', v_numero, t.serial, t.monto));
    return_value := 0;
END
$$;
