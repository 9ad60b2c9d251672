-- The customers who collect prizes: one person buys at many sales points, so the record is the
-- network's. A save never overwrites: it adds a version with who saved it and when.

-- "@modo" "1" looks a customer up by identity number: return value 1 and the record
-- (descripcion, Direccion, telefonos) of its latest version when known, 0 otherwise; a look-up
-- of a customer last saved by another sales point is audited. "0" saves the customer as a new
-- version: 0 when saved, 1 when the identity number (letters, digits, "." and "-", up to 15) or
-- the name (up to 50) is missing or malformed. A text with control characters is refused with
-- an error. Any other mode: 1. Both modes serve the sellers who may pay prizes (F4).
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
    v_cedula varchar := upper(trim(coalesce(central.texto_libre('La cédula', cliente.cedula), '')));
    v_nombre varchar := trim(coalesce(central.texto_libre('El nombre', cliente.descripcion), ''));
    v_direccion varchar := nullif(trim(coalesce(central.texto_libre('La dirección',
                                                                    cliente.direccion), '')), '');
    v_telefonos varchar := nullif(trim(coalesce(central.texto_libre('Los teléfonos',
                                                                    cliente.telefonos), '')), '');
    v_vendedor varchar := central.vendedor_de_sesion();
    v_usuario varchar := central.usuario_de_sesion();
    c central.clientes;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('Cliente')
       OR NOT central.permitido('Cliente', v_vendedor, NULL, 'F4.') THEN
        return_value := CASE WHEN v_modo = '1' THEN 0 ELSE 1 END;
        RETURN;
    END IF;
    IF v_modo = '1' THEN
        SELECT * INTO c FROM central.clientes k WHERE k.cedula = v_cedula
        ORDER BY k.id DESC LIMIT 1;
        IF NOT FOUND THEN
            return_value := 0;
            RETURN;
        END IF;
        IF c.cod_vendedor IS DISTINCT FROM v_vendedor THEN
            PERFORM central.auditar('CLIENTE_CONSULTADO', v_vendedor, v_usuario,
                                    format('%s, grabado por %s', v_cedula,
                                           coalesce(c.cod_vendedor, 'la oficina')));
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
        INSERT INTO central.clientes (cedula, descripcion, direccion, telefonos, cod_vendedor,
                                      cod_usuario)
        VALUES (v_cedula, v_nombre, v_direccion, v_telefonos, v_vendedor, v_usuario);
        PERFORM central.auditar('CLIENTE_GRABADO', v_vendedor, v_usuario,
                                v_cedula || ' ' || v_nombre);
        return_value := 0;
    ELSE
        return_value := 1;
    END IF;
END
$$;
