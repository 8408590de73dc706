#!/usr/bin/env bash
# Screenshot of the main window with the statistics tab: the demo profile's
# simulated camera running, histogram, the five statistics and the data rate.
# The gui test OutputPaneScreenshot.ShowForScreenshot holds the window open
# while ImageMagick grabs the screen. Usage: output-screenshot.sh [out.png]
# (default /tmp/stats-tab.png). Needs a build (gui_tests.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
out=${1:-/tmp/stats-tab.png}
source "$here/screenshot-env.sh"
cd "$OV_BUILD/bin"
OV_OUTPUT_SCREENSHOT_DIR="Z:$work" OV_OUTPUT_SCREENSHOT_PROFILE="Z:$root/profiles/demo-zel-mono.ovp" \
  ov_shot_start timeout 240 wine ./gui_tests.exe --gtest_filter=OutputPaneScreenshot.ShowForScreenshot
ov_shot_wait ready
import -window root -display "$DISPLAY" "$out"
echo "screenshot: $out"
