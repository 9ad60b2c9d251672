-- The central office's side of a sales point's account: deposits, loans and their instalments,
-- settlements, and the statement.

CREATE FUNCTION admin.vendedor_existente(p_cod_vendedor varchar) RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor) THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_cod_vendedor USING ERRCODE = '22023';
    END IF;
    RETURN p_cod_vendedor;
END
$$;

-- The checks every entry of the account makes: an amount above 0 and below 10,000,000 with two
-- decimals at most, a day that has come and is not settled yet. Takes the sales point's row
-- lock a settlement waits for. Answers the day (today when none is given).
CREATE FUNCTION admin.validar_asiento(p_cod_vendedor varchar, p_monto numeric, p_fecha date)
RETURNS date
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := coalesce(p_fecha, central.ahora()::date);
BEGIN
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    PERFORM 1 FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor FOR KEY SHARE;
    IF p_monto IS NULL OR p_monto <= 0 OR p_monto >= 10000000 OR p_monto <> round(p_monto, 2) THEN
        RAISE EXCEPTION 'El monto debe ser mayor que 0 y menor que 10.000.000, con dos decimales '
                        'a lo sumo' USING ERRCODE = '22023';
    END IF;
    IF v_fecha > central.ahora()::date THEN
        RAISE EXCEPTION 'El día % no ha llegado', v_fecha USING ERRCODE = '22023';
    END IF;
    IF v_fecha <= central.ultima_liquidacion(p_cod_vendedor) THEN
        RAISE EXCEPTION 'El % ya está liquidado para el vendedor %', v_fecha, p_cod_vendedor
            USING ERRCODE = '55000';
    END IF;
    RETURN v_fecha;
END
$$;

-- A deposit of a sales point into the central office's account. Answers its number.
CREATE FUNCTION admin.registrar_deposito(p_cod_vendedor varchar, p_monto numeric,
                                         p_fecha date DEFAULT NULL,
                                         p_referencia varchar DEFAULT '') RETURNS bigint
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := admin.validar_asiento(p_cod_vendedor, p_monto, p_fecha);
    v_id bigint;
BEGIN
    PERFORM central.texto_libre('La referencia', p_referencia);
    IF length(coalesce(p_referencia, '')) > 40 THEN
        RAISE EXCEPTION 'La referencia tiene 40 caracteres a lo sumo' USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.depositos (cod_vendedor, fecha, monto, referencia)
    VALUES (p_cod_vendedor, v_fecha, p_monto, coalesce(p_referencia, ''))
    RETURNING id INTO v_id;
    PERFORM central.auditar('DEPOSITO', p_cod_vendedor, NULL,
                            format('%s: %s el %s %s', v_id, p_monto, v_fecha,
                                   coalesce(p_referencia, '')));
    RETURN v_id;
END
$$;

-- The deposits of one sales point (or of all) on the days from p_desde to p_hasta, each with
-- its number (what admin.eliminar_deposito takes) and whether its day is settled.
CREATE FUNCTION admin.depositos(p_cod_vendedor varchar, p_desde date, p_hasta date)
RETURNS TABLE (id bigint, cod_vendedor varchar, fecha date, monto numeric, referencia varchar,
               liquidado boolean)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_desde IS NULL OR p_hasta IS NULL OR p_hasta < p_desde THEN
        RAISE EXCEPTION 'Los días van de una fecha a otra igual o posterior'
            USING ERRCODE = '22023';
    END IF;
    IF p_cod_vendedor IS NOT NULL THEN
        PERFORM admin.vendedor_existente(p_cod_vendedor);
    END IF;
    RETURN QUERY
        SELECT d.id, d.cod_vendedor, d.fecha, d.monto, d.referencia,
               d.fecha <= coalesce(central.ultima_liquidacion(d.cod_vendedor), '-infinity')
        FROM central.depositos d
        WHERE (p_cod_vendedor IS NULL OR d.cod_vendedor = p_cod_vendedor)
          AND d.fecha BETWEEN p_desde AND p_hasta
        ORDER BY d.fecha, d.cod_vendedor, d.id;
END
$$;

