-- Central database of a vendura sales network. Tables live in schema "central", which the
-- counter program's role cannot reach; the program only calls the procedures of schema public.
CREATE SCHEMA central;
CREATE EXTENSION pgcrypto SCHEMA central;
CREATE EXTENSION dblink SCHEMA central;
-- The central office's functions (server/admin), for its own role only.
CREATE SCHEMA admin;

-- Installation-wide values. "reloj_fijo" / "reloj_desfase" let an operator (or a test) move the
-- server clock that decides business dates and closing times.
CREATE TABLE central.instalacion (
    id             boolean PRIMARY KEY DEFAULT true CHECK (id),
    zona_horaria   text NOT NULL DEFAULT 'America/Caracas',
    reloj_fijo     timestamp,
    reloj_desfase  interval NOT NULL DEFAULT interval '0'
);
INSERT INTO central.instalacion DEFAULT VALUES;
-- Minutes an open temporary ticket may go without a play before its quota is given back.
ALTER TABLE central.instalacion
    ADD COLUMN minutos_inactividad integer NOT NULL DEFAULT 30
        CHECK (minutos_inactividad BETWEEN 1 AND 1440);

-- The limits every sales point works under: logins at once, and seconds a procedure waits for a
-- lock, a call may run and a transaction may stay open between calls.
CREATE FUNCTION central.limite(p_nombre text) RETURNS integer
LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN CASE p_nombre WHEN 'conexiones' THEN 6 WHEN 'bloqueo' THEN 3 WHEN 'llamada' THEN 30
                         WHEN 'transaccion' THEN 30 WHEN 'sesion_horas' THEN 12 END;
END
$$;

-- The server's clock as one row. Compiled booking states the same rule
-- (server/native/server_clock.c).
CREATE VIEW central.reloj AS
    SELECT coalesce(i.reloj_fijo, (now() AT TIME ZONE i.zona_horaria) + i.reloj_desfase) AS ahora
    FROM central.instalacion i;

-- SECURITY DEFINER: result cursors of the procedures may evaluate it after the procedure has
-- returned, with the rights of the counter program's role. Helpers are plpgsql rather than
-- sql: a SECURITY DEFINER sql function is planned again at every call, plpgsql keeps its plans.
CREATE FUNCTION central.ahora() RETURNS timestamp
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN (SELECT r.ahora FROM central.reloj r);
END
$$;

-- A vendor is one sales point (one counter terminal).
CREATE TABLE central.vendedores (
    cod_vendedor  varchar(5) PRIMARY KEY CHECK (cod_vendedor <> ''),
    nombre        varchar(60),
    estado        char(1) NOT NULL DEFAULT 'A' CHECK (estado IN ('A', 'I', 'S')),
    -- days after its last draw a prize of this sales point's tickets is paid: the central
    -- office's to set (admin.fijar_dias_caducidad); each ticket keeps the value it was issued with
    dias_caduca   integer NOT NULL DEFAULT 3 CHECK (dias_caduca BETWEEN 0 AND 999),
    -- the most this sales point may sell of one number of a draw, as a share of the number's
    -- quota: hoarding a number is the central office's choice, not a counter's
    cupo_porcentaje  numeric(5, 2) NOT NULL DEFAULT 100
                     CHECK (cupo_porcentaje > 0 AND cupo_porcentaje <= 100)
);

CREATE TABLE central.usuarios (
    cod_usuario   varchar(5) PRIMARY KEY CHECK (cod_usuario <> ''),
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    nombre        varchar(60),
    clave_hash    text NOT NULL,
    estado        char(1) NOT NULL DEFAULT 'A' CHECK (estado IN ('A', 'I', 'S')),
    permisos      varchar(200)
);

-- Printing and communication parameters of a sales point's terminal, as the login hands them
-- to the counter program. Every column may be null: the program then uses its own default.
CREATE TABLE central.parametros_terminal (
    cod_vendedor     varchar(5) PRIMARY KEY REFERENCES central.vendedores,
    nrif             varchar(20),
    nnit             varchar(20),
    tiempoanular     integer,
    msgticket        varchar(200),
    direccion        varchar(200),
    margenizquierdo  integer CHECK (margenizquierdo BETWEEN 0 AND 40),
    screenvuelto     varchar(1),
    codtel2          varchar(10),
    filassalto       integer CHECK (filassalto BETWEEN 0 AND 60),
    tipoletra        varchar(1),
    puertoprinter    varchar(10),
    puertofax        varchar(10),
    velocidadfax     varchar(20),
    codtel1          varchar(10),
    nrotel1          varchar(10),
    nrotel2          varchar(20),
    letradisquete    varchar(1),
    modotrabajo      varchar(1),
    bdonline         varchar(60),
    dirip_1          varchar(60),
    dirip_2          varchar(60),
    dirip_offline    varchar(60),
    bdoffline        varchar(60),
    nrocolumnas      integer CHECK (nrocolumnas BETWEEN 1 AND 6),
    claveoffline     varchar(20),
    -- digits a permutation takes at most: 8 give 336 numbers, within what a call books
    longitudpermuta  integer CHECK (longitudpermuta BETWEEN 2 AND 8),
    estadovendura    varchar(1)
);

-- The database login of each sales point. The central office creates it together with the
-- vendor (admin.crear_vendedor); every procedure serves only the vendor of the login that
-- calls it (session_user), or of the session a pooled connection carries (central.sesiones).
CREATE TABLE central.cuentas (
    cuenta        name PRIMARY KEY,
    cod_vendedor  varchar(5) NOT NULL UNIQUE REFERENCES central.vendedores,
    creada        timestamp NOT NULL DEFAULT central.ahora(),
    -- the login's password as a bcrypt hash, which a counter proves through the connection
    -- pooler (public.xabresesion) where it cannot log in as itself
    clave_hash    text,
    -- the seller who last logged in through this login: a procedure that receives no user
    -- code checks that seller's permissions
    usuario_sesion  varchar(5),
    sesion_desde    timestamp
);

