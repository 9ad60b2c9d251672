-- The central office's rules for issued tickets.

-- Sets how many minutes after the sale a sales point may cancel its tickets (0: never; at most a
-- day). A ticket already sold is judged by the window in force when its cancellation is asked.
CREATE FUNCTION admin.fijar_minutos_anulacion(p_cod_vendedor varchar, p_minutos integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_antes integer;
BEGIN
    PERFORM central.exigir_supervisor();
    IF p_minutos IS NULL OR p_minutos NOT BETWEEN 0 AND 1440 THEN
        RAISE EXCEPTION 'Los minutos para anular deben ir de 0 a 1440' USING ERRCODE = '22023';
    END IF;
    SELECT v.minutos_anulacion INTO v_antes FROM central.vendedores v
    WHERE v.cod_vendedor = p_cod_vendedor FOR UPDATE;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET minutos_anulacion = p_minutos
    WHERE cod_vendedor = p_cod_vendedor;
    PERFORM central.auditar('TIEMPO_ANULACION', p_cod_vendedor, NULL,
                            format('de %s a %s minutos', v_antes, p_minutos));
END
$$;

-- Sets how many days after its last draw a prize of a sales point's tickets is paid (0 to 999).
-- A ticket keeps the value in force when it was issued, printed on it and applied at payment.
CREATE FUNCTION admin.fijar_dias_caducidad(p_cod_vendedor varchar, p_dias integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_antes integer;
BEGIN
    PERFORM central.exigir_supervisor();
    IF p_dias IS NULL OR p_dias NOT BETWEEN 0 AND 999 THEN
        RAISE EXCEPTION 'Los días para cobrar un premio van de 0 a 999' USING ERRCODE = '22023';
    END IF;
    SELECT v.dias_caduca INTO v_antes FROM central.vendedores v
    WHERE v.cod_vendedor = p_cod_vendedor FOR UPDATE;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET dias_caduca = p_dias WHERE cod_vendedor = p_cod_vendedor;
    PERFORM central.auditar('DIAS_CADUCIDAD', p_cod_vendedor, NULL,
                            format('de %s a %s días', v_antes, p_dias));
END
$$;

-- The open temporary tickets of one sales point or of all: when they were opened, their last
-- play, how many plays they hold and the quota those hold.
CREATE FUNCTION admin.tickets_abiertos(p_cod_vendedor varchar DEFAULT NULL)
RETURNS TABLE (cod_vendedor varchar, nticket varchar, creado timestamp, ultima_jugada timestamp,
               jugadas bigint, cupo numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT t.cod_vendedor, t.nticket, t.creado, central.ultima_jugada(t.nticket),
               (SELECT count(*) FROM central.items_ticket i
                WHERE i.nticket = t.nticket AND i.vigente AND i.monto_vendido > 0),
               (SELECT coalesce(sum(i.monto_vendido), 0) FROM central.items_ticket i
                WHERE i.nticket = t.nticket AND i.vigente)
        FROM central.tickets_temporales t
        WHERE t.estado = 'ABI' AND (p_cod_vendedor IS NULL OR t.cod_vendedor = p_cod_vendedor)
        ORDER BY t.cod_vendedor, t.creado;
END
$$;

-- Releases the open temporary tickets of a sales point (one, when its number is given): their
-- quota comes back and each counter is told on its next call. Answers how many.
CREATE FUNCTION admin.liberar_tickets(p_cod_vendedor varchar, p_nticket varchar DEFAULT NULL)
RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    t record;
    n integer := 0;
BEGIN
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    FOR t IN
        SELECT x.nticket FROM central.tickets_temporales x
        WHERE x.cod_vendedor = p_cod_vendedor AND x.estado = 'ABI'
          AND (p_nticket IS NULL OR x.nticket = lpad(trim(p_nticket), 10, '0'))
        ORDER BY x.nticket
    LOOP
        IF central.liberar_ticket(t.nticket, 'por la oficina central') THEN
            n := n + 1;
        END IF;
    END LOOP;
    IF n = 0 AND p_nticket IS NOT NULL THEN
        RAISE EXCEPTION 'El vendedor % no tiene abierto el ticket %', p_cod_vendedor, p_nticket
            USING ERRCODE = '22023';
    END IF;
    RETURN n;
END
$$;

-- Minutes an open temporary ticket may go without a play before its quota is given back.
CREATE FUNCTION admin.fijar_minutos_inactividad(p_minutos integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_minutos IS NULL OR p_minutos NOT BETWEEN 1 AND 1440 THEN
        RAISE EXCEPTION 'Los minutos de inactividad van de 1 a 1440' USING ERRCODE = '22023';
    END IF;
    UPDATE central.instalacion SET minutos_inactividad = p_minutos;
    PERFORM central.auditar('TIEMPO_INACTIVIDAD', NULL, NULL, p_minutos || ' minutos');
END
$$;

-- The share of a number's quota a sales point may hold (above 0, up to 100 percent).
CREATE FUNCTION admin.fijar_cupo_punto(p_cod_vendedor varchar, p_porcentaje numeric)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM central.exigir_supervisor();
    IF p_porcentaje IS NULL OR p_porcentaje <= 0 OR p_porcentaje > 100
       OR p_porcentaje <> round(p_porcentaje, 2) THEN
        RAISE EXCEPTION 'La parte del cupo va de más de 0 a 100 por ciento, con dos decimales'
            USING ERRCODE = '22023';
    END IF;
    UPDATE central.vendedores SET cupo_porcentaje = p_porcentaje
    WHERE cod_vendedor = p_cod_vendedor;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    PERFORM central.auditar('CUPO_PUNTO', p_cod_vendedor, NULL, p_porcentaje || '%');
END
$$;

-- The most digits a sales point's permutations take (2 to 8: eight different digits give 336
-- numbers, within the 500 a call accepts).
CREATE FUNCTION admin.fijar_longitud_permuta(p_cod_vendedor varchar, p_digitos integer)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM central.exigir_supervisor();
    IF p_digitos IS NULL OR p_digitos NOT BETWEEN 2 AND 8 THEN
        RAISE EXCEPTION 'Una permuta toma de 2 a 8 dígitos' USING ERRCODE = '22023';
    END IF;
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    INSERT INTO central.parametros_terminal (cod_vendedor, longitudpermuta)
    VALUES (p_cod_vendedor, p_digitos)
    ON CONFLICT (cod_vendedor) DO UPDATE SET longitudpermuta = EXCLUDED.longitudpermuta;
    PERFORM central.auditar('LONGITUD_PERMUTA', p_cod_vendedor, NULL, p_digitos || ' dígitos');
END
$$;
