#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# only the ones that are missing, as root or through sudo.
set -euo pipefail

PACOTES=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins qt6-translations-l10n
  libsqlite3-dev sqlite3
  libqt6sql6-psql libpq-dev postgresql libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core poppler-utils
  xvfb openbox xdotool x11-utils
)

faltam=()
for p in "${PACOTES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    faltam+=("$p")
  fi
done

if ((${#faltam[@]})); then
  echo "Instalando pacotes que faltam: ${faltam[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${faltam[@]}"
  # The package starts a system cluster; the tests use a private one of their
  # own (scripts/servidor-teste.sh), so the one just installed is left stopped.
  if [[ " ${faltam[*]} " == *" postgresql "* ]] && command -v pg_lsclusters >/dev/null; then
    pg_lsclusters -h | while read -r versao nome _; do
      $SUDO pg_ctlcluster "$versao" "$nome" stop 2>/dev/null || true
    done
  fi
fi
