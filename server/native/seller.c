/*
 * The check that opens every booking, read by key: the login the call acts for
 * (central.cuenta_de_llamada, with a pooled call's session proof) owns the vendor, and the
 * seller and the vendor are active (central.puede_vender). The rules are restated here from
 * their SQL functions, which every other procedure keeps using; the isolation and pooled
 * identity tests hold booking to them.
 */
#include "seller.h"

#include "keyed_reads.h"

#include "catalog/pg_collation.h"
#include "miscadmin.h"
#include "nodes/pg_list.h"
#include "nodes/value.h"
#include "parser/parse_func.h"
#include "utils/builtins.h"
#include "utils/datum.h"
#include "utils/guc.h"
#include "utils/timestamp.h"

/* A pooled call's session, as central.cuenta_de_llamada_compartida proves it: the session of
 * the token the call carries (central.cuenta_del_token: its hash, not yet expired at the
 * server's clock), serving this call alone (a lock on the token for the transaction). A session
 * unknown, expired or in use goes to that PL/pgSQL function, which refuses the call with its
 * audit row. */
static Datum cuenta_compartida(Snapshot snapshot, Datum momento) {
    const char* ajuste = GetConfigOption("vendura.sesion", true, false);
    const char* token = ajuste != NULL ? ajuste : "";
    Datum hash = DirectFunctionCall1(sha256_bytea, PointerGetDatum(cstring_to_text(token)));
    Tabla sesiones = abrir("sesiones");
    Clave del_token[1] = {octetos("token_hash", hash)};
    HeapTuple sesion = fila(&sesiones, snapshot, 1, del_token);
    Datum cuenta = (Datum)0;
    bool viva = false;
    if (sesion != NULL) {
        bool isnull;
        Datum vence = valor(&sesiones, sesion, "vence", &isnull);
        viva = !isnull && DatumGetTimestamp(vence) > DatumGetTimestamp(momento);
        if (viva)
            cuenta = datumCopy(valor(&sesiones, sesion, "cuenta", &isnull), false, NAMEDATALEN);
    }
    cerrar(&sesiones);
    if (viva &&
        DatumGetBool(DirectFunctionCall2(
            pg_try_advisory_xact_lock_int4,
            DirectFunctionCall1Coll(hashtext, DEFAULT_COLLATION_OID,
                                    CStringGetTextDatum("vendura.sesion")),
            DirectFunctionCall1Coll(hashtext, DEFAULT_COLLATION_OID, CStringGetTextDatum(token)))))
        return cuenta;
    {
        List* funcion =
            list_make2(makeString("central"), makeString("cuenta_de_llamada_compartida"));
        return OidFunctionCall0(LookupFuncName(funcion, 0, NULL, false));
    }
}

/* A pooled connection logs in as the pooler's shared login, and the call acts for the login
 * of the live session it carries; any other connection acts for its own login. */
static Datum cuenta_de_llamada(Snapshot snapshot, Datum momento) {
    char* sesion = GetUserNameFromId(GetSessionUserId(), false);
    if (strcmp(sesion, "vendura_pasarela") != 0)
        return DirectFunctionCall1(namein, CStringGetDatum(sesion));
    return cuenta_compartida(snapshot, momento);
}

Vendedor vendedor_de_llamada(Datum vendedor, Datum usuario, Datum momento, Snapshot snapshot) {
    Vendedor v = {false, false, (Datum)0};
    Tabla cuentas = abrir("cuentas");
    Clave de_cuenta[1] = {nombre("cuenta", cuenta_de_llamada(snapshot, momento))};
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
