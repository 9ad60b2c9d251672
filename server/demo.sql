-- Two demo sales points, each with its own database login (the password is the demo's
-- "CuentaBD", which tools/demo writes into the counter's VENDURA.INI) and its own sellers: at
-- LA FORTUNA an active, an inactive and a suspended seller; at EL TREBOL one active seller.
SELECT admin.crear_vendedor('00012', 'AGENCIA LA FORTUNA', 'fortuna-demo-1756');
SELECT admin.crear_vendedor('00013', 'AGENCIA EL TREBOL', 'trebol-demo-1756');
SELECT admin.crear_usuario('1001', '00012', 'ANA PEREZ', '1234',
                           'A.-B.-C.-D.-R.-M.-F2.F3.F4.F5.F6.F7.F10F11F12');
SELECT admin.crear_usuario('1002', '00012', 'LUIS GOMEZ', '1234');
SELECT admin.crear_usuario('1003', '00012', 'RAUL DIAZ', '1234');
SELECT admin.crear_usuario('2001', '00013', 'CARMEN ROJAS', '5678',
                           'A.-B.-C.-D.-R.-M.-F2.F3.F4.F5.F6.F7.F10F11F12');
-- LA FORTUNA may cancel a ticket for half an hour after the sale; EL TREBOL keeps the default.
SELECT admin.fijar_minutos_anulacion('00012', 30);
UPDATE central.usuarios SET estado = 'I' WHERE cod_usuario = '1002';
UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1003';

INSERT INTO central.parametros_terminal (
    cod_vendedor, nrif, nnit, tiempoanular, msgticket, direccion, margenizquierdo,
    screenvuelto, codtel2, filassalto, tipoletra, puertoprinter, puertofax, velocidadfax, codtel1,
    nrotel1, nrotel2, letradisquete, modotrabajo, bdonline, dirip_1, dirip_2, dirip_offline,
    bdoffline, nrocolumnas, claveoffline, longitudpermuta, estadovendura)
VALUES (
    '00012', 'J-12345678-9', '0012345678', 1, 'GRACIAS POR SU COMPRA',
    'AV. BOLIVAR, LOCAL 4, CARACAS', 2, '0', 'N', 4, 'C', 'LPT1', 'COM1', '9600,8,N,1', '0212',
    'S', '5550000', 'A', '0', 'vendura', '127.0.0.1', '', '127.0.0.1', 'KALVDATA', 3, '',
    7, NULL);
INSERT INTO central.parametros_terminal (cod_vendedor, nrif, msgticket, direccion,
    margenizquierdo, filassalto, tipoletra, puertoprinter, nrotel1, modotrabajo, nrocolumnas)
VALUES ('00013', 'J-87654321-0', 'SUERTE!', 'CALLE REAL, MARACAY', 0, 4, 'C', 'LPT1', 'S',
        '0', 3);

-- The day's lotteries. Quotas in Bs.F. per number and draw.
INSERT INTO central.loterias (cod_lot, desc_lot, orden, hora_cierre, juegaespecial, especial,
                              cupo_triple, cupo_terminal) VALUES
    ('ZUL', 'ZULIA 12:45 PM', 1, '12:40', 'N', NULL, 500, 2000),
    ('CAR', 'CARACAS 1:00 PM', 2, '12:55', 'N', NULL, 500, 2000),
    ('TAC', 'TACHIRA 4:45 PM', 3, '16:40', 'N', NULL, 500, 2000),
    ('ORO', 'CHANCE ORO 7:00 PM', 4, '18:55', 'N', NULL, 400, 1500),
    ('NOC', 'NOCTURNA 11:30 PM', 5, '23:25', 'N', NULL, 400, 1500),
    ('PRU', 'LOTERIA DE PRUEBA 24H', 6, '24:00', 'A', 'TRI', 300, 1000),
    ('TRE', 'TRIPLETA ESPECIAL', 7, '24:00', 'S', 'TRI', 200, 800);
INSERT INTO central.loterias (cod_lot, desc_lot, orden, hora_cierre, dia_1, dia_2, dia_3, dia_4,
                              dia_5, dia_6, dia_7, cupo_triple, cupo_terminal) VALUES
    ('DOM', 'DOMINGUERA 8:00 PM', 8, '19:55', false, false, false, false, false, false, true,
     500, 2000);
INSERT INTO central.loterias (cod_lot, desc_lot, orden, hora_cierre, cerrada) VALUES
    ('VIE', 'LOTERIA SUSPENDIDA', 9, '24:00', true);

-- Numbers the central office watches closely.
INSERT INTO central.cupos_numero (cod_lot, numero, cupo) VALUES
    ('PRU', '000', 20),
    ('PRU', '777', 50),
    ('ZUL', '13*', 100);

-- One special play, TRIPLETAS, offered by two lotteries (PRU with straight plays too, TRE only
-- through specials), in three variants, assigned to LA FORTUNA only.
SELECT admin.crear_especial('TRI', 'TRIPLETAS');
SELECT admin.agregar_variante('TRI', '1', 'TRIPLETA SENCILLA');
SELECT admin.agregar_variante('TRI', '2', 'TRIPLETA COMBINADA');
SELECT admin.agregar_variante('TRI', '3', 'TRIPLETA CON SERIE');
SELECT admin.asignar_especial('TRI', '00012');

-- An unread message from the central office for LA FORTUNA.
SELECT admin.enviar_mensaje('00012', 'Bienvenidos a vendura. Recuerde: los sorteos de la noche '
                            || 'cierran cinco minutos antes de la hora indicada en la lista de '
                            || 'loterías. Para leer de nuevo los mensajes pulse F10.');

-- The central office's demo login, for the console (vendura-central): a member of
-- vendura_oficina, which may call the functions of schema admin and nothing else.
-- It is the office's supervisor; "oficina2", a clerk with the same password, is the second
-- person a draw's numbers need.
DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'oficina') THEN
        CREATE ROLE oficina LOGIN PASSWORD 'oficina-demo-1756' IN ROLE vendura_oficina;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'oficina2') THEN
        CREATE ROLE oficina2 LOGIN PASSWORD 'oficina-demo-1756' IN ROLE vendura_oficina;
    END IF;
