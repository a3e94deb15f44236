#!/usr/bin/env bash
# Sets everything up, lays out the program folder in dist/ and starts Kestrin.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
dist=${KESTRIN_DIST_DIR:-$root/dist}
cmake --install "${KESTRIN_BUILD_DIR:-$root/build}" --prefix "$dist" >/dev/null
[[ -e "$dist/invoice.ss" ]] || "$dist/kestrin-initdb" "$dist/invoice.ss"
[[ $(id -u) -ne 0 ]] || export QTWEBENGINE_DISABLE_SANDBOX=1
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: starting Kestrin under Xvfb (display :99)."
  exec xvfb-run -n 99 -s "-screen 0 1280x800x24" "$dist/kestrin"
fi
exec "$dist/kestrin"
