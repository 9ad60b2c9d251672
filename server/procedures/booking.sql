-- Booking plays against the quota of their numbers, and giving quota back.

-- A played number as the ticket shows it: "7" -> "7**", "07" -> "07*", "123" -> "123".
CREATE FUNCTION central.numero_ticket(p_digitos varchar) RETURNS varchar
LANGUAGE sql IMMUTABLE AS $$
    SELECT p_digitos || repeat('*', 3 - length(p_digitos))
$$;

-- The quota of a number of a lottery's draw, in Bs.F.: the number's own, else the draw's, else
-- the lottery's, for triples or for terminales; 0 for a lottery that does not exist. One row
-- always, from a plain SQL table function, so that a read of a few numbers takes the rule in
-- whole and reads it by key for each one. Booking over arrays reads the draw's quotas once per
-- lottery (central.cupos_sorteo) and puts them together with each number's own
-- (central.cupo_de). The compiled booking of a few items reads the same rule
-- (server/native/sale_rules.c).
CREATE FUNCTION central.cupos_sorteo(p_cod_lot varchar, p_fecha date)
RETURNS TABLE (triple numeric, terminal numeric)
LANGUAGE sql STABLE AS $$
    SELECT coalesce(so.cupo_triple, lo.cupo_triple), coalesce(so.cupo_terminal, lo.cupo_terminal)
    FROM (VALUES (1)) d
    LEFT JOIN central.loterias lo ON lo.cod_lot = p_cod_lot
    LEFT JOIN central.sorteos so ON so.cod_lot = p_cod_lot AND so.fecha = p_fecha
$$;

