-- The terminal parameters a seller reads and changes on the parameter screen. They belong to
-- the sales point: every seller of it sees and changes the same row.

-- Raises a clear refusal of a parameter value; the procedure then writes nothing.
CREATE FUNCTION central.exigir_parametro(p_cumple boolean, p_mensaje text) RETURNS void
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    IF NOT coalesce(p_cumple, false) THEN
        RAISE EXCEPTION '%', p_mensaje USING ERRCODE = '22023';
    END IF;
END
$$;

-- A whole number from a numeric parameter, rounded, within its range.
CREATE FUNCTION central.entero_parametro(p_valor numeric, p_minimo integer, p_maximo integer,
                                         p_nombre text) RETURNS integer
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    PERFORM central.exigir_parametro(round(p_valor) BETWEEN p_minimo AND p_maximo,
                                     format('%s debe estar entre %s y %s', p_nombre, p_minimo,
                                            p_maximo));
    RETURN round(p_valor)::integer;
END
$$;

-- A text parameter of at most p_largo characters, without control characters; null reads as
-- empty.
CREATE FUNCTION central.texto_parametro(p_valor varchar, p_largo integer, p_nombre text)
RETURNS varchar
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    PERFORM central.exigir_parametro(length(coalesce(p_valor, '')) <= p_largo,
                                     format('%s admite hasta %s caracteres', p_nombre, p_largo));
    RETURN coalesce(central.texto_libre(p_nombre, p_valor), '');
END
$$;

