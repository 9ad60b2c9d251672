-- Which lotteries a sales point sells: its counter lists them and takes some off sale or puts
-- them back. A deactivated lottery is closed at that sales point only (central.loteria_abierta
-- with the vendor): its plays there answer status '4' and it is out of the lists on sale.

-- Every lottery the central office has not closed, in the order of the lists on sale, with
-- "Cerrada" 'S' when this sales point deactivated it. Whether a draw is open right now does not
-- count here: saving the list unchanged must not deactivate a lottery that merely closed for
-- the day. Return value 1 (no record): the vendor is not of this sales point.
CREATE PROCEDURE public.dsplotactiva(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT central.autoriza('Dsplotactiva', xcodigo_vend)
       OR NOT central.permitido('Dsplotactiva', xcodigo_vend, NULL, 'F11') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR
        SELECT l.cod_lot AS "COD_LOT", l.desc_lot AS "desc_lot",
               CASE WHEN i.cod_lot IS NULL THEN 'N' ELSE 'S' END AS "Cerrada"
        FROM central.loterias l
        LEFT JOIN central.loterias_inactivas i
               ON i.cod_lot = l.cod_lot AND i.cod_vendedor = xcodigo_vend
        WHERE NOT l.cerrada
        ORDER BY l.orden, l.cod_lot;
END
$$;

-- Saves the sales point's choice: xcodigos holds three-character lottery codes, xestados one
-- flag per code in the same order, 'A' active or 'I' inactive. Lotteries left out of the list
-- keep their state. A list that does not pair up, a flag other than A/I, a code named twice or
-- one that names no lottery is refused with an error and nothing is written. Every change is
-- audited. Return value 0, or 1 when the vendor is not of this sales point.
CREATE PROCEDURE public.activaloterias(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigos varchar,
    IN xestados varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    codigos varchar := coalesce(xcodigos, '');
    estados varchar := coalesce(xestados, '');
    n integer := length(coalesce(xestados, ''));
    lots varchar[] := '{}';
    repetida varchar;
    desconocida varchar;
    activadas text;
    desactivadas text;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('activaloterias', xcodigo_vend)
       OR NOT central.permitido('activaloterias', xcodigo_vend, NULL, 'F11') THEN
        return_value := 1;
        RETURN;
    END IF;
    IF length(codigos) <> 3 * n THEN
        RAISE EXCEPTION 'Los códigos de lotería (% caracteres) no corresponden a los % estados',
            length(codigos), n USING ERRCODE = '22023';
    END IF;
    IF estados !~ '^[AI]*$' THEN
        RAISE EXCEPTION 'Cada estado debe ser A (activa) o I (inactiva)' USING ERRCODE = '22023';
    END IF;
    FOR k IN 1..n LOOP
        lots := lots || upper(trim(substr(codigos, 3 * k - 2, 3)))::varchar;
    END LOOP;
    SELECT x.c INTO repetida FROM unnest(lots) AS x(c) GROUP BY x.c HAVING count(*) > 1 LIMIT 1;
    IF repetida IS NOT NULL THEN
        RAISE EXCEPTION 'La lotería % aparece más de una vez', repetida USING ERRCODE = '22023';
    END IF;
    SELECT x.c INTO desconocida FROM unnest(lots) AS x(c)
    WHERE NOT EXISTS (SELECT FROM central.loterias l WHERE l.cod_lot = x.c) LIMIT 1;
    IF desconocida IS NOT NULL THEN
        RAISE EXCEPTION 'La lotería % no existe', desconocida USING ERRCODE = '22023';
    END IF;

    WITH puestas AS (
        INSERT INTO central.loterias_inactivas (cod_vendedor, cod_lot)
        SELECT xcodigo_vend, x.c
        FROM unnest(lots) WITH ORDINALITY AS x(c, k)
        WHERE substr(estados, x.k::integer, 1) = 'I'
        ORDER BY x.c
        ON CONFLICT DO NOTHING
        RETURNING cod_lot)
    SELECT string_agg(p.cod_lot, ',' ORDER BY p.cod_lot) INTO desactivadas FROM puestas p;
    WITH quitadas AS (
        DELETE FROM central.loterias_inactivas i
        USING unnest(lots) WITH ORDINALITY AS x(c, k)
        WHERE i.cod_vendedor = xcodigo_vend AND i.cod_lot = x.c
          AND substr(estados, x.k::integer, 1) = 'A'
        RETURNING i.cod_lot)
    SELECT string_agg(q.cod_lot, ',' ORDER BY q.cod_lot) INTO activadas FROM quitadas q;

    IF activadas IS NOT NULL OR desactivadas IS NOT NULL THEN
        PERFORM central.auditar('LOTERIAS_ACTIVACION', xcodigo_vend, NULL,
                                format('activadas: %s; desactivadas: %s',
                                       coalesce(activadas, '-'), coalesce(desactivadas, '-')));
    END IF;
    return_value := 0;
END
$$;
