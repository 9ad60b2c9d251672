-- Taking plays off a ticket before it is issued. The quota they held goes back in the same
-- transaction; only items of an open temporary ticket of the calling vendor are reached.

-- The open temporary ticket of a vendor, locked against its own bookings and its issue; NULL
-- when the number is no open ticket of that vendor (issued, voided, abandoned, or another's).
CREATE FUNCTION central.ticket_abierto(p_nticket varchar, p_vendedor varchar) RETURNS varchar
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    encontrado varchar;
BEGIN
    SELECT t.nticket INTO encontrado FROM central.tickets_temporales t
    WHERE t.nticket = trim(coalesce(p_nticket, '')) AND t.cod_vendedor = p_vendedor
      AND t.estado = 'ABI'
    FOR UPDATE;
    RETURN encontrado;
END
$$;

-- Whether a vendor's temporary ticket was released with its quota (central.liberar_ticket).
CREATE FUNCTION central.ticket_liberado(p_nticket varchar, p_vendedor varchar) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN EXISTS (SELECT FROM central.tickets_temporales t
                   WHERE t.nticket = trim(coalesce(p_nticket, '')) AND t.cod_vendedor = p_vendedor
                     AND t.estado = 'LIB');
END
$$;

-- Removes one play of the open ticket, found by ticket, item number and lottery (and number,
-- when one is sent). Return value: 0 removed; 2 it was removed before (nothing done); 3 the
-- ticket holds no such item; 4 the item number is not a number; 1 the ticket is not an open
-- temporary ticket of this vendor; 80 it was released with its quota (central.liberar_ticket);
-- 73 the vendor or the user is not of the connection's sales point, or the user may not sell
-- now. The record set holds the removed play and the amount
-- given back to its number's quota.
CREATE PROCEDURE public.xborrarjugada(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    ticket varchar;
    item central.items_ticket;
    numero_pedido varchar := trim(coalesce(t_numero_cadena, ''));
    item_pedido integer;
    r record;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xborrarjugada', t_vendedor, t_usuario)
       OR NOT central.usuario_activo(t_vendedor, t_usuario) THEN
        return_value := 73;
        RETURN;
    END IF;
    IF trim(coalesce(num_item, '')) !~ '^[0-9]{1,9}$' THEN
        return_value := 4;
        RETURN;
    END IF;
    item_pedido := trim(num_item)::integer;
    ticket := central.ticket_abierto(nticket, t_vendedor);
    IF ticket IS NULL THEN
        return_value := CASE WHEN central.ticket_liberado(nticket, t_vendedor) THEN 80 ELSE 1 END;
        RETURN;
    END IF;
    SELECT * INTO item FROM central.items_ticket i
    WHERE i.nticket = ticket AND i.num_item = item_pedido
      AND i.cod_lot = upper(trim(coalesce(t_cod_lot, '')))
      AND (numero_pedido = '' OR i.numero = numero_pedido);
    IF NOT FOUND THEN
        return_value := 3;
        RETURN;
    END IF;
    IF NOT item.vigente THEN
        return_value := 2;
        RETURN;
    END IF;
    SELECT * INTO r FROM central.liberar_items(ARRAY[ticket], ARRAY[item.num_item]);
    PERFORM central.auditar('JUGADA_ELIMINADA', t_vendedor, t_usuario,
                            format('ticket %s item %s %s %s: %s Bs.F. devueltos', ticket,
                                   item.num_item, item.cod_lot, item.numero, r.devuelto));
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR SELECT item.cod_lot AS cod_lot, item.numero AS numero,
                       r.devuelto AS monto, item.num_item::text AS titems;
END
$$;

-- Removes every play of some lotteries from the open ticket. Return value: 0 done (also when
-- nothing was left to remove); 1, 73 and 80 as xborrarjugada. The record set holds, for each
-- lottery that had live plays, how many were removed and the amount given back.
CREATE PROCEDURE public.xborrarjugadas(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    ticket varchar;
    lots varchar[] := central.lista_loterias(t_cod_lot);
    items integer[];
    por_loteria varchar[];
    cantidades integer[];
    montos numeric[];
    r record;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xborrarjugadas', t_vendedor, t_usuario)
       OR NOT central.usuario_activo(t_vendedor, t_usuario) THEN
        return_value := 73;
        RETURN;
    END IF;
    ticket := central.ticket_abierto(nticket, t_vendedor);
    IF ticket IS NULL THEN
        return_value := CASE WHEN central.ticket_liberado(nticket, t_vendedor) THEN 80 ELSE 1 END;
        RETURN;
    END IF;
    return_value := 0;
    SELECT array_agg(i.num_item ORDER BY i.num_item) INTO items
    FROM central.items_ticket i
    WHERE i.nticket = ticket AND i.vigente AND i.cod_lot = ANY (lots);
    IF items IS NULL THEN
        RETURN;
    END IF;
    SELECT array_agg(s.cod_lot ORDER BY s.cod_lot), array_agg(s.n ORDER BY s.cod_lot),
           array_agg(s.total ORDER BY s.cod_lot)
    INTO por_loteria, cantidades, montos
    FROM (SELECT i.cod_lot, count(*)::integer AS n, sum(i.monto_vendido) AS total
          FROM central.items_ticket i
          WHERE i.nticket = ticket AND i.num_item = ANY (items)
          GROUP BY i.cod_lot) s;
    SELECT * INTO r FROM central.liberar_items(ARRAY[ticket], items);
    PERFORM central.auditar('JUGADAS_ELIMINADAS', t_vendedor, t_usuario,
                            format('ticket %s loterías %s: %s jugadas, %s Bs.F. devueltos', ticket,
                                   array_to_string(por_loteria, ','), r.retirados, r.devuelto));
    CLOSE rs;
    OPEN rs FOR SELECT x.l AS cod_lot, x.n AS items, x.m AS monto
                FROM unnest(por_loteria, cantidades, montos) AS x(l, n, m);
END
$$;
