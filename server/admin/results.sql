-- Draw results, the payout table and the day's audit key.

-- Validates a draw's result before it is written: numbers of three digits, a lottery that draws
-- that day, a draw in the state the change needs ('C' closed without results to enter them,
-- 'R' with results to correct them). A draw still open, or void, takes no results.
CREATE FUNCTION admin.validar_resultado(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                        p_segundo varchar, p_tercero varchar,
                                        p_especial varchar, p_estado char) RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
    v_estado char;
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta la fecha del sorteo' USING ERRCODE = '22023';
    END IF;
    IF coalesce(p_triple, '') !~ '^[0-9]{3}$' OR coalesce(p_segundo, '000') !~ '^[0-9]{3}$'
       OR coalesce(p_tercero, '000') !~ '^[0-9]{3}$'
       OR coalesce(p_especial, '000') !~ '^[0-9]{3}$' THEN
        RAISE EXCEPTION 'Los números ganadores son de tres dígitos' USING ERRCODE = '22023';
    END IF;
    IF NOT (SELECT central.juega_el_dia(l, p_fecha) FROM central.loterias l
            WHERE l.cod_lot = v_lot) THEN
        RAISE EXCEPTION 'La lotería % no juega el %', v_lot, p_fecha USING ERRCODE = '22023';
    END IF;
    v_estado := central.estado_sorteo(v_lot, p_fecha, central.ahora());
    IF v_estado = 'A' THEN
        RAISE EXCEPTION 'El sorteo % del % no ha cerrado', v_lot, p_fecha
            USING ERRCODE = '22023';
    ELSIF v_estado = 'N' THEN
        RAISE EXCEPTION 'El sorteo % del % está anulado: no lleva resultados', v_lot, p_fecha
            USING ERRCODE = '55000';
    ELSIF v_estado = 'R' AND p_estado = 'C' THEN
        RAISE EXCEPTION 'El sorteo % del % ya tiene resultados: corríjalos', v_lot, p_fecha
            USING ERRCODE = '23505';
    ELSIF v_estado = 'C' AND p_estado = 'R' THEN
        RAISE EXCEPTION 'El sorteo % del % no tiene resultados que corregir', v_lot, p_fecha
            USING ERRCODE = '22023';
    END IF;
    RETURN v_lot;
END
$$;

-- Enters the results of a closed draw and stores the prize of every item that wins
-- (central.premiar_sorteo). A draw has one set of results; a mistake is corrected with
-- admin.corregir_resultado.
CREATE FUNCTION admin.registrar_resultado(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                          p_segundo varchar DEFAULT NULL,
                                          p_tercero varchar DEFAULT NULL,
                                          p_especial varchar DEFAULT NULL) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.validar_resultado(p_cod_lot, p_fecha, p_triple, p_segundo,
                                             p_tercero, p_especial, 'C');
    n integer;
BEGIN
    INSERT INTO central.resultados (cod_lot, fecha, triple, segundo, tercero, especial)
    VALUES (v_lot, p_fecha, p_triple, p_segundo, p_tercero, p_especial)
    ON CONFLICT DO NOTHING;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El sorteo % del % ya tiene resultados: corríjalos', v_lot, p_fecha
            USING ERRCODE = '23505';
    END IF;
    n := central.premiar_sorteo(v_lot, p_fecha);
    PERFORM central.auditar('RESULTADO', NULL, NULL,
                            format('%s %s: %s %s %s %s (%s jugadas premiadas)', v_lot, p_fecha,
                                   p_triple, coalesce(p_segundo, '-'), coalesce(p_tercero, '-'),
                                   coalesce(p_especial, '-'), n));
    RETURN n;
END
$$;

-- Replaces the results of a draw and stores its prizes again. Allowed while it changes no prize
-- already paid (a second, third or special number left out may be added); one that would is
-- refused naming the ticket, and nothing changes. A change to tickets of a day already settled
-- is posted to the next open day of their sales point (central.premiar_sorteo).
CREATE FUNCTION admin.corregir_resultado(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                         p_segundo varchar DEFAULT NULL,
                                         p_tercero varchar DEFAULT NULL,
                                         p_especial varchar DEFAULT NULL) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.validar_resultado(p_cod_lot, p_fecha, p_triple, p_segundo,
                                             p_tercero, p_especial, 'R');
    anterior central.resultados;
    n integer;
BEGIN
    -- a payment holds its draws' results rows while it pays: it has committed by now, and its
    -- prize is one this correction may not change
    SELECT * INTO anterior FROM central.resultados
    WHERE cod_lot = v_lot AND fecha = p_fecha FOR UPDATE;
    UPDATE central.resultados
    SET triple = p_triple, segundo = p_segundo, tercero = p_tercero, especial = p_especial,
        registrado = central.ahora()
    WHERE cod_lot = v_lot AND fecha = p_fecha;
    n := central.premiar_sorteo(v_lot, p_fecha);
    PERFORM central.auditar('RESULTADO_CORREGIDO', NULL, NULL,
                            format('%s %s: %s %s %s %s (antes %s %s %s %s; %s jugadas premiadas)',
                                   v_lot, p_fecha, p_triple, coalesce(p_segundo, '-'),
                                   coalesce(p_tercero, '-'), coalesce(p_especial, '-'),
                                   anterior.triple, coalesce(anterior.segundo, '-'),
                                   coalesce(anterior.tercero, '-'),
                                   coalesce(anterior.especial, '-'), n));
    RETURN n;