-- The sessions of counters that reach the server through the connection pooler, whose pooled
-- connections all share the login vendura_pasarela: a counter proves its sales point's password
-- once (public.xabresesion) and sets the random token it gets in every transaction it sends
-- (setting vendura.sesion); only the token's hash is kept. A session ends when its counter
-- closes it, when it expires, or when its sales point opens one more than it may hold.
CREATE TABLE central.sesiones (
    token_hash  bytea PRIMARY KEY,
    -- the order sessions were opened in, whatever the clock says
    orden       bigint GENERATED ALWAYS AS IDENTITY,
    cuenta      name NOT NULL REFERENCES central.cuentas ON DELETE CASCADE,
    abierta     timestamp NOT NULL,
    vence       timestamp NOT NULL
);
CREATE INDEX sesiones_cuenta ON central.sesiones (cuenta, orden);

-- The audit trail: one row per change of state that matters and per refused call, written
-- only through central.auditar. Codes are kept as they were sent (cut to 20 characters), so a
-- refused call with a forged code is recorded as it came.
CREATE TABLE central.auditoria (
    id            bigserial PRIMARY KEY,
    momento       timestamp NOT NULL,
    registrado    timestamptz NOT NULL DEFAULT clock_timestamp(),
    cuenta        name NOT NULL,
    cod_vendedor  text,
    cod_usuario   text,
    accion        varchar(30) NOT NULL,
    detalle       text
);
CREATE INDEX auditoria_usuario ON central.auditoria (cod_usuario, accion, momento);
CREATE INDEX auditoria_momento ON central.auditoria (momento);

-- Append-only, for the table's owner too.
CREATE FUNCTION central.auditoria_inmutable() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    RAISE EXCEPTION 'La auditoría solo admite registros nuevos' USING ERRCODE = '42501';
END
$$;
CREATE TRIGGER auditoria_solo_agrega BEFORE UPDATE OR DELETE ON central.auditoria
    FOR EACH ROW EXECUTE FUNCTION central.auditoria_inmutable();
CREATE TRIGGER auditoria_sin_vaciar BEFORE TRUNCATE ON central.auditoria
    FOR EACH STATEMENT EXECUTE FUNCTION central.auditoria_inmutable();

-- Temporary tickets: the number under which a terminal builds its next ticket, drawn at random
-- so that it cannot be guessed. A temporary ticket is open ('ABI') until it is issued ('EMI'),
-- voided by the server ('INV'), left behind when its terminal took a new number ('ABA'), or
-- released with its quota after a while without plays or by the central office ('LIB').
-- "siguiente" and "codigo_cierre" keep the answer of the closing call, so that a call repeated
-- after a lost answer gets the same answer and changes nothing.
CREATE TABLE central.tickets_temporales (
    nticket        varchar(10) PRIMARY KEY,
    cod_vendedor   varchar(5) NOT NULL REFERENCES central.vendedores,
    creado         timestamp NOT NULL DEFAULT central.ahora(),
    estado         varchar(3) NOT NULL DEFAULT 'ABI'
                   CHECK (estado IN ('ABI', 'EMI', 'INV', 'ABA', 'LIB')),
    siguiente      varchar(10),
    codigo_cierre  integer
);
CREATE INDEX tickets_temporales_vendedor ON central.tickets_temporales (cod_vendedor, creado);
CREATE INDEX tickets_temporales_abiertos ON central.tickets_temporales (cod_vendedor)
    WHERE estado = 'ABI';

-- Lotteries. A lottery draws on the weekdays whose flag is set (dia_1 Monday .. dia_7 Sunday)
-- and stops selling at its closing time; "cerrada" takes it off sale altogether. Quotas are
-- the most that may be sold on one number of one draw, in Bs.F.: one for triples (three
-- digits), one for terminales (one or two digits).
CREATE TABLE central.loterias (
    cod_lot        varchar(3) PRIMARY KEY CHECK (cod_lot ~ '^[A-Z0-9]{3}$'),
    desc_lot       varchar(40) NOT NULL,
    orden          integer NOT NULL DEFAULT 0,
    dia_1          boolean NOT NULL DEFAULT true,
    dia_2          boolean NOT NULL DEFAULT true,
    dia_3          boolean NOT NULL DEFAULT true,
    dia_4          boolean NOT NULL DEFAULT true,
    dia_5          boolean NOT NULL DEFAULT true,
    dia_6          boolean NOT NULL DEFAULT true,
    dia_7          boolean NOT NULL DEFAULT true,
    hora_cierre    time(0) NOT NULL,
    -- 'N' straight plays only, 'S' special plays only, 'A' both
    juegaespecial  char(1) NOT NULL DEFAULT 'N' CHECK (juegaespecial IN ('N', 'S', 'A')),
    especial       varchar(3),
    cerrada        boolean NOT NULL DEFAULT false,
    cupo_triple    numeric(12, 3) NOT NULL DEFAULT 0 CHECK (cupo_triple >= 0),
    cupo_terminal  numeric(12, 3) NOT NULL DEFAULT 0 CHECK (cupo_terminal >= 0)
);

