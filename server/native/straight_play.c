/*
 * public.xcreanormal, the counter's most frequent call: one number for one amount on each
 * lottery of a code list, booked by central.reservar's compiled code in this same call.
 *
 * The call's text is read here only when it is plainly a play (a number of 1 to 3 digits, an
 * item base of digits, a code list in plain ASCII of at most the lotteries booked item by
 * item), with an amount central.monto_jugada would read (its rule restated here, and held to
 * it by the compiled booking's test against the general procedure). Any other call, and every
 * refusal, goes whole to central.crea_normal, the procedure of every case, which answers it and
 * writes the audit trail: nothing is booked here before that decision.
 */
#include "booking.h"

#include "catalog/pg_type.h"
#include "fmgr.h"
#include "utils/builtins.h"
#include "utils/portal.h"

/* the lotteries of a code list read here: more go to the general procedure */
#define MOST_LOTTERIES 8

static Sentencia respuesta = {
    "SELECT x.l AS cod_lot, x.num AS numero, x.m AS monto, x.s AS status, "
    "x.k::text AS titems, $6::integer AS ultimo_item "
    "FROM unnest($1::varchar[], $2::varchar[], $3::numeric[], $4::varchar[], $5::integer[]) "
    "AS x(l, num, m, s, k)",
    6,
    {VARCHARARRAYOID, VARCHARARRAYOID, NUMERICARRAYOID, VARCHARARRAYOID, INT4ARRAYOID, INT4OID}};

/* A call sold in full answers no row. */
static Sentencia sin_filas = {
    "SELECT NULL::varchar AS cod_lot, NULL::varchar AS numero, NULL::numeric AS monto, "
    "NULL::varchar AS status, NULL::text AS titems, NULL::integer AS ultimo_item WHERE false",
    0,
    {InvalidOid}};

static Sentencia general = {
    "SELECT c.return_value, c.rs "
    "FROM central.crea_normal($1, $2, $3, $4, $5, $6, $7, $8) c",
    8,
    {VARCHAROID, VARCHAROID, VARCHAROID, VARCHAROID, VARCHAROID, VARCHAROID, VARCHAROID,
     REFCURSOROID}};

/* A text argument without its leading and trailing blanks ("" for NULL), as trim() reads it. */
static void recortado(FunctionCallInfo fcinfo, int arg, const char** start, int* length) {
    const char* s = "";
    int n = 0;
    if (!PG_ARGISNULL(arg)) {
        text* t = PG_GETARG_TEXT_PP(arg);
        s = VARDATA_ANY(t);
        n = VARSIZE_ANY_EXHDR(t);
    }
    while (n > 0 && *s == ' ') s++, n--;
    while (n > 0 && s[n - 1] == ' ') n--;
    *start = s;
    *length = n;
}

