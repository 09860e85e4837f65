#!/usr/bin/env bash
# Shows the Windows program's window and a message box under Xvfb, photographs
# the screen, then presses OK as a user would and checks the exit status.
# The fixed run is started where its route text file's name is taken by a
# folder, so it stops with the run-time failure box over its window.
# Usage: scripts/windows-screenshot.sh PROGRAM.exe PICTURE.png
set -euo pipefail
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi
exe=$(realpath "$1")
picture=$(realpath -m "$2")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/scenario-compiler.exe"
mkdir "$work/Lidonia_Sabrio_linea.txt"

(cd "$work" && exec wine ./scenario-compiler.exe) &
program=$!

# The window and then the box carry the program's title. Xvfb has no window
# manager, so windows are not activated: keys go to a window by its id.
windows=""
for _ in $(seq 1 240); do
  windows=$(xdotool search --onlyvisible --name '^scenario-compiler$' 2>/dev/null || true)
  (($(grep -c . <<<"$windows") >= 2)) && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.5
done
if (($(grep -c . <<<"$windows") < 2)); then
  echo "windows-screenshot: the window and its message box did not both appear" >&2
  kill "$program" 2>/dev/null || true
  exit 1
fi
sleep 1  # let the box finish painting
import -window root "$picture"
# Return is OK in the box and nothing in the wait window.
for id in $windows; do xdotool key --window "$id" Return 2>/dev/null; done

status=0
wait "$program" || status=$?
if ((status != 3)); then
  echo "windows-screenshot: exit status $status after OK, expected 3" >&2
  exit 1
fi
if [[ -n $(find "$work" -maxdepth 1 -name '*.dat' -o -maxdepth 1 -name '*.sim') ]]; then
  echo "windows-screenshot: a compiled file was written after the failure" >&2
  exit 1
fi
echo "windows-screenshot: window and message box shown, OK pressed, exit status 3; picture in $picture"
