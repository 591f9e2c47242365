#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, `make run` and `make package` need, when
# any is missing (dpkg-dev and file: CPack's dependency list; librsvg2-bin: the icons;
# desktop-file-utils and appstream: the checks of the desktop entry and the metainfo).
set -euo pipefail
# Each one is used: the build (cmake … libgl-dev, which Qt's Gui package asks for), the tests
# (fonts-nanum: Korean text; poppler-utils: reading printed PDFs; xvfb, xauth: `make run` and
# the package check without a display; dbus-daemon, libglib2.0-bin: a session bus and gdbus
# for the bus tests), the benchmark (libsqlite3-dev: the SQLite yardstick).
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libsqlcipher-dev
      libsqlite3-dev libgtest-dev nlohmann-json3-dev libgl-dev fonts-nanum poppler-utils
      xvfb xauth dbus-daemon libglib2.0-bin
      dpkg-dev file librsvg2-bin desktop-file-utils appstream)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
