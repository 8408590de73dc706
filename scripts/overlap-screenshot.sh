#!/usr/bin/env bash
# Screenshot of the About box open over live frames: the gui test
# OverlapTest.ShowForScreenshot holds it open while ImageMagick grabs the
# screen. Usage: overlap-screenshot.sh [out.png] (default /tmp/overlap.png).
# Needs a build (gui_tests.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/overlap.png}
source "$here/wine-env.sh"
work=$(mktemp -d /tmp/ovoverlap.XXXXXX)
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

cd "$OV_BUILD/bin"
OV_OVERLAP_SCREENSHOT_DIR="Z:$work" \
  timeout 240 wine ./gui_tests.exe --gtest_filter=OverlapTest.ShowForScreenshot >"$work/test.log" 2>&1 &
test_pid=$!

for _ in $(seq 1 900); do
  [ -e "$work/ready" ] && break
  if ! kill -0 "$test_pid" 2>/dev/null; then
    cat "$work/test.log" >&2
    echo "the test ended before showing its window" >&2
    exit 1
  fi
  sleep 0.2
done
[ -e "$work/ready" ] || { echo "the window never came up" >&2; exit 1; }
import -window root -display "$DISPLAY" "$out"
echo "screenshot: $out"
