#!/bin/sh
# Installs the Debian packages that building, running and testing need.
# Packages already present are skipped, so a prepared machine makes no network call.
set -eu

packages="
build-essential cmake ninja-build pkg-config
qtbase5-dev qtbase5-dev-tools qtscript5-dev libqt5sql5-sqlite libqt5svg5
qttranslations5-l10n qttools5-dev-tools
libqrencode-dev libsqlite3-dev libicu-dev
sqlite3 xvfb xauth
python3 python3-aiosmtpd python3-lxml
poppler-utils zbar-tools qrencode python3-num2words libxml2-utils
mingw-w64 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
fontconfig fonts-dejavu-core fonts-liberation2
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "Instalacja pakietów:$missing"
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
