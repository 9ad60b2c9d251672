#!/usr/bin/env bash
# tools/install sets up a central database for use: no demo data, TLS only with a password over
# the network, the certificate checked by the counters, sales points kept out of TEMP, large
# objects and other databases, backups for their owner's eyes; a bad value changes nothing.
set -euo pipefail
root="$1"
unset VENDURA_DB_FAST VENDURA_DB_NAME
source "$root/tools/common.sh"
port="$(free_port)"
base="$(mktemp -d /var/tmp/vendura-install-XXXXXX)"
chmod 755 "$base"
dir="$base/central"
trap 'VENDURA_DB_DIR="$dir" VENDURA_DB_PORT="$port" "$root/tools/db" stop >/dev/null 2>&1 || true; rm -rf "$base"' EXIT
check() { echo "FAIL: $*"; exit 1; }

# bad values: a clear error and nothing written
mkdir -p "$base/full" && touch "$base/full/x"
for args in "--data $base/full" "--data $dir --office-password-file $base/none" \
            "--data $dir --cert $base/full/x --key $base/full/x --ca $base/full/x" \
            "--data $dir --cert $base/full/x"; do
    if out="$("$root/tools/install" $args --port "$port" 2>&1)"; then check "accepted: $args"; fi
    case "$out" in tools/install:*) ;; *) check "no clear error for $args: $out" ;; esac
    [ ! -e "$dir" ] || check "$args left $dir behind"
done
[ "$(ls -A "$base/full")" = "x" ] || check "a refused install touched a folder that was not empty"

printf 'una-clave-de-oficina\n' > "$base/office"
"$root/tools/install" --data "$dir" --port "$port" --office-password-file "$base/office" >/dev/null
ca="$dir/vendura-ca.crt"
office() {
    PGPASSWORD=una-clave-de-oficina "$PG_BIN/psql" -X -tA \
        "host=localhost port=$port dbname=vendura user=oficina sslmode=verify-full sslrootcert=$ca" "$@"
}
[ "$(office -c "SELECT count(*) FROM admin.tabla_pagos()")" = "0" ] || check "demo payouts"
demo="$(office -c "SELECT count(*) FROM pg_roles WHERE rolname LIKE 'vendura_000%'")"
[ "$demo" = "0" ] || check "demo logins in the installation"
PGPASSWORD=oficina-demo-1756 "$PG_BIN/psql" -X -tA "host=127.0.0.1 port=$port dbname=vendura user=oficina" \
    -c "SELECT 1" >/dev/null 2>&1 && check "the demo's office password works"

# a counter without encryption is refused; with it, only into its own database
office -c "SELECT admin.crear_vendedor('00099', 'AGENCIA NUEVA', 'una-clave-larga')" >/dev/null
point() {
    PGPASSWORD=una-clave-larga "$PG_BIN/psql" -X -tA -v ON_ERROR_STOP=1 \
        "host=localhost port=$port user=vendura_00099 sslrootcert=$ca sslmode=$1 dbname=$2" -c "$3"
}
point disable vendura "SELECT 1" >/dev/null 2>&1 && check "a connection without TLS was let in"
point verify-full vendura "CALL public.xdsplot(NULL, 'X', 'A', NULL)" >/dev/null ||
    check "a counter with the authority's file cannot connect"
for sql in "CREATE TEMP TABLE t (a int)" "SELECT lo_creat(-1)"; do
    point verify-full vendura "$sql" >/dev/null 2>&1 && check "a sales point may: $sql"
done
point verify-full postgres "SELECT 1" >/dev/null 2>&1 && check "a sales point reaches the postgres database"
# a refusal is audited through the loopback login, over TLS too
point verify-full vendura "CALL public.xvldusrt(NULL, '0', '9999', 'x', NULL)" >/dev/null
audited="$(VENDURA_DB_DIR="$dir" VENDURA_DB_PORT="$port" "$root/tools/db" psql -tAc \
    "SELECT count(*) FROM central.auditoria WHERE accion = 'INGRESO_FALLIDO'")"
[ "$audited" = "1" ] || check "the refused login was not audited ($audited)"

VENDURA_DB_DIR="$dir" VENDURA_DB_PORT="$port" "$root/tools/db" backup "$base/central.backup" >/dev/null
[ "$(stat -c %a "$base/central.backup")" = "600" ] || check "the backup can be read by others"
echo "PASS"
