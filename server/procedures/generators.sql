-- Play generators: one request of the counter (the digits of a permutation, the ending of a
-- series, a run, a positioned digit, the terminals of the ticket's triples) expanded into plain
-- items and booked in one call, against the quota of each number as straight plays are. The
-- counter forms the same lists in the same order to match the answer to its rows, so every list
-- is built here by one function that the tests compare with the counter's own builders.

-- The three-digit numbers formed from a text of digits: every choice of three positions
-- i < j < m in lexical order gives its distinct arrangements (six when the three digits
-- differ, three when two are equal, in a fixed order); three equal digits give one number and
-- end the choices of m for that i and j. Numbers that repeat from different choices stay.
CREATE FUNCTION central.permutaciones(p_digitos varchar) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    d varchar := coalesce(p_digitos, '');
    n integer := length(d);
    lista varchar[] := '{}';
    a varchar;
    b varchar;
    c varchar;
BEGIN
    FOR i IN 1..n - 2 LOOP
        FOR j IN i + 1..n - 1 LOOP
            FOR m IN j + 1..n LOOP
                a := substr(d, i, 1);
                b := substr(d, j, 1);
                c := substr(d, m, 1);
                IF a = b AND b = c THEN
                    lista := array_append(lista, a || b || c);
                    EXIT;
                ELSIF a <> b AND a <> c AND b <> c THEN
                    lista := lista || ARRAY[a || b || c, a || c || b, b || a || c,
                                            b || c || a, c || a || b, c || b || a]::varchar[];
                ELSIF a = b THEN
                    lista := lista || ARRAY[a || a || c, a || c || a, c || a || a]::varchar[];
                ELSIF a = c THEN
                    lista := lista || ARRAY[a || b || a, b || a || a, a || a || b]::varchar[];
                ELSE
                    lista := lista || ARRAY[a || b || b, b || a || b, b || b || a]::varchar[];
                END IF;
            END LOOP;
        END LOOP;
    END LOOP;
    RETURN lista;
END
$$;

-- The ten numbers of a series: 0 to 9 in front of the ending, a one-digit ending padded with a
-- "0" (5 gives 005, 105, ..., 905). Nothing for an ending that is not one or two digits.
CREATE FUNCTION central.serie_numeros(p_final varchar) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    t varchar := trim(coalesce(p_final, ''));
BEGIN
    IF t !~ '^[0-9]{1,2}$' THEN
        RETURN '{}';
    END IF;
    RETURN ARRAY(SELECT (k || lpad(t, 2, '0'))::varchar FROM generate_series(0, 9) AS k ORDER BY k);
END
$$;

-- A run from the first number to the last, each padded to three digits; empty when the first
-- is above the last.
CREATE FUNCTION central.seguidilla_numeros(p_desde integer, p_hasta integer) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN ARRAY(SELECT lpad(k::text, 3, '0')::varchar
                 FROM generate_series(p_desde, p_hasta) AS k ORDER BY k);
END
$$;

-- The hundred numbers that carry a digit in one position: mode '1' left, '2' centre, '3'
-- right; the two other positions run from 00 to 99, the first of them outer.
CREATE FUNCTION central.posicion_numeros(p_digito varchar, p_modo varchar) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    d varchar := trim(coalesce(p_digito, ''));
    modo varchar := trim(coalesce(p_modo, ''));
BEGIN
    IF d !~ '^[0-9]$' OR modo NOT IN ('1', '2', '3') THEN
        RETURN '{}';
    END IF;
    RETURN ARRAY(SELECT (CASE modo WHEN '1' THEN d || i || j
                                   WHEN '2' THEN i || d || j
                                   ELSE i || j || d END)::varchar
                 FROM generate_series(0, 9) AS x(i_) CROSS JOIN generate_series(0, 9) AS y(j_)
                 CROSS JOIN LATERAL (SELECT x.i_::text AS i, y.j_::text AS j) AS t
                 ORDER BY x.i_, y.j_);
END
$$;

-- The most digits a sales point may permute: its terminal parameter (2 to 8,
-- admin.fijar_longitud_permuta), 7 when it has none, never fewer than 3.
CREATE FUNCTION central.longitud_permuta(p_vendedor varchar) RETURNS integer
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN greatest(coalesce((SELECT p.longitudpermuta FROM central.parametros_terminal p
                              WHERE p.cod_vendedor = p_vendedor), 7), 3);
END
$$;

-- The variants of a special play as XJUGADA sends them, one character each, in order.
CREATE FUNCTION central.lista_variantes(p_jugadas varchar) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN ARRAY(SELECT c FROM regexp_split_to_table(left(trim(coalesce(p_jugadas, '')), 101), '')
                     WITH ORDINALITY AS x(c, k)
                 WHERE c <> '' ORDER BY k);
END
$$;

-- Why a special generator may not sell: 75 the special is not assigned to the sales point, 76 a
-- lottery of the list does not offer it, 77 the variant list is empty, repeats a variant or
-- names one the special does not have; 0 when it may.
CREATE FUNCTION central.rechazo_especial(p_vendedor varchar, p_especial varchar,
                                         p_lots varchar[], p_variantes varchar[])
RETURNS integer
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    nv integer := coalesce(array_length(p_variantes, 1), 0);
BEGIN
    IF NOT central.especial_asignado(p_especial, p_vendedor) THEN
        RETURN 75;
    ELSIF EXISTS (SELECT FROM unnest(p_lots) AS x(c) JOIN central.loterias l ON l.cod_lot = x.c
                  WHERE l.juegaespecial = 'N' OR l.especial IS DISTINCT FROM p_especial) THEN
        RETURN 76;
    ELSIF nv = 0 OR nv > 100 OR nv <> (SELECT count(DISTINCT c) FROM unnest(p_variantes) AS c)
          OR EXISTS (SELECT FROM unnest(p_variantes) AS x(c)
                     WHERE NOT EXISTS (SELECT FROM central.jugadas_especiales_detalle d
                                       WHERE d.especial = p_especial AND d.jugada = x.c)) THEN
        RETURN 77;
    END IF;
    RETURN 0;
END
$$;

-- The items of a generated request in the order they are numbered: lottery by lottery in the
-- order of the code list; within a lottery, for a special play, variant by variant in the order
-- of XJUGADA (one NULL variant for other plays); then the numbers in the order they were formed.
CREATE FUNCTION central.items_generados(p_lots varchar[], p_variantes varchar[],
                                        p_numeros varchar[],
                                        OUT i_lots varchar[], OUT i_numeros varchar[],
                                        OUT i_variantes varchar[])
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    -- item g (from 0) is lottery g / (nv * nn), variant g / nn mod nv, number g mod nn: the
    -- positions are computed, not sorted (a generator's call is a thousand items)
    vs varchar[] := coalesce(p_variantes, ARRAY[NULL]::varchar[]);
    nv integer := cardinality(vs);
    nn integer := cardinality(p_numeros);
    total integer := cardinality(p_lots) * nv * nn;
BEGIN
    i_lots := ARRAY(SELECT p_lots[g / (nv * nn) + 1] FROM generate_series(0, total - 1) g
                    ORDER BY g);
    i_numeros := ARRAY(SELECT p_numeros[g % nn + 1] FROM generate_series(0, total - 1) g
                       ORDER BY g);
    i_variantes := ARRAY(SELECT vs[g / nn % nv + 1] FROM generate_series(0, total - 1) g
                         ORDER BY g);
END
$$;

-- The terminals of the triples of a temporary ticket, as items: for every lottery of the list in
-- its order, (for a special play every variant in its order,) and every three-digit straight
-- play sold on that lottery before item p_base (kind '1', not removed, something sold), in
-- ticket order, its last two digits followed by "*". The amount is p_monto, or the triple's
-- own amount sold when p_monto is NULL. Only the connection's own sales point's ticket is read.
CREATE FUNCTION central.terminales_ticket(p_nticket varchar, p_base integer, p_lots varchar[],
                                          p_variantes varchar[], p_monto numeric,
                                          OUT i_lots varchar[], OUT i_numeros varchar[],
                                          OUT i_montos numeric[], OUT i_variantes varchar[])
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT coalesce(array_agg(l.c ORDER BY l.k, v.k, s.num_item), '{}'),
           coalesce(array_agg((substr(s.numero, 2) || '*')::varchar ORDER BY l.k, v.k, s.num_item),
                    '{}'),
           coalesce(array_agg(coalesce(p_monto, s.monto_vendido) ORDER BY l.k, v.k, s.num_item),
                    '{}'),
           coalesce(array_agg(v.c ORDER BY l.k, v.k, s.num_item), '{}')
    INTO i_lots, i_numeros, i_montos, i_variantes
    FROM unnest(p_lots) WITH ORDINALITY AS l(c, k)
    CROSS JOIN unnest(coalesce(p_variantes, ARRAY[NULL]::varchar[])) WITH ORDINALITY AS v(c, k)
    JOIN central.items_ticket s ON s.nticket = p_nticket AND s.cod_lot = l.c
    JOIN central.tickets_temporales t ON t.nticket = s.nticket
    WHERE t.cod_vendedor = central.vendedor_de_sesion()
      AND s.num_item <= p_base AND s.vigente AND s.tipo = '1' AND s.monto_vendido > 0
      AND s.numero ~ '^[0-9]{3}$';
END
$$;

-- Books the items of a generated request, or answers its refusal: p_codigo is the refusal the
-- procedure found (0 none); a request whose item numbers would pass the counter's 16-bit item
-- counter is refused with 72. A refusal books nothing and answers every item with status '9'.
-- Otherwise central.reservar books the items in one go. The arrays answer, for every item not
-- sold in full, its lottery, number, amount sold, status, item number, variant and variant
-- description.
CREATE FUNCTION central.vender_generada(
    p_codigo integer, p_vendedor varchar, p_usuario varchar, p_nticket varchar, p_base integer,
    p_lots varchar[], p_numeros varchar[], p_montos numeric[], p_tipo char, p_jugada varchar,
    p_especial varchar, p_variantes varchar[],
    OUT codigo integer, OUT r_lot varchar[], OUT r_num varchar[], OUT r_monto numeric[],
    OUT r_status varchar[], OUT r_item integer[], OUT r_variante varchar[],
    OUT r_desc varchar[], OUT r_ultimo integer)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    n integer := coalesce(array_length(p_lots, 1), 0);
    r record;
BEGIN
    codigo := p_codigo;
    IF codigo = 0 AND p_base + n > 32767 THEN
        codigo := 72;
    END IF;
    IF codigo <> 0 THEN
        SELECT * INTO r_lot, r_num, r_monto, r_status, r_item
        FROM central.rechazo(p_base, p_lots, p_numeros);
        r_ultimo := p_base;
    ELSE
        SELECT * INTO r FROM central.reservar(p_vendedor, p_usuario, p_nticket, p_base, p_lots,
                                              p_numeros, p_montos, p_tipo, p_jugada, p_especial,
                                              p_variantes);
        codigo := r.codigo;
        r_lot := r.r_lot; r_num := r.r_num; r_monto := r.r_monto; r_status := r.r_status;
        r_item := r.r_item; r_ultimo := r.r_ultimo;
    END IF;
    r_variante := ARRAY(SELECT p_variantes[k - p_base]
                        FROM unnest(r_item) WITH ORDINALITY AS x(k, o) ORDER BY o);
    r_desc := ARRAY(SELECT coalesce(d.desc_jugada, '')::varchar
                    FROM unnest(r_variante) WITH ORDINALITY AS x(v, o)
                    LEFT JOIN central.jugadas_especiales_detalle d
                           ON d.especial = p_especial AND d.jugada = x.v
                    ORDER BY o);
END
$$;

-- A generator's call booked by central.vender_generada, its answer opened on RS as every
-- generator answers: the items not sold in full, with their variant and its description, and
-- the last item number.
CREATE FUNCTION central.responder_generada(
    OUT codigo integer, INOUT rs refcursor, p_codigo integer, p_vendedor varchar,
    p_usuario varchar, p_nticket varchar, p_base integer, p_lots varchar[], p_numeros varchar[],
    p_montos numeric[], p_tipo char, p_jugada varchar, p_especial varchar,
    p_variantes varchar[])
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    r record;
BEGIN
    r := central.vender_generada(p_codigo, p_vendedor, p_usuario, p_nticket, p_base, p_lots,
                                 p_numeros, p_montos, p_tipo, p_jugada, p_especial, p_variantes);
    codigo := r.codigo;
    OPEN rs FOR
        SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto, x.s AS status, x.k::text AS titems,
               x.v AS jugada, x.d AS desc_jugada, r.r_ultimo AS ultimo_item
        FROM unnest(r.r_lot, r.r_num, r.r_monto, r.r_status, r.r_item, r.r_variante, r.r_desc)
             AS x(l, num, m, s, k, v, d);
END
$$;

-- The procedures below answer as xcreanormal does: return value 0 every item sold in full; 1
-- some were not (see the records); 70 the request forms no valid list (digits, ending, run or
-- position); 71 the amount is not a positive amount of at most 999999.99 in whole céntimos; 72
-- the request would take the ticket past 32767 items; 73 and 74 as central.reservar, 73 also
-- when the vendor or the user is not the connection's; the special ones 75, 76 and 77 as
-- xcreaespecial. A refused request books nothing and answers every item with status '9'. Items
-- are numbered from NUM_ITEM + 1, lottery outer, in the order of central.items_generados; the
-- records carry "titems", "jugada" and "desc_jugada" (the variant of a special play) and
-- "ultimo_item". A call repeated after a lost answer answers what the first one booked.

-- Permutations of the digits typed (at most the sales point's longitudpermuta, and at most 500
-- numbers for one lottery), each for the whole amount.
CREATE PROCEDURE public.xcreapermutas(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    digitos varchar := trim(coalesce(t_numero_cadena, ''));
    valido boolean := digitos ~ '^[0-9]{0,10}$';
    numeros varchar[] := CASE WHEN valido THEN central.permutaciones(digitos) ELSE '{}' END;
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(central.lista_loterias(t_cod_lot), NULL, numeros);
    IF NOT central.autoriza('xcreapermutas', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF NOT valido OR length(digitos) > central.longitud_permuta(t_vendedor)
          OR cardinality(numeros) > 500 THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '1',
                                    'Permuta ' || digitos, NULL, i.i_variantes);
END
$$;

-- The ten numbers of a series ending in the one or two digits typed.
CREATE PROCEDURE public.xcreaseries(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    final varchar := trim(coalesce(t_numero_cadena, ''));
    numeros varchar[] := central.serie_numeros(final);
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(central.lista_loterias(t_cod_lot), NULL, numeros);
    IF NOT central.autoriza('xcreaseries', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF cardinality(numeros) = 0 THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '1',
                                    'Serie 0' || final || ' - 9' || final, NULL, i.i_variantes);
END
$$;

-- Every number from the first to the last, inclusive; a first number above the last forms no
-- item (and answers 0).
CREATE PROCEDURE public.xcreaseguid(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero1 varchar,
    IN t_numero2 varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    desde varchar := trim(coalesce(t_numero1, ''));
    hasta varchar := trim(coalesce(t_numero2, ''));
    valido boolean := desde ~ '^[0-9]{1,3}$' AND hasta ~ '^[0-9]{1,3}$';
    numeros varchar[] := CASE WHEN valido
                              THEN central.seguidilla_numeros(desde::integer, hasta::integer)
                              ELSE '{}' END;
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(central.lista_loterias(t_cod_lot), NULL, numeros);
    IF NOT central.autoriza('xcreaseguid', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF NOT valido THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '1',
                                    'Seguidilla ' || desde || ' - ' || hasta, NULL, i.i_variantes);
END
$$;

-- The hundred numbers with the digit typed in the position of T_MODO.
CREATE PROCEDURE public.xcreaposic(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN t_modo varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    numeros varchar[] := central.posicion_numeros(t_numero_cadena, t_modo);
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(central.lista_loterias(t_cod_lot), NULL, numeros);
    IF NOT central.autoriza('xcreaposic', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF cardinality(numeros) = 0 THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '1',
                                    'Posicionados', NULL, i.i_variantes);
END
$$;

-- The amount of a request that may keep its sources' own amounts: "0" (or nothing) keeps them
-- (NULL, valido true); any other text must be a valid play amount.
CREATE FUNCTION central.monto_o_propio(p_monto varchar, OUT monto numeric, OUT valido boolean)
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    texto varchar := trim(coalesce(p_monto, ''));
BEGIN
    IF texto = '' OR texto ~ '^0*(\.0*)?$' AND texto <> '.' THEN
        monto := NULL;
        valido := true;
    ELSE
        monto := central.monto_jugada(texto);
        valido := monto IS NOT NULL;
    END IF;
END
$$;

-- The terminals of the ticket's triples on every lottery of the list; the amount "0" sells each
-- terminal for its triple's own amount.
CREATE PROCEDURE public.xjtermi(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    ticket varchar := trim(coalesce(nticket, ''));
    monto record := central.monto_o_propio(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.terminales_ticket(ticket, base, central.lista_loterias(t_cod_lot), NULL,
                                   monto.monto);
    IF NOT central.autoriza('xjtermi', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF NOT monto.valido THEN
        codigo := 71;
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario, ticket, base, i.i_lots,
                                    i.i_numeros, i.i_montos, '1', 'Terminales', NULL,
                                    i.i_variantes);
END
$$;

-- Superpermutas: the permutations of xcreapermutas as a special play, on the variants of
-- XJUGADA and the special XESPECIAL.
CREATE PROCEDURE public.xcreapermutasespe(
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
    variantes varchar[] := central.lista_variantes(xjugada);
    especial varchar := upper(trim(coalesce(xespecial, '')));
    digitos varchar := trim(coalesce(t_numero_cadena, ''));
    valido boolean := digitos ~ '^[0-9]{0,10}$';
    numeros varchar[] := CASE WHEN valido THEN central.permutaciones(digitos) ELSE '{}' END;
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(lots, variantes, numeros);
    IF NOT central.autoriza('xcreapermutasEspe', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF NOT valido OR length(digitos) > central.longitud_permuta(t_vendedor)
          OR cardinality(numeros) > 500 THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    ELSE
        codigo := central.rechazo_especial(t_vendedor, especial, lots, variantes);
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '2',
                                    'Superpermutas', especial, i.i_variantes);
END
$$;

-- Series Especiales: the series of xcreaseries as a special play.
CREATE PROCEDURE public.xcreaseriesespe(
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
    variantes varchar[] := central.lista_variantes(xjugada);
    especial varchar := upper(trim(coalesce(xespecial, '')));
    numeros varchar[] := central.serie_numeros(t_numero_cadena);
    monto numeric := central.monto_jugada(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.items_generados(lots, variantes, numeros);
    IF NOT central.autoriza('xcreaseriesESPE', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF cardinality(numeros) = 0 THEN
        codigo := 70;
    ELSIF monto IS NULL THEN
        codigo := 71;
    ELSE
        codigo := central.rechazo_especial(t_vendedor, especial, lots, variantes);
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario,
                                    trim(coalesce(nticket, '')), base,
                                    i.i_lots, i.i_numeros,
                                    array_fill(monto, ARRAY[cardinality(i.i_lots)]), '2',
                                    'Series Especiales', especial, i.i_variantes);
END
$$;

-- Terminales as a special play: the terminals of xjtermi on the variants of XJUGADA.
CREATE PROCEDURE public.xjtermiesp(
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
    ticket varchar := trim(coalesce(nticket, ''));
    lots varchar[] := central.lista_loterias(t_cod_lot);
    variantes varchar[] := central.lista_variantes(xjugada);
    especial varchar := upper(trim(coalesce(xespecial, '')));
    monto record := central.monto_o_propio(t_monto_normal);
    codigo integer := 0;
    i record;
BEGIN
    i := central.terminales_ticket(ticket, base, lots, variantes, monto.monto);
    IF NOT central.autoriza('xjtermiesp', t_vendedor, t_usuario) THEN
        codigo := 73;
    ELSIF NOT monto.valido THEN
        codigo := 71;
    ELSE
        codigo := central.rechazo_especial(t_vendedor, especial, lots, variantes);
    END IF;
    SELECT * INTO return_value, rs
    FROM central.responder_generada(rs, codigo, t_vendedor, t_usuario, ticket, base, i.i_lots,
                                    i.i_numeros, i.i_montos, '2', 'Terminales', especial,
                                    i.i_variantes);
END
$$;
