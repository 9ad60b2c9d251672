/*
 * Rows read by their primary key under a snapshot, without the executor: for the few rows every
 * play reads, a statement's setup and teardown cost the server more than the reads themselves.
 */
#ifndef VENDURA_KEYED_READS_H
#define VENDURA_KEYED_READS_H

#include "postgres.h"

#include "access/htup.h"
#include "utils/rel.h"
#include "utils/snapshot.h"

/* A table of the central schema opened for reading, with the index of its primary key. */
typedef struct Tabla {
    Relation rel;
    Oid clave;
} Tabla;

Tabla abrir(const char* tabla);
/* The lock stays until the transaction ends, as a query's does. */
void cerrar(Tabla* t);

/* One column of a key: its name, its equality, its collation and the value sought. */
typedef struct Clave {
    const char* columna;
    RegProcedure igual;
    Oid collation;
    Datum valor;
} Clave;

Clave texto(const char* columna, Datum valor);   /* varchar */
Clave fecha(const char* columna, Datum valor);   /* date */
Clave nombre(const char* columna, Datum valor);  /* name */
Clave logico(const char* columna, Datum valor);  /* boolean */
Clave octetos(const char* columna, Datum valor); /* bytea */

/* The row under a whole primary key (n columns, at most 2), a copy of it; NULL when none. */
HeapTuple fila(const Tabla* t, Snapshot snapshot, int n, const Clave* claves);
/* The last row, in the key's order, under the first n columns of the primary key. */
HeapTuple ultima_fila(const Tabla* t, Snapshot snapshot, int n, const Clave* claves);

Datum valor(const Tabla* t, HeapTuple tuple, const char* columna, bool* isnull);
/* false also for NULL */
bool booleano(const Tabla* t, HeapTuple tuple, const char* columna);
/* A numeric column's value in a memory of its own; false when NULL. */
bool numero_de(const Tabla* t, HeapTuple tuple, const char* columna, Datum* numero);
/* The first character of a char(n) column's value; ' ' for NULL or empty. */
char letra(const Tabla* t, HeapTuple tuple, const char* columna);
/* Whether a text column holds the same text as a value (varchar or text). */
bool mismo_texto(const Tabla* t, HeapTuple tuple, const char* columna, Datum texto);

/* The attribute number of a column. */
AttrNumber columna_de(const Tabla* t, const char* columna);

#endif
