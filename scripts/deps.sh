#!/usr/bin/env bash
# Installs the Debian packages that are missing, by group; without a group, the
# program's own. Usage: scripts/deps.sh [GROUP...]
#   program  what building the program needs: the compilers' front (cmake, ninja,
#            ccache), CLI11, nlohmann-json, Boost's header-only Asio and Beast for
#            `serve`, cairo and the DejaVu face for the PNG and PDF sheets
#   test     the suite: GoogleTest, poppler-utils to read a PDF's text, xmllint to
#            check that an SVG is well-formed, cmark to parse the hovers' markdown
#   clang    clang 14, with libFuzzer and the sanitizers' runtimes
#   bench    Google Benchmark, for the micro-benchmarks of the stages
#   package  help2man (the man page), dpkg-dev and file (the .deb's library
#            dependencies), MinGW-w64 (the Windows zip)
#   windows  MinGW-w64, Wine, Xvfb with xdotool and imagemagick for the window's
#            picture, GoogleTest's sources for the cross build, Neovim to drive the
#            .exe's language server
#   browser  Debian's Chromium, driven headless by tests/browser
#   editors  Neovim, driven headless by tests/editors against the language server
#   ci       every group CI uses
set -euo pipefail
program=(cmake g++ ninja-build ccache pkg-config libcli11-dev nlohmann-json3-dev libboost-dev libcairo2-dev
  fonts-dejavu-core)
test=(libgtest-dev poppler-utils libxml2-utils cmark)
clang=(clang-14 libclang-rt-14-dev)
bench=(libbenchmark-dev)
package=(help2man dpkg-dev file g++-mingw-w64-x86-64-posix)
windows=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick googletest neovim)
browser=(chromium)
editors=(neovim)
all=(program test clang bench package windows browser editors)
groups=("$@")
((${#groups[@]})) || groups=(program)
packages=()
for g in "${groups[@]}"; do
  [[ $g == ci ]] && set -- "${all[@]}" || set -- "$g"
  for name; do
    [[ " ${all[*]} " == *" $name "* ]] || { echo "deps: unknown group $name (${all[*]}, ci)" >&2; exit 2; }
    declare -n group=$name
    packages+=("${group[@]}")
    unset -n group
  done
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0
readarray -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
if [[ $(id -u) -ne 0 ]]; then
  echo "missing packages: ${missing[*]} (run as root, or install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
