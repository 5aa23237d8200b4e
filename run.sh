#!/usr/bin/env bash
# Installs what is missing, builds (Release) and starts Travenel. Without a
# display it runs the program under xvfb-run for a few seconds and saves a
# screenshot to build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
travenel_install_deps

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
# The window, and the other programs the README shows next.
cmake --build build -j"$(nproc)" --target travenel travenel-batch travenel-plot travenel-gallery

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/app/travenel
fi

echo "No display: running Travenel under xvfb-run for a few seconds."
# Qt wants a private runtime folder; without a session there is none, and it
# would warn about it.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  ./build/app/travenel & pid=$!
  sleep "${TRAVENEL_SHOT_DELAY:-4}"
  import -window root -crop 800x468+0+0 +repage build/screenshot.png
  kill $pid
'
echo "Screenshot saved to build/screenshot.png"
