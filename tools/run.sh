#!/bin/sh
# Installs what is missing, builds and starts morva FAKTURY.
set -eu
cd "$(dirname "$0")/.."
sh tools/build.sh
exec "${BUILD_DIR:-build}/bin/Invoice"
