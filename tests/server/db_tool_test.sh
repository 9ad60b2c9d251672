#!/usr/bin/env bash
# A cluster tools/db starts for use keeps PostgreSQL's durable settings, and a backup brings the
# central office back whole: the same rows, and the sales points' logins that still connect.
set -euo pipefail
root="$1"
unset VENDURA_DB_FAST VENDURA_DB_NAME
source "$root/tools/common.sh"
export VENDURA_DB_PORT="$(free_port)"
export VENDURA_DB_DIR="$(mktemp -d /tmp/vendura-dbtool-XXXXXX)"
db="$root/tools/db"
trap '"$db" destroy >/dev/null 2>&1 || true' EXIT

"$db" start
for setting in fsync synchronous_commit full_page_writes; do
    value="$("$db" psql -tAc "SHOW $setting")"
    [ "$value" = "on" ] || { echo "FAIL: $setting is $value"; exit 1; }
done

digest() {
    "$db" psql -tAc "SELECT md5(string_agg(x, '|' ORDER BY x)) FROM (
        SELECT t::text x FROM central.usuarios t UNION ALL SELECT t::text FROM central.vendedores t
        UNION ALL SELECT t::text FROM central.cuentas t UNION ALL SELECT t::text FROM central.loterias t
        UNION ALL SELECT t::text FROM central.auditoria t) s"
}
before="$(digest)"
"$db" backup "$VENDURA_DB_DIR/central.backup"

"$db" psql -c "UPDATE central.loterias SET cerrada = true"
VENDURA_DB_NAME=postgres "$db" psql -c "DROP DATABASE vendura WITH (FORCE)"
VENDURA_DB_NAME=postgres "$db" psql -c "DROP ROLE vendura_00012"
"$db" restore "$VENDURA_DB_DIR/central.backup"

after="$(digest)"
[ "$before" = "$after" ] || { echo "FAIL: the restored rows differ"; exit 1; }
answer="$(PGPASSWORD=fortuna-demo-1756 "$PG_BIN/psql" -X -tA -h 127.0.0.1 -p "$VENDURA_DB_PORT" \
    -U vendura_00012 -d vendura -c "CALL public.xdsplot(NULL, 'X', 'A', NULL)")"
case "$answer" in
    0\|*) ;;
    *) echo "FAIL: the restored sales point cannot call its procedures: $answer"; exit 1 ;;
esac
echo "PASS"