-- The parameters of a seller of the connection's sales point, with the fields of the login.
-- "diascaduca" is the central office's value for the sales point (vendedores.dias_caduca). Return
-- value 1 (no record): the vendor or the user is not of this sales point, or the seller may not
-- open the parameter screen (F6).
CREATE PROCEDURE public.ver_usuario(
    INOUT return_value integer,
    IN xvendedor varchar,
    IN xusuario varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    IF NOT central.autoriza('ver_usuario', xvendedor, xusuario)
       OR NOT central.permitido('ver_usuario', xvendedor, xusuario, 'F6.') THEN
        return_value := 1;
        OPEN rs FOR SELECT WHERE false;
        RETURN;
    END IF;
    return_value := 0;
    OPEN rs FOR SELECT * FROM central.parametros_usuario p WHERE p.cod_usuario = xusuario;
END
$$;

-- Saves the printing, communication and off-line parameters of the sales point. Every value is
-- checked first; a bad one is refused with an error that names it, and nothing is written.
-- "@XCodTel2" is kept as the second area code; "@implot" (S/N, one ticket per lottery) goes
-- to "codtel2", where the login reads it. "@XDiascaduca" is not the sales point's to set: the days
-- a prize is paid belong to the central office (admin.fijar_dias_caducidad) and whatever is sent
-- is ignored. The change is audited, field by field (the off-line password only as changed).
-- Return value 0, or 1 when the vendor or the user is not of this sales point or the seller may
-- not change the parameters (F6).
CREATE PROCEDURE public.graba_parametros_usuario(
    INOUT return_value integer,
    IN xcodvendedor varchar,
    IN xusuario varchar,
    IN xdiascaduca numeric,
    IN xmargenizquierdo numeric,
    IN xfilassalto numeric,
    IN xtipoletra varchar,
    IN xpuertoprinter varchar,
    IN xpuertofax varchar,
    IN xvelocidadfax varchar,
    IN xcodtel1 varchar,
    IN xnrotel1 varchar,
    IN xcodtel2 varchar,
    IN xnrotel2 varchar,
    IN xletradisquete varchar,
    IN xmodotrabajo varchar,
    IN xbdonline varchar,
    IN xdirip_1 varchar,
    IN xdirip_2 varchar,
    IN xdirip_offline varchar,
    IN xbdoffline varchar,
    IN xnrocolumnas numeric,
    IN xclaveoffline varchar,
    IN xtiempoanular numeric,
    IN xscreenvuelto varchar,
    IN implot varchar,
    INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
DECLARE
    nuevo central.parametros_terminal;
    antes central.parametros_terminal;
    cambios text;
BEGIN
    OPEN rs FOR SELECT WHERE false;
    IF NOT central.autoriza('GRABA_PARAMETROS_USUARIO', xcodvendedor, xusuario)
       OR NOT central.permitido('GRABA_PARAMETROS_USUARIO', xcodvendedor, xusuario, 'F6.') THEN
        return_value := 1;
        RETURN;
    END IF;

    nuevo.cod_vendedor := xcodvendedor;
    nuevo.margenizquierdo := central.entero_parametro(xmargenizquierdo, 0, 40,
                                                      'El margen izquierdo');
    nuevo.filassalto := central.entero_parametro(xfilassalto, 0, 60,
                                                 'El número de filas de salto');
    nuevo.nrocolumnas := central.entero_parametro(xnrocolumnas, 1, 6, 'El número de columnas');
    nuevo.tiempoanular := central.entero_parametro(xtiempoanular, 0, 1, 'El tiempo para anular');
    PERFORM central.exigir_parametro(xtipoletra IN ('C', 'N'),
                                     'El tipo de letra debe ser C (comprimida) o N (normal)');
    nuevo.tipoletra := xtipoletra;
    nuevo.puertoprinter := upper(trim(coalesce(xpuertoprinter, '')));
    PERFORM central.exigir_parametro(
        nuevo.puertoprinter ~ '^(LPT|COM)[1-4]$',
        'El puerto de la impresora debe ser LPT1 a LPT4 o COM1 a COM4');
    nuevo.puertofax := upper(trim(coalesce(xpuertofax, '')));
    PERFORM central.exigir_parametro(nuevo.puertofax ~ '^COM[1-4]$',
                                     'El puerto del fax debe ser COM1 a COM4');
    PERFORM central.exigir_parametro(xnrotel1 IN ('S', 'N'), 'El aviso telefónico debe ser S o N');
    nuevo.nrotel1 := xnrotel1;
    PERFORM central.exigir_parametro(xmodotrabajo IN ('0', '1'),
                                     'El modo de trabajo debe ser 0 (resumida) o 1 (detallada)');
    nuevo.modotrabajo := xmodotrabajo;
    PERFORM central.exigir_parametro(xscreenvuelto IN ('0', '1'),
                                     'La pantalla de vuelto debe ser 1 (sí) o 0 (no)');
    nuevo.screenvuelto := xscreenvuelto;
    PERFORM central.exigir_parametro(implot IN ('S', 'N'),
                                     'La impresión por lotería debe ser S o N');
    nuevo.codtel2 := implot;
    PERFORM central.exigir_parametro(coalesce(xletradisquete, '') ~ '^[A-Za-z]?$',
                                     'La unidad de disquete es una letra');
    nuevo.letradisquete := upper(coalesce(xletradisquete, ''));
    nuevo.velocidadfax := central.texto_parametro(xvelocidadfax, 40, 'La configuración serial');
    nuevo.codtel1 := central.texto_parametro(xcodtel1, 4, 'El código de área');
    nuevo.codarea2 := central.texto_parametro(xcodtel2, 4, 'El segundo código de área');
    nuevo.nrotel2 := central.texto_parametro(xnrotel2, 10, 'El teléfono alterno');
    nuevo.bdonline := central.texto_parametro(xbdonline, 20, 'La base de datos en línea');
    nuevo.dirip_1 := central.texto_parametro(xdirip_1, 15, 'La dirección principal');
    nuevo.dirip_2 := central.texto_parametro(xdirip_2, 15, 'La dirección secundaria');
    nuevo.dirip_offline := central.texto_parametro(xdirip_offline, 15,
                                                   'La dirección fuera de línea');
    nuevo.bdoffline := central.texto_parametro(xbdoffline, 20, 'La base de datos fuera de línea');
    nuevo.claveoffline := central.texto_parametro(xclaveoffline, 10, 'La clave fuera de línea');

    SELECT * INTO antes FROM central.parametros_terminal p
    WHERE p.cod_vendedor = xcodvendedor FOR UPDATE;
    INSERT INTO central.parametros_terminal AS p (
        cod_vendedor, margenizquierdo, filassalto, tipoletra, puertoprinter, puertofax,
        velocidadfax, codtel1, nrotel1, codtel2, codarea2, nrotel2, letradisquete, modotrabajo,
        bdonline, dirip_1, dirip_2, dirip_offline, bdoffline, nrocolumnas, claveoffline,
        tiempoanular, screenvuelto)
    VALUES (
        nuevo.cod_vendedor, nuevo.margenizquierdo, nuevo.filassalto,
        nuevo.tipoletra, nuevo.puertoprinter, nuevo.puertofax, nuevo.velocidadfax, nuevo.codtel1,
        nuevo.nrotel1, nuevo.codtel2, nuevo.codarea2, nuevo.nrotel2, nuevo.letradisquete,
        nuevo.modotrabajo, nuevo.bdonline, nuevo.dirip_1, nuevo.dirip_2, nuevo.dirip_offline,
        nuevo.bdoffline, nuevo.nrocolumnas, nuevo.claveoffline, nuevo.tiempoanular,
        nuevo.screenvuelto)
    ON CONFLICT (cod_vendedor) DO UPDATE SET
        margenizquierdo = EXCLUDED.margenizquierdo,
        filassalto = EXCLUDED.filassalto, tipoletra = EXCLUDED.tipoletra,
        puertoprinter = EXCLUDED.puertoprinter, puertofax = EXCLUDED.puertofax,
        velocidadfax = EXCLUDED.velocidadfax, codtel1 = EXCLUDED.codtel1,
        nrotel1 = EXCLUDED.nrotel1, codtel2 = EXCLUDED.codtel2, codarea2 = EXCLUDED.codarea2,
        nrotel2 = EXCLUDED.nrotel2, letradisquete = EXCLUDED.letradisquete,
        modotrabajo = EXCLUDED.modotrabajo, bdonline = EXCLUDED.bdonline,
        dirip_1 = EXCLUDED.dirip_1, dirip_2 = EXCLUDED.dirip_2,
        dirip_offline = EXCLUDED.dirip_offline, bdoffline = EXCLUDED.bdoffline,
        nrocolumnas = EXCLUDED.nrocolumnas, claveoffline = EXCLUDED.claveoffline,
        tiempoanular = EXCLUDED.tiempoanular, screenvuelto = EXCLUDED.screenvuelto
    RETURNING * INTO nuevo;

    SELECT string_agg(CASE WHEN d.key = 'claveoffline' THEN 'claveoffline cambiada'
                           ELSE format('%s: %s -> %s', d.key, coalesce(a.value, '(nulo)'),
                                       coalesce(d.value, '(nulo)')) END,
                      '; ' ORDER BY d.key)
    INTO cambios
    FROM jsonb_each_text(to_jsonb(nuevo)) d
    LEFT JOIN jsonb_each_text(to_jsonb(antes)) a ON a.key = d.key
    WHERE d.value IS DISTINCT FROM a.value;
    PERFORM central.auditar('PARAMETROS', xcodvendedor, xusuario, coalesce(cambios, 'sin cambios'));
    return_value := 0;
END
$$;
