#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-2.1-or-later
# Installs the Debian 12 packages the build, tests and tools need, only when
# some are missing. Needs root (or sudo) only in that case.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev ccache
      qtbase5-dev qtbase5-dev-tools libqt5websockets5-dev libqt5serialport5-dev
      qttools5-dev qttools5-dev-tools
      libcivetweb-dev libbenchmark-dev locales python3 dpkg-dev file
      libsvgpp-dev libboost-dev libdime-dev zlib1g-dev help2man man-db lintian libpolyclipping-dev
      libqt5sql5-sqlite chromium)
# `make docs` only: bash scripts/deps.sh docs
[ "${1:-}" = docs ] && pkgs=(doxygen)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Locales the translation tests switch between.
need_locale=0
for l in en_US.UTF-8 ja_JP.UTF-8 de_DE.UTF-8 zh_CN.UTF-8; do
    locale -a 2>/dev/null | grep -qi "^${l%%.*}.utf8$" || need_locale=1
done
if [ $need_locale -eq 1 ] && [ -w /etc/locale.gen ]; then
    for l in en_US ja_JP de_DE zh_CN; do
        sed -i "s/^# *\(${l}.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    done
    locale-gen >/dev/null
fi
