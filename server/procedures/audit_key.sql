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
