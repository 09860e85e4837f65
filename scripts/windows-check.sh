#!/usr/bin/env bash
# The Windows program: cross-compiled with MinGW-w64, its tests run under Wine,
# and its files compared byte for byte with the Linux build's (the fixed run, and
# export + compile with a route identifier outside ASCII). Then the screenshot
# check of its window and message box, and the language server under headless
# Neovim. Needs scripts/deps.sh windows's tools and
# the Linux build in BUILD_DIR (default build/). With the argument "build" it
# only builds.
set -euo pipefail
# One display for the whole check: Wine's session keeps the one it started with.
if [[ -z ${DISPLAY:-} && ${1:-} != build ]]; then
  exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
linux=${BUILD_DIR:-$root/build}/scenario-compiler
win=${WINDOWS_BUILD_DIR:-$root/build-windows}
werror=${WARNINGS_AS_ERRORS:-ON}

bash "$root/scripts/configure.sh" "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=ON -DWARNINGS_AS_ERRORS="$werror"
cmake --build "$win" -j"$(nproc)"
[[ ${1:-} == build ]] && exit 0
exe=$win/scenario-compiler.exe

# A prefix of its own; its first start takes tens of seconds and fetches nothing.
export WINEPREFIX=${WINEPREFIX:-$win/wine-prefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
# A persistent server first (one left running by an earlier check will do), then the prefix.
wineserver -p 2>/dev/null || true
wineboot --init >/dev/null 2>&1
trap 'wineserver -k || true' EXIT

(cd "$win" && ctest --output-on-failure)

work=$(mktemp -d)
trap 'wineserver -k || true; rm -rf "$work"' EXIT
same() {  # same file names and bytes in two folders, the programs aside
  local a=$1 b=$2
  diff <(cd "$a" && ls | grep -v '^scenario-compiler') <(cd "$b" && ls | grep -v '^scenario-compiler')
  for f in $(cd "$a" && ls | grep -v '^scenario-compiler'); do cmp "$a/$f" "$b/$f"; done
}

# The fixed run, each program in a folder of its own.
mkdir "$work/linux" "$work/windows"
cp "$linux" "$work/linux/"
cp "$exe" "$work/windows/"
"$work/linux/scenario-compiler" 2>/dev/null
(cd "$work/windows" && wine ./scenario-compiler.exe)
[[ $(ls "$work/windows" | grep -vc '^scenario-compiler') == 6 ]] || { ls "$work/windows"; exit 1; }
same "$work/linux" "$work/windows"
echo "windows-check: fixed run: the six files equal the Linux build's"

# export + compile, with the identifier taken from the files' names.
citta=$'Citt\u00e0'
for side in linux windows; do
  mkdir "$work/$side-author"
  cd "$work/$side-author"
  run() { if [[ $side == linux ]]; then "$linux" "$@"; else wine "$exe" "$@"; fi; }
  run export .
  mv Lidonia_Sabrio_linea.txt "${citta}_linea.txt"
  mv Lidonia_Sabrio_914-.txt "${citta}_914-.txt"
  run compile "${citta}_linea.txt" "${citta}_914-.txt"
  run documents "${citta}_linea.txt" "${citta}_914-.txt"
  # The running times, of the carried scenario and of a hand-written one, outside the folder compared.
  run timetable "${citta}_linea.txt" "${citta}_914-.txt" --format=json >"$work/$side-timetable.json"
  cp "$root/tests/running/scenario/Prova_linea.txt" "$root/tests/running/scenario/Prova_1-.txt" "$work/"
  (cd "$work" && run timetable Prova_linea.txt Prova_1-.txt --format=json) >"$work/$side-timetable-hand.json"
  cd "$root"
done
[[ -f "$work/windows-author/${citta}_914.sim" ]] || { ls "$work/windows-author"; exit 1; }
same "$work/linux-author" "$work/windows-author"
echo "windows-check: export + compile + documents as ${citta}: the files equal the Linux build's"
for table in timetable timetable-hand; do
  diff --strip-trailing-cr "$work/linux-$table.json" "$work/windows-$table.json"
done
echo "windows-check: timetable --format=json of both scenarios: the figures equal the Linux build's"

# The language server in the .exe, over Wine's pipes (stdin and stdout binary),
# driven by headless Neovim as on Linux.
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$exe" >"$work/wine-server"
chmod +x "$work/wine-server"
bash "$root/tests/editors/neovim_test.sh" "$linux" "$work/wine-server"
echo "windows-check: the .exe's language server answered Neovim as the Linux build's does"

bash "$root/scripts/windows-screenshot.sh" "$exe" "$win/windows-fixed-run.png"
