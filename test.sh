#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
travenel_install_deps

dir=build
flags=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRAVENEL_SANITIZE=ON -DTRAVENEL_BENCH=OFF)
fi
cmake -S . -B "$dir" "${flags[@]}"
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure
