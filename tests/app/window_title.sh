#!/usr/bin/env bash
# The title bar of the main window on a real X display reads exactly the
# window's caption: the toolkit appends an application display name to every
# title when one is set, which the title bar must not show.
#   window_title.sh PATH-TO-travenel
# Exit 77 (skipped) when xvfb-run or xdotool is not installed.
set -uo pipefail
program=$1
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
unset QT_QPA_PLATFORM
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" & pid=$!
  name=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --pid "$pid" --name "Travenel" 2>/dev/null | head -n 1)
    [ -n "$id" ] && name=$(xdotool getwindowname "$id") && break
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" 2>/dev/null
  if [ "$name" != "Travenel by Move " ]; then
    echo "title bar reads \"$name\", expected \"Travenel by Move \""
    exit 1
  fi
  echo "title bar reads \"$name\""
' title-check "$program"
