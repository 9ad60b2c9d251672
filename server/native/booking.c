/*
 * central.reservar: books the items of one play call against the quota of their numbers.
 *
 * Compiled code for the interpreter's sake alone: a PL/pgSQL function sets up every expression
 * of its own again in each transaction, and for a play of a few items that glue cost the server
 * more than the statements it ran. The rows every call reads (who calls, seller.c) and those a
 * call of a few items reads (its lotteries' rules, sale_rules.c) are read by key, without a
 * statement; the same rules as central.cuenta_de_llamada, central.puede_vender,
 * central.venta_loteria and central.cupo, which the rest of the server asks. Locking and
 * writing stay in SQL: the ticket's lock, the numbers' quota, the items, and booking over the
 * arrays (central.reservar_en_bloque). Each statement is prepared once per server process, with
 * a generic plan, and kept; none is built from the call's values.
 */
#include "booking.h"

#include "keyed_reads.h"
#include "sale_rules.h"
#include "seller.h"
#include "server_clock.h"

#include "catalog/pg_collation.h"
#include "catalog/pg_type.h"
#include "fmgr.h"
#include "utils/array.h"
#include "utils/builtins.h"
#include "utils/datum.h"
#include "utils/numeric.h"
#include "utils/portal.h"
#include "utils/snapmgr.h"

PG_MODULE_MAGIC;

/* a call of up to this many items, by a sales point with the whole quota, is booked item by
 * item; any other over the arrays */
#define POCOS_ITEMS 8

/* The ticket under its lock, taken only once the vendor is known to be the caller's. */
static Sentencia bloqueo = {
    "SELECT t.estado FROM central.tickets_temporales t "
    "WHERE t.nticket = $2 AND t.cod_vendedor = $1 FOR UPDATE",
    2,
    {VARCHAROID, VARCHAROID}};

/* The number's row takes the whole amount when it has room for it, under its own lock. */
static Sentencia toma_si_cabe = {
    "UPDATE central.ventas_numero v SET vendido = v.vendido + $4 "
    "WHERE v.cod_lot = $1 AND v.fecha = $2 AND v.numero = $3 AND v.vendido + $4 <= $5",
    5,
    {VARCHAROID, DATEOID, VARCHAROID, NUMERICOID, NUMERICOID}};

/* Sold out as last committed: nothing is taken, without waiting for the row's lock. */
static Sentencia agotado = {
    "SELECT v.vendido >= $5 FROM central.ventas_numero v "
    "WHERE v.cod_lot = $1 AND v.fecha = $2 AND v.numero = $3",
    5,
    {VARCHAROID, DATEOID, VARCHAROID, NUMERICOID, NUMERICOID}};

static Sentencia primera_venta = {
    "INSERT INTO central.ventas_numero (cod_lot, fecha, numero, vendido) "
    "VALUES ($1, $2, $3, trunc(least($4, greatest($5, 0)), 2)) "
    "ON CONFLICT DO NOTHING RETURNING trunc(least($4, greatest($5, 0)), 2)",
    5,
    {VARCHAROID, DATEOID, VARCHAROID, NUMERICOID, NUMERICOID}};

static Sentencia resto_bloqueado = {
    "SELECT trunc(least($4, greatest($5 - v.vendido, 0)), 2) "
    "FROM central.ventas_numero v "
    "WHERE v.cod_lot = $1 AND v.fecha = $2 AND v.numero = $3 "
    "FOR UPDATE",
    5,
    {VARCHAROID, DATEOID, VARCHAROID, NUMERICOID, NUMERICOID}};

static Sentencia toma = {
    "UPDATE central.ventas_numero v SET vendido = v.vendido + $4 "
    "WHERE v.cod_lot = $1 AND v.fecha = $2 AND v.numero = $3",
    4,
    {VARCHAROID, DATEOID, VARCHAROID, NUMERICOID}};

