#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh"
source "$here/wine-env.sh"
trap ov_cleanup EXIT

ov_configure_and_build
"$here/native-build.sh"
ov_start_display
ov_start_wine
cd "$OV_BUILD"
status=0
ctest --output-on-failure --timeout 900 || status=$?
exit $status
