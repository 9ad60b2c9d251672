/*
 * Who calls a booking: the vendor of the connection's sales-point account, and whether its
 * seller may sell now.
 */
#ifndef VENDURA_SELLER_H
#define VENDURA_SELLER_H

#include "postgres.h"

#include "utils/snapshot.h"

typedef struct Vendedor {
    bool propio;           /* the vendor is the one of the login this call acts for */
    bool activo;           /* the seller, one of this vendor's, and the vendor are both active */
    Datum cupo_porcentaje; /* numeric: the vendor's share of each number's quota */
} Vendedor;

/* For a vendor and a seller code (varchar each), at a moment of the server's clock. */
Vendedor vendedor_de_llamada(Datum vendedor, Datum usuario, Datum momento, Snapshot snapshot);

#endif
