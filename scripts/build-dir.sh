#!/usr/bin/env bash
# Prints the default build folder's name: build-clang with CLANG=1, build otherwise.
[[ ${CLANG:-0} == 1 ]] && echo build-clang || echo build