-- Takes back a deposit entered by mistake, while its day is not settled.
CREATE FUNCTION admin.eliminar_deposito(p_id bigint) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    d central.depositos;
BEGIN
    SELECT * INTO d FROM central.depositos WHERE id = p_id;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'No hay depósito %', p_id USING ERRCODE = '22023';
    END IF;
    PERFORM 1 FROM central.vendedores WHERE cod_vendedor = d.cod_vendedor FOR KEY SHARE;
    IF d.fecha <= central.ultima_liquidacion(d.cod_vendedor) THEN
        RAISE EXCEPTION 'El % ya está liquidado para el vendedor %', d.fecha, d.cod_vendedor
            USING ERRCODE = '55000';
    END IF;
    DELETE FROM central.depositos WHERE id = p_id;
    PERFORM central.auditar('DEPOSITO_ELIMINADO', d.cod_vendedor, NULL,
                            format('%s: %s el %s', d.id, d.monto, d.fecha));
END
$$;

-- A movement the central office enters on a sales point's account, of one of the five kinds
-- of the counter's movements (0 to 4): a loan ('2') or a loan instalment paid ('3'), mostly.
-- Its document number is "B-" and its number; the counter lists it and cannot change it. It
-- counts at once: the central office needs no confirmation of its own entries.
CREATE FUNCTION admin.registrar_movimiento(p_cod_vendedor varchar, p_tipo varchar,
                                           p_monto numeric, p_fecha date DEFAULT NULL,
                                           p_observacion varchar DEFAULT '') RETURNS varchar
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := admin.validar_asiento(p_cod_vendedor, p_monto, p_fecha);
    v_id bigint := nextval(pg_get_serial_sequence('central.gastos', 'id'));
    v_descripcion varchar;
BEGIN
    v_descripcion := CASE p_tipo
        WHEN '0' THEN '0.- Pago Vendedor a Banca' WHEN '1' THEN '1.- Pago Banca a Vendedor'
        WHEN '2' THEN '2.- Prestamo' WHEN '3' THEN '3.- Pago Couta Prestamo'
        WHEN '4' THEN '4.- Couta diaria Presamo' END;
    IF v_descripcion IS NULL THEN
        RAISE EXCEPTION 'El tipo de movimiento va de 0 a 4' USING ERRCODE = '22023';
    END IF;
    PERFORM central.texto_libre('La observación', p_observacion);
    IF length(coalesce(p_observacion, '')) > 200 THEN
        RAISE EXCEPTION 'La observación tiene 200 caracteres a lo sumo' USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.gastos (id, cod_vendedor, nrogasto, tipo, descripcion, monto, fecha,
                                observacion, origen, estado, fecha_efecto, revisado,
                                revisado_por)
    VALUES (v_id, p_cod_vendedor, 'B-' || v_id, p_tipo, v_descripcion, p_monto, v_fecha,
            coalesce(p_observacion, ''), 'B', 'C', v_fecha, central.ahora(), session_user);
    PERFORM central.auditar('MOVIMIENTO_BANCA', p_cod_vendedor, NULL,
                            format('B-%s: %s %s el %s', v_id, v_descripcion, p_monto, v_fecha));
    RETURN 'B-' || v_id;
END
$$;

-- The account statement of a sales point on a day (today when none is given), as the counter
-- reads it, with what its pending movements would add. Prizes that expired unpaid are posted
-- first.
CREATE FUNCTION admin.estado_cuenta(p_cod_vendedor varchar, p_fecha date DEFAULT NULL)
RETURNS TABLE (ultima date, deuda numeric, cuenta numeric, movimiento numeric,
               deposito numeric, total numeric, saldo_prestamo numeric, total_general numeric,
               por_confirmar numeric)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_fecha date := coalesce(p_fecha, central.ahora()::date);
BEGIN
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    PERFORM central.asentar_caducados(p_cod_vendedor);
    RETURN QUERY SELECT e.*, central.por_confirmar(p_cod_vendedor, v_fecha)
                 FROM central.estado_cuenta(p_cod_vendedor, v_fecha) e;
END
$$;

