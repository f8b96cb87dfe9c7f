#!/usr/bin/env bash
# postgres-rig.sh start|stop|env DIR
#
# A private PostgreSQL server for tests and benchmarks: its cluster under DIR/pg, listening only on
# a unix socket in DIR/pg (no TCP), with one user "etiqo" whose password is "etiqo-test" (given
# to clients through PGPASSWORD, as a user would) and a database "labels". The machine's own
# servers are never touched. Run as root, the server runs as the unprivileged user "postgres"
# (or "nobody"), which then owns DIR/pg. "env" prints what clients need.
set -euo pipefail

usage() { echo "usage: $0 start|stop|env DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)/pg
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "postgres-rig: PostgreSQL is not installed (Debian: postgresql)" >&2; exit 1; }

as_server() {
    if [ "$(id -u)" = 0 ]; then
        local user=postgres
        id "$user" >/dev/null 2>&1 || user=nobody
        runuser -u "$user" -- "$@"
    else
        "$@"
    fi
}

print_env() {
    echo "PGHOST=$dir"
    echo "PGPORT=5432"
    echo "PGUSER=etiqo"
    echo "PGPASSWORD=etiqo-test"
    echo "PGDATABASE=labels"
}

case $action in
start)
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        mkdir -p "$dir"
        chmod 755 "$(dirname "$dir")"
        if [ "$(id -u)" = 0 ]; then
            user=postgres
            id "$user" >/dev/null 2>&1 || user=nobody
            chown "$user" "$dir"
        fi
        echo etiqo-test > "$dir/password"
        chmod 644 "$dir/password"
        as_server "$bin/initdb" -D "$dir/data" -U etiqo --pwfile="$dir/password" -A scram-sha-256 \
            --no-sync -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
            { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -c listen_addresses= -c fsync=off -c full_page_writes=off" start >/dev/null ||
        { cat "$dir/server.log" >&2; exit 1; }
    PGPASSWORD=etiqo-test "$bin/psql" -h "$dir" -U etiqo -d postgres -qtA \
        -c "SELECT 1 FROM pg_database WHERE datname = 'labels'" | grep -q 1 ||
        PGPASSWORD=etiqo-test "$bin/createdb" -h "$dir" -U etiqo labels
    print_env
    ;;
stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    ;;
env)
    print_env
    ;;
*)
    usage
    ;;
esac