/* The items, in one statement; a code that names no lottery ('-') is answered, not kept. */
static Sentencia items = {
    "INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, cod_lot, "
    "fecha_sorteo, numero, monto_pedido, monto_vendido, status, tipo, jugada, especial, "
    "variante, creado) "
    "SELECT $1, $2 + x.k, $3, $4, x.l, $5::date, x.num, x.m, x.v, x.s, $6, $7, $8, $9[x.k], $5 "
    "FROM unnest($10::varchar[], $11::varchar[], $12::numeric[], $13::numeric[], "
    "$14::varchar[]) WITH ORDINALITY AS x(l, num, m, v, s, k) "
    "WHERE x.s <> '-'",
    14,
    {VARCHAROID, INT4OID, VARCHAROID, VARCHAROID, TIMESTAMPOID, BPCHAROID, VARCHAROID, VARCHAROID,
     VARCHARARRAYOID, VARCHARARRAYOID, VARCHARARRAYOID, NUMERICARRAYOID, NUMERICARRAYOID,
     VARCHARARRAYOID}};

static Sentencia en_bloque = {
    "SELECT b.codigo, b.vendido, b.st, b.r_ultimo "
    "FROM central.reservar_en_bloque($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, "
    "$14) b",
    14,
    {VARCHAROID, VARCHAROID, VARCHAROID, INT4OID, VARCHARARRAYOID, VARCHARARRAYOID, NUMERICARRAYOID,
     BPCHAROID, VARCHAROID, VARCHAROID, VARCHARARRAYOID, TIMESTAMPOID, NUMERICOID, INT4OID}};

/* The highest item of a temporary ticket; false when it has none. */
static bool ultimo_item_de(Datum nticket, Snapshot snapshot, int* ultimo) {
    Tabla items = abrir("items_ticket");
    Clave del_ticket[1] = {texto("nticket", nticket)};
    HeapTuple ultima = ultima_fila(&items, snapshot, 1, del_ticket);
    bool isnull;
    if (ultima != NULL) *ultimo = DatumGetInt32(valor(&items, ultima, "num_item", &isnull));
    cerrar(&items);
    return ultima != NULL;
}

/* The items in the order their numbers' rows are locked in, as every booking takes them:
 * lottery, number, item, compared as the database's ORDER BY compares them. */
static void en_orden_de_bloqueo(const Reserva* r, int* orden) {
    for (int j = 0; j < r->n; j++) {
        int k = j;
        for (; k > 0; k--) {
            int i = orden[k - 1];
            int c = DatumGetInt32(
                DirectFunctionCall2Coll(bttextcmp, DEFAULT_COLLATION_OID, r->lots[i], r->lots[j]));
            if (c == 0)
                c = DatumGetInt32(DirectFunctionCall2Coll(bttextcmp, DEFAULT_COLLATION_OID,
                                                          r->numeros[i], r->numeros[j]));
            if (c <= 0) break;
            orden[k] = i;
        }
        orden[k] = j;
    }
}

static Datum cero(void) {
    return NumericGetDatum(int64_to_numeric(0));
}

int compara(Datum a, Datum b) {
    return DatumGetInt32(DirectFunctionCall2(numeric_cmp, a, b));
}

static bool es_cero(Datum numero) {
    return compara(numero, cero()) == 0;
}

/* What one item takes of its number's quota: the whole amount when the number has room for
 * it, nothing when it is sold out as last committed, else what is left under the row's lock. */
static Datum tomar(Datum lot, Datum hoy, Datum numero, Datum monto, Datum cupo) {
    Datum values[5] = {lot, hoy, numero, monto, cupo};
    bool isnull;
    Datum resto;
    ejecutar(&toma_si_cabe, values, NULL, 0);
    if (SPI_processed == 1) return monto;
    ejecutar(&agotado, values, NULL, 1);
    if (SPI_processed == 0) {
        ejecutar(&primera_venta, values, NULL, 1);
        if (SPI_processed == 1) return datumCopy(columna(1, &isnull), false, -1);
    } else if (DatumGetBool(columna(1, &isnull))) {
        return cero();
    }
    ejecutar(&resto_bloqueado, values, NULL, 1);
    if (SPI_processed == 0) return cero();
    resto = datumCopy(columna(1, &isnull), false, -1);
    if (!es_cero(resto)) {
        values[3] = resto;
        ejecutar(&toma, values, NULL, 0);
    }
    return resto;
}

/* The answer's arrays for the items named in cuales (m of them, by index). */
static void responder_items(const Reserva* r, const int* cuales, int m, const Datum* vendido,
                            const Datum* st, Respuesta* a) {
    Datum* lot = palloc(sizeof(Datum) * (m + 1));
    Datum* num = palloc(sizeof(Datum) * (m + 1));
    Datum* monto = palloc(sizeof(Datum) * (m + 1));
    Datum* status = palloc(sizeof(Datum) * (m + 1));
    Datum* item = palloc(sizeof(Datum) * (m + 1));
    for (int j = 0; j < m; j++) {
        int k = cuales[j];
        lot[j] = r->lots[k];
        num[j] = r->numeros[k];
        monto[j] = vendido[k];
        status[j] = st[k];
        item[j] = Int32GetDatum(r->base + k + 1);
    }
    a->r_lot = arreglo(lot, m, VARCHAROID);
    a->r_num = arreglo(num, m, VARCHAROID);
    a->r_monto = arreglo(monto, m, NUMERICOID);
    a->r_status = arreglo(status, m, VARCHAROID);
    a->r_item = arreglo(item, m, INT4OID);
}

/* The answer of a refused call: every item with status '9' and nothing sold. */
static void rechazo(const Reserva* r, Respuesta* a) {
    int* todos = palloc(sizeof(int) * (r->n + 1));
    Datum* vendido = palloc(sizeof(Datum) * (r->n + 1));
    Datum* st = palloc(sizeof(Datum) * (r->n + 1));
    for (int k = 0; k < r->n; k++) {
        todos[k] = k;
        vendido[k] = cero();
        st[k] = CStringGetTextDatum("9");
    }
    responder_items(r, todos, r->n, vendido, st, a);
}

/* The answer of a booked call: every item not sold in full, a code that names no lottery ('-')
 * as a closed lottery. */
static void responder(const Reserva* r, Datum* vendido, Datum* st, Respuesta* a) {
    int* cuales = palloc(sizeof(int) * (r->n + 1));
    int m = 0;
    for (int k = 0; k < r->n; k++) {
        char* s = TextDatumGetCString(st[k]);
        if (strcmp(s, "0") == 0) continue;
        if (strcmp(s, "-") == 0) st[k] = CStringGetTextDatum("4");
        cuales[m++] = k;
    }
    a->codigo = m > 0 ? 1 : 0;
    responder_items(r, cuales, m, vendido, st, a);
}