-- One draw of a lottery on a date, where the central office changes that day's closing time
-- or quotas, closes it by hand or declares it void (not held). A draw without a row follows its
-- lottery. A draw moves one way only: open, closed (its closing time came, its day is over, or
-- the office closed it), then with results or void (central.estado_sorteo); nothing opens it
-- again. A change of the lottery's closing time leaves a draw of that day with the time it had.
CREATE TABLE central.sorteos (
    cod_lot        varchar(3) NOT NULL REFERENCES central.loterias,
    fecha          date NOT NULL,
    hora_cierre    time(0),
    cerrado        boolean NOT NULL DEFAULT false,
    cupo_triple    numeric(12, 3) CHECK (cupo_triple >= 0),
    cupo_terminal  numeric(12, 3) CHECK (cupo_terminal >= 0),
    cerrado_en     timestamp,
    anulado        boolean NOT NULL DEFAULT false,
    anulado_en     timestamp,
    CHECK (NOT anulado OR cerrado),
    PRIMARY KEY (cod_lot, fecha)
);

-- A quota of its own for one number of a lottery, on every draw. Numbers are kept as the
-- ticket shows them: "123", "12*", "5**".
CREATE TABLE central.cupos_numero (
    cod_lot  varchar(3) NOT NULL REFERENCES central.loterias,
    numero   varchar(3) NOT NULL CHECK (numero ~ '^([0-9]{3}|[0-9]{2}\*|[0-9]\*\*)$'),
    cupo     numeric(12, 3) NOT NULL CHECK (cupo >= 0),
    PRIMARY KEY (cod_lot, numero)
);

-- The rules of a single amount or code of an item, as domains: a domain's check is kept ready by
-- the server from statement to statement, where a table's check is read and planned again by
-- every statement that writes the table, and booking writes items at every play. The numbers'
-- sold quota keeps its table check: the planner does not know a domain column's width, and with
-- it the generators' update of the numbers' rows, planned over a table still small, read the
-- whole table at every call as it grew.
CREATE DOMAIN central.monto_vendido AS numeric(12, 3) CHECK (VALUE >= 0);
CREATE DOMAIN central.monto_pedido AS numeric(12, 3) CHECK (VALUE > 0);
CREATE DOMAIN central.numero_item AS integer CHECK (VALUE > 0);
CREATE DOMAIN central.estado_item AS char(1) CHECK (VALUE IN ('0', '1', '2', '4'));

-- What is sold of each number of each draw; the row is the lock that keeps terminals from
-- selling past the quota. Half of each page is left free: a number's row changes at every play
-- on it, and a new version that fits on its own page writes no index entry and no lock record.
CREATE TABLE central.ventas_numero (
    -- no key check on the lottery: it ran at every update of a number's sales. Booking writes
    -- a row for a lottery it has just found, and a lottery with sales is not deleted
    -- (central.loteria_con_ventas).
    cod_lot  varchar(3) NOT NULL,
    fecha    date NOT NULL,
    numero   varchar(3) NOT NULL,
    vendido  numeric(12, 3) NOT NULL DEFAULT 0 CHECK (vendido >= 0),
    PRIMARY KEY (cod_lot, fecha, numero)
) WITH (fillfactor = 50);

-- A lottery that sold keeps its code: the office takes it off sale, it does not delete it.
CREATE FUNCTION central.loteria_con_ventas() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    IF EXISTS (SELECT FROM central.ventas_numero v WHERE v.cod_lot = OLD.cod_lot)
       OR EXISTS (SELECT FROM central.items_ticket i WHERE i.cod_lot = OLD.cod_lot) THEN
        RAISE EXCEPTION 'La lotería % tiene ventas: se retira de la venta, no se borra',
            OLD.cod_lot USING ERRCODE = '23503';
    END IF;
    RETURN OLD;
END
$$;
CREATE TRIGGER loteria_con_ventas BEFORE DELETE OR UPDATE OF cod_lot ON central.loterias
    FOR EACH ROW EXECUTE FUNCTION central.loteria_con_ventas();

-- Special plays and their variants.
CREATE TABLE central.jugadas_especiales (
    especial     varchar(3) PRIMARY KEY,
    descripcion  varchar(40) NOT NULL
);
CREATE TABLE central.jugadas_especiales_detalle (
    especial     varchar(3) NOT NULL REFERENCES central.jugadas_especiales,
    jugada       char(1) NOT NULL,
    desc_jugada  varchar(40) NOT NULL,
    PRIMARY KEY (especial, jugada)
);

-- The items of a ticket, booked one by one under its temporary number; the issued ticket
-- keeps them. The pair (nticket, num_item) is unique: a repeated call books nothing twice.
-- status: '0' sold in full, '1' nothing sold (no quota left), '2' sold in part, '4' the
-- lottery was closed. "vigente" turns false when the item is removed or its quota given back.
CREATE TABLE central.items_ticket (
    nticket        varchar(10) NOT NULL,
    num_item       central.numero_item NOT NULL,
    cod_vendedor   varchar(5) NOT NULL,
    cod_usuario    varchar(5) NOT NULL,
    cod_lot        varchar(3) NOT NULL,
    fecha_sorteo   date NOT NULL,
    numero         varchar(3) NOT NULL,
    monto_pedido   central.monto_pedido NOT NULL,
    monto_vendido  central.monto_vendido NOT NULL DEFAULT 0 CHECK (monto_vendido <= monto_pedido),
    status         central.estado_item NOT NULL,
    tipo           char(1) NOT NULL DEFAULT '1',
    jugada         varchar(100),
    especial       varchar(60),
    vigente        boolean NOT NULL DEFAULT true,
    creado         timestamp NOT NULL DEFAULT central.ahora(),
    -- An item is on a ticket of its vendor: items are written by booking alone, under the
    -- lock it takes on the vendor's open ticket after checking the vendor (central.reservar).
    -- A key check of every item on top of that cost a quarter of a generator's thousand-item
    -- call.
    PRIMARY KEY (nticket, num_item)
);
CREATE INDEX items_ticket_sorteo ON central.items_ticket (cod_lot, fecha_sorteo, numero);