-- Settles a sales point's account up to a day that is over: the statement of every day it
-- closes is kept as it stands (central.estados_liquidados) with the play and loan balances of
-- the last one, and nothing dated on or before it may change any more. Prizes that expired
-- unpaid are posted first. Refused while a draw of those days that this sales point sold on has
-- no results (the error names the draws). Days are settled in order, each once.
CREATE FUNCTION admin.liquidar(p_cod_vendedor varchar, p_fecha date)
RETURNS TABLE (saldo_jugada numeric, saldo_prestamo numeric)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_ultima date;
    v_desde date;
    v_faltan text;
    e record;
BEGIN
    PERFORM central.exigir_supervisor();
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    -- entries of this sales point's account wait until the settlement is written
    PERFORM 1 FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor FOR UPDATE;
    IF p_fecha IS NULL OR p_fecha >= central.ahora()::date THEN
        RAISE EXCEPTION 'Solo se liquidan días terminados' USING ERRCODE = '22023';
    END IF;
    v_ultima := central.ultima_liquidacion(p_cod_vendedor);
    IF p_fecha <= v_ultima THEN
        RAISE EXCEPTION 'El vendedor % ya está liquidado hasta el %', p_cod_vendedor, v_ultima
            USING ERRCODE = '55000';
    END IF;
    v_desde := coalesce(v_ultima + 1, central.inicio_cuenta(p_cod_vendedor), p_fecha);
    SELECT string_agg(x.cod_lot || ' ' || x.fecha, ', ' ORDER BY x.fecha, x.cod_lot)
    INTO v_faltan
    FROM central.sorteos_sin_resultado(p_cod_vendedor, v_desde, p_fecha) x;
    IF v_faltan IS NOT NULL THEN
        RAISE EXCEPTION 'Faltan los resultados de los sorteos %', v_faltan
            USING ERRCODE = '55000';
    END IF;
    PERFORM central.asentar_caducados(p_cod_vendedor);
    INSERT INTO central.estados_liquidados (cod_vendedor, fecha, ultima, deuda, cuenta,
                                            movimiento, deposito, total, saldo_prestamo,
                                            total_general)
    SELECT p_cod_vendedor, c.fecha, c.ultima, c.deuda, c.cuenta, c.movimiento, c.deposito,
           c.total, c.saldo_prestamo, c.total_general
    FROM central.estados_cuenta(p_cod_vendedor, least(v_desde, p_fecha), p_fecha) c;
    SELECT * INTO e FROM central.estados_liquidados l
    WHERE l.cod_vendedor = p_cod_vendedor AND l.fecha = p_fecha;
    INSERT INTO central.liquidaciones (cod_vendedor, fecha, saldo_jugada, saldo_prestamo)
    VALUES (p_cod_vendedor, p_fecha, e.total, e.saldo_prestamo);
    PERFORM central.auditar('LIQUIDACION', p_cod_vendedor, NULL,
                            format('hasta el %s: jugada %s, préstamo %s', p_fecha, e.total,
                                   e.saldo_prestamo));
    RETURN QUERY SELECT e.total, e.saldo_prestamo;
END
$$;

-- Settles every sales point not yet settled up to a day that is over, each as admin.liquidar
-- would, in one transaction: a sales point that cannot be settled (a draw without results, a
-- day not over) is left as it was and answered with the reason, the others are settled.
-- Supervisors only.
CREATE FUNCTION admin.liquidar_todos(p_fecha date)
RETURNS TABLE (cod_vendedor varchar, liquidado boolean, motivo text)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v record;
BEGIN
    PERFORM central.exigir_supervisor();
    IF p_fecha IS NULL OR p_fecha >= central.ahora()::date THEN
        RAISE EXCEPTION 'Solo se liquidan días terminados' USING ERRCODE = '22023';
    END IF;
    FOR v IN
        SELECT x.cod_vendedor FROM central.vendedores x
        WHERE coalesce(central.ultima_liquidacion(x.cod_vendedor), '-infinity') < p_fecha
        ORDER BY x.cod_vendedor
    LOOP
        cod_vendedor := v.cod_vendedor;
        BEGIN
            PERFORM admin.liquidar(v.cod_vendedor, p_fecha);
            liquidado := true;
            motivo := NULL;
        EXCEPTION
            WHEN raise_exception OR invalid_parameter_value
                 OR object_not_in_prerequisite_state THEN
            liquidado := false;
            GET STACKED DIAGNOSTICS motivo = MESSAGE_TEXT;
        END;
        RETURN NEXT;
    END LOOP;