CREATE FUNCTION central.cupo_de(p_numero varchar, p_propio numeric, p_triple numeric,
                                p_terminal numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE AS $$
    SELECT coalesce(p_propio,
                    CASE WHEN p_numero ~ '^[0-9]{3}$' THEN p_triple ELSE p_terminal END, 0)
$$;

CREATE FUNCTION central.cupo(p_cod_lot varchar, p_fecha date, p_numero varchar)
RETURNS TABLE (cupo numeric)
LANGUAGE sql STABLE AS $$
    SELECT central.cupo_de(p_numero, c.cupo, s.triple, s.terminal)
    FROM central.cupos_sorteo(p_cod_lot, p_fecha) s
    LEFT JOIN central.cupos_numero c ON c.cod_lot = p_cod_lot AND c.numero = p_numero
$$;

-- Gives back the quota held by the live sold items of some temporary tickets (all their items,
-- or only those numbered in p_items) and retires the items: every give-back goes through here,
-- abandoned tickets, voids, removals and cancellations alike. Rows of ventas_numero are locked
-- in one fixed order, as every booking does. Answers the items retired and the amount given back.
CREATE FUNCTION central.liberar_items(p_tickets varchar[], p_items integer[] DEFAULT NULL,
                                      OUT retirados integer, OUT devuelto numeric)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM 1 FROM central.ventas_numero v
    WHERE (v.cod_lot, v.fecha, v.numero) IN (
        SELECT i.cod_lot, i.fecha_sorteo, i.numero FROM central.items_ticket i
        WHERE i.nticket = ANY (p_tickets) AND (p_items IS NULL OR i.num_item = ANY (p_items))
          AND i.vigente AND i.monto_vendido > 0)
    ORDER BY v.cod_lot, v.fecha, v.numero
    FOR UPDATE OF v;

    UPDATE central.ventas_numero v SET vendido = v.vendido - s.total
    FROM (SELECT i.cod_lot, i.fecha_sorteo, i.numero, sum(i.monto_vendido) AS total
          FROM central.items_ticket i
          WHERE i.nticket = ANY (p_tickets) AND (p_items IS NULL OR i.num_item = ANY (p_items))
            AND i.vigente AND i.monto_vendido > 0
          GROUP BY i.cod_lot, i.fecha_sorteo, i.numero) s
    WHERE v.cod_lot = s.cod_lot AND v.fecha = s.fecha_sorteo AND v.numero = s.numero;

    WITH r AS (
        UPDATE central.items_ticket i SET vigente = false
        WHERE i.nticket = ANY (p_tickets) AND (p_items IS NULL OR i.num_item = ANY (p_items))
          AND i.vigente
        RETURNING i.monto_vendido)
    SELECT count(*), coalesce(sum(r.monto_vendido), 0) INTO retirados, devuelto FROM r;
END
$$;

-- A temporary ticket under a number drawn at random, so that no one can guess another
-- terminal's open ticket.
CREATE FUNCTION central.crear_ticket_temporal(p_vendedor varchar) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    n integer;
BEGIN
    LOOP
        n := ('x' || encode(central.gen_random_bytes(4), 'hex'))::bit(32)::integer & 2147483647;
        CONTINUE WHEN n = 0;
        INSERT INTO central.tickets_temporales (nticket, cod_vendedor)
        VALUES (lpad(n::text, 10, '0'), p_vendedor)
        ON CONFLICT DO NOTHING;
        EXIT WHEN FOUND;
    END LOOP;
    RETURN n;
END
$$;

-- A new temporary ticket for a vendor's terminal. The terminal has left whatever it had open:
-- those tickets are abandoned and the quota they held is given back.
CREATE FUNCTION central.nuevo_ticket_temporal(p_vendedor varchar) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    abiertos varchar[];
BEGIN
    SELECT array_agg(t.nticket ORDER BY t.nticket) INTO abiertos
    FROM (SELECT t.nticket FROM central.tickets_temporales t
          WHERE t.cod_vendedor = p_vendedor AND t.estado = 'ABI'
          ORDER BY t.nticket FOR UPDATE) t;
    IF abiertos IS NOT NULL THEN
        PERFORM central.liberar_items(abiertos);
        UPDATE central.tickets_temporales SET estado = 'ABA' WHERE nticket = ANY (abiertos);
    END IF;
    RETURN central.crear_ticket_temporal(p_vendedor);
END
$$;

-- Releases an open temporary ticket: the quota its plays hold goes back, nothing of it is sold,
-- and the counter is told so on its next call (code 80). Audited with the reason. Answers
-- whether the ticket was open.
CREATE FUNCTION central.liberar_ticket(p_nticket varchar, p_motivo text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    t central.tickets_temporales;
    r record;
BEGIN
    SELECT * INTO t FROM central.tickets_temporales x
    WHERE x.nticket = p_nticket AND x.estado = 'ABI' FOR UPDATE;
    IF NOT FOUND THEN
        RETURN false;
    END IF;
    SELECT * INTO r FROM central.liberar_items(ARRAY[p_nticket]);
    UPDATE central.tickets_temporales SET estado = 'LIB' WHERE nticket = p_nticket;
    PERFORM central.auditar('TICKET_LIBERADO', t.cod_vendedor, NULL,
                            format('ticket %s: %s jugadas, %s devuelto; %s', p_nticket,
                                   r.retirados, r.devuelto, p_motivo));
    RETURN true;
END
$$;

-- The moment of an open temporary ticket's last play (its creation when it has none).
CREATE FUNCTION central.ultima_jugada(p_nticket varchar) RETURNS timestamp
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN greatest((SELECT t.creado FROM central.tickets_temporales t WHERE t.nticket = p_nticket),
                    (SELECT max(i.creado) FROM central.items_ticket i WHERE i.nticket = p_nticket));
END
$$;

-- Releases every open temporary ticket without a play for the minutes the central office allows
-- (instalacion.minutos_inactividad): quota is held only while it is used. Run every minute by
-- the cluster's scheduler (pg_cron). Answers how many tickets were released.
CREATE FUNCTION central.liberar_inactivos() RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_minutos integer := (SELECT i.minutos_inactividad FROM central.instalacion i);
    v_limite timestamp := central.ahora() - make_interval(mins => v_minutos);
    t record;
    n integer := 0;
BEGIN
    FOR t IN
        SELECT x.nticket FROM central.tickets_temporales x
        WHERE x.estado = 'ABI' AND x.creado < v_limite
          AND central.ultima_jugada(x.nticket) < v_limite
        ORDER BY x.nticket
    LOOP
        IF central.liberar_ticket(t.nticket, format('sin jugadas en %s minutos', v_minutos)) THEN
            n := n + 1;
        END IF;
    END LOOP;
    RETURN n;
END
$$;

-- Ends the connections of sales points that hold a transaction open between calls, or run one
-- call, for longer than the limits (central.limite): what a client may switch off in its own
-- settings, the server still bounds. Run every minute by the cluster's scheduler. Each one is
-- audited. Answers how many.
CREATE FUNCTION central.terminar_abusos(
    p_transaccion interval DEFAULT make_interval(secs => central.limite('transaccion')),
    p_llamada interval DEFAULT make_interval(secs => central.limite('llamada'))) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    a record;
    n integer := 0;
BEGIN
    FOR a IN
        SELECT s.pid, s.usename, s.state, c.cod_vendedor
        FROM pg_stat_activity s
        JOIN central.cuentas c ON c.cuenta = s.usename
        WHERE s.datname = current_database() AND s.pid <> pg_backend_pid()
          AND ((s.state LIKE 'idle in transaction%' AND s.state_change < now() - p_transaccion)
               OR (s.state = 'active' AND s.query_start < now() - p_llamada))
    LOOP
        IF pg_terminate_backend(a.pid) THEN
            n := n + 1;
            PERFORM central.auditar('CONEXION_TERMINADA', a.cod_vendedor, NULL,
                                    format('%s, proceso %s: %s', a.usename, a.pid, a.state));
        END IF;
    END LOOP;
    RETURN n;
END
$$;

-- The answer of a refused call: every item with status '9' and nothing sold.
CREATE FUNCTION central.rechazo(p_base integer, p_lots varchar[], p_numeros varchar[],
    OUT r_lot varchar[], OUT r_num varchar[], OUT r_monto numeric[], OUT r_status varchar[],
    OUT r_item integer[])
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    n integer := coalesce(array_length(p_lots, 1), 0);
BEGIN
    r_lot := coalesce(p_lots, '{}');
    r_num := coalesce(p_numeros, '{}');
    r_monto := array_fill(0::numeric, ARRAY[n]);
    r_status := array_fill('9'::varchar, ARRAY[n]);
    r_item := ARRAY(SELECT p_base + k FROM generate_series(1, n) AS k);
END
$$;

-- Books the items of any call, over the arrays at once: a generator's thousand items, a call
-- repeated after a lost answer, a sales point limited to a share of each quota. Arguments and
-- answers as central.reservar, whose checks of the ticket it follows: each item is a replay of
-- the item already booked under its number (its stored answer), an item number another play
-- holds (the call is refused whole, codigo 74, r_ultimo the ticket's highest item), on a code
-- that names no lottery ('4', not kept), on a lottery closed or not selling this kind of play
-- ('4', kept: special plays only, or straight only), or to be booked. p_ultimo is the ticket's
-- highest item number as read under its lock (NULL: none): a ticket whose highest item is at or
-- below p_base holds none of the call's item numbers, so none of them can be a replay. Called
-- by central.reservar alone. Its statements keep generic plans: planned for each call's own
-- arrays, they were planned again at every call, which cost more than running them.
CREATE FUNCTION central.reservar_en_bloque(
    p_vendedor varchar, p_usuario varchar, p_nticket varchar, p_base integer,
    p_lots varchar[], p_numeros varchar[], p_montos numeric[], p_tipo char, p_jugada varchar,
    p_especial varchar, p_variantes varchar[], p_momento timestamp, p_parte numeric,
    p_ultimo integer,
    OUT codigo integer, OUT vendido numeric[], OUT st varchar[], OUT r_ultimo integer)
LANGUAGE plpgsql SET plan_cache_mode = force_generic_plan AS $$
DECLARE
    hoy date := p_momento::date;
    n integer := cardinality(p_lots);
    nuevo boolean[];
    tomas numeric[];
    filas tid[];
    conflicto boolean;
BEGIN
    codigo := 0;
    -- every lottery is judged once (MATERIALIZED: the planner would otherwise ask whether the
    -- lottery is open once per item)
    WITH x AS (
        SELECT * FROM unnest(p_lots, p_numeros, p_montos) WITH ORDINALITY AS x(l, num, m, k)),
    estado AS MATERIALIZED (
        SELECT d.l, v.existe,
               v.abierta AND v.juegaespecial <> CASE p_tipo WHEN '2' THEN 'N' ELSE 'S' END AS vende
        FROM (SELECT DISTINCT x.l FROM x) d
        CROSS JOIN LATERAL central.venta_loteria(d.l, p_momento, p_vendedor) v),
    y AS (
        SELECT x.k, p.num_item IS NOT NULL AS usado,
               p.num_item IS NOT NULL AND p.cod_lot = x.l AND p.numero = x.num
                   AND p.monto_pedido = x.m AND p.tipo = p_tipo
                   AND p.variante IS NOT DISTINCT FROM p_variantes[x.k] AS repetido,
               p.status, p.monto_vendido, e.existe, e.vende
        FROM x
        JOIN estado e ON e.l = x.l
        -- the ticket's items in the call's range, read by key: a ticket of thousands of items
        -- costs no more than a new one; not read at all when the ticket holds none past the
        -- call's base, as on every call but a repeated one
        LEFT JOIN (SELECT * FROM central.items_ticket i
                   WHERE p_ultimo > p_base AND i.nticket = p_nticket AND i.num_item > p_base
                     AND i.num_item <= p_base + n) p ON p.num_item = p_base + x.k)
    SELECT array_agg(CASE WHEN y.repetido THEN y.status::varchar
                          WHEN y.usado THEN '9'
                          WHEN NOT y.vende THEN '4' END ORDER BY y.k),
           array_agg(CASE WHEN y.repetido THEN y.monto_vendido ELSE 0 END ORDER BY y.k),
           array_agg(NOT y.usado AND y.existe ORDER BY y.k),
           bool_or(y.usado AND NOT y.repetido)
    INTO st, vendido, nuevo, conflicto
    FROM y;
    IF conflicto THEN
        -- nothing of a refused call is booked, so sending it again can never sell twice
        r_ultimo := greatest(p_ultimo, p_base);
        codigo := 74;
        RETURN;
    END IF;

    -- Every number to book is locked here, in the fixed order every booking locks them in: a
    -- number with no row yet that day gets one, a number with one has it locked by the
    -- conflict, which updates nothing. Later statements read the rows as locked, the latest
    -- committed.
    INSERT INTO central.ventas_numero AS v (cod_lot, fecha, numero)
    SELECT DISTINCT x.l, hoy, x.num
    FROM unnest(p_lots, p_numeros, st) AS x(l, num, s)
    WHERE x.s IS NULL
    ORDER BY x.l, x.num
    ON CONFLICT (cod_lot, fecha, numero) DO UPDATE SET vendido = v.vendido WHERE false;

    -- What each item takes: the items of one number share what is left of its quota in the
    -- order they were sent, each at most what it asks, in whole céntimos. What is left is read
    -- once per number, and the draw's quotas once per lottery; the row's address is kept for
    -- its update, which no one else can move while it is locked.
    WITH topes AS MATERIALIZED (
        SELECT d.l, s.triple, s.terminal
        FROM (SELECT DISTINCT x.l FROM unnest(p_lots) AS x(l)) d
        CROSS JOIN LATERAL central.cupos_sorteo(d.l, hoy) s),
    -- (each number's row read by its whole key, before the draws' quotas join in)
    leidas AS MATERIALIZED (
        SELECT v.cod_lot, v.numero, v.ctid AS fila, v.vendido
        FROM (SELECT DISTINCT x.l, x.num
              FROM unnest(p_lots, p_numeros, st) AS x(l, num, s) WHERE x.s IS NULL) d
        JOIN central.ventas_numero v ON v.cod_lot = d.l AND v.fecha = hoy AND v.numero = d.num),
    libre AS MATERIALIZED (
        SELECT r.cod_lot, r.numero, r.fila,
               least(k.cupo - r.vendido,
                     CASE WHEN p_parte < 100
                          THEN trunc(k.cupo * p_parte / 100, 2) - coalesce(
                              (SELECT sum(i.monto_vendido) FROM central.items_ticket i
                               WHERE i.cod_vendedor = p_vendedor AND i.fecha_sorteo = hoy
                                 AND i.cod_lot = r.cod_lot AND i.numero = r.numero
                                 AND i.vigente), 0) END) AS resto
        FROM leidas r
        JOIN topes t ON t.l = r.cod_lot
        LEFT JOIN central.cupos_numero c ON c.cod_lot = r.cod_lot AND c.numero = r.numero
        CROSS JOIN LATERAL (SELECT central.cupo_de(r.numero, c.cupo, t.triple, t.terminal)
                            AS cupo) k)
    SELECT array_agg(CASE WHEN p.s IS NULL
                          THEN trunc(least(p.m, greatest(p.resto - p.antes, 0)), 2) END
                     ORDER BY p.k),
           array_agg(p.fila ORDER BY p.k)
    INTO tomas, filas
    FROM (
        SELECT x.k, x.m, x.s, q.resto, q.fila,
               coalesce(sum(x.m) FILTER (WHERE x.s IS NULL)
                            OVER (PARTITION BY x.l, x.num ORDER BY x.k
                                  ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING),
                        0) AS antes
        FROM unnest(p_lots, p_numeros, p_montos, st) WITH ORDINALITY AS x(l, num, m, s, k)
        LEFT JOIN libre q ON q.cod_lot = x.l AND q.numero = x.num AND x.s IS NULL) p;

    FOR i IN 1..n LOOP
        CONTINUE WHEN st[i] IS NOT NULL;
        vendido[i] := tomas[i];
        st[i] := CASE WHEN tomas[i] = p_montos[i] THEN '0' WHEN tomas[i] > 0 THEN '2' ELSE '1' END;
    END LOOP;

    UPDATE central.ventas_numero v SET vendido = v.vendido + s.total
    FROM (SELECT x.f, sum(x.t) AS total
          FROM unnest(filas, tomas) AS x(f, t)
          WHERE x.t > 0
          GROUP BY x.f) s
    WHERE v.ctid = s.f;

    INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, cod_lot,
                                      fecha_sorteo, numero, monto_pedido, monto_vendido, status,
                                      tipo, jugada, especial, variante, creado)
    SELECT p_nticket, p_base + x.k, p_vendedor, p_usuario, x.l, hoy, x.num, x.m, x.v, x.s,
           p_tipo, p_jugada, p_especial, p_variantes[x.k], p_momento
    FROM unnest(p_lots, p_numeros, p_montos, vendido, st, nuevo)
         WITH ORDINALITY AS x(l, num, m, v, s, nuevo, k)
    WHERE x.nuevo;
    r_ultimo := p_base + n;
END
$$;

-- Books the items of one play call. Item k (from 1) of the arrays gets the item number
-- p_base + k; p_variantes, when given, holds the variant of a special play's items. Answers,
-- for every item not sold in full, its lottery, number, amount sold, status and item number, and
-- a code: 0 all sold in full, 1 some not, 73 the temporary ticket is not open for this vendor, or
-- the user may not sell now, 74 an item number was already used by another play, 80 the ticket
-- was released with its quota (no play for the minutes the central office allows, or by its
-- hand): nothing of it is sold any more and the counter goes on under a new number. A refused
-- call (73, 74, 80) books nothing at all: every item comes back with status '9', and r_ultimo
-- tells the highest item number the ticket holds, so that the counter numbers its next call
-- past it. A lottery that does not exist is answered as a closed one, without keeping an item;
-- a closed lottery, or one this sales point deactivated, keeps its item with status '4'. What a
-- number takes of its quota is whole céntimos, and a sales point never holds more of a number
-- than its share of the number's quota (vendedores.cupo_porcentaje). It checks itself, before it
-- locks the ticket, that the vendor is the connection's sales point and the user one of its
-- sellers (73 otherwise, with nothing touched: the caller that has not asked central.autoriza
-- asks it then, for the audit trail); it runs with the caller's rights (the owner's) and search
-- path.
--
-- A call of a few new items (a straight play on some lotteries, most plays a counter sends) by a
-- sales point with the whole quota is booked here one item at a time, each statement a lookup by
-- key: a third of the statements of booking over the arrays (central.reservar_en_bloque, for
-- any other call), under the same rules. Whether each item's lottery sells this play, and its
-- number's quota, are read first for all the items, by key and without a statement, so that
-- taking the quota is an update of the number's row alone. Items go in the order of their
-- numbers' rows (lottery, number, item), the order every booking locks them in; items of one
-- number take what is left of its quota in the order they were sent. A number with room for the
-- whole amount takes it in one update, which locks the row itself; a number sold out as last
-- committed takes nothing without waiting for its lock, so a sold-out hot number holds no
-- terminal up; anything else is decided under the row's lock. The items are written at the end
-- in one statement.
--
-- Compiled code of the server (server/native/booking.c), its statements prepared once per
-- connection with generic plans and kept: in PL/pgSQL the glue of a play of a few items, its
-- expressions set up again in every transaction, cost more than its statements. The rows every
-- call reads (who calls, the clock, the ticket's last item, and for a few items their lotteries'
-- rules) are read by key without a statement: at 32 sales points selling at once, setting up and
-- tearing down those reads' statements was nearly half of what a play cost the server.
CREATE FUNCTION central.reservar(
    p_vendedor varchar, p_usuario varchar, p_nticket varchar, p_base integer,
    p_lots varchar[], p_numeros varchar[], p_montos numeric[],
    p_tipo char, p_jugada varchar, p_especial varchar, p_variantes varchar[] DEFAULT NULL,
    OUT codigo integer, OUT r_lot varchar[], OUT r_num varchar[], OUT r_monto numeric[],
    OUT r_status varchar[], OUT r_item integer[], OUT r_ultimo integer)
LANGUAGE c AS '$libdir/vendura_booking', 'reservar_sql';

CREATE FUNCTION central.item_invalido(p_num_item varchar) RETURNS integer
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RAISE EXCEPTION 'Número de item inválido: %', left(p_num_item, 20) USING ERRCODE = '22023';
END
$$;

-- The item number a play call starts from, as the counter sends it. Helpers asked at every play
-- are plain SQL expressions, which the asking statement takes in whole: a PL/pgSQL function
-- costs more to enter, at every transaction, than its body costs to run.
CREATE FUNCTION central.base_items(p_num_item varchar) RETURNS integer
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN trim(coalesce(p_num_item, '')) ~ '^[0-9]{1,9}$'
                THEN trim(p_num_item)::integer
                ELSE central.item_invalido(p_num_item) END
$$;

-- A lottery code list (three characters a code, no separator) as an array, in its order. A loop
-- rather than a query: it is asked at every play.
CREATE FUNCTION central.lista_loterias(p_codigos varchar) RETURNS varchar[]
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    codigos varchar := coalesce(p_codigos, '');
    lista varchar[] := '{}';
BEGIN
    IF length(codigos) > 500 THEN
        RAISE EXCEPTION 'Lista de loterías demasiado larga' USING ERRCODE = '22023';
    END IF;
    FOR k IN 0..(length(codigos) + 2) / 3 - 1 LOOP
        lista := lista || upper(trim(substr(codigos, k * 3 + 1, 3)))::varchar;
    END LOOP;
    RETURN lista;
END
$$;

-- The amount of a play in Bs.F. as the counter sends it ("12.5"): above zero, at most
-- 999999.99, whole céntimos. NULL for anything else. The amount is read as a number only once
-- its text is known to be one. The compiled straight play states the same rule
-- (server/native/straight_play.c).
CREATE FUNCTION central.monto_jugada(p_monto varchar) RETURNS numeric
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN trim(coalesce(p_monto, '')) !~ '^([0-9]{1,9}(\.[0-9]*)?|\.[0-9]+)$'
                THEN NULL
                WHEN trim(p_monto)::numeric <= 0 OR trim(p_monto)::numeric > 999999.99
                     OR trim(p_monto)::numeric <> round(trim(p_monto)::numeric, 2) THEN NULL
                ELSE trim(p_monto)::numeric END
$$;

-- A straight play, every case of it (public.xcreanormal books the common one in compiled code
-- and hands this every other). Opens the answer's cursor under the name rs (one of its own when
-- NULL) and answers it with the return value.
CREATE FUNCTION central.crea_normal(
    t_vendedor varchar,
    t_usuario varchar,
    t_numero_cadena varchar,
    t_monto_normal varchar,
    num_item varchar,
    t_cod_lot varchar,
    nticket varchar,
    INOUT rs refcursor,
    OUT return_value integer)
