#!/usr/bin/env bash
# Screenshot of the statistics surface drawing a simulator frame in a visible
# window: the render test ShowForScreenshot holds the window open while
# ImageMagick grabs the screen. Usage: stats-screenshot.sh [out.png]
# (default /tmp/stats.png). The surface's own picture is written beside it
# as <out>-surface.bmp. Needs a build (render_tests.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/stats.png}
source "$here/screenshot-env.sh"
cd "$OV_BUILD/tests/render"
OV_STATS_SCREENSHOT_DIR="Z:$work" ov_shot_start timeout 180 wine "$OV_BUILD/bin/render_tests.exe" \
  --gtest_filter=StatisticSurfaceTest.ShowForScreenshot
ov_shot_wait ready
sleep 1  # a few more frames on the screen
# The window sits at (20, 20), 660 x 300 with its border.
import -window root -display "$DISPLAY" -crop 680x320+10+10 +repage "$out"
cp "$work/stats.bmp" "${out%.png}-surface.bmp"
echo "screenshot: $out, surface picture: ${out%.png}-surface.bmp"
