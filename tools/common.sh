# Shared by tools/demo, tools/test and tools/db: where things live and what the build needs.
# shellcheck shell=bash
set -euo pipefail

VENDURA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PG_BIN="$(ls -d /usr/lib/postgresql/15/bin 2>/dev/null || true)"

# Debian packages the build, the tests and the demo need.
VENDURA_PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libpq-dev postgresql-15 postgresql-client-15 postgresql-15-cron postgresql-server-dev-15
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core libxtst-dev
    libzbar-dev
    pgbouncer patroni
)

install_missing_packages() {
    local missing=()
    local p
    for p in "${VENDURA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    # the server package starts a cluster of its own on 5432; ours are private, so leave it alone
    PG_BIN="$(ls -d /usr/lib/postgresql/15/bin)"
}

build_vendura() {
    local dir="${VENDURA_BUILD_DIR:-$VENDURA_ROOT/build}"
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    cmake -S "$VENDURA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDURA_WERROR="$werror" >/dev/null
    cmake --build "$dir" -j "$(nproc)" -- --no-print-directory
}

# A server library put in PostgreSQL's library directory under NAME.so, where every cluster of
# this machine loads it from (unless it is there already, byte for byte).
install_library() {
    local file="$1" name="$2" lib sudo=""
    lib="$("$PG_BIN/pg_config" --pkglibdir)"
    cmp -s "$file" "$lib/$name.so" && return 0
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo install -m 755 "$file" "$lib/$name.so"
}

# The server's compiled booking (server/native), built against PostgreSQL's own headers and
# installed as vendura_booking.
install_server_library() {
    local dir="${VENDURA_BUILD_DIR:-$VENDURA_ROOT/build}/server-native"
    mkdir -p "$dir"
    # no bitcode for the JIT compiler: the clusters run with jit = off
    make -s -C "$dir" -f "$VENDURA_ROOT/server/native/Makefile" \
        VPATH="$VENDURA_ROOT/server/native" PG_CONFIG="$PG_BIN/pg_config" with_llvm=no >/dev/null
    install_library "$dir/vendura_booking.so" vendura_booking
}

# A loopback port nobody listens on, for a throwaway cluster.
free_port() {
    local p
    for _ in $(seq 1 200); do
        # below the kernel's ephemeral range (32768 up): a port a client connection holds as
        # its own end accepts nothing, yet a server cannot listen on it
        p=$((20000 + RANDOM % 12000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then
            echo "$p"
            return 0
        fi
    done
    echo "no free loopback port found" >&2
    return 1
}
