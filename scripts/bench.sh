#!/usr/bin/env bash
# Builds and runs the benchmark table under Wine (a display is started when needed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh"
source "$here/wine-env.sh"
trap ov_cleanup EXIT
ov_configure_and_build --target ovbench
ov_start_display
ov_start_wine
wine "$OV_BUILD/bin/ovbench.exe"
