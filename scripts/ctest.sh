#!/usr/bin/env bash
# Runs ctest in the Wine environment of the test command, without installing
# or building first; arguments go to ctest (for example -R camera_tests -V).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap ov_cleanup EXIT
ov_start_display
ov_start_wine
cd "$OV_BUILD"
ctest --output-on-failure "$@"
