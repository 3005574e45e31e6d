#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root. Safe to run again: it only
# calls apt-get when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev locales qt6-base-dev qt6-base-private-dev qt6-serialport-dev qt6-svg-dev libcli11-dev nlohmann-json3-dev clang libclang-rt-14-dev
    dpkg-dev fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The number-format tests run under a comma-decimal locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi
