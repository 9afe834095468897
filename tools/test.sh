#!/bin/sh
# Installs what is missing, builds with warnings as errors and runs every test.
set -eu
cd "$(dirname "$0")/.."
sh tools/build.sh -DINVOICE_WERROR=ON
jobs=$(nproc 2>/dev/null || echo 2)
cd "${BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