static bool digitos(const char* s, int n, int most) {
    if (n < 1 || n > most) return false;
    for (int i = 0; i < n; i++)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

static Datum numeric_de(const char* s) {
    return DirectFunctionCall3(numeric_in, CStringGetDatum(s), ObjectIdGetDatum(InvalidOid),
                               Int32GetDatum(-1));
}

/* The amount of a play as the counter typed it, by central.monto_jugada's rule: blanks around
 * it aside, at most nine digits before an optional point and any after it (or a point and
 * digits); above zero, at most 999999.99, in whole céntimos. Read as a number, in the scale
 * typed, only once its text is known to be one. False for anything else. */
static bool monto_jugada(FunctionCallInfo fcinfo, int arg, Datum* monto) {
    const char* s;
    int n, enteros = 0, decimales = 0;
    bool punto = false;
    recortado(fcinfo, arg, &s, &n);
    for (int i = 0; i < n; i++) {
        if (s[i] == '.' && !punto)
            punto = true;
        else if (s[i] >= '0' && s[i] <= '9')
            *(punto ? &decimales : &enteros) += 1;
        else
            return false;
    }
    if (enteros > 9 || enteros + decimales == 0) return false;
    *monto = numeric_de(pnstrdup(s, n));
    return compara(*monto, numeric_de("0")) > 0 && compara(*monto, numeric_de("999999.99")) <= 0 &&
           compara(*monto, DirectFunctionCall2(numeric_round, *monto, Int32GetDatum(2))) == 0;
}

static Datum varchar_de(const char* s, int n) {
    return PointerGetDatum(cstring_to_text_with_len(s, n));
}

/* The CALL's output arguments: the return value and the answer's cursor. */
static Datum contestar(FunctionCallInfo fcinfo, int return_value, const char* cursor) {
    Datum values[2] = {Int32GetDatum(return_value), CStringGetTextDatum(cursor)};
    bool nulls[2] = {false, false};
    return registro(fcinfo, values, nulls);
}

/* The general procedure answers the call whole. */
static Datum por_el_general(FunctionCallInfo fcinfo, const char* cursor) {
    MemoryContext caller = CurrentMemoryContext;
    Datum values[8];
    char nulls[8];
    bool isnull;
    int return_value;
    char* name;
    if (SPI_connect() != SPI_OK_CONNECT) elog(ERROR, "xcreanormal: no SPI");
    for (int i = 0; i < 7; i++) {
        nulls[i] = PG_ARGISNULL(i + 1) ? 'n' : ' ';
        values[i] = PG_ARGISNULL(i + 1) ? (Datum)0 : PG_GETARG_DATUM(i + 1);
    }
    nulls[7] = cursor ? ' ' : 'n';
    values[7] = cursor ? CStringGetTextDatum(cursor) : (Datum)0;
    ejecutar(&general, values, nulls, 1);
    return_value = DatumGetInt32(columna(1, &isnull));
    name = MemoryContextStrdup(caller, TextDatumGetCString(columna(2, &isnull)));
    SPI_finish();
    return contestar(fcinfo, return_value, name);
}

PG_FUNCTION_INFO_V1(xcreanormal);

/*
 * public.xcreanormal(INOUT return_value, t_vendedor, t_usuario, t_numero_cadena,
 *                    t_monto_normal, num_item, t_cod_lot, nticket, INOUT rs)
 */
Datum xcreanormal(PG_FUNCTION_ARGS) {
    char* cursor = PG_ARGISNULL(8) ? NULL : text_to_cstring(PG_GETARG_TEXT_PP(8));
    const char *numero, *item, *ticket, *codes;
    int numero_len, item_len, ticket_len, codes_len;
    char numero_ticket[3];
    Datum lots[MOST_LOTTERIES];
    Datum numeros[MOST_LOTTERIES];
    Datum monto;
    Datum montos[MOST_LOTTERIES];
    Reserva r = {0};
    Respuesta a;
    Datum values[6];
    Portal portal;
    char* name;
    MemoryContext caller;

    recortado(fcinfo, 3, &numero, &numero_len);
    recortado(fcinfo, 5, &item, &item_len);
    recortado(fcinfo, 7, &ticket, &ticket_len);
    if (PG_ARGISNULL(1) || PG_ARGISNULL(2) || PG_ARGISNULL(4) || PG_ARGISNULL(6) ||
        !digitos(numero, numero_len, 3) || !digitos(item, item_len, 9) ||
        !monto_jugada(fcinfo, 4, &monto))
        return por_el_general(fcinfo, cursor);
    {
        text* t = PG_GETARG_TEXT_PP(6);
        codes = VARDATA_ANY(t);
        codes_len = VARSIZE_ANY_EXHDR(t);
    }
    if (codes_len == 0 || codes_len > 3 * MOST_LOTTERIES) return por_el_general(fcinfo, cursor);

    /* three characters a code, each without its blanks and in capitals */
    for (int k = 0; k < codes_len; k += 3) {
        int from = k, to = k + 3 < codes_len ? k + 3 : codes_len;
        char code[3];
        int len = 0;
        while (from < to && codes[from] == ' ') from++;
        while (to > from && codes[to - 1] == ' ') to--;
        for (int c = from; c < to; c++) {
            unsigned char ch = (unsigned char)codes[c];
            if (ch >= 0x80) return por_el_general(fcinfo, cursor);
            code[len++] = (char)(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
        }
        lots[r.n++] = varchar_de(code, len);
    }
    /* the number as the ticket shows it: "7" -> "7**", "07" -> "07*" */
    memset(numero_ticket, '*', sizeof(numero_ticket));
    memcpy(numero_ticket, numero, numero_len);
    for (int k = 0; k < r.n; k++) {
        numeros[k] = varchar_de(numero_ticket, 3);
        montos[k] = monto;
    }

    r.vendedor = PG_GETARG_DATUM(1);
    r.usuario = PG_GETARG_DATUM(2);
    r.nticket = varchar_de(ticket, ticket_len);
    r.base = atoi(pnstrdup(item, item_len));
    r.lots = lots;
    r.numeros = numeros;
    r.montos = montos;
    r.tipo = CStringGetTextDatum("1");
    r.jugada = CStringGetTextDatum("Venta Normal");
    r.especial_nula = true;
    r.variantes_nula = true;
    a = reservar(&r);
    /* refused: the general procedure answers, and audits a foreign caller */
    if (a.codigo == 73) return por_el_general(fcinfo, cursor);

    caller = CurrentMemoryContext;
    if (SPI_connect() != SPI_OK_CONNECT) elog(ERROR, "xcreanormal: no SPI");
    values[0] = a.r_lot;
    values[1] = a.r_num;
    values[2] = a.r_monto;
    values[3] = a.r_status;
    values[4] = a.r_item;
    values[5] = Int32GetDatum(a.r_ultimo);
    portal = abrir_cursor(a.codigo == 0 ? &sin_filas : &respuesta, cursor, values, NULL);
    name = MemoryContextStrdup(caller, portal->name);
    SPI_finish();
    return contestar(fcinfo, a.codigo, name);
}
