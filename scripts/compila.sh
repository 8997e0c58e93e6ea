#!/usr/bin/env bash
# Configures (once) and builds everything into build/.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -f "$raiz/build/build.ninja" ]; then
  cmake -S "$raiz" -B "$raiz/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$raiz/build" -j "$(nproc)"
