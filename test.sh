#!/usr/bin/env bash
# Sets everything up, builds Kestrin and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
[[ $(id -u) -ne 0 ]] || export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=offscreen
cd "${KESTRIN_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