Respuesta reservar(const Reserva* r) {
    MemoryContext caller = CurrentMemoryContext;
    MemoryContext spi;
    Respuesta a = {0};
    Datum values[14];
    char nulls[15];
    bool isnull, uno_a_uno, sin_items;
    Regla* reglas = NULL;
    Vendedor quien;
    Datum momento, hoy, parte;
    Datum *vendido, *st;
    Datum lots, numeros;
    int n = r->n;
    int ultimo;

    a.r_ultimo = r->base;
    if (n == 0) {
        responder(r, NULL, NULL, &a);
        return a;
    }
    if (SPI_connect() != SPI_OK_CONNECT) elog(ERROR, "reservar: no SPI");

    {
        Snapshot snapshot = RegisterSnapshot(GetTransactionSnapshot());
        momento = reloj_central(snapshot);
        quien = vendedor_de_llamada(r->vendedor, r->usuario, momento, snapshot);
        UnregisterSnapshot(snapshot);
    }
    if (quien.propio) {
        values[0] = r->vendedor;
        values[1] = r->nticket;
        ejecutar(&bloqueo, values, NULL, 0);
    }
    {
        char* estado = NULL;
        if (quien.propio && SPI_processed == 1) {
            Datum e = columna(1, &isnull);
            if (!isnull) estado = TextDatumGetCString(e);
        }
        if (estado == NULL || strcmp(estado, "ABI") != 0 || !quien.activo) {
            /* a ticket released for want of plays (or by the central office) says so */
            a.codigo = estado != NULL && strcmp(estado, "LIB") == 0 ? 80 : 73;
            SPI_finish();
            rechazo(r, &a);
            return a;
        }
        parte = quien.cupo_porcentaje;
        uno_a_uno = n <= POCOS_ITEMS && compara(parte, NumericGetDatum(int64_to_numeric(100))) >= 0;
        hoy = DirectFunctionCall1(timestamp_date, momento);
    }

    lots = arreglo(r->lots, n, VARCHAROID);
    numeros = arreglo(r->numeros, n, VARCHAROID);
    /* Read once the ticket is locked, under a snapshot taken after the lock: a call repeated
     * after a lost answer may have waited for the lock of the very call it repeats, and must
     * see its items. */
    {
        Snapshot snapshot = RegisterSnapshot(GetTransactionSnapshot());
        sin_items = !ultimo_item_de(r->nticket, snapshot, &ultimo);
        if (sin_items) ultimo = 0;
        if (uno_a_uno) {
            reglas = palloc(sizeof(Regla) * n);
            reglas_de_venta(n, r->lots, r->numeros, momento, r->vendedor, r->tipo, snapshot,
                            reglas);
        }
        UnregisterSnapshot(snapshot);
    }
    vendido = palloc(sizeof(Datum) * n);
    st = palloc(sizeof(Datum) * n);

    /* a call repeated after a lost answer is answered over the arrays */
    if (uno_a_uno && ultimo <= r->base) {
        int* orden = palloc(sizeof(int) * n);
        en_orden_de_bloqueo(r, orden);
        for (int j = 0; j < n; j++) {
            int i = orden[j];
            if (!reglas[i].vende) {
                vendido[i] = cero();
                st[i] = CStringGetTextDatum(reglas[i].existe ? "4" : "-");
                continue;
            }
            vendido[i] = tomar(r->lots[i], hoy, r->numeros[i], r->montos[i], reglas[i].cupo);
            st[i] = CStringGetTextDatum(compara(vendido[i], r->montos[i]) == 0 ? "0"
                                        : es_cero(vendido[i])                  ? "1"
                                                                               : "2");
        }
        values[0] = r->nticket;
        values[1] = Int32GetDatum(r->base);
        values[2] = r->vendedor;
        values[3] = r->usuario;
        values[4] = momento;
        values[5] = r->tipo;
        values[6] = r->jugada;
        values[7] = r->especial;
        values[8] = r->variantes;
        values[9] = lots;
        values[10] = numeros;
        values[11] = arreglo(r->montos, n, NUMERICOID);
        values[12] = arreglo(vendido, n, NUMERICOID);
        values[13] = arreglo(st, n, VARCHAROID);
        memset(nulls, ' ', sizeof(nulls));
        nulls[6] = r->jugada_nula ? 'n' : ' ';
        nulls[7] = r->especial_nula ? 'n' : ' ';
        nulls[8] = r->variantes_nula ? 'n' : ' ';
        ejecutar(&items, values, nulls, 0);
        a.r_ultimo = r->base + n;
    } else {
        values[0] = r->vendedor;
        values[1] = r->usuario;
        values[2] = r->nticket;
        values[3] = Int32GetDatum(r->base);
        values[4] = lots;
        values[5] = numeros;
        values[6] = arreglo(r->montos, n, NUMERICOID);
        values[7] = r->tipo;
        values[8] = r->jugada;
        values[9] = r->especial;
        values[10] = r->variantes;
        values[11] = momento;
        values[12] = parte;
        values[13] = Int32GetDatum(ultimo);
        memset(nulls, ' ', sizeof(nulls));
        nulls[8] = r->jugada_nula ? 'n' : ' ';
        nulls[9] = r->especial_nula ? 'n' : ' ';
        nulls[10] = r->variantes_nula ? 'n' : ' ';
        nulls[13] = sin_items ? 'n' : ' ';
        ejecutar(&en_bloque, values, nulls, 1);
        a.codigo = DatumGetInt32(columna(1, &isnull));
        a.r_ultimo = DatumGetInt32(columna(4, &isnull));
        if (a.codigo == 74) {
            SPI_finish();
            rechazo(r, &a);
            return a;
        }
        {
            Datum* v = elementos(columna(2, &isnull));
            Datum* s = elementos(columna(3, &isnull));
            for (int k = 0; k < n; k++) {
                vendido[k] = v[k];
                st[k] = s[k];
            }
        }
    }
    spi = MemoryContextSwitchTo(caller);
    responder(r, vendido, st, &a);
    MemoryContextSwitchTo(spi);
    SPI_finish();
    return a;
}

