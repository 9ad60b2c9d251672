-- Special plays: one number for one amount on some lotteries and some variants of a special,
-- booked against the quota of the number as straight plays are.

-- Whether a sales point may sell a special: the special exists and is assigned to it.
CREATE FUNCTION central.especial_asignado(p_especial varchar, p_vendedor varchar)
RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN EXISTS (SELECT FROM central.especiales_vendedor e
                   WHERE e.especial = p_especial AND e.cod_vendedor = p_vendedor);
END
$$;

-- Return value: 0 every item sold in full; 1 some were not (see the records); 70 the number is
-- not 1 to 3 digits; 71 the amount is not a positive amount of at most 999999.99 in whole
-- céntimos; 73 and 74 as xcreanormal; 75 the special is not assigned to this sales point;
-- 76 a lottery of the list does not offer the special; 77 the variant list is empty, repeats a
-- variant or names one the special does not have.
-- Items go lottery by lottery in the order of the code list and, within a lottery, variant by
-- variant in the order of XJUGADA: the item of lottery i (from 1) and variant j (from 1) gets
-- the item number NUM_ITEM + (i - 1) * number of variants + j. Every record carries its
-- variant ("jugada") and the variant's description ("desc_jugada"). A refused call books
-- nothing and answers every item with status '9'.
CREATE PROCEDURE public.xcreaespecial(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN xjugada varchar,
    IN xespecial varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    lots varchar[] := central.lista_loterias(t_cod_lot);
    especial_pedido varchar := upper(trim(coalesce(xespecial, '')));
    variantes varchar[] := ARRAY(SELECT c FROM regexp_split_to_table(
                                     left(trim(coalesce(xjugada, '')), 101), '') AS c
                                 WHERE c <> '');
    numero varchar := trim(coalesce(t_numero_cadena, ''));
    monto numeric := central.monto_jugada(t_monto_normal);
    nl integer := coalesce(array_length(lots, 1), 0);
    nv integer := coalesce(array_length(variantes, 1), 0);
    item_lots varchar[];
    item_vars varchar[];
    r record;
BEGIN
    -- one item per (lottery, variant), lottery outer
    SELECT coalesce(array_agg(l.c ORDER BY l.k, v.k), '{}'),
           coalesce(array_agg(v.c ORDER BY l.k, v.k), '{}')
    INTO item_lots, item_vars
    FROM unnest(lots) WITH ORDINALITY AS l(c, k)
    CROSS JOIN unnest(variantes) WITH ORDINALITY AS v(c, k);

    IF NOT central.autoriza('xcreaespecial', t_vendedor, t_usuario) THEN
        return_value := 73;
    ELSIF numero !~ '^[0-9]{1,3}$' THEN
        return_value := 70;
    ELSIF monto IS NULL THEN
        return_value := 71;
    ELSIF NOT central.especial_asignado(especial_pedido, t_vendedor) THEN
        return_value := 75;
    ELSIF EXISTS (SELECT FROM unnest(lots) AS x(c)
                  JOIN central.loterias l ON l.cod_lot = x.c
                  WHERE l.juegaespecial = 'N' OR l.especial IS DISTINCT FROM especial_pedido) THEN
        return_value := 76;
    ELSIF nv = 0 OR nv > 100 OR nv <> (SELECT count(DISTINCT c) FROM unnest(variantes) AS c)
          OR EXISTS (SELECT FROM unnest(variantes) AS x(c)
                     WHERE NOT EXISTS (SELECT FROM central.jugadas_especiales_detalle d
                                       WHERE d.especial = especial_pedido AND d.jugada = x.c)) THEN
        return_value := 77;
    ELSE
        return_value := 0;
    END IF;

    IF return_value <> 0 THEN
        OPEN rs FOR
            SELECT x.l AS cod_lot, left(coalesce(t_numero_cadena, ''), 3) AS numero,
                   0::numeric AS monto, '9'::varchar AS status, (base + x.k)::text AS titems,
                   x.v AS jugada, ''::varchar AS desc_jugada, base AS ultimo_item
            FROM unnest(item_lots, item_vars) WITH ORDINALITY AS x(l, v, k);
        RETURN;
    END IF;

    numero := central.numero_ticket(numero);
    SELECT * INTO r FROM central.reservar(
        t_vendedor, t_usuario, trim(coalesce(nticket, '')), base, item_lots,
        array_fill(numero, ARRAY[nl * nv]), array_fill(monto, ARRAY[nl * nv]), '2', 'Especial',
        especial_pedido, item_vars);
    return_value := r.codigo;
    OPEN rs FOR
        SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto, x.s AS status, x.k::text AS titems,
               item_vars[x.k - base] AS jugada, coalesce(d.desc_jugada, '') AS desc_jugada,
               r.r_ultimo AS ultimo_item
        FROM unnest(r.r_lot, r.r_num, r.r_monto, r.r_status, r.r_item) AS x(l, num, m, s, k)
        LEFT JOIN central.jugadas_especiales_detalle d
               ON d.especial = especial_pedido AND d.jugada = item_vars[x.k - base];
END
$$;
