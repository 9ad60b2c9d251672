-- Special plays as the central office sets them up: the special, its variants, and the sales
-- points it is assigned to. A lottery offers a special through its "especial" and
-- "juegaespecial" columns.

CREATE FUNCTION admin.crear_especial(p_especial varchar, p_descripcion varchar) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF coalesce(p_especial, '') !~ '^[A-Z0-9]{1,3}$' THEN
        RAISE EXCEPTION 'Código de jugada especial inválido: de 1 a 3 letras mayúsculas o dígitos'
            USING ERRCODE = '22023';
    END IF;
    PERFORM central.texto_libre('La descripción', p_descripcion);
    IF coalesce(trim(p_descripcion), '') = '' THEN
        RAISE EXCEPTION 'La jugada especial necesita una descripción' USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.jugadas_especiales (especial, descripcion)
    VALUES (p_especial, trim(p_descripcion));
    PERFORM central.auditar('ESPECIAL_CREADO', NULL, NULL, p_especial || ' ' || p_descripcion);
END
$$;

-- A variant is one character: the counter shows it as the last character of its list entry.
CREATE FUNCTION admin.agregar_variante(p_especial varchar, p_jugada varchar,
                                       p_descripcion varchar) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF coalesce(p_jugada, '') !~ '^[A-Za-z0-9]$' THEN
        RAISE EXCEPTION 'Una variante es una letra o un dígito' USING ERRCODE = '22023';
    END IF;
    PERFORM central.texto_libre('La descripción', p_descripcion);
    IF coalesce(trim(p_descripcion), '') = '' THEN
        RAISE EXCEPTION 'La variante necesita una descripción' USING ERRCODE = '22023';
    END IF;
    INSERT INTO central.jugadas_especiales_detalle (especial, jugada, desc_jugada)
    VALUES (p_especial, p_jugada, trim(p_descripcion));
    PERFORM central.auditar('ESPECIAL_VARIANTE', NULL, NULL,
                            p_especial || ' ' || p_jugada || ' ' || p_descripcion);
END
$$;

-- Assigns a special to a sales point (p_asignar true) or takes it away.
CREATE FUNCTION admin.asignar_especial(p_especial varchar, p_cod_vendedor varchar,
                                       p_asignar boolean DEFAULT true) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF p_asignar THEN
        INSERT INTO central.especiales_vendedor (especial, cod_vendedor)
        VALUES (p_especial, p_cod_vendedor) ON CONFLICT DO NOTHING;
    ELSE
        DELETE FROM central.especiales_vendedor
        WHERE especial = p_especial AND cod_vendedor = p_cod_vendedor;
    END IF;
    PERFORM central.auditar(CASE WHEN p_asignar THEN 'ESPECIAL_ASIGNADO' ELSE 'ESPECIAL_RETIRADO' END,
                            p_cod_vendedor, NULL, p_especial);
END
$$;
