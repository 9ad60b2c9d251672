-- Plays copied onto other lotteries: the plays of the open ticket on some lotteries repeated on
-- others (xREPITEXLOTERIA), and the plays of one lottery of a ticket sold earlier loaded onto
-- the open one (xcargaticket). Only the server knows the plays it copies, so both answer every
-- item they created, and the counter builds its rows from that answer.

-- Books copied plays, whose kinds may differ item by item (a straight play and a special one
-- repeated in one call). central.reservar books one kind of play per call, so the copies go to
-- it in runs of one kind, numbered on from p_base in the order given. Before the first run every
-- check that could refuse a later one is made (ticket, seller, item numbers taken) and every
-- number row is locked in the one fixed order, so that a call books all its items or none and
-- never takes its locks in another order than a straight play does. Answers, for every item in
-- order, its status and the amount sold; codigo as central.reservar.
CREATE FUNCTION central.reservar_copias(
    p_vendedor varchar, p_usuario varchar, p_nticket varchar, p_base integer,
    p_lots varchar[], p_numeros varchar[], p_montos numeric[], p_tipos varchar[],
    p_especiales varchar[], p_variantes varchar[], p_jugada varchar,
    OUT codigo integer, OUT r_status varchar[], OUT r_monto numeric[], OUT r_ultimo integer)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    momento timestamp := central.ahora();
    hoy date := momento::date;
    n integer := coalesce(array_length(p_lots, 1), 0);
    desde integer := 1;
    hasta integer;
    r record;
BEGIN
    codigo := 0;
    r_status := '{}';
    r_monto := '{}';
    r_ultimo := p_base;
    IF n = 0 THEN
        RETURN;
    END IF;
    PERFORM 1 FROM central.tickets_temporales t
    WHERE t.nticket = p_nticket AND t.cod_vendedor = p_vendedor AND t.estado = 'ABI'
    FOR UPDATE;
    IF NOT FOUND OR NOT central.usuario_activo(p_vendedor, p_usuario) THEN
        codigo := 73;
    ELSIF EXISTS (
            SELECT FROM unnest(p_lots, p_numeros, p_montos, p_tipos, p_variantes)
                        WITH ORDINALITY AS x(l, num, m, t, v, k)
            JOIN central.items_ticket it ON it.nticket = p_nticket AND it.num_item = p_base + x.k
            WHERE NOT (it.cod_lot = x.l AND it.numero = x.num AND it.monto_pedido = x.m
                       AND it.tipo = x.t AND it.variante IS NOT DISTINCT FROM x.v)) THEN
        codigo := 74;
        SELECT greatest(max(it.num_item), p_base) INTO r_ultimo
        FROM central.items_ticket it WHERE it.nticket = p_nticket;
    END IF;
    IF codigo <> 0 THEN
        r_status := array_fill('9'::varchar, ARRAY[n]);
        r_monto := array_fill(0::numeric, ARRAY[n]);
        RETURN;
    END IF;

    INSERT INTO central.ventas_numero (cod_lot, fecha, numero)
    SELECT DISTINCT x.l, hoy, x.num FROM unnest(p_lots, p_numeros) AS x(l, num)
    WHERE central.loteria_abierta(x.l, momento, p_vendedor)
    ORDER BY x.l, x.num
    ON CONFLICT DO NOTHING;
    PERFORM 1 FROM central.ventas_numero v
    WHERE v.fecha = hoy AND (v.cod_lot, v.numero) IN (
        SELECT x.l, x.num FROM unnest(p_lots, p_numeros) AS x(l, num))
    ORDER BY v.cod_lot, v.numero
    FOR UPDATE OF v;

    r_status := array_fill('0'::varchar, ARRAY[n]);
    r_monto := p_montos;
    WHILE desde <= n LOOP
        hasta := desde;
        WHILE hasta < n AND p_tipos[hasta + 1] = p_tipos[desde]
              AND p_especiales[hasta + 1] IS NOT DISTINCT FROM p_especiales[desde] LOOP
            hasta := hasta + 1;
        END LOOP;
        SELECT * INTO r FROM central.reservar(
            p_vendedor, p_usuario, p_nticket, p_base + desde - 1, p_lots[desde:hasta],
            p_numeros[desde:hasta], p_montos[desde:hasta], p_tipos[desde], p_jugada,
            p_especiales[desde], p_variantes[desde:hasta]);
        IF r.codigo NOT IN (0, 1) THEN
            -- checked above under the ticket's lock; rolls the whole call back if it ever is
            RAISE EXCEPTION 'Copia rechazada a mitad (código %)', r.codigo;
        END IF;
        FOR j IN 1..coalesce(array_length(r.r_item, 1), 0) LOOP
            r_status[r.r_item[j] - p_base] := r.r_status[j];
            r_monto[r.r_item[j] - p_base] := r.r_monto[j];
        END LOOP;
        desde := hasta + 1;
    END LOOP;
    IF EXISTS (SELECT FROM unnest(r_status) AS s WHERE s <> '0') THEN
        codigo := 1;
    END IF;
    r_ultimo := p_base + n;