END
$$;

-- Sets what a unit sold pays for one kind of win on a lottery (every lottery when the code is
-- '*'), for what is sold from now on: what was sold before keeps the payout it was sold under,
-- and prizes already stored do not change. Answers how many lotteries were set.
CREATE FUNCTION admin.fijar_pago(p_cod_lot varchar, p_tipo varchar, p_multiplicador numeric,
                                 p_variante varchar DEFAULT '') RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_tipo varchar := upper(coalesce(p_tipo, ''));
    v_variante varchar := coalesce(p_variante, '');
    n integer;
BEGIN
    IF p_cod_lot IS DISTINCT FROM '*' THEN
        PERFORM admin.lot_existente(p_cod_lot);
    END IF;
    IF v_tipo NOT IN ('TRIPLE', 'SEGUNDO', 'TERCERO', 'TERMINAL', 'DIGITO', 'ESPECIAL') THEN
        RAISE EXCEPTION 'Tipo de premio inválido: TRIPLE, SEGUNDO, TERCERO, TERMINAL, DIGITO o ESPECIAL'
            USING ERRCODE = '22023';
    END IF;
    IF (v_tipo = 'ESPECIAL') <> (length(v_variante) = 1) THEN
        RAISE EXCEPTION 'Un premio ESPECIAL lleva la variante (un carácter); los demás, ninguna'
            USING ERRCODE = '22023';
    END IF;
    IF p_multiplicador IS NULL OR p_multiplicador <= 0 OR p_multiplicador >= 1e8
       OR p_multiplicador <> round(p_multiplicador, 2) THEN
        RAISE EXCEPTION 'El multiplicador debe ser mayor que 0, con dos decimales a lo sumo'
            USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.tabla_pagos (cod_lot, tipo, variante, multiplicador, desde)
    SELECT l.cod_lot, v_tipo, v_variante, p_multiplicador, central.ahora()
    FROM central.loterias l
    WHERE p_cod_lot = '*' OR l.cod_lot = upper(p_cod_lot)
    ON CONFLICT (cod_lot, tipo, variante, desde)
        DO UPDATE SET multiplicador = EXCLUDED.multiplicador;
    GET DIAGNOSTICS n = ROW_COUNT;
    PERFORM central.auditar('TABLA_PAGOS', NULL, NULL,
                            format('%s %s%s x %s', p_cod_lot, v_tipo,
                                   CASE WHEN v_variante <> '' THEN ' ' || v_variante ELSE '' END,
                                   p_multiplicador));
    RETURN n;
END
$$;

-- The payout table in force now, of one lottery or of all, with the moment each row took
-- effect (NULL: from the start).
CREATE FUNCTION admin.tabla_pagos(p_cod_lot varchar DEFAULT NULL)
RETURNS TABLE (cod_lot varchar, tipo varchar, variante varchar, multiplicador numeric,
               desde timestamp)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT v.cod_lot, v.tipo, v.variante, v.multiplicador,
               CASE WHEN v.desde <> '-infinity' THEN v.desde END
        FROM (SELECT DISTINCT ON (t.cod_lot, t.tipo, t.variante) t.*
              FROM central.tabla_pagos t
              WHERE (p_cod_lot IS NULL OR t.cod_lot = upper(p_cod_lot))
                AND t.desde <= central.ahora()
              ORDER BY t.cod_lot, t.tipo, t.variante, t.desde DESC) v
        JOIN central.loterias l ON l.cod_lot = v.cod_lot
        ORDER BY l.orden, v.cod_lot,
                 array_position(ARRAY['TRIPLE', 'SEGUNDO', 'TERCERO', 'TERMINAL', 'DIGITO',
                                      'ESPECIAL']::varchar[], v.tipo), v.variante;
END
$$;

-- The audit key of a seller for a day (the server's today when none is given), for the central
-- office to read out to the counter. Handing one out is audited.
CREATE FUNCTION admin.clave_auditoria(p_fecha date, p_cod_usuario varchar) RETURNS varchar
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_vendedor varchar;
    v_fecha date := coalesce(p_fecha, central.ahora()::date);
BEGIN
    SELECT u.cod_vendedor INTO v_vendedor FROM central.usuarios u
    WHERE u.cod_usuario = p_cod_usuario;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El usuario % no existe', p_cod_usuario USING ERRCODE = '22023';
    END IF;
    PERFORM central.auditar('CLAVE_AUDITORIA', v_vendedor, p_cod_usuario, v_fecha::text);
    RETURN central.clave_auditoria(v_fecha, p_cod_usuario);
END
$$;