-- Issued tickets. The ticket number is the temporary number it was built under; the serial
-- is drawn at random by the counter and printed with a bar code, and with the number it is
-- what a prize is paid against.
CREATE TABLE central.tickets (
    nroticket     varchar(10) PRIMARY KEY REFERENCES central.tickets_temporales,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    cod_usuario   varchar(5) NOT NULL,
    serial        bigint NOT NULL CHECK (serial BETWEEN 1 AND 2000000001),
    fecha         date NOT NULL,
    hora          time(0) NOT NULL,
    monto         numeric(12, 3) NOT NULL CHECK (monto > 0),
    estado        varchar(3) NOT NULL DEFAULT 'ACT' CHECK (estado IN ('ACT', 'ELI')),
    anulado       char(1) NOT NULL DEFAULT 'N' CHECK (anulado IN ('N', 'S')),
    impreso       boolean NOT NULL DEFAULT false,
    -- the moment of the sale to the microsecond (the cancellation window counts from it), and
    -- the days its prize is paid after its last draw, as the central office had them then
    vendido_en    timestamp,
    dias_caduca   integer NOT NULL DEFAULT 3 CHECK (dias_caduca BETWEEN 0 AND 999),
    -- what was given back for plays on draws the central office declared void
    reembolsado   numeric(12, 3) NOT NULL DEFAULT 0 CHECK (reembolsado >= 0 AND reembolsado <= monto),
    -- when its serial was handed out for the first print of a ticket the printer never gave
    -- out: it is handed once
    original_entregado  timestamp
);
CREATE INDEX tickets_vendedor_fecha ON central.tickets (cod_vendedor, fecha);

-- Terminal parameters and lottery activation, as a sales point sets them from its counter.
-- The second area code the parameter screen sends lives apart from "codtel2", which carries the
-- one-ticket-per-lottery flag the login hands out; the serial printer settings take the 40
-- characters the screen sends.
ALTER TABLE central.parametros_terminal ADD COLUMN codarea2 varchar(4);
ALTER TABLE central.parametros_terminal ALTER COLUMN velocidadfax TYPE varchar(40);

-- Lotteries a sales point has taken off sale at its own counter. Without a row a lottery sells
-- there as the central office has it; with one, its plays there answer "closed" and the lists
-- of lotteries on sale leave it out. Other sales points are not touched.
CREATE TABLE central.loterias_inactivas (
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    cod_lot       varchar(3) NOT NULL REFERENCES central.loterias,
    desde         timestamp NOT NULL DEFAULT central.ahora(),
    PRIMARY KEY (cod_vendedor, cod_lot)
);

-- A seller's parameters under the field names the counter reads them by: the login
-- (xVLDUSRT) and the parameter screen (ver_usuario) answer the same row. A sales point without
-- a row of parameters gets nulls, and the counter its defaults.
CREATE VIEW central.parametros_usuario AS
    SELECT u.cod_usuario, u.nombre AS "Nombre_Usua", u.estado AS "Estado_Usua",
           u.cod_vendedor AS "CodVendEDOR", p.nrif AS "nrif", p.nnit AS "nnit",
           v.dias_caduca AS "diascaduca", p.tiempoanular AS "Tiempoanular",
           p.msgticket AS "Msgticket", p.direccion AS "Direccion_usua",
           p.margenizquierdo AS "MargenIzquierdo", u.permisos AS "permisos",
           p.screenvuelto AS "screenvuelto", p.codtel2 AS "codtel2", p.filassalto AS "FilasSalto",
           p.tipoletra AS "TipoLetra", p.puertoprinter AS "PuertoPrinter",
           p.puertofax AS "PuertoFax", p.velocidadfax AS "VelocidadFax", p.codtel1 AS "CodTel1",
           p.nrotel1 AS "Nrotel1", p.nrotel2 AS "Nrotel2", p.letradisquete AS "LetraDisquete",
           p.modotrabajo AS "ModoTrabajo", p.bdonline AS "BDONLine", p.dirip_1 AS "DIRIP_1",
           p.dirip_2 AS "DIRIP_2", p.dirip_offline AS "DIRIP_OFFLine",
           p.bdoffline AS "BDOFFLINE", p.nrocolumnas AS "nrocolumnas",
           p.claveoffline AS "claveoffline", p.longitudpermuta AS "longitudpermuta",
           p.codarea2 AS "codarea2",
           p.estadovendura AS "estadovendura"
    FROM central.usuarios u
    JOIN central.vendedores v ON v.cod_vendedor = u.cod_vendedor
    LEFT JOIN central.parametros_terminal p ON p.cod_vendedor = u.cod_vendedor;
-- After sale: cancellation and reprints. A sales point may cancel one of its tickets for as many
-- minutes after the sale as the central office allows it (admin.fijar_minutos_anulacion); a
-- cancelled ticket keeps its plays, marked "anulado", and gives their quota back. Reprints of a
-- ticket are counted.
ALTER TABLE central.vendedores
    ADD COLUMN minutos_anulacion integer NOT NULL DEFAULT 10
        CHECK (minutos_anulacion BETWEEN 0 AND 1440);
ALTER TABLE central.tickets
    ADD COLUMN reimpresiones integer NOT NULL DEFAULT 0 CHECK (reimpresiones >= 0),
    ADD COLUMN anulado_en timestamp,
    ADD COLUMN anulado_por varchar(5),
    ADD CONSTRAINT tickets_anulacion CHECK ((estado = 'ELI') = (anulado = 'S')
                                            AND (estado = 'ELI') = (anulado_en IS NOT NULL));
ALTER TABLE central.items_ticket ADD COLUMN anulado boolean NOT NULL DEFAULT false;
-- Draw results, the payout table, prize payments and their customers, and what else the
-- central office sets for its sales points (commissions, the audit-key secret).

