#!/usr/bin/env bash
# Prints the default build folder's name: build-sanitize with SANITIZE=1,
# build-clang with CLANG=1, build otherwise.
if [[ ${SANITIZE:-0} == 1 ]]; then echo build-sanitize
elif [[ ${CLANG:-0} == 1 ]]; then echo build-clang
else echo build
fi
