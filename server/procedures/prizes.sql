-- What a ticket wins, and paying it. A prize is computed once, when its draw's results are
-- entered or corrected (central.premiar_sorteo), and kept in central.premios: payment, reports,
-- statements and settlement read that one figure.

-- The multiplier in force for a kind of win on a lottery at a moment (the moment an item was
-- sold): the latest row of the dated payout table not after it; NULL when there is none.
CREATE FUNCTION central.multiplicador_vigente(p_cod_lot varchar, p_tipo varchar,
                                              p_variante varchar, p_momento timestamp)
RETURNS numeric
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT t.multiplicador FROM central.tabla_pagos t
            WHERE t.cod_lot = p_cod_lot AND t.tipo = p_tipo AND t.variante = p_variante
              AND t.desde <= p_momento
            ORDER BY t.desde DESC LIMIT 1);
END
$$;

-- The winning items of a draw with what each wins, from its results: each sold item of an
-- issued, active ticket wins at most once, the first way in this order: TRIPLE, SEGUNDO,
-- TERCERO, TERMINAL, DIGITO; a special play (kind "2") wins ESPECIAL on the special number, by
-- its own variant. Prize = amount sold x the multiplier in force when the item was sold, to the
-- cent; a way without a multiplier then pays nothing. No rows while the draw has no results.
CREATE FUNCTION central.premios_calculados(p_cod_lot varchar, p_fecha date)
RETURNS TABLE (nroticket varchar, num_item integer, cod_vendedor varchar, fecha date,
               clase varchar, multiplicador numeric, premio numeric, hora time, cod_usuario varchar,
               tipo char, numero varchar, jugada varchar, variante char, vence date)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        WITH ganadores AS (
            SELECT w.orden, w.numero, w.especial, w.clase
            FROM central.resultados r
            CROSS JOIN LATERAL (VALUES
                (1, r.triple, false, 'TRIPLE'), (2, r.segundo, false, 'SEGUNDO'),
                (3, r.tercero, false, 'TERCERO'),
                (4, right(r.triple, 2) || '*', false, 'TERMINAL'),
                (5, right(r.triple, 1) || '**', false, 'DIGITO'),
                (6, r.especial, true, 'ESPECIAL')) w(orden, numero, especial, clase)
            WHERE r.cod_lot = p_cod_lot AND r.fecha = p_fecha AND w.numero IS NOT NULL),
        item AS (
            SELECT DISTINCT ON (i.nticket, i.num_item)
                   i.nticket, i.num_item, t.cod_vendedor, t.fecha, g.clase::varchar AS clase,
                   i.monto_vendido, t.hora, t.cod_usuario, i.tipo, i.numero, i.jugada,
                   i.variante, central.vencimiento(t) AS vence,
                   central.multiplicador_vigente(
                       p_cod_lot, g.clase,
                       CASE WHEN g.especial THEN coalesce(trim(i.variante), '') ELSE '' END,
                       i.creado) AS mult
            FROM ganadores g
            JOIN central.items_ticket i
              ON i.cod_lot = p_cod_lot AND i.fecha_sorteo = p_fecha AND i.numero = g.numero
             AND (i.tipo = '2') = g.especial
            JOIN central.tickets t ON t.nroticket = i.nticket
            WHERE t.estado = 'ACT' AND t.anulado = 'N' AND i.vigente AND i.monto_vendido > 0
            ORDER BY i.nticket, i.num_item, g.orden)
        SELECT item.nticket, item.num_item::integer, item.cod_vendedor, item.fecha, item.clase,
               item.mult, round(item.monto_vendido * item.mult, 2), item.hora::time,
               item.cod_usuario, item.tipo, item.numero, item.jugada, item.variante, item.vence
        FROM item
        WHERE item.mult IS NOT NULL AND round(item.monto_vendido * item.mult, 2) > 0;
END
$$;

-- Stores the prizes of a draw from its results, replacing what a former entry of them stored.
-- A change to the prize of a ticket already paid is refused, naming the ticket, and nothing is
-- written. A change to a ticket of a day its sales point has settled posts the difference to the
-- next open day ('CORRECCION'); one to a prize already posted back as expired posts the
-- difference back too. Answers how many items win. Results rows are locked by the caller.
CREATE FUNCTION central.premiar_sorteo(p_cod_lot varchar, p_fecha date) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_tickets varchar[];
    v_vendedores varchar[];
    v_fechas date[];
    v_antes numeric[];
    v_despues numeric[];
    v_pagado varchar;
    v_ultima date;
    n integer;
BEGIN
    -- the tickets whose prize on this draw changes, with their prize before and after
    SELECT array_agg(x.nroticket ORDER BY x.nroticket), array_agg(x.cod_vendedor ORDER BY x.nroticket),
           array_agg(x.fecha ORDER BY x.nroticket), array_agg(x.antes ORDER BY x.nroticket),
           array_agg(x.despues ORDER BY x.nroticket)
    INTO v_tickets, v_vendedores, v_fechas, v_antes, v_despues
    FROM (SELECT coalesce(a.nroticket, d.nroticket) AS nroticket,
                 coalesce(a.cod_vendedor, d.cod_vendedor) AS cod_vendedor,
                 coalesce(a.fecha, d.fecha) AS fecha, coalesce(a.total, 0) AS antes,
                 coalesce(d.total, 0) AS despues
          FROM (SELECT p.nroticket, p.cod_vendedor, p.fecha, sum(p.premio) AS total
                FROM central.premios p WHERE p.cod_lot = p_cod_lot AND p.fecha_sorteo = p_fecha
                GROUP BY 1, 2, 3) a
          FULL JOIN (SELECT p.nroticket, p.cod_vendedor, p.fecha, sum(p.premio) AS total
                     FROM central.premios_calculados(p_cod_lot, p_fecha) p GROUP BY 1, 2, 3) d
                 ON d.nroticket = a.nroticket
          WHERE coalesce(a.total, 0) <> coalesce(d.total, 0)) x;

    SELECT g.nroticket INTO v_pagado FROM central.pagos g
    WHERE g.nroticket = ANY (v_tickets) ORDER BY g.nroticket LIMIT 1;
    IF v_pagado IS NOT NULL THEN
        RAISE EXCEPTION 'El ticket % ya cobró su premio: estos resultados lo cambiarían', v_pagado
            USING ERRCODE = '55000';
    END IF;

    DELETE FROM central.premios p WHERE p.cod_lot = p_cod_lot AND p.fecha_sorteo = p_fecha;
    INSERT INTO central.premios (nroticket, num_item, cod_vendedor, fecha, cod_lot, fecha_sorteo,
                                 clase, multiplicador, premio, hora, cod_usuario, tipo, numero,
                                 jugada, variante, vence)
    SELECT p.nroticket, p.num_item, p.cod_vendedor, p.fecha, p_cod_lot, p_fecha, p.clase,
           p.multiplicador, p.premio, p.hora, p.cod_usuario, p.tipo, p.numero, p.jugada,
           p.variante, p.vence
    FROM central.premios_calculados(p_cod_lot, p_fecha) p;
    GET DIAGNOSTICS n = ROW_COUNT;

    FOR k IN 1..coalesce(cardinality(v_tickets), 0) LOOP
        v_ultima := central.ultima_liquidacion(v_vendedores[k]);
        IF v_fechas[k] <= v_ultima THEN
            INSERT INTO central.ajustes (cod_vendedor, fecha, monto, concepto, nroticket, detalle)
            VALUES (v_vendedores[k], v_ultima + 1, v_antes[k] - v_despues[k], 'CORRECCION',
                    v_tickets[k], format('%s %s: premio de %s a %s', p_cod_lot, p_fecha,
                                         v_antes[k], v_despues[k]));
            PERFORM central.auditar('AJUSTE_CORRECCION', v_vendedores[k], NULL,
                                    format('ticket %s del %s: premio de %s a %s, asentado el %s',
                                           v_tickets[k], v_fechas[k], v_antes[k], v_despues[k],
                                           v_ultima + 1));
        END IF;
        IF EXISTS (SELECT FROM central.ajustes a
                   WHERE a.nroticket = v_tickets[k] AND a.concepto = 'CADUCADO') THEN
            INSERT INTO central.ajustes (cod_vendedor, fecha, monto, concepto, nroticket, detalle)
            VALUES (v_vendedores[k], central.ahora()::date,
                    v_despues[k] - v_antes[k], 'CADUCADO', v_tickets[k],
                    format('premio caducado corregido de %s a %s', v_antes[k], v_despues[k]));
            PERFORM central.auditar('PREMIO_CADUCADO', v_vendedores[k], NULL,
                                    format('ticket %s: premio caducado corregido de %s a %s',
                                           v_tickets[k], v_antes[k], v_despues[k]));
        END IF;
    END LOOP;
    RETURN n;