-- The winning numbers of one draw, entered by the central office once the draw has closed.
-- "triple" is the first prize; "segundo" and "tercero" the second and third prizes of the
-- lotteries that draw three; "especial" the number drawn for the lottery's special plays.
CREATE TABLE central.resultados (
    cod_lot     varchar(3) NOT NULL REFERENCES central.loterias,
    fecha       date NOT NULL,
    triple      varchar(3) NOT NULL CHECK (triple ~ '^[0-9]{3}$'),
    segundo     varchar(3) CHECK (segundo ~ '^[0-9]{3}$'),
    tercero     varchar(3) CHECK (tercero ~ '^[0-9]{3}$'),
    especial    varchar(3) CHECK (especial ~ '^[0-9]{3}$'),
    registrado  timestamp NOT NULL DEFAULT central.ahora(),
    PRIMARY KEY (cod_lot, fecha)
);

-- The central office's people: each a login of its own, a member of vendura_oficina, with a
-- role. A clerk (OFICINISTA) works the day's business; a supervisor also makes office logins.
-- The installation makes the first supervisor.
CREATE TABLE central.oficinistas (
    cuenta   name PRIMARY KEY,
    nombre   varchar(60) NOT NULL,
    rol      varchar(10) NOT NULL CHECK (rol IN ('OFICINISTA', 'SUPERVISOR')),
    creado   timestamp NOT NULL DEFAULT central.ahora()
);

-- A draw's numbers as the first of two office logins entered them (its results, or their
-- correction): they count only when a second, different login enters the same numbers, so a
-- number typed wrong once pays no ticket. One entry waits per draw.
CREATE TABLE central.resultados_pendientes (
    cod_lot     varchar(3) NOT NULL REFERENCES central.loterias,
    fecha       date NOT NULL,
    correccion  boolean NOT NULL,
    triple      varchar(3) NOT NULL CHECK (triple ~ '^[0-9]{3}$'),
    segundo     varchar(3) CHECK (segundo ~ '^[0-9]{3}$'),
    tercero     varchar(3) CHECK (tercero ~ '^[0-9]{3}$'),
    especial    varchar(3) CHECK (especial ~ '^[0-9]{3}$'),
    cuenta      name NOT NULL,
    anotado     timestamp NOT NULL DEFAULT central.ahora(),
    PRIMARY KEY (cod_lot, fecha)
);

-- What one unit sold pays when it wins, per lottery and kind of win: TRIPLE, SEGUNDO and
-- TERCERO (a triple on the first, second or third prize), TERMINAL (the last two digits of the
-- first prize), DIGITO (its last digit), ESPECIAL (a special play, per variant). A kind without
-- a row pays nothing on that lottery. The table is dated: a sold item wins by the row in force
-- when it was sold (the latest "desde" not after its sale), so a change applies to what is
-- sold after it.
CREATE TABLE central.tabla_pagos (
    cod_lot        varchar(3) NOT NULL REFERENCES central.loterias,
    tipo           varchar(8) NOT NULL
                   CHECK (tipo IN ('TRIPLE', 'SEGUNDO', 'TERCERO', 'TERMINAL', 'DIGITO',
                                   'ESPECIAL')),
    variante       varchar(1) NOT NULL DEFAULT '' CHECK ((tipo = 'ESPECIAL') = (variante <> '')),
    multiplicador  numeric(10, 2) NOT NULL CHECK (multiplicador > 0),
    desde          timestamp NOT NULL DEFAULT '-infinity',
    PRIMARY KEY (cod_lot, tipo, variante, desde)
);

-- The customers who collect prizes, known to the whole network by their identity number. A
-- save never overwrites: it adds a version, with the sales point and seller that made it; the
-- customer is the latest version of the identity number.
CREATE TABLE central.clientes (
    id            bigserial PRIMARY KEY,
    cedula        varchar(15) NOT NULL CHECK (cedula ~ '^[A-Za-z0-9.-]+$'),
    descripcion   varchar(50) NOT NULL CHECK (descripcion <> ''),
    direccion     varchar(100),
    telefonos     varchar(100),
    cod_vendedor  varchar(5) REFERENCES central.vendedores,
    cod_usuario   varchar(5),
    registrado    timestamp NOT NULL DEFAULT central.ahora()
);
CREATE INDEX clientes_cedula ON central.clientes (cedula, id);

-- One row per paid ticket: the primary key is what makes a prize payable once. "monto" is the
-- ticket's stored prize when it was paid; "cliente" the customer version the voucher printed.
CREATE TABLE central.pagos (
    nroticket     varchar(10) PRIMARY KEY REFERENCES central.tickets,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    cod_usuario   varchar(5) NOT NULL,
    monto         numeric(14, 2) NOT NULL CHECK (monto > 0),
    cedula        varchar(20),
    pagado        timestamp NOT NULL,
    cliente       bigint REFERENCES central.clientes,
    -- copies of its voucher printed after the first
    copias        integer NOT NULL DEFAULT 0 CHECK (copias >= 0)
);
CREATE INDEX pagos_vendedor ON central.pagos (cod_vendedor, pagado);

-- A sales point's commission on its sales, in percent: per lottery, or '*' for every lottery
-- without one of its own.
CREATE TABLE central.comisiones (
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    cod_lot       varchar(3) NOT NULL DEFAULT '*',
    porcentaje    numeric(5, 2) NOT NULL CHECK (porcentaje BETWEEN 0 AND 100),
    PRIMARY KEY (cod_vendedor, cod_lot)
);

-- The secret behind the day's audit keys; it never leaves the database.
ALTER TABLE central.instalacion
    ADD COLUMN secreto_auditoria bytea NOT NULL DEFAULT central.gen_random_bytes(32);
-- Sales screen: special plays, removals and messages.

