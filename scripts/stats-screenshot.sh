#!/usr/bin/env bash
# Screenshot of the statistics surface drawing a simulator frame in a visible
# window: the render test ShowForScreenshot holds the window open while
# ImageMagick grabs the screen. Usage: stats-screenshot.sh [out.png]
# (default /tmp/stats.png). The surface's own picture is written beside it
# as <out>-surface.bmp. Needs a build (render_tests.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/stats.png}
source "$here/wine-env.sh"
work=$(mktemp -d /tmp/ovstats.XXXXXX)
test_pid=""
finish() {
  touch "$work/done"
  if [ -n "$test_pid" ]; then wait "$test_pid" 2>/dev/null || true; fi
  ov_cleanup
  rm -rf "$work"
}
trap finish EXIT
ov_start_display
ov_start_wine

cd "$OV_BUILD/tests/render"
OV_STATS_SCREENSHOT_DIR="Z:$work" timeout 180 wine "$OV_BUILD/bin/render_tests.exe" \
  --gtest_filter=StatisticSurfaceTest.ShowForScreenshot >"$work/test.log" 2>&1 &
test_pid=$!

for _ in $(seq 1 600); do
  [ -e "$work/ready" ] && break
  if ! kill -0 "$test_pid" 2>/dev/null; then
    cat "$work/test.log" >&2
    echo "the test ended before showing its window" >&2
    exit 1
  fi
  sleep 0.2
done
[ -e "$work/ready" ] || { echo "the window never came up" >&2; exit 1; }
sleep 1  # a few more frames on the screen
# The window sits at (20, 20), 660 x 300 with its border.
import -window root -display "$DISPLAY" -crop 680x320+10+10 +repage "$out"
cp "$work/stats.bmp" "${out%.png}-surface.bmp"
echo "screenshot: $out, surface picture: ${out%.png}-surface.bmp"