LANGUAGE plpgsql SET search_path = central, pg_temp AS $$
DECLARE
    base integer := central.base_items(num_item);
    lots varchar[] := central.lista_loterias(t_cod_lot);
    n integer := coalesce(array_length(lots, 1), 0);
    numero varchar := trim(coalesce(t_numero_cadena, ''));
    monto numeric := central.monto_jugada(t_monto_normal);
    r record;
    rehusada boolean;
BEGIN
    -- central.reservar checks the caller in the statement that locks the ticket; a call it
    -- refuses, or one that goes no further, asks central.autoriza for the audit trail
    IF numero !~ '^[0-9]{1,3}$' OR monto IS NULL OR n = 0 THEN
        rehusada := true;
        return_value := CASE WHEN NOT central.autoriza('xcreanormal', t_vendedor, t_usuario)
                             THEN 73 WHEN numero !~ '^[0-9]{1,3}$' THEN 70
                             WHEN monto IS NULL THEN 71 ELSE 0 END;
    ELSE
        r := central.reservar(t_vendedor, t_usuario, trim(coalesce(nticket, '')), base, lots,
                              array_fill(central.numero_ticket(numero), ARRAY[n]),
                              array_fill(monto, ARRAY[n]), '1', 'Venta Normal', NULL);
        return_value := r.codigo;
        rehusada := r.codigo = 73 AND NOT central.autoriza('xcreanormal', t_vendedor, t_usuario);
    END IF;

    IF rehusada THEN
        OPEN rs FOR
            SELECT x.l AS cod_lot, left(coalesce(t_numero_cadena, ''), 3) AS numero,
                   0::numeric AS monto, '9'::varchar AS status, (base + x.k)::text AS titems,
                   base AS ultimo_item
            FROM unnest(lots) WITH ORDINALITY AS x(l, k);
        RETURN;
    END IF;
    OPEN rs FOR
        SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto, x.s AS status, x.k::text AS titems,
               r.r_ultimo AS ultimo_item
        FROM unnest(r.r_lot, r.r_num, r.r_monto, r.r_status, r.r_item) AS x(l, num, m, s, k);
