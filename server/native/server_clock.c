/*
 * central.reloj's rule, read by key: the office's fixed clock when it set one, else the
 * transaction's start in the installation's time zone, moved by its offset. Restated from the
 * view, which every other procedure keeps reading; a test holds the two together on a running
 * clock.
 */
#include "server_clock.h"

#include "keyed_reads.h"

#include "access/xact.h"
#include "utils/builtins.h"
#include "utils/timestamp.h"

Datum reloj_central(Snapshot snapshot) {
    Tabla instalacion = abrir("instalacion");
    Clave unica[1] = {logico("id", BoolGetDatum(true))};
    HeapTuple fila_unica = fila(&instalacion, snapshot, 1, unica);
    bool fijo_nulo, isnull;
    Datum fijo, zona, desfase, momento;
    if (fila_unica == NULL) elog(ERROR, "vendura_booking: no installation row");
    fijo = valor(&instalacion, fila_unica, "reloj_fijo", &fijo_nulo);
    zona = valor(&instalacion, fila_unica, "zona_horaria", &isnull);
    desfase = valor(&instalacion, fila_unica, "reloj_desfase", &isnull);
    momento =
        fijo_nulo
            ? DirectFunctionCall2(
                  timestamp_pl_interval,
                  DirectFunctionCall2(timestamptz_zone, zona,
                                      TimestampTzGetDatum(GetCurrentTransactionStartTimestamp())),
                  desfase)
            : fijo;
    cerrar(&instalacion);
    return momento;
}
