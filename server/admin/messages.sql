-- Messages the central office leaves for its sales points.

-- Leaves a message for one sales point (its vendor code) or, with '*' or NULL, for every sales
-- point; each gets its own copy to read. p_envia is the sender shown: '*****' (the central
-- office) or a vendor code. Answers how many sales points will read it.
CREATE FUNCTION admin.enviar_mensaje(p_destino varchar, p_mensaje text,
                                     p_envia varchar DEFAULT '*****') RETURNS integer
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    texto text := rtrim(coalesce(central.texto_libre('El mensaje', p_mensaje), ''));
    envia varchar := coalesce(nullif(trim(p_envia), ''), '*****');
    todos boolean := coalesce(trim(p_destino), '*') = '*';
    enviados integer;
BEGIN
    IF trim(texto) = '' THEN
        RAISE EXCEPTION 'El mensaje está vacío' USING ERRCODE = '22023';
    END IF;
    IF length(texto) > 4000 THEN
        RAISE EXCEPTION 'El mensaje tiene % caracteres; caben 4000', length(texto)
            USING ERRCODE = '22023';
    END IF;
    IF envia <> '*****' AND NOT EXISTS (SELECT FROM central.vendedores WHERE cod_vendedor = envia)
    THEN
        RAISE EXCEPTION 'El remitente % no es un vendedor', envia USING ERRCODE = '22023';
    END IF;
    IF NOT todos AND NOT EXISTS (SELECT FROM central.vendedores
                                 WHERE cod_vendedor = trim(p_destino)) THEN
        RAISE EXCEPTION 'El vendedor % no existe', p_destino USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.mensajes (cod_vendedor, ven_envia, mensaje)
    SELECT v.cod_vendedor, envia, texto FROM central.vendedores v
    WHERE todos OR v.cod_vendedor = trim(p_destino)
    ORDER BY v.cod_vendedor;
    GET DIAGNOSTICS enviados = ROW_COUNT;
    PERFORM central.auditar('MENSAJE_ENVIADO', CASE WHEN todos THEN '*' ELSE trim(p_destino) END,
                            NULL, format('%s destinos: %s', enviados, left(texto, 60)));
    RETURN enviados;
END
$$;
