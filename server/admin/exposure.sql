-- What the network stands to pay on a draw, read by the office's desk while the draw sells.

-- For each number n of a lottery's draw (000 to 999): what was sold that wins if n comes out
-- first (triples on n, terminales on its last two digits, one-digit plays on its last digit) and
-- what the network then pays at the payouts in force now; what the triples on n pay as the
-- second or third prize; what special plays hold on n (paid by their variant, shown apart); the
-- number's quota and what is sold of it. Read from what booking keeps as it sells (the monitor's
-- accumulation, the numbers' sold quota), never from the items: a thousand rows, whatever the day
-- sold.
CREATE FUNCTION admin.exposicion(p_cod_lot varchar, p_fecha date)
RETURNS TABLE (numero varchar, triple numeric, terminal numeric, digito numeric,
               especial numeric, paga_primero numeric, paga_segundo numeric,
               paga_tercero numeric, cupo numeric, vendido numeric)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_lot varchar := admin.lot_existente(p_cod_lot);
    v_ahora timestamp := central.ahora();
    m_triple numeric := coalesce(central.multiplicador_vigente(v_lot, 'TRIPLE', '', v_ahora), 0);
    m_segundo numeric := coalesce(central.multiplicador_vigente(v_lot, 'SEGUNDO', '', v_ahora), 0);
    m_tercero numeric := coalesce(central.multiplicador_vigente(v_lot, 'TERCERO', '', v_ahora), 0);
    m_terminal numeric := coalesce(central.multiplicador_vigente(v_lot, 'TERMINAL', '', v_ahora),
                                   0);
    m_digito numeric := coalesce(central.multiplicador_vigente(v_lot, 'DIGITO', '', v_ahora), 0);
BEGIN
    IF p_fecha IS NULL THEN
        RAISE EXCEPTION 'Falta la fecha del sorteo' USING ERRCODE = '22023';
    END IF;
    RETURN QUERY
        WITH sold AS (
            SELECT a.numero AS n, sum(a.monto_normal) AS normal, sum(a.monto_digito) AS dig,
                   sum(a.monto_especial) AS esp
            FROM central.acumulados a
            WHERE a.cod_lot = v_lot AND a.fecha = p_fecha
            GROUP BY a.numero)
        SELECT x.n::varchar, coalesce(t.normal, 0), coalesce(e.normal, 0), coalesce(d.dig, 0),
               coalesce(t.esp, 0),
               coalesce(t.normal, 0) * m_triple + coalesce(e.normal, 0) * m_terminal
                   + coalesce(d.dig, 0) * m_digito,
               coalesce(t.normal, 0) * m_segundo, coalesce(t.normal, 0) * m_tercero,
               k.cupo, coalesce(v.vendido, 0)
        FROM (SELECT lpad(g::text, 3, '0') AS n FROM generate_series(0, 999) g) x
        LEFT JOIN sold t ON t.n = x.n
        LEFT JOIN sold e ON e.n = right(x.n, 2)
        LEFT JOIN sold d ON d.n = right(x.n, 1)
        LEFT JOIN central.ventas_numero v
            ON v.cod_lot = v_lot AND v.fecha = p_fecha AND v.numero = x.n
        CROSS JOIN LATERAL central.cupo(v_lot, p_fecha, x.n) k
        ORDER BY x.n;
END
$$;
