#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kestrin need.
# Quick when everything is present: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-webengine-dev libgl-dev
  libsqlcipher-dev sqlcipher
  libpq-dev postgresql
  fonts-wqy-microhei xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzz targets (clang, libFuzzer) and sanitizer reports with source lines
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
