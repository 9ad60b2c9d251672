/*
 * The rules booking reads for each item, fetched by key. The same reads as a query would make,
 * with none of a query's setup: at every play a statement over these five tables cost the
 * server more to set up and tear down than to run, and more the more sales points sold at once.
 *
 * The rules are central.venta_loteria's (with central.estado_del_sorteo's draw state) and
 * central.cupo's, which the rest of the server keeps using; a test sells against random rules
 * and holds every answer to what those functions say.
 */
#include "sale_rules.h"

#include "keyed_reads.h"

#include "utils/builtins.h"
#include "utils/date.h"
#include "utils/datetime.h"
#include "utils/numeric.h"

/* A number of three digits is a triple, with its own quota; "07*" and "7**" are terminales. */
static bool es_triple(Datum numero) {
    text* t = DatumGetTextPP(numero);
    const char* s = VARDATA_ANY(t);
    if (VARSIZE_ANY_EXHDR(t) != 3) return false;
    for (int i = 0; i < 3; i++)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

typedef struct Tablas {
    Tabla loterias, sorteos, resultados, inactivas, cupos;
} Tablas;

/* Whether the day's draw is open ('A' of central.estado_del_sorteo) for a lottery that
 * exists, on the moment's own day. */
static bool sorteo_abierto(Tablas* ts, Snapshot snapshot, HeapTuple loteria, Datum lot, Datum hoy,
                           TimeADT hora, int dia, HeapTuple* sorteo) {
    Clave del_dia[2] = {texto("cod_lot", lot), fecha("fecha", hoy)};
    char dia_columna[8];
    bool isnull;
    Datum cierre;
    HeapTuple resultado = fila(&ts->resultados, snapshot, 2, del_dia);
    *sorteo = fila(&ts->sorteos, snapshot, 2, del_dia);
    if (resultado != NULL) return false;
    if (*sorteo != NULL &&
        (booleano(&ts->sorteos, *sorteo, "anulado") || booleano(&ts->sorteos, *sorteo, "cerrado")))
        return false;
    snprintf(dia_columna, sizeof(dia_columna), "dia_%d", dia);
    if (!booleano(&ts->loterias, loteria, dia_columna)) return false;
    cierre = *sorteo != NULL ? valor(&ts->sorteos, *sorteo, "hora_cierre", &isnull) : (Datum)0;
    if (*sorteo == NULL || isnull) cierre = valor(&ts->loterias, loteria, "hora_cierre", &isnull);
    return isnull ? false : hora < DatumGetTimeADT(cierre);
}

/* The quota of a number: its own, else the draw's, else the lottery's (for triples or for
 * terminales). */
static Datum cupo_de(Tablas* ts, Snapshot snapshot, HeapTuple loteria, HeapTuple sorteo, Datum lot,
                     Datum numero) {
    Clave del_numero[2] = {texto("cod_lot", lot), texto("numero", numero)};
    const char* columna = es_triple(numero) ? "cupo_triple" : "cupo_terminal";
    HeapTuple propio = fila(&ts->cupos, snapshot, 2, del_numero);
    Datum cupo;
    if (propio != NULL && numero_de(&ts->cupos, propio, "cupo", &cupo)) return cupo;
    if (sorteo != NULL && numero_de(&ts->sorteos, sorteo, columna, &cupo)) return cupo;
    if (numero_de(&ts->loterias, loteria, columna, &cupo)) return cupo;
    return NumericGetDatum(int64_to_numeric(0));
}

void reglas_de_venta(int n, const Datum* lots, const Datum* numeros, Datum momento, Datum vendedor,
                     Datum tipo, Snapshot snapshot, Regla* reglas) {
    Tablas ts = {abrir("loterias"), abrir("sorteos"), abrir("resultados"),
                 abrir("loterias_inactivas"), abrir("cupos_numero")};
    Datum hoy = DirectFunctionCall1(timestamp_date, momento);
    TimeADT hora = DatumGetTimeADT(DirectFunctionCall1(timestamp_time, momento));
    int dia = j2day(DatumGetDateADT(hoy) + POSTGRES_EPOCH_JDATE);
    /* a straight play needs a lottery that takes more than special plays; a special play, one
     * that takes more than straight ones */
    BpChar* clase = DatumGetBpCharPP(tipo);
    char excluye = VARSIZE_ANY_EXHDR(clase) > 0 && VARDATA_ANY(clase)[0] == '2' ? 'N' : 'S';
    if (dia == 0) dia = 7; /* Sunday is the week's seventh day */

    for (int k = 0; k < n; k++) {
        Clave de_loteria[1] = {texto("cod_lot", lots[k])};
        Clave inactiva[2] = {texto("cod_vendedor", vendedor), texto("cod_lot", lots[k])};
        HeapTuple loteria = fila(&ts.loterias, snapshot, 1, de_loteria);
        HeapTuple sorteo = NULL;
        Regla* r = &reglas[k];
        r->existe = loteria != NULL;
        r->vende = false;
        r->cupo = NumericGetDatum(int64_to_numeric(0));
        if (loteria == NULL) continue;
        r->vende = !booleano(&ts.loterias, loteria, "cerrada") &&
                   sorteo_abierto(&ts, snapshot, loteria, lots[k], hoy, hora, dia, &sorteo) &&
                   fila(&ts.inactivas, snapshot, 2, inactiva) == NULL &&
                   letra(&ts.loterias, loteria, "juegaespecial") != excluye;
        r->cupo = cupo_de(&ts, snapshot, loteria, sorteo, lots[k], numeros[k]);
    }
    cerrar(&ts.loterias);
    cerrar(&ts.sorteos);
    cerrar(&ts.resultados);
    cerrar(&ts.inactivas);
    cerrar(&ts.cupos);
}
