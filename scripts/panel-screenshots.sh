#!/usr/bin/env bash
# Screenshots of the main window with the VEXT recording panel in each mode:
# setup, recording, playback (display controls switched on) and saving. The
# gui test VextPanelTest.ShowForScreenshots drives the panel and waits while
# ImageMagick grabs the screen. Usage: panel-screenshots.sh [folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/screenshot-env.sh"
out=$(realpath -m "${1:-$OV_BUILD/screenshots}")
mkdir -p "$out"
ov_register_filter
cd "$OV_BUILD/bin"
OV_PANEL_SCREENSHOT_DIR="Z:$work" ov_shot_start timeout 300 wine ./gui_tests.exe \
  --gtest_filter=VextPanelTest.ShowForScreenshots
for mode in setup recording playback saving; do
  ov_shot_wait "$mode.ready"
  sleep 0.3
  import -window root -display "$DISPLAY" "$out/panel-$mode.png"
  touch "$work/$mode.done"
  echo "screenshot: $out/panel-$mode.png"
done