-- A special play is offered by the lotteries whose "especial" holds its code (loterias,
-- juegaespecial 'S' or 'A'), in the variants of jugadas_especiales_detalle, and only to the
-- sales points it is assigned to.
CREATE TABLE central.especiales_vendedor (
    especial      varchar(3) NOT NULL REFERENCES central.jugadas_especiales,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    PRIMARY KEY (especial, cod_vendedor)
);
-- The variant an item of a special play was sold in.
ALTER TABLE central.items_ticket ADD COLUMN variante char(1);

-- Messages for the sales points. A message for every sales point is kept once per sales point,
-- so each reads its own copy. "*****" as the sender is the central office. A message is
-- delivered when a look for unread messages listed it, and read when the counter said so.
CREATE TABLE central.mensajes (
    id            bigserial PRIMARY KEY,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    ven_envia     varchar(5) NOT NULL DEFAULT '*****',
    momento       timestamp NOT NULL DEFAULT central.ahora(),
    mensaje       text NOT NULL CHECK (length(mensaje) BETWEEN 1 AND 4000),
    entregado     timestamp,
    leido         timestamp
);
CREATE INDEX mensajes_sin_leer ON central.mensajes (cod_vendedor, id) WHERE leido IS NULL;

-- Reports, settlement and the day's money movements of the sales points.

-- What a sales point sold of a number of a draw, for the counters' "Monitor On Line" and the
-- sales points' quota shares, is read from the items themselves (central.acumulados, a view):
-- booking writes nothing more for it. Per sales point, lottery and day, and the few special
-- plays of a draw for the office's exposure.
CREATE INDEX items_ticket_vendedor ON central.items_ticket (cod_vendedor, fecha_sorteo, cod_lot,
                                                          numero);
CREATE INDEX items_ticket_especiales ON central.items_ticket (cod_lot, fecha_sorteo, numero)
    WHERE tipo = '2';


-- The play of each sales point on each day (its tickets' date), per lottery and kind of play:
-- "venta", the live sold items of its issued tickets that are not cancelled, and "premios", the
-- prizes stored for them (central.premios). Kept by the triggers below and on central.premios
-- as tickets are issued or cancelled, items given back and prizes stored, so that the statement
-- of a sales point never settled reads a row per day, lottery and kind instead of millions of
-- items; it equals the sums over the items and the prizes at every moment. Items are booked
-- before their ticket is issued, so booking never touches it.
CREATE TABLE central.juego_dia (
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha         date NOT NULL,
    cod_lot       varchar(3) NOT NULL,
    tipo          char(1) NOT NULL,
    venta         numeric(16, 3) NOT NULL DEFAULT 0,
    premios       numeric(16, 2) NOT NULL DEFAULT 0,
    PRIMARY KEY (cod_vendedor, fecha, cod_lot, tipo)
);

-- The same sales by the hour their tickets were issued, for the office's chart of the day: kept
-- beside central.juego_dia by the same triggers, a row per sales point so that no two counters
-- write one row.
CREATE TABLE central.venta_hora (
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha         date NOT NULL,
    hora          smallint NOT NULL CHECK (hora BETWEEN 0 AND 23),
    venta         numeric(16, 3) NOT NULL DEFAULT 0,
    PRIMARY KEY (fecha, hora, cod_vendedor)
);

-- Adds to the days' sales the live sold items of some tickets, each times its sign: 1 a ticket
-- that starts counting, -1 one that stops.
CREATE FUNCTION central.sumar_juego_dia(p_tickets varchar[], p_signos integer[]) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
    -- the tickets' live sold items read once for both
    WITH c AS (
        SELECT t.cod_vendedor, t.fecha, extract(hour FROM t.hora) AS hora, i.cod_lot, i.tipo,
               x.signo * i.monto_vendido AS venta
        FROM unnest(p_tickets, p_signos) AS x(nroticket, signo)
        JOIN central.tickets t ON t.nroticket = x.nroticket
        JOIN central.items_ticket i ON i.nticket = x.nroticket
        WHERE x.signo <> 0 AND i.vigente AND i.monto_vendido > 0),
    dia AS (
        INSERT INTO central.juego_dia AS v (cod_vendedor, fecha, cod_lot, tipo, venta)
        SELECT c.cod_vendedor, c.fecha, c.cod_lot, c.tipo, sum(c.venta)
        FROM c
        GROUP BY 1, 2, 3, 4
        ORDER BY 1, 2, 3, 4
        ON CONFLICT (cod_vendedor, fecha, cod_lot, tipo) DO UPDATE
            SET venta = v.venta + EXCLUDED.venta)
    INSERT INTO central.venta_hora AS v (cod_vendedor, fecha, hora, venta)
    SELECT c.cod_vendedor, c.fecha, c.hora, sum(c.venta)
    FROM c
    GROUP BY 1, 2, 3
    ORDER BY 2, 3, 1
    ON CONFLICT (fecha, hora, cod_vendedor) DO UPDATE SET venta = v.venta + EXCLUDED.venta;
END
$$;

CREATE FUNCTION central.ticket_cuenta(t central.tickets) RETURNS integer
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN t.estado = 'ACT' AND t.anulado = 'N' THEN 1 ELSE 0 END
$$;

CREATE FUNCTION central.juego_dia_emision() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    PERFORM central.sumar_juego_dia(array_agg(n.nroticket), array_agg(central.ticket_cuenta(n)))
    FROM nuevos n;
    RETURN NULL;
END
$$;

CREATE FUNCTION central.juego_dia_cambio_ticket() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    PERFORM central.sumar_juego_dia(array_agg(n.nroticket),
                                     array_agg(central.ticket_cuenta(n) - central.ticket_cuenta(a)))
    FROM nuevos n JOIN antes a USING (nroticket)
    WHERE central.ticket_cuenta(n) <> central.ticket_cuenta(a);
    RETURN NULL;
END
$$;

-- An item of a counted ticket given back (a cancellation, a void draw) leaves its day's sales.
CREATE FUNCTION central.juego_dia_cambio_item() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    WITH c AS (
        SELECT t.cod_vendedor, t.fecha, extract(hour FROM t.hora) AS hora, n.cod_lot, n.tipo,
               CASE WHEN n.vigente AND n.monto_vendido > 0 THEN n.monto_vendido ELSE 0 END
               - CASE WHEN a.vigente AND a.monto_vendido > 0 THEN a.monto_vendido ELSE 0 END
                   AS cambio
        FROM nuevos n
        JOIN antes a USING (nticket, num_item)
        JOIN central.tickets t ON t.nroticket = n.nticket
        WHERE central.ticket_cuenta(t) = 1),
    dia AS (
        INSERT INTO central.juego_dia AS v (cod_vendedor, fecha, cod_lot, tipo, venta)
        SELECT x.cod_vendedor, x.fecha, x.cod_lot, x.tipo, sum(x.cambio)
        FROM c x
        GROUP BY 1, 2, 3, 4
        HAVING sum(x.cambio) <> 0
        ORDER BY 1, 2, 3, 4
        ON CONFLICT (cod_vendedor, fecha, cod_lot, tipo) DO UPDATE
            SET venta = v.venta + EXCLUDED.venta)
    INSERT INTO central.venta_hora AS v (cod_vendedor, fecha, hora, venta)
    SELECT x.cod_vendedor, x.fecha, x.hora, sum(x.cambio)
    FROM c x
    GROUP BY 1, 2, 3
    HAVING sum(x.cambio) <> 0
    ORDER BY 2, 3, 1
    ON CONFLICT (fecha, hora, cod_vendedor) DO UPDATE SET venta = v.venta + EXCLUDED.venta;
    RETURN NULL;
END
$$;

CREATE TRIGGER juego_dia_emision AFTER INSERT ON central.tickets
    REFERENCING NEW TABLE AS nuevos
    FOR EACH STATEMENT EXECUTE FUNCTION central.juego_dia_emision();
CREATE TRIGGER juego_dia_cambio_ticket AFTER UPDATE ON central.tickets
    REFERENCING OLD TABLE AS antes NEW TABLE AS nuevos
    FOR EACH STATEMENT EXECUTE FUNCTION central.juego_dia_cambio_ticket();
CREATE TRIGGER juego_dia_cambio_item AFTER UPDATE ON central.items_ticket
    REFERENCING OLD TABLE AS antes NEW TABLE AS nuevos
    FOR EACH STATEMENT EXECUTE FUNCTION central.juego_dia_cambio_item();

-- Money movements between a sales point and the central office ("gastos"), recorded by the
-- counter (origen 'P') or by the central office (origen 'B'). "tipo" is the number in front of
-- the movement's name: 0 the sales point pays the central office, 1 the central office pays
-- the sales point, 2 a loan to the sales point, 3 a loan instalment paid, 4 a loan instalment
-- charged to the day's account. A document number names one movement of a sales point.
CREATE TABLE central.gastos (
    id              bigserial PRIMARY KEY,
    cod_vendedor    varchar(5) NOT NULL REFERENCES central.vendedores,
    nrogasto        varchar(10) NOT NULL CHECK (nrogasto <> ''),
    tipo            char(1) NOT NULL CHECK (tipo IN ('0', '1', '2', '3', '4')),
    descripcion     varchar(40) NOT NULL,
    monto           numeric(12, 2) NOT NULL CHECK (monto > 0 AND monto < 10000000),
    fecha           date NOT NULL,
    observacion     varchar(200) NOT NULL DEFAULT '',
    tipo_descuento  char(1) NOT NULL DEFAULT '1',
    origen          char(1) NOT NULL DEFAULT 'P' CHECK (origen IN ('P', 'B')),
    registrado      timestamp NOT NULL DEFAULT central.ahora(),
    -- What the counter records is a declaration ('P' pending) until the central office confirms
    -- it ('C') or rejects it with a reason ('R'); what the office enters is confirmed at once. A
    -- confirmed movement counts on "fecha_efecto": its own day, or the next open day of the
    -- sales point when its day was settled before the confirmation.
    estado          char(1) NOT NULL DEFAULT 'P' CHECK (estado IN ('P', 'C', 'R')),
    fecha_efecto    date,
    revisado        timestamp,
    revisado_por    name,
    motivo          varchar(200),
    CHECK ((estado = 'C') = (fecha_efecto IS NOT NULL)),
    CHECK ((estado = 'R') = (motivo IS NOT NULL)),
    UNIQUE (cod_vendedor, nrogasto)
);
CREATE INDEX gastos_vendedor_fecha ON central.gastos (cod_vendedor, fecha);
CREATE INDEX gastos_vendedor_efecto ON central.gastos (cod_vendedor, fecha_efecto)
    WHERE estado = 'C';

-- Deposits of a sales point into the central office's account, entered by the central office.
CREATE TABLE central.depositos (
    id            bigserial PRIMARY KEY,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha         date NOT NULL,
    monto         numeric(12, 2) NOT NULL CHECK (monto > 0 AND monto < 10000000),
    referencia    varchar(40) NOT NULL DEFAULT '',
    registrado    timestamp NOT NULL DEFAULT central.ahora()
);
CREATE INDEX depositos_vendedor_fecha ON central.depositos (cod_vendedor, fecha);

-- The settlements of a sales point: up to "fecha" its account is closed with these balances
-- (what it owes on play and on loans). Nothing dated on or before its last settlement changes.
CREATE TABLE central.liquidaciones (
    cod_vendedor    varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha           date NOT NULL,
    saldo_jugada    numeric(16, 3) NOT NULL,
    saldo_prestamo  numeric(16, 3) NOT NULL,
    registrado      timestamp NOT NULL DEFAULT central.ahora(),
    PRIMARY KEY (cod_vendedor, fecha)
);

-- The money ledger.

-- The prize of every winning item, computed once when its draw's results are entered (and again
-- when they are corrected) from the payout in force when the item was sold. Payment, vouchers,
-- reports, statements and settlement all read it. "fecha" is the ticket's day. It keeps what the
-- prize reports show of the ticket and of the item, none of which changes once issued, so that
-- a month's report reads these rows alone.
CREATE TABLE central.premios (
    nroticket      varchar(10) NOT NULL REFERENCES central.tickets,
    num_item       integer NOT NULL,
    cod_vendedor   varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha          date NOT NULL,
    cod_lot        varchar(3) NOT NULL,
    fecha_sorteo   date NOT NULL,
    clase          varchar(8) NOT NULL,
    multiplicador  numeric(10, 2) NOT NULL CHECK (multiplicador > 0),
    premio         numeric(14, 2) NOT NULL CHECK (premio > 0),
    hora           time(0) NOT NULL,
    cod_usuario    varchar(5) NOT NULL,
    tipo           char(1) NOT NULL,
    numero         varchar(3) NOT NULL,
    jugada         varchar(100),
    variante       char(1),
    -- the first day the ticket's prize is no longer paid (central.vencimiento), and whether
    -- central.asentar_caducados looked at the prize after that day: it only reads those it
    -- has not, so its work stays that of the days since it last ran
    vence          date NOT NULL,
    caducidad_vista boolean NOT NULL DEFAULT false,
    PRIMARY KEY (nroticket, num_item),
    FOREIGN KEY (nroticket, num_item) REFERENCES central.items_ticket (nticket, num_item)
);
CREATE INDEX premios_sorteo ON central.premios (cod_lot, fecha_sorteo);
CREATE INDEX premios_vendedor ON central.premios (cod_vendedor, fecha);
CREATE INDEX premios_por_vencer ON central.premios (cod_vendedor, vence) WHERE NOT caducidad_vista;