END
$$;

-- The sold items of a ticket whose draw has no results yet (plain SQL: queries over many
-- tickets take it in whole).
CREATE FUNCTION central.items_esperando(p_nroticket varchar)
RETURNS TABLE (num_item integer)
LANGUAGE sql STABLE AS $$
    SELECT i.num_item
    FROM central.items_ticket i
    WHERE i.nticket = p_nroticket AND i.vigente AND i.monto_vendido > 0
      AND NOT EXISTS (SELECT FROM central.resultados r
                      WHERE r.cod_lot = i.cod_lot AND r.fecha = i.fecha_sorteo)
$$;

-- The draws a sales point sold on in a period (an issued ticket's plays are of its day's draws)
-- that have no results yet, from the kept day's play.
CREATE FUNCTION central.sorteos_sin_resultado(p_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (cod_lot varchar, fecha date)
LANGUAGE sql STABLE AS $$
    SELECT DISTINCT d.cod_lot, d.fecha
    FROM central.juego_dia d
    WHERE d.cod_vendedor = p_vendedor AND d.fecha BETWEEN p_desde AND p_hasta AND d.venta > 0
      AND NOT EXISTS (SELECT FROM central.resultados r
                      WHERE r.cod_lot = d.cod_lot AND r.fecha = d.fecha)
$$;

-- The stored prize of an issued ticket and how many of its sold items still wait for their
-- draw's results. A ticket is paid in full once, so nothing is payable while an item waits.
CREATE FUNCTION central.premio_ticket(p_nroticket varchar, OUT premio numeric,
                                      OUT pendientes integer)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT coalesce(sum(p.premio), 0) INTO premio
    FROM central.premios p WHERE p.nroticket = p_nroticket;
    SELECT count(*) INTO pendientes FROM central.items_esperando(p_nroticket);
END
$$;

-- The first day a ticket's prize is no longer paid: the day after the last of the "dias_caduca"
-- days (kept with the ticket when it was issued) that follow its last draw.
CREATE FUNCTION central.vencimiento(t central.tickets) RETURNS date
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT max(i.fecha_sorteo) FROM central.items_ticket i
            WHERE i.nticket = t.nroticket AND i.vigente AND i.monto_vendido > 0)
           + t.dias_caduca + 1;
END
$$;

-- Posts back to a sales point's account every prize of its tickets that expired unpaid and was
-- not posted yet: on the day it expired, or on the next open day when that one is settled.
-- Audited. Called before a statement or a settlement is read or written. Answers how many. It
-- reads only the prizes expired since it last looked (premios.caducidad_vista), and marks them
-- looked at once they are paid or posted; a ticket with a draw still waiting for its results
-- does not expire, and is looked at again.
CREATE FUNCTION central.asentar_caducados(p_vendedor varchar) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_hoy date := central.ahora()::date;
    v_ultima date := central.ultima_liquidacion(p_vendedor);
    v_tickets varchar[];
    v_premios numeric[];
    v_vence date[];
    v_asentar boolean[];
    n integer;
