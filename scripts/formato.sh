#!/usr/bin/env bash
# Checks (default) or applies (--aplica) the project's .clang-format to every
# C++ file of src/, tests/ and bench/. The check fails on a file that differs.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cd "$raiz"
mapfile -t arquivos < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = "--aplica" ]; then
  clang-format -i "${arquivos[@]}"
else
  clang-format --dry-run -Werror "${arquivos[@]}"
fi