END
$$;

-- The copies of some source plays onto target lotteries, target outer and sources in their
-- order, and whether the sales point may sell them: 75 a special play's special is no longer
-- assigned to it, 76 a target lottery does not offer a special play's special, 72 the copies
-- would take the ticket past 32767 items. A source is (lottery ignored) number, amount sold,
-- kind, special and variant; p_monto NULL keeps each source's own amount.
CREATE FUNCTION central.copias(
    p_vendedor varchar, p_base integer, p_destinos varchar[], p_numeros varchar[],
    p_montos numeric[], p_tipos varchar[], p_especiales varchar[], p_variantes varchar[],
    p_monto numeric,
    OUT codigo integer, OUT c_lots varchar[], OUT c_numeros varchar[], OUT c_montos numeric[],
    OUT c_tipos varchar[], OUT c_especiales varchar[], OUT c_variantes varchar[],
    OUT c_desc varchar[])
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT coalesce(array_agg(d.c ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(s.num ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(coalesce(p_monto, s.m) ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(s.t ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(s.e ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(s.v ORDER BY d.k, s.k), '{}'),
           coalesce(array_agg(coalesce(dj.desc_jugada, '')::varchar ORDER BY d.k, s.k), '{}')
    INTO c_lots, c_numeros, c_montos, c_tipos, c_especiales, c_variantes, c_desc
    FROM unnest(p_destinos) WITH ORDINALITY AS d(c, k)
    CROSS JOIN unnest(p_numeros, p_montos, p_tipos, p_especiales, p_variantes)
               WITH ORDINALITY AS s(num, m, t, e, v, k)
    LEFT JOIN central.jugadas_especiales_detalle dj ON dj.especial = s.e AND dj.jugada = s.v;

    codigo := 0;
    IF EXISTS (SELECT FROM unnest(p_tipos, p_especiales) AS s(t, e)
               WHERE s.t = '2' AND NOT central.especial_asignado(s.e, p_vendedor)) THEN
        codigo := 75;
    ELSIF EXISTS (SELECT FROM unnest(c_lots, c_tipos, c_especiales) AS x(l, t, e)
                  JOIN central.loterias l ON l.cod_lot = x.l
                  WHERE x.t = '2'
                    AND (l.juegaespecial = 'N' OR l.especial IS DISTINCT FROM x.e)) THEN
        codigo := 76;
    ELSIF p_base + cardinality(c_lots) > 32767 THEN
        codigo := 72;
    END IF;
END
$$;

-- Books the copies (or answers their refusal, p_codigo, with status '9' for every item).
CREATE FUNCTION central.vender_copias(
    p_codigo integer, p_vendedor varchar, p_usuario varchar, p_nticket varchar, p_base integer,
    p_lots varchar[], p_numeros varchar[], p_montos numeric[], p_tipos varchar[],
    p_especiales varchar[], p_variantes varchar[], p_jugada varchar,
    OUT codigo integer, OUT r_status varchar[], OUT r_monto numeric[], OUT r_ultimo integer)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    n integer := coalesce(array_length(p_lots, 1), 0);
BEGIN
    IF p_codigo <> 0 THEN
        codigo := p_codigo;
        r_status := array_fill('9'::varchar, ARRAY[n]);
        r_monto := array_fill(0::numeric, ARRAY[n]);
        r_ultimo := p_base;
        RETURN;
    END IF;
    SELECT * INTO codigo, r_status, r_monto, r_ultimo
    FROM central.reservar_copias(p_vendedor, p_usuario, p_nticket, p_base, p_lots, p_numeros,
                                 p_montos, p_tipos, p_especiales, p_variantes, p_jugada);
END
$$;

-- The answer of both procedures, by position: 0 lottery, 1 number, 2 amount sold, 3 status
-- ('0' sold in full, '2' in part, '1' sold out, '4' closed lottery, '9' refused), then by name
-- "titems" the item number, "tipo" the kind ('1' straight, '2' special), "jugada" the variant
-- and "desc_jugada" its description, "monto_pedido" the amount asked and "ultimo_item" as
-- xcreanormal. Return value as xcreanormal, and: 71 the amount is neither "0" nor a valid
-- amount; 72, 75 and 76 as central.copias; 78 (reload only) the ticket is not one this sales
-- point sold; 79 there is no play to copy. "0" as the amount keeps every play's own amount sold.

-- Repeats the sold plays of the open ticket that are on the lotteries of T_COD_LOT_origen
-- (in ticket order, only those made before NUM_ITEM) on every lottery of T_COD_LOT.
CREATE PROCEDURE public.xrepitexloteria(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN t_cod_lot_origen varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    ticket varchar := trim(coalesce(nticket, ''));
    destinos varchar[] := central.lista_loterias(t_cod_lot);
    origen varchar[] := central.lista_loterias(t_cod_lot_origen);
    monto record := central.monto_o_propio(t_monto_normal);
    s record;
    c record;
    r record;
BEGIN
    return_value := 0;
    IF NOT central.autoriza('xREPITEXLOTERIA', t_vendedor, t_usuario) THEN
        return_value := 73;
    ELSIF NOT monto.valido THEN
        return_value := 71;
    END IF;
    IF return_value <> 0 OR cardinality(destinos) = 0 THEN
        OPEN rs FOR SELECT ''::varchar AS cod_lot, ''::varchar AS numero, 0::numeric AS monto,
                           ''::varchar AS status, ''::text AS titems WHERE false;
        RETURN;
    END IF;

    SELECT coalesce(array_agg(i.numero ORDER BY i.num_item), '{}') AS numeros,
           coalesce(array_agg(i.monto_vendido ORDER BY i.num_item), '{}') AS montos,
           coalesce(array_agg(i.tipo::varchar ORDER BY i.num_item), '{}') AS tipos,
           coalesce(array_agg(i.especial ORDER BY i.num_item), '{}') AS especiales,
           coalesce(array_agg(i.variante::varchar ORDER BY i.num_item), '{}') AS variantes
    INTO s
    FROM central.items_ticket i
    JOIN central.tickets_temporales t ON t.nticket = i.nticket
    WHERE i.nticket = ticket AND t.cod_vendedor = t_vendedor AND i.num_item <= base
      AND i.vigente AND i.monto_vendido > 0 AND i.cod_lot = ANY (origen);
    IF cardinality(s.numeros) = 0 THEN
        return_value := 79;
        OPEN rs FOR SELECT ''::varchar AS cod_lot, ''::varchar AS numero, 0::numeric AS monto,
                           ''::varchar AS status, ''::text AS titems WHERE false;
        RETURN;
    END IF;

    c := central.copias(t_vendedor, base, destinos, s.numeros, s.montos, s.tipos, s.especiales,
                        s.variantes, monto.monto);
    r := central.vender_copias(c.codigo, t_vendedor, t_usuario, ticket, base, c.c_lots,
                               c.c_numeros, c.c_montos, c.c_tipos, c.c_especiales, c.c_variantes,
                               'Jugada repetida');
    return_value := r.codigo;
    OPEN rs FOR
        SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto,
               x.s AS status, (base + x.k)::text AS titems, x.t AS tipo, x.v AS jugada,
               x.d AS desc_jugada, x.p AS monto_pedido, r.r_ultimo AS ultimo_item
        FROM unnest(c.c_lots, c.c_numeros, r.r_monto, r.r_status, c.c_tipos, c.c_variantes,
                    c.c_desc, c.c_montos) WITH ORDINALITY AS x(l, num, m, s, t, v, d, p, k);
END
$$;

-- Loads the sold plays of one lottery (T_LOTERIA_ORIGEN) of a ticket this sales point issued
-- (T_NRO_TICKET, leading zeros optional; cancelled tickets too, their plays as sold) onto every
-- lottery of T_COD_LOT of the open ticket. Another sales point's ticket answers 78, as one that
-- does not exist.
CREATE PROCEDURE public.xcargaticket(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN t_cod_lot varchar,
    IN t_loteria_origen varchar,
    IN num_item varchar,
    IN t_nro_ticket varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    ticket varchar := trim(coalesce(nticket, ''));
    vendido varchar := central.nro_ticket(left(t_nro_ticket, 100));
    destinos varchar[] := central.lista_loterias(t_cod_lot);
    origen varchar := upper(trim(coalesce(t_loteria_origen, '')));
    monto record := central.monto_o_propio(t_monto_normal);
    s record;
    c record;
    r record;
BEGIN
    return_value := 0;
    IF NOT central.autoriza('xcargaticket', t_vendedor, t_usuario) THEN
        return_value := 73;
    ELSIF NOT monto.valido THEN
        return_value := 71;
    ELSIF vendido IS NULL OR NOT EXISTS (SELECT FROM central.tickets t
                                         WHERE t.nroticket = vendido
                                           AND t.cod_vendedor = t_vendedor) THEN
        return_value := 78;
    END IF;
    IF return_value <> 0 OR cardinality(destinos) = 0 THEN
        OPEN rs FOR SELECT ''::varchar AS cod_lot, ''::varchar AS numero, 0::numeric AS monto,
                           ''::varchar AS status, ''::text AS titems WHERE false;
        RETURN;
    END IF;

    SELECT coalesce(array_agg(i.numero ORDER BY i.num_item), '{}') AS numeros,
           coalesce(array_agg(i.monto_vendido ORDER BY i.num_item), '{}') AS montos,
           coalesce(array_agg(i.tipo::varchar ORDER BY i.num_item), '{}') AS tipos,
           coalesce(array_agg(i.especial ORDER BY i.num_item), '{}') AS especiales,
           coalesce(array_agg(i.variante::varchar ORDER BY i.num_item), '{}') AS variantes
    INTO s
    FROM central.items_ticket i
    WHERE i.nticket = vendido AND i.cod_lot = origen AND i.monto_vendido > 0
      AND (i.vigente OR i.anulado);
    IF cardinality(s.numeros) = 0 THEN
        return_value := 79;
        OPEN rs FOR SELECT ''::varchar AS cod_lot, ''::varchar AS numero, 0::numeric AS monto,
                           ''::varchar AS status, ''::text AS titems WHERE false;
        RETURN;
    END IF;

    c := central.copias(t_vendedor, base, destinos, s.numeros, s.montos, s.tipos, s.especiales,
                        s.variantes, monto.monto);
    r := central.vender_copias(c.codigo, t_vendedor, t_usuario, ticket, base, c.c_lots,
                               c.c_numeros, c.c_montos, c.c_tipos, c.c_especiales, c.c_variantes,
                               'Jugada repetida');
    return_value := r.codigo;
    IF r.codigo IN (0, 1) THEN
        PERFORM central.auditar('TICKET_CARGADO', t_vendedor, t_usuario,
                                format('ticket %s lotería %s en %s: %s jugadas del ticket %s',
                                       vendido, origen, array_to_string(destinos, ','),
                                       cardinality(c.c_lots), ticket));
    END IF;
    OPEN rs FOR
        SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto,
               x.s AS status, (base + x.k)::text AS titems, x.t AS tipo, x.v AS jugada,
               x.d AS desc_jugada, x.p AS monto_pedido, r.r_ultimo AS ultimo_item
        FROM unnest(c.c_lots, c.c_numeros, r.r_monto, r.r_status, c.c_tipos, c.c_variantes,
                    c.c_desc, c.c_montos) WITH ORDINALITY AS x(l, num, m, s, t, v, d, p, k);
END
$$;
