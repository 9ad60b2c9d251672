-- The day's audit key: what opens a counter's journal viewer for one seller on one day. The
-- central office reads it from its console; a counter can only check a key it was given.

-- Five groups of four characters from an alphabet without look-alikes (no 0/O, 1/I), taken
-- from an HMAC of the date and the user code under the installation's secret.
CREATE FUNCTION central.clave_auditoria(p_fecha date, p_usuario varchar) RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    alfabeto constant text := '23456789ABCDEFGHJKLMNPQRSTUVWXYZ';
    h bytea;
    clave text := '';
BEGIN
    h := central.hmac(convert_to(to_char(p_fecha, 'YYYY-MM-DD') || '|' ||
                                 upper(trim(coalesce(p_usuario, ''))), 'UTF8'),
                      (SELECT i.secreto_auditoria FROM central.instalacion i), 'sha256');
    FOR k IN 0 .. 19 LOOP
        IF k > 0 AND k % 4 = 0 THEN
            clave := clave || '-';
        END IF;
        clave := clave || substr(alfabeto, get_byte(h, k) % 32 + 1, 1);
    END LOOP;
    RETURN clave;
END
$$;

-- Whether a key typed at a counter is the audit key of the server's today for that user;
-- blanks and dashes are ignored, letters in any case.
CREATE FUNCTION central.clave_auditoria_valida(p_usuario varchar, p_clave varchar)
RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN replace(central.clave_auditoria(central.ahora()::date, p_usuario), '-', '') =
           upper(regexp_replace(coalesce(p_clave, ''), '[\s-]', '', 'g'));
END
$$;

-- xvalidaauditoria: checks the audit key a seller of the calling sales point typed at the
-- counter. Return value 0: the key of the server's today for that seller (the journal viewer
-- opens); 2: a wrong key; 3: three wrong keys of that seller within fifteen minutes, and the key
-- is not looked at until they are older; 1: the vendor or the seller is not of the connection's
-- sales point. Every answer but 1 is audited (1 is, by central.autoriza).
CREATE PROCEDURE public.xvalidaauditoria(
    INOUT return_value integer,
    IN xcodigo_vend varchar,
    IN xcodigo_user varchar,
    IN xclave varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    fallidos integer;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('xvalidaauditoria', xcodigo_vend, xcodigo_user)
       OR NOT central.permitido('xvalidaauditoria', xcodigo_vend, xcodigo_user, 'F7.') THEN
        return_value := 1;
        RETURN;
    END IF;
    SELECT count(*) INTO fallidos FROM central.auditoria a
    WHERE a.cod_usuario = xcodigo_user AND a.accion = 'AUDITORIA_FALLIDA'
      AND a.momento > central.ahora() - interval '15 minutes';
    IF fallidos >= 3 THEN
        return_value := 3;
        PERFORM central.auditar_rechazo('AUDITORIA_BLOQUEADA', xcodigo_vend, xcodigo_user,
                                'tres claves erradas en quince minutos');
    ELSIF central.clave_auditoria_valida(xcodigo_user, xclave) THEN
        return_value := 0;
        PERFORM central.auditar('AUDITORIA_ABIERTA', xcodigo_vend, xcodigo_user, NULL);
    ELSE
        return_value := 2;
        PERFORM central.auditar_rechazo('AUDITORIA_FALLIDA', xcodigo_vend, xcodigo_user, NULL);
    END IF;
END
$$;
