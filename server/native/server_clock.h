/*
 * The server's clock as booking reads it.
 */
#ifndef VENDURA_SERVER_CLOCK_H
#define VENDURA_SERVER_CLOCK_H

#include "postgres.h"

#include "utils/snapshot.h"

/* The time of central.reloj (timestamp), for the current transaction. */
Datum reloj_central(Snapshot snapshot);

#endif
