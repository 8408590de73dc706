#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with a simulated camera.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh"
source "$here/wine-env.sh"
trap ov_cleanup EXIT

ov_configure_and_build
ov_start_display
ov_start_wine
wine "$OV_BUILD/bin/ovcamlist.exe" "$@"
