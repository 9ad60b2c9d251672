/*
 * Statements of the compiled booking, prepared once per server process and kept.
 */
#include "statements.h"

#include "access/htup_details.h"
#include "catalog/pg_type.h"
#include "funcapi.h"
#include "utils/array.h"

static SPIPlanPtr preparada(Sentencia* s) {
    if (s->plan == NULL) {
        SPIPlanPtr p = SPI_prepare_cursor(s->sql, s->nargs, s->types, CURSOR_OPT_GENERIC_PLAN);
        if (p == NULL) elog(ERROR, "vendura_booking: %s", SPI_result_code_string(SPI_result));
        if (SPI_keepplan(p) != 0) elog(ERROR, "vendura_booking: plan not kept");
        s->plan = p;
    }
    return s->plan;
}

void ejecutar(Sentencia* s, Datum* values, const char* nulls, long rows) {
    int rc = SPI_execute_plan(preparada(s), values, nulls, false, rows);
    if (rc < 0) elog(ERROR, "vendura_booking: %s", SPI_result_code_string(rc));
}

Portal abrir_cursor(Sentencia* s, const char* name, Datum* values, const char* nulls) {
    return SPI_cursor_open(name, preparada(s), values, nulls, false);
}

Datum columna(int c, bool* isnull) {
    return SPI_getbinval(SPI_tuptable->vals[0], SPI_tuptable->tupdesc, c, isnull);
}

Datum arreglo(Datum* values, int n, Oid type) {
    if (type == INT4OID) return PointerGetDatum(construct_array(values, n, INT4OID, 4, true, 'i'));
    return PointerGetDatum(construct_array(values, n, type, -1, false, 'i'));
}

Datum* elementos(Datum array) {
    Datum* values;
    int count;
    deconstruct_array(DatumGetArrayTypeP(array), ARR_ELEMTYPE(DatumGetArrayTypeP(array)), -1, false,
                      'i', &values, NULL, &count);
    return values;
}

Datum registro(FunctionCallInfo fcinfo, Datum* values, bool* nulls) {
    TupleDesc desc;
    if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
        elog(ERROR, "vendura_booking: no record to answer with");
    return HeapTupleGetDatum(heap_form_tuple(BlessTupleDesc(desc), values, nulls));
}