END
$$;

-- A straight play: one number for one amount on every lottery of the code list.
-- Return value: 0 every item sold in full; 1 some were not (see the records); 70 the number is
-- not 1 to 3 digits; 71 the amount is not a positive amount of at most 999999.99 in whole
-- céntimos; 73 and 74 as central.reservar, 73 also when the vendor or the user is not of the
-- connection's sales point. A refused call books nothing and answers every item with status
-- '9'; "ultimo_item" carries the highest item number the ticket holds.
CREATE PROCEDURE public.xcreanormal(
    INOUT return_value integer,
    IN t_vendedor varchar,
    IN t_usuario varchar,
    IN t_numero_cadena varchar,
    IN t_monto_normal varchar,
    IN num_item varchar,
    IN t_cod_lot varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE c SECURITY DEFINER SET search_path = central, pg_temp
AS '$libdir/vendura_booking', 'xcreanormal';

-- xjugadasticket: the live plays of an open temporary ticket of the calling sales point, in item
-- order (num_item, cod_lot, numero, monto_pedido, monto_vendido, status, tipo, jugada, especial,
-- variante), for a counter that lost an answer to bring its screen back in step with what the
-- server holds. Return value 0; 1 the number is no open ticket of this vendor; 80 it was released
-- with its quota; 73 the vendor or the user is not of the connection's sales point.
CREATE PROCEDURE public.xjugadasticket(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN nticket varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_numero varchar := trim(coalesce(nticket, ''));
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xjugadasticket', xcodigo_vend, xcodigo_user) THEN
        return_value := 73;
        RETURN;
    END IF;
    IF NOT EXISTS (SELECT FROM central.tickets_temporales t
                   WHERE t.nticket = v_numero AND t.cod_vendedor = xcodigo_vend
                     AND t.estado = 'ABI') THEN
        return_value := CASE WHEN central.ticket_liberado(v_numero, xcodigo_vend) THEN 80
                             ELSE 1 END;
        RETURN;
    END IF;
    return_value := 0;
    CLOSE rs;
    OPEN rs FOR
        SELECT i.num_item AS "num_item", i.cod_lot AS "cod_lot", i.numero AS "numero",
               i.monto_pedido AS "monto_pedido", i.monto_vendido AS "monto_vendido",
               i.status::varchar AS "status", i.tipo::varchar AS "tipo", i.jugada AS "jugada",
               i.especial AS "especial", i.variante::varchar AS "variante"
        FROM central.items_ticket i
        WHERE i.nticket = v_numero AND i.vigente
        ORDER BY i.num_item;
END
$$;
