#!/usr/bin/env bash
# Installs the chart library from a build folder into a temporary prefix,
# builds examples/embed against it as an outside project would, and runs it
# offscreen until it has painted and saved its picture. Then builds
# tests/package against the same install: every installed header on its own,
# and a program with global names of its own that the library uses too.
#   scripts/check-embed.sh BUILD_DIR [COMPILER_LAUNCHER]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$1
launcher=${2:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix/usr" >/dev/null
args=(-DCMAKE_PREFIX_PATH="$prefix/usr" -DCMAKE_BUILD_TYPE=Release)
[ -n "$launcher" ] && args+=(-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher")
cmake -S "$src/examples/embed" -B "$prefix/build" "${args[@]}" >/dev/null
cmake --build "$prefix/build" -j2 >/dev/null
# Qt wants a private runtime folder.
mkdir -m 700 "$prefix/run"
XDG_RUNTIME_DIR="$prefix/run" QT_QPA_PLATFORM=offscreen "$prefix/build/travenel-embed" --quit-after 1500 --save "$prefix/embed.png"
# A PNG file starts with these eight bytes.
[ "$(head -c 8 "$prefix/embed.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]
echo "examples/embed built against the installed package and painted"

cmake -S "$src/tests/package" -B "$prefix/check" "${args[@]}" >/dev/null
cmake --build "$prefix/check" -j2 >"$prefix/check.log" 2>&1 || { cat "$prefix/check.log"; exit 1; }
echo "$(find "$prefix/usr/include/travenel" -name '*.h' | wc -l) installed headers compile on their own"
XDG_RUNTIME_DIR="$prefix/run" QT_QPA_PLATFORM=offscreen "$prefix/check/travenel-clash"
