/*
 * The check that opens every booking, read by key: the login the call acts for
 * (central.cuenta_de_llamada) owns the vendor, and the seller and the vendor are active
 * (central.puede_vender). Both rules are restated here from their SQL functions, which every
 * other procedure keeps using; the isolation and hostile-input tests hold booking to them.
 */
#include "seller.h"

#include "keyed_reads.h"

#include "miscadmin.h"
#include "nodes/pg_list.h"
#include "nodes/value.h"
#include "parser/parse_func.h"
#include "utils/builtins.h"

/* A pooled connection logs in as the pooler's shared login, and the call acts for the login
 * of the live session it carries; any other connection acts for its own login. */
static Datum cuenta_de_llamada(void) {
    char* sesion = GetUserNameFromId(GetSessionUserId(), false);
    List* compartida;
    if (strcmp(sesion, "vendura_pasarela") != 0)
        return DirectFunctionCall1(namein, CStringGetDatum(sesion));
    compartida = list_make2(makeString("central"), makeString("cuenta_de_llamada_compartida"));
    return OidFunctionCall0(LookupFuncName(compartida, 0, NULL, false));
}

Vendedor vendedor_de_llamada(Datum vendedor, Datum usuario, Snapshot snapshot) {
    Vendedor v = {false, false, (Datum)0};
    Tabla cuentas = abrir("cuentas");
    Clave de_cuenta[1] = {nombre("cuenta", cuenta_de_llamada())};
    HeapTuple cuenta = fila(&cuentas, snapshot, 1, de_cuenta);
    v.propio = cuenta != NULL && mismo_texto(&cuentas, cuenta, "cod_vendedor", vendedor);
    cerrar(&cuentas);
    if (v.propio) {
        Tabla vendedores = abrir("vendedores");
        Tabla usuarios = abrir("usuarios");
        Clave de_vendedor[1] = {texto("cod_vendedor", vendedor)};
        Clave de_usuario[1] = {texto("cod_usuario", usuario)};
        HeapTuple punto = fila(&vendedores, snapshot, 1, de_vendedor);
        HeapTuple vendedor_usuario = fila(&usuarios, snapshot, 1, de_usuario);
        v.propio =
            punto != NULL && numero_de(&vendedores, punto, "cupo_porcentaje", &v.cupo_porcentaje);
        v.activo = v.propio && letra(&vendedores, punto, "estado") == 'A' &&
                   vendedor_usuario != NULL &&
                   mismo_texto(&usuarios, vendedor_usuario, "cod_vendedor", vendedor) &&
                   letra(&usuarios, vendedor_usuario, "estado") == 'A';
        cerrar(&vendedores);
        cerrar(&usuarios);
    }
    return v;
}
