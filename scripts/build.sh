#!/usr/bin/env bash
# Configures and builds one or both trees (native first: the Windows tree uses its tools and films): build/win (the Windows program and its
# tests, MinGW-w64 i686) and build/native (sanitized byte-level code, tests, tools).
#   build.sh [win|native|all] [make targets...]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
which=${1:-all}
shift || true
jobs=$(nproc)

configure() {  # dir, extra cmake arguments
  local dir=$1; shift
  if [ ! -f "$repo/$dir/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$repo/$dir" -G "Unix Makefiles" "$@" >/dev/null
  else
    cmake "$repo/$dir" >/dev/null  # picks up new targets before they are asked for by name
  fi
}

if [ "$which" = native ] || [ "$which" = all ]; then
  configure build/native -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
  cmake --build "$repo/build/native" -j "$jobs" ${1:+--target "$@"}
fi
if [ "$which" = win ] || [ "$which" = all ]; then
  configure build/win -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake"
  cmake --build "$repo/build/win" -j "$jobs" ${1:+--target "$@"}
fi
