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

-- A draw's numbers as the audit trail writes them: "123 456 - -".
CREATE FUNCTION central.numeros_resultado(p_triple varchar, p_segundo varchar, p_tercero varchar,
                                          p_especial varchar) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    SELECT concat_ws(' ', p_triple, coalesce(p_segundo, '-'), coalesce(p_tercero, '-'),
                     coalesce(p_especial, '-'))
$$;

-- Entries of one draw's numbers are taken one at a time, and each is validated after its turn
-- came, against what the entry before it left.
CREATE FUNCTION central.turno_del_sorteo(p_cod_lot varchar, p_fecha date) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    PERFORM pg_advisory_xact_lock(hashtext('vendura.resultado'),
                                  hashtext(upper(trim(coalesce(p_cod_lot, ''))) || p_fecha));
END
$$;

-- One office login's entry of a draw's numbers (p_correccion: a correction of its results),
-- taken after the entries before it and validated against what they left. The first entry
-- waits in central.resultados_pendientes, audited, and answers no "primera". A second entry of
-- the same numbers by another login takes the first one away and answers who made it: the
-- numbers are then the draw's. The same login again, or other numbers, is refused and audited
-- in a transaction of its own, and the first entry goes on waiting. "lot" is the lottery's code.
CREATE FUNCTION central.entrada_de_dos(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                       p_segundo varchar, p_tercero varchar, p_especial varchar,
                                       p_correccion boolean, OUT lot varchar, OUT primera name)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_yo name := central.cuenta_auditada();
    v_numeros text := central.numeros_resultado(p_triple, p_segundo, p_tercero, p_especial);
    v_que text := CASE WHEN p_correccion THEN 'la corrección' ELSE 'los números' END;
    p central.resultados_pendientes;
BEGIN
    PERFORM central.turno_del_sorteo(p_cod_lot, p_fecha);
    lot := admin.validar_resultado(p_cod_lot, p_fecha, p_triple, p_segundo, p_tercero,
                                   p_especial, CASE WHEN p_correccion THEN 'R' ELSE 'C' END);
    SELECT * INTO p FROM central.resultados_pendientes
    WHERE cod_lot = lot AND fecha = p_fecha;
    IF NOT FOUND THEN
        INSERT INTO central.resultados_pendientes (cod_lot, fecha, correccion, triple, segundo,
                                                   tercero, especial, cuenta)
        VALUES (lot, p_fecha, p_correccion, p_triple, p_segundo, p_tercero, p_especial, v_yo);
        PERFORM central.auditar(CASE WHEN p_correccion THEN 'CORRECCION_ANOTADA'
                                     ELSE 'RESULTADO_ANOTADO' END, NULL, NULL,
                                format('%s %s: %s; espera a que otra persona entre los mismos',
                                       lot, p_fecha, v_numeros));
        RETURN;
    END IF;
    IF p.cuenta = v_yo THEN
        PERFORM central.auditar_rechazo('RESULTADO_MISMA_PERSONA', NULL, NULL,
                                        format('%s %s: %s', lot, p_fecha, v_numeros));
        RAISE EXCEPTION 'Usted anotó % del sorteo % del %: debe confirmarlos otra persona',
                        v_que, lot, p_fecha USING ERRCODE = '42501';
    END IF;
    IF p.correccion <> p_correccion
       OR (p.triple, p.segundo, p.tercero, p.especial)
          IS DISTINCT FROM (p_triple, p_segundo, p_tercero, p_especial) THEN
        PERFORM central.auditar_rechazo('RESULTADO_DISCREPANTE', NULL, NULL,
            format('%s %s: %s entró %s; %s había anotado %s', lot, p_fecha, v_yo, v_numeros,
                   p.cuenta, central.numeros_resultado(p.triple, p.segundo, p.tercero,
                                                       p.especial)));
        RAISE EXCEPTION 'Los números no coinciden con los que anotó %: el sorteo % del % sigue '
                        'pendiente', p.cuenta, lot, p_fecha USING ERRCODE = '22023';
    END IF;
    DELETE FROM central.resultados_pendientes WHERE cod_lot = lot AND fecha = p_fecha;
    primera := p.cuenta;
END
$$;

-- Enters the results of a closed draw. They count when two different office logins have
-- entered the same numbers (central.entrada_de_dos): the first entry answers NULL; the second
-- stores the prize of every item that wins (central.premiar_sorteo) and answers how many. A
-- draw has one set of results; a mistake is corrected with admin.corregir_resultado.
CREATE FUNCTION admin.registrar_resultado(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                          p_segundo varchar DEFAULT NULL,
                                          p_tercero varchar DEFAULT NULL,
                                          p_especial varchar DEFAULT NULL) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar;
    v_primera name;
    n integer;
