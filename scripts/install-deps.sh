#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev libqcustomplot-dev
    libsqlite3-dev libfftw3-dev
    libgtest-dev libbenchmark-dev
    clang-format clang libclang-rt-14-dev
    fonts-dejavu-core fonts-liberation
    qt6-svg-dev poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