-- Prizes stored (entering results) or taken away (correcting them, cancelling a ticket) move
-- their day's play.
-- "filas" are the prize rows stored or taken away.
CREATE FUNCTION central.juego_dia_premios() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO central.juego_dia AS j (cod_vendedor, fecha, cod_lot, tipo, premios)
    SELECT p.cod_vendedor, p.fecha, p.cod_lot, p.tipo,
           CASE TG_OP WHEN 'INSERT' THEN 1 ELSE -1 END * sum(p.premio)
    FROM filas p GROUP BY 1, 2, 3, 4 ORDER BY 1, 2, 3, 4
    ON CONFLICT (cod_vendedor, fecha, cod_lot, tipo) DO UPDATE
        SET premios = j.premios + EXCLUDED.premios;
    RETURN NULL;
END
$$;
CREATE TRIGGER juego_dia_premios_nuevos AFTER INSERT ON central.premios
    REFERENCING NEW TABLE AS filas
    FOR EACH STATEMENT EXECUTE FUNCTION central.juego_dia_premios();
CREATE TRIGGER juego_dia_premios_borrados AFTER DELETE ON central.premios
    REFERENCING OLD TABLE AS filas
    FOR EACH STATEMENT EXECUTE FUNCTION central.juego_dia_premios();

-- Entries of a sales point's account besides its play, movements and deposits: a correction of
-- results that changes the prizes of a day already settled ('CORRECCION', posted to the next
-- open day, the settled day untouched), and a prize that expired unpaid ('CADUCADO', posted back
-- on the day it expired, or the next open day). Amounts are what the sales point owes, as play.
CREATE TABLE central.ajustes (
    id            bigserial PRIMARY KEY,
    cod_vendedor  varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha         date NOT NULL,
    monto         numeric(14, 2) NOT NULL,
    concepto      varchar(10) NOT NULL CHECK (concepto IN ('CORRECCION', 'CADUCADO')),
    nroticket     varchar(10) NOT NULL REFERENCES central.tickets,
    detalle       text NOT NULL DEFAULT '',
    registrado    timestamp NOT NULL DEFAULT central.ahora()
);
CREATE INDEX ajustes_vendedor_fecha ON central.ajustes (cod_vendedor, fecha);
CREATE INDEX ajustes_ticket ON central.ajustes (nroticket, concepto);

-- The statement of every day a settlement closed, as it stood then: a settled day never changes.
CREATE TABLE central.estados_liquidados (
    cod_vendedor    varchar(5) NOT NULL REFERENCES central.vendedores,
    fecha           date NOT NULL,
    ultima          date,
    deuda           numeric        NOT NULL,
    cuenta          numeric        NOT NULL,
    movimiento      numeric        NOT NULL,
    deposito        numeric        NOT NULL,
    total           numeric        NOT NULL,
    saldo_prestamo  numeric        NOT NULL,
    total_general   numeric        NOT NULL,
    PRIMARY KEY (cod_vendedor, fecha)
);

-- Login attempts of the sellers, written in a transaction of their own (central.autonomo): an
-- attempt is pending ('P') from the moment it may check a password until it is known to have
-- failed ('F') or succeeded ('O'); a pending one counts as failed.
CREATE TABLE central.intentos_ingreso (
    id           bigserial PRIMARY KEY,
    -- a seller's code, or "@" and a vendor's code for the sales point's own password
    cod_usuario  varchar(6) NOT NULL,
    momento      timestamp NOT NULL,
    resultado    char(1) NOT NULL DEFAULT 'P' CHECK (resultado IN ('P', 'F', 'O'))
);
CREATE INDEX intentos_ingreso_usuario ON central.intentos_ingreso (cod_usuario, id);
