#!/usr/bin/env bash
# Installs the tools CI and packaging use beyond the build's own, those that are missing.
set -euo pipefail
# help2man writes the man page; dpkg-dev has dpkg-shlibdeps, and cpack needs file to find
# the executables, for the .deb's library dependencies.
packages=(help2man dpkg-dev file)
bash "$(dirname "$0")/deps.sh" "${packages[@]}"
