-- The customers who collect prizes.

-- "@modo" "1" looks a customer up by identity number: return value 1 and the record
-- (descripcion, Direccion, telefonos) when known, 0 otherwise. "0" saves the customer (new, or
-- the record brought up to date): 0 when saved, 1 when the identity number (letters, digits,
-- "." and "-", up to 15) or the name (up to 50) is missing or malformed. Any other mode: 1.
-- Customers are known to the whole network; saving is audited with the sales point that did it.
CREATE PROCEDURE public.cliente(
    INOUT return_value integer,
    IN modo varchar,
    IN cedula varchar,
    IN descripcion varchar,
    IN direccion varchar,
    IN telefonos varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    v_modo varchar := trim(coalesce(modo, ''));
    v_cedula varchar := upper(trim(coalesce(cliente.cedula, '')));
    v_nombre varchar := trim(coalesce(cliente.descripcion, ''));
    v_direccion varchar := nullif(trim(coalesce(cliente.direccion, '')), '');
    v_telefonos varchar := nullif(trim(coalesce(cliente.telefonos, '')), '');
    v_vendedor varchar := central.vendedor_de_sesion();
    c central.clientes;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('Cliente') THEN
        return_value := CASE WHEN v_modo = '1' THEN 0 ELSE 1 END;
        RETURN;
    END IF;
    IF v_modo = '1' THEN
        SELECT * INTO c FROM central.clientes k WHERE k.cedula = v_cedula;
        IF NOT FOUND THEN
            return_value := 0;
            RETURN;
        END IF;
        return_value := 1;
        CLOSE rs;
        OPEN rs FOR SELECT c.descripcion AS "descripcion", c.direccion AS "Direccion",
                           c.telefonos AS "telefonos";
    ELSIF v_modo = '0' THEN
        IF v_cedula !~ '^[A-Z0-9.-]{1,15}$' OR v_nombre = '' OR length(v_nombre) > 50
           OR length(coalesce(v_direccion, '')) > 100
           OR length(coalesce(v_telefonos, '')) > 100 THEN
            return_value := 1;
            RETURN;
        END IF;
        INSERT INTO central.clientes AS k (cedula, descripcion, direccion, telefonos,
                                           cod_vendedor)
        VALUES (v_cedula, v_nombre, v_direccion, v_telefonos, v_vendedor)
        ON CONFLICT ON CONSTRAINT clientes_pkey DO UPDATE
            SET descripcion = EXCLUDED.descripcion, direccion = EXCLUDED.direccion,
                telefonos = EXCLUDED.telefonos;
        PERFORM central.auditar('CLIENTE_GRABADO', v_vendedor, NULL,
                                v_cedula || ' ' || v_nombre);
        return_value := 0;
    ELSE
        return_value := 1;
    END IF;
END
$$;
