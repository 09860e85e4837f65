#!/usr/bin/env bash
# Drives Debian's Neovim headless, with editors/neovim, against the language
# server on the exported carried scenario. Usage: tests/editors/neovim_test.sh PROGRAM [SERVER]
# PROGRAM exports the scenario; SERVER (default PROGRAM) is started as `SERVER lsp`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
server=$(realpath "${2:-$1}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$program" export "$dir" >/dev/null
SCENARIO_DIR=$dir SCENARIO_COMPILER=$server SCENARIO_PLUGIN=$here/../../editors/neovim \
  timeout 180 nvim --headless -u NONE -i NONE -n -c "luafile $here/neovim_test.lua"
echo "neovim test: passed"
