#!/usr/bin/env bash
# Screenshot of the About box open over live frames: the gui test
# OverlapTest.ShowForScreenshot holds it open while ImageMagick grabs the
# screen. Usage: overlap-screenshot.sh [out.png] (default /tmp/overlap.png).
# Needs a build (gui_tests.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/overlap.png}
source "$here/screenshot-env.sh"
cd "$OV_BUILD/bin"
OV_OVERLAP_SCREENSHOT_DIR="Z:$work" ov_shot_start timeout 240 wine ./gui_tests.exe \
  --gtest_filter=OverlapTest.ShowForScreenshot
ov_shot_wait ready
import -window root -display "$DISPLAY" "$out"
echo "screenshot: $out"