END
$$;
INSERT INTO central.oficinistas (cuenta, nombre, rol)
VALUES ('oficina', 'OFICINA CENTRAL', 'SUPERVISOR'), ('oficina2', 'TRANSCRIPTOR', 'OFICINISTA');

-- What a unit sold pays, in multiples of the amount, for everything sold from the start: 600
-- for the triple, 60 for the terminal, 6 for one digit; the evening lotteries also pay the
-- second and third triples, and the tripletas pay per variant.
INSERT INTO central.tabla_pagos (cod_lot, tipo, variante, multiplicador)
SELECT l.cod_lot, k.tipo, k.variante, k.mult
FROM central.loterias l
CROSS JOIN (VALUES ('TRIPLE', '', 600, false, false), ('TERMINAL', '', 60, false, false),
                   ('DIGITO', '', 6, false, false), ('SEGUNDO', '', 100, true, false),
                   ('TERCERO', '', 50, true, false), ('ESPECIAL', '1', 1000, false, true),
                   ('ESPECIAL', '2', 150, false, true), ('ESPECIAL', '3', 300, false, true))
     k(tipo, variante, mult, nocturna, especial)
WHERE (NOT k.nocturna OR l.cod_lot IN ('ORO', 'NOC'))
  AND (NOT k.especial OR l.especial = 'TRI');
SELECT admin.fijar_comision('00012', 12);
SELECT admin.fijar_comision('00013', 10);

-- The results of the last seven days, numbers drawn from a digest of lottery and day so that
-- a reload gives the same ones.
INSERT INTO central.resultados (cod_lot, fecha, triple, segundo, tercero, especial)
SELECT l.cod_lot, d.fecha, n.triple,
       CASE WHEN l.cod_lot IN ('ORO', 'NOC') THEN n.segundo END,
       CASE WHEN l.cod_lot IN ('ORO', 'NOC') THEN n.tercero END,
       CASE WHEN l.especial IS NOT NULL THEN n.especial END
FROM central.loterias l
CROSS JOIN generate_series(1, 7) k
CROSS JOIN LATERAL (SELECT central.ahora()::date - k AS fecha) d
CROSS JOIN LATERAL (SELECT md5(l.cod_lot || d.fecha) AS h) x
CROSS JOIN LATERAL (
    SELECT lpad((('x' || substr(x.h, 1, 6))::bit(24)::int % 1000)::text, 3, '0') AS triple,
           lpad((('x' || substr(x.h, 7, 6))::bit(24)::int % 1000)::text, 3, '0') AS segundo,
           lpad((('x' || substr(x.h, 13, 6))::bit(24)::int % 1000)::text, 3, '0') AS tercero,
           lpad((('x' || substr(x.h, 19, 6))::bit(24)::int % 1000)::text, 3, '0') AS especial) n
