#!/usr/bin/env bash
# Builds and runs the shell's framework, resource and settings tests under
# Wine on a private display. Arguments go to the test program
# (e.g. --gtest_filter=Splitter*).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
trap ov_cleanup EXIT
ov_configure_and_build --target gui_tests ovdsource
ov_start_display
ov_start_wine
# The recording panel's tests export films through the source filter.
ov_register_filter
mkdir -p "$OV_BUILD/tests/gui"
cd "$OV_BUILD/tests/gui"
timeout 300 wine "$OV_BUILD/bin/gui_tests.exe" --gtest_brief=1 "$@"
