#!/usr/bin/env bash
# Installs the tools CI and packaging use beyond the build's own, those that are
# missing. Given group names (package, windows, clang, bench, browser), only those groups;
# without, all but browser.
set -euo pipefail
# package: help2man writes the man page; dpkg-dev has dpkg-shlibdeps, and cpack needs
# file to find the executables, for the .deb's library dependencies; MinGW-w64
# cross-compiles the Windows zip.
package=(help2man dpkg-dev file g++-mingw-w64-x86-64-posix)
# windows: the Windows program's tests and checks under Wine, its window under Xvfb
# (xdotool presses OK, imagemagick takes the picture), GoogleTest built from source.
windows=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick googletest)
# clang: the clang 14 build and the fuzz targets (libFuzzer and the sanitizers'
# runtimes are in libclang-rt-14-dev).
clang=(clang-14 libclang-rt-14-dev)
# bench: Google Benchmark, for the micro-benchmarks of the stages.
bench=(libbenchmark-dev)
# browser: Debian's Chromium, driven headless by tests/browser (node and npm are the machine's).
browser=(chromium)
groups=("$@")
((${#groups[@]})) || groups=(package windows clang bench)
packages=()
for g in "${groups[@]}"; do
  case $g in
    package) packages+=("${package[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    clang) packages+=("${clang[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    browser) packages+=("${browser[@]}") ;;
    *) echo "ci-deps: unknown group $g (package, windows, clang, bench, browser)" >&2; exit 2 ;;
  esac
done
bash "$(dirname "$0")/deps.sh" "${packages[@]}"
