#!/usr/bin/env bash
# Runs CMD ARGS on a private X server with a window manager, as a user's
# desktop gives focus to windows: Xvfb on a free display (no TCP, only its
# local socket), openbox on it, QT_QPA_PLATFORM=xcb; both stopped however CMD
# ends. The keyboard tests type through it with xdotool.
#
#   tela-teste.sh CMD ARGS
set -euo pipefail

for p in Xvfb openbox xdotool; do
  command -v "$p" >/dev/null || { echo "Falta $p (scripts/dependencias.sh)." >&2; exit 1; }
done
pasta="$(mktemp -d "${TMPDIR:-/tmp}/vlme-tela.XXXXXX")"
pids=()
fim() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$pasta"
}
trap fim EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$pasta/tela" 2>"$pasta/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do
  [ -s "$pasta/tela" ] && break
  sleep 0.1
done
[ -s "$pasta/tela" ] || { echo "O Xvfb não subiu:" >&2; cat "$pasta/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$pasta/tela")"
HOME="$pasta" openbox --sm-disable >"$pasta/openbox.log" 2>&1 &
pids+=($!)
# Ready once it has claimed the screen.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "O openbox não subiu:" >&2; cat "$pasta/openbox.log" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
"$@"
