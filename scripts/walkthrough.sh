#!/usr/bin/env bash
# Prints the README's walk-through: each command as typed and what the program
# answered, run in a scratch folder. Usage: scripts/walkthrough.sh [EXECUTABLE]
set -euo pipefail
exe=$(realpath "${1:-build/scenario-compiler}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
scenario-compiler() { "$exe" "$@"; }

# Shows a command, then runs it with the colours off; a failing status is shown, not fatal.
step() {
    printf '$ %s\n' "$1"
    eval "$1" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' || true
}

step 'scenario-compiler export .'
step 'ls'
step "sed -i -e '79s/4450/1650/' -e '80s/5500/5500.5/' -e '82s/9250/7600/' Lidonia_Sabrio_914-.txt   # two signals into taken cells, a decimal position"
step 'scenario-compiler compile Lidonia_Sabrio_linea.txt ./Lidonia_Sabrio_914-.txt'
printf '$ echo $?\n'
{ scenario-compiler compile Lidonia_Sabrio_linea.txt ./Lidonia_Sabrio_914-.txt >/dev/null 2>&1 && echo 0; } || echo $?
step 'ls *.dat'
step "sed -i -e '79s/1650/4450/' -e '80s/5500.5/5500/' -e '82s/7600/9250/' Lidonia_Sabrio_914-.txt"
step 'scenario-compiler compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --json'
step 'scenario-compiler compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --check -Wall'
step 'scenario-compiler errors 25'
step 'scenario-compiler inspect Lidonia_Sabrio_914.sim | head -12'
step 'scenario-compiler inspect Lidonia_Sabrio_914.dat --cells 32-34'
step 'scenario-compiler inspect Lidonia_Sabrio_linea.dat | head -9'
