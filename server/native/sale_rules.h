/*
 * What booking reads of the office's rules for the items of a play, read row by row through
 * the tables' keys, without the executor.
 */
#ifndef VENDURA_SALE_RULES_H
#define VENDURA_SALE_RULES_H

#include "postgres.h"

#include "utils/snapshot.h"

/* One item's lottery: whether it exists, whether it takes this play now at this sales point,
 * and the quota of the item's number on the day's draw. */
typedef struct Regla {
    bool existe;
    bool vende;
    Datum cupo; /* numeric */
} Regla;

/* The rules of n items (lots[k], numeros[k], varchar each) at a moment of the server's clock
 * (timestamp), for a sales point (varchar) and a kind of play (bpchar), as central.venta_loteria
 * and central.cupo answer them. */
void reglas_de_venta(int n, const Datum* lots, const Datum* numeros, Datum momento, Datum vendedor,
                     Datum tipo, Snapshot snapshot, Regla* reglas);

#endif
