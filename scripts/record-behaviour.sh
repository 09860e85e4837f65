#!/usr/bin/env bash
# Records what a build of the program prints for a fixed set of inputs, so that a
# change meant to keep behaviour can be checked against the build before it:
#   scripts/record-behaviour.sh OLD_EXE before/ && scripts/record-behaviour.sh NEW_EXE after/
#   diff -r before/ after/
# For every case of tests/bad_inputs, `compile --check` as text, JSON and SARIF; each
# command's usage and file errors; `inspect` of the carried scenario's compiled files
# as text and JSON; `plot`'s SVG of it; `serve`'s /state.json for it. Each command
# leaves NAME.out, NAME.err and NAME.status (its exit status) in OUT_DIR.
# Usage: scripts/record-behaviour.sh EXECUTABLE OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
server=""
trap '[[ -n $server ]] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

# record NAME DIR ARG...: runs the program with ARGs in DIR.
record() {
  local name=$1 dir=$2 status=0
  shift 2
  mkdir -p "$(dirname "$out/$name")"
  (cd "$dir" && "$exe" "$@") >"$out/$name.out" 2>"$out/$name.err" </dev/null || status=$?
  echo "$status" >"$out/$name.status"
}

# The bad inputs, each copied to one fixed folder so that the paths printed are the same.
case_dir=$work/case
for expected in "$root"/tests/bad_inputs/*/*/expected.json; do
  src=$(dirname "$expected")
  name=bad_inputs/$(basename "$(dirname "$src")")/$(basename "$src")
  rm -rf "$case_dir"
  cp -r "$src" "$case_dir"
  python3 - "$expected" "$case_dir" <<'EOF'
import json, sys
expected = json.load(open(sys.argv[1]))
for name, g in expected.get("generate", {}).items():
    with open(f"{sys.argv[2]}/{name}", "wb") as f:
        f.write((g["head"] + g["repeat"] * g["times"] + g["tail"]).encode("latin-1"))
EOF
  geometry=()
  grep -q '"no_geometry": *true' "$expected" && geometry=(--no-geometry)
  args=(compile Prova_linea.txt Prova_1-.txt --check --color=never "${geometry[@]}")
  record "$name.text" "$case_dir" "${args[@]}"
  record "$name.json" "$case_dir" "${args[@]}" --json
  record "$name.sarif" "$case_dir" "${args[@]}" --format=sarif
done

# The carried scenario, exported and compiled.
carried=$work/carried
mkdir "$carried"
record carried/export "$carried" export .
record carried/compile "$carried" compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --json
for f in Lidonia_Sabrio_linea.dat Lidonia_Sabrio_914.sim Lidonia_Sabrio_914.dat; do
  record "carried/inspect-$f" "$carried" inspect "$f"
  record "carried/inspect-$f.json" "$carried" inspect "$f" --json
done
record carried/plot "$carried" plot Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o sheet.svg
cp "$carried/sheet.svg" "$out/carried/plot.svg"

# Usage and file errors of each command.
empty=$work/empty
mkdir "$empty"
record usage/none "$empty" --no-such-option
record usage/unknown-command "$empty" no-such-command
for command in compile export inspect errors plot serve; do
  record "usage/$command-no-arguments" "$empty" "$command"
  record "usage/$command-unknown-option" "$empty" "$command" --no-such-option
done
record usage/compile-missing-files "$empty" compile missing_linea.txt missing_1-.txt
record usage/inspect-missing-file "$empty" inspect missing.dat
record usage/plot-missing-files "$empty" plot missing_linea.txt missing_1-.txt -o x.svg
record usage/serve-missing-files "$empty" serve missing_linea.txt missing_1-.txt --port 0
record usage/errors-unknown-code "$empty" errors 999
record usage/export-existing "$carried" export .

# serve's state, from the port it picked: of the carried scenario, and of it with
# two signals moved into taken cells and a decimal position (errors with notes).
faulty=$work/faulty
cp -r "$carried" "$faulty"
sed -i -e '79s/4450/1650/' -e '80s/5500/5500.5/' -e '82s/9250/7600/' "$faulty/Lidonia_Sabrio_914-.txt"
serve_state() {
  local dir=$1 name=$2 address=""
  (cd "$dir" && exec "$exe" serve Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --port 0) \
    >"$work/serve.out" 2>/dev/null &
  server=$!
  for _ in $(seq 1 100); do
    address=$(grep -o 'http://[^ ]*/' "$work/serve.out" 2>/dev/null | head -n 1 || true)
    [[ -n $address ]] && break
    sleep 0.1
  done
  [[ -n $address ]] || { echo "record-behaviour: serve printed no address" >&2; exit 1; }
  # The time of the compile is the one value that differs from run to run.
  curl -fsS "${address}state.json" | sed -E 's/"(drawing_)?compiled_at":"[^"]*"/"\1compiled_at":"-"/g' >"$out/$name"
  kill "$server"
  wait "$server" 2>/dev/null || true
  server=""
}
serve_state "$carried" carried/serve-state.json
serve_state "$faulty" carried/serve-state-faulty.json
echo "record-behaviour: $(find "$out" -type f | wc -l) files in $out"
