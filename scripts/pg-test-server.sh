#!/usr/bin/env bash
# Runs a command against a private PostgreSQL server: initdb in a temporary folder
# (as the postgres user when run as root), a Unix socket in that folder and no TCP
# port, a database "vrl_history"; VRL73M_HISTORY names it for the command. The
# server is stopped and the folder removed at the end, whatever the command did.
# usage: scripts/pg-test-server.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bindir/initdb" ] || { echo "$0: PostgreSQL is not installed (scripts/install-deps.sh)" >&2; exit 1; }

dir=$(mktemp -d /tmp/vrl-pg.XXXXXX)
as_owner=()
dbuser=$(id -un)
if [ "$(id -u)" = 0 ]; then
  chown postgres: "$dir"
  as_owner=(runuser -u postgres --)
  dbuser=postgres
fi
stop() {
  "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT

"${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U "$dbuser" -A trust -E UTF8 >"$dir/initdb.log" 2>&1 ||
  { cat "$dir/initdb.log" >&2; exit 1; }
# -w waits until the server accepts connections.
"${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -w -t 60 -l "$dir/server.log" \
  -o "-k $dir -c listen_addresses= -c fsync=off" start >/dev/null ||
  { cat "$dir/server.log" >&2; exit 1; }
"${as_owner[@]}" "$bindir/createdb" -h "$dir" -U "$dbuser" vrl_history

export VRL73M_HISTORY="postgresql://$dbuser@/vrl_history?host=$dir"
export VRL_PG_SOCKET_DIR=$dir VRL_PG_USER=$dbuser
"$@"
