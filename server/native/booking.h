/*
 * Booking a play call in compiled code (central.reservar), for the server's own procedures and
 * for the straight play.
 */
#ifndef VENDURA_BOOKING_H
#define VENDURA_BOOKING_H

#include "postgres.h"

#include "statements.h"

/* One call: item k (from 0) gets the item number base + k + 1. */
typedef struct Reserva {
    Datum vendedor; /* varchar */
    Datum usuario;  /* varchar */
    Datum nticket;  /* varchar */
    int base;
    int n;
    Datum* lots;     /* varchar each */
    Datum* numeros;  /* varchar each */
    Datum* montos;   /* numeric each */
    Datum tipo;      /* bpchar */
    Datum jugada;    /* varchar or NULL */
    Datum especial;  /* varchar or NULL */
    Datum variantes; /* varchar[] or NULL */
    bool jugada_nula, especial_nula, variantes_nula;
} Reserva;

typedef struct Respuesta {
    int codigo;                                    /* as central.reservar */
    Datum r_lot, r_num, r_monto, r_status, r_item; /* arrays */
    int r_ultimo;
} Respuesta;

/* -1, 0 or 1 as numeric a is below, equal to or above numeric b. */
int compara(Datum a, Datum b);

/* Connects to SPI itself; the answer is built in the caller's memory context. */
Respuesta reservar(const Reserva* reserva);

#endif
