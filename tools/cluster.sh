# Shared by tools/db and tools/install: a PostgreSQL 15 cluster of vendura, where it lives and
# how the central database is loaded into it. The caller sets DIR (DATA and SOCK lie in it) and
# PORT before sourcing.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

DATA="$DIR/data"
SOCK="$DIR/socket"
LOG="$DIR/server.log"
DB_SQL="$VENDURA_ROOT/server"
# The cluster runs as "postgres" when root starts it (initdb refuses root), else as the caller.
# Its superuser is "postgres" unless the caller names another (an installation names the
# operating-system user that owns it, whom the socket lets in).
if [ "$(id -u)" -eq 0 ]; then OWNER=postgres; else OWNER="$(id -un)"; fi
SUPERUSER="${SUPERUSER:-postgres}"

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        (cd / && runuser -u postgres -- "$@")
    else
        "$@"
    fi
}

# SQL as the cluster's superuser, through its socket; files are fed on standard input, so the
# owner needs no right to read them.
psql_admin() {
    as_owner env PGOPTIONS="-c client_min_messages=warning" "$PG_BIN/psql" -X -q \
        -v ON_ERROR_STOP=1 -h "$SOCK" -p "$PORT" -U "$SUPERUSER" "$@"
}

running() {
    [ -f "$DATA/postmaster.pid" ] && as_owner "$PG_BIN/pg_ctl" -D "$DATA" status >/dev/null 2>&1
}

db_exists() {
    [ "$(psql_admin -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname = '$1'")" = "1" ]
}

# The settings of every central cluster: the scheduler below, and no JIT compilation: the
# procedures' queries are short, and compiling one whose row estimate had gone stale took
# longer than running it.
central_settings() {
    scheduler_settings
    echo "jit = off"
}

# pg_cron runs the central office's jobs every minute (releasing idle tickets, ending the
# connections that break the limits) in background workers of the cluster.
scheduler_settings() {
    cat <<CONF
shared_preload_libraries = 'pg_cron'
cron.database_name = 'postgres'
cron.use_background_workers = on
max_worker_processes = 16
CONF
}

# The password of one of the cluster's own logins ("autonomo", the loopback one; "pasarela", the
# one counters behind the pooler share), drawn once per cluster and kept beside it in
# NAME.clave, readable by its owner only.
cluster_password() {
    local file="$DIR/$1.clave"
    if [ ! -s "$file" ]; then
        (umask 077 && head -c 24 /dev/urandom | base64 | tr -d '/+=\n' > "$file")
    fi
    cat "$file"
}

autonomo_password() { cluster_password autonomo; }

# The cluster-wide roles, the scheduler and the passwords of the cluster's own logins.
cluster_roles() {
    psql_admin -d postgres < "$DB_SQL/cluster_roles.sql" >/dev/null
    psql_admin -d postgres -c "CREATE EXTENSION IF NOT EXISTS pg_cron" >/dev/null
    echo "ALTER ROLE vendura_autonomo PASSWORD :'clave'" |
        psql_admin -d postgres -v clave="$(autonomo_password)" >/dev/null
    echo "ALTER ROLE vendura_pasarela PASSWORD :'clave'" |
        psql_admin -d postgres -v clave="$(cluster_password pasarela)" >/dev/null
    echo "ALTER ROLE vendura_pooler PASSWORD :'clave'" |
        psql_admin -d postgres -v clave="$(cluster_password pooler)" >/dev/null
}

# A central database: schema, procedures, the central office's functions, rights, the loopback
# server, and the demo data when asked.
load_central() {
    local db="$1" demo="$2"
    install_server_library
    psql_admin -d postgres -c "CREATE DATABASE \"$db\""
    psql_admin -d "$db" < "$DB_SQL/schema.sql"
    local f
    for f in "$DB_SQL"/procedures/*.sql "$DB_SQL"/admin/*.sql "$DB_SQL/roles.sql"; do
        psql_admin -d "$db" < "$f" >/dev/null
    done
    echo "SELECT central.preparar_autonomo(:'clave')" |
        psql_admin -d "$db" -v clave="$(autonomo_password)" >/dev/null
    psql_admin -d "$db" < "$DB_SQL/pooler.sql" >/dev/null
    if [ "$demo" = "demo" ]; then
        psql_admin -d "$db" < "$DB_SQL/demo.sql" >/dev/null
    fi
    return 0
}

# The name-resolving database "master", with the demo's server names when asked.
load_master() {
    local demo="$1"
    db_exists master && return 0
    psql_admin -d postgres -c "CREATE DATABASE master"
    psql_admin -d master < "$DB_SQL/master.sql" >/dev/null
    psql_admin -d master < "$DB_SQL/pooler.sql" >/dev/null
    [ "$demo" = "demo" ] && psql_admin -d master < "$DB_SQL/master_demo.sql" >/dev/null
    return 0
}

# The central database's jobs in the cluster's scheduler, once per database in use (never for a
# template: a job connected to it would keep copies of it from being made).
schedule_jobs() {
    local db="$1"
    psql_admin -d postgres -v db="$db" >/dev/null <<'SQL'
SELECT cron.schedule_in_database(:'db' || '-inactivos', '* * * * *',
                                 'SELECT central.liberar_inactivos()', :'db'),
       cron.schedule_in_database(:'db' || '-abusos', '* * * * *',
                                 'SELECT central.terminar_abusos()', :'db'),
       cron.schedule_in_database(:'db' || '-caducados', '17 * * * *',
                                 'SELECT central.asentar_caducados_red()', :'db');
SQL
}

# One file with the whole central office: the cluster's roles (the sales points' logins), the
# central database and "master", each in pg_dump's custom format; readable by its owner only,
# since it holds password verifiers.
backup_cluster() {
    local file="$1" work
    work="$(mktemp -d)"
    (
        umask 077
        as_owner "$PG_BIN/pg_dumpall" -h "$SOCK" -p "$PORT" -U "$SUPERUSER" --roles-only > "$work/roles.sql"
        local db
        for db in vendura master; do
            as_owner "$PG_BIN/pg_dump" -h "$SOCK" -p "$PORT" -U "$SUPERUSER" -Fc --create "$db" \
                > "$work/$db.dump"
        done
        tar -C "$work" -cf "$file" roles.sql vendura.dump master.dump
    )
    chmod 600 "$file"
    rm -rf "$work"
    echo "backup written to $file"
}
