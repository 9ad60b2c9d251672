#include "keyed_reads.h"

#include "access/genam.h"
#include "access/htup_details.h"
#include "access/skey.h"
#include "access/stratnum.h"
#include "access/table.h"
#include "catalog/namespace.h"
#include "catalog/pg_collation.h"
#include "storage/lockdefs.h"
#include "utils/builtins.h"
#include "utils/fmgroids.h"
#include "utils/lsyscache.h"

Tabla abrir(const char* tabla) {
    Tabla t;
    char indice[NAMEDATALEN];
    Oid esquema = get_namespace_oid("central", false);
    Oid relid = get_relname_relid(tabla, esquema);
    if (!OidIsValid(relid)) elog(ERROR, "vendura_booking: no table central.%s", tabla);
    snprintf(indice, sizeof(indice), "%s_pkey", tabla);
    t.clave = get_relname_relid(indice, esquema);
    if (!OidIsValid(t.clave)) elog(ERROR, "vendura_booking: no index central.%s", indice);
    t.rel = table_open(relid, AccessShareLock);
    return t;
}

void cerrar(Tabla* t) {
    table_close(t->rel, NoLock);
}

AttrNumber columna_de(const Tabla* t, const char* columna) {
    TupleDesc d = RelationGetDescr(t->rel);
    for (int i = 0; i < d->natts; i++) {
        Form_pg_attribute a = TupleDescAttr(d, i);
        if (!a->attisdropped && strcmp(NameStr(a->attname), columna) == 0) return a->attnum;
    }
    elog(ERROR, "vendura_booking: no column %s in central.%s", columna,
         RelationGetRelationName(t->rel));
    return InvalidAttrNumber;
}

static Clave clave(const char* columna, RegProcedure igual, Oid collation, Datum valor) {
    Clave c = {columna, igual, collation, valor};
    return c;
}

Clave texto(const char* columna, Datum valor) {
    return clave(columna, F_TEXTEQ, DEFAULT_COLLATION_OID, valor);
}

Clave fecha(const char* columna, Datum valor) {
    return clave(columna, F_DATE_EQ, InvalidOid, valor);
}

Clave nombre(const char* columna, Datum valor) {
    return clave(columna, F_NAMEEQ, C_COLLATION_OID, valor);
}

Clave logico(const char* columna, Datum valor) {
    return clave(columna, F_BOOLEQ, InvalidOid, valor);
}

Clave octetos(const char* columna, Datum valor) {
    return clave(columna, F_BYTEAEQ, InvalidOid, valor);
}

static void llaves(const Tabla* t, int n, const Clave* claves, ScanKeyData* keys) {
    Assert(n >= 1 && n <= 2);
    for (int i = 0; i < n; i++)
        ScanKeyEntryInitialize(&keys[i], 0, columna_de(t, claves[i].columna), BTEqualStrategyNumber,
                               InvalidOid, claves[i].collation, claves[i].igual, claves[i].valor);
}

HeapTuple fila(const Tabla* t, Snapshot snapshot, int n, const Clave* claves) {
    ScanKeyData keys[2];
    SysScanDesc scan;
    HeapTuple tuple;
    llaves(t, n, claves, keys);
    scan = systable_beginscan(t->rel, t->clave, true, snapshot, n, keys);
    tuple = systable_getnext(scan);
    if (HeapTupleIsValid(tuple)) tuple = heap_copytuple(tuple);
    systable_endscan(scan);
    return tuple;
}

HeapTuple ultima_fila(const Tabla* t, Snapshot snapshot, int n, const Clave* claves) {
    ScanKeyData keys[2];
    Relation indice = index_open(t->clave, AccessShareLock);
    SysScanDesc scan;
    HeapTuple tuple;
    llaves(t, n, claves, keys);
    scan = systable_beginscan_ordered(t->rel, indice, snapshot, n, keys);
    tuple = systable_getnext_ordered(scan, BackwardScanDirection);
    if (HeapTupleIsValid(tuple)) tuple = heap_copytuple(tuple);
    systable_endscan_ordered(scan);
    index_close(indice, NoLock);
    return tuple;
}

Datum valor(const Tabla* t, HeapTuple tuple, const char* columna, bool* isnull) {
    return heap_getattr(tuple, columna_de(t, columna), RelationGetDescr(t->rel), isnull);
}

bool booleano(const Tabla* t, HeapTuple tuple, const char* columna) {
    bool isnull;
    Datum d = valor(t, tuple, columna, &isnull);
    return !isnull && DatumGetBool(d);
}

bool numero_de(const Tabla* t, HeapTuple tuple, const char* columna, Datum* numero) {
    bool isnull;
    Datum d = valor(t, tuple, columna, &isnull);
    if (isnull) return false;
    *numero = PointerGetDatum(PG_DETOAST_DATUM_COPY(d));
    return true;
}

char letra(const Tabla* t, HeapTuple tuple, const char* columna) {
    bool isnull;
    Datum d = valor(t, tuple, columna, &isnull);
    BpChar* b;
    if (isnull) return ' ';
    b = DatumGetBpCharPP(d);
    return VARSIZE_ANY_EXHDR(b) > 0 ? VARDATA_ANY(b)[0] : ' ';
}

bool mismo_texto(const Tabla* t, HeapTuple tuple, const char* columna, Datum texto) {
    bool isnull;
    Datum d = valor(t, tuple, columna, &isnull);
    return !isnull &&
           DatumGetBool(DirectFunctionCall2Coll(texteq, DEFAULT_COLLATION_OID, d, texto));
}
