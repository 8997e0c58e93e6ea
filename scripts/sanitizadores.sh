#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-san/ (no benchmarks) and runs every test there; any report fails the run.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -f "$raiz/build-san/build.ninja" ]; then
  cmake -S "$raiz" -B "$raiz/build-san" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVLME_SANITIZADORES=ON -DVLME_BENCH=OFF
fi
cmake --build "$raiz/build-san" -j "$(nproc)"
# Leaks are not looked for: Qt, fontconfig and the offscreen platform keep
# caches until exit that LeakSanitizer would report on every window test.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
cd "$raiz/build-san"
# The team-database half of the tests runs on a private server.
"$raiz/scripts/servidor-teste.sh" com ctest --output-on-failure -j "$(nproc)" --timeout 900 \
  -E '^TelaReal$'
# On a real X server, Debian's libxkbcommon-x11 hands strndup a buffer without
# its terminator while Qt connects; strict string checks would stop every run
# there, before any code of ours, so that test alone goes without them.
ASAN_OPTIONS="${ASAN_OPTIONS/:strict_string_checks=1/}" \
  "$raiz/scripts/servidor-teste.sh" com ctest --output-on-failure --timeout 900 -R '^TelaReal$'