/* The values of an array argument (none for NULL). Every item has a lottery, a number and an
 * amount: the procedures that call build them so. */
static Datum* elementos_de(FunctionCallInfo fcinfo, int arg, int* n) {
    ArrayType* array;
    Datum* values;
    bool* nulls;
    if (PG_ARGISNULL(arg)) {
        *n = 0;
        return NULL;
    }
    array = PG_GETARG_ARRAYTYPE_P(arg);
    deconstruct_array(array, ARR_ELEMTYPE(array), -1, false, 'i', &values, &nulls, n);
    for (int k = 0; k < *n; k++)
        if (nulls[k]) elog(ERROR, "reservar: item %d has no lottery, number or amount", k + 1);
    return values;
}

PG_FUNCTION_INFO_V1(reservar_sql);

/*
 * central.reservar(p_vendedor, p_usuario, p_nticket, p_base, p_lots, p_numeros, p_montos,
 *                  p_tipo, p_jugada, p_especial, p_variantes,
 *                  OUT codigo, OUT r_lot, OUT r_num, OUT r_monto, OUT r_status, OUT r_item,
 *                  OUT r_ultimo)
 */
Datum reservar_sql(PG_FUNCTION_ARGS) {
    Reserva r = {0};
    Respuesta a;
    Datum values[7];
    bool nulls[7] = {false, false, false, false, false, false, false};
    int lots, numeros, montos;
    if (PG_ARGISNULL(3) || PG_ARGISNULL(7)) elog(ERROR, "reservar: no item base or play kind");
    r.vendedor = PG_ARGISNULL(0) ? (Datum)0 : PG_GETARG_DATUM(0);
    r.usuario = PG_ARGISNULL(1) ? (Datum)0 : PG_GETARG_DATUM(1);
    r.nticket = PG_ARGISNULL(2) ? (Datum)0 : PG_GETARG_DATUM(2);
    r.base = PG_GETARG_INT32(3);
    r.lots = elementos_de(fcinfo, 4, &lots);
    r.numeros = elementos_de(fcinfo, 5, &numeros);
    r.montos = elementos_de(fcinfo, 6, &montos);
    r.n = lots;
    if (numeros != lots || montos != lots)
        elog(ERROR, "reservar: %d lotteries, %d numbers, %d amounts", lots, numeros, montos);
    r.tipo = PG_GETARG_DATUM(7);
    r.jugada_nula = PG_ARGISNULL(8);
    r.jugada = r.jugada_nula ? (Datum)0 : PG_GETARG_DATUM(8);
    r.especial_nula = PG_ARGISNULL(9);
    r.especial = r.especial_nula ? (Datum)0 : PG_GETARG_DATUM(9);
    r.variantes_nula = PG_ARGISNULL(10);
    r.variantes = r.variantes_nula ? (Datum)0 : PG_GETARG_DATUM(10);

    if (PG_ARGISNULL(0) || PG_ARGISNULL(1) || PG_ARGISNULL(2)) {
        /* no ticket of a vendor and seller of this login: refused, nothing touched */
        a.codigo = 73;
        a.r_ultimo = r.base;
        rechazo(&r, &a);
    } else {
        a = reservar(&r);
    }

    values[0] = Int32GetDatum(a.codigo);
    values[1] = a.r_lot;
    values[2] = a.r_num;
    values[3] = a.r_monto;
    values[4] = a.r_status;
    values[5] = a.r_item;
    values[6] = Int32GetDatum(a.r_ultimo);
    PG_RETURN_DATUM(registro(fcinfo, values, nulls));
}