WHERE NOT l.cerrada
  AND CASE extract(isodow FROM d.fecha)::int
          WHEN 1 THEN l.dia_1 WHEN 2 THEN l.dia_2 WHEN 3 THEN l.dia_3 WHEN 4 THEN l.dia_4
          WHEN 5 THEN l.dia_5 WHEN 6 THEN l.dia_6 ELSE l.dia_7 END;
-- yesterday's numbers the demo tickets below were played on
UPDATE central.resultados SET triple = '347' WHERE cod_lot = 'ZUL' AND fecha = central.ahora()::date - 1;
UPDATE central.resultados SET triple = '118' WHERE cod_lot = 'TAC' AND fecha = central.ahora()::date - 1;
UPDATE central.resultados SET triple = '502' WHERE cod_lot = 'ZUL' AND fecha = central.ahora()::date - 5;

-- Tickets LA FORTUNA sold on earlier days, to pay with F4 (number, serial):
--   0000000101 246813579  wins 1,260.00 (ZUL 347 x 2 on the triple, 47* x 1 on the terminal)
--   0000000102 135792468  does not win
--   0000000103 975318642  won, but was cancelled
--   0000000104 864297531  won five days ago: expired (the sales point pays for 3 days)
INSERT INTO central.tickets_temporales (nticket, cod_vendedor, creado, estado)
SELECT t.n, '00012', central.ahora()::date - t.dias + time '10:15', 'EMI'
FROM (VALUES ('0000000101', 1), ('0000000102', 1), ('0000000103', 1), ('0000000104', 5))
     t(n, dias);
INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, cod_lot,
                                  fecha_sorteo, numero, monto_pedido, monto_vendido, status,
                                  jugada, creado)
SELECT i.n, i.item, '00012', '1001', i.lot, central.ahora()::date - i.dias, i.numero, i.monto,
       i.monto, '0', 'Normal', central.ahora()::date - i.dias + time '10:15'
FROM (VALUES ('0000000101', 1, 'ZUL', '347', 2, 1), ('0000000101', 2, 'ZUL', '47*', 1, 1),
             ('0000000101', 3, 'TAC', '905', 1, 1),
             ('0000000102', 1, 'ZUL', '348', 1, 1),
             ('0000000103', 1, 'ZUL', '347', 1, 1),
             ('0000000104', 1, 'ZUL', '502', 1, 5))
     i(n, item, lot, numero, monto, dias);
INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, hora, monto,
                             estado, anulado, impreso, anulado_en, anulado_por)
SELECT t.n, '00012', '1001', t.serial, central.ahora()::date - t.dias, '10:15', t.monto,
       t.estado, t.anulado, true,
       CASE WHEN t.anulado = 'S' THEN central.ahora()::date - t.dias + time '10:20' END,
       CASE WHEN t.anulado = 'S' THEN '1001' END
FROM (VALUES ('0000000101', 246813579, 1, 4, 'ACT', 'N'), ('0000000102', 135792468, 1, 1, 'ACT', 'N'),
             ('0000000103', 975318642, 1, 1, 'ELI', 'S'), ('0000000104', 864297531, 5, 1, 'ACT', 'N'))
     t(n, serial, dias, monto, estado, anulado);

-- The prizes of those tickets, as entering the results stores them.
SELECT central.premiar_sorteo(r.cod_lot, r.fecha) FROM central.resultados r
ORDER BY r.cod_lot, r.fecha;

-- A customer the demo finds by identity number.
INSERT INTO central.clientes (cedula, descripcion, direccion, telefonos, cod_vendedor,
                              cod_usuario)
VALUES ('V-12345678', 'PEDRO MARTINEZ', 'CALLE 5, LOS RUICES, CARACAS', '0212-5551234',
        '00012', '1001');
-- LA FORTUNA's account with the central office: a loan a week ago, its daily instalment (which
-- the central office confirmed) and a payment recorded at the counter (still waiting for the
-- office), a deposit, and the account settled up to three days ago.
INSERT INTO central.gastos (cod_vendedor, nrogasto, tipo, descripcion, monto, fecha, observacion)
VALUES ('00012', '1207', '4', '4.- Couta diaria Presamo', 50, central.ahora()::date - 2, ''),
       ('00012', '1208', '0', '0.- Pago Vendedor a Banca', 300, central.ahora()::date - 1,
        'Entregado al cobrador');
SELECT admin.confirmar_movimiento('00012', '1207');
DO $$
BEGIN
    PERFORM admin.registrar_movimiento('00012', '2', 2000, central.ahora()::date - 7,
                                       'Préstamo para el local');
    PERFORM admin.registrar_deposito('00012', 120, central.ahora()::date - 4, 'BANCO 0042');
    PERFORM admin.liquidar('00012', central.ahora()::date - 3);
END
$$;
