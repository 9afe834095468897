#!/bin/sh
# Installs what is missing and builds everything into build/ (or $BUILD_DIR).
# Extra arguments go to CMake's configure step.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD_DIR"
