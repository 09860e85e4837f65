#!/usr/bin/env bash
# Installs the build dependencies that are missing, from Debian's packages;
# given package names, installs those instead. cairo and the DejaVu fonts draw
# the PNG and PDF sheets; poppler-utils lets the tests read a PDF's text,
# libxml2-utils's xmllint checks that an SVG is well-formed XML, and
# libboost-dev's header-only Asio and Beast serve the viewer.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libcli11-dev nlohmann-json3-dev libcairo2-dev fonts-dejavu-core poppler-utils libxml2-utils libboost-dev)
(($#)) && packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "missing packages: ${missing[*]} (run as root, or install them)" >&2
    exit 1
  fi
fi
