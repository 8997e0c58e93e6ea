#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: a temporary folder, a free port
# of 127.0.0.1, nothing else listening. Its roles and rights are made by the
# README's recipe itself (equipe.sql beside this script); the URL printed is
# the owner's, who makes each test's schema, and the tests work as a clerk's
# role of the recipe, never as the superuser.
#
#   servidor-teste.sh inicia PASTA [ssl]
#                                    starts it (with SSL on: a certificate of
#                                    its own, PASTA/dados/server.crt, which is
#                                    also the authority to trust); prints the
#                                    owner's connection URL
#   servidor-teste.sh para PASTA     stops it and removes the folder
#   servidor-teste.sh desliga PASTA  stops it as an administrator would (fast
#                                    shutdown), keeping its data
#   servidor-teste.sh liga PASTA     starts it again, on the same port
#   servidor-teste.sh com CMD ARGS   runs CMD with VLME_TESTE_URL set, the
#                                    server stopped however CMD ends
#
# As root the cluster runs as the `postgres` user (PostgreSQL refuses root).
set -euo pipefail

receita="$(cd "$(dirname "$0")" && pwd)/equipe.sql"
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)"
[ -x "$bin/initdb" ] || { echo "PostgreSQL não está instalado." >&2; exit 1; }

como() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

acao="${1:-}"
if [ "$acao" = com ]; then
  shift
  pasta="$(mktemp -u -d "${TMPDIR:-/tmp}/vlme-servidor.XXXXXX")"
  trap '"$0" para "$pasta"' EXIT
  VLME_TESTE_URL="$("$0" inicia "$pasta")"
  export VLME_TESTE_URL
  "$@"
  exit
fi
pasta="${2:-}"
[ -n "$pasta" ] || { echo "uso: $0 inicia|para|desliga|liga PASTA" >&2; exit 2; }

sobe() {
  como "$bin/pg_ctl" -D "$pasta/dados" -l "$pasta/servidor.log" -w -t 30 \
    -o "-c listen_addresses=127.0.0.1 -p $1 -c unix_socket_directories=$pasta -c fsync=off -c max_connections=200" \
    start >/dev/null 2>&1
}

case "$acao" in
inicia)
  mkdir -p "$pasta"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$pasta"
  como "$bin/initdb" -D "$pasta/dados" -U postgres --auth=trust -E UTF8 \
    --locale=C.UTF-8 >"$pasta/initdb.log" 2>&1
  # Only TCP on loopback; the socket stays inside the folder. The recipe's
  # lines, with trust for the network's passwords: the test's roles have none.
  tipo=host
  if [ "${3:-}" = ssl ]; then
    tipo=hostssl
    como openssl req -new -x509 -days 2 -nodes -subj "/CN=127.0.0.1" \
      -addext "subjectAltName=IP:127.0.0.1" -keyout "$pasta/dados/server.key" \
      -out "$pasta/dados/server.crt" >/dev/null 2>&1
    chmod 600 "$pasta/dados/server.key"
    echo "ssl = on" >>"$pasta/dados/postgresql.conf"
  fi
  cat >"$pasta/dados/pg_hba.conf" <<EOF
local all postgres trust
$tipo vlme +vlme_equipe 127.0.0.1/32 trust
$tipo all vlme_dono 127.0.0.1/32 trust
EOF
  for _ in $(seq 1 20); do
    porta=$((20000 + RANDOM % 20000))
    if sobe "$porta"; then
      echo "$porta" >"$pasta/porta"
      break
    fi
  done
  [ -f "$pasta/porta" ] || { cat "$pasta/servidor.log" >&2; exit 1; }
  como "$bin/psql" -q -v ON_ERROR_STOP=1 -h "$pasta" -p "$porta" -U postgres -d postgres \
    <"$receita" >/dev/null
  echo "postgresql://vlme_dono@127.0.0.1:$porta/vlme"
  ;;
para)
  if [ -f "$pasta/dados/postmaster.pid" ]; then
    como "$bin/pg_ctl" -D "$pasta/dados" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$pasta"
  ;;
desliga)
  como "$bin/pg_ctl" -D "$pasta/dados" -m fast -w stop >/dev/null
  ;;
liga)
  sobe "$(cat "$pasta/porta")" || { cat "$pasta/servidor.log" >&2; exit 1; }
  ;;
*)
  echo "uso: $0 inicia|para|desliga|liga PASTA" >&2
  exit 2
  ;;
esac
