/*
 * Statements of the compiled booking: each prepared at its first use in a server process, with a
 * generic plan, and kept for the process's life; none is built from a call's values.
 */
#ifndef VENDURA_STATEMENTS_H
#define VENDURA_STATEMENTS_H

#include "postgres.h"

#include "executor/spi.h"
#include "fmgr.h"
#include "utils/portal.h"

typedef struct Sentencia {
    const char* sql;
    int nargs;
    Oid types[16];
    SPIPlanPtr plan;
} Sentencia;

/* Runs a statement (nulls as SPI takes them: NULL for none, else 'n' for each NULL value); at
 * most `rows` rows, 0 for all. */
void ejecutar(Sentencia* s, Datum* values, const char* nulls, long rows);
/* Opens a statement's rows as the cursor `name` (one of its own when NULL). */
Portal abrir_cursor(Sentencia* s, const char* name, Datum* values, const char* nulls);
/* Column c (from 1) of the first row the last statement answered. */
Datum columna(int c, bool* isnull);

/* An array of n values of a type (int4 by value, any other by reference). */
Datum arreglo(Datum* values, int n, Oid type);
/* The values of an array with no NULL in it. */
Datum* elementos(Datum array);

/* The answer of a function, or of a CALL, with output arguments: their values as its record. */
Datum registro(FunctionCallInfo fcinfo, Datum* values, bool* nulls);

#endif
