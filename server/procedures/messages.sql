-- Messages of the central office (and of other sales points) for a sales point.

-- Mode "1": the unread messages of the vendor, oldest first, marked as delivered. Mode "2":
-- the delivered messages of the vendor are marked as read, so a message that arrives between
-- the two calls is still reported as new by the next look. Return value: 0 done; 2 the mode is
-- neither; 1 the vendor is not the connection's.
CREATE PROCEDURE public.xleemensajes(
    INOUT return_value integer,
    IN codigo_vend varchar,
    IN modo varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    vendedor varchar := trim(coalesce(codigo_vend, ''));
    instante timestamp := central.ahora();
    leidos integer;
BEGIN
    IF NOT central.autoriza('xleemensajes', vendedor) THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    IF trim(coalesce(modo, '')) = '1' THEN
        UPDATE central.mensajes m SET entregado = instante
        WHERE m.cod_vendedor = vendedor AND m.leido IS NULL AND m.entregado IS NULL;
        return_value := 0;
        OPEN rs FOR
            SELECT m.cod_vendedor AS "Vendedor", to_char(m.momento, 'DD/MM/YYYY') AS "Fecha_men",
                   to_char(m.momento, 'HH24:MI:SS') AS "Hora_men", m.mensaje AS "Mensajes",
                   m.ven_envia AS "Ven_envia", '0'::varchar AS "Leido"
            FROM central.mensajes m
            WHERE m.cod_vendedor = vendedor AND m.leido IS NULL
            ORDER BY m.id;
    ELSIF trim(coalesce(modo, '')) = '2' THEN
        UPDATE central.mensajes m SET leido = instante
        WHERE m.cod_vendedor = vendedor AND m.leido IS NULL AND m.entregado IS NOT NULL;
        GET DIAGNOSTICS leidos = ROW_COUNT;
        IF leidos > 0 THEN
            PERFORM central.auditar('MENSAJES_LEIDOS', vendedor, NULL,
                                    format('%s mensajes', leidos));
        END IF;
        return_value := 0;
        OPEN rs FOR SELECT WHERE false;
    ELSE
        return_value := 2;
        OPEN rs FOR SELECT WHERE false;
    END IF;
END
$$;
