-- Two demo sales points, each with its own database login (the password is the demo's
-- "CuentaBD", which tools/demo writes into the counter's VENDURA.INI) and its own sellers: at
-- LA FORTUNA an active, an inactive and a suspended seller; at EL TREBOL one active seller.
SELECT admin.crear_vendedor('00012', 'AGENCIA LA FORTUNA', 'fortuna-demo-1756');
SELECT admin.crear_vendedor('00013', 'AGENCIA EL TREBOL', 'trebol-demo-1756');
SELECT admin.crear_usuario('1001', '00012', 'ANA PEREZ', '1234',
                           'A.-B.-C.-D.-R.-F2.F3.F4.F5.F6.F7.F10F11F12');
SELECT admin.crear_usuario('1002', '00012', 'LUIS GOMEZ', '1234');
SELECT admin.crear_usuario('1003', '00012', 'RAUL DIAZ', '1234');
SELECT admin.crear_usuario('2001', '00013', 'CARMEN ROJAS', '5678',
                           'A.-B.-C.-D.-R.-F2.F3.F4.F5.F6.F7.F10F11F12');
UPDATE central.usuarios SET estado = 'I' WHERE cod_usuario = '1002';
UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1003';

INSERT INTO central.parametros_terminal (
    cod_vendedor, nrif, nnit, diascaduca, tiempoanular, msgticket, direccion, margenizquierdo,
    screenvuelto, codtel2, filassalto, tipoletra, puertoprinter, puertofax, velocidadfax, codtel1,
    nrotel1, nrotel2, letradisquete, modotrabajo, bdonline, dirip_1, dirip_2, dirip_offline,
    bdoffline, nrocolumnas, claveoffline, longitudpermuta, estadovendura)
VALUES (
    '00012', 'J-12345678-9', '0012345678', 3, 1, 'GRACIAS POR SU COMPRA',
    'AV. BOLIVAR, LOCAL 4, CARACAS', 2, '0', 'N', 4, 'C', 'LPT1', 'COM1', '9600,8,N,1', '0212',
    'S', '5550000', 'A', '0', 'vendura', '127.0.0.1', '', '127.0.0.1', 'KALVDATA', 3, '',
    7, NULL);
INSERT INTO central.parametros_terminal (cod_vendedor, nrif, diascaduca, msgticket, direccion,
    margenizquierdo, filassalto, tipoletra, puertoprinter, nrotel1, modotrabajo, nrocolumnas)
VALUES ('00013', 'J-87654321-0', 3, 'SUERTE!', 'CALLE REAL, MARACAY', 0, 4, 'C', 'LPT1', 'S',
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