BEGIN
    -- one posting at a time for a sales point: a statement read while the scheduler posts
    -- must not post a prize twice
    PERFORM pg_advisory_xact_lock(hashtext('asentar_caducados'), hashtext(p_vendedor));
    -- each ticket expired since last looked at: posted if unpaid and not posted yet, looked at
    -- unless a draw of it still waits for its results
    SELECT array_agg(x.nroticket ORDER BY x.nroticket),
           array_agg(x.premio ORDER BY x.nroticket),
           array_agg(x.vence ORDER BY x.nroticket),
           array_agg(NOT x.cerrado ORDER BY x.nroticket)
    INTO v_tickets, v_premios, v_vence, v_asentar
    FROM (SELECT x.nroticket, x.vence, x.fecha,
                 (SELECT sum(p.premio) FROM central.premios p WHERE p.nroticket = x.nroticket)
                     AS premio,
                 EXISTS (SELECT FROM central.pagos g WHERE g.nroticket = x.nroticket)
                 OR EXISTS (SELECT FROM central.ajustes a
                            WHERE a.nroticket = x.nroticket AND a.concepto = 'CADUCADO')
                     AS cerrado
          FROM (SELECT p.nroticket, max(p.vence) AS vence, max(p.fecha) AS fecha
                FROM central.premios p
                WHERE p.cod_vendedor = p_vendedor AND NOT p.caducidad_vista
                  AND p.vence <= v_hoy
                GROUP BY p.nroticket) x) x
    -- a ticket waits for results only on a day with a draw it could be on still without them
    WHERE x.cerrado
       OR x.fecha NOT IN (SELECT s.fecha FROM central.sorteos_sin_resultado(p_vendedor,
                                                                          '-infinity', v_hoy) s)
       OR NOT EXISTS (SELECT FROM central.items_esperando(x.nroticket));

    INSERT INTO central.ajustes (cod_vendedor, fecha, monto, concepto, nroticket, detalle)
    SELECT p_vendedor, greatest(x.vence, coalesce(v_ultima + 1, x.vence)), x.premio, 'CADUCADO',
           x.nroticket, format('premio sin cobrar, caducó el %s', x.vence)
    FROM unnest(v_tickets, v_premios, v_vence, v_asentar) AS x(nroticket, premio, vence, asentar)
    WHERE x.asentar
    ORDER BY x.nroticket;
    GET DIAGNOSTICS n = ROW_COUNT;
    PERFORM central.auditar_varios(
        'PREMIO_CADUCADO', p_vendedor, NULL,
        ARRAY(SELECT format('ticket %s: %s sin cobrar, caducó el %s', x.nroticket, x.premio,
                            x.vence)
              FROM unnest(v_tickets, v_premios, v_vence, v_asentar)
                   AS x(nroticket, premio, vence, asentar)
              WHERE x.asentar
              ORDER BY x.nroticket));

    UPDATE central.premios SET caducidad_vista = true
    WHERE nroticket = ANY (v_tickets) AND NOT caducidad_vista;
    RETURN n;
END
$$;

-- Posts back the expired prizes of every sales point. Run every hour by the cluster's scheduler
-- (pg_cron), so that a statement or a settlement finds at most an hour's expiries to post.
-- Answers how many.
CREATE FUNCTION central.asentar_caducados_red() RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT coalesce(sum(central.asentar_caducados(v.cod_vendedor)), 0)
            FROM central.vendedores v);
END
$$;