END
$$;

-- A movement a sales point recorded, still waiting for the central office, locked for its
-- review; the sales point's row is held as an entry of its account holds it.
CREATE FUNCTION admin.movimiento_pendiente(p_cod_vendedor varchar, p_nrogasto varchar)
RETURNS central.gastos
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    g central.gastos;
BEGIN
    PERFORM admin.vendedor_existente(p_cod_vendedor);
    PERFORM 1 FROM central.vendedores WHERE cod_vendedor = p_cod_vendedor FOR KEY SHARE;
    SELECT * INTO g FROM central.gastos x
    WHERE x.cod_vendedor = p_cod_vendedor AND x.nrogasto = p_nrogasto FOR UPDATE;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El vendedor % no tiene el movimiento %', p_cod_vendedor, p_nrogasto
            USING ERRCODE = '22023';
    END IF;
    IF g.estado <> 'P' THEN
        RAISE EXCEPTION 'El movimiento % del vendedor % ya fue %', p_nrogasto, p_cod_vendedor,
                        CASE g.estado WHEN 'C' THEN 'confirmado' ELSE 'rechazado' END
            USING ERRCODE = '55000';
    END IF;
    RETURN g;
END
$$;

-- Confirms a movement a sales point recorded: from now on it counts in its account, on its own
-- day, or on the next open day when that one is settled. Answers the day it counts on.
CREATE FUNCTION admin.confirmar_movimiento(p_cod_vendedor varchar, p_nrogasto varchar)
RETURNS date
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    g central.gastos := admin.movimiento_pendiente(p_cod_vendedor, p_nrogasto);
    v_dia date := greatest(g.fecha, central.ultima_liquidacion(p_cod_vendedor) + 1);
BEGIN
    UPDATE central.gastos
    SET estado = 'C', fecha_efecto = v_dia, revisado = central.ahora(), revisado_por = session_user
    WHERE id = g.id;
    PERFORM central.auditar('MOVIMIENTO_CONFIRMADO', p_cod_vendedor, NULL,
                            format('%s: %s %s del %s, cuenta el %s', g.nrogasto, g.descripcion,
                                   g.monto, g.fecha, v_dia));
    RETURN v_dia;
END
$$;

-- Rejects a movement a sales point recorded, with the reason: it never counts.
CREATE FUNCTION admin.rechazar_movimiento(p_cod_vendedor varchar, p_nrogasto varchar,
                                          p_motivo varchar) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    g central.gastos := admin.movimiento_pendiente(p_cod_vendedor, p_nrogasto);
    v_motivo varchar := trim(coalesce(central.texto_libre('El motivo', p_motivo), ''));
BEGIN
    IF v_motivo = '' OR length(v_motivo) > 200 THEN
        RAISE EXCEPTION 'El motivo del rechazo tiene de 1 a 200 caracteres' USING ERRCODE = '22023';
    END IF;
    UPDATE central.gastos
    SET estado = 'R', motivo = v_motivo, revisado = central.ahora(), revisado_por = session_user
    WHERE id = g.id;
    PERFORM central.auditar('MOVIMIENTO_RECHAZADO', p_cod_vendedor, NULL,
                            format('%s: %s %s del %s: %s', g.nrogasto, g.descripcion, g.monto,
                                   g.fecha, v_motivo));
END
$$;

-- The movements sales points recorded that wait for the central office (of one, or of all).
CREATE FUNCTION admin.movimientos_pendientes(p_cod_vendedor varchar DEFAULT NULL)
RETURNS TABLE (cod_vendedor varchar, nrogasto varchar, fecha date, descripcion varchar,
               monto numeric, observacion varchar)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT g.cod_vendedor, g.nrogasto, g.fecha, g.descripcion, g.monto, g.observacion
        FROM central.gastos g
        WHERE g.estado = 'P' AND (p_cod_vendedor IS NULL OR g.cod_vendedor = p_cod_vendedor)
        ORDER BY g.cod_vendedor, g.fecha, g.id;
END
$$;
