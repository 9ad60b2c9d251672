#!/usr/bin/env bash
# A durable primary with its synchronous standby (tools/db standby), of this test alone: the
# failover test stops the primary and promotes the standby in the middle of its day of sales.
set -euo pipefail
root="$1"
program="$2"
unset VENDURA_DB_FAST VENDURA_DB_NAME
source "$root/tools/common.sh"
export VENDURA_DB_PORT="$(free_port)"
export VENDURA_DB_DIR="$(mktemp -d /tmp/vendura-failover-XXXXXX)"
export VENDURA_STANDBY_HOST=127.0.0.2
db="$root/tools/db"
trap '"$db" destroy >/dev/null 2>&1 || true' EXIT

"$db" template vendura_template >/dev/null
"$db" standby

export VENDURA_TEST_HOST=127.0.0.1
export VENDURA_TEST_PORT="$VENDURA_DB_PORT"
export VENDURA_TEST_SOCKET="$VENDURA_DB_DIR/socket"
export VENDURA_TEST_TEMPLATE=vendura_template
export VENDURA_STANDBY_SOCKET="$VENDURA_DB_DIR/standby/socket"
export VENDURA_DB_TOOL="$db"
# the test's database goes with the clusters: its primary is gone when the test ends
export VENDURA_TEST_KEEP=1
export QT_QPA_PLATFORM=offscreen
"$program"