-- Checks ("@xmodo" other than "1") or pays ("1") the prize of a ticket of the connection's
-- sales point, found by its number and serial. Return value:
--   0   check: the ticket wins and may be paid; pay: paid now;
--   9   the ticket was cancelled (never wins);
--   55  check: the prize was paid already; 6: the same found by a payment call;
--   8   no ticket of this sales point with this number and serial, or the seller may not pay
--       prizes (F4 permission; audited);
--   7   the prize expired: more days than the ticket was issued with ("dias_caduca") have
--       passed since its last draw;
--   3   the ticket does not win, or one of its draws has no results yet;
--   12  the seller or the sales point may not work now.
-- The prize is the one stored when the results were entered. The record set (fechaticket,
-- horaticket, anulado, estadoticket, montopremio; fechapago and horapago, the payment's moment,
-- or the server's now while unpaid; and for a paid ticket the seller who paid it, pagado_por,
-- and the seconds since, pagado_hace, by which a counter that repeats a payment whose answer was
-- lost knows its own) comes with every code of a ticket that was found. The payment takes the ticket's
-- row lock, as a cancellation does, so two counters paying at once pay once and a payment
-- racing a cancellation ends in one of the two; it holds its draws' results so that a
-- correction waits for it. "@codcli" is the customer's identity number; the payment keeps the
-- customer's version it printed. The check call does not send it.
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
    v_version bigint;
    v_pago central.pagos;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('PAGATICKETnew', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('PAGATICKETnew', xcodigo_vend, xcodigo_user, 'F4.') THEN
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
            PERFORM central.auditar_rechazo('PAGO_RECHAZADO', xcodigo_vend, xcodigo_user,
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
        IF EXISTS (SELECT FROM central.pagos p WHERE p.nroticket = t.nroticket) THEN
            return_value := CASE WHEN v_pagar THEN 6 ELSE 55 END;
            SELECT p.monto INTO v_premio FROM central.pagos p WHERE p.nroticket = t.nroticket;
        ELSIF v_pendientes > 0 OR v_premio = 0 THEN
            return_value := 3;
            v_premio := 0;
        ELSIF v_hoy >= central.vencimiento(t) THEN
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
            SELECT max(c.id) INTO v_version FROM central.clientes c WHERE c.cedula = v_cliente;
            INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, cedula,
                                       pagado, cliente)
            VALUES (t.nroticket, xcodigo_vend, xcodigo_user, v_premio, v_cliente, v_ahora,
                    v_version);
            PERFORM central.auditar('PREMIO_PAGADO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s serial %s premio %s cliente %s',
                                           t.nroticket, t.serial, v_premio,
                                           coalesce(v_cliente, '-')));
        ELSE
            PERFORM central.auditar_rechazo('PAGO_RECHAZADO', xcodigo_vend, xcodigo_user,
                                    format('ticket %s: codigo %s', t.nroticket, return_value));
        END IF;
    END IF;

    SELECT * INTO v_pago FROM central.pagos p WHERE p.nroticket = t.nroticket;
    CLOSE rs;
    OPEN rs FOR
        SELECT to_char(t.fecha, 'DD/MM/YYYY') AS fechaticket,
               to_char(t.hora, 'HH24:MI:SS') AS horaticket,
               t.anulado::varchar AS anulado, t.estado::varchar AS estadoticket,
               round(v_premio, 2) AS montopremio,
               to_char(coalesce(v_pago.pagado, v_ahora), 'DD/MM/YYYY') AS fechapago,
               to_char(coalesce(v_pago.pagado, v_ahora), 'HH24:MI:SS') AS horapago,
               v_pago.cod_usuario AS pagado_por,
               floor(extract(epoch FROM v_ahora - v_pago.pagado))::integer AS pagado_hace;
END
$$;

-- xcopiapago: a copy of the voucher of a prize this sales point paid, found by the ticket's
-- number and serial, for a seller who may pay prizes (F4): the payment's date and time, prize,
-- customer (the version the voucher printed) and seller, and how many copies were printed with
-- this one. Counted and audited (COMPROBANTE_REIMPRESO) before it prints. Return value 0; 3 the
-- ticket was not paid; 8 no such ticket of this sales point, or the seller may not pay prizes.
CREATE PROCEDURE public.xcopiapago(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN nticket varchar,
    IN xserial varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_numero varchar := central.nro_ticket(nticket);
    v_serial varchar := trim(coalesce(xserial, ''));
    t central.tickets;
    p central.pagos;
    c central.clientes;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xcopiapago', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('xcopiapago', xcodigo_vend, xcodigo_user, 'F4.') THEN
        return_value := 8;
        RETURN;
    END IF;
    SELECT * INTO t FROM central.tickets x WHERE x.nroticket = v_numero;
    IF t.nroticket IS NULL OR t.cod_vendedor <> xcodigo_vend OR v_serial !~ '^[0-9]{1,10}$'
       OR t.serial <> v_serial::bigint THEN
        return_value := 8;
        RETURN;
    END IF;
    UPDATE central.pagos x SET copias = x.copias + 1 WHERE x.nroticket = v_numero
    RETURNING * INTO p;
    IF NOT FOUND THEN
        return_value := 3;
        RETURN;
    END IF;
    SELECT * INTO c FROM central.clientes k WHERE k.id = p.cliente;
    PERFORM central.auditar('COMPROBANTE_REIMPRESO', xcodigo_vend, xcodigo_user,
                            format('ticket %s, copia %s del pago de %s', v_numero, p.copias,
                                   p.monto));
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT to_char(p.pagado, 'DD/MM/YYYY') AS "fechapago",
               to_char(p.pagado, 'HH24:MI:SS') AS "horapago", p.monto AS "montopremio",
               p.cedula AS "cedula", c.descripcion AS "cliente", p.cod_usuario AS "pagado_por",
               p.copias AS "copias";
END
$$;