BEGIN
    SELECT e.lot, e.primera INTO v_lot, v_primera
    FROM central.entrada_de_dos(p_cod_lot, p_fecha, p_triple, p_segundo, p_tercero, p_especial,
                                false) e;
    IF v_primera IS NULL THEN
        RETURN NULL;
    END IF;
    INSERT INTO central.resultados (cod_lot, fecha, triple, segundo, tercero, especial)
    VALUES (v_lot, p_fecha, p_triple, p_segundo, p_tercero, p_especial);
    n := central.premiar_sorteo(v_lot, p_fecha);
    PERFORM central.auditar('RESULTADO', NULL, NULL,
                            format('%s %s: %s (%s jugadas premiadas; anotó %s, confirmó %s)',
                                   v_lot, p_fecha,
                                   central.numeros_resultado(p_triple, p_segundo, p_tercero,
                                                             p_especial),
                                   n, v_primera, central.cuenta_auditada()));
    RETURN n;
END
$$;

-- Replaces the results of a draw and stores its prizes again, under the same rule of two
-- logins: the first entry answers NULL, the second applies it. Allowed while it changes no
-- prize already paid (a second, third or special number left out may be added); one that would
-- is refused naming the ticket, and nothing changes. A change to tickets of a day already
-- settled is posted to the next open day of their sales point (central.premiar_sorteo).
CREATE FUNCTION admin.corregir_resultado(p_cod_lot varchar, p_fecha date, p_triple varchar,
                                         p_segundo varchar DEFAULT NULL,
                                         p_tercero varchar DEFAULT NULL,
                                         p_especial varchar DEFAULT NULL) RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar;
    v_primera name;
    anterior central.resultados;
    n integer;
BEGIN
    SELECT e.lot, e.primera INTO v_lot, v_primera
    FROM central.entrada_de_dos(p_cod_lot, p_fecha, p_triple, p_segundo, p_tercero, p_especial,
                                true) e;
    IF v_primera IS NULL THEN
        RETURN NULL;
    END IF;
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
                            format('%s %s: %s (antes %s; %s jugadas premiadas; anotó %s, '
                                   'confirmó %s)', v_lot, p_fecha,
                                   central.numeros_resultado(p_triple, p_segundo, p_tercero,
                                                             p_especial),
                                   central.numeros_resultado(anterior.triple, anterior.segundo,
                                                             anterior.tercero, anterior.especial),
                                   n, v_primera, central.cuenta_auditada()));
    RETURN n;
END
$$;

-- Takes away the entry of a draw's numbers waiting for its second person (one typed wrong), so
-- that the draw can be entered again. Audited. Answers the numbers it held.
CREATE FUNCTION admin.descartar_resultado(p_cod_lot varchar, p_fecha date) RETURNS text
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := upper(trim(coalesce(p_cod_lot, '')));
    p central.resultados_pendientes;
    v_numeros text;
BEGIN
    PERFORM central.turno_del_sorteo(v_lot, p_fecha);
    DELETE FROM central.resultados_pendientes WHERE cod_lot = v_lot AND fecha = p_fecha
    RETURNING * INTO p;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El sorteo % del % no tiene números esperando confirmación', v_lot,
                        p_fecha USING ERRCODE = '22023';
    END IF;
    v_numeros := central.numeros_resultado(p.triple, p.segundo, p.tercero, p.especial);
    PERFORM central.auditar('RESULTADO_DESCARTADO', NULL, NULL,
                            format('%s %s: %s, anotados por %s', p.cod_lot, p.fecha, v_numeros,
                                   p.cuenta));
    RETURN v_numeros;
END
$$;

-- The entries waiting for their second person, oldest first.
CREATE FUNCTION admin.resultados_pendientes()
RETURNS TABLE (cod_lot varchar, fecha date, correccion boolean, numeros text, cuenta name,
               anotado timestamp)
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
    SELECT p.cod_lot, p.fecha, p.correccion,
           central.numeros_resultado(p.triple, p.segundo, p.tercero, p.especial), p.cuenta,
           p.anotado
    FROM central.resultados_pendientes p
    ORDER BY p.anotado, p.cod_lot
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
    PERFORM central.exigir_supervisor();
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

-- Every payout a lottery had, or every lottery's, with the moment it took effect (NULL: from the
-- start) and the moment the next one replaced it (NULL: in force now): what a prize won at a
-- moment was paid by.
CREATE FUNCTION admin.historia_pagos(p_cod_lot varchar DEFAULT NULL)
RETURNS TABLE (cod_lot varchar, tipo varchar, variante varchar, multiplicador numeric,
               desde timestamp, hasta timestamp)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT t.cod_lot, t.tipo, t.variante, t.multiplicador,
               CASE WHEN t.desde <> '-infinity' THEN t.desde END,
               lead(t.desde) OVER (PARTITION BY t.cod_lot, t.tipo, t.variante ORDER BY t.desde)
        FROM central.tabla_pagos t
        JOIN central.loterias l ON l.cod_lot = t.cod_lot
        WHERE p_cod_lot IS NULL OR t.cod_lot = upper(p_cod_lot)
        ORDER BY l.orden, t.cod_lot,
                 array_position(ARRAY['TRIPLE', 'SEGUNDO', 'TERCERO', 'TERMINAL', 'DIGITO',
                                      'ESPECIAL']::varchar[], t.tipo), t.variante, t.desde;
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
