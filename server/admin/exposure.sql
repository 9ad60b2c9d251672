-- What the network stands to pay on a draw, read by the office's desk while the draw sells.

-- For each number n of a lottery's draw (000 to 999): what was sold that wins if n comes out
-- first (triples on n, terminales on its last two digits, one-digit plays on its last digit) and
-- what the network then pays at the payouts in force now; what the triples on n pay as the
-- second or third prize; what special plays hold on n (paid by their variant, shown apart); the
-- number's quota and what is sold of it. Read from what booking keeps as it sells (the numbers'
-- sold quota), less the special plays' items, found by their own index: about a thousand rows
-- read, whatever the day sold and however many sales points sold it.
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
        WITH especial AS (
            SELECT e.numero AS n, e.monto AS esp
            FROM central.especiales_del_sorteo(v_lot, p_fecha) e),
        -- each played number ("123", "45*", "7**") keyed by its digits and their count, with
        -- its straight plays apart from the special ones
        jugado AS (
            SELECT length(rtrim(v.numero, '*')) * 1000 + rtrim(v.numero, '*')::integer AS clave,
                   v.vendido - coalesce(e.esp, 0) AS recto, coalesce(e.esp, 0) AS esp, v.vendido
            FROM central.ventas_numero v
            LEFT JOIN especial e ON e.n = v.numero
            WHERE v.cod_lot = v_lot AND v.fecha = p_fecha)
        SELECT lpad(g::text, 3, '0')::varchar, coalesce(t.recto, 0), coalesce(e.recto, 0),
               coalesce(d.recto, 0), coalesce(t.esp, 0),
               coalesce(t.recto, 0) * m_triple + coalesce(e.recto, 0) * m_terminal
                   + coalesce(d.recto, 0) * m_digito,
               coalesce(t.recto, 0) * m_segundo, coalesce(t.recto, 0) * m_tercero,
               k.cupo, coalesce(t.vendido, 0)
        FROM generate_series(0, 999) g
        LEFT JOIN jugado t ON t.clave = 3000 + g
        LEFT JOIN jugado e ON e.clave = 2000 + g % 100
        LEFT JOIN jugado d ON d.clave = 1000 + g % 10
        CROSS JOIN LATERAL central.cupo(v_lot, p_fecha, lpad(g::text, 3, '0')) k
        ORDER BY g;
END
$$;
