-- The audit trail as the office searches it.

-- The audit rows of the days p_desde to p_hasta (the server's clock), oldest first, of one sales
-- point, one seller or one action when they are given (the action's beginning is enough:
-- "RESULTADO" finds every action on results), at most p_limite of them (1 to 100,000).
CREATE FUNCTION admin.auditoria(p_desde date, p_hasta date, p_vendedor varchar DEFAULT NULL,
                                p_usuario varchar DEFAULT NULL, p_accion varchar DEFAULT NULL,
                                p_limite integer DEFAULT 10000)
RETURNS TABLE (id bigint, momento timestamp, cuenta name, cod_vendedor text, cod_usuario text,
               accion varchar, detalle text)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_desde IS NULL OR p_hasta IS NULL OR p_hasta < p_desde THEN
        RAISE EXCEPTION 'Las fechas van de una a otra igual o posterior' USING ERRCODE = '22023';
    END IF;
    IF coalesce(p_limite, 0) NOT BETWEEN 1 AND 100000 THEN
        RAISE EXCEPTION 'El límite va de 1 a 100000 filas' USING ERRCODE = '22023';
    END IF;
    RETURN QUERY
        SELECT a.id, a.momento, a.cuenta, a.cod_vendedor, a.cod_usuario, a.accion, a.detalle
        FROM central.auditoria a
        WHERE a.momento >= p_desde AND a.momento < p_hasta + 1
          AND (nullif(trim(p_vendedor), '') IS NULL OR a.cod_vendedor = trim(p_vendedor))
          AND (nullif(trim(p_usuario), '') IS NULL OR a.cod_usuario = trim(p_usuario))
          AND (nullif(trim(p_accion), '') IS NULL
               OR a.accion LIKE replace(replace(upper(trim(p_accion)), '%', ''), '_', '\_')
                                || '%')
        ORDER BY a.momento, a.id
        LIMIT p_limite;
END
$$;
